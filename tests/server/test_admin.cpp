// The administration side: the configuration file, and the account commands as a login sees them.
#include "ServerFixture.h"

#include "db/DataModule.h"
#include "engine/Engine.h"

#include <QFile>
#include <gtest/gtest.h>

namespace dudodu::test {
namespace {

TEST(ServerConfigTest, ReadsValuesAndRefusesBadOnes) {
    QTemporaryDir dir;
    struct Case {
        const char* name;
        const char* text;
        const char* error; // nullptr: valid
    };
    const Case cases[] = {
        {"complete",
         "[server]\nport=8443\ncertificate=c.pem\nkey=k.pem\nidle_timeout_s=60\nio_threads=3\nbatch_threads="
         "4\n"
         "[database]\nfolder=db\n",
         nullptr},
        {"negative thread count", "[server]\ncertificate=c\nkey=k\nbatch_threads=-2\n[database]\nfolder=db\n",
         "batch_threads"},
        {"no certificate", "[server]\nkey=k.pem\n[database]\nfolder=db\n", "certificate and key"},
        {"port out of range", "[server]\nport=70000\ncertificate=c\nkey=k\n[database]\nfolder=db\n", "port"},
        {"unknown backend", "[server]\ncertificate=c\nkey=k\n[database]\nbackend=oracle\nfolder=db\n",
         "oracle"},
        {"odbc without its string", "[server]\ncertificate=c\nkey=k\n[database]\nbackend=odbc\naccounts=a\n",
         "odbc"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = dir.filePath(QStringLiteral("server.ini"));
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(c.text);
        out.close();
        QString error;
        const auto config = server::ServerConfig::load(file, &error);
        ASSERT_EQ(config.has_value(), c.error == nullptr) << error.toStdString();
        if (!config) {
            EXPECT_TRUE(error.contains(QString::fromUtf8(c.error))) << error.toStdString();
            continue;
        }
        EXPECT_EQ(config->port, 8443);
        EXPECT_EQ(config->idleTimeoutMs, 60000);
        EXPECT_EQ(config->ioThreads, 3);
        EXPECT_EQ(config->batchThreads, 4);
        EXPECT_EQ(config->certificateFile, dir.filePath(QStringLiteral("c.pem")));
        EXPECT_EQ(config->accountsFolder, dir.filePath(QStringLiteral("db")));
    }
}

TEST(AccountCommandTest, AddResetDisableAndEnableAsALoginSeesThem) {
    TestServer server(
        [](server::ServerConfig&) {},
        [](const QString& folder) {
            QString error;
            using server::AccountCommand;
            // The account store works on the folder while no server has it open.
            return server::runAccountCommand(folder, AccountCommand::Add, QStringLiteral("newuser"),
                                             QStringLiteral("first-pass"), &error) &&
                   !server::runAccountCommand(folder, AccountCommand::Add, QStringLiteral("newuser"),
                                              QStringLiteral("other-pass"), &error) &&
                   !server::runAccountCommand(folder, AccountCommand::ResetPassword, QStringLiteral("ghost"),
                                              QStringLiteral("some-pass"), &error) &&
                   !server::runAccountCommand(folder, AccountCommand::Add, QStringLiteral("shortpw"),
                                              QStringLiteral("short"), &error);
        });
    ASSERT_TRUE(server.ok()) << server.error.toStdString();
    auto login = [&](const QString& account, const QString& password) {
        TDM dm(server.connection());
        return dm.Connect(account, password);
    };
    using server::AccountCommand;
    QString error;
    EXPECT_TRUE(login(QStringLiteral("newuser"), QStringLiteral("first-pass")));
    ASSERT_TRUE(server::runAccountCommand(server.folder, AccountCommand::ResetPassword,
                                          QStringLiteral("newuser"), QStringLiteral("second-pass"), &error))
        << error.toStdString();
    EXPECT_FALSE(login(QStringLiteral("newuser"), QStringLiteral("first-pass")));
    EXPECT_TRUE(login(QStringLiteral("newuser"), QStringLiteral("second-pass")));
    ASSERT_TRUE(server::runAccountCommand(server.folder, AccountCommand::Disable, QStringLiteral("newuser"),
                                          {}, &error));
    EXPECT_FALSE(login(QStringLiteral("newuser"), QStringLiteral("second-pass")));
    ASSERT_TRUE(server::runAccountCommand(server.folder, AccountCommand::Enable, QStringLiteral("newuser"),
                                          {}, &error));
    EXPECT_TRUE(login(QStringLiteral("newuser"), QStringLiteral("second-pass")));
    EXPECT_FALSE(server::runAccountCommand(server.folder, AccountCommand::Disable, QStringLiteral("ghost"),
                                           {}, &error));
}

TEST(AccountCommandTest, RepeatedFailuresThrottleTheAccount) {
    TestServer server;
    ASSERT_TRUE(server.ok()) << server.error.toStdString();
    for (int i = 0; i <= server::LoginThrottle::kFreeFailures; ++i) {
        TDM dm(server.connection());
        EXPECT_FALSE(dm.Connect(QStringLiteral("cssuser"), QStringLiteral("wrong-password")));
    }
    TDM dm(server.connection());
    EXPECT_FALSE(dm.Connect(QStringLiteral("cssuser"), kDemoPassword)); // the right one, too early
    EXPECT_TRUE(dm.DBCON().lastError().contains(QStringLiteral("Too many failed logins")))
        << dm.DBCON().lastError().toStdString();
    EXPECT_TRUE(server.waitForLog({QStringLiteral("login-throttled"), QStringLiteral("account=cssuser")}));
}

} // namespace
} // namespace dudodu::test
