-- The look-up windows: rooms, teachers, curriculum rules, department-year trees and featured items.

-- @value ROOM_LOCATION = select location from GADEP.RMR_Room_master where room_id_no={SLOT_ROOM}
-- @value ROOM_BUILDING = select bld_name from GADEP.RMR_Room_master where room_id_no={SLOT_ROOM}
-- @value BUILDINGS_OF_LOCATION = select count(distinct bld_name) from GADEP.RMR_Room_master where location={ROOM_LOCATION}
-- @value BUILDINGS_1 = select count(distinct bld_name) from GADEP.RMR_Room_master where location=1
-- @value BUILDINGS_2 = select count(distinct bld_name) from GADEP.RMR_Room_master where location=2
-- @value ROOMS_OF_BUILDING = select count(*) from GADEP.RMR_Room_master where bld_name='{ROOM_BUILDING}' and location={ROOM_LOCATION}
-- @value COLLEGES = select count(*) from VELM_DBASE.SUB_CLASS where DEP_LEVEL=10
-- @value CS_COLLEGE_SER = select parent from VELM_DBASE.SUB_CLASS where CLASS_ID='CS__'
-- @value COLLEGE_DEPARTMENTS = select count(*) from VELM_DBASE.SUB_CLASS where DEP_LEVEL in (20,21,22,32) and parent={CS_COLLEGE_SER}
-- @value TREE_NODES = select count(*) from ACADEMIC.tbZT_DEPYEAR where year=115
-- @value SUBITEMS_9 = select count(*) from VELM_DBASE.SEMECDIOSUBITEM where cdiosysno=9

-- @case room_of_list | columns: bld_name,location | rows: 1
select bld_name, location from GADEP..RMR_Room_master where room_id_no={SLOT_ROOM}

-- @case buildings_of_location | columns: bld_name,? | rows: {BUILDINGS_OF_LOCATION}
select distinct bld_name, 1 from GADEP..RMR_Room_master where location={ROOM_LOCATION}

-- @case buildings_first_campus | columns: bld_name,? | rows: {BUILDINGS_1}
select distinct bld_name, 1 from GADEP..RMR_Room_master where location= 1

-- @case buildings_second_campus | columns: bld_name,? | rows: {BUILDINGS_2}
select distinct bld_name, 1 from GADEP..RMR_Room_master where location= 2

-- @case buildings_other | columns: bld_name,? | rows: 1
select distinct bld_name, 1 from GADEP..RMR_Room_master where bld_name='其他'

-- The location goes out quoted although the column holds integers.
-- @case rooms_of_building | columns: room_name,room_id_no | rows: {ROOMS_OF_BUILDING}
select room_name,room_id_no from GADEP..RMR_Room_master where bld_name='{ROOM_BUILDING}' and location='{ROOM_LOCATION}' order by room_name

-- @case teacher_colleges | columns: NAME,DEP_SER | rows: {COLLEGES}
SELECT NAME,DEP_SER FROM velm_dbase..SUB_CLASS where DEP_LEVEL=10 order by college

-- @case teacher_college_of_department | columns: college,department | rows: 1
select a.NAME as college, b.NAME as department from VELM_DBASE..SUB_CLASS a join VELM_DBASE..SUB_CLASS b on a.DEP_SER=b.parent where b.CLASS_ID='CS__'

-- @case teacher_departments_of_college | columns: NAME,CLASS_ID | rows: {COLLEGE_DEPARTMENTS}
SELECT NAME, CLASS_ID from velm_dbase..SUB_CLASS where DEP_LEVEL in (20,21,22,32) and parent = {CS_COLLEGE_SER} order by name

-- @case teachers_of_department | columns: tcher_no,tcher_cname,tcher_ename,NAME,tcher_ename | rows: >0
 select t.tcher_no,t.tcher_cname,T.tcher_ename,S.NAME,t.tcher_ename   from   VELM_DBASE..dn_tcher_mnger AS T inner join     VELM_DBASE..SUB_CLASS AS S  ON  T.tcher_dep_id=S.CLASS_ID inner join  VELMCC_DB..user_data as c on T.tcher_no=c.ident      where  c.p_status='1' and T.tcher_dep_id='CS__' order by T.tcher_cname  

-- @case teachers_all_departments | columns: tcher_no,tcher_cname,NAME,tcher_ename | rows: >0
  select t.tcher_no,t.tcher_cname,S.NAME,t.tcher_ename  from   VELM_DBASE..dn_tcher_mnger AS T inner join    VELM_DBASE..SUB_CLASS AS S  ON  T.tcher_dep_id=S.CLASS_ID inner join  VELMCC_DB..user_data as c on T.tcher_no=c.ident   where  c.p_status='1' order by T.tcher_cname    

-- @case teacher_family_names | columns: ? | rows: >0
select distinct substring(tcher_cname,1,1) from VELM_DBASE..dn_tcher_mnger where tcher_dep_id='CS__'  order by substring(tcher_cname,1,1) 

-- @case teacher_family_names_all | columns: ? | rows: 0
select distinct substring(tcher_cname,1,1) from VELM_DBASE..dn_tcher_mnger where tcher_dep_id=''  order by substring(tcher_cname,1,1) 

-- @case teacher_search | columns: tcher_no,tcher_cname,tcher_ename,NAME | rows: >0
select T.tcher_no, T.tcher_cname, T.tcher_ename, S.NAME from VELM_DBASE..dn_tcher_mnger  AS T inner join      VELM_DBASE..SUB_CLASS AS S ON T.tcher_dep_id=S.CLASS_ID inner join        VELMCC_DB..user_data as c on T.tcher_no=c.ident    where T.tcher_cname like '胡%' and c.p_status='1' order by T.tcher_cname

-- @case teacher_search_empty_name | columns: tcher_no,tcher_cname,tcher_ename,NAME | rows: >0
select T.tcher_no, T.tcher_cname, T.tcher_ename, S.NAME from VELM_DBASE..dn_tcher_mnger  AS T inner join      VELM_DBASE..SUB_CLASS AS S ON T.tcher_dep_id=S.CLASS_ID inner join        VELMCC_DB..user_data as c on T.tcher_no=c.ident    where T.tcher_cname like '%' and c.p_status='1' order by T.tcher_cname

-- @case rule_tree | columns: depyr_id1,s1_class,dep_name1,dep_name1,dep_abbrev,d_type,dep_level,dorder,parent,d_order,depyr_code,dep_code,location,s1_class,year | rows: {TREE_NODES}
select  d1.depyr_id as depyr_id1, d1.s1_class  , d1.dep_name+CASE isnull(d1.D_TYPE,'')WHEN 'B'THEN '(學)'WHEN 'M'THEN '(碩)'WHEN 'P'THEN '(博)'else ''END AS dep_name1 ,case when d1.dep_name= '國際組' then  dep_abbrev+d1.DEP_NAME when d1.DEP_NAME='資工組' then  dep_abbrev+d1.DEP_NAME+ case d1.D_TYPE when 'B' then '(學)'when 'M' then '(碩)'when 'P' then '(博)' end else d1.dep_name    end dep_name1,case when d1.DEP_NAME='資工組' then  d1.DEP_ABBREV  +case d1.D_TYPE when 'B'then '(學)'when 'M' then '(碩)'when 'P' then '(博)'end else case d1.DEP_NAME when '' then d1.DEP_ABBREV  when '臺灣區域研究組' then  d1.DEP_NAME when '亞太區域研究組(全英授課)' then  d1.DEP_NAME  else  case when d1.DEP_ABBREV ='' then case d1.D_TYPE+d1.DEP_NAME    when 'B一般組' then '學士班一般組'   when 'M一般組' then '碩士班一般組'   when 'P一般組' then '博士班一般組'   when 'M國際組' then '碩士班國際組'    else  d1.DEP_NAME     end  else d1.DEP_ABBREV end end end as dep_abbrev  ,d1.d_type, d1.dep_level ,d1.dorder,d1.parent,d.d_order,d1.depyr_code,d1.dep_code,d1.location ,d1.s1_class,d1.year from academic..tbZT_DEPYEAR d1 left outer join  academic..tbZT_DEPYEAR_DTYPE d on d1.d_type=d.d_type where d1.year=115 order by d1.dep_level,parent,d.d_order,d1.dorder

-- @case rule_tree_granted_units | columns: depyr_id1,s1_class,dep_name1,dep_name1,dep_abbrev,d_type,dep_level,dorder,parent,d_order,depyr_code,dep_code,location,s1_class,year | rows: >0
select  d1.depyr_id as depyr_id1, d1.s1_class  , d1.dep_name+CASE isnull(d1.D_TYPE,'')WHEN 'B'THEN '(學)'WHEN 'M'THEN '(碩)'WHEN 'P'THEN '(博)'else ''END AS dep_name1 ,case when d1.dep_name= '國際組' then  dep_abbrev+d1.DEP_NAME when d1.DEP_NAME='資工組' then  dep_abbrev+d1.DEP_NAME+ case d1.D_TYPE when 'B' then '(學)'when 'M' then '(碩)'when 'P' then '(博)' end else d1.dep_name    end dep_name1,case when d1.DEP_NAME='資工組' then  d1.DEP_ABBREV  +case d1.D_TYPE when 'B'then '(學)'when 'M' then '(碩)'when 'P' then '(博)'end else case d1.DEP_NAME when '' then d1.DEP_ABBREV  when '臺灣區域研究組' then  d1.DEP_NAME when '亞太區域研究組(全英授課)' then  d1.DEP_NAME  else  case when d1.DEP_ABBREV ='' then case d1.D_TYPE+d1.DEP_NAME    when 'B一般組' then '學士班一般組'   when 'M一般組' then '碩士班一般組'   when 'P一般組' then '博士班一般組'   when 'M國際組' then '碩士班國際組'    else  d1.DEP_NAME     end  else d1.DEP_ABBREV end end end as dep_abbrev  ,d1.d_type, d1.dep_level ,d1.dorder,d1.parent,d.d_order,d1.depyr_code,d1.dep_code,d1.location ,d1.s1_class,d1.year from academic..tbZT_DEPYEAR d1 left outer join  academic..tbZT_DEPYEAR_DTYPE d on d1.d_type=d.d_type where d1.year=115 and dep_code in ('CS__','CM__','GC__','TH__') order by d1.dep_level,parent,d.d_order,d1.dorder

-- @case rule_tree_one_unit | columns: depyr_id1,s1_class,dep_name1,dep_name1,dep_abbrev,d_type,dep_level,dorder,parent,d_order,depyr_code,dep_code,location,s1_class,year | rows: >0
select  d1.depyr_id as depyr_id1, d1.s1_class  , d1.dep_name+CASE isnull(d1.D_TYPE,'')WHEN 'B'THEN '(學)'WHEN 'M'THEN '(碩)'WHEN 'P'THEN '(博)'else ''END AS dep_name1 ,case when d1.dep_name= '國際組' then  dep_abbrev+d1.DEP_NAME when d1.DEP_NAME='資工組' then  dep_abbrev+d1.DEP_NAME+ case d1.D_TYPE when 'B' then '(學)'when 'M' then '(碩)'when 'P' then '(博)' end else d1.dep_name    end dep_name1,case when d1.DEP_NAME='資工組' then  d1.DEP_ABBREV  +case d1.D_TYPE when 'B'then '(學)'when 'M' then '(碩)'when 'P' then '(博)'end else case d1.DEP_NAME when '' then d1.DEP_ABBREV  when '臺灣區域研究組' then  d1.DEP_NAME when '亞太區域研究組(全英授課)' then  d1.DEP_NAME  else  case when d1.DEP_ABBREV ='' then case d1.D_TYPE+d1.DEP_NAME    when 'B一般組' then '學士班一般組'   when 'M一般組' then '碩士班一般組'   when 'P一般組' then '博士班一般組'   when 'M國際組' then '碩士班國際組'    else  d1.DEP_NAME     end  else d1.DEP_ABBREV end end end as dep_abbrev  ,d1.d_type, d1.dep_level ,d1.dorder,d1.parent,d.d_order,d1.depyr_code,d1.dep_code,d1.location ,d1.s1_class,d1.year from academic..tbZT_DEPYEAR d1 left outer join  academic..tbZT_DEPYEAR_DTYPE d on d1.d_type=d.d_type where d1.year=115 and dep_code='TH__' order by d1.dep_level,parent,d.d_order,d1.dorder

-- @case rule_old_rules | columns: LINETYPE,SUBJ_CODE,CONTENT,ENG_NAME,DEP_CLASS,DEPYR_CODE,GC_TYPE,EP_TYPE | rows: >0
SELECT LINETYPE, SUBJ_CODE, CONTENT,ENG_NAME, DEP_CLASS, DEPYR_CODE, GC_TYPE, EP_TYPE FROM VELM_DBASE..SUBJ_DESG_115
WHERE (SYEAR=115)
AND (depyr_code='LB__115B1')
AND (LINETYPE LIKE 'SUBJ%')
ORDER BY DEP_CLASS DESC,CONTENT

-- @case rule_general_education | columns: subject_id,subject_name,subject_engname,subject_credit,across_sphere_id,subject_must_sele,subject_sysno,ident | rows: >0
select c.subject_id, c.subject_name, c.subject_engname, c.subject_credit, c.across_sphere_id, b.subject_must_sele, b.subject_sysno,b.ident from VELM_DBASE..rule_program_basic a, VELM_DBASE..rule_program_relation b, VELM_DBASE..rule_subject c where a.rule_year=115 and a.depyr_code='GC__115B1' and a.program_id=b.program_id and b.subject_sysno = c.subject_sysno group by c.subject_id, c.subject_name, c.subject_engname, c.subject_credit, c.across_sphere_id, b.subject_must_sele, b.subject_sysno,b.ident order by c.subject_id

-- @case rule_teacher_training | columns: subject_id,subject_name,subject_engname,subject_credit,subject_must_sele,subject_sysno,subject_eptype,ident
select c.subject_id, c.subject_name, c.subject_engname, c.subject_credit, b.subject_must_sele, b.subject_sysno, c.subject_eptype,b.ident from VELM_DBASE..rule_program_basic a, VELM_DBASE..rule_program_relation b, VELM_DBASE..rule_subject c where a.rule_year=115 and a.depyr_code='TH__115B1' and a.program_id=b.program_id and b.subject_sysno = c.subject_sysno group by c.subject_id, c.subject_name, c.subject_engname, c.subject_credit, b.subject_must_sele, b.subject_sysno, c.subject_eptype,b.ident order by c.subject_id

-- @case rule_program | columns: subject_id,subject_name,subject_engname,subject_credit,subject_level,across_sphere_id,subject_must_sele,subject_sysno,ident,subject_eptype | rows: >0
select c.subject_id, c.subject_name, c.subject_engname, c.subject_credit, b.subject_level, c.across_sphere_id, b.subject_must_sele, b.subject_sysno,b.ident,c.subject_eptype from VELM_DBASE..rule_program_basic a join VELM_DBASE..rule_program_relation b on a.depyr_code=b.depyr_code join VELM_DBASE..rule_subject c on b.subject_sysno=c.subject_sysno where a.rule_year=115 and a.depyr_code='CS__115B1' and a.program_id=b.program_id and b.subject_sysno = c.subject_sysno group by c.subject_id, c.subject_name, c.subject_engname, c.subject_credit, b.subject_level, c.across_sphere_id, b.subject_must_sele, b.subject_sysno,b.ident,c.subject_eptype order by subject_id

-- @case rule_group_parent_kind | columns: D_TYPE | rows: 1
  select b.D_TYPE   from ACADEMIC..tbZT_DEPYEAR as a inner join ACADEMIC..tbZT_DEPYEAR as b on a.PARENT=b.DEPYR_ID where a.YEAR=115 and a.DEPYR_CODE='{STUDY_GROUP}'

-- @case rule_grading_method | columns: S,U,I | rows: 1
SELECT S,U,I from velm_dbase..seme_sui_basic where subject_id='{SUI_CODE}'

-- @case belong_tree | columns: depyr_id1,s1_class,dep_name1,dep_abbrev,d_type,dep_level,dorder,parent,d_order,depyr_code,dep_code,location,s1_class,year | rows: >0
select  d1.depyr_id as depyr_id1, d1.s1_class ,case d1.dep_name when '國際組' then DEP_ABBREV else d1.dep_name end as dep_name1  ,case   d1.DEP_NAME     when '' then d1.DEP_ABBREV    when '博士班' then d1.DEP_NAME      when '碩士班' then d1.DEP_NAME     when '學士班' then d1.DEP_NAME     else  case DEP_ABBREV when '' then d1.DEP_NAME when '學士班統計組' then '學士班統計科學組' when '臺灣系碩士班臺灣組(教學)' then '臺灣區域研究組' else DEP_ABBREV end     end as dep_abbrev     ,d1.d_type, d1.dep_level ,d1.dorder,d1.parent,d.d_order,d1.depyr_code,d1.dep_code,d1.location ,d1.s1_class,d1.year from academic..tbZT_DEPYEAR d1 left outer join  academic..tbZT_DEPYEAR_DTYPE d on d1.d_type=d.d_type where d1.year=115  and d.d_type <>'G'  order by d1.dep_level,parent,d.d_order,d1.dorder

-- @case syllabus_tree | columns: depyr_id1,s1_class,dep_name1,dep_abbrev,d_type,dep_level,dorder,parent,d_order,depyr_code,dep_code,location,s1_class,year | rows: {TREE_NODES}
select  d1.depyr_id as depyr_id1, d1.s1_class ,case d1.dep_name when '國際組' then DEP_ABBREV else d1.dep_name  end as dep_name1  ,case   d1.DEP_NAME     when '' then d1.DEP_ABBREV    when '博士班' then d1.DEP_NAME      when '碩士班' then d1.DEP_NAME     when '學士班' then d1.DEP_NAME      else case  DEP_ABBREV when '' then d1.DEP_NAME when '學士班統計組' then '學士班統計科學組' when '臺灣系碩士班臺灣組(教學)' then '臺灣區域研究組' else DEP_ABBREV end   end as dep_abbrev  ,d1.d_type, d1.dep_level ,d1.dorder,d1.parent,d.d_order,d1.depyr_code,d1.dep_code,d1.location ,d1.s1_class,d1.year from academic..tbZT_DEPYEAR d1 left outer join  academic..tbZT_DEPYEAR_DTYPE d on d1.d_type=d.d_type where d1.year=115 order by d1.dep_level,parent,d.d_order,d1.dorder

-- @case featured_items | columns: CDIOITEM | rows: >0
select CDIOITEM FROM VELM_DBASE..SEMECDIOITEM 

-- @case featured_subitems_all | columns: CDIOsubITEM | rows: {SUBITEM_ROWS}
select CDIOsubITEM FROM VELM_DBASE..SEMECDIOSUBITEM 

-- @case featured_subitems_sustainability | columns: CDIOSUBITEM | rows: {SUBITEMS_9}
select CDIOSUBITEM FROM VELM_DBASE..SEMECDIOSUBITEM where cdiosysno=9 
