-- Write batches of offerings. Write cases run after every read case (files named write_* sort last) and
-- work on rows no read case counts: new serials and EDU_ (education) offerings.

-- Serials and rent numbers that no stored offering or rental uses.
-- @value FREE_1 = with recursive c(n) as (select 115200001 union all select n+1 from c where n<115209999) select n from c where n not in (select RSUBJ_SERNO from VELM_DBASE.SEMESUBJECT) and n not in (select SUBJECT_GROUP from VELM_DBASE.SEMESUBJECT) and cast(n as text) not in (select rent_no from GADEP.RMR_Rent_master) limit 1 offset 0
-- @value FREE_2 = with recursive c(n) as (select 115200001 union all select n+1 from c where n<115209999) select n from c where n not in (select RSUBJ_SERNO from VELM_DBASE.SEMESUBJECT) and n not in (select SUBJECT_GROUP from VELM_DBASE.SEMESUBJECT) and cast(n as text) not in (select rent_no from GADEP.RMR_Rent_master) limit 1 offset 1
-- @value FREE_3 = with recursive c(n) as (select 115200001 union all select n+1 from c where n<115209999) select n from c where n not in (select RSUBJ_SERNO from VELM_DBASE.SEMESUBJECT) and n not in (select SUBJECT_GROUP from VELM_DBASE.SEMESUBJECT) and cast(n as text) not in (select rent_no from GADEP.RMR_Rent_master) limit 1 offset 2
-- @value FREE_4 = with recursive c(n) as (select 115200001 union all select n+1 from c where n<115209999) select n from c where n not in (select RSUBJ_SERNO from VELM_DBASE.SEMESUBJECT) and n not in (select SUBJECT_GROUP from VELM_DBASE.SEMESUBJECT) and cast(n as text) not in (select rent_no from GADEP.RMR_Rent_master) limit 1 offset 3
-- @value FREE_5 = with recursive c(n) as (select 115200001 union all select n+1 from c where n<115209999) select n from c where n not in (select RSUBJ_SERNO from VELM_DBASE.SEMESUBJECT) and n not in (select SUBJECT_GROUP from VELM_DBASE.SEMESUBJECT) and cast(n as text) not in (select rent_no from GADEP.RMR_Rent_master) limit 1 offset 4
-- @value FREE_6 = with recursive c(n) as (select 115200001 union all select n+1 from c where n<115209999) select n from c where n not in (select RSUBJ_SERNO from VELM_DBASE.SEMESUBJECT) and n not in (select SUBJECT_GROUP from VELM_DBASE.SEMESUBJECT) and cast(n as text) not in (select rent_no from GADEP.RMR_Rent_master) limit 1 offset 5
-- @value FREE_7 = with recursive c(n) as (select 115200001 union all select n+1 from c where n<115209999) select n from c where n not in (select RSUBJ_SERNO from VELM_DBASE.SEMESUBJECT) and n not in (select SUBJECT_GROUP from VELM_DBASE.SEMESUBJECT) and cast(n as text) not in (select rent_no from GADEP.RMR_Rent_master) limit 1 offset 6
-- @value FREE_8 = with recursive c(n) as (select 115200001 union all select n+1 from c where n<115209999) select n from c where n not in (select RSUBJ_SERNO from VELM_DBASE.SEMESUBJECT) and n not in (select SUBJECT_GROUP from VELM_DBASE.SEMESUBJECT) and cast(n as text) not in (select rent_no from GADEP.RMR_Rent_master) limit 1 offset 7
-- @value FREE_9 = with recursive c(n) as (select 115200001 union all select n+1 from c where n<115209999) select n from c where n not in (select RSUBJ_SERNO from VELM_DBASE.SEMESUBJECT) and n not in (select SUBJECT_GROUP from VELM_DBASE.SEMESUBJECT) and cast(n as text) not in (select rent_no from GADEP.RMR_Rent_master) limit 1 offset 8
-- Single EDU_ offerings of the semester with rooms and rentals and no course selections.
-- @value EDU_ROOMS = select RSUBJ_SERNO from VELM_DBASE.SEMESUBJECT s where DEPARTMENT='EDU_' and YEAR=115 and SEMESTER=2 and status=2 and SUBJECT_GROUP=RSUBJ_SERNO and exists (select 1 from GADEP.RMR_Rent_master r where r.SUBJECT_GROUP=s.SUBJECT_GROUP) and not exists (select 1 from VELM_DBASE.SUBJSELE_CURRENT c where c.rsubj_serno=s.RSUBJ_SERNO) and not exists (select 1 from VELM_DBASE.SUBJSELE_HISTORY h where h.rsubj_serno=s.RSUBJ_SERNO) order by RSUBJ_SERNO limit 1 offset 0
-- @value EDU_PLAIN = select RSUBJ_SERNO from VELM_DBASE.SEMESUBJECT s where DEPARTMENT='EDU_' and YEAR=115 and SEMESTER=2 and status=2 and SUBJECT_GROUP=RSUBJ_SERNO and exists (select 1 from GADEP.RMR_Rent_master r where r.SUBJECT_GROUP=s.SUBJECT_GROUP) and not exists (select 1 from VELM_DBASE.SUBJSELE_CURRENT c where c.rsubj_serno=s.RSUBJ_SERNO) and not exists (select 1 from VELM_DBASE.SUBJSELE_HISTORY h where h.rsubj_serno=s.RSUBJ_SERNO) order by RSUBJ_SERNO limit 1 offset 1
-- @value EDU_SPECIAL = select RSUBJ_SERNO from VELM_DBASE.SEMESUBJECT s where DEPARTMENT='EDU_' and YEAR=115 and SEMESTER=2 and status=2 and SUBJECT_GROUP=RSUBJ_SERNO and exists (select 1 from GADEP.RMR_Rent_master r where r.SUBJECT_GROUP=s.SUBJECT_GROUP) and not exists (select 1 from VELM_DBASE.SUBJSELE_CURRENT c where c.rsubj_serno=s.RSUBJ_SERNO) and not exists (select 1 from VELM_DBASE.SUBJSELE_HISTORY h where h.rsubj_serno=s.RSUBJ_SERNO) order by RSUBJ_SERNO limit 1 offset 2
-- @value EDU_STATUS = select RSUBJ_SERNO from VELM_DBASE.SEMESUBJECT s where DEPARTMENT='EDU_' and YEAR=115 and SEMESTER=2 and status=2 and SUBJECT_GROUP=RSUBJ_SERNO and exists (select 1 from GADEP.RMR_Rent_master r where r.SUBJECT_GROUP=s.SUBJECT_GROUP) and not exists (select 1 from VELM_DBASE.SUBJSELE_CURRENT c where c.rsubj_serno=s.RSUBJ_SERNO) and not exists (select 1 from VELM_DBASE.SUBJSELE_HISTORY h where h.rsubj_serno=s.RSUBJ_SERNO) order by RSUBJ_SERNO limit 1 offset 3

-- @case status_update | columns: -
update VELM_DBASE..SEMESUBJECT set status=2 where RSUBJ_SERNO={EDU_STATUS}

-- A new offering with teachers, old-rule prerequisites, general-education fields, two rooms (a third list
-- without a room name writes nothing), featured items and the rentals of its three runs.
-- @case insert_offering | columns: -
begin transaction
insert VELM_DBASE..SEMESUBJECT(RSUBJ_SERNO,SUBJECT_GROUP,DEPYR_CODE,SUBJECT_ID,DEPARTMENT,MUST,YEAR,SEMESTER,SUBJ_MODE,LIMIT,S_NAME,CREDIT,HOUR,LAB,E_NAME,BELONG,BELONG_DEPYR_CODE,WORK_PLACE,NOTE,EP_FIELD,SEME_ENG,SUBJECT_SYSNO,PROGRAM_ID,PRE_DEPYRCODE,IsEval,status,IsExpand,fromyear,fromdep,salarygroup,evalgroup,cr_date,cr_userid,term_id,term,CRS_DEPYR_CODE,SUBJECT_ID_SEC,rule_rel,subj_kind,S,U,I) values({FREE_1},{FREE_1},'EDU_115B1','EDU_9001A','EDU_','選',115,2,'3',45,'教育的''未來''',2.5,2.5,1,'Education''s Future','EDU_','EDU_115B1','學二','合開','',2,-1,-1,'EDU_',1,2,2,0,'',1,1,getdate(),'office','0','{FREE_1}','EDU_115B1','EDU_90010','0','B','','','')
if @@error<>0
begin
   raiserror ('[EDU_9001A]無法新增課主檔。', 16, 1)
   rollback
   return
end
insert VELM_DBASE..SEMETEACHER(SUBJECT_GROUP,TCHER_NO,TCHER_NAME,seq) values({FREE_1},10101,'王大明',1)
if @@error<>0
begin
   raiserror ('[EDU_9001A] 無法新增教師資料。', 16, 1)
   rollback
   return
end
insert VELM_DBASE..SEMETEACHER(SUBJECT_GROUP,TCHER_NO,TCHER_NAME,seq) values({FREE_1},-1,'待聘',2)
if @@error<>0
begin
   raiserror ('[EDU_9001A] 無法新增教師資料。', 16, 1)
   rollback
   return
end
insert VELM_DBASE..SEMEOLD_PRESUBJ(SUBJECT_GROUP,seq,pre_subject_name) values({FREE_1},0,'*教育概論')
if @@error<>0
begin
   raiserror ('[EDU_9001A] 無法新增舊課規先修科目。', 16, 1)
   rollback
   return
end
insert VELM_DBASE..SEMEOLD_PRESUBJ(SUBJECT_GROUP,seq,pre_subject_name) values({FREE_1},1,'#教育心理學')
if @@error<>0
begin
   raiserror ('[EDU_9001A] 無法新增舊課規先修科目。', 16, 1)
   rollback
   return
end
insert VELM_DBASE..SEMEGC_FIELD(SUBJECT_GROUP,seq,gc_code,gc_field) values({FREE_1},1,'1','人文與藝術')
if @@error<>0
begin
   raiserror ('[{FREE_1}]無法新增通識領域。', 16, 1)
   rollback
   return
end
insert VELM_DBASE..SEMEGC_FIELD(SUBJECT_GROUP,seq,gc_code,gc_field) values({FREE_1},2,'7','跨域整合')
if @@error<>0
begin
   raiserror ('[{FREE_1}]無法新增通識領域。', 16, 1)
   rollback
   return
end
insert VELM_DBASE..SEMECLASSROOM(SUBJECT_GROUP,room_id_no,classroom,weekday,classno,location) values({FREE_1},101,'綜101',3,7,1)
if @@error<>0
begin
   raiserror ('[EDU_9001A]無法新增教室、上課時間資料。', 16, 1)
   rollback
   return
end
insert VELM_DBASE..SEMECLASSROOM(SUBJECT_GROUP,room_id_no,classroom,weekday,classno,location) values({FREE_1},101,'綜101',3,8,1)
if @@error<>0
begin
   raiserror ('[EDU_9001A]無法新增教室、上課時間資料。', 16, 1)
   rollback
   return
end
insert VELM_DBASE..SEMECLASSROOM(SUBJECT_GROUP,room_id_no,classroom,weekday,classno,location) values({FREE_1},101,'綜101',3,9,1)
if @@error<>0
begin
   raiserror ('[EDU_9001A]無法新增教室、上課時間資料。', 16, 1)
   rollback
   return
end
insert VELM_DBASE..SEMECLASSROOM(SUBJECT_GROUP,room_id_no,classroom,weekday,classno,location) values({FREE_1},101,'綜101',5,2,1)
if @@error<>0
begin
   raiserror ('[EDU_9001A]無法新增教室、上課時間資料。', 16, 1)
   rollback
   return
end
insert VELM_DBASE..SEMECLASSROOM(SUBJECT_GROUP,room_id_no,classroom,weekday,classno,location) values({FREE_1},110,'二教101',7,2,2)
if @@error<>0
begin
   raiserror ('[EDU_9001A]無法新增教室、上課時間資料。', 16, 1)
   rollback
   return
end
  INSERT INTO [VELM_DBASE].[dbo].[SEMECDIO] (RSUBJ_SERNO,CDIO_NAME,CR_DATE)
 VALUES({FREE_1}
 ,'永續發展課程'
 ,GETDATE() ) 
  INSERT INTO [VELM_DBASE].[dbo].[SEMECDIO] (RSUBJ_SERNO,CDIO_NAME,CR_DATE)
 VALUES({FREE_1}
 ,'跨領域課程'
 ,GETDATE() ) 
  INSERT INTO [VELM_DBASE].[dbo].[SEMESUBCDIO] (RSUBJ_SERNO,CDIOSYSNO,CDIO_SUBNAME,CR_DATE,subsysno)
 VALUES({FREE_1}
 ,9
 ,'SDG4 優質教育'
 ,GETDATE() 
 ,(select  sysno from VELM_DBASE..SEMECDIOSUBITEM  
 where cdiosubitem='SDG4 優質教育')
 ) 
  INSERT INTO [GADEP].[dbo].[RMR_Rent_master]    ([rent_no]    ,[rent_dept]     ,[rent_person]   ,[ask_date]   ,[con_tel]    ,[rem]    ,[room_id_no]   ,[rent_date_week]   ,[rent_start_date]   ,[rent_end_date]    ,[rent_start_time]   ,[rent_end_time]   ,[room_man]      ,[input_date]   ,[input_seq]  ,[rent_ym]    ,[sysrem]   ,SUBJECT_GROUP  ,rent_status)   VALUES   ('{FREE_3}'  ,'課務組'  ,'課表'  , GETDATE()  ,'2124'  ,'課表轉檔'  ,101  ,4  ,'2027-02-22 00:00:00.000'  ,'2027-06-25 00:00:00.000'  ,12  ,15  ,'qv'  ,GETDATE()  ,1  ,'1152'  ,'1152課表'  ,{FREE_1}  ,'核准')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/02/24',12,'{FREE_3}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/02/24',13,'{FREE_3}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/02/24',14,'{FREE_3}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/03/03',12,'{FREE_3}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/03/03',13,'{FREE_3}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/03/03',14,'{FREE_3}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/03/10',12,'{FREE_3}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/03/10',13,'{FREE_3}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/03/10',14,'{FREE_3}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/03/17',12,'{FREE_3}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/03/17',13,'{FREE_3}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/03/17',14,'{FREE_3}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/03/24',12,'{FREE_3}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/03/24',13,'{FREE_3}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/03/24',14,'{FREE_3}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/03/31',12,'{FREE_3}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/03/31',13,'{FREE_3}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/03/31',14,'{FREE_3}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/04/07',12,'{FREE_3}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/04/07',13,'{FREE_3}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/04/07',14,'{FREE_3}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/04/14',12,'{FREE_3}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/04/14',13,'{FREE_3}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/04/14',14,'{FREE_3}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/04/21',12,'{FREE_3}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/04/21',13,'{FREE_3}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/04/21',14,'{FREE_3}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/04/28',12,'{FREE_3}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/04/28',13,'{FREE_3}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/04/28',14,'{FREE_3}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/05/05',12,'{FREE_3}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/05/05',13,'{FREE_3}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/05/05',14,'{FREE_3}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/05/12',12,'{FREE_3}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/05/12',13,'{FREE_3}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/05/12',14,'{FREE_3}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/05/19',12,'{FREE_3}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/05/19',13,'{FREE_3}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/05/19',14,'{FREE_3}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/05/26',12,'{FREE_3}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/05/26',13,'{FREE_3}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/05/26',14,'{FREE_3}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/06/02',12,'{FREE_3}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/06/02',13,'{FREE_3}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/06/02',14,'{FREE_3}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/06/09',12,'{FREE_3}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/06/09',13,'{FREE_3}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/06/09',14,'{FREE_3}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/06/16',12,'{FREE_3}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/06/16',13,'{FREE_3}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/06/16',14,'{FREE_3}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/06/23',12,'{FREE_3}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/06/23',13,'{FREE_3}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/06/23',14,'{FREE_3}')
  INSERT INTO [GADEP].[dbo].[RMR_Rent_master]    ([rent_no]    ,[rent_dept]     ,[rent_person]   ,[ask_date]   ,[con_tel]    ,[rem]    ,[room_id_no]   ,[rent_date_week]   ,[rent_start_date]   ,[rent_end_date]    ,[rent_start_time]   ,[rent_end_time]   ,[room_man]      ,[input_date]   ,[input_seq]  ,[rent_ym]    ,[sysrem]   ,SUBJECT_GROUP  ,rent_status)   VALUES   ('{FREE_4}'  ,'課務組'  ,'課表'  , GETDATE()  ,'2124'  ,'課表轉檔'  ,101  ,6  ,'2027-02-22 00:00:00.000'  ,'2027-06-25 00:00:00.000'  ,7  ,8  ,'qv'  ,GETDATE()  ,2  ,'1152'  ,'1152課表'  ,{FREE_1}  ,'核准')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/02/26',7,'{FREE_4}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/03/05',7,'{FREE_4}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/03/12',7,'{FREE_4}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/03/19',7,'{FREE_4}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/03/26',7,'{FREE_4}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/04/02',7,'{FREE_4}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/04/09',7,'{FREE_4}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/04/16',7,'{FREE_4}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/04/23',7,'{FREE_4}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/04/30',7,'{FREE_4}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/05/07',7,'{FREE_4}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/05/14',7,'{FREE_4}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/05/21',7,'{FREE_4}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/05/28',7,'{FREE_4}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/06/04',7,'{FREE_4}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/06/11',7,'{FREE_4}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/06/18',7,'{FREE_4}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(101,'2027/06/25',7,'{FREE_4}')
  INSERT INTO [GADEP].[dbo].[RMR_Rent_master]    ([rent_no]    ,[rent_dept]     ,[rent_person]   ,[ask_date]   ,[con_tel]    ,[rem]    ,[room_id_no]   ,[rent_date_week]   ,[rent_start_date]   ,[rent_end_date]    ,[rent_start_time]   ,[rent_end_time]   ,[room_man]      ,[input_date]   ,[input_seq]  ,[rent_ym]    ,[sysrem]   ,SUBJECT_GROUP  ,rent_status)   VALUES   ('{FREE_5}'  ,'課務組'  ,'課表'  , GETDATE()  ,'2124'  ,'課表轉檔'  ,110  ,1  ,'2027-02-22 00:00:00.000'  ,'2027-06-25 00:00:00.000'  ,7  ,8  ,'qv'  ,GETDATE()  ,1  ,'1152'  ,'1152課表'  ,{FREE_1}  ,'核准')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(110,'2027/02/28',7,'{FREE_5}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(110,'2027/03/07',7,'{FREE_5}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(110,'2027/03/14',7,'{FREE_5}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(110,'2027/03/21',7,'{FREE_5}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(110,'2027/03/28',7,'{FREE_5}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(110,'2027/04/04',7,'{FREE_5}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(110,'2027/04/11',7,'{FREE_5}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(110,'2027/04/18',7,'{FREE_5}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(110,'2027/04/25',7,'{FREE_5}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(110,'2027/05/02',7,'{FREE_5}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(110,'2027/05/09',7,'{FREE_5}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(110,'2027/05/16',7,'{FREE_5}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(110,'2027/05/23',7,'{FREE_5}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(110,'2027/05/30',7,'{FREE_5}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(110,'2027/06/06',7,'{FREE_5}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(110,'2027/06/13',7,'{FREE_5}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(110,'2027/06/20',7,'{FREE_5}')
commit transaction

-- Arranged with the teacher: one special room row and no rentals.
-- @case insert_offering_special_schedule | columns: -
begin transaction
insert VELM_DBASE..SEMESUBJECT(RSUBJ_SERNO,SUBJECT_GROUP,DEPYR_CODE,SUBJECT_ID,DEPARTMENT,MUST,YEAR,SEMESTER,SUBJ_MODE,LIMIT,S_NAME,CREDIT,HOUR,LAB,E_NAME,BELONG,BELONG_DEPYR_CODE,WORK_PLACE,NOTE,EP_FIELD,SEME_ENG,SUBJECT_SYSNO,PROGRAM_ID,PRE_DEPYRCODE,IsEval,status,IsExpand,fromyear,fromdep,salarygroup,evalgroup,cr_date,cr_userid,term_id,term,CRS_DEPYR_CODE,SUBJECT_ID_SEC,rule_rel,subj_kind,S,U,I) values({FREE_2},{FREE_2},'EDU_115B1','EDU_9002A','EDU_','選',115,2,'3',45,'教育的''未來''',2.5,2.5,1,'Education''s Future','EDU_','EDU_115B1','學二','合開','',2,-1,-1,'EDU_',1,2,2,0,'',1,1,getdate(),'office','0','{FREE_2}','EDU_115B1','EDU_90020','0','B','','','')
if @@error<>0
begin
   raiserror ('[EDU_9002A]無法新增課主檔。', 16, 1)
   rollback
   return
end
insert VELM_DBASE..SEMETEACHER(SUBJECT_GROUP,TCHER_NO,TCHER_NAME,seq) values({FREE_2},10101,'王大明',1)
if @@error<>0
begin
   raiserror ('[EDU_9002A] 無法新增教師資料。', 16, 1)
   rollback
   return
end
insert VELM_DBASE..SEMECLASSROOM(SUBJECT_GROUP,room_id_no,classroom,weekday,classno,location) values({FREE_2}, -1, '其他',-3, -1, 3)
if @@error<>0
begin
   raiserror ('[EDU_9002A]無法新增教室、上課時間資料。', 16, 1)
   rollback
   return
end
commit transaction

-- Rooms, teachers and fields marked as edited: the group's rooms and rentals are rewritten.
-- @case update_offering_rooms_touched | columns: -
begin transaction
update VELM_DBASE..SEMESUBJECT set DEPYR_CODE='EDU_115B1',MUST='選',SUBJ_MODE='3',LIMIT=45,S_NAME='運動生理學實務',CREDIT=2.5,HOUR=2.5,LAB=1,E_NAME='Exercise Physiology Practice',BELONG='EDU_',BELONG_DEPYR_CODE ='EDU_115B1',WORK_PLACE='學二',NOTE='合開',EP_FIELD='',SEME_ENG=2,IsEval=1,SalaryGroup=1,EvalGroup=1,md_date=getdate(),md_userid='office',term_id='0',term='{EDU_ROOMS}',CRS_DEPYR_CODE='EDU_115B1',subj_kind='B',S='T',U='T',I='F' where RSUBJ_SERNO={EDU_ROOMS}
if @@error<>0
begin
   raiserror ('[{EDU_ROOMS}]無法更新開課主檔。', 16, 1)
   rollback
   return
end
delete VELM_DBASE..SEMECLASSROOM where SUBJECT_GROUP={EDU_ROOMS}
if @@error<>0
begin
   raiserror ('[{EDU_ROOMS}]無法刪除教室、上課時間資料。', 16, 1)
   rollback
   return
end
 delete GADEP..RMR_Rent_list where rent_no in(select rent_no from GADEP..RMR_Rent_master where SUBJECT_GROUP={EDU_ROOMS})
 delete GADEP..RMR_Rent_master where SUBJECT_GROUP={EDU_ROOMS}
insert VELM_DBASE..SEMECLASSROOM(SUBJECT_GROUP,room_id_no,classroom,weekday,classno,location) values({EDU_ROOMS},109,'綜201',2,1,1)
if @@error<>0
begin
   raiserror ('[{EDU_ROOMS}]無法更新教室、上課時間資料。', 16, 1)
   rollback
   return
end
insert VELM_DBASE..SEMECLASSROOM(SUBJECT_GROUP,room_id_no,classroom,weekday,classno,location) values({EDU_ROOMS},109,'綜201',2,2,1)
if @@error<>0
begin
   raiserror ('[{EDU_ROOMS}]無法更新教室、上課時間資料。', 16, 1)
   rollback
   return
end
  INSERT INTO [GADEP].[dbo].[RMR_Rent_master]    ([rent_no]   ,[rent_dept]     ,[rent_person]   ,[ask_date]   ,[con_tel]    ,[rem]    ,[room_id_no]   ,[rent_date_week]   ,[rent_start_date]   ,[rent_end_date]    ,[rent_start_time]   ,[rent_end_time]   ,[room_man]      ,[input_date]   ,[input_seq]  ,[rent_ym]     ,[sysrem]    ,SUBJECT_GROUP   ,rent_status)   VALUES   ('{FREE_6}'  ,'課務組'  ,'課表'  , GETDATE()  ,'2124'  ,'課表轉檔'  ,109  ,3  ,'2027-02-22 00:00:00.000'  ,'2027-06-25 00:00:00.000'  ,6  ,8  ,'qv'  ,GETDATE()  ,1  ,'1152'  ,'1152課表'  ,{EDU_ROOMS}  ,'核准')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(109,'2027/02/23',6,'{FREE_6}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(109,'2027/02/23',7,'{FREE_6}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(109,'2027/03/02',6,'{FREE_6}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(109,'2027/03/02',7,'{FREE_6}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(109,'2027/03/09',6,'{FREE_6}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(109,'2027/03/09',7,'{FREE_6}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(109,'2027/03/16',6,'{FREE_6}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(109,'2027/03/16',7,'{FREE_6}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(109,'2027/03/23',6,'{FREE_6}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(109,'2027/03/23',7,'{FREE_6}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(109,'2027/03/30',6,'{FREE_6}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(109,'2027/03/30',7,'{FREE_6}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(109,'2027/04/06',6,'{FREE_6}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(109,'2027/04/06',7,'{FREE_6}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(109,'2027/04/13',6,'{FREE_6}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(109,'2027/04/13',7,'{FREE_6}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(109,'2027/04/20',6,'{FREE_6}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(109,'2027/04/20',7,'{FREE_6}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(109,'2027/04/27',6,'{FREE_6}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(109,'2027/04/27',7,'{FREE_6}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(109,'2027/05/04',6,'{FREE_6}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(109,'2027/05/04',7,'{FREE_6}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(109,'2027/05/11',6,'{FREE_6}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(109,'2027/05/11',7,'{FREE_6}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(109,'2027/05/18',6,'{FREE_6}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(109,'2027/05/18',7,'{FREE_6}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(109,'2027/05/25',6,'{FREE_6}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(109,'2027/05/25',7,'{FREE_6}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(109,'2027/06/01',6,'{FREE_6}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(109,'2027/06/01',7,'{FREE_6}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(109,'2027/06/08',6,'{FREE_6}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(109,'2027/06/08',7,'{FREE_6}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(109,'2027/06/15',6,'{FREE_6}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(109,'2027/06/15',7,'{FREE_6}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(109,'2027/06/22',6,'{FREE_6}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(109,'2027/06/22',7,'{FREE_6}')
insert VELM_DBASE..SEMECLASSROOM(SUBJECT_GROUP,room_id_no,classroom,weekday,classno,location) values({EDU_ROOMS},102,'綜102',4,3,1)
if @@error<>0
begin
   raiserror ('[{EDU_ROOMS}]無法更新教室、上課時間資料。', 16, 1)
   rollback
   return
end
insert VELM_DBASE..SEMECLASSROOM(SUBJECT_GROUP,room_id_no,classroom,weekday,classno,location) values({EDU_ROOMS},102,'綜102',4,4,1)
if @@error<>0
begin
   raiserror ('[{EDU_ROOMS}]無法更新教室、上課時間資料。', 16, 1)
   rollback
   return
end
  INSERT INTO [GADEP].[dbo].[RMR_Rent_master]    ([rent_no]   ,[rent_dept]     ,[rent_person]   ,[ask_date]   ,[con_tel]    ,[rem]    ,[room_id_no]   ,[rent_date_week]   ,[rent_start_date]   ,[rent_end_date]    ,[rent_start_time]   ,[rent_end_time]   ,[room_man]      ,[input_date]   ,[input_seq]  ,[rent_ym]     ,[sysrem]    ,SUBJECT_GROUP   ,rent_status)   VALUES   ('{FREE_7}'  ,'課務組'  ,'課表'  , GETDATE()  ,'2124'  ,'課表轉檔'  ,102  ,5  ,'2027-02-22 00:00:00.000'  ,'2027-06-25 00:00:00.000'  ,8  ,10  ,'qv'  ,GETDATE()  ,1  ,'1152'  ,'1152課表'  ,{EDU_ROOMS}  ,'核准')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(102,'2027/02/25',8,'{FREE_7}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(102,'2027/02/25',9,'{FREE_7}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(102,'2027/03/04',8,'{FREE_7}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(102,'2027/03/04',9,'{FREE_7}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(102,'2027/03/11',8,'{FREE_7}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(102,'2027/03/11',9,'{FREE_7}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(102,'2027/03/18',8,'{FREE_7}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(102,'2027/03/18',9,'{FREE_7}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(102,'2027/03/25',8,'{FREE_7}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(102,'2027/03/25',9,'{FREE_7}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(102,'2027/04/01',8,'{FREE_7}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(102,'2027/04/01',9,'{FREE_7}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(102,'2027/04/08',8,'{FREE_7}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(102,'2027/04/08',9,'{FREE_7}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(102,'2027/04/15',8,'{FREE_7}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(102,'2027/04/15',9,'{FREE_7}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(102,'2027/04/22',8,'{FREE_7}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(102,'2027/04/22',9,'{FREE_7}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(102,'2027/04/29',8,'{FREE_7}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(102,'2027/04/29',9,'{FREE_7}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(102,'2027/05/06',8,'{FREE_7}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(102,'2027/05/06',9,'{FREE_7}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(102,'2027/05/13',8,'{FREE_7}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(102,'2027/05/13',9,'{FREE_7}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(102,'2027/05/20',8,'{FREE_7}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(102,'2027/05/20',9,'{FREE_7}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(102,'2027/05/27',8,'{FREE_7}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(102,'2027/05/27',9,'{FREE_7}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(102,'2027/06/03',8,'{FREE_7}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(102,'2027/06/03',9,'{FREE_7}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(102,'2027/06/10',8,'{FREE_7}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(102,'2027/06/10',9,'{FREE_7}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(102,'2027/06/17',8,'{FREE_7}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(102,'2027/06/17',9,'{FREE_7}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(102,'2027/06/24',8,'{FREE_7}')
INSERT INTO [GADEP].[dbo].[RMR_Rent_list]([room_id_no],[rent_date],[rent_time],[rent_no]) VALUES(102,'2027/06/24',9,'{FREE_7}')
delete VELM_DBASE..SEMETEACHER where SUBJECT_GROUP={EDU_ROOMS}
if @@error<>0
begin
   raiserror ('[{EDU_ROOMS}]無法刪除教師資料。', 16, 1)
   rollback
   return
end
insert VELM_DBASE..SEMETEACHER(SUBJECT_GROUP,TCHER_NO,TCHER_NAME,seq) values({EDU_ROOMS},10101,'王大明',1)
if @@error<>0
begin
   raiserror ('[{EDU_ROOMS}]無法新增教師資料。', 16, 1)
   rollback
   return
end
insert VELM_DBASE..SEMETEACHER(SUBJECT_GROUP,TCHER_NO,TCHER_NAME,seq) values({EDU_ROOMS},10102,'O''Neil',2)
if @@error<>0
begin
   raiserror ('[{EDU_ROOMS}]無法新增教師資料。', 16, 1)
   rollback
   return
end
 delete VELM_Dbase..SEMECDIO where RSUBJ_SERNO={EDU_ROOMS}
  INSERT INTO [VELM_DBASE].[dbo].[SEMECDIO] (RSUBJ_SERNO,CDIO_NAME,CR_DATE)
 VALUES({EDU_ROOMS}
 ,'國際化課程'
 ,GETDATE() ) 
 delete VELM_Dbase..SEMESUBCDIO where RSUBJ_SERNO={EDU_ROOMS}
  INSERT INTO [VELM_DBASE].[dbo].[SEMEsubCDIO] (RSUBJ_SERNO,CDIOSYSNO,CDIO_SUBNAME,CR_DATE,subsysno)
 VALUES({EDU_ROOMS}
 ,9
 ,'SDG13 氣候行動'
 ,GETDATE()
 ,(select  sysno from VELM_DBASE..SEMECDIOSUBITEM  
 where cdiosubitem='SDG13 氣候行動')
  ) 
delete VELM_DBASE..SEMEGC_FIELD where SUBJECT_GROUP={EDU_ROOMS}
if @@error<>0
begin
   raiserror ('[{EDU_ROOMS}]無法刪除通識領域資料。', 16, 1)
   rollback
   return
end
insert VELM_DBASE..SEMEGC_FIELD(SUBJECT_GROUP,seq,gc_code,gc_field) values({EDU_ROOMS},0,'3','自然與工程')
if @@error<>0
begin
   raiserror ('[{EDU_ROOMS}]無法新增通識領域資料。', 16, 1)
   rollback
   return
end
commit transaction

-- Only the name changed: rooms, rentals and fields stay.
-- @case update_offering_untouched | columns: -
begin transaction
update VELM_DBASE..SEMESUBJECT set DEPYR_CODE='EDU_115B1',MUST='選',SUBJ_MODE='3',LIMIT=45,S_NAME='教育概論概論(新)',CREDIT=2.5,HOUR=2.5,LAB=1,E_NAME='Exercise Physiology Practice',BELONG='EDU_',BELONG_DEPYR_CODE ='EDU_115B1',WORK_PLACE='學二',NOTE='合開',EP_FIELD='',SEME_ENG=2,IsEval=1,SalaryGroup=1,EvalGroup=1,md_date=getdate(),md_userid='office',term_id='0',term='{EDU_PLAIN}',CRS_DEPYR_CODE='EDU_115B1',subj_kind='B',S='T',U='T',I='F' where RSUBJ_SERNO={EDU_PLAIN}
if @@error<>0
begin
   raiserror ('[{EDU_PLAIN}]無法更新開課主檔。', 16, 1)
   rollback
   return
end
delete VELM_DBASE..SEMETEACHER where SUBJECT_GROUP={EDU_PLAIN}
if @@error<>0
begin
   raiserror ('[{EDU_PLAIN}]無法刪除教師資料。', 16, 1)
   rollback
   return
end
insert VELM_DBASE..SEMETEACHER(SUBJECT_GROUP,TCHER_NO,TCHER_NAME,seq) values({EDU_PLAIN},10101,'王大明',1)
if @@error<>0
begin
   raiserror ('[{EDU_PLAIN}]無法新增教師資料。', 16, 1)
   rollback
   return
end
insert VELM_DBASE..SEMETEACHER(SUBJECT_GROUP,TCHER_NO,TCHER_NAME,seq) values({EDU_PLAIN},10102,'O''Neil',2)
if @@error<>0
begin
   raiserror ('[{EDU_PLAIN}]無法新增教師資料。', 16, 1)
   rollback
   return
end
 delete VELM_Dbase..SEMECDIO where RSUBJ_SERNO={EDU_PLAIN}
 delete VELM_Dbase..SEMESUBCDIO where RSUBJ_SERNO={EDU_PLAIN}
commit transaction

-- Switched to a winter class: rooms and rentals go, one special row.
-- @case update_offering_special_schedule | columns: -
begin transaction
update VELM_DBASE..SEMESUBJECT set DEPYR_CODE='EDU_115B1',MUST='選',SUBJ_MODE='3',LIMIT=45,S_NAME='教育概論專題',CREDIT=2.5,HOUR=2.5,LAB=1,E_NAME='Exercise Physiology Practice',BELONG='EDU_',BELONG_DEPYR_CODE ='EDU_115B1',WORK_PLACE='學二',NOTE='合開',EP_FIELD='',SEME_ENG=2,IsEval=1,SalaryGroup=1,EvalGroup=1,md_date=getdate(),md_userid='office',term_id='0',term='{EDU_SPECIAL}',CRS_DEPYR_CODE='EDU_115B1',subj_kind='B',S='T',U='T',I='F' where RSUBJ_SERNO={EDU_SPECIAL}
if @@error<>0
begin
   raiserror ('[{EDU_SPECIAL}]無法更新開課主檔。', 16, 1)
   rollback
   return
end
delete VELM_DBASE..SEMECLASSROOM where SUBJECT_GROUP={EDU_SPECIAL}
if @@error<>0
begin
   raiserror ('[{EDU_SPECIAL}]無法刪除教室、上課時間資料。', 16, 1)
   rollback
   return
end
 delete GADEP..RMR_Rent_list where rent_no in(select rent_no from GADEP..RMR_Rent_master where SUBJECT_GROUP={EDU_SPECIAL})
 delete GADEP..RMR_Rent_master where SUBJECT_GROUP={EDU_SPECIAL}
insert VELM_DBASE..SEMECLASSROOM(SUBJECT_GROUP,room_id_no,classroom,weekday,classno,location) values({EDU_SPECIAL}, -1, '其他',-2, -1, 3)
if @@error<>0
begin
   raiserror ('[EDU_2003A]無法新增教室、上課時間資料。', 16, 1)
   rollback
   return
end
delete VELM_DBASE..SEMETEACHER where SUBJECT_GROUP={EDU_SPECIAL}
if @@error<>0
begin
   raiserror ('[{EDU_SPECIAL}]無法刪除教師資料。', 16, 1)
   rollback
   return
end
insert VELM_DBASE..SEMETEACHER(SUBJECT_GROUP,TCHER_NO,TCHER_NAME,seq) values({EDU_SPECIAL},10101,'王大明',1)
if @@error<>0
begin
   raiserror ('[{EDU_SPECIAL}]無法新增教師資料。', 16, 1)
   rollback
   return
end
insert VELM_DBASE..SEMETEACHER(SUBJECT_GROUP,TCHER_NO,TCHER_NAME,seq) values({EDU_SPECIAL},10102,'O''Neil',2)
if @@error<>0
begin
   raiserror ('[{EDU_SPECIAL}]無法新增教師資料。', 16, 1)
   rollback
   return
end
 delete VELM_Dbase..SEMECDIO where RSUBJ_SERNO={EDU_SPECIAL}
 delete VELM_Dbase..SEMESUBCDIO where RSUBJ_SERNO={EDU_SPECIAL}
commit transaction

-- The serial is taken by the insert above: the error block raises its text and nothing is kept.
-- @case insert_offering_duplicate_serial | error: [EDU_9003A]無法新增課主檔。 | after: insert_offering_special_schedule
begin transaction
insert VELM_DBASE..SEMESUBJECT(RSUBJ_SERNO,SUBJECT_GROUP,DEPYR_CODE,SUBJECT_ID,DEPARTMENT,MUST,YEAR,SEMESTER,SUBJ_MODE,LIMIT,S_NAME,CREDIT,HOUR,LAB,E_NAME,BELONG,BELONG_DEPYR_CODE,WORK_PLACE,NOTE,EP_FIELD,SEME_ENG,SUBJECT_SYSNO,PROGRAM_ID,PRE_DEPYRCODE,IsEval,status,IsExpand,fromyear,fromdep,salarygroup,evalgroup,cr_date,cr_userid,term_id,term,CRS_DEPYR_CODE,SUBJECT_ID_SEC,rule_rel,subj_kind,S,U,I) values({FREE_2},{FREE_2},'EDU_115B1','EDU_9003A','EDU_','選',115,2,'3',45,'教育的''未來''',2.5,2.5,1,'Education''s Future','EDU_','EDU_115B1','學二','合開','',2,-1,-1,'EDU_',1,2,2,0,'',1,1,getdate(),'office','0','{FREE_2}','EDU_115B1','EDU_90030','0','B','','','')
if @@error<>0
begin
   raiserror ('[EDU_9003A]無法新增課主檔。', 16, 1)
   rollback
   return
end
commit transaction
