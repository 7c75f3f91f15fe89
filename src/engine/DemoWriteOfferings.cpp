// Writes the offerings with their child rows, as the offering insert of the client stores them.
#include "engine/DemoModel.h"
#include "engine/Schema.h"

namespace dudodu::engine::demo {
namespace {

// The signature text the client keeps for expanded sections: year, semester, teacher key and the
// rooms' slot signatures run together.
QString groupText(const Offering& o) {
    QString text = QString::number(o.year) + QString::number(o.semester);
    for (const auto& [number, name] : o.teachers)
        text += QString::number(number) + QLatin1Char('=') + name;
    for (const RoomUse& use : o.rooms) {
        if (use.times.empty()) continue;
        text += use.name;
        for (const auto& [day, period] : use.times)
            text += QStringLiteral("%1=%2").arg(day).arg(period);
    }
    return text;
}

// An unset text is stored as NULL; every other text, also an empty one, as text.
Val textOrNull(const QString& text) {
    return text.isNull() ? Val(nullptr) : Val(text);
}

} // namespace

void writeOfferings(Demo& demo) {
    Inserter subject(
        demo.db,
        "INSERT INTO VELM_DBASE.SEMESUBJECT (RSUBJ_SERNO, SUBJECT_GROUP, DEPYR_CODE, SUBJECT_ID, DEPARTMENT, "
        "MUST, YEAR, SEMESTER, SUBJ_MODE, \"LIMIT\", S_NAME, CREDIT, HOUR, LAB, E_NAME, BELONG, "
        "BELONG_DEPYR_CODE, WORK_PLACE, NOTE, EP_FIELD, SEME_ENG, SUBJECT_SYSNO, PROGRAM_ID, PRE_DEPYRCODE, "
        "IsEval, status, IsExpand, fromyear, fromdep, salarygroup, evalgroup, cr_date, cr_userid, md_date, "
        "md_userid, term_id, term, CRS_DEPYR_CODE, SUBJECT_ID_SEC, rule_rel, subj_kind, S, U, I) VALUES "
        "(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
    Inserter teacher(demo.db, "INSERT INTO VELM_DBASE.SEMETEACHER (SUBJECT_GROUP, seq, TCHER_NO, TCHER_NAME) "
                              "VALUES (?,?,?,?)");
    Inserter room(demo.db,
                  "INSERT INTO VELM_DBASE.SEMECLASSROOM (SUBJECT_GROUP, room_id_no, classroom, weekday, "
                  "classno, location) VALUES (?,?,?,?,?,?)");
    Inserter field(
        demo.db,
        "INSERT INTO VELM_DBASE.SEMEGC_FIELD (SUBJECT_GROUP, seq, gc_code, gc_field) VALUES (?,?,?,?)");
    Inserter prerequisite(demo.db,
                          "INSERT INTO VELM_DBASE.SEMEOLD_PRESUBJ (SUBJECT_GROUP, seq, pre_subject_name) "
                          "VALUES (?,?,?)");
    Inserter featured(demo.db,
                      "INSERT INTO VELM_DBASE.SEMECDIO (RSUBJ_SERNO, CDIO_NAME, CR_DATE) VALUES (?,?,?)");
    Inserter featuredSub(demo.db,
                         "INSERT INTO VELM_DBASE.SEMESUBCDIO (RSUBJ_SERNO, CDIOSYSNO, CDIO_SUBNAME, CR_DATE, "
                         "subsysno) VALUES (?,9,?,?,?)");
    Inserter group(demo.db,
                   "INSERT INTO VELM_DBASE.SEMESUBJECT_GROUP (SUBJECT_GROUP, GROUP_TEXT) VALUES (?,?)");

    for (const Semester& sem : demo.semesters) {
        QString error;
        if (!schema::createOldSemesterTable(demo.db, sem.year, sem.semester, &error))
            throw DemoError(error.toStdString());
        for (const Offering& o : sem.offerings) {
            const Unit& u = demo.units[size_t(o.unit)];
            subject.row({o.serial,
                         o.group,
                         o.depyrCode,
                         o.subjectId,
                         u.code,
                         o.must,
                         o.year,
                         o.semester,
                         o.subjMode,
                         o.limit,
                         o.name,
                         o.credit,
                         o.hours,
                         o.lab,
                         o.englishName,
                         o.belong,
                         o.belongDepyr,
                         o.workPlace,
                         o.note,
                         o.epField,
                         o.semeEng,
                         o.subjectSysno,
                         o.programId,
                         o.preDepyr,
                         o.isEval,
                         o.status,
                         o.isExpand,
                         o.fromYear,
                         o.fromDep,
                         o.salary,
                         o.eval,
                         o.crDate,
                         o.crUser,
                         textOrNull(o.mdDate),
                         textOrNull(o.mdUser),
                         o.termId,
                         o.term,
                         o.crsDepyr,
                         o.subjectIdSec,
                         o.ruleRel,
                         o.subjKind,
                         o.flagS,
                         o.flagU,
                         o.flagI});
            for (size_t k = 0; k < o.teachers.size(); ++k)
                teacher.row({o.group, int(k + 1), o.teachers[k].first, o.teachers[k].second});
            for (const RoomUse& use : o.rooms)
                for (const auto& [day, period] : use.times)
                    room.row({o.group, use.room, use.name, day, period, use.location});
            for (size_t k = 0; k < o.fields.size(); ++k)
                field.row({o.group, int(k + 1), o.fields[k].first, o.fields[k].second});
            for (int k = 0; k < o.oldPrerequisites.size(); ++k)
                prerequisite.row({o.group, k, o.oldPrerequisites[k]});
            for (const QString& item : o.featured)
                featured.row({o.serial, item, o.crDate});
            for (const QString& item : o.featuredSub) {
                const auto it = std::find(demo.featuredSubItems.begin(), demo.featuredSubItems.end(), item);
                featuredSub.row({o.serial, item, o.crDate, int(it - demo.featuredSubItems.begin()) + 1});
            }
            if (o.isExpand == 1) group.row({o.group, groupText(o)});
        }
    }
}

} // namespace dudodu::engine::demo
