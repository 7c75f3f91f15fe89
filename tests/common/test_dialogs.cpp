#include "common/Helpers.h"
#include "common/ScriptedDialogs.h"
#include "db/Errors.h"

#include <gtest/gtest.h>

namespace dudodu {
namespace {

using B = TMsgButton;
using I = TMsgIcon;

struct AskCase {
    QString style;
    QList<TMsgButton> buttons;
    TMsgIcon icon;
    QString answer; // scripted; empty = the default button
    QString result;
};

TEST(AskBoxTest, StyleWordsChooseButtonsIconAndAnswer) {
    const AskCase cases[] = {
        {"YES|NO", {B::Yes, B::No}, I::None, "NO", "NO"},
        {"YES|NO", {B::Yes, B::No}, I::None, "YES", "YES"},
        {"yes|no|?", {B::Yes, B::No}, I::Question, "", "YES"},
        {"OK", {B::Ok}, I::None, "", "OK"},
        {"STOP", {B::Ok}, I::None, "", "OK"},
        {"", {B::Ok}, I::None, "", "OK"},
        {"OK|CANCEL", {B::Ok, B::Cancel}, I::None, "CANCEL", "CANCEL"},
        {"CANCEL", {B::Ok}, I::None, "", "OK"},
        {"YES|NO|CANCEL", {B::Yes, B::No, B::Cancel}, I::None, "CANCEL", "CANCEL"},
        {"OK|YES|NO|CANCEL", {B::Yes, B::No}, I::None, "NO", "NO"},
        {"OK|YES", {B::Yes, B::No}, I::None, "", "YES"},
        {"OK|X", {B::Ok}, I::Stop, "", "OK"},
        {"OK|HAND", {B::Ok}, I::Stop, "", "OK"},
        {"OK|!", {B::Ok}, I::Information, "", "OK"},
        {"OK|#", {B::Ok}, I::Information, "", "OK"},
        {"YES|NO|?|X", {B::Yes, B::No}, I::Warning, "", "YES"}, // 0x20 + 0x10 is the exclamation icon
    };
    for (const AskCase& c : cases) {
        SCOPED_TRACE(c.style.toStdString() + " answered " + c.answer.toStdString());
        TScopedScriptedDialogs dialogs;
        if (!c.answer.isEmpty()) dialogs->setNextAnswer(c.answer);
        EXPECT_EQ(AskBox(c.style, QStringLiteral("您確定要中斷連線 ?"), QStringLiteral("確認")), c.result);
        ASSERT_EQ(dialogs->shown().size(), 1);
        const TMessage& shown = dialogs->last().message;
        EXPECT_EQ(shown.buttons, c.buttons);
        EXPECT_EQ(shown.icon, c.icon);
        EXPECT_EQ(shown.text, QStringLiteral("您確定要中斷連線 ?"));
        EXPECT_EQ(shown.caption, QStringLiteral("確認"));
        EXPECT_TRUE(dialogs->problems().isEmpty());
    }
}

TEST(ScriptedDialogsTest, AnswersInOrderAndReportsAnswersNotOffered) {
    TScopedScriptedDialogs dialogs;
    dialogs->setNextAnswer("no");
    dialogs->setNextAnswer("CANCEL");
    EXPECT_EQ(AskBox("YES|NO", "first", "c"), "NO");
    EXPECT_EQ(AskBox("OK", "second", "c"), "OK"); // CANCEL is not on an OK box
    EXPECT_EQ(dialogs->problems().size(), 1);
    EXPECT_EQ(dialogs->pendingAnswers(), 0);

    dialogs->setNextFileName(QStringLiteral("/tmp/IM___98_1.htm"));
    EXPECT_EQ(Dialogs().saveFileName({"save", "IM___98_1.htm", "HTM (*.htm *.html)"}),
              QStringLiteral("/tmp/IM___98_1.htm"));
    EXPECT_EQ(Dialogs().saveFileName({"save", "x.htm", ""}), QString()); // nothing scripted: cancelled
    EXPECT_EQ(dialogs->saveRequests().size(), 2);
}

TEST(ScriptedDialogsTest, TheScopeRestoresThePreviousDialogs) {
    TScopedScriptedDialogs outer;
    {
        TScopedScriptedDialogs inner;
        ShowMessage(QStringLiteral("inner"));
        EXPECT_EQ(inner->shown().size(), 1);
    }
    ShowMessage(QStringLiteral("outer"));
    ASSERT_EQ(outer->shown().size(), 1);
    EXPECT_EQ(outer->last().message.text, QStringLiteral("outer"));
}

TEST(ShowExceptionTest, ShowsTheErrorTextWithAStopIcon) {
    TScopedScriptedDialogs dialogs;
    ShowException(TDBError(QStringLiteral("無法新增開課資料: [SUBJ] 重複")));
    ShowException(std::runtime_error("plain failure"));
    ASSERT_EQ(dialogs->shown().size(), 2);
    EXPECT_EQ(dialogs->shown()[0].message.text, QStringLiteral("無法新增開課資料: [SUBJ] 重複"));
    EXPECT_EQ(dialogs->shown()[0].message.icon, TMsgIcon::Stop);
    EXPECT_EQ(dialogs->shown()[1].message.text, QStringLiteral("plain failure"));
}

} // namespace
} // namespace dudodu
