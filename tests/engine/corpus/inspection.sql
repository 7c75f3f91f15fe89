-- The inspection window: offering checks, cancelled, freshman and S/U/I lists, the old-table transfer,
-- class-time collisions and the category and featured-item maintenance.

-- @value SEMESTER_OFFERINGS = select count(*) from VELM_DBASE.SEMESUBJECT where YEAR=115 and SEMESTER=2

-- @case check_all_departments | columns: RSUBJ_SERNO,SUBJECT_ID,S_NAME,E_NAME,DEPARTMENT,DEPYR_CODE,CREDIT,teacherlist,teachernolist,Teachercount,roomlist,roomidlist,timelist,MUST,WORK_PLACE,SUBJ_MODE,LIMIT,BELONG,BELONG_DEPYR_CODE,NOTE,SEME_ENG,IsEval,status,SALARYGROUP,EVALGROUP,FROMYEAR,subject_group,limit2,sui,CDIO_NAME,CDIO_SUBNAME | rows: {SEMESTER_OFFERINGS}
select a.RSUBJ_SERNO, a.SUBJECT_ID, a.S_NAME, a.E_NAME, a.DEPARTMENT,a.DEPYR_CODE, cast(a.CREDIT as varchar(4))+'/'+cast(a.HOUR as varchar(4))+':'+cast(a.LAB as varchar(4))as CREDIT,velm_dbase.dbo.SUBJECT_TEACHER_List(a.subject_group) as teacherlist,velm_dbase.dbo.SUBJECT_TCHERNO_List(a.subject_group) as teachernolist,(SELECT COUNT(*) FROM VELM_DBASE..SEMETEACHER WHERE SUBJECT_GROUP=A.SUBJECT_GROUP) as Teachercount,velm_dbase.dbo.SUBJECT_ROOM_List(a.subject_group) as roomlist,velm_dbase.dbo.SUBJECT_ROOM_ID_List(a.subject_group) as roomidlist,velm_dbase.dbo.SUBJECT_TIME_List(a.subject_group) as timelist,a.MUST, a.WORK_PLACE, a.SUBJ_MODE, a.LIMIT, a.BELONG, a.BELONG_DEPYR_CODE,a.NOTE, case a.SEME_ENG when '1' then '是' when '2' then '否' end SEME_ENG,case a.IsEval when '1' then '是' when '2' then '否' end IsEval, case  a.Status when '1' then '停開' when'2' then '正常' when '3' then '停選' when '4' then '統一排課' when '5' then '新生選課' end as status, case a.SALARYGROUP  when '1'  then '一般正課' when '2' then '體育運動課' when '3' then '實驗實習課' when '4' then '指導論文課' when '5' then '音樂系主修課' when '6'   then '音樂系副修課'        when '7' then '音樂系實作課' when '8' then '演講討論課' when '9' then '必選修校核心課程' end as SALARYGROUP,   case  a.EVALGROUP when '0' then '尚未指定' when '1' then '一般課程' when '2' then '體育課程' when '3' then '實驗課程' when '99' then '校際選課' end as EVALGROUP , a.FROMYEAR,a.subject_group,    (select case  when sum(LIMIT)>999 then 999 else sum(LIMIT) end as limit2 from VELM_DBASE..SEMESUBJECT    where year=115 and SEMESTER=2 and SUBJECT_GROUP=a.SUBJECT_GROUP   group by SUBJECT_GROUP ) as limit2,  CASE s + u + i  WHEN 'TTT' THEN 'SUI' WHEN 'TTF' THEN 'SU'  ELSE ''  END sui, STRING_AGG(c.CDIO_NAME, '/') AS CDIO_NAME,   (            SELECT bb.CDIOITEM + ':' + STRING_AGG(CDIO_SUBNAME, '/') AS CDIO_SUBNAME  FROM velm_dbase..SEMESUBCDIO AS aa                      INNER JOIN velm_dbase..SEMECDIOITEM AS bb ON aa.CDIOSYSNO = bb.SYSNO  WHERE RSUBJ_SERNO = a.RSUBJ_SERNO      GROUP BY bb.CDIOITEM      ) AS CDIO_SUBNAME  
 from VELM_DBASE..semesubject a LEFT OUTER JOIN VELM_DBASE.[dbo].[SEMECDIO] AS c ON a.RSUBJ_SERNO = c.RSUBJ_SERNO  where a.year=115 and a.SEMESTER=2
 group by  a.RSUBJ_SERNO,   SUBJECT_ID,    S_NAME,     E_NAME,     DEPARTMENT,    a.SUBJECT_GROUP,  HOUR,     lab,     YEAR,     semester,   a.DEPYR_CODE,   a.CREDIT,    a.MUST,      a.WORK_PLACE,   a.SUBJ_MODE,   a.LIMIT,    a.BELONG,    a.BELONG_DEPYR_CODE,   a.NOTE,    a.SEME_ENG,    a.IsEval,   a.STATUS,    a.SALARYGROUP,   a.EVALGROUP,    a.FROMYEAR,   a.s,a.u,a.i
 order by A.subject_id

-- @case check_department | columns: RSUBJ_SERNO,SUBJECT_ID,S_NAME,E_NAME,DEPARTMENT,DEPYR_CODE,CREDIT,teacherlist,teachernolist,Teachercount,roomlist,roomidlist,timelist,MUST,WORK_PLACE,SUBJ_MODE,LIMIT,BELONG,BELONG_DEPYR_CODE,NOTE,SEME_ENG,IsEval,status,SALARYGROUP,EVALGROUP,FROMYEAR,subject_group,limit2,sui,CDIO_NAME,CDIO_SUBNAME | rows: {COURSES_ALL}
select a.RSUBJ_SERNO, a.SUBJECT_ID, a.S_NAME, a.E_NAME, a.DEPARTMENT,a.DEPYR_CODE, cast(a.CREDIT as varchar(4))+'/'+cast(a.HOUR as varchar(4))+':'+cast(a.LAB as varchar(4))as CREDIT,velm_dbase.dbo.SUBJECT_TEACHER_List(a.subject_group) as teacherlist,velm_dbase.dbo.SUBJECT_TCHERNO_List(a.subject_group) as teachernolist,(SELECT COUNT(*) FROM VELM_DBASE..SEMETEACHER WHERE SUBJECT_GROUP=A.SUBJECT_GROUP) as Teachercount,velm_dbase.dbo.SUBJECT_ROOM_List(a.subject_group) as roomlist,velm_dbase.dbo.SUBJECT_ROOM_ID_List(a.subject_group) as roomidlist,velm_dbase.dbo.SUBJECT_TIME_List(a.subject_group) as timelist,a.MUST, a.WORK_PLACE, a.SUBJ_MODE, a.LIMIT, a.BELONG, a.BELONG_DEPYR_CODE,a.NOTE, case a.SEME_ENG when '1' then '是' when '2' then '否' end SEME_ENG,case a.IsEval when '1' then '是' when '2' then '否' end IsEval, case  a.Status when '1' then '停開' when'2' then '正常' when '3' then '停選' when '4' then '統一排課' when '5' then '新生選課' end as status, case a.SALARYGROUP  when '1'  then '一般正課' when '2' then '體育運動課' when '3' then '實驗實習課' when '4' then '指導論文課' when '5' then '音樂系主修課' when '6'   then '音樂系副修課'        when '7' then '音樂系實作課' when '8' then '演講討論課' when '9' then '必選修校核心課程' end as SALARYGROUP,   case  a.EVALGROUP when '0' then '尚未指定' when '1' then '一般課程' when '2' then '體育課程' when '3' then '實驗課程' when '99' then '校際選課' end as EVALGROUP , a.FROMYEAR,a.subject_group,    (select case  when sum(LIMIT)>999 then 999 else sum(LIMIT) end as limit2 from VELM_DBASE..SEMESUBJECT    where year=115 and SEMESTER=2 and SUBJECT_GROUP=a.SUBJECT_GROUP   group by SUBJECT_GROUP ) as limit2,  CASE s + u + i  WHEN 'TTT' THEN 'SUI' WHEN 'TTF' THEN 'SU'  ELSE ''  END sui, STRING_AGG(c.CDIO_NAME, '/') AS CDIO_NAME,   (            SELECT bb.CDIOITEM + ':' + STRING_AGG(CDIO_SUBNAME, '/') AS CDIO_SUBNAME  FROM velm_dbase..SEMESUBCDIO AS aa                      INNER JOIN velm_dbase..SEMECDIOITEM AS bb ON aa.CDIOSYSNO = bb.SYSNO  WHERE RSUBJ_SERNO = a.RSUBJ_SERNO      GROUP BY bb.CDIOITEM      ) AS CDIO_SUBNAME  
 from VELM_DBASE..semesubject a LEFT OUTER JOIN VELM_DBASE.[dbo].[SEMECDIO] AS c ON a.RSUBJ_SERNO = c.RSUBJ_SERNO  where a.year=115 and a.SEMESTER=2
 and a.DEPARTMENT='CS__'
 group by  a.RSUBJ_SERNO,   SUBJECT_ID,    S_NAME,     E_NAME,     DEPARTMENT,    a.SUBJECT_GROUP,  HOUR,     lab,     YEAR,     semester,   a.DEPYR_CODE,   a.CREDIT,    a.MUST,      a.WORK_PLACE,   a.SUBJ_MODE,   a.LIMIT,    a.BELONG,    a.BELONG_DEPYR_CODE,   a.NOTE,    a.SEME_ENG,    a.IsEval,   a.STATUS,    a.SALARYGROUP,   a.EVALGROUP,    a.FROMYEAR,   a.s,a.u,a.i
 order by A.subject_id

-- @case check_teachers_incomplete | columns: RSUBJ_SERNO,SUBJECT_ID,S_NAME,E_NAME,DEPARTMENT,DEPYR_CODE,CREDIT,teacherlist,teachernolist,Teachercount,roomlist,roomidlist,timelist,MUST,WORK_PLACE,SUBJ_MODE,LIMIT,BELONG,BELONG_DEPYR_CODE,NOTE,SEME_ENG,IsEval,status,SALARYGROUP,EVALGROUP,FROMYEAR,subject_group,limit2,sui,CDIO_NAME,CDIO_SUBNAME
select a.RSUBJ_SERNO, a.SUBJECT_ID, a.S_NAME, a.E_NAME, a.DEPARTMENT,a.DEPYR_CODE, cast(a.CREDIT as varchar(4))+'/'+cast(a.HOUR as varchar(4))+':'+cast(a.LAB as varchar(4))as CREDIT,velm_dbase.dbo.SUBJECT_TEACHER_List(a.subject_group) as teacherlist,velm_dbase.dbo.SUBJECT_TCHERNO_List(a.subject_group) as teachernolist,(SELECT COUNT(*) FROM VELM_DBASE..SEMETEACHER WHERE SUBJECT_GROUP=A.SUBJECT_GROUP) as Teachercount,velm_dbase.dbo.SUBJECT_ROOM_List(a.subject_group) as roomlist,velm_dbase.dbo.SUBJECT_ROOM_ID_List(a.subject_group) as roomidlist,velm_dbase.dbo.SUBJECT_TIME_List(a.subject_group) as timelist,a.MUST, a.WORK_PLACE, a.SUBJ_MODE, a.LIMIT, a.BELONG, a.BELONG_DEPYR_CODE,a.NOTE, case a.SEME_ENG when '1' then '是' when '2' then '否' end SEME_ENG,case a.IsEval when '1' then '是' when '2' then '否' end IsEval, case  a.Status when '1' then '停開' when'2' then '正常' when '3' then '停選' when '4' then '統一排課' when '5' then '新生選課' end as status, case a.SALARYGROUP  when '1'  then '一般正課' when '2' then '體育運動課' when '3' then '實驗實習課' when '4' then '指導論文課' when '5' then '音樂系主修課' when '6'   then '音樂系副修課'        when '7' then '音樂系實作課' when '8' then '演講討論課' when '9' then '必選修校核心課程' end as SALARYGROUP,   case  a.EVALGROUP when '0' then '尚未指定' when '1' then '一般課程' when '2' then '體育課程' when '3' then '實驗課程' when '99' then '校際選課' end as EVALGROUP , a.FROMYEAR,a.subject_group,    (select case  when sum(LIMIT)>999 then 999 else sum(LIMIT) end as limit2 from VELM_DBASE..SEMESUBJECT    where year=115 and SEMESTER=2 and SUBJECT_GROUP=a.SUBJECT_GROUP   group by SUBJECT_GROUP ) as limit2,  CASE s + u + i  WHEN 'TTT' THEN 'SUI' WHEN 'TTF' THEN 'SU'  ELSE ''  END sui, STRING_AGG(c.CDIO_NAME, '/') AS CDIO_NAME,   (            SELECT bb.CDIOITEM + ':' + STRING_AGG(CDIO_SUBNAME, '/') AS CDIO_SUBNAME  FROM velm_dbase..SEMESUBCDIO AS aa                      INNER JOIN velm_dbase..SEMECDIOITEM AS bb ON aa.CDIOSYSNO = bb.SYSNO  WHERE RSUBJ_SERNO = a.RSUBJ_SERNO      GROUP BY bb.CDIOITEM      ) AS CDIO_SUBNAME  
 from VELM_DBASE..semesubject a left join VELM_DBASE..SEMETEACHER b on a.subject_group=b.subject_group LEFT OUTER JOIN VELM_DBASE.[dbo].[SEMECDIO] AS c ON a.RSUBJ_SERNO = c.RSUBJ_SERNO  where a.year=115 and a.SEMESTER=2
 and a.DEPARTMENT='CS__'
 and ((velm_dbase.dbo.SUBJECT_TEACHER_List(a.subject_group) is null) or (b.TCHER_NO=-1))
 group by  a.RSUBJ_SERNO,   SUBJECT_ID,    S_NAME,     E_NAME,     DEPARTMENT,    a.SUBJECT_GROUP,  HOUR,     lab,     YEAR,     semester,   a.DEPYR_CODE,   a.CREDIT,    a.MUST,      a.WORK_PLACE,   a.SUBJ_MODE,   a.LIMIT,    a.BELONG,    a.BELONG_DEPYR_CODE,   a.NOTE,    a.SEME_ENG,    a.IsEval,   a.STATUS,    a.SALARYGROUP,   a.EVALGROUP,    a.FROMYEAR,   a.s,a.u,a.i
 order by A.subject_id

-- @case check_rooms_incomplete_english | columns: RSUBJ_SERNO,SUBJECT_ID,S_NAME,E_NAME,DEPARTMENT,DEPYR_CODE,CREDIT,teacherlist,teachernolist,Teachercount,roomlist,roomidlist,timelist,MUST,WORK_PLACE,SUBJ_MODE,LIMIT,BELONG,BELONG_DEPYR_CODE,NOTE,SEME_ENG,IsEval,status,SALARYGROUP,EVALGROUP,FROMYEAR,subject_group,limit2,sui,CDIO_NAME,CDIO_SUBNAME
select a.RSUBJ_SERNO, a.SUBJECT_ID, a.S_NAME, a.E_NAME, a.DEPARTMENT,a.DEPYR_CODE, cast(a.CREDIT as varchar(4))+'/'+cast(a.HOUR as varchar(4))+':'+cast(a.LAB as varchar(4))as CREDIT,velm_dbase.dbo.SUBJECT_TEACHER_List(a.subject_group) as teacherlist,velm_dbase.dbo.SUBJECT_TCHERNO_List(a.subject_group) as teachernolist,(SELECT COUNT(*) FROM VELM_DBASE..SEMETEACHER WHERE SUBJECT_GROUP=A.SUBJECT_GROUP) as Teachercount,velm_dbase.dbo.SUBJECT_ROOM_List(a.subject_group) as roomlist,velm_dbase.dbo.SUBJECT_ROOM_ID_List(a.subject_group) as roomidlist,velm_dbase.dbo.SUBJECT_TIME_List(a.subject_group) as timelist,a.MUST, a.WORK_PLACE, a.SUBJ_MODE, a.LIMIT, a.BELONG, a.BELONG_DEPYR_CODE,a.NOTE, case a.SEME_ENG when '1' then '是' when '2' then '否' end SEME_ENG,case a.IsEval when '1' then '是' when '2' then '否' end IsEval, case  a.Status when '1' then '停開' when'2' then '正常' when '3' then '停選' when '4' then '統一排課' when '5' then '新生選課' end as status, case a.SALARYGROUP  when '1'  then '一般正課' when '2' then '體育運動課' when '3' then '實驗實習課' when '4' then '指導論文課' when '5' then '音樂系主修課' when '6'   then '音樂系副修課'        when '7' then '音樂系實作課' when '8' then '演講討論課' when '9' then '必選修校核心課程' end as SALARYGROUP,   case  a.EVALGROUP when '0' then '尚未指定' when '1' then '一般課程' when '2' then '體育課程' when '3' then '實驗課程' when '99' then '校際選課' end as EVALGROUP , a.FROMYEAR,a.subject_group,    (select case  when sum(LIMIT)>999 then 999 else sum(LIMIT) end as limit2 from VELM_DBASE..SEMESUBJECT    where year=115 and SEMESTER=2 and SUBJECT_GROUP=a.SUBJECT_GROUP   group by SUBJECT_GROUP ) as limit2,  CASE s + u + i  WHEN 'TTT' THEN 'SUI' WHEN 'TTF' THEN 'SU'  ELSE ''  END sui, STRING_AGG(c.CDIO_NAME, '/') AS CDIO_NAME,   (            SELECT bb.CDIOITEM + ':' + STRING_AGG(CDIO_SUBNAME, '/') AS CDIO_SUBNAME  FROM velm_dbase..SEMESUBCDIO AS aa                      INNER JOIN velm_dbase..SEMECDIOITEM AS bb ON aa.CDIOSYSNO = bb.SYSNO  WHERE RSUBJ_SERNO = a.RSUBJ_SERNO      GROUP BY bb.CDIOITEM      ) AS CDIO_SUBNAME  
 from VELM_DBASE..semesubject a left join VELM_DBASE..SEMECLASSROOM b on a.subject_group=b.subject_group LEFT OUTER JOIN VELM_DBASE.[dbo].[SEMECDIO] AS c ON a.RSUBJ_SERNO = c.RSUBJ_SERNO  where a.year=115 and a.SEMESTER=2
 and ((velm_dbase.dbo.SUBJECT_ROOM_List(a.subject_group) is null) or (b.room_id_no=-1))
  and a.SEME_ENG=1
 group by  a.RSUBJ_SERNO,   SUBJECT_ID,    S_NAME,     E_NAME,     DEPARTMENT,    a.SUBJECT_GROUP,  HOUR,     lab,     YEAR,     semester,   a.DEPYR_CODE,   a.CREDIT,    a.MUST,      a.WORK_PLACE,   a.SUBJ_MODE,   a.LIMIT,    a.BELONG,    a.BELONG_DEPYR_CODE,   a.NOTE,    a.SEME_ENG,    a.IsEval,   a.STATUS,    a.SALARYGROUP,   a.EVALGROUP,    a.FROMYEAR,   a.s,a.u,a.i
 order by A.subject_id

-- @case old_table_offering | columns: RSUBJ_SERNO,SUBJECT_ID,DEPARTMENT,MUST,teacherlist,timelist,roomlist,YEAR,SEMESTER,SUBJ_MODE,LIMIT,S_NAME,DEPYR_CODE,S_SCORE,E_NAME,BELONG,WORK_PLACE,NOTE,SUBMIT_ID,SAVE_ID,PRE_SUBJECT_ID,GC_CODE,teachernolist,SEME_ENG,SUBJECT_SYSNO,GC_FIELD,PRE_SUBJECT_CODE,IsEval | rows: 1
select RSUBJ_SERNO,SUBJECT_ID,DEPARTMENT, MUST,velm_dbase.dbo.SUBJECT_TEACHER_List(subject_group) as teacherlist,velm_dbase.dbo.SUBJECT_TIME_List(subject_group) as timelist,velm_dbase.dbo.SUBJECT_ROOM_List(subject_group) as roomlist,YEAR,SEMESTER,SUBJ_MODE,LIMIT,S_NAME,DEPYR_CODE, cast(CREDIT as varchar(4))+'/'+cast(HOUR as varchar(4))+':'+cast(LAB as varchar(4))as S_SCORE,E_NAME,BELONG,WORK_PLACE,NOTE,SUBMIT_ID,SAVE_ID,velm_dbase.dbo.SUBJECT_PRESUBJ_List(SUBJECT_SYSNO, subject_group) as PRE_SUBJECT_ID,velm_dbase.dbo.SUBJECT_GCFIELD_List(SUBJECT_SYSNO, subject_group) as GC_CODE,velm_dbase.dbo.SUBJECT_TCHERNO_List(subject_group) as teachernolist,SEME_ENG,SUBJECT_SYSNO,velm_dbase.dbo.SUBJECT_GCFIELD_List(SUBJECT_SYSNO, subject_group) as GC_FIELD,velm_dbase.dbo.SUBJECT_PRESUBJ_List(SUBJECT_SYSNO, subject_group) as PRE_SUBJECT_CODE,IsEval from VELM_DBASE..semesubject where RSUBJ_SERNO={SLOT_SERIAL}

-- Without a current check row the serial is empty and the statement fails.
-- @case old_table_offering_without_row | error
select RSUBJ_SERNO,SUBJECT_ID,DEPARTMENT, MUST,velm_dbase.dbo.SUBJECT_TEACHER_List(subject_group) as teacherlist,velm_dbase.dbo.SUBJECT_TIME_List(subject_group) as timelist,velm_dbase.dbo.SUBJECT_ROOM_List(subject_group) as roomlist,YEAR,SEMESTER,SUBJ_MODE,LIMIT,S_NAME,DEPYR_CODE, cast(CREDIT as varchar(4))+'/'+cast(HOUR as varchar(4))+':'+cast(LAB as varchar(4))as S_SCORE,E_NAME,BELONG,WORK_PLACE,NOTE,SUBMIT_ID,SAVE_ID,velm_dbase.dbo.SUBJECT_PRESUBJ_List(SUBJECT_SYSNO, subject_group) as PRE_SUBJECT_ID,velm_dbase.dbo.SUBJECT_GCFIELD_List(SUBJECT_SYSNO, subject_group) as GC_CODE,velm_dbase.dbo.SUBJECT_TCHERNO_List(subject_group) as teachernolist,SEME_ENG,SUBJECT_SYSNO,velm_dbase.dbo.SUBJECT_GCFIELD_List(SUBJECT_SYSNO, subject_group) as GC_FIELD,velm_dbase.dbo.SUBJECT_PRESUBJ_List(SUBJECT_SYSNO, subject_group) as PRE_SUBJECT_CODE,IsEval from VELM_DBASE..semesubject where RSUBJ_SERNO=

-- Generated for the old per-semester table; the window only shows it, the curriculum office runs it.
-- @case old_table_transfer | columns: -
insert into SEMESUBJ_115_2 (SUBJECT_ID,DEPARTMENT,MUST,TEACHER,CLASS_TIME,CLASS_ROOM,YEAR,SECTION,SUBJ_MODE,LIMIT,S_NAME,S_SCORE,E_NAME,BELONG,WORK_PLACE,NOTE,SUBMIT_ID,SAVE_ID,PRE_SUBJECT_ID,GC_CODE,EP_FIELD,TCHER_NO,SEME_ENG,subj_sys_no,GC_FIELD,PRE_SUBJECT_CODE,FILT_SUBJ_MODE,FILT_LIMIT,IsEval)values (	'CS__2011A','CS__','必','趙俊晴','四7,8,9','二教102',115,2,'1',100,'電子學概論','3/3:0','Survey of Electronics','CS__','學二','','','','','',NULL,'10007','否',100052,'','',NULL,NULL,1)

-- @value CANCELLED_DEP = select min(DEPARTMENT) from VELM_DBASE.SEMESUBJECT where YEAR=115 and SEMESTER=2 and status=1
-- @value CANCELLED_COUNT = select count(*) from VELM_DBASE.SEMESUBJECT where YEAR=115 and SEMESTER=2 and status=1 and DEPARTMENT='{CANCELLED_DEP}'

-- @case cancelled_department | columns: SUBJECT_ID,S_NAME,COLLAGE,DEP_NAME,teacher,aa,bb | rows: {CANCELLED_COUNT}
 SELECT           SUBJECT_ID          ,S_NAME          ,CASE D.DEP_LEVEL             WHEN '1' THEN C.DEP_NAME              ELSE D.DEP_NAME              END  AS COLLAGE          ,C.DEP_NAME  ,[VELM_DBASE].[dbo].[SUBJECT_TEACHER_List](A.SUBJECT_GROUP) as teacher  , (SELECT isnull(COUNT(RSUBJ_SERNO),0) FROM   VELM_DBASE..SUBJSELE_CURRENT where RSUBJ_SERNO=A.RSUBJ_SERNO   group by RSUBJ_SERNO) as aa, (SELECT isnull(COUNT(RSUBJ_SERNO),0) FROM   VELM_DBASE..SUBJSELE_HISTORY where RSUBJ_SERNO=A.RSUBJ_SERNO   group by RSUBJ_SERNO)  as bb  FROM VELM_DBASE..SEMESUBJECT AS A INNER JOIN       ACADEMIC..tbZT_DEPYEAR as B ON A.DEPYR_CODE=B.DEPYR_CODE INNER JOIN         ACADEMIC..tbZT_DEPYEAR AS C ON B.PARENT=C.DEPYR_ID INNER JOIN      ACADEMIC..tbZT_DEPYEAR AS D ON C.PARENT=D.DEPYR_ID  WHERE A.YEAR='115' AND A.SEMESTER='2' AND A.status='1'
 and   DEPARTMENT='{CANCELLED_DEP}'
   ORDER BY SUBJECT_ID 

-- @case cancelled_all | columns: SUBJECT_ID,S_NAME,COLLAGE,DEP_NAME,teacher,aa,bb | rows: >0
 SELECT           SUBJECT_ID          ,S_NAME          ,CASE D.DEP_LEVEL             WHEN '1' THEN C.DEP_NAME              ELSE D.DEP_NAME              END  AS COLLAGE          ,C.DEP_NAME  ,[VELM_DBASE].[dbo].[SUBJECT_TEACHER_List](A.SUBJECT_GROUP) as teacher  , (SELECT isnull(COUNT(RSUBJ_SERNO),0) FROM   VELM_DBASE..SUBJSELE_CURRENT where RSUBJ_SERNO=A.RSUBJ_SERNO   group by RSUBJ_SERNO) as aa, (SELECT isnull(COUNT(RSUBJ_SERNO),0) FROM   VELM_DBASE..SUBJSELE_HISTORY where RSUBJ_SERNO=A.RSUBJ_SERNO   group by RSUBJ_SERNO)  as bb  FROM VELM_DBASE..SEMESUBJECT AS A INNER JOIN       ACADEMIC..tbZT_DEPYEAR as B ON A.DEPYR_CODE=B.DEPYR_CODE INNER JOIN         ACADEMIC..tbZT_DEPYEAR AS C ON B.PARENT=C.DEPYR_ID INNER JOIN      ACADEMIC..tbZT_DEPYEAR AS D ON C.PARENT=D.DEPYR_ID  WHERE A.YEAR='115' AND A.SEMESTER='2' AND A.status='1'
   ORDER BY SUBJECT_ID 

-- @case combine_subject_list | columns: ?,RSUBJ_SERNO | rows: >0
select subject_id+':'+S_NAME, RSUBJ_SERNO from VELM_DBASE..semesubject where year=115 and SEMESTER=2 order by subject_id

-- @value FRESHMAN_SEMESTER = select min(SEMESTER) from VELM_DBASE.SEMESUBJECT where YEAR=115 and status=5
-- @value FRESHMAN_COUNT = select count(*) from VELM_DBASE.SEMESUBJECT where YEAR=115 and SEMESTER={FRESHMAN_SEMESTER} and status=5

-- @case freshman_courses | columns: SUBJECT_ID,S_NAME,department,status | rows: {FRESHMAN_COUNT}
 select   a.SUBJECT_ID,a.S_NAME,a.department, case [status] when '5' then '新生選課' end as [status]  
from VELM_DBASE..SEMESUBJECT as a      
 where year=115 and semester ={FRESHMAN_SEMESTER} and status=5
order by a.SUBJECT_ID 

-- @case sui_courses | columns: SUBJECT_ID,S_NAME,department,S,U,I | rows: >0
 select   a.SUBJECT_ID,a.S_NAME,a.department, S,U,I  
from VELM_DBASE..SEMESUBJECT as a      
 where year=115 and semester =2 and isnull(S,'')<>'' and isnull(U,'')<>''and isnull(I,'')<>''  and status>1  
order by a.SUBJECT_ID 

-- @case collision_slots | columns: room_id_no,weekday,classno | rows: >0
select room_id_no, weekday, classno from VELM_DBASE..semeclassroom where room_id_no != -1 and subject_group in  (select subject_group from VELM_DBASE..semesubject where year=115 and semester=2 and status!=1) group by room_id_no, weekday, classno having count(*)>1

-- @value CLASH_ROOM = select min(room_id_no) from (select room_id_no, weekday, classno from VELM_DBASE.SEMECLASSROOM where room_id_no<>-1 and SUBJECT_GROUP in (select SUBJECT_GROUP from VELM_DBASE.SEMESUBJECT where YEAR=115 and SEMESTER=2 and status<>1) group by room_id_no, weekday, classno having count(*)>1)
-- @value CLASH_WEEKDAY = select min(weekday) from (select room_id_no, weekday, classno from VELM_DBASE.SEMECLASSROOM where room_id_no={CLASH_ROOM} and SUBJECT_GROUP in (select SUBJECT_GROUP from VELM_DBASE.SEMESUBJECT where YEAR=115 and SEMESTER=2 and status<>1) group by room_id_no, weekday, classno having count(*)>1)
-- @value CLASH_PERIOD = select min(classno) from (select room_id_no, weekday, classno from VELM_DBASE.SEMECLASSROOM where room_id_no={CLASH_ROOM} and weekday={CLASH_WEEKDAY} and SUBJECT_GROUP in (select SUBJECT_GROUP from VELM_DBASE.SEMESUBJECT where YEAR=115 and SEMESTER=2 and status<>1) group by room_id_no, weekday, classno having count(*)>1)
-- @value CLASH_COUNT = select count(*) from VELM_DBASE.SEMESUBJECT a join VELM_DBASE.SEMECLASSROOM b on a.SUBJECT_GROUP=b.SUBJECT_GROUP where a.YEAR=115 and a.SEMESTER=2 and b.room_id_no={CLASH_ROOM} and b.weekday={CLASH_WEEKDAY} and b.classno={CLASH_PERIOD} and a.status<>1

-- @case collision_offerings | columns: rsubj_serno,subject_id,s_name,TEACHER_LIST,CLASSROOM,CLASSTIME,note,SEME_ENG | rows: {CLASH_COUNT}
select a.rsubj_serno, a.subject_id, a.s_name,velm_dbase.dbo.SUBJECT_TEACHER_List(b.SUBJECT_GROUP) as TEACHER_LIST,velm_dbase.dbo.SUBJECT_ROOM_List(b.SUBJECT_GROUP) as CLASSROOM,velm_dbase.dbo.SUBJECT_TIME_List(b.SUBJECT_GROUP) as CLASSTIME,a.note,case  a.SEME_ENG when 1 then '英文授課' when 2 then '中文授課' end as SEME_ENG   from VELM_DBASE..semesubject a join VELM_DBASE..semeclassroom b on  a.subject_group=b.subject_group where a.year=115 and a.semester=2 and b.room_id_no={CLASH_ROOM} and b.weekday={CLASH_WEEKDAY} and a.STATUS <>1 and b.classno={CLASH_PERIOD}

-- @case salary_groups | columns: salary_id,descrip | rows: >0
select salary_id, descrip from VELM_DBASE..SEMESALARYGROUP

-- @case eval_groups | columns: eval_id,descrip | rows: >0
select eval_id, descrip from VELM_DBASE..SEMEEVALGROUP

-- @value ITEM_COUNT = select count(*) from VELM_DBASE.SEMECDIOITEM
-- @value SUBITEM_ROWS = select count(*) from VELM_DBASE.SEMECDIOSUBITEM

-- @case featured_item_list | columns: sysno,cdioitem | rows: {ITEM_COUNT}
select sysno,cdioitem from velm_dbase..semecdioitem 

-- @case featured_subitem_list | columns: sysno,cdiosubitem | rows: {SUBITEM_ROWS}
select sysno,cdiosubitem from velm_dbase..semecdiosubitem 

-- @case featured_courses | columns: rsubj_serno,SUBJECT_ID,S_NAME,CREDIT,GG,tcher_name,subname,depname,SUBJECT_GROUP | rows: >0
 select  distinct a.rsubj_serno, a.SUBJECT_ID,a.S_NAME,a.CREDIT,  
[VELM_DBASE].[dbo].[SUBJECT_CDIO_List](a.RSUBJ_SERNO) as GG  
 ,velm_dbase.[dbo].[SUBJECT_TEACHER_List] (a.SUBJECT_GROUP) AS tcher_name 
  ,STRING_AGG(e.CDIOITEM+':'+d.cdio_subname,'/') as subname, 
 g.DEP_NAME+f.DEP_NAME+case f.D_TYPE when 'B' then '(學)' when 'M' then '(碩)' when 'P' then '(博)'  end as depname,  
	   a.SUBJECT_GROUP       
 from VELM_DBASE..SEMESUBJECT as a inner join     
(select distinct RSUBJ_SERNO from [VELM_DBASE].[dbo].[SEMECDIO]) as b on a.RSUBJ_SERNO =b.RSUBJ_SERNO   
  left outer join VELM_DBASE..SEMESUBCDIO as d on d.RSUBJ_SERNO=a.RSUBJ_SERNO 
 left outer join VELM_DBASE..SEMECDIOITEM as e on  e.SYSNO=d.CDIOSYSNO 
	 inner join ACADEMIC..tbZT_DEPYEAR as f on  a.DEPYR_CODE= f.DEPYR_CODE 
	 inner join ACADEMIC..tbZT_DEPYEAR as g on  g.DEPYR_ID= f.PARENT    
where a.year=115 and a.semester =2  
 GROUP BY a.SUBJECT_GROUP,    
         a.rsubj_serno,  
         a.SUBJECT_ID, 
         a.S_NAME,a.CREDIT,   
		 g.DEP_NAME,  
		 f.DEP_NAME, 
		 f.D_TYPE,   
		 a.SUBJECT_GROUP 
order by a.SUBJECT_ID 
