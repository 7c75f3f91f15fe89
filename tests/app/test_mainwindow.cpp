#include "db/FakeConnection.h"

#include "common/Helpers.h"
#include "common/HtmlGrid.h"
#include "common/ScriptedDialogs.h"
#include "db/DataModule.h"
#include "forms/main/KursplanForm.h"
#include "model/OfferingRecord.h"

#include <QComboBox>
#include <QPushButton>
#include <gtest/gtest.h>

namespace dudodu {
namespace {

// An offering record that reports how often it is freed.
struct CountedSubject : TRULE_SUBJECT {
    CountedSubject(quint8 origin, int* frees) : TRULE_SUBJECT(origin), frees(frees) {}
    ~CountedSubject() override { ++*frees; }
    int* frees;
};

class MainWindowTest : public ::testing::Test {
  protected:
    // Puts a record into a grid row, as the course list does.
    CountedSubject* addRowRecord(TfrmKURSPLAN& window, int row, int* frees) {
        if (window.SG2->RowCount() <= row) window.SG2->setRowCount(row + 1);
        auto record = std::make_unique<CountedSubject>(TRULE_SUBJECT::FromDatabase, frees);
        CountedSubject* raw = record.get();
        raw->FGrid = window.SG2;
        raw->FGridRow = row;
        window.SG2->setObject(row, std::move(record));
        return raw;
    }

    TScopedScriptedDialogs dialogs;
    TDM dm{std::make_unique<test::TFakeConnection>()};
};

TEST_F(MainWindowTest, CourseGridHas24ColumnsWithTheirTitles) {
    TfrmKURSPLAN window(dm);
    EXPECT_EQ(window.SG2->ColCount(), 24);
    EXPECT_EQ(window.SG2->RowCount(), 2);
    const std::pair<int, QString> titles[] = {
        {0, "科目代碼"},
        {3, "開課班別"},
        {8, "限修<BR>模式"},
        {13, "狀態"},
        {15, "*:先修科目<BR>#:背景科目"},
        {20, "被支援<BR>系所"},
        {22, "全學年上下連貫之科目"},
        {23, "上學期關聯科目"},
    };
    for (const auto& [col, title] : titles)
        EXPECT_EQ(window.SG2->Cells(col, 0), title) << col;
    EXPECT_EQ(window.SG2->ColWidths(0), 89);
    EXPECT_EQ(window.SG2->ColWidths(18), 64);
    EXPECT_EQ(window.SG2->objectName(), QStringLiteral("SG2"));
    // A title with a line break makes the title row two lines high.
    EXPECT_GE(window.SG2->RowHeights(0), 2 * QFontMetrics(window.SG2->font()).height());
}

TEST_F(MainWindowTest, StartsWithTheDesignState) {
    TfrmKURSPLAN window(dm);
    EXPECT_EQ(window.FEditSetting, QStringLiteral("讀"));
    EXPECT_FALSE(window.FIsCurriculumOffice);
    EXPECT_EQ(window.btCONNECT->text(), QStringLiteral("連線上網"));
    for (QWidget* work :
         std::initializer_list<QWidget*>{window.btSaveEdit, window.btClassPlan, window.cbCLASSTYPE,
                                         window.btAddClass, window.btPrintSchedule, window.btPrintTcher})
        EXPECT_FALSE(work->isEnabled()) << work->objectName().toStdString();
    window.EnableWorkButtons(true);
    for (QWidget* work :
         std::initializer_list<QWidget*>{window.btSaveEdit, window.btClassPlan, window.cbCLASSTYPE,
                                         window.btAddClass, window.btPrintSchedule, window.btPrintTcher})
        EXPECT_TRUE(work->isEnabled()) << work->objectName().toStdString();
    EXPECT_FALSE(window.btSaveAsXLS->isEnabled()); // not one of the work buttons
    // The three working room lists exist from the start, empty and unbound.
    for (const TCLASSROOMList* list : {window.FTimeList1.get(), window.FTimeList2.get(), window.FTimeList3.get()}) {
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->SlotCount(), 0);
        EXPECT_EQ(list->GetClassRoomEditor(), nullptr);
    }
    EXPECT_EQ(window.FGCGroup.FQuotedCodes, QStringLiteral("'GC__','LB__','LC__','PEC_','CLC_'"));
}

TEST_F(MainWindowTest, AnsweringNoToTheCloseQuestionKeepsTheWindow) {
    TfrmKURSPLAN window(dm);
    window.show();
    dialogs->setNextAnswer("NO");
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.isVisible());
    ASSERT_EQ(dialogs->shown().size(), 1);
    EXPECT_EQ(dialogs->last().message.text, QStringLiteral("確定要結束程式嗎?"));
    EXPECT_EQ(dialogs->last().message.caption, QStringLiteral("訊息"));
    EXPECT_EQ(dialogs->last().message.buttons, (QList<TMsgButton>{TMsgButton::Yes, TMsgButton::No}));

    dialogs->setNextAnswer("YES");
    EXPECT_TRUE(window.close());
    EXPECT_FALSE(window.isVisible());
}

TEST_F(MainWindowTest, EditLockFollowsTheRoleAndTheExactSetting) {
    TfrmKURSPLAN window(dm);
    struct Case {
        bool office;
        QString setting;
        bool locked;
    };
    const Case cases[] = {
        {true, "讀", false}, {true, "", false},      {false, "讀寫", false},
        {false, "讀", true}, {false, "讀寫 ", true}, {false, "", true},
    };
    for (const Case& c : cases) {
        window.FIsCurriculumOffice = c.office;
        window.FEditSetting = c.setting;
        EXPECT_EQ(window.IsEditLocked(), c.locked) << c.office << " " << c.setting.toStdString();
    }
}

TEST_F(MainWindowTest, DepartmentTestsNeedASelectedDepartment) {
    TfrmKURSPLAN window(dm);
    window.FTeacherEduDeps = {QStringLiteral("TCE_")};
    EXPECT_EQ(window.CurrentDepCode(), QString());
    EXPECT_FALSE(window.IsTeacherEduDep());
    EXPECT_FALSE(window.IsGCGroupDep());

    AddCodedItem(window.cbLoginDepID, QStringLiteral("GC__:通識教育中心"), QStringLiteral("GC__"));
    AddCodedItem(window.cbLoginDepID, QStringLiteral("TCE_:師資培育"), QStringLiteral("TCE_"));
    window.cbLoginDepID->setCurrentIndex(0);
    EXPECT_EQ(window.CurrentDepCode(), QStringLiteral("GC__"));
    EXPECT_TRUE(window.IsGCGroupDep());
    EXPECT_FALSE(window.IsTeacherEduDep());
    window.cbLoginDepID->setCurrentIndex(1);
    EXPECT_FALSE(window.IsGCGroupDep());
    EXPECT_TRUE(window.IsTeacherEduDep());
    window.cbLoginDepID->setCurrentIndex(-1);
    EXPECT_EQ(window.CurrentDepCode(), QString());
}

TEST_F(MainWindowTest, DestroyingTheWindowFreesTheOpenNewOfferingAndEveryRowRecordOnce) {
    int blankFrees = 0;
    int rowFrees = 0;
    {
        TfrmKURSPLAN window(dm);
        addRowRecord(window, 1, &rowFrees);
        addRowRecord(window, 2, &rowFrees);
        window.SetCurrentSubject(std::make_unique<CountedSubject>(TRULE_SUBJECT::NewBlank, &blankFrees));
    }
    EXPECT_EQ(blankFrees, 1);
    EXPECT_EQ(rowFrees, 2);
}

TEST_F(MainWindowTest, OnlyTheOwnedNewOfferingIsFreedWhenReplaced) {
    int blankFrees = 0;
    int rowFrees = 0;
    TfrmKURSPLAN window(dm);
    CountedSubject* row = addRowRecord(window, 1, &rowFrees);
    // A row record that claims to be new is still the row's, not the editor's.
    row->FOrigin = TRULE_SUBJECT::NewBlank;

    window.SetCurrentSubject(std::make_unique<CountedSubject>(TRULE_SUBJECT::NewBlank, &blankFrees));
    window.SetCurrentSubject(row);
    EXPECT_EQ(blankFrees, 1);
    EXPECT_EQ(window.FCurrentSubject, row);
    window.SetCurrentSubject(nullptr);
    EXPECT_EQ(rowFrees, 0);

    // A new offering handed on to a grid row after saving is no longer the window's to free.
    window.SetCurrentSubject(std::make_unique<CountedSubject>(TRULE_SUBJECT::NewBlank, &blankFrees));
    window.SG2->setObject(1, window.ReleaseNewSubject());
    EXPECT_EQ(rowFrees, 1); // the row's previous record
    window.SetCurrentSubject(nullptr);
    EXPECT_EQ(blankFrees, 1);
    window.ClearCourseGrid();
    EXPECT_EQ(blankFrees, 2);
}

TEST_F(MainWindowTest, ClearingTheGridFreesRowRecordsAndForgetsTheOneBeingEdited) {
    int rowFrees = 0;
    TfrmKURSPLAN window(dm);
    addRowRecord(window, 1, &rowFrees);
    CountedSubject* edited = addRowRecord(window, 3, &rowFrees);
    window.SG2->setCells(0, 1, QStringLiteral("IM1234567"));
    window.SG2->setCells(0, 2, QStringLiteral("no record"));
    window.SetCurrentSubject(edited);

    window.ClearCourseGrid();
    EXPECT_EQ(rowFrees, 2);
    EXPECT_EQ(window.FCurrentSubject, nullptr);
    EXPECT_EQ(window.SG2->RowCount(), 2);
    EXPECT_EQ(window.SG2->Cells(0, 1), QString());
    EXPECT_EQ(window.SG2->Cells(3, 0), QStringLiteral("開課班別"));
}

} // namespace
} // namespace dudodu
