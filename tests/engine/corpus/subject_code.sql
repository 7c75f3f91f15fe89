-- Reads of the subject-code panel.

-- Offerings that follow old-style rules, with their rule year table.
-- @value OLD_OFFERING = select s.RSUBJ_SERNO from VELM_DBASE.SEMESUBJECT s where s.YEAR=115 and s.SEMESTER=2 and s.SUBJECT_SYSNO=-1 and s.fromyear={OLD_RULE_YEAR} and s.SUBJECT_GROUP=s.RSUBJ_SERNO and s.SUBJECT_ID in (select SUBJ_CODE from VELM_DBASE.SUBJ_DESG_{OLD_RULE_YEAR}) order by s.RSUBJ_SERNO limit 1 offset 0
-- @value OLD_YEAR = select fromyear from VELM_DBASE.SEMESUBJECT where RSUBJ_SERNO={OLD_OFFERING}
-- @value OLD_CODE = select SUBJECT_ID from VELM_DBASE.SEMESUBJECT where RSUBJ_SERNO={OLD_OFFERING}
-- @value OLD_CODE8 = select substr(SUBJECT_ID,1,8) from VELM_DBASE.SEMESUBJECT where RSUBJ_SERNO={OLD_OFFERING}
-- @value OLD_DEPYR = select DEPYR_CODE from VELM_DBASE.SEMESUBJECT where RSUBJ_SERNO={OLD_OFFERING}

-- @case code_old_rule_codes | columns: SUBJ_CODE | rows: >0
select SUBJ_CODE as SUBJ_CODE from VELM_DBASE..SUBJ_DESG_{OLD_YEAR} where SUBJ_CODE like '{OLD_CODE8}%'

-- A rule year without its table fails; the panel then opens without save-back.
-- @case code_old_rule_codes_year_without_table | error
select SUBJ_CODE as SUBJ_CODE from VELM_DBASE..SUBJ_DESG_99 where SUBJ_CODE like 'TH__2001%'

-- @case code_department_of_class | columns: DEP_CODE | rows: >0
select DEP_CODE from ACADEMIC..tbZT_DEPYEAR where depyr_code='{OLD_DEPYR}'

-- @case code_reuse | columns: ?,YEAR,SEMESTER,S_NAME | rows: >0
SELECT        COUNT(*),YEAR,SEMESTER,subject_id+S_NAME as S_NAME  FROM VELM_DBASE..SEMESUBJECT WHERE substring(SUBJECT_ID,1,8)='{CS_CODE8}'group by  YEAR,SEMESTER,S_NAME,subject_id 
