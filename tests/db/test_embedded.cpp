#include "db/FakeConnection.h"

#include "db/ConnectionSetting.h"
#include "db/DataModule.h"
#include "db/EmbeddedConnection.h"
#include "db/Errors.h"
#include "engine/Accounts.h"
#include "engine/Engine.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace dudodu {
namespace {

// A fresh database folder with one account.
class EmbeddedTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        folder = dir.filePath(QStringLiteral("db"));
        QString error;
        auto engine = engine::Engine::create(folder, &error);
        ASSERT_TRUE(engine) << error.toStdString();
        ASSERT_TRUE(engine::accounts::setPassword(engine->handle(), QStringLiteral("IM__"),
                                                  QStringLiteral("pa'ss"), &error))
            << error.toStdString();
    }
    QTemporaryDir dir;
    QString folder;
};

TEST_F(EmbeddedTest, TheAccountStoreDecidesTheLogin) {
    TDM dm(std::make_unique<TEmbeddedConnection>(folder));
    EXPECT_FALSE(dm.Connect(QStringLiteral("IM__"), QStringLiteral("wrong")));
    EXPECT_FALSE(dm.DBCON().isActive());
    EXPECT_FALSE(dm.Connect(QStringLiteral("nobody"), QStringLiteral("pa'ss")));
    EXPECT_TRUE(dm.Connect(QStringLiteral("IM__"), QStringLiteral("pa'ss")));
    EXPECT_TRUE(dm.DBCON().isActive());
    dm.DBCON().close();
    EXPECT_FALSE(dm.DBCON().isActive());
}

TEST_F(EmbeddedTest, RunsBatchesAndRaisesTheEnginesErrorText) {
    TDM dm(std::make_unique<TEmbeddedConnection>(folder));
    ASSERT_TRUE(dm.Connect(QStringLiteral("IM__"), QStringLiteral("pa'ss")));
    TQueryDataSet& query = dm.query1();
    query.setSQL(QStringLiteral(
        "insert VELM_DBASE..SUBJSELE_CONFIG(ITEM_NAME, ITEM_VALUE) values('課程設計學年', '101')"));
    query.execSQL();
    query.setSQL(
        QStringLiteral("SELECT ITEM_VALUE FROM VELM_DBASE..SUBJSELE_CONFIG WHERE ITEM_NAME='課程設計學年'"));
    query.open();
    ASSERT_EQ(query.recordCount(), 1);
    EXPECT_EQ(query.field(0).asString(), QStringLiteral("101"));
    query.close();

    query.setSQL(QStringLiteral("raiserror('[SUBJ] 無法新增開課資料', 16, 1)"));
    try {
        query.execSQL();
        FAIL() << "the raised error did not reach the client";
    } catch (const TDBError& error) {
        EXPECT_TRUE(error.message().contains(QStringLiteral("[SUBJ] 無法新增開課資料"))) << error.what();
    }
}

TEST_F(EmbeddedTest, AMissingFolderIsAnUnreachableServer) {
    TDM dm(std::make_unique<TEmbeddedConnection>(dir.filePath(QStringLiteral("missing"))));
    EXPECT_FALSE(dm.Connect(QStringLiteral("IM__"), QStringLiteral("pa'ss")));
    EXPECT_FALSE(dm.DBCON().lastError().isEmpty());
    dm.query1().setSQL(QStringLiteral("select 1"));
    EXPECT_THROW(dm.query1().open(), TDBError);
}

TEST(ConnectionSettingTest, ParsesBothKindsAndRefusesTheRest) {
    struct Case {
        QString text;
        bool valid;
        TConnectionSetting::Kind kind;
        QString host;
        int port;
    };
    const Case cases[] = {
        {"embedded:/data/dudodu", true, TConnectionSetting::Kind::Embedded, "", 0},
        {"tls://db.example.edu:8443", true, TConnectionSetting::Kind::Tls, "db.example.edu", 8443},
        {"tls://db.example.edu", true, TConnectionSetting::Kind::Tls, "db.example.edu", 443},
        {"tls://[::1]:9443", true, TConnectionSetting::Kind::Tls, "::1", 9443},
        {"embedded:", false, {}, "", 0},
        {"tls://:443", false, {}, "", 0},
        {"tls://host:99999", false, {}, "", 0},
        {"http://host:80", false, {}, "", 0},
        {"/data/dudodu", false, {}, "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        QString error;
        const auto setting = parseConnectionSetting(c.text, &error);
        ASSERT_EQ(setting.has_value(), c.valid);
        if (!c.valid) {
            EXPECT_FALSE(error.isEmpty());
            continue;
        }
        EXPECT_EQ(setting->kind, c.kind);
        if (c.kind == TConnectionSetting::Kind::Tls) {
            EXPECT_EQ(setting->host, c.host);
            EXPECT_EQ(setting->port, c.port);
        } else {
            EXPECT_EQ(setting->folder, QStringLiteral("/data/dudodu"));
        }
    }
}

} // namespace
} // namespace dudodu
