// The client's multi-statement write batches run on a private copy of the demo database, and the
// rows they leave are read back with plain SQLite: what the insert, update and delete store, how
// combined classes are joined and separated, that a firing error block leaves nothing of its batch
// behind, and that a failing statement without one does not stop the rest.
#include "BatchText.h"
#include "DemoFixture.h"
#include "engine/Engine.h"

#include <QDate>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <memory>

using dudodu::engine::BatchResult;
using dudodu::engine::Engine;
namespace batch = dudodu::test::batch;

namespace {

using Rows = QList<QStringList>;

// Rows of a plain SQLite query, every value as text ("<null>" for NULL).
Rows rows(sqlite3* db, const QString& sql) {
    Rows out;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &stmt, nullptr) != SQLITE_OK) {
        ADD_FAILURE() << sqlite3_errmsg(db) << "\n" << sql.toStdString();
        return out;
    }
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        QStringList row;
        for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, c));
            row << (text ? QString::fromUtf8(text) : QStringLiteral("<null>"));
        }
        out << row;
    }
    sqlite3_finalize(stmt);
    return out;
}

QString one(sqlite3* db, const QString& sql) {
    const Rows r = rows(db, sql);
    return r.isEmpty() ? QString() : r.first().first();
}

qint64 count(sqlite3* db, const QString& sql) {
    return one(db, sql).toLongLong();
}

// Test set-up written directly, so that it does not depend on the translator under test.
bool exec(sqlite3* db, const QString& sql) {
    char* message = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &message) == SQLITE_OK) return true;
    ADD_FAILURE() << (message ? message : "?") << "\n" << sql.toStdString();
    sqlite3_free(message);
    return false;
}

std::string text(const Rows& r) {
    QStringList lines;
    for (const QStringList& row : r)
        lines << row.join(QLatin1Char('|'));
    return lines.join(QLatin1Char('\n')).toStdString();
}

// The canonical text of a day as the engine stores dates.
QString day(const QDate& d) {
    return d.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(" 00:00:00.000");
}

class WriteFlow : public ::testing::Test {
  protected:
    void SetUp() override {
        QString error;
        engine = dudodu::test::openDemoCopy(dir, &error);
        ASSERT_TRUE(engine) << error.toStdString();
        db = engine->handle();
        window =
            rows(db, QStringLiteral("select SDATE, EDATE from GADEP.RMR_YEARSEME where YEAR=115 and SEME=2"))
                .value(0);
        ASSERT_EQ(window.size(), 2) << "no rental window for 115-2 in the demo data";
    }

    BatchResult run(const QStringList& lines) { return engine->execute(lines.join(QLatin1Char('\n'))); }

    // Serials and rent numbers that no stored offering or rental uses; distinct within a test.
    QString freeNumber() {
        const QString n =
            one(db, QStringLiteral("with recursive c(n) as (select %1 union all select n+1 from c where "
                                   "n<115299999) select n from c where n not in (select RSUBJ_SERNO "
                                   "from VELM_DBASE.SEMESUBJECT) and n not in (select SUBJECT_GROUP "
                                   "from VELM_DBASE.SEMESUBJECT) and cast(n as text) not in (select "
                                   "rent_no from GADEP.RMR_Rent_master) limit 1")
                        .arg(nextFree));
        nextFree = n.toLongLong() + 1;
        return n;
    }

    // Single EDU_ offerings of 115-2 that have rooms with rentals.
    QList<qint64> singleOfferingsWithRentals() {
        QList<qint64> out;
        for (const QStringList& r :
             rows(db, QStringLiteral(
                          "select RSUBJ_SERNO from VELM_DBASE.SEMESUBJECT s where DEPARTMENT='EDU_' and "
                          "YEAR=115 and SEMESTER=2 and SUBJECT_GROUP=RSUBJ_SERNO and exists (select 1 "
                          "from GADEP.RMR_Rent_master m where m.SUBJECT_GROUP=s.SUBJECT_GROUP) and "
                          "exists (select 1 from VELM_DBASE.SEMETEACHER t where t.SUBJECT_GROUP="
                          "s.SUBJECT_GROUP) order by RSUBJ_SERNO")))
            out << r.first().toLongLong();
        return out;
    }

    // A new offering of EDU_ in 115-2 with teachers, prerequisites, fields, two rooms with rentals
    // and featured items.
    batch::Offering newOffering() {
        batch::Offering o;
        o.serial = o.group = freeNumber().toLongLong();
        o.depyr = o.belongDepyr = o.crsDepyr = QStringLiteral("EDU_115B1");
        o.subjectId = QStringLiteral("EDU_9101A");
        o.subjectIdSec = QStringLiteral("EDU_91010");
        o.department = o.belong = o.preDepyr = QStringLiteral("EDU_");
        o.year = 115;
        o.semester = 2;
        o.yearText = QStringLiteral("115");
        o.semesterText = QStringLiteral("2");
        o.subjMode = QStringLiteral("3");
        o.limit = 45;
        o.name = QStringLiteral("教育的'未來'");
        o.englishName = QStringLiteral("Education's Future");
        o.credit = 2.5;
        o.hours = 2.5;
        o.lab = 1;
        o.crUser = QStringLiteral("office");
        o.term = batch::n(o.serial);
        o.subjKind = QStringLiteral("B");
        o.teachers = {{QStringLiteral("10001"), QStringLiteral("O'Brien")},
                      {QStringLiteral("-1"), QStringLiteral("待聘")}};
        o.prerequisites = {QStringLiteral("*教育概論"), QStringLiteral("#教育心理學")};
        o.fields = {{QStringLiteral("1"), QStringLiteral("人文與藝術")},
                    {QStringLiteral("7"), QStringLiteral("跨域整合")}};
        o.rooms = {{roomA, QStringLiteral("綜101"), 1, {{3, 7}, {3, 8}, {3, 9}, {5, 2}}},
                   {roomB, QStringLiteral("二教101"), 2, {{7, 2}}},
                   {-1, QString(), 1, {{1, 1}}}};
        o.featured = {QStringLiteral("永續發展課程"), QStringLiteral("跨領域課程")};
        o.featuredSub = {subItem()};
        o.windowStart = window.at(0);
        o.windowEnd = window.at(1);
        for (int i = 0; i < 3; ++i)
            o.rentNumbers << freeNumber();
        return o;
    }

    QString subItem() {
        return one(
            db, QStringLiteral("select cdiosubitem from VELM_DBASE.SEMECDIOSUBITEM where cdiosysno=9 order "
                               "by sysno limit 1"));
    }

    // The day rows a run should book: every day of the window on the run's weekday.
    Rows expectedDays(const batch::Run& run, qint64 room, const QString& rentNo) {
        Rows out;
        const QDate end = QDate::fromString(window.at(1).left(10), QStringLiteral("yyyy-MM-dd"));
        for (QDate d = QDate::fromString(window.at(0).left(10), QStringLiteral("yyyy-MM-dd")); d <= end;
             d = d.addDays(1)) {
            if (d.dayOfWeek() != run.weekday) continue;
            for (int t = run.first + 5; t <= run.last + 5; ++t)
                out << QStringList{batch::n(room), day(d), batch::n(t), rentNo};
        }
        return out;
    }

    Rows storedDays(const QString& rentNo) {
        return rows(
            db, QStringLiteral("select room_id_no, rent_date, rent_time, rent_no from GADEP.RMR_Rent_list "
                               "where rent_no='%1' order by rent_date, rent_time")
                    .arg(rentNo));
    }

    // Row counts of everything one offering's batch may write.
    QList<qint64> footprint(qint64 serial, qint64 group) {
        const QString g = batch::n(group);
        const QString s = batch::n(serial);
        QList<qint64> out;
        for (const QString& sql :
             {QStringLiteral(
                  "select count(*) from VELM_DBASE.SEMESUBJECT where RSUBJ_SERNO=%S or SUBJECT_GROUP=%G"),
              QStringLiteral("select count(*) from VELM_DBASE.SEMETEACHER where SUBJECT_GROUP=%G"),
              QStringLiteral("select count(*) from VELM_DBASE.SEMEOLD_PRESUBJ where SUBJECT_GROUP=%G"),
              QStringLiteral("select count(*) from VELM_DBASE.SEMEGC_FIELD where SUBJECT_GROUP=%G"),
              QStringLiteral("select count(*) from VELM_DBASE.SEMECLASSROOM where SUBJECT_GROUP=%G"),
              QStringLiteral("select count(*) from VELM_DBASE.SEMECDIO where RSUBJ_SERNO=%S"),
              QStringLiteral("select count(*) from VELM_DBASE.SEMESUBCDIO where RSUBJ_SERNO=%S"),
              QStringLiteral("select count(*) from GADEP.RMR_Rent_master where SUBJECT_GROUP=%G"),
              QStringLiteral("select count(*) from GADEP.RMR_Rent_list where rent_no in (select rent_no from "
                             "GADEP.RMR_Rent_master where SUBJECT_GROUP=%G)"),
              QStringLiteral("select count(*) from GADEP.RMR_Rent_list")})
            out << count(db, QString(sql).replace(QLatin1String("%S"), s).replace(QLatin1String("%G"), g));
        return out;
    }

    QTemporaryDir dir;
    std::unique_ptr<Engine> engine;
    sqlite3* db = nullptr;
    QStringList window;
    qint64 nextFree = 115200001;
    const qint64 roomA = 101;
    const qint64 roomB = 110;
};

TEST_F(WriteFlow, InsertStoresOfferingChildRowsAndRentals) {
    const batch::Offering o = newOffering();
    const BatchResult r = run(batch::insertBatch(o));
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    const QString s = batch::n(o.serial);

    EXPECT_EQ(
        text(rows(db, QStringLiteral("select SUBJECT_GROUP, SUBJECT_ID, S_NAME, E_NAME, CREDIT, HOUR, LAB, "
                                     "\"LIMIT\", SUBJ_MODE, term, rule_rel, cr_userid, S, U, I, status, "
                                     "IsExpand, cr_date is not null from VELM_DBASE.SEMESUBJECT where "
                                     "RSUBJ_SERNO=%1")
                          .arg(s))),
        text({{s, "EDU_9101A", "教育的'未來'", "Education's Future", "2.5", "2.5", "1", "45", "3", s, "0",
               "office", "", "", "", "2", "2", "1"}}));
    EXPECT_EQ(
        text(rows(db, QStringLiteral("select seq, TCHER_NO, TCHER_NAME from VELM_DBASE.SEMETEACHER where "
                                     "SUBJECT_GROUP=%1 order by seq")
                          .arg(s))),
        text({{"1", "10001", "O'Brien"}, {"2", "-1", "待聘"}}));
    EXPECT_EQ(
        text(rows(db, QStringLiteral("select seq, pre_subject_name from VELM_DBASE.SEMEOLD_PRESUBJ where "
                                     "SUBJECT_GROUP=%1 order by seq")
                          .arg(s))),
        text({{"0", "*教育概論"}, {"1", "#教育心理學"}}));
    EXPECT_EQ(text(rows(db, QStringLiteral("select seq, gc_code, gc_field from VELM_DBASE.SEMEGC_FIELD where "
                                           "SUBJECT_GROUP=%1 order by seq")
                                .arg(s))),
              text({{"1", "1", "人文與藝術"}, {"2", "7", "跨域整合"}}));
    // The third list has slots but no room name: it writes nothing.
    EXPECT_EQ(text(rows(db, QStringLiteral("select room_id_no, classroom, weekday, classno, location from "
                                           "VELM_DBASE.SEMECLASSROOM where SUBJECT_GROUP=%1 order by rowid")
                                .arg(s))),
              text({{"101", "綜101", "3", "7", "1"},
                    {"101", "綜101", "3", "8", "1"},
                    {"101", "綜101", "3", "9", "1"},
                    {"101", "綜101", "5", "2", "1"},
                    {"110", "二教101", "7", "2", "2"}}));
    EXPECT_EQ(
        text(rows(db, QStringLiteral("select CDIO_NAME, CR_DATE is not null from VELM_DBASE.SEMECDIO where "
                                     "RSUBJ_SERNO=%1 order by CDIO_NAME")
                          .arg(s))),
        text({{"永續發展課程", "1"}, {"跨領域課程", "1"}}));
    EXPECT_EQ(
        text(rows(db, QStringLiteral("select CDIOSYSNO, CDIO_SUBNAME, subsysno from VELM_DBASE.SEMESUBCDIO "
                                     "where RSUBJ_SERNO=%1")
                          .arg(s))),
        text({{"9", subItem(),
               one(db,
                   QStringLiteral("select min(sysno) from VELM_DBASE.SEMECDIOSUBITEM where cdiosysno=9"))}}));

    // Runs: Wednesday 7-9 and Friday 2 in room A, Sunday 2 in room B.
    const QList<batch::Run> runs{{3, 7, 9}, {5, 2, 2}, {7, 2, 2}};
    const QList<qint64> rooms{roomA, roomA, roomB};
    const Rows masters =
        rows(db, QStringLiteral("select rent_no, room_id_no, rent_date_week, rent_start_date, "
                                "rent_end_date, rent_start_time, rent_end_time, input_seq, rent_ym, "
                                "sysrem, rem, rent_dept, rent_status, ask_date is not null, "
                                "input_date is not null from GADEP.RMR_Rent_master where "
                                "SUBJECT_GROUP=%1 order by rent_no")
                     .arg(s));
    const Rows expectedMasters{
        {o.rentNumbers[0], "101", "4", day(QDate::fromString(window[0].left(10), "yyyy-MM-dd")),
         day(QDate::fromString(window[1].left(10), "yyyy-MM-dd")), "12", "15", "1", "1152", "1152課表",
         "課表轉檔", "課務組", "核准", "1", "1"},
        {o.rentNumbers[1], "101", "6", day(QDate::fromString(window[0].left(10), "yyyy-MM-dd")),
         day(QDate::fromString(window[1].left(10), "yyyy-MM-dd")), "7", "8", "2", "1152", "1152課表",
         "課表轉檔", "課務組", "核准", "1", "1"},
        {o.rentNumbers[2], "110", "1", day(QDate::fromString(window[0].left(10), "yyyy-MM-dd")),
         day(QDate::fromString(window[1].left(10), "yyyy-MM-dd")), "7", "8", "1", "1152", "1152課表",
         "課表轉檔", "課務組", "核准", "1", "1"}};
    EXPECT_EQ(text(masters), text(expectedMasters));
    for (int i = 0; i < runs.size(); ++i) {
        SCOPED_TRACE(i);
        const Rows expected = expectedDays(runs[i], rooms[i], o.rentNumbers[i]);
        EXPECT_FALSE(expected.isEmpty());
        EXPECT_EQ(text(storedDays(o.rentNumbers[i])), text(expected))
            << "days booked, dates in canonical form";
    }
}

TEST_F(WriteFlow, InsertOfSpecialScheduleWritesOneRoomRowAndNoRentals) {
    batch::Offering o = newOffering();
    o.specialSchedule = 3; // arranged with the teacher
    const BatchResult r = run(batch::insertBatch(o));
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    EXPECT_EQ(text(rows(db, QStringLiteral("select room_id_no, classroom, weekday, classno, location from "
                                           "VELM_DBASE.SEMECLASSROOM where SUBJECT_GROUP=%1")
                                .arg(o.group))),
              text({{"-1", "其他", "-3", "-1", "3"}}));
    EXPECT_EQ(count(db, QStringLiteral("select count(*) from GADEP.RMR_Rent_master where SUBJECT_GROUP=%1")
                            .arg(o.group)),
              0);
}

// Loads what the update needs of a stored offering.
batch::Offering storedOffering(sqlite3* db, qint64 serial) {
    const QStringList r =
        rows(db, QStringLiteral("select SUBJECT_GROUP, DEPYR_CODE, SUBJECT_ID, DEPARTMENT, MUST, "
                                "S_NAME, E_NAME, YEAR, SEMESTER from VELM_DBASE.SEMESUBJECT where "
                                "RSUBJ_SERNO=%1")
                     .arg(serial))
            .value(0);
    batch::Offering o;
    if (r.size() < 9) return o;
    o.serial = serial;
    o.group = r[0].toLongLong();
    o.depyr = o.belongDepyr = o.crsDepyr = r[1];
    o.subjectId = r[2];
    o.department = o.belong = r[3];
    o.must = r[4];
    o.name = r[5];
    o.englishName = r[6];
    o.year = r[7].toInt();
    o.semester = r[8].toInt();
    o.yearText = r[7];
    o.semesterText = r[8];
    o.term = batch::n(serial);
    o.mdUser = QStringLiteral("office");
    return o;
}

TEST_F(WriteFlow, UpdateWithMarkedListsRewritesRoomsRentalsTeachersAndFields) {
    const QList<qint64> candidates = singleOfferingsWithRentals();
    ASSERT_FALSE(candidates.isEmpty());
    batch::Offering o = storedOffering(db, candidates.first());
    const QStringList oldRents = [&] {
        QStringList out;
        for (const QStringList& row :
             rows(db, QStringLiteral("select rent_no from GADEP.RMR_Rent_master where "
                                     "SUBJECT_GROUP=%1")
                          .arg(o.group)))
            out << row.first();
        return out;
    }();
    ASSERT_FALSE(oldRents.isEmpty());
    o.name = QStringLiteral("新名稱");
    o.teachers = {{QStringLiteral("10002"), QStringLiteral("D'Arcy")}};
    o.fields = {{QStringLiteral("3"), QStringLiteral("自然與工程")},
                {QStringLiteral("5"), QStringLiteral("資訊與數理")}};
    o.rooms = {{roomA, QStringLiteral("綜101"), 1, {{2, 1}, {2, 2}}}};
    o.featured = {QStringLiteral("國際化課程")};
    o.flagS = o.flagU = QStringLiteral("T");
    o.flagI = QStringLiteral("F");
    o.windowStart = window.at(0);
    o.windowEnd = window.at(1);
    o.rentNumbers = {freeNumber()};

    const BatchResult r = run(batch::updateBatch(o, true, true));
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    const QString g = batch::n(o.group);
    EXPECT_EQ(text(rows(db, QStringLiteral("select S_NAME, md_userid, md_date is not null, S, U, I from "
                                           "VELM_DBASE.SEMESUBJECT where RSUBJ_SERNO=%1")
                                .arg(o.serial))),
              text({{"新名稱", "office", "1", "T", "T", "F"}}));
    EXPECT_EQ(
        text(rows(db, QStringLiteral("select seq, TCHER_NO, TCHER_NAME from VELM_DBASE.SEMETEACHER where "
                                     "SUBJECT_GROUP=%1")
                          .arg(g))),
        text({{"1", "10002", "D'Arcy"}}));
    // Fields rewritten by the update are numbered from 0.
    EXPECT_EQ(text(rows(db, QStringLiteral("select seq, gc_code, gc_field from VELM_DBASE.SEMEGC_FIELD where "
                                           "SUBJECT_GROUP=%1 order by seq")
                                .arg(g))),
              text({{"0", "3", "自然與工程"}, {"1", "5", "資訊與數理"}}));
    EXPECT_EQ(
        text(rows(db, QStringLiteral("select room_id_no, weekday, classno from VELM_DBASE.SEMECLASSROOM "
                                     "where SUBJECT_GROUP=%1 order by weekday, classno")
                          .arg(g))),
        text({{"101", "2", "1"}, {"101", "2", "2"}}));
    EXPECT_EQ(text(rows(db, QStringLiteral("select CDIO_NAME from VELM_DBASE.SEMECDIO where RSUBJ_SERNO=%1")
                                .arg(o.serial))),
              text({{"國際化課程"}}));
    EXPECT_EQ(
        text(rows(db, QStringLiteral("select rent_no, rent_date_week, rent_start_time, rent_end_time from "
                                     "GADEP.RMR_Rent_master where SUBJECT_GROUP=%1")
                          .arg(g))),
        text({{o.rentNumbers.first(), "3", "6", "8"}}));
    for (const QString& old : oldRents)
        EXPECT_TRUE(storedDays(old).isEmpty()) << "day rows of the old rental " << old.toStdString();
    EXPECT_EQ(text(storedDays(o.rentNumbers.first())),
              text(expectedDays({2, 1, 2}, roomA, o.rentNumbers.first())));
}

TEST_F(WriteFlow, UpdateWithoutMarksKeepsRoomsRentalsAndFields) {
    const QList<qint64> candidates = singleOfferingsWithRentals();
    ASSERT_FALSE(candidates.isEmpty());
    batch::Offering o = storedOffering(db, candidates.first());
    o.name = QStringLiteral("只改名稱");
    o.teachers = {{QStringLiteral("10003"), QStringLiteral("林老師")}};
    QList<qint64> before = footprint(o.serial, o.group);

    const BatchResult r = run(batch::updateBatch(o, false, false));
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    QList<qint64> after = footprint(o.serial, o.group);
    // Teachers and featured items are always rewritten; rooms, fields and rentals stay.
    before[1] = 1;
    before[5] = before[6] = 0;
    EXPECT_EQ(after, before);
    EXPECT_EQ(
        one(db,
            QStringLiteral("select S_NAME from VELM_DBASE.SEMESUBJECT where RSUBJ_SERNO=%1").arg(o.serial)),
        QStringLiteral("只改名稱"));
}

TEST_F(WriteFlow, DeleteRemovesOfferingAndMovesSelectionsToFilterTable) {
    const QList<qint64> candidates = singleOfferingsWithRentals();
    ASSERT_FALSE(candidates.isEmpty());
    const qint64 s = candidates.first();
    // Give the offering a featured item and one selection in each selection table.
    const QString current =
        one(db, QStringLiteral("select max(rsele_serno)+1 from VELM_DBASE.SUBJSELE_CURRENT"));
    const QString history =
        one(db, QStringLiteral("select max(rsele_serno)+1 from VELM_DBASE.SUBJSELE_HISTORY"));
    ASSERT_TRUE(
        exec(db, QStringLiteral("insert or ignore into VELM_DBASE.SEMECDIO(RSUBJ_SERNO,CDIO_NAME) values(%1,"
                                "'跨領域課程')")
                     .arg(s)));
    ASSERT_TRUE(
        exec(db, QStringLiteral("insert into VELM_DBASE.SUBJSELE_CURRENT(rsele_serno,year,semester,"
                                "student_id,subject_id,rsubj_serno,sorder) values(%1,115,2,'S1150001','X',"
                                "%2,1)")
                     .arg(current)
                     .arg(s)));
    ASSERT_TRUE(
        exec(db, QStringLiteral("insert into VELM_DBASE.SUBJSELE_HISTORY(rsele_serno,year,semester,"
                                "student_id,subject_id,rsubj_serno,sorder) values(%1,115,2,'S1150002','X',"
                                "%2,2)")
                     .arg(history)
                     .arg(s)));
    const qint64 otherSelections = count(
        db, QStringLiteral("select count(*) from VELM_DBASE.SUBJSELE_CURRENT where rsubj_serno<>%1").arg(s));
    const QString moved =
        QStringLiteral("select year, semester, rsele_serno, student_id, rsubj_serno, sorder, "
                       "'開課刪除', 1 from VELM_DBASE.%1 where rsubj_serno=%2");
    const Rows expectedMoved =
        rows(db, moved.arg(QStringLiteral("SUBJSELE_HISTORY")).arg(s) + QStringLiteral(" union all ") +
                     moved.arg(QStringLiteral("SUBJSELE_CURRENT")).arg(s) + QStringLiteral(" order by 4"));
    ASSERT_GE(expectedMoved.size(), 2);

    const BatchResult r = run(batch::deleteBatch(s, s));
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    QList<qint64> left = footprint(s, s);
    left.removeLast(); // the whole rent list
    EXPECT_EQ(left, QList<qint64>(9, 0));
    EXPECT_EQ(
        text(rows(db, QStringLiteral("select year, section, rsele_serno, student_id, rsubj_serno, sorder, "
                                     "filt_comment, insert_datetime is not null from VELM_DBASE.filter_sele "
                                     "where rsubj_serno=%1 order by student_id")
                          .arg(s))),
        text(expectedMoved));
    EXPECT_EQ(
        count(db,
              QStringLiteral("select count(*) from VELM_DBASE.SUBJSELE_HISTORY where rsubj_serno=%1").arg(s)),
        0);
    EXPECT_EQ(count(db, QStringLiteral("select count(*) from VELM_DBASE.SUBJSELE_CURRENT")), otherSelections);
}

TEST_F(WriteFlow, JoinThenSeparateCombinedClass) {
    const QList<qint64> candidates = singleOfferingsWithRentals();
    ASSERT_GE(candidates.size(), 2);
    const qint64 head = candidates.at(0);
    const qint64 member = candidates.at(1);
    const QString h = batch::n(head);
    const QString m = batch::n(member);
    const Rows headRooms =
        rows(db, QStringLiteral("select room_id_no, classroom, weekday, classno, location from "
                                "VELM_DBASE.SEMECLASSROOM where SUBJECT_GROUP=%1 order by 1,2,3,4,5")
                     .arg(h));
    const Rows memberTeachers =
        rows(db, QStringLiteral("select seq, TCHER_NO, TCHER_NAME from "
                                "VELM_DBASE.SEMETEACHER where SUBJECT_GROUP=%1 order by seq")
                     .arg(m));
    const QString memberRent = one(
        db, QStringLiteral("select min(rent_no) from GADEP.RMR_Rent_master where SUBJECT_GROUP=%1").arg(m));

    ASSERT_TRUE(run(batch::joinBatch(member, head)).ok());
    EXPECT_EQ(
        one(db,
            QStringLiteral("select SUBJECT_GROUP from VELM_DBASE.SEMESUBJECT where RSUBJ_SERNO=%1").arg(m)),
        h);
    EXPECT_EQ(
        count(db,
              QStringLiteral("select count(*) from VELM_DBASE.SEMECLASSROOM where SUBJECT_GROUP=%1").arg(m)),
        0);
    EXPECT_EQ(
        count(db, QStringLiteral("select count(*) from GADEP.RMR_Rent_master where SUBJECT_GROUP=%1").arg(m)),
        0);
    EXPECT_TRUE(storedDays(memberRent).isEmpty());
    // The old group's teachers stay where they are.
    EXPECT_EQ(
        text(rows(db, QStringLiteral("select seq, TCHER_NO, TCHER_NAME from VELM_DBASE.SEMETEACHER where "
                                     "SUBJECT_GROUP=%1 order by seq")
                          .arg(m))),
        text(memberTeachers));

    // Separating: the head's bookings are copied to every other member, then each listed offering
    // becomes its own group with copies of the group's rows it lacks.
    const BatchResult bookings = run(batch::separateBookingsQuery(head));
    ASSERT_TRUE(bookings.ok()) << bookings.error.toStdString();
    ASSERT_FALSE(bookings.results.isEmpty());
    const BatchResult members = run(batch::separateMembersQuery(head));
    ASSERT_TRUE(members.ok()) << members.error.toStdString();
    ASSERT_EQ(members.results.value(0).rows.size(), 1);
    EXPECT_EQ(members.results.value(0).rows.value(0).value(0).toLongLong(), member);
    QStringList copies;
    for (const QVariantList& booking : bookings.results.last().rows) {
        const QString copy = freeNumber();
        copies << copy;
        const BatchResult c = run(batch::copyBookingBatch(copy, member, booking.value(0).toString()));
        ASSERT_TRUE(c.ok()) << c.error.toStdString();
        EXPECT_EQ(storedDays(copy).size(), storedDays(booking.value(0).toString()).size());
    }
    ASSERT_FALSE(copies.isEmpty());
    // A member without teacher rows of its own gets copies of the group's, column for column.
    ASSERT_TRUE(exec(db, QStringLiteral("delete from VELM_DBASE.SEMETEACHER where SUBJECT_GROUP=") + m));
    const Rows headTeachers =
        rows(db, QStringLiteral("select seq, TCHER_NO, TCHER_NAME from VELM_DBASE.SEMETEACHER "
                                "where SUBJECT_GROUP=%1 order by seq")
                     .arg(h));
    for (qint64 serial : {head, member}) {
        const BatchResult sep = run(batch::separateBatch(serial));
        ASSERT_TRUE(sep.ok()) << sep.error.toStdString();
    }
    EXPECT_EQ(
        one(db,
            QStringLiteral("select SUBJECT_GROUP from VELM_DBASE.SEMESUBJECT where RSUBJ_SERNO=%1").arg(m)),
        m);
    EXPECT_EQ(
        text(rows(db, QStringLiteral("select seq, TCHER_NO, TCHER_NAME from VELM_DBASE.SEMETEACHER where "
                                     "SUBJECT_GROUP=%1 order by seq")
                          .arg(m))),
        text(headTeachers));
    EXPECT_EQ(
        text(rows(db, QStringLiteral("select room_id_no, classroom, weekday, classno, location from "
                                     "VELM_DBASE.SEMECLASSROOM where SUBJECT_GROUP=%1 order by 1,2,3,4,5")
                          .arg(m))),
        text(headRooms));
    Rows copiedBookings;
    for (const QString& c : copies)
        copiedBookings << QStringList{c, "核准", "  ", "課表轉檔"};
    EXPECT_EQ(text(rows(db, QStringLiteral("select rent_no, rent_status, building_dep_yn, rem from "
                                           "GADEP.RMR_Rent_master where SUBJECT_GROUP=%1 order by rent_no")
                                .arg(m))),
              text(copiedBookings));
    // The head keeps its own rows.
    EXPECT_EQ(
        text(rows(db, QStringLiteral("select room_id_no, classroom, weekday, classno, location from "
                                     "VELM_DBASE.SEMECLASSROOM where SUBJECT_GROUP=%1 order by 1,2,3,4,5")
                          .arg(h))),
        text(headRooms));
}

// An error block that fires rolls back everything the batch did before it, and its raiserror
// text is the batch's error.
TEST_F(WriteFlow, FiringErrorBlockLeavesNothingOfTheBatch) {
    struct Case {
        const char* name;
        bool takenSerial;    // the master row's serial already exists
        bool orphanTeacher;  // a teacher row of the new group exists already
        const char* message; // after "[" + key
    };
    const Case cases[] = {{"duplicate serial", true, false, "]無法新增課主檔。"},
                          {"teacher row after the master row", false, true, "] 無法新增教師資料。"}};
    const QList<qint64> taken = singleOfferingsWithRentals();
    ASSERT_FALSE(taken.isEmpty());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        batch::Offering o = newOffering();
        if (c.takenSerial) o.serial = o.group = taken.first();
        if (c.orphanTeacher) {
            ASSERT_TRUE(exec(
                db, QStringLiteral("insert into VELM_DBASE.SEMETEACHER(SUBJECT_GROUP,TCHER_NO,TCHER_NAME,"
                                   "seq) values(%1,10009,'舊資料',1)")
                        .arg(o.group)));
        }
        const QList<qint64> before = footprint(o.serial, o.group);
        const BatchResult r = run(batch::insertBatch(o));
        EXPECT_EQ(r.error.toStdString(), ("[" + o.subjectId + QString::fromUtf8(c.message)).toStdString());
        EXPECT_EQ(footprint(o.serial, o.group), before);
        // The engine is usable afterwards: no transaction left open.
        const BatchResult next =
            run({QStringLiteral("begin transaction"), QStringLiteral("commit transaction")});
        EXPECT_TRUE(next.ok()) << next.error.toStdString();
    }
}

// Featured items, sub-items and rentals have no error block: a failure among them is reported but
// the batch goes on and commits the rest.
TEST_F(WriteFlow, FailingStatementWithoutErrorBlockKeepsTheRest) {
    batch::Offering o = newOffering();
    o.featured = {QStringLiteral("跨領域課程"), QStringLiteral("跨領域課程"), QStringLiteral("國際化課程")};
    const BatchResult r = run(batch::insertBatch(o));
    EXPECT_FALSE(r.errors.isEmpty()) << "the duplicate featured item should be reported";
    const QList<qint64> after = footprint(o.serial, o.group);
    EXPECT_EQ(after.mid(0, 9), (QList<qint64>{1, 2, 2, 2, 5, 2, 1, 3, after.at(8)}));
    EXPECT_GT(after.at(8), 0) << "rentals after the failing statement are stored";
    EXPECT_EQ(
        text(rows(db, QStringLiteral("select CDIO_NAME from VELM_DBASE.SEMECDIO where RSUBJ_SERNO=%1 order "
                                     "by CDIO_NAME")
                          .arg(o.serial))),
        text({{"國際化課程"}, {"跨領域課程"}}));
}

} // namespace
