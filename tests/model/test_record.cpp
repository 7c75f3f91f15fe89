#include "ModelFixture.h"

#include "common/Helpers.h"
#include "db/Errors.h"
#include "model/OfferingRecord.h"

#include <QComboBox>

namespace dudodu {
namespace {

class RecordTest : public test::ModelDbTest {
  protected:
    void SetUp() override {
        test::ModelDbTest::SetUp();
        grid.setColCount(24);
        grid.setRowCount(3);
        AddCodedItem(&classType, QStringLiteral("數學一甲"), QStringLiteral("M1A"));
        AddCodedItem(&classType, QStringLiteral("數學二甲"), QStringLiteral("M2A"));
        AddCodedItem(&crsDepyr, QStringLiteral("數學系"), QStringLiteral("M00"));
        AddCodedItem(&term, QStringLiteral("上學期微積分"), QStringLiteral("77"));
        AddCodedItem(&belong, QStringLiteral("物理一甲"), QStringLiteral("P1A"));
    }

    std::unique_ptr<TRULE_SUBJECT> bound(int row = 1) {
        return TRULE_SUBJECT::CreateBound(TRULE_SUBJECT::FromDatabase, &term, &crsDepyr, &classType, &belong,
                                          row, &grid, query.get());
    }

    THtmlGrid grid;
    QComboBox classType, crsDepyr, term, belong;
};

TEST_F(RecordTest, CreateGivesTheCreationValuesAndNoLinks) {
    TRULE_SUBJECT record(TRULE_SUBJECT::NewBlank);
    EXPECT_EQ(record.FOrigin, TRULE_SUBJECT::NewBlank);
    EXPECT_EQ(record.FSeparator, QStringLiteral("<BR>"));
    EXPECT_EQ(record.FSemeEng, 2);
    EXPECT_EQ(record.FIsEval, 1);
    EXPECT_EQ(record.FStatus, 2);
    EXPECT_EQ(record.FIsExpand, 2);
    EXPECT_EQ(record.FSalaryGroup, 1);
    EXPECT_EQ(record.FTermId, QStringLiteral("0"));
    EXPECT_EQ(record.FGridRow, -1);
    EXPECT_FALSE(record.HasGridRow());
    EXPECT_TRUE(record.FTeachers->isEmpty());
    EXPECT_EQ(record.FClassRoom1, record.FClassRooms[0].get());
    EXPECT_EQ(record.FClassRoom3, record.FClassRooms[2].get());
    EXPECT_EQ(record.FClassRoom2->FRoomIdNo, 0);
    EXPECT_EQ(record.FRuleDesg, nullptr);
    EXPECT_FALSE(record.IsFromRule());

    record.FSubjectSysnoCache = 5;
    EXPECT_EQ(record.SubjectSysno(), 5);
    struct Probe {
        std::function<void()> call;
        QString message;
    };
    const Probe probes[] = {
        {[&] { record.PreSubjects(); }, "尚未載入先修科目資料！"},
        {[&] { record.Spheres(); }, "尚未載入通識領域資料！"},
    };
    for (const Probe& probe : probes) {
        try {
            probe.call();
            ADD_FAILURE() << "no error";
        } catch (const TAppError& error) {
            EXPECT_EQ(error.message(), probe.message);
        }
    }
}

TEST_F(RecordTest, BoundRecordWritesItsCells) {
    auto record = bound();
    record->SetRsubjSerno(77);
    struct Case {
        std::function<void(TRULE_SUBJECT&)> set;
        int col;
        QString text;
    };
    const Case cases[] = {
        {[](TRULE_SUBJECT& r) { r.SetSubjectId("M101"); }, 0, "M101"},
        {[](TRULE_SUBJECT& r) { r.SetSName("微積分"); }, 1, "微積分"},
        {[](TRULE_SUBJECT& r) { r.SetEName("Calculus"); }, 2, "Calculus"},
        {[](TRULE_SUBJECT& r) { r.SetDepyrCode("M2A"); }, 3, "數學二甲"},
        {[](TRULE_SUBJECT& r) { r.SetMust("必"); }, 4, "必"},
        {[](TRULE_SUBJECT& r) { r.SetCredit(3), r.SetHour(3), r.SetLab(0); }, 7,
         "學分:3<BR>上課:3<BR>實驗:0"},
        {[](TRULE_SUBJECT& r) { r.SetCredit(2.5), r.SetHour(0.1), r.SetLab(2); }, 7,
         "學分:2.5<BR>上課:0.1<BR>實驗:2"},
        {[](TRULE_SUBJECT& r) { r.SetSubjMode("2"); }, 8, "2"},
        {[](TRULE_SUBJECT& r) { r.SetSubjMode("x"); }, 8, "0"},
        {[](TRULE_SUBJECT& r) { r.SetLimit(60); }, 9, "60"}, // mode "0": stores 999, shows 60
        {[](TRULE_SUBJECT& r) { r.SetWorkPlace("碩專"); }, 10, "碩專"},
        {[](TRULE_SUBJECT& r) { r.SetSemeEng(1); }, 11, "是"},
        {[](TRULE_SUBJECT& r) { r.SetSemeEng(2); }, 11, "否"},
        {[](TRULE_SUBJECT& r) { r.SetIsEval(1); }, 12, "是"},
        {[](TRULE_SUBJECT& r) { r.SetIsEval(0); }, 12, "否"},
        {[](TRULE_SUBJECT& r) { r.SetStatus(1); }, 13, "停開"},
        {[](TRULE_SUBJECT& r) { r.SetNote("備註"); }, 14, "備註"},
        {[](TRULE_SUBJECT& r) { r.SetEpField("教育"); }, 17, "教育"},
        {[](TRULE_SUBJECT& r) { r.SetEvalGroup(4); }, 18, "4"},
        {[](TRULE_SUBJECT& r) { r.SetSalaryGroup(3); }, 19, "3"},
        {[](TRULE_SUBJECT& r) { r.SetBelongDepyrCode("P1A"); }, 20, "物理一甲"},
        {[](TRULE_SUBJECT& r) { r.SetBelongDepyrCode("NONE"); }, 20, "物理一甲"}, // no match: cell kept
        {[](TRULE_SUBJECT& r) { r.SetCrsDepyrCode("M00"); }, 21, "數學系"},
        {[](TRULE_SUBJECT& r) { r.SetTermId("1"); }, 22, "1"},
        {[](TRULE_SUBJECT& r) { r.SetTerm("77"); }, 23, ""}, // its own serial: cell and combo untouched
        {[](TRULE_SUBJECT& r) { r.SetTerm("55"); }, 23, ""}, // another one nobody lists: no selection
    };
    for (const Case& c : cases) {
        c.set(*record);
        EXPECT_EQ(grid.Cells(c.col, 1), c.text) << c.col << " " << c.text.toStdString();
    }
    EXPECT_EQ(record->FSubjMode, QStringLiteral("0"));
    EXPECT_EQ(record->FLimit, 999);
    record->SetSubjMode(QStringLiteral("1"));
    record->SetLimit(60);
    EXPECT_EQ(record->FLimit, 60);
    EXPECT_EQ(term.currentIndex(), -1);
    EXPECT_EQ(classType.currentIndex(), 1);
    EXPECT_EQ(grid.Cells(0, 2), QString()); // other rows untouched

    // A code no item carries clears the selection and the cell.
    record->SetDepyrCode(QStringLiteral("X"));
    EXPECT_EQ(classType.currentIndex(), -1);
    EXPECT_EQ(grid.Cells(3, 1), QString());

    // Its own serial leaves the selection alone.
    term.setCurrentIndex(0);
    record->SetRsubjSerno(55);
    record->SetTerm(QStringLiteral("55"));
    EXPECT_EQ(term.currentIndex(), 0);

    // The linked first-semester offering is looked up only while it is another one.
    term.setCurrentIndex(-1);
    record->SetRsubjSerno(78);
    record->SetTerm(QStringLiteral("77"));
    EXPECT_EQ(term.currentIndex(), 0);
    EXPECT_EQ(grid.Cells(23, 1), QStringLiteral("上學期微積分"));
}

TEST_F(RecordTest, BelongWithoutComboShowsTheCode) {
    auto record = TRULE_SUBJECT::CreateBound(TRULE_SUBJECT::FromDatabase, nullptr, nullptr, nullptr, nullptr,
                                             1, &grid, query.get());
    record->SetBelongDepyrCode(QStringLiteral("P1A"));
    EXPECT_EQ(grid.Cells(20, 1), QStringLiteral("P1A"));
    record->SetDepyrCode(QStringLiteral("M1A")); // no combo: nothing to look up
    EXPECT_EQ(grid.Cells(3, 1), QString());
}

TEST_F(RecordTest, UnboundRecordTouchesNoControl) {
    classType.setCurrentIndex(1);
    TRULE_SUBJECT record(TRULE_SUBJECT::FromRule);
    record.SetSubjectId(QStringLiteral("M101"));
    record.SetSName(QStringLiteral("微積分"));
    record.SetDepyrCode(QStringLiteral("M1A"));
    record.SetCredit(3);
    record.SetSubjMode(QStringLiteral("0"));
    record.SetLimit(10);
    record.SetStatus(3);
    record.SetBelongDepyrCode(QStringLiteral("P1A"));
    record.SetCrsDepyrCode(QStringLiteral("M00"));
    record.SetTerm(QStringLiteral("77"));
    record.SetSubjectGroup(5); // no dataset: nothing to load
    record.SetRuleDesg(std::make_unique<TRuleDesg>(query.get(), -1, -1, QString(), 5));
    EXPECT_EQ(record.FSName, QStringLiteral("微積分"));
    EXPECT_EQ(record.FLimit, 999);
    EXPECT_EQ(record.FSubjectGroup, 5);
    EXPECT_EQ(classType.currentIndex(), 1);
    for (int col = 0; col < 24; ++col)
        EXPECT_EQ(grid.Cells(col, 1), QString()) << col;

    // A grid without a row number, or a row number the grid does not have, is no binding.
    auto stale = bound(5);
    EXPECT_FALSE(stale->HasGridRow());
    stale->SetSName(QStringLiteral("x"));
}

class RecordLoadTest : public RecordTest {
  protected:
    void SetUp() override {
        RecordTest::SetUp();
        exec(
            QStringLiteral("insert VELM_DBASE..dn_tcher_mnger(tcher_no, tcher_cname) values(1234, '王大明')\n"
                           "insert VELM_DBASE..SEMETEACHER(SUBJECT_GROUP, seq, TCHER_NO, TCHER_NAME) "
                           "values(100, 2, -1, '待聘')\n"
                           "insert VELM_DBASE..SEMETEACHER(SUBJECT_GROUP, seq, TCHER_NO, TCHER_NAME) "
                           "values(100, 1, 1234, '舊名')"));
        const char* rooms[][5] = {
            {"100", "345", "A101", "3", "8"},  {"100", "345", "A101", "3", "7"},
            {"100", "346", "A101", "5", "1"},  {"100", "347", "B202 ", "1", "2"},
            {"100", "348", "B202", "2", "3"},  {"100", "349", "C303", "4", "4"},
            {"200", "-1", "其他", "-3", "-1"},
        };
        for (const auto& r : rooms)
            exec(QStringLiteral(
                     "insert VELM_DBASE..SEMECLASSROOM(SUBJECT_GROUP, room_id_no, classroom, weekday, "
                     "classno, location) values(%1, %2, '%3', %4, %5, %6)")
                     .arg(r[0], r[1], r[2], r[3], r[4], QString::fromUtf8(r[1]) == "-1" ? "3" : "1"));
    }
};

TEST_F(RecordLoadTest, SubjectGroupLoadsTeachersAndRooms) {
    auto record = bound();
    record->SetSubjectGroup(100);
    // The personnel name wins; a teacher without a personnel record keeps the stored name.
    EXPECT_EQ(*record->FTeachers, (QStringList{"1234=王大明", "-1=待聘"}));
    EXPECT_EQ(grid.Cells(5, 1), QStringLiteral("王大明<BR>待聘"));

    // Adjacent room ids with the same name share list 1, which keeps the first id; names differing
    // in trailing blanks make two lists; a fourth room is not held.
    const TCLASSROOMList& one = *record->FClassRoom1;
    EXPECT_EQ(one.FRoomIdNo, 345);
    EXPECT_EQ(one.FRoomName, QStringLiteral("A101"));
    EXPECT_EQ(one, (QStringList{"3=7", "3=8", "5=1"}));
    EXPECT_EQ(record->FClassRoom2->FRoomIdNo, 347);
    EXPECT_EQ(record->FClassRoom2->FRoomName, QStringLiteral("B202"));
    EXPECT_EQ(*record->FClassRoom2, QStringList{"1=2"});
    EXPECT_EQ(record->FClassRoom3->FRoomIdNo, 348);
    EXPECT_EQ(*record->FClassRoom3, QStringList{"2=3"});
    EXPECT_EQ(grid.Cells(6, 1), QStringLiteral("教室:A101<BR>星期3第7節<BR>星期3第8節<BR>星期5第1節<BR>"
                                               "教室:B202<BR>星期1第2節<BR>教室:B202<BR>星期2第3節<BR>"));
    EXPECT_FALSE(query->active());

    record->FYear = 113;
    record->FSemester = 1;
    EXPECT_EQ(record->GroupText(), QStringLiteral("11311234=王大明-1=待聘A1013=73=85=1B2021=2B2022=3"));
}

TEST_F(RecordLoadTest, SpecialScheduleLoadsAsOneItem) {
    auto record = bound();
    record->SetSubjectGroup(200);
    const TCLASSROOMList& one = *record->FClassRoom1;
    EXPECT_EQ(one.FRoomIdNo, -1);
    EXPECT_EQ(one.FLocation, 3);
    EXPECT_EQ(one, QStringList{"-3=-1"});
    EXPECT_TRUE(record->FClassRoom2->isEmpty());
    EXPECT_EQ(grid.Cells(6, 1), QStringLiteral("教室:其他<BR>與教師另行約定"));
    EXPECT_EQ(grid.Cells(5, 1), QString());
}

TEST_F(RecordLoadTest, RuleDesgFillsPrerequisiteAndFieldCells) {
    exec(QStringLiteral(
        "insert VELM_DBASE..SEMEGC_FIELD(SUBJECT_GROUP, seq, gc_code, gc_field) values(100, 1, 'A', '人文')\n"
        "insert VELM_DBASE..SEMEGC_FIELD(SUBJECT_GROUP, seq, gc_code, gc_field) values(100, 2, 'B', '自然')\n"
        "insert VELM_DBASE..SEMEOLD_PRESUBJ(SUBJECT_GROUP, seq, pre_subject_name) values(100, 1, '甲')\n"
        "insert VELM_DBASE..SEMEOLD_PRESUBJ(SUBJECT_GROUP, seq, pre_subject_name) values(100, 2, '乙')"));
    auto record = bound();
    record->SetSubjectGroup(100);
    grid.setCells(15, 1, QStringLiteral("舊"));
    // Without a curriculum subject the bound record reloads both lists from its own group.
    record->SetRuleDesg(TRuleDesg::CreateEmpty(query.get()));
    EXPECT_FALSE(record->IsFromRule());
    EXPECT_EQ(record->PreSubjects(), (QStringList{"甲", "乙"}));
    EXPECT_EQ(grid.Cells(15, 1), QStringLiteral("甲<BR>乙"));
    EXPECT_EQ(grid.Cells(16, 1), QStringLiteral("人文<BR>自然"));
    EXPECT_EQ(record->SubjectSysno(), -1);

    // No prerequisites leave cell 15 as it was.
    auto other = bound(2);
    grid.setCells(15, 2, QStringLiteral("舊"));
    other->SetSubjectGroup(999);
    other->SetRuleDesg(TRuleDesg::CreateEmpty(query.get()));
    EXPECT_EQ(grid.Cells(15, 2), QStringLiteral("舊"));
    EXPECT_EQ(grid.Cells(16, 2), QString());
    EXPECT_TRUE(other->Spheres().isEmpty());
}

TEST_F(RecordLoadTest, RuleDesgOfACurriculumSubjectKeepsTheRuleLists) {
    exec(QStringLiteral(
        "insert VELM_DBASE..rule_general_sphere(sphere_id, sphere_sname, sphere_default) values(1, '人文', "
        "0)\n"
        "insert VELM_DBASE..rule_subject_sphere(subject_sysno, dep_id, across_sphere) values(10, 'LB__', 1)\n"
        "insert VELM_DBASE..rule_subject(subject_sysno, subject_id, subject_name) values(20, 'M1', "
        "'微積分')\n"
        "insert VELM_DBASE..rule_subject_previous(subject_sysno, depyr_code, pre_type, pre_subject_sysno) "
        "values(10, 'D1', '*', 20)\n"
        "insert VELM_DBASE..SEMEOLD_PRESUBJ(SUBJECT_GROUP, seq, pre_subject_name) values(100, 1, '甲')"));
    auto record = bound();
    record->SetSubjectGroup(100);
    record->SetRuleDesg(std::make_unique<TRuleDesg>(query.get(), 10, 5, QStringLiteral("D1"), 100));
    EXPECT_TRUE(record->IsFromRule());
    EXPECT_EQ(record->SubjectSysno(), 10);
    EXPECT_EQ(record->FRuleDesg->FProgramId, 5);
    EXPECT_EQ(grid.Cells(15, 1), QStringLiteral("*微積分")); // not the offering's own rows
    EXPECT_EQ(grid.Cells(16, 1), QStringLiteral("人文"));

    // Replacing the link frees the old one; the cache keeps the last sysno read.
    record->SetRuleDesg(nullptr);
    EXPECT_EQ(record->SubjectSysno(), 10);
}

TEST_F(RecordLoadTest, UpdateStatusStoresTheCodeOrReportsFailure) {
    exec(QStringLiteral(
        "insert VELM_DBASE..SEMESUBJECT(RSUBJ_SERNO, SUBJECT_GROUP, SUBJECT_ID, DEPARTMENT, YEAR, "
        "SEMESTER, status) values(77, 100, 'M101', 'MATH', 113, 1, 2)"));
    auto record = bound();
    record->SetRsubjSerno(77);
    record->UpdateStatus(QStringLiteral("停選"));
    EXPECT_EQ(record->FStatus, 3);
    EXPECT_EQ(grid.Cells(13, 1), QStringLiteral("停選"));
    EXPECT_EQ(
        engine->execute(QStringLiteral("select status from VELM_DBASE..SEMESUBJECT where RSUBJ_SERNO=77"))
            .results.value(0)
            .rows.value(0)
            .value(0)
            .toInt(),
        3);

    connection->failWith = QStringLiteral("deadlock");
    try {
        record->UpdateStatus(QStringLiteral("停開"));
        ADD_FAILURE() << "no error";
    } catch (const TAppError& error) {
        EXPECT_EQ(error.message(), QStringLiteral("無法更改科目狀態。"));
    }
    EXPECT_EQ(record->FStatus, 3);
    EXPECT_EQ(grid.Cells(13, 1), QStringLiteral("停選"));
}

} // namespace
} // namespace dudodu
