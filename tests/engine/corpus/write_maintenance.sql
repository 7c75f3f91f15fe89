-- Maintenance of the featured-course items and sub-items.

-- @value NEXT_ITEM = select max(SYSNO)+1 from VELM_DBASE.SEMECDIOITEM
-- @value LAST_ITEM = select max(SYSNO) from VELM_DBASE.SEMECDIOITEM
-- @value LAST_ITEM_NAME = select CDIOITEM from VELM_DBASE.SEMECDIOITEM where SYSNO={LAST_ITEM}
-- @value LAST_SUBITEM = select max(sysno) from VELM_DBASE.SEMECDIOSUBITEM
-- @value LAST_SUBITEM_NAME = select cdiosubitem from VELM_DBASE.SEMECDIOSUBITEM where sysno={LAST_SUBITEM}

-- @case featured_item_add | columns: -
insert into VELM_DBASE..semecdioitem  (cdioitem,cdio_status) values('課程測試項目',1)

-- @case featured_item_update | columns: -
update VELM_DBASE..semecdioitem  set cdioitem='{LAST_ITEM_NAME}'where sysno='{LAST_ITEM}'

-- Deletes the item added above.
-- @case featured_item_delete | columns: - | after: featured_item_add
delete VELM_DBASE..semecdioitem where sysno='{NEXT_ITEM}'

-- @case featured_item_list_after_delete | columns: sysno,cdioitem | rows: {ITEM_COUNT} | after: featured_item_delete
select sysno,cdioitem from velm_dbase..semecdioitem 

-- @case featured_subitem_add | columns: -
insert into VELM_DBASE..semecdiosubitem  (cdiosysno,cdiosubitem) values(9,'SDG18 測試子項目')

-- @case featured_subitem_update | columns: -
update VELM_DBASE..semecdiosubitem  set cdiosubitem='{LAST_SUBITEM_NAME}'where sysno='{LAST_SUBITEM}'
