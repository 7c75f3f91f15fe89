#include "db/Protocol.h"

#include <QCborArray>
#include <QCborMap>
#include <QCborValue>
#include <QtEndian>
#include <zlib.h>

namespace dudodu::protocol {
namespace {

constexpr quint8 kFlagCompressed = 0x01;
constexpr qsizetype kHeaderBytes = kLengthBytes + 2; // length, version, flags

// Short keys keep large row sets small.
const QString kType = QStringLiteral("t");
const QString kAccount = QStringLiteral("a");
const QString kPassword = QStringLiteral("p");
const QString kApplication = QStringLiteral("n");
const QString kAppVersion = QStringLiteral("v");
const QString kAccepted = QStringLiteral("ok");
const QString kText = QStringLiteral("x");
const QString kBatch = QStringLiteral("b");
const QString kWantRows = QStringLiteral("w");
const QString kError = QStringLiteral("e");
const QString kRowsAffected = QStringLiteral("r");
const QString kSets = QStringLiteral("s");
const QString kFields = QStringLiteral("f");
const QString kKinds = QStringLiteral("k");
const QString kRows = QStringLiteral("d");

QCborValue encodeValue(const QVariant& value) {
    if (!value.isValid() || value.isNull()) return QCborValue(QCborValue::Null);
    switch (value.typeId()) {
    case QMetaType::LongLong:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Bool:
        return QCborValue(value.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return QCborValue(value.toDouble());
    default:
        return QCborValue(value.toString());
    }
}

QCborMap encodeReply(const TBatchReply& reply) {
    QCborArray sets;
    for (const TResultTable& table : reply.results) {
        QCborArray kinds;
        for (TFieldType type : table.fieldTypes)
            kinds.append(int(type));
        QCborArray rows;
        for (const QVariantList& row : table.rows) {
            QCborArray cells;
            for (const QVariant& value : row)
                cells.append(encodeValue(value));
            rows.append(cells);
        }
        sets.append(QCborMap{
            {kFields, QCborArray::fromStringList(table.fieldNames)}, {kKinds, kinds}, {kRows, rows}});
    }
    return QCborMap{{kType, int(MessageType::Result)},
                    {kError, reply.error},
                    {kRowsAffected, reply.rowsAffected},
                    {kSets, sets}};
}

QCborMap encodeMessage(const Message& message) {
    struct Visitor {
        QCborMap operator()(const LoginRequest& m) const {
            return {{kType, int(MessageType::Login)},
                    {kAccount, m.account},
                    {kPassword, m.password},
                    {kApplication, m.application},
                    {kAppVersion, m.version}};
        }
        QCborMap operator()(const LoginVerdict& m) const {
            return {{kType, int(MessageType::LoginVerdict)}, {kAccepted, m.accepted}, {kText, m.text}};
        }
        QCborMap operator()(const ExecuteRequest& m) const {
            return {{kType, int(MessageType::Execute)}, {kBatch, m.batch}, {kWantRows, m.wantRows}};
        }
        QCborMap operator()(const TBatchReply& m) const { return encodeReply(m); }
        QCborMap operator()(const Closing& m) const {
            return {{kType, int(MessageType::Closing)}, {kText, m.reason}};
        }
    };
    return std::visit(Visitor{}, message);
}

// Reading a payload: every field must be present with its kind; anything else is a bad frame.
class Reader {
  public:
    explicit Reader(const QCborMap& map) : m_map(map) {}
    QString text(const QString& key) {
        const QCborValue v = m_map.value(key);
        if (!v.isString()) fail(key);
        return v.toString();
    }
    bool boolean(const QString& key) {
        const QCborValue v = m_map.value(key);
        if (!v.isBool()) fail(key);
        return v.toBool();
    }
    qint64 integer(const QString& key) {
        const QCborValue v = m_map.value(key);
        if (!v.isInteger()) {
            fail(key);
            return 0; // toInteger() would convert a double, undefined when out of range
        }
        return v.toInteger();
    }
    QCborArray array(const QString& key) {
        const QCborValue v = m_map.value(key);
        if (!v.isArray()) fail(key);
        return v.toArray();
    }
    void fail(const QString& key) {
        if (m_error.isEmpty()) m_error = QStringLiteral("field \"%1\" missing or of the wrong kind").arg(key);
    }
    const QString& error() const { return m_error; }

  private:
    const QCborMap& m_map;
    QString m_error;
};

bool decodeTable(const QCborValue& value, TResultTable* table, QString* error) {
    if (!value.isMap()) {
        *error = QStringLiteral("a row set is not a map");
        return false;
    }
    const QCborMap map = value.toMap();
    Reader in(map);
    const QCborArray fields = in.array(kFields), kinds = in.array(kKinds), rows = in.array(kRows);
    if (!in.error().isEmpty()) {
        *error = in.error();
        return false;
    }
    if (fields.size() != kinds.size()) {
        *error = QStringLiteral("a row set has %1 field names but %2 field kinds")
                     .arg(fields.size())
                     .arg(kinds.size());
        return false;
    }
    for (qsizetype i = 0; i < fields.size(); ++i) {
        // toInteger() would also convert a double, and an out-of-range one is undefined behaviour.
        const qint64 kind = kinds.at(i).isInteger() ? kinds.at(i).toInteger() : -1;
        if (!fields.at(i).isString() || kind < int(TFieldType::Unknown) || kind > int(TFieldType::DateTime)) {
            *error = QStringLiteral("field %1 of a row set is malformed").arg(i);
            return false;
        }
        table->fieldNames.append(fields.at(i).toString());
        table->fieldTypes.append(TFieldType(kind));
    }
    table->rows.reserve(rows.size());
    for (const QCborValue& rowValue : rows) {
        if (!rowValue.isArray() || rowValue.toArray().size() != fields.size()) {
            *error = QStringLiteral("a row does not have one value per field");
            return false;
        }
        QVariantList row;
        row.reserve(fields.size());
        for (const QCborValue& cell : rowValue.toArray()) {
            if (cell.isNull())
                row.append(QVariant());
            else if (cell.isInteger())
                row.append(QVariant(qint64(cell.toInteger())));
            else if (cell.isDouble())
                row.append(QVariant(cell.toDouble()));
            else if (cell.isString())
                row.append(QVariant(cell.toString()));
            else {
                *error = QStringLiteral("a value is neither null, number nor text");
                return false;
            }
        }
        table->rows.append(std::move(row));
    }
    return true;
}

bool decodePayload(const QByteArray& payload, Message* message, QString* error) {
    QCborParserError parseError;
    const QCborValue root = QCborValue::fromCbor(payload, &parseError);
    if (parseError.error != QCborError::NoError) {
        *error = QStringLiteral("payload is not valid CBOR: %1").arg(parseError.errorString());
        return false;
    }
    if (!root.isMap()) {
        *error = QStringLiteral("payload is not a map");
        return false;
    }
    const QCborMap map = root.toMap();
    Reader in(map);
    const qint64 type = in.integer(kType);
    if (!in.error().isEmpty()) {
        *error = in.error();
        return false;
    }
    switch (MessageType(type)) {
    case MessageType::Login:
        *message =
            LoginRequest{in.text(kAccount), in.text(kPassword), in.text(kApplication), in.text(kAppVersion)};
        break;
    case MessageType::LoginVerdict:
        *message = LoginVerdict{in.boolean(kAccepted), in.text(kText)};
        break;
    case MessageType::Execute:
        *message = ExecuteRequest{in.text(kBatch), in.boolean(kWantRows)};
        break;
    case MessageType::Closing:
        *message = Closing{in.text(kText)};
        break;
    case MessageType::Result: {
        TBatchReply reply;
        reply.error = in.text(kError);
        reply.rowsAffected = in.integer(kRowsAffected);
        const QCborArray sets = in.array(kSets);
        if (!in.error().isEmpty()) break;
        for (const QCborValue& set : sets) {
            TResultTable table;
            if (!decodeTable(set, &table, error)) return false;
            reply.results.append(std::move(table));
        }
        *message = std::move(reply);
        break;
    }
    default:
        *error = QStringLiteral("unknown message type %1").arg(type);
        return false;
    }
    if (!in.error().isEmpty()) {
        *error = in.error();
        return false;
    }
    return true;
}

Decoded bad(QString text) {
    Decoded d;
    d.status = Decoded::Status::Bad;
    d.error = std::move(text);
    return d;
}

} // namespace

QString messageName(const Message& message) {
    static const char* const names[] = {"login", "login verdict", "execute", "result", "closing"};
    return QString::fromLatin1(names[message.index()]);
}

QByteArray encodeFrame(const Message& message, qsizetype compressThreshold) {
    const QByteArray payload = encodeMessage(message).toCborValue().toCbor();
    QByteArray frame(kHeaderBytes, Qt::Uninitialized);
    frame[kLengthBytes] = char(kVersion);
    frame[kLengthBytes + 1] = 0;
    bool compressed = false;
    if (payload.size() > compressThreshold && payload.size() <= std::numeric_limits<quint32>::max()) {
        uLongf size = compressBound(uLong(payload.size()));
        QByteArray packed(qsizetype(4 + size), Qt::Uninitialized);
        qToBigEndian(quint32(payload.size()), packed.data());
        if (compress2(reinterpret_cast<Bytef*>(packed.data() + 4), &size,
                      reinterpret_cast<const Bytef*>(payload.constData()), uLong(payload.size()),
                      Z_BEST_SPEED) == Z_OK) {
            packed.resize(qsizetype(4 + size));
            frame[kLengthBytes + 1] = char(kFlagCompressed);
            frame += packed;
            compressed = true;
        }
    }
    if (!compressed) frame += payload;
    qToBigEndian(quint32(frame.size() - kLengthBytes), frame.data());
    return frame;
}

Decoded decodeFrame(QByteArrayView buffer, qsizetype maxFrameBytes) {
    if (buffer.size() < kLengthBytes) return {};
    const qint64 length = qFromBigEndian<quint32>(buffer.data());
    if (length < kHeaderBytes - kLengthBytes)
        return bad(QStringLiteral("frame of %1 bytes is too short").arg(length));
    if (length > maxFrameBytes)
        return bad(
            QStringLiteral("frame of %1 bytes exceeds the limit of %2").arg(length).arg(maxFrameBytes));
    if (buffer.size() < kLengthBytes + length) return {};

    const quint8 version = quint8(buffer[kLengthBytes]);
    const quint8 flags = quint8(buffer[kLengthBytes + 1]);
    if (version != kVersion) return bad(QStringLiteral("protocol version %1 is not supported").arg(version));
    if (flags & ~kFlagCompressed) return bad(QStringLiteral("unknown frame flags 0x%1").arg(flags, 0, 16));
    QByteArrayView body = buffer.sliced(kHeaderBytes, length - 2);

    QByteArray payload;
    if (flags & kFlagCompressed) {
        if (body.size() < 4) return bad(QStringLiteral("compressed frame without its size"));
        const qint64 size = qFromBigEndian<quint32>(body.data());
        if (size > maxFrameBytes)
            return bad(QStringLiteral("compressed payload of %1 bytes exceeds the limit of %2")
                           .arg(size)
                           .arg(maxFrameBytes));
        payload.resize(qsizetype(size));
        uLongf produced = uLongf(size);
        const int rc = uncompress(reinterpret_cast<Bytef*>(payload.data()), &produced,
                                  reinterpret_cast<const Bytef*>(body.data() + 4), uLong(body.size() - 4));
        if (rc != Z_OK || qint64(produced) != size)
            return bad(QStringLiteral("compressed payload is corrupt"));
    } else {
        payload = body.toByteArray();
    }

    Decoded d;
    QString error;
    if (!decodePayload(payload, &d.message, &error)) return bad(error);
    d.status = Decoded::Status::Frame;
    d.consumed = kLengthBytes + length;
    return d;
}

} // namespace dudodu::protocol
