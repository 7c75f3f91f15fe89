-- The safety checks before a deletion.

-- @value GRADED_SERIAL = select min(rsubj_serno) from VELM_DBASE.SUBJSELE_HISTORY where sub_score<>''
-- @value GRADED_COUNT = select count(*) from VELM_DBASE.SUBJSELE_HISTORY where sub_score<>'' and rsubj_serno={GRADED_SERIAL}
-- @value SELECTED_SERIAL = select rsubj_serno from VELM_DBASE.SUBJSELE_CURRENT group by rsubj_serno order by count(*) desc, rsubj_serno limit 1
-- @value SELECTED_COUNT = select count(*) from VELM_DBASE.SUBJSELE_CURRENT where rsubj_serno={SELECTED_SERIAL}

-- @case delete_check_history_grades | columns: ? | rows: 1
select count(*) from VELM_DBASE..SUBJSELE_HISTORY where sub_score<>'' and rsubj_serno={GRADED_SERIAL}

-- @case delete_check_current_grades | columns: ? | rows: 1
select count(*) from VELM_DBASE..SUBJSELE_CURRENT where sub_score<>'' and rsubj_serno={SELECTED_SERIAL}

-- @case delete_check_current_selections | columns: ? | rows: 1
select count(*) from VELM_DBASE..SUBJSELE_CURRENT where  rsubj_serno={SELECTED_SERIAL}

-- @case delete_check_history_selections | columns: ? | rows: 1
select count(*) from VELM_DBASE..SUBJSELE_HISTORY where  rsubj_serno={SELECTED_SERIAL}
