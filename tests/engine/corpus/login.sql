-- Login, roles, granted departments and the configuration items read after login.

-- @case config_program_version | columns: ITEM_VALUE | rows: 1
SELECT ITEM_VALUE FROM VELM_DBASE..SUBJSELE_CONFIG WHERE ITEM_NAME='課程表程式版本'

-- @case config_design_year | columns: ITEM_VALUE | rows: 1
SELECT ITEM_VALUE FROM VELM_DBASE..SUBJSELE_CONFIG WHERE ITEM_NAME='課程設計學年'

-- @case config_design_semester | columns: ITEM_VALUE | rows: 1
SELECT ITEM_VALUE FROM VELM_DBASE..SUBJSELE_CONFIG WHERE ITEM_NAME='課程設計學期'

-- @case config_edit_setting | columns: ITEM_VALUE | rows: 1
SELECT ITEM_VALUE FROM VELM_DBASE..SUBJSELE_CONFIG WHERE ITEM_NAME='課程設計資料修改設定'

-- Demo accounts: office (curriculum office) and cssuser (curriculum-system user).
-- @value OFFICE_IDENT = select ident from VELMCC_DB.user_data where u_id='office'
-- @value USER_IDENT = select ident from VELMCC_DB.user_data where u_id='cssuser'
-- @value USER_DEPARTMENTS = select count(*) from VELM_DBASE.SUB_CLASS where DEP_LEVEL in (10,11,20,21) and CLASS_ID in ('CS__','CM__','GC__','TH__')

-- @case login_ident | columns: ident | rows: 1
select ident from VELMCC_DB..user_data where u_id='office'

-- An account typed with a quote is sent doubled and simply finds nobody.
-- @case login_ident_quote_in_account | columns: ident | rows: 0
select ident from VELMCC_DB..user_data where u_id='o''neil'

-- @case login_role_office | columns: role_name,... | rows: >0
exec VELMCC_DB..velm_role_query 0,{OFFICE_IDENT}

-- @case login_role_none | columns: role_name,... | rows: 0
exec VELMCC_DB..velm_role_query 0,0

-- @case login_granted_departments | columns: dep_code,... | rows: >0
exec velmcc_db..velm_role_depyear 0,115,{USER_IDENT}

-- @case login_office_departments | columns: ?,CLASS_ID | rows: >0
SELECT CLASS_ID+':'+NAME,CLASS_ID FROM VELM_DBASE..SUB_CLASS where DEP_LEVEL in (10,11,20,21) ORDER BY CLASS_ID

-- @case login_user_departments | columns: ?,CLASS_ID | rows: {USER_DEPARTMENTS}
SELECT CLASS_ID+':'+NAME,CLASS_ID FROM VELM_DBASE..SUB_CLASS  where DEP_LEVEL in (10,11,20,21) and CLASS_ID in ('CS__','CM__','GC__','TH__') ORDER BY CLASS_ID

-- @case login_department_list | columns: ?,CLASS_ID | rows: >0
SELECT CLASS_ID+':'+NAME,CLASS_ID FROM VELM_DBASE..SUB_CLASS where DEP_LEVEL in (10,11,20) ORDER BY CLASS_ID

-- @case login_department_account | columns: CLASS_ID,LOCATION | rows: 1
select CLASS_ID, LOCATION from VELM_DBASE..sub_class where CLASS_ID='CS__'
