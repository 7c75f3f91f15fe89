// The server functions and procedures of the course and account databases.
//
// What the list functions return:
// - Every list is one text whose items are joined with ",". A group (or offering) without rows
//   gives NULL, not an empty text: the inspections test "SUBJECT_TEACHER_List(...) is null".
// - Teachers (names, numbers): in teaching order (seq).
// - Rooms (names, ids): distinct, in the order in which the rooms were first stored.
// - Times: distinct "weekday=period" pairs (the client's slot notation, e.g. "3=7,3=8") ordered by
//   weekday and period; a special schedule (negative weekday) appears as its weekday number, "-3".
// - Prerequisites: the offering's own old-rule texts in seq order; without those, the curriculum
//   rule's prerequisites of the subject for the offering's rule unit, each as kind mark + name.
// - General-education fields: the group's own field names in seq order; without those, the
//   subject's spheres in the five general-education units, by sphere_default descending.
// - Featured items: in the order stored. Combined-class lists (codes, names, statuses): the
//   group's offerings ordered by subject code and serial, statuses as their texts.
//
// How a template is written: the interpreter substitutes the argument SQL for %1/%2 as it stands,
// and that SQL may name columns of the calling query without a qualifier (e.g.
// "SUBJECT_TEACHER_List(subject_group)" in a query over SEMESUBJECT). So the argument never appears
// where a table of the template is in scope: each template first renames the columns it needs
// inside a derived table (sf_* names, no table aliases visible), and compares with the argument
// only outside it. SQLite 3.40 has no ORDER BY inside aggregates; the lists aggregate an ordered
// subquery instead.
#include "engine/ServerObjects.h"

#include <QString>

namespace dudodu::engine {
namespace {

const ServerFunction kFunctions[] = {
    {"SUBJECT_TEACHER_List", 1,
     "select group_concat(sf_name, ',') from (select sf_name from (select SUBJECT_GROUP as sf_group, "
     "seq as sf_seq, TCHER_NAME as sf_name from VELM_DBASE.SEMETEACHER) where sf_group = %1 order by "
     "sf_seq)"},
    {"SUBJECT_TCHERNO_List", 1,
     "select group_concat(sf_no, ',') from (select sf_no from (select SUBJECT_GROUP as sf_group, "
     "seq as sf_seq, TCHER_NO as sf_no from VELM_DBASE.SEMETEACHER) where sf_group = %1 order by sf_seq)"},
    {"SUBJECT_ROOM_List", 1,
     "select group_concat(sf_room, ',') from (select sf_room from (select SUBJECT_GROUP as sf_group, "
     "classroom as sf_room, rowid as sf_row from VELM_DBASE.SEMECLASSROOM) where sf_group = %1 "
     "group by sf_room order by min(sf_row))"},
    {"SUBJECT_ROOM_ID_List", 1,
     "select group_concat(sf_id, ',') from (select sf_id from (select SUBJECT_GROUP as sf_group, "
     "room_id_no as sf_id, rowid as sf_row from VELM_DBASE.SEMECLASSROOM) where sf_group = %1 "
     "group by sf_id order by min(sf_row))"},
    {"SUBJECT_TIME_List", 1,
     "select group_concat(sf_slot, ',') from (select case when sf_day < 0 then cast(sf_day as text) "
     "else sf_day || '=' || sf_period end as sf_slot from (select SUBJECT_GROUP as sf_group, "
     "weekday as sf_day, classno as sf_period from VELM_DBASE.SEMECLASSROOM) where sf_group = %1 "
     "group by sf_day, sf_period order by sf_day, sf_period)"},
    {"SUBJECT_PRESUBJ_List", 2,
     "select coalesce("
     "(select group_concat(sf_name, ',') from (select sf_name from (select SUBJECT_GROUP as sf_group, "
     "seq as sf_seq, pre_subject_name as sf_name from VELM_DBASE.SEMEOLD_PRESUBJ) where sf_group = %2 "
     "order by sf_seq)), "
     "(select group_concat(sf_pre, ',') from (select sf_type || sf_name as sf_pre from ("
     "select subject_sysno as sf_sysno, depyr_code as sf_unit, pre_type as sf_type, "
     "pre_subject_name as sf_name, pre_subject_sysno as sf_presys "
     "from VELM_DBASE.vwRule_Subject_Previous) where sf_sysno = %1 and sf_unit in (select sf_rule_unit from ("
     "select SUBJECT_GROUP as sf_rule_group, PRE_DEPYRCODE as sf_rule_unit from VELM_DBASE.SEMESUBJECT) "
     "where sf_rule_group = %2) group by sf_type, sf_name, sf_presys order by sf_presys)))"},
    {"SUBJECT_GCFIELD_List", 2,
     "select coalesce("
     "(select group_concat(sf_name, ',') from (select sf_name from (select SUBJECT_GROUP as sf_group, "
     "seq as sf_seq, gc_field as sf_name from VELM_DBASE.SEMEGC_FIELD) where sf_group = %2 "
     "order by sf_seq)), "
     "(select group_concat(sf_name, ',') from (select sf_name from (select ss.subject_sysno as sf_sysno, "
     "gs.sphere_sname as sf_name, gs.sphere_default as sf_order from VELM_DBASE.rule_subject_sphere ss "
     "join VELM_DBASE.rule_general_sphere gs on gs.sphere_id = ss.across_sphere "
     "where ss.dep_id in ('GC__','LB__','LC__','PEC_','CLC_')) where sf_sysno = %1 "
     "order by sf_order desc)))"},
    {"SUBJECT_CDIO_List", 1,
     "select group_concat(sf_name, ',') from (select sf_name from (select RSUBJ_SERNO as sf_serno, "
     "CDIO_NAME as sf_name, rowid as sf_row from VELM_DBASE.SEMECDIO) where sf_serno = %1 order by sf_row)"},
    {"COMB_SUBJECT_ID", 1,
     "select group_concat(sf_id, ',') from (select sf_id from (select SUBJECT_GROUP as sf_group, "
     "SUBJECT_ID as sf_id, RSUBJ_SERNO as sf_serno from VELM_DBASE.SEMESUBJECT) where sf_group = %1 "
     "order by sf_id, sf_serno)"},
    {"COMB_SNAME", 1,
     "select group_concat(sf_name, ',') from (select sf_name from (select SUBJECT_GROUP as sf_group, "
     "SUBJECT_ID as sf_id, S_NAME as sf_name, RSUBJ_SERNO as sf_serno from VELM_DBASE.SEMESUBJECT) "
     "where sf_group = %1 order by sf_id, sf_serno)"},
    {"COMB_STATUS", 1,
     "select group_concat(sf_text, ',') from (select case sf_status when 1 then '停開' when 2 then '正常' "
     "when 3 then '停選' when 4 then '統一排課' when 5 then '新生選課' else cast(sf_status as text) end "
     "as sf_text from ("
     "select SUBJECT_GROUP as sf_group, SUBJECT_ID as sf_id, status as sf_status, RSUBJ_SERNO as sf_serno "
     "from VELM_DBASE.SEMESUBJECT) where sf_group = %1 order by sf_id, sf_serno)"},
};

// ?1 (always 0 in the client's calls) selects nothing here.
const ServerProcedure kProcedures[] = {
    {"velm_role_query", 2,
     "select role_name from VELMCC_DB.user_role where ident = ?2 order by role_order, role_name"},
    {"velm_role_depyear", 3,
     "select dep_code from VELMCC_DB.user_role_depyear where ident = ?3 and year = ?2 order by dep_code"},
};

template <typename T, std::size_t N> const T* findByName(const T (&table)[N], QStringView name) {
    for (const T& entry : table) {
        if (name.compare(QLatin1String(entry.name), Qt::CaseInsensitive) == 0) return &entry;
    }
    return nullptr;
}

} // namespace

const ServerFunction* findServerFunction(QStringView name) {
    return findByName(kFunctions, name);
}

const ServerProcedure* findServerProcedure(QStringView name) {
    return findByName(kProcedures, name);
}

} // namespace dudodu::engine
