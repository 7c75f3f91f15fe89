// Fifty clients at once, each loading a department's course list and writing small batches: no
// error, no lost write, and the database files intact afterwards. Requests sent at once are answered
// in order, and a batch whose client hangs up right after sending it still runs to its end.
#include "ServerFixture.h"

#include "engine/Engine.h"

#include <QThread>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace dudodu::test {
namespace {

constexpr int kClients = 50;
constexpr int kWritesPerClient = 3;
constexpr int kFirstGroup = 800000;

TEST(ConcurrencyTest, FiftyClientsReadAndWriteTogether) {
    TestServer server;
    ASSERT_TRUE(server.ok()) << server.error.toStdString();
    QString error;
    auto engine = engine::Engine::open(server.folder, &error);
    ASSERT_TRUE(engine) << error.toStdString();
    const engine::BatchResult dep =
        engine->execute("select top 1 DEPARTMENT, YEAR, SEMESTER from VELM_DBASE..SEMESUBJECT group by "
                        "DEPARTMENT, YEAR, SEMESTER "
                        "order by count(*) desc");
    ASSERT_TRUE(dep.ok() && !dep.results[0].rows.isEmpty());
    const QVariantList d = dep.results[0].rows[0];
    const QString list =
        QStringLiteral("SELECT RSUBJ_SERNO,SUBJECT_GROUP,SUBJECT_ID,S_NAME,CREDIT,WORK_PLACE FROM "
                       "VELM_DBASE..SEMESUBJECT\nwhere DEPARTMENT='%1'\n and YEAR=%2 and SEMESTER=%3\n"
                       "ORDER BY SUBSTRING(WORK_PLACE,1,1) DESC,SUBSTRING(WORK_PLACE,2,100),subject_id")
            .arg(d[0].toString())
            .arg(d[1].toInt())
            .arg(d[2].toInt());

    QMutex mutex;
    QStringList errors;
    int listsLoaded = 0;
    auto report = [&](const QString& text) {
        QMutexLocker lock(&mutex);
        errors << text;
    };
    std::vector<std::unique_ptr<QThread>> clients;
    for (int client = 0; client < kClients; ++client) {
        clients.emplace_back(QThread::create([&, client] {
            TTlsConnection connection(QStringLiteral("127.0.0.1"), server.port, server.certificateFile);
            const QString account = client % 2 ? QStringLiteral("office") : QStringLiteral("programmer");
            if (!openAndWait(connection, account, kDemoPassword))
                return report(QStringLiteral("client %1: %2").arg(client).arg(connection.lastError()));
            const TBatchReply rows = connection.execute(list);
            if (!rows.ok() || rows.results.isEmpty()) return report(rows.error);
            for (const QVariantList& row : rows.results[0].rows) {
                const QString group = row[1].toString();
                for (const QString& sql :
                     {QStringLiteral(
                          "select a.TCHER_NO, a.TCHER_NAME as t1_name, b.TCHER_CNAME as t2_name from "
                          "VELM_DBASE..SEMETEACHER a left join VELM_DBASE..DN_tcher_mnger b on "
                          "(a.tcher_no=b.tcher_no) where a.SUBJECT_GROUP=%1 order by seq"),
                      QStringLiteral("select room_id_no, classroom, weekday, classno, location from "
                                     "VELM_DBASE..SEMECLASSROOM where SUBJECT_GROUP=%1 order by "
                                     "room_id_no,weekday,classno")}) {
                    const TBatchReply r = connection.execute(sql.arg(group));
                    if (!r.ok()) return report(r.error);
                }
            }
            {
                QMutexLocker lock(&mutex);
                ++listsLoaded;
            }
            for (int k = 1; k <= kWritesPerClient; ++k) {
                const TBatchReply w = connection.execute(
                    QStringLiteral(
                        "begin transaction\ninsert VELM_DBASE..SEMETEACHER(SUBJECT_GROUP,seq,TCHER_NO,"
                        "TCHER_NAME) values(%1,%2,%3,'concurrent')\nif @@error<>0 begin rollback "
                        "transaction return end\ncommit transaction")
                        .arg(kFirstGroup + client)
                        .arg(k)
                        .arg(client * 10 + k));
                if (!w.ok()) return report(w.error);
            }
        }));
        clients.back()->start();
    }
    for (auto& thread : clients)
        thread->wait();

    EXPECT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(listsLoaded, kClients);
    const engine::BatchResult written = engine->execute(
        QStringLiteral(
            "select count(*) from VELM_DBASE..SEMETEACHER where SUBJECT_GROUP>=%1 and SUBJECT_GROUP<%2")
            .arg(kFirstGroup)
            .arg(kFirstGroup + kClients));
    ASSERT_TRUE(written.ok()) << written.error.toStdString();
    EXPECT_EQ(written.results[0].rows[0][0].toLongLong(), kClients * kWritesPerClient);
    for (const QString& name : engine::Engine::databaseNames()) {
        sqlite3_stmt* st = nullptr;
        const QByteArray sql = QStringLiteral("PRAGMA %1.integrity_check").arg(name).toUtf8();
        ASSERT_EQ(sqlite3_prepare_v2(engine->handle(), sql.constData(), -1, &st, nullptr), SQLITE_OK);
        ASSERT_EQ(sqlite3_step(st), SQLITE_ROW);
        EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)), "ok") << name.toStdString();
        sqlite3_finalize(st);
    }
}

// Requests sent back to back, without waiting, are answered one after the other in their order.
TEST(ConcurrencyTest, RequestsSentAtOnceAreAnsweredInOrder) {
    TestServer server;
    ASSERT_TRUE(server.ok()) << server.error.toStdString();
    RawClient raw(server);
    ASSERT_TRUE(raw.encrypted());
    QByteArray burst =
        protocol::encodeFrame(protocol::LoginRequest{QStringLiteral("office"), kDemoPassword, {}, {}});
    for (int i = 1; i <= 5; ++i)
        burst +=
            protocol::encodeFrame(protocol::ExecuteRequest{QStringLiteral("select %1 as n").arg(i), true});
    raw.send(burst);
    QElapsedTimer clock;
    clock.start();
    while (raw.messages().size() < 6 && clock.elapsed() < 5000) {
        raw.socket.waitForReadyRead(100);
        raw.received += raw.socket.readAll();
    }
    const QList<protocol::Message> replies = raw.messages();
    ASSERT_EQ(replies.size(), 6);
    ASSERT_TRUE(std::holds_alternative<protocol::LoginVerdict>(replies[0]));
    EXPECT_TRUE(std::get<protocol::LoginVerdict>(replies[0]).accepted);
    for (int i = 1; i <= 5; ++i) {
        const auto* reply = std::get_if<TBatchReply>(&replies[i]);
        ASSERT_TRUE(reply && reply->ok() && !reply->results.isEmpty()) << i;
        EXPECT_EQ(reply->results[0].rows[0][0].toInt(), i);
    }
}

TEST(ConcurrencyTest, ABatchWhoseClientHungUpStillRunsToItsEnd) {
    TestServer server;
    ASSERT_TRUE(server.ok()) << server.error.toStdString();
    RawClient raw(server);
    ASSERT_TRUE(raw.encrypted());
    raw.send(protocol::encodeFrame(protocol::LoginRequest{QStringLiteral("office"), kDemoPassword, {}, {}}));
    ASSERT_TRUE(raw.socket.waitForReadyRead(5000));
    raw.send(protocol::encodeFrame(protocol::ExecuteRequest{
        QStringLiteral(
            "begin transaction\ninsert VELM_DBASE..SEMETEACHER(SUBJECT_GROUP,seq,TCHER_NO,TCHER_NAME) "
            "values(%1,1,1,'gone')\ninsert VELM_DBASE..SEMETEACHER(SUBJECT_GROUP,seq,TCHER_NO,"
            "TCHER_NAME) values(%1,2,2,'gone')\ncommit transaction")
            .arg(kFirstGroup - 1),
        true}));
    raw.socket.waitForBytesWritten(1000);
    raw.socket.disconnectFromHost();
    ASSERT_TRUE(server.waitForLog({QStringLiteral("session-end"), QStringLiteral("client disconnected")}));

    QString error;
    auto engine = engine::Engine::open(server.folder, &error);
    ASSERT_TRUE(engine) << error.toStdString();
    const QString count =
        QStringLiteral("select count(*) from VELM_DBASE..SEMETEACHER where SUBJECT_GROUP=%1")
            .arg(kFirstGroup - 1);
    QElapsedTimer clock;
    clock.start();
    qint64 rows = 0;
    do {
        const engine::BatchResult r = engine->execute(count);
        ASSERT_TRUE(r.ok()) << r.error.toStdString();
        rows = r.results[0].rows[0][0].toLongLong();
    } while (rows < 2 && clock.elapsed() < 5000 && (QThread::msleep(10), true));
    EXPECT_EQ(rows, 2) << "the batch was dropped or cut short";
}

} // namespace
} // namespace dudodu::test
