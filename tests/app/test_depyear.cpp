// The editor's department-year lists over a private copy of the demo database with a few units and
// offerings of a year of their own (120), so that each list holds exactly the rows made here.
#include "LoggedInWindow.h"
#include "app/LoginForm.h"
#include "common/Helpers.h"
#include "common/NodeData.h"
#include "common/ScriptedDialogs.h"
#include "db/DataModule.h"
#include "db/EmbeddedConnection.h"
#include "engine/DemoFixture.h"
#include "forms/main/KursplanForm.h"
#include "model/OfferingRecord.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <gtest/gtest.h>

namespace dudodu {
namespace {

// Units of year 120: CS__ with a bachelor, an evening bachelor, a master's and a group class, and
// the teacher-education unit TH__ on its own. ZZ__ is a department with no units, used for the
// offerings an offering may continue (traced to itself).
const char* const kFixtureSql = R"(
insert ACADEMIC..tbZT_DEPYEAR (depyr_id, parent, year, depyr_code, dep_code, dep_name, DEP_ABBREV, d_type, location, s1_class)
values (9001, null, 120, 'CS__120D', 'CS__', '資訊系', '', 'D', 2, '')
insert ACADEMIC..tbZT_DEPYEAR (depyr_id, parent, year, depyr_code, dep_code, dep_name, DEP_ABBREV, d_type, location, s1_class)
values (9002, 9001, 120, 'CS__120B', 'CS__', '學士班', '', 'B', 2, '')
insert ACADEMIC..tbZT_DEPYEAR (depyr_id, parent, year, depyr_code, dep_code, dep_name, DEP_ABBREV, d_type, location, s1_class)
values (9003, 9001, 120, 'CS__120W', 'CS__', '進修學士班', '進學', 'B', 3, 'WS')
insert ACADEMIC..tbZT_DEPYEAR (depyr_id, parent, year, depyr_code, dep_code, dep_name, DEP_ABBREV, d_type, location, s1_class)
values (9004, 9001, 120, 'CS__120M', 'CS__', '碩士班', '碩士班一般組', 'M', 2, '')
insert ACADEMIC..tbZT_DEPYEAR (depyr_id, parent, year, depyr_code, dep_code, dep_name, DEP_ABBREV, d_type, location, s1_class)
values (9005, 9001, 120, 'CS__120G', 'CS__', '資訊系 ', '', 'G', 2, '')
insert ACADEMIC..tbZT_DEPYEAR (depyr_id, parent, year, depyr_code, dep_code, dep_name, DEP_ABBREV, d_type, location, s1_class)
values (9006, null, 120, 'TH__120', 'TH__', '中等教育學程', '中教', 'D', 1, '')
insert ACADEMIC..tbZT_depyr_year_trace (depyr_codea, depyr_codeb) values ('ZZ__120X', 'ZZ__119X')
insert VELM_DBASE..SEMESUBJECT (RSUBJ_SERNO, SUBJECT_GROUP, SUBJECT_ID, DEPARTMENT, YEAR, SEMESTER, S_NAME, MUST, CREDIT, term_id, status)
values (990001, 990001, 'Z1', 'ZZ__', 120, 1, '甲', '必', 3, '1', 2)
insert VELM_DBASE..SEMESUBJECT (RSUBJ_SERNO, SUBJECT_GROUP, SUBJECT_ID, DEPARTMENT, YEAR, SEMESTER, S_NAME, MUST, CREDIT, term_id, status)
values (990002, 990002, 'Z1', 'ZZ__', 118, 1, '甲', '必', 3, '1', 2)
insert VELM_DBASE..SEMESUBJECT (RSUBJ_SERNO, SUBJECT_GROUP, SUBJECT_ID, DEPARTMENT, YEAR, SEMESTER, S_NAME, MUST, CREDIT, term_id, status)
values (990003, 990003, 'Z2', 'ZZ__', 117, 1, '乙', '選', 2, '1', 2)
insert VELM_DBASE..SEMESUBJECT (RSUBJ_SERNO, SUBJECT_GROUP, SUBJECT_ID, DEPARTMENT, YEAR, SEMESTER, S_NAME, MUST, CREDIT, term_id, status)
values (990004, 990004, 'Z3', 'ZZ__', 116, 1, '丙', '選', 2, '1', 2)
insert VELM_DBASE..SEMESUBJECT (RSUBJ_SERNO, SUBJECT_GROUP, SUBJECT_ID, DEPARTMENT, YEAR, SEMESTER, S_NAME, MUST, CREDIT, term_id, status)
values (990005, 990005, 'Z4', 'ZZ__', 119, 1, '丁', '選', 2, '1', 1)
insert VELM_DBASE..SEMESUBJECT (RSUBJ_SERNO, SUBJECT_GROUP, SUBJECT_ID, DEPARTMENT, YEAR, SEMESTER, S_NAME, MUST, CREDIT, term_id, status)
values (990006, 990006, 'Z5', 'ZZ__', 119, 1, '戊', '選', 2, '2', 2)
insert VELM_DBASE..SEMESUBJECT (RSUBJ_SERNO, SUBJECT_GROUP, SUBJECT_ID, DEPARTMENT, YEAR, SEMESTER, S_NAME, MUST, CREDIT, term_id, status)
values (990007, 990007, 'Z6', 'ZZ__', 97, 1, '己', '選', 2, '1', 2)
insert VELM_DBASE..SEMESUBJECT (RSUBJ_SERNO, SUBJECT_GROUP, SUBJECT_ID, DEPARTMENT, YEAR, SEMESTER, S_NAME, MUST, CREDIT, term_id, status)
values (990008, 990008, 'Z7', 'ZZ__', 100, 1, '庚', '選', 2, '1', 2)
insert VELM_DBASE..SEMESUBJECT (RSUBJ_SERNO, SUBJECT_GROUP, SUBJECT_ID, DEPARTMENT, YEAR, SEMESTER, S_NAME, MUST, CREDIT, term_id, status)
values (990009, 990009, 'Z8', 'ZZ__', 96, 1, '辛', '選', 2, '1', 2)
)";

// A logged-in main window over the changed copy.
class Rig : public test::LoggedInWindow {
  public:
    explicit Rig(const QString& account, const char* moreSql = "")
        : LoggedInWindow(account, QString::fromUtf8(kFixtureSql) + QString::fromUtf8(moreSql)) {
        if (!main) return;
        main->edSYEAR->setText(QStringLiteral("120"));
        main->edcrsyear->setText(QStringLiteral("120"));
    }
};

// One item as the tests compare it: text, the code a record looks it up by, and the unit's fields.
struct Item {
    QString text, code;
    TNodedata node;
};

void ExpectItems(const QComboBox* combo, QList<Item> expected) {
    QList<Item> actual;
    for (int i = 0; i < combo->count(); ++i) {
        const TNodedata* node = ComboNodeData(combo, i);
        ASSERT_NE(node, nullptr) << i;
        actual.append({combo->itemText(i), ComboItemCode(combo, i), *node});
    }
    // Rows of one parent unit come in no fixed order.
    const auto byCode = [](const Item& a, const Item& b) { return a.code < b.code; };
    std::sort(actual.begin(), actual.end(), byCode);
    std::sort(expected.begin(), expected.end(), byCode);
    ASSERT_EQ(actual.size(), expected.size()) << combo->objectName().toStdString();
    for (int i = 0; i < int(actual.size()); ++i) {
        const TNodedata& a = actual[i].node;
        const TNodedata& e = expected[i].node;
        SCOPED_TRACE(expected[i].code.toStdString());
        EXPECT_EQ(actual[i].text, expected[i].text);
        EXPECT_EQ(actual[i].code, expected[i].code);
        EXPECT_EQ(a.year, e.year);
        EXPECT_EQ(a.location, e.location);
        EXPECT_EQ(a.dep_code, e.dep_code);
        EXPECT_EQ(a.d_type, e.d_type);
        EXPECT_EQ(a.s1_class, e.s1_class);
        EXPECT_EQ(a.depyr_code, e.depyr_code);
        EXPECT_EQ(a.crs_depyr_code, e.crs_depyr_code);
        EXPECT_EQ(a.rsubj_serno, e.rsubj_serno);
        EXPECT_EQ(a.depyr_id, 0);
        EXPECT_EQ(a.parent, 0);
    }
}

TNodedata Unit(int location, const QString& dep, const QString& kind, const QString& s1,
               const QString& code) {
    TNodedata node;
    node.year = 120;
    node.location = location;
    node.dep_code = dep;
    node.d_type = kind;
    node.s1_class = s1;
    node.depyr_code = code;
    return node;
}

TNodedata Syllabus(const QString& dep, const QString& code) {
    TNodedata node;
    node.dep_code = dep;
    node.crs_depyr_code = code;
    return node;
}

TNodedata Serial(const QString& serial) {
    TNodedata node;
    node.rsubj_serno = serial;
    return node;
}

class DepYearTest : public ::testing::Test {
  protected:
    TScopedScriptedDialogs dialogs;
};

TEST_F(DepYearTest, LoadersFillTheirItemsAndUnits) {
    Rig rig(QStringLiteral("office"));
    ASSERT_RIG(rig);
    rig.selectDepartment(QStringLiteral("CS__"));
    TfrmKURSPLAN& main = *rig.main;

    ASSERT_TRUE(main.LoadBelongList());
    ExpectItems(main.cbBELONG, {{"資訊系-學士班", "CS__120B", Unit(2, "CS__", "B", "", "CS__120B")},
                                {"資訊系-進學", "CS__120W", Unit(2, "CS__", "B", "WS", "CS__120W")},
                                {"資訊系-碩士班一般組", "CS__120M", Unit(2, "CS__", "M", "", "CS__120M")},
                                // Names equal after trimming blanks: the unit's name alone.
                                {"資訊系", "CS__120G", Unit(2, "CS__", "G", "", "CS__120G")}});

    ASSERT_TRUE(main.LoadClassTypeList());
    const QList<Item> classes{{"學士班(學)", "CS__120B", Unit(2, "CS__", "B", "", "CS__120B")},
                              {"進學(學)", "CS__120W", Unit(2, "CS__", "B", "WS", "CS__120W")},
                              {"一般組(碩)", "CS__120M", Unit(2, "CS__", "M", "", "CS__120M")}};
    ExpectItems(main.cbCLASSTYPE, classes);
    ExpectItems(main.cbFROM_CLASSTYPE, classes);
    EXPECT_EQ(main.cbCLASSTYPE->currentIndex(), -1);
    for (int i = 0; i < main.cbCLASSTYPE->count(); ++i)
        EXPECT_EQ(ComboNodeData(main.cbCLASSTYPE, i), ComboNodeData(main.cbFROM_CLASSTYPE, i)); // shared

    ASSERT_TRUE(main.LoadCrsDepyrList());
    ExpectItems(main.cbCrsDepyr_code, {{"120資訊系-學士班", "CS__120B", Syllabus("CS__", "CS__120B")},
                                       {"120資訊系-進學", "CS__120W", Syllabus("CS__", "CS__120W")},
                                       {"120資訊系-碩士班一般組", "CS__120M", Syllabus("CS__", "CS__120M")},
                                       {"120資訊系-資訊系 ", "CS__120G", Syllabus("CS__", "CS__120G")}});
    EXPECT_EQ(main.cbCrsDepyr_code->currentIndex(), -1);

    // A teacher-education department lists its own unit.
    main.FTeacherEduDeps = QStringList{QStringLiteral("TH__")};
    rig.selectDepartment(QStringLiteral("TH__"));
    ASSERT_TRUE(main.LoadClassTypeList());
    ExpectItems(main.cbCLASSTYPE, {{"中教", "TH__120", Unit(1, "TH__", "D", "", "TH__120")}});
    EXPECT_TRUE(dialogs->shown().isEmpty());
    EXPECT_FALSE(rig.dm->query1().active());
}

TEST_F(DepYearTest, TermListWindowAndSemester) {
    struct Case {
        QString year, semester;
        QList<Item> items;
    };
    // Year 120 looks back to 117; the first semester leaves out the year itself, so Z1 falls back to
    // its latest earlier offering. Stopped offerings and those not marked as first halves never show.
    const Case cases[] = {
        {"120",
         "2",
         {{"120甲必學分數3", "990001", Serial("990001")}, {"117乙選學分數2", "990003", Serial("990003")}}},
        {" 120 ",
         "1",
         {{"118甲必學分數3", "990002", Serial("990002")}, {"117乙選學分數2", "990003", Serial("990003")}}},
        {"119",
         "2",
         {{"118甲必學分數3", "990002", Serial("990002")},
          {"117乙選學分數2", "990003", Serial("990003")},
          {"116丙選學分數2", "990004", Serial("990004")}}},
        // The window's ends are texts of different lengths ('97' and '100'), compared as numbers.
        {"100",
         "2",
         {{"100庚選學分數2", "990008", Serial("990008")}, {"97己選學分數2", "990007", Serial("990007")}}},
    };
    Rig rig(QStringLiteral("office"));
    ASSERT_RIG(rig);
    rig.selectDepartment(QStringLiteral("ZZ__"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.year.toStdString() + "-" + c.semester.toStdString());
        rig.main->edSYEAR->setText(c.year);
        rig.main->edSEME->setText(c.semester);
        ASSERT_TRUE(rig.main->LoadTermList());
        ExpectItems(rig.main->cbTERM, c.items);
        EXPECT_EQ(rig.main->cbTERM->currentIndex(), -1);
    }
}

TEST_F(DepYearTest, ATypedYearThatIsNotANumberIsRefused) {
    Rig rig(QStringLiteral("office"));
    ASSERT_RIG(rig);
    rig.selectDepartment(QStringLiteral("CS__"));
    TfrmKURSPLAN& main = *rig.main;
    ASSERT_TRUE(main.LoadBelongList());
    ASSERT_TRUE(main.LoadTermList());
    ASSERT_GT(main.cbBELONG->count(), 0);
    const std::function<bool()> loaders[] = {[&] { return main.LoadBelongList(); },
                                             [&] { return main.LoadClassTypeList(); },
                                             [&] { return main.LoadTermList(); }};
    // The year box holds at most 4 characters.
    for (const QString& year :
         {QStringLiteral("1 or"), QStringLiteral("  "), QStringLiteral("1'2"), QStringLiteral("12-1")}) {
        main.edSYEAR->setText(year);
        for (const auto& load : loaders) {
            dialogs->clear();
            EXPECT_FALSE(load());
            ASSERT_EQ(dialogs->shown().size(), 1);
            EXPECT_EQ(dialogs->last().message.text, QStringLiteral("學年必須是數字 !"));
        }
    }
    // Refused lists are emptied, not left with the old department's units; cbTERM included.
    EXPECT_EQ(main.cbBELONG->count(), 0);
    EXPECT_EQ(main.cbCLASSTYPE->count(), 0);
    EXPECT_EQ(main.cbFROM_CLASSTYPE->count(), 0);
    EXPECT_EQ(main.cbTERM->count(), 0);
    main.edcrsyear->setText(QStringLiteral("12a"));
    dialogs->clear();
    EXPECT_FALSE(main.LoadCrsDepyrList());
    ASSERT_EQ(dialogs->shown().size(), 1);
    EXPECT_EQ(dialogs->last().message.text, QStringLiteral("課綱學年必須是數字 !"));
}

TEST_F(DepYearTest, TheQuoteOfADepartmentCodeIsDoubled) {
    Rig rig(QStringLiteral("office"));
    ASSERT_RIG(rig);
    rig.selectDepartment(QStringLiteral("C'S"));
    EXPECT_TRUE(rig.main->LoadClassTypeList());
    EXPECT_TRUE(rig.main->LoadTermList());
    EXPECT_EQ(rig.main->cbCLASSTYPE->count(), 0);
    EXPECT_EQ(rig.main->cbTERM->count(), 0);
}

TEST_F(DepYearTest, ClassTypeChangeSetsTheLevels) {
    Rig rig(QStringLiteral("office"));
    ASSERT_RIG(rig);
    TfrmKURSPLAN& main = *rig.main;
    rig.selectDepartment(QStringLiteral("CS__"));
    ASSERT_TRUE(main.LoadClassTypeList());
    const auto indexOf = [&](const QString& code) {
        for (int i = 0; i < main.cbCLASSTYPE->count(); ++i)
            if (ComboItemCode(main.cbCLASSTYPE, i) == code) return i;
        return -1;
    };

    // Nothing happens without an open offering.
    main.cbWORK_PLACE->setCurrentText(QStringLiteral("共同"));
    main.cbCLASSTYPE->setCurrentIndex(indexOf("CS__120W"));
    main.cbCLASSTYPEChange();
    EXPECT_EQ(main.cbWORK_PLACE->count(), 9);

    struct Case {
        QString dep, classCode;
        quint8 origin;
        QString before; // level shown before the change
        QStringList items;
        QString selected;
    };
    const Case cases[] = {
        {"CS__", "CS__120B", TRULE_SUBJECT::NewBlank, "", {"學一", "學二", "學三", "學四"}, "學一"},
        {"CS__", "CS__120W", TRULE_SUBJECT::NewBlank, "", {"夜一", "夜二", "夜三", "夜四"}, "夜一"},
        {"CS__", "CS__120M", TRULE_SUBJECT::NewBlank, "", {"碩士"}, "碩士"},
        // A stored offering keeps its level when the class offers it, else shows none.
        {"CS__", "CS__120W", TRULE_SUBJECT::FromDatabase, "夜三", {"夜一", "夜二", "夜三", "夜四"}, "夜三"},
        {"CS__", "CS__120M", TRULE_SUBJECT::FromDatabase, "夜三", {"碩士"}, ""},
        {"GC__", "CS__120B", TRULE_SUBJECT::NewBlank, "", {"通識", "校核心"}, "通識"},
        {"TH__",
         "",
         TRULE_SUBJECT::NewBlank,
         "",
         {"師培", "120甲", "120乙", "120丙", "119甲", "119乙", "119丙", "118甲", "118乙", "118丙", "學一",
          "學二", "學三", "學四"},
         "師培"},
    };
    main.FTeacherEduDeps = QStringList{QStringLiteral("TH__")};
    for (const Case& c : cases) {
        SCOPED_TRACE((c.dep + " " + c.classCode).toStdString());
        TRULE_SUBJECT subject(c.origin);
        main.SetCurrentSubject(&subject);
        rig.selectDepartment(c.dep);
        main.cbWORK_PLACE->clear();
        main.cbWORK_PLACE->addItem(c.before);
        main.cbWORK_PLACE->setCurrentIndex(0);
        main.cbCLASSTYPE->setCurrentIndex(indexOf(c.classCode));
        main.cbCLASSTYPEChange();
        QStringList items;
        for (int i = 0; i < main.cbWORK_PLACE->count(); ++i)
            items << main.cbWORK_PLACE->itemText(i);
        EXPECT_EQ(items, c.items);
        EXPECT_EQ(main.cbWORK_PLACE->currentText(), c.selected);
        main.SetCurrentSubject(nullptr);
    }
}

TEST_F(DepYearTest, ContinuationAndSyllabusYearHandlers) {
    Rig rig(QStringLiteral("office"));
    ASSERT_RIG(rig);
    TfrmKURSPLAN& main = *rig.main;
    rig.selectDepartment(QStringLiteral("ZZ__"));
    ASSERT_TRUE(main.LoadTermList());
    ASSERT_GT(main.cbTERM->count(), 0);

    // Ticking enables the list; unticking clears the choice.
    main.cbTerm_id->setCurrentText(QStringLiteral("2"));
    main.ckTERM->click();
    EXPECT_TRUE(main.cbTERM->isEnabled());
    main.cbTERM->setCurrentIndex(0);
    main.ckTERM->click();
    EXPECT_FALSE(main.cbTERM->isEnabled());
    EXPECT_EQ(main.cbTERM->currentIndex(), -1);

    // Only a second half keeps a continued offering.
    main.ckTERM->click();
    main.cbTERM->setCurrentIndex(0);
    main.cbTerm_id->setCurrentText(QStringLiteral("1"));
    EXPECT_FALSE(main.ckTERM->isChecked());
    EXPECT_EQ(main.cbTERM->currentIndex(), -1);

    // Typing a syllabus year lists its units; a year without units empties the list.
    rig.selectDepartment(QStringLiteral("CS__"));
    main.edcrsyear->clear();
    const auto type = [&](int key, const QString& text) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(main.edcrsyear, &press);
    };
    type(Qt::Key_1, QStringLiteral("1"));
    type(Qt::Key_2, QStringLiteral("2"));
    type(Qt::Key_0, QStringLiteral("0"));
    EXPECT_EQ(main.cbCrsDepyr_code->count(), 4);
    type(Qt::Key_Backspace, QString());
    EXPECT_EQ(main.cbCrsDepyr_code->count(), 0);
    EXPECT_TRUE(dialogs->shown().isEmpty());
}

TEST_F(DepYearTest, ScheduleKindSetsTheWorkingRoomLists) {
    Rig rig(QStringLiteral("office"));
    ASSERT_RIG(rig);
    TfrmKURSPLAN& main = *rig.main;
    const auto lines = [](const TCLASSROOMList& list) {
        return QStringList(list) << list.FRoomName << QString::number(list.FRoomIdNo)
                                 << QString::number(list.FLocation);
    };

    // Without an offering, or one without slots, nothing is chosen.
    TRULE_SUBJECT subject(TRULE_SUBJECT::FromDatabase);
    for (TRULE_SUBJECT* open : {static_cast<TRULE_SUBJECT*>(nullptr), &subject}) {
        dialogs->clear();
        main.SetCurrentSubject(open);
        main.rgClassScheduleButtons->button(1)->click();
        ASSERT_EQ(dialogs->shown().size(), 1);
        EXPECT_EQ(dialogs->last().message.text, QStringLiteral("請先載入資料"));
    }
    subject.FClassRoom1->append(QStringLiteral("1=3"));
    subject.FClassRoom1->append(QStringLiteral("1=4"));
    subject.FClassRoom1->FRoomName = QStringLiteral("理學院101");
    subject.FClassRoom1->FRoomIdNo = 12;
    subject.FClassRoom1->FLocation = 2;
    subject.FClassRoom2->append(QStringLiteral("3=5"));
    subject.FClassRoom2->FRoomName = QStringLiteral("理學院102");
    const QStringList own1 = lines(*subject.FClassRoom1);
    const QStringList own2 = lines(*subject.FClassRoom2);
    const QStringList own3 = lines(*subject.FClassRoom3);
    const QStringList empty{QString(), QStringLiteral("-1"), QStringLiteral("1")};
    const auto special = [](int kind) {
        return QStringList{QString::number(-kind) + QStringLiteral("=-1"), QStringLiteral("其他"),
                           QStringLiteral("-1"), QStringLiteral("3")};
    };

    struct Case {
        const char* name;
        bool office;
        int before; // FClassScheduleIndex: the kind the offering has
        int choice; // -1: none
        QString message;
        int shown; // the kind selected afterwards
        QStringList list1, list2, list3;
        bool roomButton;
    };
    const Case cases[] = {
        {"normal", false, 0, 0, "", 0, own1, own2, own3, true},
        {"summer", false, 0, 1, "", 1, special(1), empty, empty, false},
        {"arranged", false, 0, 3, "", 3, special(3), empty, empty, false},
        {"office inter-school", true, 0, 4, "", 4, special(4), empty, empty, false},
        {"inter-school refused", false, 0, 4, "校際選課選項只供教務處課務組成員設定", 0, own1, own2, own3,
         true},
        {"leaving inter-school refused", false, 4, 2, "校際選課課程只供教務處課務組成員設定", 4, special(4),
         empty, empty, false},
        {"office leaves inter-school", true, 4, 2, "", 2, special(2), empty, empty, false},
        {"none", false, 0, -1, "", -1, {}, {}, {}, false},
    };
    main.SetCurrentSubject(&subject);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dialogs->clear();
        main.FIsCurriculumOffice = c.office;
        main.FClassScheduleIndex = c.before;
        // Time lists left over from an earlier choice.
        *static_cast<QStringList*>(main.FTimeList1.get()) = QStringList{QStringLiteral("7=7")};
        *static_cast<QStringList*>(main.FTimeList2.get()) = QStringList{QStringLiteral("7=8")};
        main.bbCLASSROOM1->setEnabled(!c.roomButton);
        if (c.choice >= 0) {
            main.rgClassScheduleButtons->button(c.choice)->click();
        } else {
            main.SetClassScheduleItemIndex(-1);
            main.rgClassScheduleClick();
        }
        if (c.message.isEmpty()) {
            EXPECT_TRUE(dialogs->shown().isEmpty());
        } else {
            ASSERT_EQ(dialogs->shown().size(), 1);
            EXPECT_EQ(dialogs->last().message.text, c.message);
        }
        EXPECT_EQ(main.ClassScheduleItemIndex(), c.shown);
        EXPECT_EQ(main.bbCLASSROOM1->isEnabled(), c.roomButton);
        if (c.choice < 0) {
            EXPECT_TRUE(main.FTimeList1->isEmpty());
            EXPECT_TRUE(main.FTimeList2->isEmpty());
            EXPECT_TRUE(main.FTimeList3->isEmpty());
            continue;
        }
        EXPECT_EQ(lines(*main.FTimeList1), c.list1);
        EXPECT_EQ(lines(*main.FTimeList2), c.list2);
        EXPECT_EQ(lines(*main.FTimeList3), c.list3);
    }
    // The offering's own lists are never changed by a choice.
    EXPECT_EQ(lines(*subject.FClassRoom1), own1);
    main.SetCurrentSubject(nullptr);
}

// EDU_ as a second department of year 120, and a rule subject whose prerequisites differ by the
// unit they are read for: the own department's code, the own bachelor class and EDU_'s class.
const char* const kSupportSql = R"(
insert ACADEMIC..tbZT_DEPYEAR (depyr_id, parent, year, depyr_code, dep_code, dep_name, DEP_ABBREV, d_type, location, s1_class)
values (9010, null, 120, 'EDU_120D', 'EDU_', '教育系', '', 'D', 1, '')
insert ACADEMIC..tbZT_DEPYEAR (depyr_id, parent, year, depyr_code, dep_code, dep_name, DEP_ABBREV, d_type, location, s1_class)
values (9011, 9010, 120, 'EDU_120B', 'EDU_', '學士班', '', 'B', 1, '')
insert VELM_DBASE..rule_subject (subject_sysno, subject_id, subject_name) values (990100, 'R1', '主科')
insert VELM_DBASE..rule_subject (subject_sysno, subject_id, subject_name) values (990101, 'P1', '前一')
insert VELM_DBASE..rule_subject (subject_sysno, subject_id, subject_name) values (990102, 'P2', '前二')
insert VELM_DBASE..rule_subject (subject_sysno, subject_id, subject_name) values (990103, 'P3', '前三')
insert VELM_DBASE..rule_subject_previous (subject_sysno, depyr_code, pre_type, pre_subject_sysno) values (990100, 'CS__', '*', 990101)
insert VELM_DBASE..rule_subject_previous (subject_sysno, depyr_code, pre_type, pre_subject_sysno) values (990100, 'EDU_120B', '#', 990102)
insert VELM_DBASE..rule_subject_previous (subject_sysno, depyr_code, pre_type, pre_subject_sysno) values (990100, 'CS__120B', '*', 990103)
)";

TEST_F(DepYearTest, SupportingDepartmentFollowsTheChosenUnit) {
    Rig rig(QStringLiteral("office"), kSupportSql);
    ASSERT_RIG(rig);
    TfrmKURSPLAN& main = *rig.main;
    rig.selectDepartment(QStringLiteral("CS__"));
    ASSERT_TRUE(main.LoadBelongList());
    ASSERT_TRUE(main.LoadCrsDepyrList());
    const auto indexOf = [](const QComboBox* combo, const QString& code) {
        for (int i = 0; i < combo->count(); ++i)
            if (ComboNodeData(combo, i)->depyr_code == code ||
                ComboNodeData(combo, i)->crs_depyr_code == code)
                return i;
        return -1;
    };
    const int eduClass = indexOf(main.cbBELONG, QStringLiteral("EDU_120B"));
    const int ownClass = indexOf(main.cbBELONG, QStringLiteral("CS__120B"));
    ASSERT_GE(eduClass, 0);
    ASSERT_GE(ownClass, 0);
    const auto shown = [&] {
        QStringList lines;
        for (int i = 0; i < main.lbPRE_SUBJECT->count(); ++i)
            lines << main.lbPRE_SUBJECT->item(i)->text();
        return lines;
    };
    const auto choose = [&](int index) {
        main.cbBELONG->setCurrentIndex(index);
        emit main.cbBELONG->activated(index);
    };

    TRULE_SUBJECT subject(TRULE_SUBJECT::FromDatabase);
    subject.SetRuleDesg(
        std::make_unique<TRuleDesg>(&rig.dm->q_tmp(), 990100, -1, QStringLiteral("CS__120B"), 0));
    ASSERT_EQ(subject.PreSubjects(), QStringList{QStringLiteral("*前三")});
    main.SetCurrentSubject(&subject);

    // Ticking starts afresh: no department, no note, the rule's prerequisites for the own department.
    main.cbBELONG->setCurrentIndex(eduClass);
    main.edNOTE->setText(QStringLiteral("舊註記"));
    main.ckBELONG->click();
    EXPECT_EQ(main.cbBELONG->currentIndex(), -1);
    EXPECT_TRUE(main.edNOTE->text().isEmpty());
    EXPECT_EQ(subject.PreSubjects(), QStringList{QStringLiteral("*前一")});
    EXPECT_EQ(shown(), QStringList{QStringLiteral("*前一")});

    // Another department: its class's prerequisites, the note, and its syllabus unit.
    main.cbCrsDepyr_code->setCurrentIndex(-1);
    choose(eduClass);
    EXPECT_EQ(subject.PreSubjects(), QStringList{QStringLiteral("#前二")});
    EXPECT_EQ(shown(), QStringList{QStringLiteral("#前二")});
    EXPECT_EQ(main.edNOTE->text(), QStringLiteral("支援教育系-學士班"));
    EXPECT_EQ(main.cbCrsDepyr_code->currentIndex(),
              indexOf(main.cbCrsDepyr_code, QStringLiteral("EDU_120B")));

    // The own department: no note, the prerequisites stay; the syllabus unit still follows.
    choose(ownClass);
    EXPECT_TRUE(main.edNOTE->text().isEmpty());
    EXPECT_EQ(subject.PreSubjects(), QStringList{QStringLiteral("#前二")});
    EXPECT_EQ(main.cbCrsDepyr_code->currentIndex(),
              indexOf(main.cbCrsDepyr_code, QStringLiteral("CS__120B")));

    // A language-centre course keeps its syllabus unit.
    main.edSUBJECT_ID->setText(QStringLiteral("SL__0001"));
    choose(eduClass);
    EXPECT_EQ(main.cbCrsDepyr_code->currentIndex(),
              indexOf(main.cbCrsDepyr_code, QStringLiteral("CS__120B")));
    EXPECT_EQ(main.edNOTE->text(), QStringLiteral("支援教育系-學士班"));

    // Unticked, a choice changes nothing.
    main.ckBELONG->click();
    ASSERT_FALSE(main.ckBELONG->isChecked());
    main.edNOTE->setText(QStringLiteral("留著"));
    choose(eduClass);
    EXPECT_EQ(main.edNOTE->text(), QStringLiteral("留著"));

    // A new blank offering has no rule: ticking only clears.
    auto blank = std::make_unique<TRULE_SUBJECT>(TRULE_SUBJECT::NewBlank);
    blank->SetRuleDesg(TRuleDesg::CreateEmpty(&rig.dm->q_tmp()));
    blank->PreSubjects().append(QStringLiteral("手填"));
    TRULE_SUBJECT* open = blank.get();
    main.SetCurrentSubject(std::move(blank));
    main.ckBELONG->click();
    EXPECT_EQ(open->PreSubjects(), QStringList{QStringLiteral("手填")});
    EXPECT_TRUE(main.edNOTE->text().isEmpty());
    EXPECT_TRUE(dialogs->shown().isEmpty());
    main.SetCurrentSubject(nullptr);
}

} // namespace
} // namespace dudodu
