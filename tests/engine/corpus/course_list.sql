-- A department's course list, the editor's department-year lists and what opening and saving an
-- offering read.

-- The working semester is the demo design semester 115-2, the department CS__ (computer science).
-- @value COURSES_ALL = select count(*) from VELM_DBASE.SEMESUBJECT where DEPARTMENT='CS__' and YEAR=115 and SEMESTER=2
-- @value COURSES_OPEN = select count(*) from VELM_DBASE.SEMESUBJECT where DEPARTMENT='CS__' and YEAR=115 and SEMESTER=2 and status<>1
-- @value CLASS_TYPES = select count(*) from ACADEMIC.tbZT_DEPYEAR a join ACADEMIC.tbZT_DEPYEAR b on a.depyr_id=b.parent where a.year=115 and a.dep_code='CS__' and b.d_type in ('B','M','P')
-- @value FEATURED_SERIAL = select RSUBJ_SERNO from VELM_DBASE.SEMECDIO join VELM_DBASE.SEMESUBJECT using (RSUBJ_SERNO) where YEAR=115 and SEMESTER=2 group by RSUBJ_SERNO order by count(*) desc, RSUBJ_SERNO limit 1
-- @value FEATURED_COUNT = select count(*) from VELM_DBASE.SEMECDIO where RSUBJ_SERNO={FEATURED_SERIAL}
-- @value SUBITEM_SERIAL = select RSUBJ_SERNO from VELM_DBASE.SEMESUBCDIO join VELM_DBASE.SEMESUBJECT using (RSUBJ_SERNO) where YEAR=115 and SEMESTER=2 group by RSUBJ_SERNO order by count(*) desc, RSUBJ_SERNO limit 1
-- @value SUBITEM_COUNT = select count(*) from VELM_DBASE.SEMESUBCDIO where RSUBJ_SERNO={SUBITEM_SERIAL}
-- @value SUI_SERIAL = select RSUBJ_SERNO from VELM_DBASE.SEMESUBJECT where S='T' and U='T' and I='T' order by RSUBJ_SERNO limit 1
-- @value SUI_CODE = select min(subject_id) from VELM_DBASE.seme_sui_basic where S='T' and U='T' and I='T'
-- @value OLD_RULE_YEAR = select min(fromyear) from VELM_DBASE.SEMESUBJECT where SUBJECT_SYSNO=-1 and fromyear<102
-- @value OLD_RULE_CODE8 = select substr(min(SUBJ_CODE),1,8) from VELM_DBASE.SUBJ_DESG_{OLD_RULE_YEAR} where LINETYPE like 'SUBJ%' and SYEAR={OLD_RULE_YEAR}
-- @value RULE_SYSNO = select min(subject_sysno) from VELM_DBASE.rule_subject
-- @value COMBINED_GROUP = select SUBJECT_GROUP from VELM_DBASE.SEMESUBJECT where YEAR=115 and SEMESTER=2 group by SUBJECT_GROUP having count(*)>1 order by count(*) desc, SUBJECT_GROUP limit 1
-- @value COMBINED_SIZE = select count(*) from VELM_DBASE.SEMESUBJECT where SUBJECT_GROUP={COMBINED_GROUP}
-- @value CS_CODE8 = select substr(min(SUBJECT_ID),1,8) from VELM_DBASE.SEMESUBJECT where DEPARTMENT='CS__' and YEAR=115 and SEMESTER=2
-- @value STUDY_GROUP = select depyr_code from ACADEMIC.tbZT_DEPYEAR where d_type='G' and year=115 order by depyr_code limit 1

-- @case combo_salary_groups | columns: descrip,salary_id | rows: >0
select descrip, salary_id from VELM_DBASE..SEMESALARYGROUP order by salary_id

-- @case combo_eval_groups | columns: descrip,eval_id | rows: >0
select descrip, eval_id from VELM_DBASE..SEMEEVALGROUP order by eval_id

-- @case department_lookup | columns: NAME,CLASS_ID,COLLEGE,short_name | rows: 1
SELECT NAME,CLASS_ID,COLLEGE,short_name FROM VELM_DBASE..SUB_CLASS WHERE CLASS_ID='CS__'

-- @case teacher_education_units | columns: dep_code | rows: >0
select b.dep_code from ACADEMIC..tbZT_DEPYEAR a join  ACADEMIC..tbZT_DEPYEAR b on (a.depyr_id=b.parent) where a.dep_code='TC__' and a.year=115

-- The year goes out as typed, blanks included.
-- @case teacher_education_units_year_with_blanks | columns: dep_code | rows: >0
select b.dep_code from ACADEMIC..tbZT_DEPYEAR a join  ACADEMIC..tbZT_DEPYEAR b on (a.depyr_id=b.parent) where a.dep_code='TC__' and a.year= 115 

-- @case general_spheres | columns: sphere_id,sphere_sname,... | rows: >0
select * from velm_dbase..rule_general_sphere where sphere_flag='T'

-- @case course_list_office | columns: RSUBJ_SERNO,SUBJECT_GROUP,DEPYR_CODE,SUBJECT_ID,MUST,DEPARTMENT,YEAR,SEMESTER,SUBJ_MODE,LIMIT,S_NAME,CREDIT,HOUR,LAB,E_NAME,BELONG,BELONG_DEPYR_CODE,WORK_PLACE,NOTE,EP_FIELD,SEME_ENG,program_id,SUBJECT_SYSNO,PRE_DEPYRCODE,IsEval,status,IsExpand,FromYear,FromDEP,salarygroup,evalgroup,CRS_DEPYR_CODE,Term_id,TERM,SUBJECT_ID_SEC,rule_rel,SUBJ_KIND | rows: {COURSES_ALL}
SELECT RSUBJ_SERNO,SUBJECT_GROUP, DEPYR_CODE, SUBJECT_ID,MUST,DEPARTMENT,YEAR,SEMESTER,SUBJ_MODE,LIMIT,S_NAME,CREDIT,HOUR,LAB,E_NAME,BELONG,BELONG_DEPYR_CODE,WORK_PLACE,NOTE,EP_FIELD,SEME_ENG,isnull(program_id,-1) as program_id, isnull(SUBJECT_SYSNO,-1) as SUBJECT_SYSNO,PRE_DEPYRCODE,IsEval,status, IsExpand, isnull(FromYear,0) as FromYear, isnull(FromDEP,'') as FromDEP, isnull(salarygroup, 0) as salarygroup, isnull(evalgroup, 0) as evalgroup,CRS_DEPYR_CODE,Term_id,TERM,SUBJECT_ID_SEC,rule_rel,SUBJ_KIND  FROM VELM_DBASE..SEMESUBJECT
where DEPARTMENT='CS__'
 and YEAR=115 and SEMESTER=2
ORDER BY SUBSTRING(WORK_PLACE,1,1) DESC,SUBSTRING(WORK_PLACE,2,100),subject_id

-- Other users never see cancelled offerings (status 1).
-- @case course_list_department | columns: RSUBJ_SERNO,SUBJECT_GROUP,DEPYR_CODE,SUBJECT_ID,MUST,DEPARTMENT,YEAR,SEMESTER,SUBJ_MODE,LIMIT,S_NAME,CREDIT,HOUR,LAB,E_NAME,BELONG,BELONG_DEPYR_CODE,WORK_PLACE,NOTE,EP_FIELD,SEME_ENG,program_id,SUBJECT_SYSNO,PRE_DEPYRCODE,IsEval,status,IsExpand,FromYear,FromDEP,salarygroup,evalgroup,CRS_DEPYR_CODE,Term_id,TERM,SUBJECT_ID_SEC,rule_rel,SUBJ_KIND | rows: {COURSES_OPEN}
SELECT RSUBJ_SERNO,SUBJECT_GROUP, DEPYR_CODE, SUBJECT_ID,MUST,DEPARTMENT,YEAR,SEMESTER,SUBJ_MODE,LIMIT,S_NAME,CREDIT,HOUR,LAB,E_NAME,BELONG,BELONG_DEPYR_CODE,WORK_PLACE,NOTE,EP_FIELD,SEME_ENG,isnull(program_id,-1) as program_id, isnull(SUBJECT_SYSNO,-1) as SUBJECT_SYSNO,PRE_DEPYRCODE,IsEval,status, IsExpand, isnull(FromYear,0) as FromYear, isnull(FromDEP,'') as FromDEP, isnull(salarygroup, 0) as salarygroup, isnull(evalgroup, 0) as evalgroup,CRS_DEPYR_CODE,Term_id,TERM,SUBJECT_ID_SEC,rule_rel,SUBJ_KIND  FROM VELM_DBASE..SEMESUBJECT
where DEPARTMENT='CS__'
 and YEAR=115 and SEMESTER=2
and status<>1
ORDER BY SUBSTRING(WORK_PLACE,1,1) DESC,SUBSTRING(WORK_PLACE,2,100),subject_id

-- @case course_list_empty_semester | columns: RSUBJ_SERNO,SUBJECT_GROUP,DEPYR_CODE,SUBJECT_ID,MUST,DEPARTMENT,YEAR,SEMESTER,SUBJ_MODE,LIMIT,S_NAME,CREDIT,HOUR,LAB,E_NAME,BELONG,BELONG_DEPYR_CODE,WORK_PLACE,NOTE,EP_FIELD,SEME_ENG,program_id,SUBJECT_SYSNO,PRE_DEPYRCODE,IsEval,status,IsExpand,FromYear,FromDEP,salarygroup,evalgroup,CRS_DEPYR_CODE,Term_id,TERM,SUBJECT_ID_SEC,rule_rel,SUBJ_KIND | rows: 0
SELECT RSUBJ_SERNO,SUBJECT_GROUP, DEPYR_CODE, SUBJECT_ID,MUST,DEPARTMENT,YEAR,SEMESTER,SUBJ_MODE,LIMIT,S_NAME,CREDIT,HOUR,LAB,E_NAME,BELONG,BELONG_DEPYR_CODE,WORK_PLACE,NOTE,EP_FIELD,SEME_ENG,isnull(program_id,-1) as program_id, isnull(SUBJECT_SYSNO,-1) as SUBJECT_SYSNO,PRE_DEPYRCODE,IsEval,status, IsExpand, isnull(FromYear,0) as FromYear, isnull(FromDEP,'') as FromDEP, isnull(salarygroup, 0) as salarygroup, isnull(evalgroup, 0) as evalgroup,CRS_DEPYR_CODE,Term_id,TERM,SUBJECT_ID_SEC,rule_rel,SUBJ_KIND  FROM VELM_DBASE..SEMESUBJECT
where DEPARTMENT='CS__'
 and YEAR=110 and SEMESTER=2
and status<>1
ORDER BY SUBSTRING(WORK_PLACE,1,1) DESC,SUBSTRING(WORK_PLACE,2,100),subject_id

-- @case belong_list | columns: year,dep_name,location,dep_code,s1_class,dep_name1,dep_name2,depyr_code1,depyr_code2,d_type1,d_type2,s1_class1,s1_class2 | rows: >0
select a.year,case a.dep_name when '博士班' then c.name else a.dep_name end dep_name, a.location, b.dep_code ,b.s1_class,   case b.DEP_ABBREV     when '' then  b.dep_name      when '學士班' then  b.dep_name       when '碩士班' then  b.dep_name        when '博士班' then  b.dep_name       when '碩專班' then  b.dep_name     else case b.DEP_ABBREV when '學士班統計組' then '學士班統計科學組' when '臺灣系碩士班臺灣組(教學)' then '臺灣區域研究組' when '臺灣系碩士班亞太組(教學,全英)' then b.dep_name else b.DEP_ABBREV end  end as dep_name1 ,null as dep_name2, b.depyr_code as depyr_code1, null as depyr_code2 ,b.d_type as d_type1, null as d_type2, b.s1_class as s1_class1, null as s1_class2 from ACADEMIC..tbZT_DEPYEAR a join ACADEMIC..tbZT_DEPYEAR b on (a.depyr_id=b.parent)  INNER JOIN VELM_DBASE..SUB_CLASS AS C ON C.CLASS_ID=B.DEP_CODE where a.year=115 and b.d_type in ('B','M','P','G') order by a.dep_name

-- @case class_type_list_teacher_education | columns: year,location,dep_code,s1_class,depyr_code,dep_name,d_type | rows: >0
select a.year, a.location, a.dep_code, a.s1_class ,a.depyr_code, case a.DEP_ABBREV when '' then a.dep_name else a.DEP_ABBREV end as dep_name, a.d_type from ACADEMIC..tbZT_DEPYEAR a where a.year=115 and a.dep_code='TH__'

-- @case class_type_list | columns: year,location,dep_code,s1_class,dep_name1,dep_name2,depyr_code1,depyr_code2,d_type1,d_type2,s1_class1,s1_class2 | rows: {CLASS_TYPES}
select a.year, a.location, b.dep_code, b.s1_class      ,case b.DEP_ABBREV        when '' then b.dep_name else replace(replace(replace(b.DEP_ABBREV,'碩士班一般組','一般組'),'博士班一般組','一般組'),'博士班國際組','國際組')      end     +case b.D_TYPE when 'B' then '(學)'when 'M' then '(碩)'when 'P' then '(博)'end as dep_name1    ,null as dep_name2, b.depyr_code as depyr_code1, null as depyr_code2 ,b.d_type as d_type1, null as d_type2, b.s1_class as s1_class1, null as s1_class2 from ACADEMIC..tbZT_DEPYEAR a join ACADEMIC..tbZT_DEPYEAR b on (a.depyr_id=b.parent) where a.year=115 and a.dep_code='CS__' and b.d_type in ('B','M','P')

-- @case syllabus_unit_list | columns: year,dep_name,location,dep_code,s1_class,dep_name1,dep_name2,depyr_code1,depyr_code2,d_type1,d_type2,s1_class1,s1_class2 | rows: >0
select a.year,case a.dep_name when '博士班' then c.name else a.dep_name end dep_name, a.location, b.dep_code ,b.s1_class, case b.DEP_ABBREV when '' then b.dep_name else case b.DEP_ABBREV when '學士班統計組' then '學士班統計科學組' when '臺灣系碩士班臺灣組(教學)' then '臺灣區域研究組'  when '臺灣系碩士班亞太組(教學,全英)' then b.dep_name else b.DEP_ABBREV end  end as dep_name1 ,null as dep_name2, b.depyr_code as depyr_code1, null as depyr_code2 ,b.d_type as d_type1, null as d_type2, b.s1_class as s1_class1, null as s1_class2 from ACADEMIC..tbZT_DEPYEAR a join ACADEMIC..tbZT_DEPYEAR b on (a.depyr_id=b.parent)  INNER JOIN VELM_DBASE..SUB_CLASS AS C ON C.CLASS_ID=B.DEP_CODE where a.year=115 and b.d_type in ('B','M','P','G') order by a.dep_name

-- @case term_list_second_semester | columns: RSUBJ_SERNO,S_NAME | rows: >0
    SELECT RSUBJ_SERNO,LTRIM(CONVERT(VARCHAR(3),YEAR))+S_NAME+MUST+'學分數'+convert(varchar(3),CREDIT) AS S_NAME FROM VELM_DBASE..SEMESUBJECT WHERE SUBJECT_ID+CONVERT(VARCHAR(3),YEAR) in (     SELECT          SUBJECT_ID+LTRIM(CONVERT(VARCHAR(3),MAX(YEAR)))   FROM                     VELM_DBASE..SEMESUBJECT where             DEPARTMENT in                          (SELECT DISTINCT                                   substring([depyr_codeb],1,4)                                FROM      [ACADEMIC].[dbo].[tbZT_depyr_year_trace]                            where SUBSTRING(depyr_codea,1,4) in ('CS__'))      AND            Term_id='1'  AND status<>'1'and YEAR BETWEEN '112'AND'115'
 group by   SUBJECT_ID) ORDER BY YEAR DESC,S_NAME

-- In the first semester the offerings of the year itself are left out.
-- @case term_list_first_semester | columns: RSUBJ_SERNO,S_NAME | rows: >0
    SELECT RSUBJ_SERNO,LTRIM(CONVERT(VARCHAR(3),YEAR))+S_NAME+MUST+'學分數'+convert(varchar(3),CREDIT) AS S_NAME FROM VELM_DBASE..SEMESUBJECT WHERE SUBJECT_ID+CONVERT(VARCHAR(3),YEAR) in (     SELECT          SUBJECT_ID+LTRIM(CONVERT(VARCHAR(3),MAX(YEAR)))   FROM                     VELM_DBASE..SEMESUBJECT where             DEPARTMENT in                          (SELECT DISTINCT                                   substring([depyr_codeb],1,4)                                FROM      [ACADEMIC].[dbo].[tbZT_depyr_year_trace]                            where SUBSTRING(depyr_codea,1,4) in ('CS__'))      AND            Term_id='1'  AND status<>'1'and YEAR BETWEEN '112'AND'115'
 and YEAR <>'115'
 group by   SUBJECT_ID) ORDER BY YEAR DESC,S_NAME

-- @case editor_featured_items | columns: RSUBJ_SERNO,CDIO_NAME,CR_DATE | rows: {FEATURED_COUNT}
select RSUBJ_SERNO,CDIO_NAME,CR_DATE from VELM_DBASE..SEMECDIO where RSUBJ_SERNO='{FEATURED_SERIAL}'

-- @case editor_featured_subitems | columns: RSUBJ_SERNO,CDIO_subNAME,CR_DATE | rows: {SUBITEM_COUNT}
select RSUBJ_SERNO,CDIO_subNAME,CR_DATE from VELM_DBASE..SEMEsubCDIO where RSUBJ_SERNO='{SUBITEM_SERIAL}'

-- @case editor_sui_marks | columns: S,U,I | rows: 1
select S,U,I from VELM_DBASE..SEMESUBJECT where RSUBJ_SERNO='{SUI_SERIAL}'

-- @case editor_syllabus_year | columns: YEAR | rows: 1
select [YEAR] from ACADEMIC..tbZT_DEPYEAR where DEPYR_CODE='CS__115B1'

-- @case editor_old_rule_class | columns: DEP_CLASS | rows: >0
SELECT DEP_CLASS FROM VELM_DBASE..SUBJ_DESG_{OLD_RULE_YEAR}
WHERE (SUBSTRING(SUBJ_CODE,1,8)='{OLD_RULE_CODE8}')
AND (SYEAR={OLD_RULE_YEAR})
AND (LINETYPE LIKE 'SUBJ%')

-- @case editor_rule_subject_count | columns: ? | rows: 1
select count(*) from VELM_DBASE..rule_subject where subject_sysno={RULE_SYSNO}

-- @case save_combined_class_members | columns: SUBJECT_GROUP,subject_id | rows: {COMBINED_SIZE}
select  SUBJECT_GROUP,subject_id from VELM_DBASE..SEMESUBJECT    where SUBJECT_GROUP={COMBINED_GROUP}

-- @case save_code_reuse | columns: YEAR,semester,s_name | rows: >0
SELECT YEAR,semester,s_name FROM VELM_DBASE..SEMESUBJECT WHERE substring(SUBJECT_ID,1,8)='{CS_CODE8}'

-- A study group (kind G) takes the kind of its parent class.
-- @case save_served_class_kind | columns: D_type | rows: 1
 SELECT  distinct ( select case  A.D_TYPE  when 'G' then B.D_TYPE  else  A.D_TYPE   end D_TYPE from  ACADEMIC..tbZT_DEPYEAR as A inner join  ACADEMIC..tbZT_DEPYEAR as B on A.PARENT=B.DEPYR_ID  WHERE A.DEPYR_CODE='{STUDY_GROUP}') as D_type FROM VELM_DBASE..SEMESUBJECT
