-- Joining two single offerings into one group and separating them again.

-- @value JOIN_HEAD = select RSUBJ_SERNO from VELM_DBASE.SEMESUBJECT s where DEPARTMENT='EDU_' and YEAR=115 and SEMESTER=2 and status=2 and SUBJECT_GROUP=RSUBJ_SERNO and exists (select 1 from GADEP.RMR_Rent_master r where r.SUBJECT_GROUP=s.SUBJECT_GROUP) and not exists (select 1 from VELM_DBASE.SUBJSELE_CURRENT c where c.rsubj_serno=s.RSUBJ_SERNO) and not exists (select 1 from VELM_DBASE.SUBJSELE_HISTORY h where h.rsubj_serno=s.RSUBJ_SERNO) order by RSUBJ_SERNO limit 1 offset 4
-- @value JOIN_MEMBER = select RSUBJ_SERNO from VELM_DBASE.SEMESUBJECT s where DEPARTMENT='EDU_' and YEAR=115 and SEMESTER=2 and status=2 and SUBJECT_GROUP=RSUBJ_SERNO and exists (select 1 from GADEP.RMR_Rent_master r where r.SUBJECT_GROUP=s.SUBJECT_GROUP) and not exists (select 1 from VELM_DBASE.SUBJSELE_CURRENT c where c.rsubj_serno=s.RSUBJ_SERNO) and not exists (select 1 from VELM_DBASE.SUBJSELE_HISTORY h where h.rsubj_serno=s.RSUBJ_SERNO) order by RSUBJ_SERNO limit 1 offset 5
-- @value HEAD_RENT = select min(rent_no) from GADEP.RMR_Rent_master where SUBJECT_GROUP={JOIN_HEAD}
-- @value HEAD_RENTS = select count(*) from GADEP.RMR_Rent_master where SUBJECT_GROUP={JOIN_HEAD}
-- @value COMBINED_GROUPS_JOINED = select {COMBINED_GROUPS}+1

-- The member joins the head's group and loses its own rooms and rentals.
-- @case join_offering | columns: -
declare @subject_group int
declare @rent_no varchar(15)
select @subject_group=subject_group from VELM_DBASE..semesubject where RSUBJ_SERNO={JOIN_MEMBER}
 select @rent_no=rent_no from GADEP..RMR_Rent_master where subject_group=@subject_group
if exists (select subject_group from VELM_DBASE..SEMECLASSROOM where subject_group=@subject_group)
delete VELM_DBASE..SEMECLASSROOM where subject_group=@subject_group
if  exists ( select subject_group from GADEP..RMR_Rent_master where subject_group=@subject_group)
delete GADEP..RMR_Rent_master where subject_group=@subject_group
if  exists ( select rent_no from GADEP..RMR_Rent_list where rent_no=@rent_no)
delete GADEP..RMR_Rent_list where rent_no=@rent_no
update VELM_DBASE..semesubject set subject_group={JOIN_HEAD} where RSUBJ_SERNO={JOIN_MEMBER}

-- @case combined_groups_after_join | columns: SUBJECT_GROUP,COMB_SUBJECT_ID,S_NAME,TEACHER_LIST,CLASSROOM,CLASSTIME,STATUS | rows: {COMBINED_GROUPS_JOINED} | after: join_offering
select SUBJECT_GROUP,velm_dbase.dbo.COMB_SUBJECT_ID(subject_group) as COMB_SUBJECT_ID,velm_dbase.dbo.COMB_SNAME(subject_group) as S_NAME,velm_dbase.dbo.SUBJECT_TEACHER_List(SUBJECT_GROUP) as TEACHER_LIST,velm_dbase.dbo.SUBJECT_ROOM_List(SUBJECT_GROUP) as CLASSROOM,velm_dbase.dbo.SUBJECT_TIME_List(SUBJECT_GROUP) as CLASSTIME,velm_dbase.dbo.COMB_STATUS(subject_group) AS STATUS from VELM_DBASE..semesubject where SUBJECT_GROUP in (select subject_group from VELM_DBASE..SEMESUBJECT where year=115 and SEMESTER=2 group by subject_group having count(*) > 1) group by SUBJECT_GROUP,velm_dbase.dbo.COMB_SUBJECT_ID(subject_group),velm_dbase.dbo.COMB_SNAME(subject_group),velm_dbase.dbo.SUBJECT_TEACHER_List(SUBJECT_GROUP),velm_dbase.dbo.SUBJECT_ROOM_List(SUBJECT_GROUP),velm_dbase.dbo.COMB_STATUS(subject_group),velm_dbase.dbo.SUBJECT_TIME_List(SUBJECT_GROUP)

-- @case separate_bookings_of_head | columns: rent_no,subject_group | rows: {HEAD_RENTS}
declare @subject_group int
select @subject_group=rsubj_serno from VELM_DBASE..semesubject where RSUBJ_SERNO={JOIN_HEAD}
select rent_no,subject_group from [GADEP].[dbo].[RMR_Rent_master] where subject_group =@subject_group

-- @case separate_bookings_of_member | columns: rent_no,subject_group | rows: 0 | after: join_offering
declare @subject_group int
select @subject_group=rsubj_serno from VELM_DBASE..semesubject where RSUBJ_SERNO={JOIN_MEMBER}
select rent_no,subject_group from [GADEP].[dbo].[RMR_Rent_master] where subject_group =@subject_group

-- @case separate_members | columns: rsubj_serno | rows: 1 | after: join_offering
 select rsubj_serno from VELM_DBase..SEMESUBJECT where SUBJECT_GROUP={JOIN_HEAD}  and (subject_group<>RSUBJ_SERNO)

-- @case separate_copy_booking | columns: - | after: join_offering
 insert into GADEP..RMR_Rent_master (rent_no,rent_dept,rent_person,ask_date,con_tel,rem,room_id_no  ,rent_date_week,rent_start_date,rent_end_date,rent_start_time,rent_end_time,room_man,input_date  ,input_seq,rent_ym,sysrem,SUBJECT_GROUP,building_dep_yn,rent_status,email,md_user,status_date) select {FREE_8},rent_dept ,rent_person,ask_date,con_tel,rem,room_id_no ,rent_date_week ,rent_start_date,rent_end_date,rent_start_time ,rent_end_time ,room_man ,input_date,input_seq,rent_ym,sysrem,{JOIN_MEMBER},'  ','核准','  ','  ','  ' from GADEP..RMR_Rent_master where rent_no='{HEAD_RENT}'
 insert into [GADEP].[dbo].[RMR_Rent_list] (room_id_no,rent_date,rent_time,rent_no) 
 select room_id_no,rent_date,rent_time,{FREE_8} from   [GADEP].[dbo].[RMR_Rent_list]  where rent_no='{HEAD_RENT}'

-- @case separate_head | columns: - | after: separate_copy_booking
declare @subject_group int
select @subject_group=subject_group from VELM_DBASE..semesubject where RSUBJ_SERNO={JOIN_HEAD}
if not exists (select subject_group from VELM_DBASE..SEMETEACHER where subject_group={JOIN_HEAD})
insert into VELM_DBASE..SEMETEACHER select {JOIN_HEAD},seq,TCHER_NO,TCHER_NAME from VELM_DBASE..SEMETEACHER where subject_group=@subject_group
if not exists (select subject_group from VELM_DBASE..SEMEOLD_PRESUBJ where subject_group={JOIN_HEAD})
insert into VELM_DBASE..SEMEOLD_PRESUBJ select {JOIN_HEAD},seq, pre_subject_name from VELM_DBASE..SEMEOLD_PRESUBJ where subject_group=@subject_group
if not exists (select subject_group from VELM_DBASE..SEMEGC_FIELD where subject_group={JOIN_HEAD})
insert into VELM_DBASE..SEMEGC_FIELD select {JOIN_HEAD}, seq, gc_code, gc_field from VELM_DBASE..SEMEGC_FIELD where subject_group=@subject_group
if not exists (select subject_group from VELM_DBASE..SEMECLASSROOM where subject_group={JOIN_HEAD})
insert into VELM_DBASE..SEMECLASSROOM select {JOIN_HEAD}, room_id_no, classroom, weekday, classno, location from VELM_DBASE..SEMECLASSROOM where subject_group=@subject_group
update VELM_DBASE..semesubject set subject_group=RSUBJ_SERNO where RSUBJ_SERNO={JOIN_HEAD}

-- @case separate_member | columns: - | after: separate_head
declare @subject_group int
select @subject_group=subject_group from VELM_DBASE..semesubject where RSUBJ_SERNO={JOIN_MEMBER}
if not exists (select subject_group from VELM_DBASE..SEMETEACHER where subject_group={JOIN_MEMBER})
insert into VELM_DBASE..SEMETEACHER select {JOIN_MEMBER},seq,TCHER_NO,TCHER_NAME from VELM_DBASE..SEMETEACHER where subject_group=@subject_group
if not exists (select subject_group from VELM_DBASE..SEMEOLD_PRESUBJ where subject_group={JOIN_MEMBER})
insert into VELM_DBASE..SEMEOLD_PRESUBJ select {JOIN_MEMBER},seq, pre_subject_name from VELM_DBASE..SEMEOLD_PRESUBJ where subject_group=@subject_group
if not exists (select subject_group from VELM_DBASE..SEMEGC_FIELD where subject_group={JOIN_MEMBER})
insert into VELM_DBASE..SEMEGC_FIELD select {JOIN_MEMBER}, seq, gc_code, gc_field from VELM_DBASE..SEMEGC_FIELD where subject_group=@subject_group
if not exists (select subject_group from VELM_DBASE..SEMECLASSROOM where subject_group={JOIN_MEMBER})
insert into VELM_DBASE..SEMECLASSROOM select {JOIN_MEMBER}, room_id_no, classroom, weekday, classno, location from VELM_DBASE..SEMECLASSROOM where subject_group=@subject_group
update VELM_DBASE..semesubject set subject_group=RSUBJ_SERNO where RSUBJ_SERNO={JOIN_MEMBER}

-- @case combined_groups_after_separation | columns: SUBJECT_GROUP,COMB_SUBJECT_ID,S_NAME,TEACHER_LIST,CLASSROOM,CLASSTIME,STATUS | rows: {COMBINED_GROUPS} | after: separate_member
select SUBJECT_GROUP,velm_dbase.dbo.COMB_SUBJECT_ID(subject_group) as COMB_SUBJECT_ID,velm_dbase.dbo.COMB_SNAME(subject_group) as S_NAME,velm_dbase.dbo.SUBJECT_TEACHER_List(SUBJECT_GROUP) as TEACHER_LIST,velm_dbase.dbo.SUBJECT_ROOM_List(SUBJECT_GROUP) as CLASSROOM,velm_dbase.dbo.SUBJECT_TIME_List(SUBJECT_GROUP) as CLASSTIME,velm_dbase.dbo.COMB_STATUS(subject_group) AS STATUS from VELM_DBASE..semesubject where SUBJECT_GROUP in (select subject_group from VELM_DBASE..SEMESUBJECT where year=115 and SEMESTER=2 group by subject_group having count(*) > 1) group by SUBJECT_GROUP,velm_dbase.dbo.COMB_SUBJECT_ID(subject_group),velm_dbase.dbo.COMB_SNAME(subject_group),velm_dbase.dbo.SUBJECT_TEACHER_List(SUBJECT_GROUP),velm_dbase.dbo.SUBJECT_ROOM_List(SUBJECT_GROUP),velm_dbase.dbo.COMB_STATUS(subject_group),velm_dbase.dbo.SUBJECT_TIME_List(SUBJECT_GROUP)
