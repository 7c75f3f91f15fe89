-- An offering's own rows, the queries around its insert and update and the four room checks of the save.

-- @value TEACHER_GROUP = select SUBJECT_GROUP from VELM_DBASE.SEMETEACHER group by SUBJECT_GROUP order by count(*) desc, SUBJECT_GROUP limit 1
-- @value TEACHER_ROWS = select count(*) from VELM_DBASE.SEMETEACHER where SUBJECT_GROUP={TEACHER_GROUP}
-- @value ROOM_GROUP = select SUBJECT_GROUP from VELM_DBASE.SEMECLASSROOM where room_id_no>0 group by SUBJECT_GROUP order by count(*) desc, SUBJECT_GROUP limit 1
-- @value ROOM_ROWS = select count(*) from VELM_DBASE.SEMECLASSROOM where SUBJECT_GROUP={ROOM_GROUP}
-- @value GC_GROUP = select SUBJECT_GROUP from VELM_DBASE.SEMEGC_FIELD group by SUBJECT_GROUP order by count(*) desc, SUBJECT_GROUP limit 1
-- @value GC_ROWS = select count(*) from VELM_DBASE.SEMEGC_FIELD where SUBJECT_GROUP={GC_GROUP}
-- @value PRESUBJ_GROUP = select SUBJECT_GROUP from VELM_DBASE.SEMEOLD_PRESUBJ group by SUBJECT_GROUP order by count(*) desc, SUBJECT_GROUP limit 1
-- @value PRESUBJ_ROWS = select count(*) from VELM_DBASE.SEMEOLD_PRESUBJ where SUBJECT_GROUP={PRESUBJ_GROUP}
-- @value SPHERE_SYSNO = select subject_sysno from VELM_DBASE.rule_subject_sphere where dep_id in ('GC__','LB__','LC__','PEC_','CLC_') group by subject_sysno order by count(*) desc, subject_sysno limit 1
-- @value SPHERE_ROWS = select count(*) from VELM_DBASE.rule_subject_sphere a join VELM_DBASE.rule_general_sphere b on a.across_sphere=b.sphere_id where a.subject_sysno={SPHERE_SYSNO} and a.dep_id in ('GC__','LB__','LC__','PEC_','CLC_')
-- @value PREV_SYSNO = select min(subject_sysno) from VELM_DBASE.vwRule_Subject_Previous where depyr_code like '%115B1'
-- @value PREV_DEPYR = select min(depyr_code) from VELM_DBASE.vwRule_Subject_Previous where subject_sysno={PREV_SYSNO} and depyr_code like '%115B1'
-- @value TAKEN_CODE = select min(SUBJECT_ID) from VELM_DBASE.SEMESUBJECT where YEAR=115 and SEMESTER=2
-- A CS__ offering of the semester with a real room and a known teacher, and one of its slots.
-- @value SLOT_SERIAL = select min(s.RSUBJ_SERNO) from VELM_DBASE.SEMESUBJECT s join VELM_DBASE.SEMECLASSROOM c on c.SUBJECT_GROUP=s.SUBJECT_GROUP join VELM_DBASE.SEMETEACHER t on t.SUBJECT_GROUP=s.SUBJECT_GROUP where s.DEPARTMENT='CS__' and s.YEAR=115 and s.SEMESTER=2 and s.status<>1 and c.room_id_no>0 and t.TCHER_NO>0
-- @value SLOT_GROUP = select SUBJECT_GROUP from VELM_DBASE.SEMESUBJECT where RSUBJ_SERNO={SLOT_SERIAL}
-- @value SLOT_ROOM = select min(room_id_no) from VELM_DBASE.SEMECLASSROOM where SUBJECT_GROUP={SLOT_GROUP} and room_id_no>0
-- @value SLOT_WEEKDAY = select min(weekday) from VELM_DBASE.SEMECLASSROOM where SUBJECT_GROUP={SLOT_GROUP} and room_id_no={SLOT_ROOM}
-- @value SLOT_PERIOD = select min(classno) from VELM_DBASE.SEMECLASSROOM where SUBJECT_GROUP={SLOT_GROUP} and room_id_no={SLOT_ROOM} and weekday={SLOT_WEEKDAY}
-- @value SLOT_TEACHER = select min(TCHER_NO) from VELM_DBASE.SEMETEACHER where SUBJECT_GROUP={SLOT_GROUP} and TCHER_NO>0
-- @value OTHER_ROOM = select min(room_id_no) from GADEP.RMR_Room_master where room_id_no<>{SLOT_ROOM}
-- @value SHARING_ROWS = select count(*) from VELM_DBASE.SEMECLASSROOM a join VELM_DBASE.SEMESUBJECT b on a.SUBJECT_GROUP=b.SUBJECT_GROUP where b.YEAR=115 and b.SEMESTER=2 and b.status<>1 and a.room_id_no={SLOT_ROOM} and a.weekday={SLOT_WEEKDAY} and a.classno={SLOT_PERIOD}
-- @value TEACHER_TIME_ROWS = select count(*) from VELM_DBASE.SEMESUBJECT A join VELM_DBASE.SEMETEACHER B on A.SUBJECT_GROUP=B.SUBJECT_GROUP join VELM_DBASE.SEMECLASSROOM C on A.SUBJECT_GROUP=C.SUBJECT_GROUP where A.YEAR=115 and A.SEMESTER=2 and A.status<>1 and B.TCHER_NO={SLOT_TEACHER} and C.classno={SLOT_PERIOD} and C.weekday={SLOT_WEEKDAY} and C.room_id_no<>{OTHER_ROOM}
-- @value TEACHER_TIME_OTHER_ROWS = select count(*) from VELM_DBASE.SEMESUBJECT A join VELM_DBASE.SEMETEACHER B on A.SUBJECT_GROUP=B.SUBJECT_GROUP join VELM_DBASE.SEMECLASSROOM C on A.SUBJECT_GROUP=C.SUBJECT_GROUP where A.YEAR=115 and A.SEMESTER=2 and A.status<>1 and B.TCHER_NO={SLOT_TEACHER} and C.classno={SLOT_PERIOD} and C.weekday={SLOT_WEEKDAY} and C.room_id_no<>{OTHER_ROOM} and A.RSUBJ_SERNO<>{SLOT_SERIAL}
-- A rental of the semester made for another purpose than the timetable, and one of its periods.
-- @value RENT_NO = select min(A.rent_no) from GADEP.RMR_Rent_master A join GADEP.RMR_Rent_list B on A.rent_no=B.rent_no where ifnull(A.rem,'')<>'課表轉檔' and ifnull(A.rent_status,'')<>'取消' and B.rent_date between (select SDATE from GADEP.RMR_YEARSEME where YEAR=115 and SEME=2) and (select EDATE from GADEP.RMR_YEARSEME where YEAR=115 and SEME=2)
-- @value RENT_ROOM = select room_id_no from GADEP.RMR_Rent_master where rent_no='{RENT_NO}'
-- @value RENT_PERIOD = select min(rent_time)-5 from GADEP.RMR_Rent_list where rent_no='{RENT_NO}'
-- @value RENT_WEEKDAY = select cast(strftime('%w', min(rent_date)) as integer) from GADEP.RMR_Rent_list where rent_no='{RENT_NO}'
-- @value RENT_CONFLICTS = select count(*) from GADEP.RMR_Rent_master A join GADEP.RMR_Rent_list B on A.rent_no=B.rent_no join GADEP.RMR_Room_master C on A.room_id_no=C.room_id_no where A.room_id_no={RENT_ROOM} and B.rent_time-5={RENT_PERIOD} and ifnull(A.rem,'')<>'課表轉檔' and ifnull(A.rent_status,'')<>'取消' and cast(strftime('%w', B.rent_date) as integer)={RENT_WEEKDAY} and B.rent_date between (select SDATE from GADEP.RMR_YEARSEME where YEAR=115 and SEME=2) and (select EDATE from GADEP.RMR_YEARSEME where YEAR=115 and SEME=2)

-- @case offering_teachers | columns: TCHER_NO,t1_name,t2_name | rows: {TEACHER_ROWS}
select a.TCHER_NO, a.TCHER_NAME as t1_name, b.TCHER_CNAME as t2_name from VELM_DBASE..SEMETEACHER a left join VELM_DBASE..DN_tcher_mnger b on (a.tcher_no=b.tcher_no) where a.SUBJECT_GROUP={TEACHER_GROUP} order by seq

-- @case offering_rooms | columns: room_id_no,classroom,weekday,classno,location | rows: {ROOM_ROWS}
select room_id_no, classroom, weekday, classno, location from VELM_DBASE..SEMECLASSROOM where SUBJECT_GROUP={ROOM_GROUP} order by room_id_no,weekday,classno

-- @case offering_gc_fields | columns: gc_code,gc_field | rows: {GC_ROWS}
select gc_code, gc_field from VELM_DBASE..SEMEGC_FIELD where SUBJECT_GROUP={GC_GROUP} order by seq

-- @case offering_old_prerequisites | columns: pre_subject_name | rows: {PRESUBJ_ROWS}
select pre_subject_name from VELM_DBASE..SEMEOLD_PRESUBJ where SUBJECT_GROUP={PRESUBJ_GROUP} order by seq

-- @case rule_spheres | columns: sphere_sname,sphere_id | rows: {SPHERE_ROWS}
select b.sphere_sname, b.sphere_id from VELM_DBASE..rule_subject_sphere a, VELM_DBASE..rule_general_sphere b where a.subject_sysno={SPHERE_SYSNO} and a.dep_id in ('GC__','LB__','LC__','PEC_','CLC_') and a.across_sphere=b.sphere_id order by sphere_default desc

-- @case rule_prerequisites | columns: pre_type,pre_subject_name,pre_subject_sysno | rows: >0
select pre_type, pre_subject_name, pre_subject_sysno from VELM_DBASE..vwRule_Subject_Previous where subject_sysno={PREV_SYSNO} and depyr_code='{PREV_DEPYR}' group by pre_type, pre_subject_name, pre_subject_sysno order by pre_subject_sysno

-- @case new_serial_check | columns: ? | rows: 1
select count(*) from VELM_DBASE..SEMESUBJECT where (RSUBJ_SERNO={SLOT_SERIAL}) or (SUBJECT_GROUP={SLOT_SERIAL})

-- @case new_rent_no_check | columns: ? | rows: 1
select count(*) from GADEP..RMR_Rent_master where (rent_no='{RENT_NO}') or (rent_no='{RENT_NO}')

-- @case insert_duplicate_check_taken | columns: NAME,? | rows: 1
select B.NAME,count(*) from VELM_DBASE..SEMESUBJECT  AS A inner join  VELM_DBASE..SUB_CLASS  AS B ON A.DEPARTMENT=B.CLASS_ID where SUBJECT_ID='{TAKEN_CODE}' and year=115 and semester=2 group by B.NAME

-- @case insert_duplicate_check_free | columns: NAME,? | rows: 0
select B.NAME,count(*) from VELM_DBASE..SEMESUBJECT  AS A inner join  VELM_DBASE..SUB_CLASS  AS B ON A.DEPARTMENT=B.CLASS_ID where SUBJECT_ID='EDU_9001A' and year=115 and semester=2 group by B.NAME

-- @case rental_window | columns: SDATE,EDATE,? | rows: 1
SELECT [SDATE],[EDATE],count(*) FROM [GADEP].[dbo].[RMR_YEARSEME] where YEAR='115' and SEME='2'group by [SDATE],[EDATE]

-- @case rental_window_missing | columns: SDATE,EDATE,? | rows: 0
SELECT [SDATE],[EDATE],count(*) FROM [GADEP].[dbo].[RMR_YEARSEME] where YEAR='101' and SEME='1'group by [SDATE],[EDATE]

-- A new offering (group 0) asking for a slot that is taken.
-- @case room_sharing | columns: DEPARTMENT,SUBJECT_ID,S_NAME | rows: {SHARING_ROWS}
select b.DEPARTMENT, b.SUBJECT_ID, b.S_NAME from VELM_DBASE..SEMECLASSROOM a join VELM_DBASE..SEMESUBJECT b on (a.SUBJECT_GROUP=b.SUBJECT_GROUP) where b.year=115 and b.semester=2 and b.status<>1 and a.subject_group<>0 and a.room_id_no={SLOT_ROOM} and a.weekday={SLOT_WEEKDAY} and a.classno={SLOT_PERIOD}

-- @case room_sharing_same_group | columns: DEPARTMENT,SUBJECT_ID,S_NAME
select b.DEPARTMENT, b.SUBJECT_ID, b.S_NAME from VELM_DBASE..SEMECLASSROOM a join VELM_DBASE..SEMESUBJECT b on (a.SUBJECT_GROUP=b.SUBJECT_GROUP) where b.year=115 and b.semester=2 and b.status<>1 and a.subject_group<>{SLOT_GROUP} and a.room_id_no={SLOT_ROOM} and a.weekday={SLOT_WEEKDAY} and a.classno={SLOT_PERIOD}

-- @case room_capacity | columns: people_num | rows: 1
select people_num from GADEP..RMR_Room_master  where room_id_no={SLOT_ROOM}

-- @case room_capacity_no_room | columns: people_num | rows: 0
select people_num from GADEP..RMR_Room_master  where room_id_no=-1

-- The same teacher in another room at that slot is a collision.
-- @case teacher_times_new_offering | columns: SUBJECT_ID,S_NAME,SUBJECT_GROUP,classno,weekday,room_id_no,TCHER_NO,? | rows: {TEACHER_TIME_ROWS}
select
 A.SUBJECT_ID,
 A.S_NAME,
 C.SUBJECT_GROUP,
 C.classno, 
 C.weekday,
 C.room_id_no,
 B.TCHER_NO,
 CAST(B.TCHER_NO AS VARCHAR)
 +CAST(C.weekday AS VARCHAR)
 +CAST(C.classno AS VARCHAR)
 from      
  VELM_DBase..SEMESUBJECT   as A INNER JOIN   
  VELM_DBASE..SEMETEACHER  AS B  ON A.SUBJECT_GROUP=B.SUBJECT_GROUP   INNER JOIN   
  VELM_DBASE..SEMECLASSROOM AS C ON A.SUBJECT_GROUP=C.SUBJECT_GROUP  
  where  
      A.YEAR=115
  and A.SEMESTER=2
  and A.status !=1
  AND B.TCHER_NO={SLOT_TEACHER}
  and classno ={SLOT_PERIOD}
  AND weekday  ={SLOT_WEEKDAY}
  AND room_id_no  <>{OTHER_ROOM}

-- @case teacher_times_excluding_itself | columns: SUBJECT_ID,S_NAME,SUBJECT_GROUP,classno,weekday,room_id_no,TCHER_NO,? | rows: {TEACHER_TIME_OTHER_ROWS}
select
 A.SUBJECT_ID,
 A.S_NAME,
 C.SUBJECT_GROUP,
 C.classno, 
 C.weekday,
 C.room_id_no,
 B.TCHER_NO,
 CAST(B.TCHER_NO AS VARCHAR)
 +CAST(C.weekday AS VARCHAR)
 +CAST(C.classno AS VARCHAR)
 from      
  VELM_DBase..SEMESUBJECT   as A INNER JOIN   
  VELM_DBASE..SEMETEACHER  AS B  ON A.SUBJECT_GROUP=B.SUBJECT_GROUP   INNER JOIN   
  VELM_DBASE..SEMECLASSROOM AS C ON A.SUBJECT_GROUP=C.SUBJECT_GROUP  
  where  
      A.YEAR=115
  and A.SEMESTER=2
  and A.status !=1
  AND B.TCHER_NO={SLOT_TEACHER}
  and classno ={SLOT_PERIOD}
  AND weekday  ={SLOT_WEEKDAY}
  AND room_id_no  <>{OTHER_ROOM}
  AND RSUBJ_SERNO <>{SLOT_SERIAL}

-- @case rental_semester_start | columns: SDATE | rows: 1
SELECT       SDATE    FROM [GADEP].[dbo].[RMR_YEARSEME]   where  YEAR=115 and SEME=2

-- Other rentals of the room at that weekday and period over the whole semester; timetable rentals and
-- cancelled ones are left out.
-- @case rental_conflicts_before_semester | columns: rent_no,room_id_no,room,room_name,星期,rent_date | rows: {RENT_CONFLICTS}
SELECT A.rent_no,A.room_id_no, B.rent_time-5 as room,  C.room_name, case DatePart(weekday , B.rent_date)-1  when 0 then 7  else  DatePart(weekday , B.rent_date)-1 end as 星期 ,B.rent_date from GADEP..RMR_Rent_master AS A  inner join        GADEP..RMR_Rent_list AS B ON A.rent_no=B.rent_no   inner join          GADEP..RMR_Room_master as C on A.room_id_no=C.room_id_no where A.room_id_no={RENT_ROOM}      and B.rent_time-5={RENT_PERIOD}      and isnull(A.rem,'') <>'課表轉檔' and isnull(A.rent_status,'')<>'取消'       and ( DatePart(weekday , B.rent_date)-1) ={RENT_WEEKDAY}      and B.rent_date BETWEEN 
  (SELECT  
       SDATE  
  FROM [GADEP].[dbo].[RMR_YEARSEME]   
  where  YEAR=115 and SEME=2) 
 AND (   SELECT       EDATE    FROM [GADEP].[dbo].[RMR_YEARSEME]   where  YEAR=115 and SEME=2 )    order by rent_DATE

-- @case rental_conflicts_from_today | columns: rent_no,room_id_no,room,room_name,星期,rent_date
SELECT A.rent_no,A.room_id_no, B.rent_time-5 as room,  C.room_name, case DatePart(weekday , B.rent_date)-1  when 0 then 7  else  DatePart(weekday , B.rent_date)-1 end as 星期 ,B.rent_date from GADEP..RMR_Rent_master AS A  inner join        GADEP..RMR_Rent_list AS B ON A.rent_no=B.rent_no   inner join          GADEP..RMR_Room_master as C on A.room_id_no=C.room_id_no where A.room_id_no={RENT_ROOM}      and B.rent_time-5={RENT_PERIOD}      and isnull(A.rem,'') <>'課表轉檔' and isnull(A.rent_status,'')<>'取消'       and ( DatePart(weekday , B.rent_date)-1) ={RENT_WEEKDAY}      and B.rent_date BETWEEN 
( convert(varchar(10),getdate(),111 ) )
 AND (   SELECT       EDATE    FROM [GADEP].[dbo].[RMR_YEARSEME]   where  YEAR=115 and SEME=2 )    order by rent_DATE

-- Sunday slots are sent as weekday 0.
-- @case rental_conflicts_sunday | columns: rent_no,room_id_no,room,room_name,星期,rent_date
SELECT A.rent_no,A.room_id_no, B.rent_time-5 as room,  C.room_name, case DatePart(weekday , B.rent_date)-1  when 0 then 7  else  DatePart(weekday , B.rent_date)-1 end as 星期 ,B.rent_date from GADEP..RMR_Rent_master AS A  inner join        GADEP..RMR_Rent_list AS B ON A.rent_no=B.rent_no   inner join          GADEP..RMR_Room_master as C on A.room_id_no=C.room_id_no where A.room_id_no={RENT_ROOM}      and B.rent_time-5={RENT_PERIOD}      and isnull(A.rem,'') <>'課表轉檔' and isnull(A.rent_status,'')<>'取消'       and ( DatePart(weekday , B.rent_date)-1) =0      and B.rent_date BETWEEN 
( convert(varchar(10),getdate(),111 ) )
 AND (   SELECT       EDATE    FROM [GADEP].[dbo].[RMR_YEARSEME]   where  YEAR=115 and SEME=2 )    order by rent_DATE
