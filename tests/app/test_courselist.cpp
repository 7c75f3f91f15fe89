// The course list of the main window over a private copy of the demo database: what each kind of
// user gets after "載入資料", the rows and their order, reselection, refused years and reloads.
#include "app/LoginForm.h"
#include "common/Helpers.h"
#include "common/HtmlGrid.h"
#include "common/ScriptedDialogs.h"
#include "db/DataModule.h"
#include "db/EmbeddedConnection.h"
#include "engine/DemoFixture.h"
#include "forms/main/KursplanForm.h"
#include "LoggedInWindow.h"
#include "model/OfferingRecord.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <gtest/gtest.h>

namespace dudodu {
namespace {

const QString kLoadCaption = QStringLiteral("載入資料");

// One offering as stored, read independently of the window.
struct Stored {
    int serial;
    int status;
};

// A logged-in main window showing CS__, year 115, semester 2, ready for the load phase.
class Rig : public test::LoggedInWindow {
  public:
    explicit Rig(const QString& account) : LoggedInWindow(account) {
        if (!main) return;
        main->btCONNECT->setText(kLoadCaption);
        main->edSYEAR->setText(QStringLiteral("115"));
        main->edSEME->setText(QStringLiteral("2"));
        main->edcrsyear->setText(QStringLiteral("115"));
        selectDepartment(QStringLiteral("CS__"));
    }

    void selectDepartment(const QString& code) {
        LoggedInWindow::selectDepartment(code);
        main->cbLoginDepIDChange();
    }

    QList<Stored> stored(const QString& dep, int year, int semester) {
        QList<Stored> rows;
        TQueryDataSet& query = dm->q_tmp1();
        query.setSQL(
            QStringLiteral("select RSUBJ_SERNO, status from VELM_DBASE..SEMESUBJECT where DEPARTMENT='%1' "
                           "and YEAR=%2 and SEMESTER=%3")
                .arg(dep)
                .arg(year)
                .arg(semester));
        for (query.open(); !query.eof(); query.next())
            rows.append({query.field(0).asInteger(), query.field(1).asInteger()});
        query.close();
        return rows;
    }

    QList<TRULE_SUBJECT*> records() const {
        QList<TRULE_SUBJECT*> result;
        for (int row = 1; row < main->SG2->RowCount(); ++row)
            result.append(main->RowSubject(row));
        return result;
    }

};

class CourseListTest : public ::testing::Test {
  protected:
    TScopedScriptedDialogs dialogs;
};

// The list's order: the level's first character descending, then the rest of the level, then the code.
bool ListedBefore(const TRULE_SUBJECT& a, const TRULE_SUBJECT& b) {
    const QString a0 = a.FWorkPlace.left(1), b0 = b.FWorkPlace.left(1);
    if (a0 != b0) return a0 > b0;
    const QString a1 = a.FWorkPlace.mid(1), b1 = b.FWorkPlace.mid(1);
    if (a1 != b1) return a1 < b1;
    return a.FSubjectId <= b.FSubjectId;
}

TEST_F(CourseListTest, EachKindOfUserGetsItsRowsAndControls) {
    struct Case {
        QString account;
        bool office;
        QString p3d; // caption of the bottom panel
    };
    const Case cases[] = {
        {"CS__", false, "電機資訊學院 資訊工程學系"},
        {"cssuser", false, "電機資訊學院 資訊工程學系"},
        {"office", true, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.account.toStdString());
        dialogs->clear();
        Rig rig(c.account);
        ASSERT_RIG(rig);
        TfrmKURSPLAN& main = *rig.main;
        dialogs->clear();
        main.btCONNECTClick();

        if (c.office) {
            ASSERT_EQ(dialogs->shown().size(), 1);
            EXPECT_EQ(dialogs->last().message.text, QStringLiteral("您是以超級密碼進入 !"));
            EXPECT_EQ(dialogs->last().message.caption, QStringLiteral("告知"));
        } else {
            EXPECT_TRUE(dialogs->shown().isEmpty());
        }
        EXPECT_EQ(main.btCONNECTTag, 1);
        EXPECT_EQ(main.p3d->text(), c.p3d);

        // Rows: every stored offering, without status 1 for anyone but the office.
        QList<int> expected, shown;
        bool hasStopped = false;
        for (const Stored& s : rig.stored(QStringLiteral("CS__"), 115, 2)) {
            hasStopped = hasStopped || s.status == 1;
            if (c.office || s.status != 1) expected.append(s.serial);
        }
        ASSERT_TRUE(hasStopped) << "the demo data should hold a stopped offering";
        const QList<TRULE_SUBJECT*> records = rig.records();
        for (int i = 0; i < records.size(); ++i) {
            const TRULE_SUBJECT* record = records[i];
            ASSERT_NE(record, nullptr) << "row " << i + 1;
            EXPECT_EQ(record->FGridRow, i + 1);
            EXPECT_EQ(record->FOrigin, TRULE_SUBJECT::FromDatabase);
            EXPECT_EQ(main.SG2->Cells(0, i + 1), record->FSubjectId);
            EXPECT_EQ(main.SG2->Cells(13, i + 1), StatusToText(record->FStatus));
            if (i > 0) {
                EXPECT_TRUE(ListedBefore(*records[i - 1], *record)) << "row " << i + 1;
            }
            shown.append(record->FRsubjSerno);
        }
        std::sort(expected.begin(), expected.end());
        std::sort(shown.begin(), shown.end());
        EXPECT_EQ(shown, expected);

        // What each kind of user may use.
        for (QWidget* widget : std::initializer_list<QWidget*>{main.bbEDIT_SUBJ_ID, main.bbINSPECTION,
                                                               main.bbADDNEW, main.cbSaveAs})
            EXPECT_EQ(!widget->isHidden(), c.office) << widget->objectName().toStdString();
        EXPECT_FALSE(main.paSTATUS->isHidden());
        EXPECT_EQ(main.cbSTATUS->count(), c.office ? 5 : 2);
        EXPECT_EQ(main.cbSTATUS->currentText(), QStringLiteral("正常"));
        EXPECT_EQ(main.edS_NAME->isReadOnly(), !c.office);
        EXPECT_EQ(main.bbGC_FIEILD->isEnabled(), c.office);
        // The demo's edit setting does not unlock editing for other users.
        EXPECT_EQ(main.btSaveEdit->isEnabled(), !main.IsEditLocked());
        EXPECT_TRUE(main.btPrintSchedule->isEnabled());
        EXPECT_GT(main.lsGCSPHERE->count(), 0);
        EXPECT_EQ(main.cbCLASSTYPE->currentIndex(), -1);
    }
}

TEST_F(CourseListTest, LoadPhaseRefusals) {
    Rig rig(QStringLiteral("cssuser"));
    ASSERT_RIG(rig);
    TfrmKURSPLAN& main = *rig.main;
    main.btCONNECTClick();
    const int rows = main.SG2->RowCount();
    ASSERT_GT(rows, 2);

    struct Case {
        QString depId, year, semester, message;
    };
    const Case cases[] = {
        {"  ", "115", "2", "請先輸入系所密碼 !"}, {"XX__", "115", "2", "您輸入的密碼是錯的,請重新輸入!"},
        {"CS__", "11a", "2", "學年必須是數字 !"}, {"CS__", "115;", "2", "學年必須是數字 !"},
        {"CS__", "", "2", "學年必須是數字 !"},    {"CS__", "115", "x", "學期必須是數字 !"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.depId + "/" + c.year + "/" + c.semester).toStdString());
        main.edDEP_ID->setText(c.depId);
        main.edSYEAR->setText(c.year);
        main.edSEME->setText(c.semester);
        dialogs->clear();
        main.btCONNECTClick();
        ASSERT_EQ(dialogs->shown().size(), 1);
        EXPECT_EQ(dialogs->last().message.text, c.message);
        // The grid keeps its previous content.
        EXPECT_EQ(main.SG2->RowCount(), rows);
        EXPECT_NE(main.RowSubject(1), nullptr);
    }
}

TEST_F(CourseListTest, ANonNumberYearOrSemesterSendsNothing) {
    Rig rig(QStringLiteral("office"));
    ASSERT_RIG(rig);
    TfrmKURSPLAN& main = *rig.main;
    ASSERT_TRUE(main.LoadCourseList());
    const QList<TRULE_SUBJECT*> before = rig.records();
    main.FTeacherEduDeps = QStringList{QStringLiteral("sentinel")};

    // The boxes hold at most 4 and 1 characters.
    const QString years[][2] = {{"1=1", "2"}, {"1 15", "2"}, {"115", ";"}, {"115", " "}};
    for (const auto& typed : years) {
        SCOPED_TRACE(typed[0].toStdString() + "/" + typed[1].toStdString());
        main.edSYEAR->setText(typed[0]);
        main.edSEME->setText(typed[1]);
        dialogs->clear();
        EXPECT_FALSE(main.LoadCourseList());
        EXPECT_EQ(dialogs->shown().size(), 1);
        EXPECT_EQ(rig.records(), before); // the same records: nothing was cleared or reloaded
        EXPECT_EQ(main.FTeacherEduDeps, QStringList{QStringLiteral("sentinel")});
    }

    // Blanks around the numbers are allowed and sent as typed.
    main.edSYEAR->setText(QStringLiteral(" 115"));
    main.edSEME->setText(QStringLiteral("2"));
    dialogs->clear();
    ASSERT_TRUE(main.LoadCourseList());
    EXPECT_EQ(rig.records().size(), before.size());
}

TEST_F(CourseListTest, ReloadFreesRecordsAndReselectsTheSubject) {
    Rig rig(QStringLiteral("office"));
    ASSERT_RIG(rig);
    TfrmKURSPLAN& main = *rig.main;
    ASSERT_TRUE(main.LoadCourseList());
    const int last = main.SG2->RowCount() - 1;
    ASSERT_GT(last, 2);

    // The editor holds a row's record: a reload frees it and the editor lets go of it.
    main.SetCurrentSubject(main.RowSubject(2));

    // The first row with the code is selected again, also when it is the last row.
    for (int target : {last, 2}) {
        const QString code = main.SG2->Cells(0, target);
        int first = target;
        for (int row = target - 1; row >= 1; --row)
            if (main.SG2->Cells(0, row) == code) first = row;
        main.edSUBJECT_ID->setText(QStringLiteral(" ") + code + QStringLiteral(" "));
        main.SG2->setRow(1);
        ASSERT_TRUE(main.LoadCourseList());
        EXPECT_EQ(main.FCurrentSubject, nullptr);
        EXPECT_EQ(main.edSUBJECT_ID->text(), code);
        EXPECT_EQ(main.SG2->Row(), first) << code.toStdString();
    }

    // A year without offerings: the title row and one empty row.
    main.edSYEAR->setText(QStringLiteral("130"));
    ASSERT_TRUE(main.LoadCourseList());
    EXPECT_EQ(main.SG2->RowCount(), 2);
    EXPECT_EQ(main.RowSubject(1), nullptr);
    for (int col = 0; col < TfrmKURSPLAN::kGridColumns; ++col)
        EXPECT_TRUE(main.SG2->Cells(col, 1).isEmpty()) << col;
    EXPECT_EQ(main.SG2->Cells(0, 0), QStringLiteral("科目代碼"));
}

TEST_F(CourseListTest, ChangesOfYearAndDepartmentDoNotReload) {
    Rig rig(QStringLiteral("cssuser"));
    ASSERT_RIG(rig);
    TfrmKURSPLAN& main = *rig.main;
    main.btCONNECTClick();
    const QList<TRULE_SUBJECT*> before = rig.records();
    ASSERT_EQ(main.btCONNECTTag, 1);

    main.btSaveEdit->setEnabled(true);
    main.edSEME->setText(QStringLiteral("1"));
    EXPECT_EQ(main.btSaveEdit->isEnabled(), !main.IsEditLocked());
    main.FEditSetting = QStringLiteral("讀寫");
    main.edSYEAR->setText(QStringLiteral("114"));
    EXPECT_TRUE(main.btSaveEdit->isEnabled());
    EXPECT_TRUE(main.bbMtTeacher->isEnabled());

    rig.selectDepartment(QStringLiteral("GC__"));
    EXPECT_EQ(main.btCONNECTTag, 0);
    EXPECT_EQ(main.edDEP_ID->text(), QStringLiteral("GC__"));
    EXPECT_EQ(rig.records(), before);
}

} // namespace
} // namespace dudodu
