-- Deleting an offering: the offering, its child rows and rentals go, its course selections move to
-- filter_sele.

-- @value EDU_SELECTED = select RSUBJ_SERNO from VELM_DBASE.SEMESUBJECT s where DEPARTMENT='EDU_' and YEAR=115 and SEMESTER=2 and SUBJECT_GROUP=RSUBJ_SERNO and exists (select 1 from VELM_DBASE.SUBJSELE_CURRENT c where c.rsubj_serno=s.RSUBJ_SERNO) order by RSUBJ_SERNO limit 1

-- @case delete_offering | columns: -
begin transaction
delete VELM_DBASE..SEMESUBJECT where RSUBJ_SERNO={EDU_SELECTED}
if @@error<>0
begin
   raiserror ('無法新增開課記錄。', 16, 1)
   rollback
   return
end
delete VELM_DBASE..SEMECLASSROOM where SUBJECT_GROUP={EDU_SELECTED}
if @@error<>0
begin
   raiserror ('[{EDU_SELECTED}]無法刪除教室、上課時間資料。', 16, 1)
   rollback
   return
end
 delete GADEP..RMR_Rent_LIST where rent_no in (select distinct rent_no from GADEP..RMR_Rent_master where subject_group ={EDU_SELECTED})
if @@error<>0
begin
   raiserror ('[{EDU_SELECTED}]無法刪除講堂明細資料。', 16, 1)
   rollback
   return
end
 delete  GADEP..RMR_Rent_master where  SUBJECT_GROUP={EDU_SELECTED}
if @@error<>0
begin
   raiserror ('[{EDU_SELECTED}]無法刪除講堂主檔資料。', 16, 1)
   rollback
   return
end
delete VELM_DBASE..SEMETEACHER where SUBJECT_GROUP={EDU_SELECTED}
if @@error<>0
begin
   raiserror ('[{EDU_SELECTED}]無法刪除教師資料。', 16, 1)
   rollback
   return
end
delete VELM_DBASE..SEMEGC_FIELD where SUBJECT_GROUP={EDU_SELECTED}
if @@error<>0
begin
   raiserror ('[{EDU_SELECTED}]無法刪除通識領域資料。', 16, 1)
   rollback
   return
end
 delete VELM_DBASE..SEMECDIO  where  RSUBJ_SERNO={EDU_SELECTED}
if @@error<>0
begin
   raiserror ('[{EDU_SELECTED}]無法刪除特色課程資料。', 16, 1)
   rollback
   return
end
if (select count(*) from velm_dbase..subjsele_history) > 0
begin
insert into velm_dbase..filter_sele (year,section,rsele_serno,student_id,subject_id,rsubj_serno,sorder,filt_comment,insert_datetime)
select year,semester,rsele_serno,student_id,subject_id,rsubj_serno,sorder,'開課刪除',getdate()
from velm_dbase..subjsele_history se where rsubj_serno={EDU_SELECTED}
if @@error<>0
begin
   raiserror ('無法搬動HISTORY選課記錄。', 16, 1)
   rollback
   return
end
delete from velm_dbase..subjsele_history where rsubj_serno={EDU_SELECTED}
if @@error<>0
begin
   raiserror ('無法刪除HISTORY選課記錄。', 16, 1)
   rollback
   return
end
end
if (select count(*) from velm_dbase..subjsele_current) > 0
begin
insert into velm_dbase..filter_sele (year,section  ,rsele_serno,student_id,subject_id,rsubj_serno,sorder,filt_comment,insert_datetime)
select year,semester,rsele_serno,student_id,subject_id,rsubj_serno,sorder,'開課刪除',getdate()
from velm_dbase..subjsele_current se where rsubj_serno={EDU_SELECTED}
if @@error<>0
begin
   raiserror ('無法搬動CURRENT選課記錄。', 16, 1)
   rollback
   return
end
delete from velm_dbase..subjsele_current where rsubj_serno={EDU_SELECTED}
if @@error<>0
begin
   raiserror ('無法刪除CURRENT選課記錄。', 16, 1)
   rollback
   return
end
end
commit transaction

-- Read back after the deletion: the selections are in filter_sele now.
-- @case delete_offering_moved_selections | columns: ? | rows: 1 | after: delete_offering
select count(*) from velm_dbase..filter_sele where rsubj_serno={EDU_SELECTED} and filt_comment='開課刪除'
