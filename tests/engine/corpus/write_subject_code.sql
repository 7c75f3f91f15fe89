-- Subject-code changes carried into the old rule tables or the programme rules.

-- @value OLD_CHANGE = select s.RSUBJ_SERNO from VELM_DBASE.SEMESUBJECT s where s.YEAR=115 and s.SEMESTER=2 and s.SUBJECT_SYSNO=-1 and s.fromyear={OLD_RULE_YEAR} and s.SUBJECT_GROUP=s.RSUBJ_SERNO and s.SUBJECT_ID in (select SUBJ_CODE from VELM_DBASE.SUBJ_DESG_{OLD_RULE_YEAR}) order by s.RSUBJ_SERNO limit 1 offset 0
-- @value OLD_CHANGE_CODE = select SUBJECT_ID from VELM_DBASE.SEMESUBJECT where RSUBJ_SERNO={OLD_CHANGE}
-- @value OLD_CHANGE_NEW = select substr(SUBJECT_ID,1,4)||'9'||substr(SUBJECT_ID,6) from VELM_DBASE.SEMESUBJECT where RSUBJ_SERNO={OLD_CHANGE}
-- @value OLD_CHANGE_DEP = select dep_code from ACADEMIC.tbZT_DEPYEAR where depyr_code=(select DEPYR_CODE from VELM_DBASE.SEMESUBJECT where RSUBJ_SERNO={OLD_CHANGE})
-- @value OLD_EXPANDED = select s.RSUBJ_SERNO from VELM_DBASE.SEMESUBJECT s where s.YEAR=115 and s.SEMESTER=2 and s.SUBJECT_SYSNO=-1 and s.fromyear={OLD_RULE_YEAR} and s.SUBJECT_GROUP=s.RSUBJ_SERNO and s.SUBJECT_ID in (select SUBJ_CODE from VELM_DBASE.SUBJ_DESG_{OLD_RULE_YEAR}) order by s.RSUBJ_SERNO limit 1 offset 1
-- @value OLD_EXPANDED_CODE = select SUBJECT_ID from VELM_DBASE.SEMESUBJECT where RSUBJ_SERNO={OLD_EXPANDED}
-- @value OLD_EXPANDED_NEW = select substr(SUBJECT_ID,1,4)||'9'||substr(SUBJECT_ID,6) from VELM_DBASE.SEMESUBJECT where RSUBJ_SERNO={OLD_EXPANDED}
-- @value OLD_EXPANDED_DEP = select dep_code from ACADEMIC.tbZT_DEPYEAR where depyr_code=(select DEPYR_CODE from VELM_DBASE.SEMESUBJECT where RSUBJ_SERNO={OLD_EXPANDED})
-- @value OLD_NOT_SAVED = select s.RSUBJ_SERNO from VELM_DBASE.SEMESUBJECT s where s.YEAR=115 and s.SEMESTER=2 and s.SUBJECT_SYSNO=-1 and s.fromyear={OLD_RULE_YEAR} and s.SUBJECT_GROUP=s.RSUBJ_SERNO and s.SUBJECT_ID in (select SUBJ_CODE from VELM_DBASE.SUBJ_DESG_{OLD_RULE_YEAR}) order by s.RSUBJ_SERNO limit 1 offset 2
-- @value OLD_NOT_SAVED_CODE = select SUBJECT_ID from VELM_DBASE.SEMESUBJECT where RSUBJ_SERNO={OLD_NOT_SAVED}
-- @value OLD_NOT_SAVED_NEW = select substr(SUBJECT_ID,1,4)||'9'||substr(SUBJECT_ID,6) from VELM_DBASE.SEMESUBJECT where RSUBJ_SERNO={OLD_NOT_SAVED}
-- @value OLD_NOT_SAVED_DEP = select dep_code from ACADEMIC.tbZT_DEPYEAR where depyr_code=(select DEPYR_CODE from VELM_DBASE.SEMESUBJECT where RSUBJ_SERNO={OLD_NOT_SAVED})
-- @value OLD_UNKNOWN_RULE = select s.RSUBJ_SERNO from VELM_DBASE.SEMESUBJECT s where s.YEAR=115 and s.SEMESTER=2 and s.SUBJECT_SYSNO=-1 and s.fromyear={OLD_RULE_YEAR} and s.SUBJECT_GROUP=s.RSUBJ_SERNO and s.SUBJECT_ID in (select SUBJ_CODE from VELM_DBASE.SUBJ_DESG_{OLD_RULE_YEAR}) order by s.RSUBJ_SERNO limit 1 offset 3
-- @value OLD_UNKNOWN_RULE_CODE = select SUBJECT_ID from VELM_DBASE.SEMESUBJECT where RSUBJ_SERNO={OLD_UNKNOWN_RULE}
-- @value OLD_UNKNOWN_RULE_NEW = select substr(SUBJECT_ID,1,4)||'9'||substr(SUBJECT_ID,6) from VELM_DBASE.SEMESUBJECT where RSUBJ_SERNO={OLD_UNKNOWN_RULE}
-- @value OLD_UNKNOWN_RULE_DEP = select dep_code from ACADEMIC.tbZT_DEPYEAR where depyr_code=(select DEPYR_CODE from VELM_DBASE.SEMESUBJECT where RSUBJ_SERNO={OLD_UNKNOWN_RULE})
-- @value PROG_CROSS = select s.RSUBJ_SERNO from VELM_DBASE.SEMESUBJECT s join VELM_DBASE.rule_subject r on r.subject_sysno=s.SUBJECT_SYSNO where s.DEPARTMENT='CM__' and s.YEAR=115 and s.SEMESTER=2 and r.crossyear_flag=1 order by s.RSUBJ_SERNO limit 1 offset 0
-- @value PROG_CROSS_SYSNO = select SUBJECT_SYSNO from VELM_DBASE.SEMESUBJECT where RSUBJ_SERNO={PROG_CROSS}
-- @value PROG_CROSS_NEW = select substr(SUBJECT_ID,1,4)||'9'||substr(SUBJECT_ID,6) from VELM_DBASE.SEMESUBJECT where RSUBJ_SERNO={PROG_CROSS}
-- @value PROG_SINGLE = select s.RSUBJ_SERNO from VELM_DBASE.SEMESUBJECT s join VELM_DBASE.rule_subject r on r.subject_sysno=s.SUBJECT_SYSNO where s.DEPARTMENT='CM__' and s.YEAR=115 and s.SEMESTER=2 and r.crossyear_flag=0 order by s.RSUBJ_SERNO limit 1 offset 0
-- @value PROG_SINGLE_SYSNO = select SUBJECT_SYSNO from VELM_DBASE.SEMESUBJECT where RSUBJ_SERNO={PROG_SINGLE}
-- @value PROG_SINGLE_NEW = select substr(SUBJECT_ID,1,4)||'9'||substr(SUBJECT_ID,6) from VELM_DBASE.SEMESUBJECT where RSUBJ_SERNO={PROG_SINGLE}
-- @value PROG_NOT_SAVED = select s.RSUBJ_SERNO from VELM_DBASE.SEMESUBJECT s join VELM_DBASE.rule_subject r on r.subject_sysno=s.SUBJECT_SYSNO where s.DEPARTMENT='CM__' and s.YEAR=115 and s.SEMESTER=2 and r.crossyear_flag=0 order by s.RSUBJ_SERNO limit 1 offset 1
-- @value PROG_NOT_SAVED_SYSNO = select SUBJECT_SYSNO from VELM_DBASE.SEMESUBJECT where RSUBJ_SERNO={PROG_NOT_SAVED}
-- @value PROG_NOT_SAVED_NEW = select substr(SUBJECT_ID,1,4)||'9'||substr(SUBJECT_ID,6) from VELM_DBASE.SEMESUBJECT where RSUBJ_SERNO={PROG_NOT_SAVED}

-- @case code_change_old_rule | columns: -
begin transaction
UPDATE VELM_DBASE..SEMESUBJECT SET SUBJECT_ID='{OLD_CHANGE_NEW}',SUBJECT_ID_SEC='{OLD_CHANGE_NEW}' WHERE RSUBJ_SERNO={OLD_CHANGE}
if @@rowcount=0
begin
  raiserror ('無法更改科目代碼{OLD_CHANGE_NEW}', 16, 1)
  rollback transaction
  return 
end
UPDATE VELM_DBASE..SUBJ_DESG_{OLD_YEAR} SET SUBJ_CODE='{OLD_CHANGE_NEW}'
WHERE (SUBJ_CODE='{OLD_CHANGE_CODE}') AND (DEP_ID='{OLD_CHANGE_DEP}')
if @@rowcount=0
begin
UPDATE VELM_DBASE..SUBJ_DESG_{OLD_YEAR} SET SUBJ_CODE='{OLD_CHANGE_NEW}'
WHERE (SUBJ_CODE='{OLD_CHANGE_CODE}') AND (DEP_ID='{OLD_CHANGE_DEP}')
if @@rowcount=0
begin
  raiserror ('科目代碼「{OLD_CHANGE_CODE}」在課規{OLD_YEAR}年課規中並不存在，無法回存。', 16, 1)
  rollback transaction
  return
end
end
commit transaction

-- An expanded section also keeps its group text; with no department found for the class only the
-- login department matches the rule row.
-- @case code_change_old_rule_expanded_section | columns: -
begin transaction
UPDATE VELM_DBASE..SEMESUBJECT SET SUBJECT_ID='{OLD_EXPANDED_NEW}',SUBJECT_ID_SEC='{OLD_EXPANDED_NEW}' WHERE RSUBJ_SERNO={OLD_EXPANDED}
if @@rowcount=0
begin
  raiserror ('無法更改科目代碼{OLD_EXPANDED_NEW}', 16, 1)
  rollback transaction
  return 
end
UPDATE VELM_DBASE..SEMESUBJECT_GROUP SET group_text='115210101=王大明綜1014=64=7' WHERE subject_group={OLD_EXPANDED}
if @@rowcount=0
begin
  insert VELM_DBASE..SEMESUBJECT_GROUP(SUBJECT_GROUP, GROUP_TEXT) values({OLD_EXPANDED},'115210101=王大明綜1014=64=7')
end
UPDATE VELM_DBASE..SUBJ_DESG_{OLD_YEAR} SET SUBJ_CODE='{OLD_EXPANDED_NEW}'
WHERE (SUBJ_CODE='{OLD_EXPANDED_CODE}') AND (DEP_ID='')
if @@rowcount=0
begin
UPDATE VELM_DBASE..SUBJ_DESG_{OLD_YEAR} SET SUBJ_CODE='{OLD_EXPANDED_NEW}'
WHERE (SUBJ_CODE='{OLD_EXPANDED_CODE}') AND (DEP_ID='{OLD_EXPANDED_DEP}')
if @@rowcount=0
begin
  raiserror ('科目代碼「{OLD_EXPANDED_CODE}」在課規{OLD_YEAR}年課規中並不存在，無法回存。', 16, 1)
  rollback transaction
  return
end
end
commit transaction

-- @case code_change_old_rule_not_saved_back | columns: -
begin transaction
UPDATE VELM_DBASE..SEMESUBJECT SET SUBJECT_ID='{OLD_NOT_SAVED_NEW}',SUBJECT_ID_SEC='{OLD_NOT_SAVED_NEW}' WHERE RSUBJ_SERNO={OLD_NOT_SAVED}
if @@rowcount=0
begin
  raiserror ('無法更改科目代碼{OLD_NOT_SAVED_NEW}', 16, 1)
  rollback transaction
  return 
end
commit transaction

-- @case code_change_old_rule_unknown_rule_code | error: 科目代碼「TH__1999A」在課規{OLD_YEAR}年課規中並不存在，無法回存。
begin transaction
UPDATE VELM_DBASE..SEMESUBJECT SET SUBJECT_ID='{OLD_UNKNOWN_RULE_NEW}',SUBJECT_ID_SEC='{OLD_UNKNOWN_RULE_NEW}' WHERE RSUBJ_SERNO={OLD_UNKNOWN_RULE}
if @@rowcount=0
begin
  raiserror ('無法更改科目代碼{OLD_UNKNOWN_RULE_NEW}', 16, 1)
  rollback transaction
  return 
end
UPDATE VELM_DBASE..SUBJ_DESG_{OLD_YEAR} SET SUBJ_CODE='{OLD_UNKNOWN_RULE_NEW}'
WHERE (SUBJ_CODE='TH__1999A') AND (DEP_ID='{OLD_UNKNOWN_RULE_DEP}')
if @@rowcount=0
begin
UPDATE VELM_DBASE..SUBJ_DESG_{OLD_YEAR} SET SUBJ_CODE='{OLD_UNKNOWN_RULE_NEW}'
WHERE (SUBJ_CODE='TH__1999A') AND (DEP_ID='{OLD_UNKNOWN_RULE_DEP}')
if @@rowcount=0
begin
  raiserror ('科目代碼「TH__1999A」在課規{OLD_YEAR}年課規中並不存在，無法回存。', 16, 1)
  rollback transaction
  return
end
end
commit transaction

-- Read back: the failed change left the offering as it was.
-- @case code_change_old_rule_rolled_back | columns: SUBJECT_ID | rows: 1 | after: code_change_old_rule_unknown_rule_code
select SUBJECT_ID from VELM_DBASE..SEMESUBJECT where RSUBJ_SERNO={OLD_UNKNOWN_RULE} and SUBJECT_ID='{OLD_UNKNOWN_RULE_CODE}'

-- @case code_change_unknown_offering | error: 無法更改科目代碼TH__9999A
begin transaction
UPDATE VELM_DBASE..SEMESUBJECT SET SUBJECT_ID='TH__9999A',SUBJECT_ID_SEC='TH__9999A' WHERE RSUBJ_SERNO=115299999
if @@rowcount=0
begin
  raiserror ('無法更改科目代碼TH__9999A', 16, 1)
  rollback transaction
  return 
end
commit transaction

-- A subject shared across years: every rule row and offset row with the same first 8 characters.
-- @case code_change_program_cross_year | columns: -
begin transaction
update VELM_DBASE..SEMESUBJECT SET SUBJECT_ID='{PROG_CROSS_NEW}',SUBJECT_ID_SEC='{PROG_CROSS_NEW}'
where RSUBJ_SERNO={PROG_CROSS}
if @@rowcount=0
begin
  raiserror ('無法更新科目代碼', 16, 1)
  rollback transaction
  return 
end;
declare @cross_year int, @subject_id char(10)
select @cross_year=crossyear_flag, @subject_id=subject_id from VELM_DBASE..rule_subject where subject_sysno={PROG_CROSS_SYSNO}
if @cross_year = 1
begin
   update VELM_DBASE..rule_subject set subject_id='{PROG_CROSS_NEW}'
   where substring(subject_id,1,8)=substring(@subject_id,1,8)
   if @@rowcount=0
   begin
     raiserror ('科目代碼在學程化課規中並不存在，無法回存。', 16, 1)
     rollback transaction
     return
   end
   update ACADEMIC..tb_Offset_SUBJECT set subject_id1='{PROG_CROSS_NEW}'
   where substring(subject_id1,1,8)=substring(@subject_id,1,8)
   if @@error!=0
   begin
     raiserror ('科目代碼在 Academic..tb_Offset_SUBJECT 並不存在，無法回存。', 16, 1)
     rollback transaction
     return
   end
end
else
begin
   update VELM_DBASE..rule_subject set subject_id='{PROG_CROSS_NEW}'
   where subject_sysno={PROG_CROSS_SYSNO}
   if @@rowcount=0
   begin
     raiserror ('科目代碼在學程化課規中並不存在，無法回存。', 16, 1)
     rollback transaction
     return
   end
end
commit transaction

-- @case code_change_program | columns: -
begin transaction
update VELM_DBASE..SEMESUBJECT SET SUBJECT_ID='{PROG_SINGLE_NEW}',SUBJECT_ID_SEC='{PROG_SINGLE_NEW}'
where RSUBJ_SERNO={PROG_SINGLE}
if @@rowcount=0
begin
  raiserror ('無法更新科目代碼', 16, 1)
  rollback transaction
  return 
end;
declare @cross_year int, @subject_id char(10)
select @cross_year=crossyear_flag, @subject_id=subject_id from VELM_DBASE..rule_subject where subject_sysno={PROG_SINGLE_SYSNO}
if @cross_year = 1
begin
   update VELM_DBASE..rule_subject set subject_id='{PROG_SINGLE_NEW}'
   where substring(subject_id,1,8)=substring(@subject_id,1,8)
   if @@rowcount=0
   begin
     raiserror ('科目代碼在學程化課規中並不存在，無法回存。', 16, 1)
     rollback transaction
     return
   end
   update ACADEMIC..tb_Offset_SUBJECT set subject_id1='{PROG_SINGLE_NEW}'
   where substring(subject_id1,1,8)=substring(@subject_id,1,8)
   if @@error!=0
   begin
     raiserror ('科目代碼在 Academic..tb_Offset_SUBJECT 並不存在，無法回存。', 16, 1)
     rollback transaction
     return
   end
end
else
begin
   update VELM_DBASE..rule_subject set subject_id='{PROG_SINGLE_NEW}'
   where subject_sysno={PROG_SINGLE_SYSNO}
   if @@rowcount=0
   begin
     raiserror ('科目代碼在學程化課規中並不存在，無法回存。', 16, 1)
     rollback transaction
     return
   end
end
commit transaction

-- @case code_change_program_not_saved_back | columns: -
begin transaction
update VELM_DBASE..SEMESUBJECT SET SUBJECT_ID='{PROG_NOT_SAVED_NEW}',SUBJECT_ID_SEC='{PROG_NOT_SAVED_NEW}'
where RSUBJ_SERNO={PROG_NOT_SAVED}
if @@rowcount=0
begin
  raiserror ('無法更新科目代碼', 16, 1)
  rollback transaction
  return 
end;
commit transaction

-- @case code_change_program_unknown_offering | error: 無法更新科目代碼
begin transaction
update VELM_DBASE..SEMESUBJECT SET SUBJECT_ID='EDU_5096A',SUBJECT_ID_SEC='EDU_5096A'
where RSUBJ_SERNO=115299999
if @@rowcount=0
begin
  raiserror ('無法更新科目代碼', 16, 1)
  rollback transaction
  return 
end;
declare @cross_year int, @subject_id char(10)
select @cross_year=crossyear_flag, @subject_id=subject_id from VELM_DBASE..rule_subject where subject_sysno={PROG_SINGLE_SYSNO}
if @cross_year = 1
begin
   update VELM_DBASE..rule_subject set subject_id='EDU_5096A'
   where substring(subject_id,1,8)=substring(@subject_id,1,8)
   if @@rowcount=0
   begin
     raiserror ('科目代碼在學程化課規中並不存在，無法回存。', 16, 1)
     rollback transaction
     return
   end
   update ACADEMIC..tb_Offset_SUBJECT set subject_id1='EDU_5096A'
   where substring(subject_id1,1,8)=substring(@subject_id,1,8)
   if @@error!=0
   begin
     raiserror ('科目代碼在 Academic..tb_Offset_SUBJECT 並不存在，無法回存。', 16, 1)
     rollback transaction
     return
   end
end
else
begin
   update VELM_DBASE..rule_subject set subject_id='EDU_5096A'
   where subject_sysno={PROG_SINGLE_SYSNO}
   if @@rowcount=0
   begin
     raiserror ('科目代碼在學程化課規中並不存在，無法回存。', 16, 1)
     rollback transaction
     return
   end
end
commit transaction
