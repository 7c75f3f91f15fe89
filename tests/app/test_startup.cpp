#include "db/FakeConnection.h"

#include "app/ConnectionChoice.h"
#include "app/Startup.h"
#include "common/ScriptedDialogs.h"
#include "db/Errors.h"

#include <QCoreApplication>
#include <QDialog>
#include <QEvent>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

namespace dudodu {
namespace {

TEST(ConnectionChoiceTest, CommandLineThenSettingsThenTheDemoDatabase) {
    QTemporaryDir dir;
    QSettings empty(dir.filePath("empty.ini"), QSettings::IniFormat);
    QSettings configured(dir.filePath("configured.ini"), QSettings::IniFormat);
    configured.setValue(kServerSettingKey, QStringLiteral("tls://db.example.edu:8443"));
    const QString demo = dir.filePath("demo");

    struct Case {
        const char* name;
        QString commandLine;
        const QSettings* settings;
        bool demo;
        TConnectionSetting::Kind kind;
        QString where;
    };
    const Case cases[] = {
        {"nothing set", "", &empty, true, TConnectionSetting::Kind::Embedded, demo},
        {"settings", "", &configured, false, TConnectionSetting::Kind::Tls, "db.example.edu"},
        {"command line wins", "embedded:" + dir.filePath("other"), &configured, false,
         TConnectionSetting::Kind::Embedded, dir.filePath("other")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QString error;
        const auto choice = ChooseConnection(c.commandLine, *c.settings, demo, &error);
        ASSERT_TRUE(choice) << error.toStdString();
        EXPECT_EQ(choice->demo, c.demo);
        EXPECT_EQ(choice->setting.kind, c.kind);
        EXPECT_EQ(c.kind == TConnectionSetting::Kind::Tls ? choice->setting.host : choice->setting.folder,
                  c.where);
    }

    QString error;
    EXPECT_FALSE(ChooseConnection(QStringLiteral("ftp://x"), empty, demo, &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(StartupTest, CreatesTheDataModuleAndEveryWindowOnce) {
    const auto windows = CreateWindows(std::make_unique<test::TFakeConnection>());
    ASSERT_TRUE(windows->DM);
    EXPECT_EQ(&windows->frmKURSPLAN->DM(), windows->DM.get());
    const std::pair<QWidget*, QString> captions[] = {
        {windows->frmLOGIN.get(), "dudodu Login to:fake"}, {windows->frmCLASSROOM.get(), "上課教室維護"},
        {windows->frmTeacher.get(), "教師基本資料維護"},   {windows->frmRULE.get(), "課規"},
        {windows->frmINSPECTION.get(), "科目檢核"},        {windows->f_update_prog.get(), "檔案更新"},
        {windows->frmBelong.get(), "支援開課系所"},        {windows->frmCrs.get(), "課綱連結對應單位"},
        {windows->Formfeatures.get(), "特色課程"},
    };
    for (const auto& [window, caption] : captions) {
        ASSERT_TRUE(window);
        EXPECT_EQ(window->windowTitle(), caption);
        // Only the main window's close ends the program.
        EXPECT_FALSE(window->testAttribute(Qt::WA_QuitOnClose)) << caption.toStdString();
    }
    EXPECT_TRUE(windows->frmKURSPLAN->testAttribute(Qt::WA_QuitOnClose));
}

TEST(StartupTest, EachMaintainButtonOpensItsPicker) {
    const auto windows = CreateWindows(std::make_unique<test::TFakeConnection>());
    TfrmKURSPLAN& main = *windows->frmKURSPLAN;
    const std::pair<QPushButton*, QDialog*> pickers[] = {{main.bbBelong, windows->frmBelong.get()},
                                                         {main.BitBtn2, windows->frmCrs.get()},
                                                         {main.BitBtn3, windows->Formfeatures.get()}};
    for (const auto& [button, picker] : pickers) {
        EXPECT_EQ(button->text(), QStringLiteral("維護"));
        button->setEnabled(true);
        button->click();
        EXPECT_TRUE(picker->isVisible()) << picker->windowTitle().toStdString();
        for (const auto& other : pickers) {
            if (other.second != picker) {
                EXPECT_FALSE(other.second->isVisible()) << other.second->windowTitle().toStdString();
            }
        }
        picker->close();
    }
}

// A widget whose handler fails the way handlers of the windows do.
class FailingWidget : public QWidget {
  protected:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::User) throw TDBError(QStringLiteral("無法刪除開課資料: locked"));
        return QWidget::event(event);
    }
};

TEST(StartupTest, AnErrorEndingAHandlerReachesTheDefaultErrorDisplay) {
    TScopedScriptedDialogs dialogs;
    FailingWidget widget;
    QEvent event(QEvent::User);
    EXPECT_NO_THROW(QCoreApplication::sendEvent(&widget, &event));
    ASSERT_EQ(dialogs->shown().size(), 1);
    EXPECT_EQ(dialogs->last().message.text, QStringLiteral("無法刪除開課資料: locked"));
    EXPECT_EQ(dialogs->last().message.icon, TMsgIcon::Stop);
}

} // namespace
} // namespace dudodu
