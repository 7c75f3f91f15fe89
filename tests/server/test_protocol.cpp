// The frame codec on its own: every message survives a round trip, frames arrive in pieces, and
// every kind of bad frame is refused with a reason instead of being guessed at.
#include "db/Protocol.h"
#include "server/LoginThrottle.h"

#include <QCborArray>
#include <QCborMap>
#include <QCborStreamWriter>
#include <QCborValue>
#include <QtEndian>
#include <gtest/gtest.h>
#include <zlib.h>

namespace dudodu::protocol {
namespace {

constexpr qsizetype kMax = 1024 * 1024;

TBatchReply sampleReply(int rows) {
    TBatchReply reply;
    reply.rowsAffected = 7;
    TResultTable table;
    table.fieldNames = {QStringLiteral("id"), QStringLiteral("名稱"), QStringLiteral("credit"),
                        QStringLiteral("when")};
    table.fieldTypes = {TFieldType::Integer, TFieldType::String, TFieldType::Float, TFieldType::DateTime};
    for (int i = 0; i < rows; ++i)
        table.rows << QVariantList{QVariant(qint64(i) - 3),
                                   i % 5 ? QVariant(QStringLiteral("課程 %1").arg(i)) : QVariant(),
                                   QVariant(i * 0.5), QVariant(QStringLiteral("2025-09-15 00:00:00.000"))};
    reply.results << table << TResultTable{{QStringLiteral("empty")}, {TFieldType::Unknown}, {}};
    return reply;
}

Decoded decodeAll(const QByteArray& frame) {
    return decodeFrame(frame, kMax);
}

TEST(ProtocolTest, EveryMessageSurvivesARoundTrip) {
    const QList<Message> messages = {LoginRequest{QStringLiteral("office"), QStringLiteral("p@ss 密碼"),
                                                  QStringLiteral("dudodu"), QStringLiteral("4.197")},
                                     LoginVerdict{false, QStringLiteral("refused")},
                                     ExecuteRequest{QStringLiteral("select 1\nselect '2'"), false},
                                     sampleReply(3),
                                     sampleReply(5000), // compressed
                                     TBatchReply{{}, QStringLiteral("伺服器錯誤"), 0},
                                     Closing{QStringLiteral("idle timeout")}};
    for (const Message& message : messages) {
        SCOPED_TRACE(messageName(message).toStdString());
        const QByteArray frame = encodeFrame(message);
        const Decoded d = decodeAll(frame);
        ASSERT_EQ(d.status, Decoded::Status::Frame) << d.error.toStdString();
        EXPECT_EQ(d.consumed, frame.size());
        ASSERT_EQ(d.message.index(), message.index());
        // Re-encoding the decoded message gives the same bytes: nothing was lost or changed.
        EXPECT_EQ(encodeFrame(d.message), frame);
    }
    EXPECT_EQ(quint8(encodeFrame(sampleReply(5000))[5]) & 1, 1) << "large payloads are compressed";
    const auto reply = std::get<TBatchReply>(decodeAll(encodeFrame(sampleReply(3))).message);
    EXPECT_FALSE(reply.results[0].rows[0][1].isValid()); // NULL stays NULL
    EXPECT_EQ(reply.results[0].rows[1][0], QVariant(qint64(-2)));
    EXPECT_EQ(reply.results[0].rows[1][1], QVariant(QStringLiteral("課程 1")));
}

// The payload is exactly the CBOR map a generic encoder writes from the documented keys, so both
// ends stay compatible with peers that build their messages as QCbor trees.
TEST(ProtocolTest, PayloadIsThePlainCborMap) {
    const TBatchReply reply = sampleReply(3);
    QCborArray sets;
    for (const TResultTable& table : reply.results) {
        QCborArray kinds, rows;
        for (TFieldType type : table.fieldTypes)
            kinds.append(int(type));
        for (const QVariantList& row : table.rows) {
            QCborArray cells;
            for (const QVariant& cell : row)
                cells.append(cell.isValid() ? QCborValue::fromVariant(cell) : QCborValue(QCborValue::Null));
            rows.append(cells);
        }
        sets.append(QCborMap{{QStringLiteral("f"), QCborArray::fromStringList(table.fieldNames)},
                             {QStringLiteral("k"), kinds},
                             {QStringLiteral("d"), rows}});
    }
    const QCborMap expectedReply{{QStringLiteral("t"), 4},
                                 {QStringLiteral("e"), reply.error},
                                 {QStringLiteral("r"), reply.rowsAffected},
                                 {QStringLiteral("s"), sets}};
    const QCborMap expectedExecute{{QStringLiteral("t"), 3},
                                   {QStringLiteral("b"), QStringLiteral("select 1")},
                                   {QStringLiteral("w"), true}};
    EXPECT_EQ(encodeFrame(reply).sliced(6), QCborValue(expectedReply).toCbor());
    EXPECT_EQ(encodeFrame(ExecuteRequest{QStringLiteral("select 1"), true}).sliced(6),
              QCborValue(expectedExecute).toCbor());
}

TEST(ProtocolTest, FramesArriveInPiecesAndBackToBack) {
    const QByteArray first = encodeFrame(ExecuteRequest{QStringLiteral("select 1"), true});
    const QByteArray second = encodeFrame(sampleReply(2000));
    const QByteArray stream = first + second;
    for (qsizetype cut = 0; cut < first.size(); ++cut)
        EXPECT_EQ(decodeFrame(QByteArrayView(stream).first(cut), kMax).status, Decoded::Status::Incomplete)
            << cut;
    const Decoded a = decodeFrame(stream, kMax);
    ASSERT_EQ(a.status, Decoded::Status::Frame);
    EXPECT_EQ(a.consumed, first.size());
    EXPECT_EQ(decodeFrame(QByteArrayView(stream).sliced(a.consumed, second.size() - 1), kMax).status,
              Decoded::Status::Incomplete);
    EXPECT_EQ(decodeFrame(QByteArrayView(stream).sliced(a.consumed), kMax).status, Decoded::Status::Frame);
}

// Builders for hand-made frames.
QByteArray frame(quint8 version, quint8 flags, const QByteArray& payload) {
    QByteArray f(4, '\0');
    qToBigEndian(quint32(payload.size() + 2), f.data());
    return f + char(version) + char(flags) + payload;
}
QByteArray cbor(const QCborMap& map) {
    return QCborValue(map).toCbor();
}
QByteArray compressed(quint32 claimedSize, const QByteArray& data) {
    QByteArray head(4, '\0');
    qToBigEndian(claimedSize, head.data());
    return head + data;
}
QByteArray zlib(const QByteArray& data) {
    uLongf size = compressBound(uLong(data.size()));
    QByteArray out(qsizetype(size), '\0');
    compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(data.constData()),
              uLong(data.size()), 1);
    out.resize(qsizetype(size));
    return out;
}

// What another encoder may legally write: keys in another order, strings in chunks, containers of
// unstated length, integers at the ends of their range.
TEST(ProtocolTest, OtherEncodingsOfAResultAreRead) {
    QByteArray payload;
    {
        QCborStreamWriter w(&payload);
        w.startMap(); // unstated length
        w.append(QLatin1StringView("s"));
        w.startArray(1);
        w.startMap(3);
        w.append(QLatin1StringView("d")); // rows before the fields they must match
        w.startArray();
        w.startArray();
        w.append(std::numeric_limits<qint64>::min());
        w.append(QLatin1StringView("placeholder"));
        w.endArray();
        w.endArray();
        w.append(QLatin1StringView("k"));
        w.startArray(2);
        w.append(1);
        w.append(3);
        w.endArray();
        w.append(QLatin1StringView("f"));
        w.startArray(2);
        w.append(QLatin1StringView("n"));
        w.append(QLatin1StringView("s"));
        w.endArray();
        w.endMap();
        w.endArray();
        w.append(QLatin1StringView("r"));
        w.append(quint64(9));
        w.append(QLatin1StringView("t"));
        w.append(4);
        w.append(QLatin1StringView("e"));
        w.append(QLatin1StringView(""));
        w.endMap();
    }
    // A text string in two chunks ("ab" + "c") in place of the placeholder.
    const QByteArray placeholder = QCborValue(QStringLiteral("placeholder")).toCbor();
    payload.replace(payload.indexOf(placeholder), placeholder.size(),
                    QByteArray("\x7f\x62"
                               "ab"
                               "\x61"
                               "c"
                               "\xff",
                               7));

    const Decoded d = decodeAll(frame(1, 0, payload));
    ASSERT_EQ(d.status, Decoded::Status::Frame) << d.error.toStdString();
    const auto reply = std::get<TBatchReply>(d.message);
    EXPECT_EQ(reply.rowsAffected, 9);
    ASSERT_EQ(reply.results.size(), 1);
    EXPECT_EQ(reply.results[0].fieldNames, QStringList({QStringLiteral("n"), QStringLiteral("s")}));
    ASSERT_EQ(reply.results[0].rows.size(), 1);
    EXPECT_EQ(reply.results[0].rows[0][0], QVariant(std::numeric_limits<qint64>::min()));
    EXPECT_EQ(reply.results[0].rows[0][1], QVariant(QStringLiteral("abc")));
}

// Shared with the server's bad-input test: each frame is refused, and why.
TEST(ProtocolTest, BadFramesAreRefusedWithAReason) {
    const QByteArray login = cbor({{QStringLiteral("t"), 1},
                                   {QStringLiteral("a"), QStringLiteral("x")},
                                   {QStringLiteral("p"), QStringLiteral("y")},
                                   {QStringLiteral("n"), QStringLiteral("z")},
                                   {QStringLiteral("v"), QStringLiteral("1")}});
    QByteArray huge(4, '\0');
    qToBigEndian(quint32(0xFFFFFFF0u), huge.data());
    QByteArray tooShort(4, '\0');
    qToBigEndian(quint32(1), tooShort.data());
    const QByteArray bomb = zlib(QByteArray(4 * kMax, 'a'));
    const QCborArray badRow{QCborArray{1, 2}};
    const QCborMap badTable{{QStringLiteral("f"), QCborArray{QStringLiteral("a")}},
                            {QStringLiteral("k"), QCborArray{1}},
                            {QStringLiteral("d"), badRow}};
    struct Case {
        const char* name;
        QByteArray bytes;
        const char* reason;
    };
    const Case cases[] = {
        {"length below the header", tooShort + "\x01\x00", "too short"},
        {"length over the limit", huge, "exceeds the limit"},
        {"other version", frame(2, 0, login), "version 2"},
        {"unknown flags", frame(1, 0x80, login), "flags"},
        {"not CBOR", frame(1, 0, "\xff\xff\xff"), "not valid CBOR"},
        {"CBOR but not a map", frame(1, 0, QCborValue(42).toCbor()), "not a map"},
        {"no type", frame(1, 0, cbor({{QStringLiteral("a"), 1}})), "\"t\""},
        {"unknown type", frame(1, 0, cbor({{QStringLiteral("t"), 99}})), "unknown message type 99"},
        {"field of the wrong kind",
         frame(1, 0, cbor({{QStringLiteral("t"), 3}, {QStringLiteral("b"), 5}, {QStringLiteral("w"), true}})),
         "\"b\""},
        {"row longer than its fields",
         frame(1, 0,
               cbor({{QStringLiteral("t"), 4},
                     {QStringLiteral("e"), QString()},
                     {QStringLiteral("r"), 0},
                     {QStringLiteral("s"), QCborArray{badTable}}})),
         "one value per field"},
        {"count as a huge float",
         frame(1, 0,
               cbor({{QStringLiteral("t"), 4},
                     {QStringLiteral("e"), QString()},
                     {QStringLiteral("r"), 2.8e20},
                     {QStringLiteral("s"), QCborArray{}}})),
         "\"r\""},
        {"compressed without size", frame(1, 1, "ab"), "without its size"},
        {"compressed garbage", frame(1, 1, compressed(100, "garbage!")), "corrupt"},
        {"compressed size that lies", frame(1, 1, compressed(10, zlib(login))), "corrupt"},
        {"compressed bomb", frame(1, 1, compressed(quint32(4 * kMax), bomb)), "exceeds the limit"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Decoded d = decodeFrame(c.bytes, kMax);
        ASSERT_EQ(d.status, Decoded::Status::Bad);
        EXPECT_TRUE(d.error.contains(QString::fromUtf8(c.reason))) << d.error.toStdString();
    }
}

TEST(LoginThrottleTest, FailuresSlowDownTheAccountAndTheAddress) {
    server::LoginThrottle throttle;
    qint64 now = 1'000'000;
    throttle.setClock([&] { return now; });
    const QString address = QStringLiteral("10.0.0.1");
    for (int i = 0; i < server::LoginThrottle::kFreeFailures; ++i) {
        EXPECT_EQ(throttle.waitMs(QStringLiteral("office"), address), 0) << i;
        throttle.recordFailure(QStringLiteral("office"), address);
    }
    EXPECT_EQ(throttle.waitMs(QStringLiteral("office"), address), 0);
    throttle.recordFailure(QStringLiteral("Office "), address); // same account, other spelling
    EXPECT_EQ(throttle.waitMs(QStringLiteral("office"), QStringLiteral("10.0.0.2")), 1000);
    now += 1000;
    EXPECT_EQ(throttle.waitMs(QStringLiteral("office"), address), 0);
    throttle.recordFailure(QStringLiteral("office"), address);
    EXPECT_EQ(throttle.waitMs(QStringLiteral("office"), address), 2000); // doubled
    EXPECT_EQ(throttle.waitMs(QStringLiteral("CS__"), address), 0);      // the address is not yet locked

    // Many accounts tried from one address lock the address.
    for (int i = 0; i <= 4 * server::LoginThrottle::kFreeFailures; ++i)
        throttle.recordFailure(QStringLiteral("user%1").arg(i), QStringLiteral("10.9.9.9"));
    EXPECT_GT(throttle.waitMs(QStringLiteral("fresh"), QStringLiteral("10.9.9.9")), 0);

    throttle.recordSuccess(QStringLiteral("office"), address);
    EXPECT_EQ(throttle.waitMs(QStringLiteral("office"), address), 0);
}

} // namespace
} // namespace dudodu::protocol
