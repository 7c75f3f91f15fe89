// The login window over a private copy of the demo database: the three kinds of users, the refusals,
// the version check and the quoting of the account.
#include "app/LoginForm.h"
#include "app/UpdateProgForm.h"
#include "common/Helpers.h"
#include "common/ScriptedDialogs.h"
#include "db/DataModule.h"
#include "db/EmbeddedConnection.h"
#include "engine/Accounts.h"
#include "engine/DemoFixture.h"
#include "forms/main/KursplanForm.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace dudodu {
namespace {

const QString kPassword = QStringLiteral("demo1234");

// The department codes of SUB_CLASS at the given levels, in code order.
QStringList DepartmentCodes(engine::Engine& engine, const QString& levels) {
    const auto result = engine.execute(
        QStringLiteral("select CLASS_ID from VELM_DBASE..SUB_CLASS where DEP_LEVEL in (%1) order by CLASS_ID")
            .arg(levels));
    QStringList codes;
    if (result.results.isEmpty()) return codes;
    for (const QVariantList& row : result.results.first().rows)
        codes << row.value(0).toString();
    return codes;
}

QStringList ComboCodes(const QComboBox* combo) {
    QStringList codes;
    for (int i = 0; i < combo->count(); ++i)
        codes << ComboItemCode(combo, i);
    return codes;
}

// The windows of one login over a private copy of the demo database, changed by setupSql first.
class LoginRig {
  public:
    struct Update {
        QString current, next, baseUrl;
        bool loginVisible;
        int ends;
    };

    explicit LoginRig(const QString& setupSql = {}) {
        QString error;
        engine = test::openDemoCopy(dir, &error);
        if (!engine) {
            problem = error;
            return;
        }
        if (!setupSql.isEmpty()) {
            const auto result = engine->execute(setupSql);
            if (!result.ok()) problem = result.error;
        }
        dm = std::make_unique<TDM>(std::make_unique<TEmbeddedConnection>(dir.path()));
        main = std::make_unique<TfrmKURSPLAN>(*dm);
        login = std::make_unique<TfrmLOGIN>(*dm, *main);
        login->FUpdateBaseUrl = QStringLiteral("http://127.0.0.1:9/upd/");
        // The update window is driven by its handlers: the user presses "結束程式".
        login->ShowUpdateWindow = [this](Tf_update_prog& window) {
            int ends = 0;
            window.EndProgram = [&ends] { ++ends; };
            window.BitBtn2Click();
            updates.append(
                {window.lbCURRENT->text(), window.lbNEW->text(), window.FBaseUrl, login->isVisible(), ends});
        };
    }

    // Types the account and password and presses "登錄"; the modal result.
    int logIn(const QString& account, const QString& password = kPassword) {
        login->setResult(0);
        login->show(); // each showing empties the boxes
        login->edUSERNAME->setText(account);
        login->edPASSWORD->setText(password);
        login->bbLOGINClick();
        return login->result();
    }

    bool connected() const { return dm->DBCON().isActive(); }

    QTemporaryDir dir;
    std::unique_ptr<engine::Engine> engine; // the test's own look at the copy
    QString problem;
    std::unique_ptr<TDM> dm;
    std::unique_ptr<TfrmKURSPLAN> main;
    std::unique_ptr<TfrmLOGIN> login;
    QList<Update> updates;
};

#define ASSERT_RIG(rig) ASSERT_TRUE((rig).problem.isEmpty()) << (rig).problem.toStdString()

class LoginTest : public ::testing::Test {
  protected:
    TScopedScriptedDialogs dialogs;
};

TEST_F(LoginTest, EachKindOfUserGetsItsDepartmentsAndLoginState) {
    LoginRig rig;
    ASSERT_RIG(rig);
    const QStringList officeList = DepartmentCodes(*rig.engine, QStringLiteral("10,11,20,21"));
    const QStringList departmentList = DepartmentCodes(*rig.engine, QStringLiteral("10,11,20"));
    ASSERT_GT(departmentList.size(), 3);
    ASSERT_GT(officeList.size(), departmentList.size());

    struct Case {
        QString account;
        bool office;
        QStringList list; // codes of cbLoginDepID
        QString selected; // edDEP_ID and the selected item's code
        bool listEnabled;
        QString editableDeps;
    };
    // Department accounts first: they disable the list, and the system user after them leaves it so.
    const Case cases[] = {
        {"CS__", false, departmentList, "CS__", false, ""},
        {"GC__", false, departmentList, "GC__", false, ""},
        {"TH__", false, departmentList, "TH__", false, ""},
        // Granted CM__, CS__, GC__, TC__, TH__: the centre TC__ is left out.
        {"cssuser", false, {"CM__", "CS__", "GC__", "TH__"}, "CM__", false, "'CM__','CS__','GC__','TH__'"},
        // The office's second role (教師) comes after its first and changes nothing.
        {"office", true, officeList, officeList.value(0), true, "'CM__','CS__','GC__','TH__'"},
        {"programmer", true, officeList, officeList.value(0), true, "'CM__','CS__','GC__','TH__'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.account.toStdString());
        rig.main->btCONNECTTag = 1;
        ASSERT_EQ(rig.logIn(c.account), TfrmLOGIN::mrYes);
        EXPECT_TRUE(rig.connected());
        EXPECT_TRUE(dialogs->shown().isEmpty());
        EXPECT_EQ(rig.main->FLoginUserId, c.account);
        EXPECT_EQ(rig.main->FIsCurriculumOffice, c.office);
        EXPECT_EQ(rig.main->FEditableDeps, c.editableDeps);
        EXPECT_EQ(ComboCodes(rig.main->cbLoginDepID), c.list);
        EXPECT_EQ(rig.main->CurrentDepCode(), c.selected);
        EXPECT_EQ(rig.main->edDEP_ID->text(), c.selected);
        EXPECT_EQ(rig.main->cbLoginDepID->isEnabled(), c.listEnabled);
        EXPECT_TRUE(rig.main->cbLoginDepID->currentText().startsWith(c.selected + QLatin1Char(':')));
        if (c.account == QLatin1String("cssuser")) {
            EXPECT_EQ(rig.main->btCONNECTTag, 0); // the department-change handling ran
        }
        EXPECT_FALSE(rig.dm->query1().active());
    }
}

TEST_F(LoginTest, RefusedAccountsLeaveTheConnectionClosed) {
    struct Case {
        QString account, password;
        QString message; // empty: refused without a message
    };
    const Case cases[] = {
        {"office", "wrong", "帳號或密碼有誤，請再試一次！！"},
        {"nobody", kPassword, "帳號或密碼有誤，請再試一次！！"},
        {"norole", kPassword, "無權限，請再試一次！"},
        {"cssnogrant", kPassword, "無使用開課程式之權限。"},
        {"CM__", kPassword, ""}, // an institute (level 21): not in the department accounts' list
    };
    LoginRig rig;
    ASSERT_RIG(rig);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.account.toStdString());
        dialogs->clear();
        EXPECT_EQ(rig.logIn(c.account, c.password), TfrmLOGIN::mrNo);
        EXPECT_FALSE(rig.connected());
        if (c.message.isEmpty()) {
            EXPECT_TRUE(dialogs->shown().isEmpty());
        } else {
            ASSERT_EQ(dialogs->shown().size(), 1);
            EXPECT_EQ(dialogs->last().message.text, c.message);
            EXPECT_EQ(dialogs->last().message.caption, QStringLiteral("錯誤"));
        }
    }
    // An empty account only asks for one; the window stays open.
    dialogs->clear();
    EXPECT_EQ(rig.logIn(QString()), 0);
    EXPECT_TRUE(rig.login->isVisible());
    ASSERT_EQ(dialogs->shown().size(), 1);
    EXPECT_EQ(dialogs->last().message.text, QStringLiteral("請輸入帳號。"));
    EXPECT_FALSE(rig.connected());
}

TEST_F(LoginTest, TheFirstRoleRowDecides) {
    // A role ordered before the system user's own makes cssuser a department account, and there
    // is no department of that name.
    LoginRig rig(
        QStringLiteral("insert VELMCC_DB..user_role(ident, role_name, role_order) values(90003, '教師', 0)"));
    ASSERT_RIG(rig);
    EXPECT_EQ(rig.logIn(QStringLiteral("cssuser")), TfrmLOGIN::mrNo);
    ASSERT_EQ(dialogs->shown().size(), 1);
    EXPECT_EQ(dialogs->last().message.text, QStringLiteral("無權限，請再試一次！"));
    EXPECT_FALSE(rig.main->cbLoginDepID->isEnabled());
}

TEST_F(LoginTest, GrantedCodesAlreadyInTheListAreNotAddedAgain) {
    // "S__" occurs inside 'CS__', which comes before it; TC__ is skipped wherever it stands.
    LoginRig rig(QStringLiteral(
        "insert VELMCC_DB..user_role_depyear(ident, year, dep_code) values(90003, 115, 'S__')\n"
        "delete VELMCC_DB..user_role_depyear where ident=90003 and dep_code='CM__'"));
    ASSERT_RIG(rig);
    ASSERT_EQ(rig.logIn(QStringLiteral("cssuser")), TfrmLOGIN::mrYes);
    EXPECT_EQ(rig.main->FEditableDeps, QStringLiteral("'CS__','GC__','TH__'"));
    EXPECT_EQ(ComboCodes(rig.main->cbLoginDepID), QStringList({"CS__", "GC__", "TH__"}));
}

TEST_F(LoginTest, AccountsWithQuotesCannotChangeTheStatements) {
    // Each would, put into the statements unquoted, find the office's ident or a department row.
    const QString accounts[] = {QStringLiteral("a'b"), QStringLiteral("x' or u_id='office"),
                                QStringLiteral("x' or CLASS_ID<>'")};
    LoginRig rig;
    ASSERT_RIG(rig);
    for (const QString& account : accounts) {
        SCOPED_TRACE(account.toStdString());
        QString error;
        ASSERT_TRUE(engine::accounts::setPassword(rig.engine->handle(), account, kPassword, &error))
            << error.toStdString();
        dialogs->clear();
        EXPECT_EQ(rig.logIn(account), TfrmLOGIN::mrNo);
        ASSERT_EQ(dialogs->shown().size(), 1);
        EXPECT_EQ(dialogs->last().message.text, QStringLiteral("無權限，請再試一次！"));
        EXPECT_FALSE(rig.main->FIsCurriculumOffice);
    }
}

TEST_F(LoginTest, AnOutdatedClientIsOfferedTheUpdateAndRefused) {
    LoginRig rig(QStringLiteral(
        "update VELM_DBASE..SUBJSELE_CONFIG set ITEM_VALUE='4.198' where ITEM_NAME='課程表程式版本'"));
    ASSERT_RIG(rig);
    const QString caption = rig.login->windowTitle();
    EXPECT_EQ(caption, QStringLiteral("dudodu Login to:") + rig.dm->DBCON().serverAddress());
    EXPECT_EQ(rig.logIn(QStringLiteral("office")), TfrmLOGIN::mrNo);
    EXPECT_FALSE(rig.connected());
    ASSERT_EQ(dialogs->shown().size(), 1);
    EXPECT_EQ(dialogs->last().message.text, QStringLiteral("版本不符，請更新版本。"));
    EXPECT_EQ(dialogs->last().message.caption, QStringLiteral("錯誤"));
    ASSERT_EQ(rig.updates.size(), 1);
    EXPECT_EQ(rig.updates[0].current, QStringLiteral("4.197"));
    EXPECT_EQ(rig.updates[0].next, QStringLiteral("4.198"));
    EXPECT_EQ(rig.updates[0].baseUrl, rig.login->FUpdateBaseUrl);
    EXPECT_FALSE(rig.updates[0].loginVisible); // hidden while the update window shows
    EXPECT_EQ(rig.updates[0].ends, 1);         // its close ends the program
    EXPECT_EQ(rig.login->windowTitle(), caption + QStringLiteral(" Ver.4.197"));
    EXPECT_FALSE(rig.main->FIsCurriculumOffice);
}

TEST_F(LoginTest, AnEmptyVersionItemIsADatabaseProblemNotAnUpdate) {
    LoginRig rig(QStringLiteral("delete VELM_DBASE..SUBJSELE_CONFIG where ITEM_NAME='課程表程式版本'"));
    ASSERT_RIG(rig);
    const QString caption = rig.login->windowTitle();
    EXPECT_EQ(rig.logIn(QStringLiteral("office")), TfrmLOGIN::mrNo);
    EXPECT_FALSE(rig.connected());
    ASSERT_EQ(dialogs->shown().size(), 1);
    EXPECT_EQ(dialogs->last().message.text, QStringLiteral("資料庫存取有問題 !"));
    EXPECT_TRUE(rig.updates.isEmpty());
    EXPECT_EQ(rig.login->windowTitle(), caption);
}

TEST_F(LoginTest, EveryVersionCheckAppendsToTheCaptionAndTheShowingResetsTheBoxes) {
    LoginRig rig;
    ASSERT_RIG(rig);
    const QString caption = rig.login->windowTitle();
    ASSERT_EQ(rig.logIn(QStringLiteral("office")), TfrmLOGIN::mrYes);
    rig.login->hide();
    ASSERT_EQ(rig.logIn(QStringLiteral("CS__")), TfrmLOGIN::mrYes);
    EXPECT_EQ(rig.login->windowTitle(), caption + QStringLiteral(" Ver.4.197 Ver.4.197"));
    EXPECT_EQ(rig.login->paVERSION->text(), QStringLiteral("4.197"));

    rig.login->hide();
    rig.login->show();
    EXPECT_TRUE(rig.login->edUSERNAME->text().isEmpty());
    EXPECT_TRUE(rig.login->edPASSWORD->text().isEmpty());
    // The entry box sits in the middle of the board.
    const QRect entry = rig.login->paENTRY->geometry();
    const QRect board = rig.login->paBOARD->rect();
    EXPECT_LE(std::abs(entry.center().x() - board.center().x()), 1);
    EXPECT_LE(std::abs(entry.center().y() - board.center().y()), 1);
    rig.login->bbCANCELClick();
    EXPECT_EQ(rig.login->result(), TfrmLOGIN::mrNo);
}

TEST_F(LoginTest, TheConnectButtonLogsInAndReadsTheDesignSettings) {
    LoginRig rig;
    ASSERT_RIG(rig);
    int shown = 0;
    bool answer = false;
    rig.main->ShowLogin = [&] {
        ++shown;
        return answer;
    };
    rig.main->EnableWorkButtons(true);
    rig.main->btCONNECT->click();
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(rig.main->btCONNECT->text(), QStringLiteral("連線上網"));
    EXPECT_FALSE(rig.main->btSaveEdit->isEnabled());
    EXPECT_TRUE(dialogs->shown().isEmpty());

    answer = true;
    rig.main->ShowLogin = [&] {
        ++shown;
        return rig.logIn(QStringLiteral("office")) == TfrmLOGIN::mrYes;
    };
    rig.main->btCONNECT->click();
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(rig.main->btCONNECT->text(), QStringLiteral("載入資料"));
    EXPECT_TRUE(rig.main->btCONNECT->isEnabled());
    EXPECT_TRUE(rig.main->btSaveEdit->isEnabled());
    EXPECT_EQ(rig.main->FDesignYear, QStringLiteral("115"));
    EXPECT_EQ(rig.main->edSYEAR->text(), rig.main->FDesignYear);
    EXPECT_EQ(rig.main->edSEME->text(), rig.main->FDesignSemester);
    EXPECT_EQ(rig.main->FEditSetting, QStringLiteral("讀寫"));
    ASSERT_EQ(dialogs->shown().size(), 1);
    EXPECT_EQ(dialogs->last().message.caption, QStringLiteral("連線完成"));
    EXPECT_TRUE(dialogs->last().message.text.startsWith(
        QStringLiteral("已連線完成,請輸入系所密碼再按 '載入資料'鍵")));

    // The second press is the load phase: no second login.
    rig.main->btCONNECT->click();
    EXPECT_EQ(shown, 2);
}

} // namespace
} // namespace dudodu
