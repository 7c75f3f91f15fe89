// A real dudodu-server on a loopback port: logins, the same answers as the embedded connection,
// errors, large results, atomic batches, and what a session may do before and after its login.
#include "ServerFixture.h"

#include "db/ConnectionSetting.h"
#include "db/DataModule.h"
#include "db/EmbeddedConnection.h"
#include "db/Protocol.h"
#include "engine/Engine.h"

#include <QSslSocket>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace dudodu::test {
namespace {

constexpr int kBigGroup = 999999;
constexpr int kBigRows = 20000;

// Adds kBigRows teacher rows under one group, for the large-result test.
bool addBigGroup(const QString& folder) {
    QString error;
    auto engine = engine::Engine::open(folder, &error);
    const QByteArray sql =
        QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                       "INSERT INTO VELM_DBASE.SEMETEACHER (SUBJECT_GROUP, seq, TCHER_NO, TCHER_NAME) "
                       "SELECT %2, i, 10000 + i, 'teacher ' || i FROM n")
            .arg(kBigRows)
            .arg(kBigGroup)
            .toUtf8();
    return engine && sqlite3_exec(engine->handle(), sql.constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

class ServerTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { s_server = std::make_unique<TestServer>(nullptr, addBigGroup); }
    static void TearDownTestSuite() { s_server.reset(); }
    void SetUp() override { ASSERT_TRUE(s_server->ok()) << s_server->error.toStdString(); }

    static TestServer& server() { return *s_server; }
    // A data module over a new TLS connection, logged in as account.
    static std::unique_ptr<TDM> loggedIn(const QString& account = QStringLiteral("office")) {
        auto dm = std::make_unique<TDM>(server().connection());
        EXPECT_TRUE(dm->Connect(account, kDemoPassword)) << dm->DBCON().lastError().toStdString();
        return dm;
    }
    static inline std::unique_ptr<TestServer> s_server;
};

TEST_F(ServerTest, LoginIsAcceptedOnlyForTheRightPassword) {
    struct Case {
        const char* account;
        const char* password;
        bool accepted;
    };
    const Case cases[] = {{"office", "demo1234", true},
                          {"CS__", "demo1234", true},
                          {"office", "demo12345", false},
                          {"nobody", "demo1234", false},
                          {"", "", false}};
    QStringList refusals;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.account);
        TDM dm(server().connection());
        EXPECT_EQ(dm.Connect(QString::fromUtf8(c.account), QString::fromUtf8(c.password)), c.accepted);
        EXPECT_EQ(dm.DBCON().isActive(), c.accepted);
        EXPECT_EQ(dm.FLoginVerified, c.accepted);
        if (!c.accepted) refusals << dm.DBCON().lastError();
    }
    // The verdict does not tell a wrong password from an unknown account.
    ASSERT_EQ(refusals.size(), 3);
    EXPECT_EQ(refusals[0], refusals[1]);
    EXPECT_EQ(refusals[1], refusals[2]);
    for (const QString& line : server().logLines())
        EXPECT_FALSE(line.contains(QStringLiteral("demo123"))) << line.toStdString();
}

// The client's one setting reaches the server, with the certificate it names.
TEST_F(ServerTest, SettingNamesTheServerAndItsCertificate) {
    QString error;
    const QString text =
        QStringLiteral("tls://127.0.0.1:%1?ca=%2").arg(server().port).arg(server().certificateFile);
    const auto setting = parseConnectionSetting(text, &error);
    ASSERT_TRUE(setting) << error.toStdString();
    EXPECT_EQ(setting->caFile, server().certificateFile);
    EXPECT_EQ(parseConnectionSetting(setting->toString(), &error)->caFile, server().certificateFile);
    EXPECT_FALSE(parseConnectionSetting(QStringLiteral("tls://127.0.0.1:1?cert=x"), &error));
    auto connection = createConnection(*setting, &error);
    ASSERT_NE(connection, nullptr) << error.toStdString();
    EXPECT_EQ(connection->serverAddress(), QStringLiteral("tls://127.0.0.1:%1").arg(server().port));
    TDM dm(std::move(connection));
    EXPECT_TRUE(dm.Connect(QStringLiteral("office"), kDemoPassword)) << dm.DBCON().lastError().toStdString();
}

TEST_F(ServerTest, UntrustedCertificateAndUnreachableServerGiveFalse) {
    TDM systemCas(std::make_unique<TTlsConnection>(QStringLiteral("127.0.0.1"), server().port));
    EXPECT_FALSE(systemCas.Connect(QStringLiteral("office"), kDemoPassword));
    EXPECT_TRUE(systemCas.DBCON().lastError().contains(QStringLiteral("not trusted")))
        << systemCas.DBCON().lastError().toStdString();

    // A port that was free a moment ago: nothing listens there.
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    const quint16 closedPort = probe.serverPort();
    probe.close();
    TDM unreachable(
        std::make_unique<TTlsConnection>(QStringLiteral("127.0.0.1"), closedPort, server().certificateFile));
    EXPECT_FALSE(unreachable.Connect(QStringLiteral("office"), kDemoPassword));
    EXPECT_TRUE(unreachable.DBCON().lastError().contains(QStringLiteral("Cannot connect")))
        << unreachable.DBCON().lastError().toStdString();
}

// Everything a statement returns - names, kinds, values, NULLs, several row sets, affected rows -
// is the same through the server as on the embedded connection.
TEST_F(ServerTest, StatementsAnswerAsOnTheEmbeddedConnection) {
    auto dm = loggedIn();
    TEmbeddedConnection embedded(server().folder);
    ASSERT_TRUE(openAndWait(embedded, QStringLiteral("office"), kDemoPassword));
    const TBatchReply top = embedded.execute("select top 1 DEPARTMENT, YEAR, SEMESTER, count(*) from "
                                             "VELM_DBASE..SEMESUBJECT group by DEPARTMENT, YEAR, "
                                             "SEMESTER order by count(*) desc");
    ASSERT_TRUE(top.ok() && !top.results.isEmpty() && !top.results[0].rows.isEmpty());
    const QVariantList dep = top.results[0].rows[0];
    const QStringList statements = {
        QStringLiteral(
            "SELECT RSUBJ_SERNO,SUBJECT_GROUP, DEPYR_CODE, SUBJECT_ID,MUST,DEPARTMENT,YEAR,SEMESTER,"
            "SUBJ_MODE,LIMIT,S_NAME,CREDIT,HOUR,LAB,E_NAME,BELONG,WORK_PLACE,NOTE,isnull(program_id,-1) "
            "as program_id, isnull(FromDEP,'') as FromDEP FROM VELM_DBASE..SEMESUBJECT\nwhere "
            "DEPARTMENT='%1'\n and YEAR=%2 and SEMESTER=%3\nORDER BY SUBSTRING(WORK_PLACE,1,1) "
            "DESC,SUBSTRING(WORK_PLACE,2,100),subject_id")
            .arg(dep[0].toString())
            .arg(dep[1].toInt())
            .arg(dep[2].toInt()),
        QStringLiteral("select null as n, 1.5 as d, 'x''y' as t, 3 as i"),
        QStringLiteral(
            "select top 3 CLASS_ID, LOCATION from VELM_DBASE..sub_class order by CLASS_ID\n"
            "select top 2 rent_no, ask_date, rent_start_date from GADEP..RMR_Rent_master order by rent_no"),
        QStringLiteral("update VELM_DBASE..SUB_CLASS set LOCATION=LOCATION where CLASS_ID='CS__'"),
        QStringLiteral("select count(*) as n from VELM_DBASE..SEMESUBJECT where DEPARTMENT='nobody'"),
    };
    for (const QString& sql : statements) {
        SCOPED_TRACE(sql.toStdString());
        const TBatchReply local = embedded.execute(sql);
        const TBatchReply remote = dm->DBCON().execute(sql);
        ASSERT_TRUE(local.ok()) << local.error.toStdString();
        EXPECT_EQ(remote.error, local.error);
        EXPECT_EQ(remote.rowsAffected, local.rowsAffected);
        ASSERT_EQ(remote.results.size(), local.results.size());
        for (qsizetype i = 0; i < local.results.size(); ++i) {
            EXPECT_EQ(remote.results[i].fieldNames, local.results[i].fieldNames);
            EXPECT_EQ(remote.results[i].fieldTypes, local.results[i].fieldTypes);
            ASSERT_EQ(remote.results[i].rows.size(), local.results[i].rows.size());
            for (qsizetype r = 0; r < local.results[i].rows.size(); ++r) {
                for (qsizetype c = 0; c < local.results[i].rows[r].size(); ++c) {
                    const QVariant& a = local.results[i].rows[r][c];
                    const QVariant& b = remote.results[i].rows[r][c];
                    EXPECT_EQ(a.isValid(), b.isValid());
                    EXPECT_EQ(a.typeId(), b.typeId()) << "row " << r << " column " << c;
                    EXPECT_EQ(a, b) << "row " << r << " column " << c;
                }
            }
        }
    }
    // The dataset layer reads the remote rows as it reads local ones.
    TQueryDataSet& q = dm->query1();
    q.close();
    q.clearSQL();
    q.addSQL(QStringLiteral("select CLASS_ID, LOCATION from VELM_DBASE..sub_class where CLASS_ID='CS__'"));
    q.open();
    EXPECT_EQ(q.recordCount(), 1);
    EXPECT_EQ(q.fieldByName(QStringLiteral("CLASS_ID")).asString(), QStringLiteral("CS__"));
}

TEST_F(ServerTest, ServerErrorTextReachesTheClient) {
    auto dm = loggedIn();
    TEmbeddedConnection embedded(server().folder);
    ASSERT_TRUE(openAndWait(embedded, QStringLiteral("office"), kDemoPassword));
    for (const QString& sql : {QStringLiteral("select nothing from VELM_DBASE..NO_SUCH_TABLE"),
                               QStringLiteral("raiserror('自訂錯誤 text', 16, 1)")}) {
        const TBatchReply remote = dm->DBCON().execute(sql);
        EXPECT_FALSE(remote.ok());
        EXPECT_EQ(remote.error, embedded.execute(sql).error);
    }
    EXPECT_TRUE(dm->DBCON().isActive()); // an error ends nothing
    EXPECT_TRUE(server().waitForLog({QStringLiteral("statement-error"), QStringLiteral("account=office")}));
    for (const QString& line : server().logLines())
        EXPECT_FALSE(line.contains(QStringLiteral("NO_SUCH_TABLE"))) << line.toStdString();
}

TEST_F(ServerTest, LargeResultArrivesWhole) {
    auto dm = loggedIn();
    const TBatchReply reply =
        dm->DBCON().execute(QStringLiteral("select TCHER_NO, TCHER_NAME, seq from VELM_DBASE..SEMETEACHER "
                                           "where SUBJECT_GROUP=%1 order by seq")
                                .arg(kBigGroup));
    ASSERT_TRUE(reply.ok()) << reply.error.toStdString();
    ASSERT_EQ(reply.results.size(), 1);
    const auto& rows = reply.results[0].rows;
    ASSERT_EQ(rows.size(), kBigRows);
    EXPECT_EQ(rows.first()[1].toString(), QStringLiteral("teacher 1"));
    EXPECT_EQ(rows.last()[0].toLongLong(), 10000 + kBigRows);
    EXPECT_EQ(rows.last()[2].toLongLong(), kBigRows);
    // Without rows wanted, the same statement brings none back.
    auto* tls = qobject_cast<TTlsConnection*>(&dm->DBCON());
    ASSERT_NE(tls, nullptr);
    const TBatchReply bare = tls->executeWithoutRows(
        QStringLiteral("select seq from VELM_DBASE..SEMETEACHER where SUBJECT_GROUP=%1").arg(kBigGroup));
    EXPECT_TRUE(bare.ok());
    EXPECT_TRUE(bare.results.isEmpty());
}

TEST_F(ServerTest, RaisedErrorRollsTheWholeBatchBack) {
    auto dm = loggedIn();
    const QString count =
        QStringLiteral("select count(*) from VELM_DBASE..SEMETEACHER where SUBJECT_GROUP=424242");
    const QString batch =
        QStringList{
            QStringLiteral("begin transaction"),
            QStringLiteral("insert VELM_DBASE..SEMETEACHER(SUBJECT_GROUP,seq,TCHER_NO,TCHER_NAME) "
                           "values(424242,1,1,'a')"),
            QStringLiteral("if @@error<>0 begin rollback transaction return end"),
            QStringLiteral(
                "if (select count(*) from VELM_DBASE..SEMETEACHER where SUBJECT_GROUP=424242) > 0"),
            QStringLiteral("begin raiserror('已有教師資料。', 16, 1) rollback transaction return end"),
            QStringLiteral("commit transaction")}
            .join(u'\n');
    const TBatchReply reply = dm->DBCON().execute(batch);
    EXPECT_EQ(reply.error, QStringLiteral("已有教師資料。"));
    const TBatchReply after = dm->DBCON().execute(count);
    ASSERT_TRUE(after.ok()) << after.error.toStdString();
    EXPECT_EQ(after.results[0].rows[0][0].toLongLong(), 0);
}

TEST_F(ServerTest, SessionBeforeLoginCanDoNothing) {
    RawClient raw(server());
    ASSERT_TRUE(raw.encrypted()) << raw.socket.errorString().toStdString();
    raw.send(protocol::encodeFrame(protocol::ExecuteRequest{
        QStringLiteral("delete VELM_DBASE..SUB_CLASS where CLASS_ID='CS__'"), true}));
    ASSERT_TRUE(raw.waitForClose());
    const QList<protocol::Message> replies = raw.messages();
    ASSERT_EQ(replies.size(), 1);
    const auto* closing = std::get_if<protocol::Closing>(&replies[0]);
    ASSERT_NE(closing, nullptr);
    EXPECT_TRUE(closing->reason.contains(QStringLiteral("before login"))) << closing->reason.toStdString();
    EXPECT_TRUE(server().waitForLog({QStringLiteral("error"), QStringLiteral("before login")}));

    auto dm = loggedIn();
    const TBatchReply still = dm->DBCON().execute(
        QStringLiteral("select CLASS_ID from VELM_DBASE..SUB_CLASS where CLASS_ID='CS__'"));
    ASSERT_TRUE(still.ok());
    EXPECT_EQ(still.results[0].rows.size(), 1);
}

TEST_F(ServerTest, SessionsAreLoggedWithoutSecrets) {
    {
        auto dm = loggedIn(QStringLiteral("GC__"));
        dm->DBCON().execute(
            QStringLiteral("select CLASS_ID from VELM_DBASE..SUB_CLASS where CLASS_ID='GC__'"));
        dm->DBCON().close();
    }
    EXPECT_TRUE(server().waitForLog({QStringLiteral("session-start"), QStringLiteral("addr=127.0.0.1")}));
    EXPECT_TRUE(server().waitForLog({QStringLiteral("session-end"), QStringLiteral("account=GC__"),
                                     QStringLiteral("duration="), QStringLiteral("client disconnected")}));
    for (const QString& line : server().logLines()) {
        EXPECT_FALSE(line.contains(kDemoPassword)) << line.toStdString();
        EXPECT_FALSE(line.contains(QStringLiteral("CLASS_ID"))) << line.toStdString();
    }
}

// Servers of their own: stopped under a client, and with a short idle timeout.
TEST(ServerLifetimeTest, LostConnectionFailsTheNextStatementClearly) {
    TestServer server;
    ASSERT_TRUE(server.ok()) << server.error.toStdString();
    TDM dm(server.connection());
    ASSERT_TRUE(dm.Connect(QStringLiteral("office"), kDemoPassword)) << dm.DBCON().lastError().toStdString();
    server.stop();
    const TBatchReply reply = dm.DBCON().execute(QStringLiteral("select 1 as one"));
    EXPECT_FALSE(reply.ok());
    EXPECT_FALSE(dm.DBCON().isActive());
    EXPECT_TRUE(reply.error.contains(QStringLiteral("server"))) << reply.error.toStdString();
    // And the one after that says it is not connected.
    EXPECT_TRUE(dm.DBCON().execute(QStringLiteral("select 1 as one")).error.contains(notConnectedText()));
}

TEST(ServerLifetimeTest, IdleSessionTimesOut) {
    TestServer server([](server::ServerConfig& c) { c.idleTimeoutMs = 300; });
    ASSERT_TRUE(server.ok()) << server.error.toStdString();
    TDM dm(server.connection());
    ASSERT_TRUE(dm.Connect(QStringLiteral("office"), kDemoPassword));
    EXPECT_TRUE(server.waitForLog({QStringLiteral("session-end"), QStringLiteral("idle timeout")}));
    const TBatchReply reply = dm.DBCON().execute(QStringLiteral("select 1 as one"));
    EXPECT_FALSE(reply.ok());
    EXPECT_TRUE(reply.error.contains(QStringLiteral("idle timeout"))) << reply.error.toStdString();
}

TEST(ServerLifetimeTest, OdbcBackendWithoutServerRefusesLoginClearly) {
    TestServer server([](server::ServerConfig& c) {
        c.backend = server::ServerConfig::Backend::Odbc;
        c.odbcConnection =
            QStringLiteral("DRIVER=FreeTDS;SERVER=127.0.0.1;PORT=1;TDS_Version=7.4;UID=sa;PWD=x");
    });
    ASSERT_TRUE(server.ok()) << server.error.toStdString();
    TDM dm(server.connection());
    EXPECT_FALSE(dm.Connect(QStringLiteral("office"), kDemoPassword));
    EXPECT_TRUE(dm.DBCON().lastError().contains(QStringLiteral("cannot reach its database")))
        << dm.DBCON().lastError().toStdString();
    EXPECT_TRUE(server.waitForLog({QStringLiteral("error"), QStringLiteral("database")}));
}

} // namespace
} // namespace dudodu::test
