-- Combined-class groups: the group list and what picking and joining read.

-- @value COMBINED_GROUPS = select count(*) from (select SUBJECT_GROUP from VELM_DBASE.SEMESUBJECT where YEAR=115 and SEMESTER=2 group by SUBJECT_GROUP having count(*)>1)
-- @value CANCELLED_SERIAL = select min(RSUBJ_SERNO) from VELM_DBASE.SEMESUBJECT where YEAR=115 and SEMESTER=2 and status=1

-- @case combined_groups | columns: SUBJECT_GROUP,COMB_SUBJECT_ID,S_NAME,TEACHER_LIST,CLASSROOM,CLASSTIME,STATUS | rows: {COMBINED_GROUPS}
select SUBJECT_GROUP,velm_dbase.dbo.COMB_SUBJECT_ID(subject_group) as COMB_SUBJECT_ID,velm_dbase.dbo.COMB_SNAME(subject_group) as S_NAME,velm_dbase.dbo.SUBJECT_TEACHER_List(SUBJECT_GROUP) as TEACHER_LIST,velm_dbase.dbo.SUBJECT_ROOM_List(SUBJECT_GROUP) as CLASSROOM,velm_dbase.dbo.SUBJECT_TIME_List(SUBJECT_GROUP) as CLASSTIME,velm_dbase.dbo.COMB_STATUS(subject_group) AS STATUS from VELM_DBASE..semesubject where SUBJECT_GROUP in (select subject_group from VELM_DBASE..SEMESUBJECT where year=115 and SEMESTER=2 group by subject_group having count(*) > 1) group by SUBJECT_GROUP,velm_dbase.dbo.COMB_SUBJECT_ID(subject_group),velm_dbase.dbo.COMB_SNAME(subject_group),velm_dbase.dbo.SUBJECT_TEACHER_List(SUBJECT_GROUP),velm_dbase.dbo.SUBJECT_ROOM_List(SUBJECT_GROUP),velm_dbase.dbo.COMB_STATUS(subject_group),velm_dbase.dbo.SUBJECT_TIME_List(SUBJECT_GROUP)

-- @case combined_group_members | columns: RSUBJ_SERNO | rows: {COMBINED_SIZE}
select RSUBJ_SERNO from VELM_DBASE..SEMESUBJECT where SUBJECT_GROUP={COMBINED_GROUP}

-- @case pick_status | columns: status | rows: 1
select status from VELM_DBASE..semesubject where RSUBJ_SERNO={CANCELLED_SERIAL}

-- @case join_target_group | columns: subject_group | rows: 1
select subject_group from VELM_DBASE..semesubject where RSUBJ_SERNO={COMBINED_GROUP}

-- @case join_target_size | columns: ? | rows: 1
select count(*) from VELM_DBASE..semesubject where subject_group={COMBINED_GROUP}
