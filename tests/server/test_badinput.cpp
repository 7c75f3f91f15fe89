// Malformed, truncated, oversized and unknown frames each end only their own session, with the
// reason logged, while another session keeps being served.
#include "ServerFixture.h"

#include "db/DataModule.h"

#include <QCborMap>
#include <QCborValue>
#include <QtEndian>
#include <gtest/gtest.h>

namespace dudodu::test {
namespace {

constexpr qsizetype kMaxFrame = 64 * 1024;
// What an unfinished frame carries: it must never run.
const QString kDeleteAll = QStringLiteral("delete VELM_DBASE..SUB_CLASS");

QByteArray header(quint32 length, quint8 version = protocol::kVersion, quint8 flags = 0) {
    QByteArray bytes(4, '\0');
    qToBigEndian(length, bytes.data());
    return bytes + char(version) + char(flags);
}
QByteArray rawFrame(const QByteArray& payload, quint8 version = protocol::kVersion, quint8 flags = 0) {
    return header(quint32(payload.size() + 2), version, flags) + payload;
}

TEST(BadInputTest, BadFramesEndOnlyTheirSession) {
    TestServer server([](server::ServerConfig& c) { c.maxFrameBytes = kMaxFrame; });
    ASSERT_TRUE(server.ok()) << server.error.toStdString();
    TDM bystander(server.connection());
    ASSERT_TRUE(bystander.Connect(QStringLiteral("programmer"), kDemoPassword));

    const QByteArray login =
        protocol::encodeFrame(protocol::LoginRequest{QStringLiteral("office"), kDemoPassword, {}, {}});
    struct Case {
        const char* name;
        bool loggedIn;     // send a valid login first
        QByteArray bytes;  // then these
        bool clientCloses; // a truncated frame: the client gives up, the server must notice
        const char* logged;
    };
    const Case cases[] = {
        {"garbage before login", false, QByteArray("GET / HTTP/1.1\r\n\r\n"), false, "bad frame"},
        {"oversized before login", false, header(1024 * 1024), false, "exceeds the limit"},
        {"oversized after login", true, header(quint32(kMaxFrame + 1)), false, "exceeds the limit"},
        {"other version", true, rawFrame(QCborValue(QCborMap{{QStringLiteral("t"), 3}}).toCbor(), 9), false,
         "version 9"},
        {"not CBOR", true, rawFrame("\xff\xfe\xfd"), false, "not valid CBOR"},
        {"unknown message type", true, rawFrame(QCborValue(QCborMap{{QStringLiteral("t"), 77}}).toCbor()),
         false, "unknown message type 77"},
        {"message only a server sends", true, protocol::encodeFrame(protocol::LoginVerdict{true, {}}), false,
         "unexpected login verdict"},
        {"second login", true, login, false, "unexpected login"},
        {"truncated frame", true,
         protocol::encodeFrame(protocol::ExecuteRequest{kDeleteAll, true}).chopped(3), true,
         "client disconnected"},
        {"corrupt compressed payload", true, rawFrame(QByteArray("\x00\x00\x00\x10garbagegarbage", 18), 1, 1),
         false, "corrupt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RawClient raw(server);
        ASSERT_TRUE(raw.encrypted());
        if (c.loggedIn) {
            raw.send(login);
            ASSERT_TRUE(raw.socket.waitForReadyRead(5000));
        }
        raw.send(c.bytes);
        if (c.clientCloses) {
            raw.socket.waitForBytesWritten(1000);
            raw.socket.disconnectFromHost();
        }
        EXPECT_TRUE(raw.waitForClose()) << "the server kept the session open";
        EXPECT_TRUE(server.waitForLog({QStringLiteral("session-end"), QString::fromUtf8(c.logged)}));
        const TBatchReply still =
            bystander.DBCON().execute(QStringLiteral("select count(*) from VELM_DBASE..SUB_CLASS"));
        ASSERT_TRUE(still.ok()) << still.error.toStdString();
        EXPECT_GT(still.results[0].rows[0][0].toLongLong(), 0) << "part of a frame was run";
    }
}

// A connection that never finishes its TLS handshake or never logs in is dropped.
TEST(BadInputTest, SilentConnectionsAreDropped) {
    TestServer server([](server::ServerConfig& c) { c.loginTimeoutMs = 300; });
    ASSERT_TRUE(server.ok()) << server.error.toStdString();
    QTcpSocket plain;
    plain.connectToHost(QHostAddress::LocalHost, server.port);
    ASSERT_TRUE(plain.waitForConnected(5000));
    RawClient silent(server);
    ASSERT_TRUE(silent.encrypted());
    EXPECT_TRUE(silent.waitForClose());
    EXPECT_TRUE(server.waitForLog({QStringLiteral("session-end"), QStringLiteral("no login in time")}));
    QElapsedTimer clock;
    clock.start();
    while (plain.state() != QAbstractSocket::UnconnectedState && clock.elapsed() < 5000)
        plain.waitForDisconnected(100);
    EXPECT_EQ(plain.state(), QAbstractSocket::UnconnectedState);
}

} // namespace
} // namespace dudodu::test
