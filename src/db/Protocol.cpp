#include "db/Protocol.h"

#include <QBuffer>
#include <QCborStreamReader>
#include <QCborStreamWriter>
#include <QCborValue>
#include <QVarLengthArray>
#include <QtEndian>
#include <zlib.h>

namespace dudodu::protocol {
namespace {

constexpr quint8 kFlagCompressed = 0x01;
constexpr qsizetype kHeaderBytes = kLengthBytes + 2; // length, version, flags

// Short keys keep large row sets small.
constexpr QLatin1StringView kType("t");
constexpr QLatin1StringView kAccount("a");
constexpr QLatin1StringView kPassword("p");
constexpr QLatin1StringView kApplication("n");
constexpr QLatin1StringView kAppVersion("v");
constexpr QLatin1StringView kAccepted("ok");
constexpr QLatin1StringView kText("x");
constexpr QLatin1StringView kBatch("b");
constexpr QLatin1StringView kWantRows("w");
constexpr QLatin1StringView kError("e");
constexpr QLatin1StringView kRowsAffected("r");
constexpr QLatin1StringView kSets("s");
constexpr QLatin1StringView kFields("f");
constexpr QLatin1StringView kKinds("k");
constexpr QLatin1StringView kRows("d");

// Writing: straight into the frame's buffer, without building a tree of QCbor values first. The
// keys go in the same order as a QCborMap would write them, so the bytes are the same.
class Writer {
  public:
    // Appends to out (the QByteArray constructor of QCborStreamWriter would overwrite it in Qt 6.4).
    explicit Writer(QByteArray* out) : m_buffer(out), m_w(&m_buffer) { m_buffer.open(QIODevice::Append); }
    Writer& map(qsizetype entries) {
        m_w.startMap(quint64(entries));
        return *this;
    }
    Writer& field(QLatin1StringView key) {
        m_w.append(key);
        return *this;
    }
    void text(const QString& value) { m_w.append(QStringView(value)); }
    void integer(qint64 value) { m_w.append(value); }
    void boolean(bool value) { m_w.append(value); }
    void value(const QVariant& value) {
        if (!value.isValid() || value.isNull()) return m_w.append(nullptr);
        switch (value.typeId()) {
        case QMetaType::LongLong:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::Bool:
            return m_w.append(qint64(value.toLongLong()));
        case QMetaType::Double:
        case QMetaType::Float:
            return m_w.append(value.toDouble());
        case QMetaType::QString:
            return m_w.append(QStringView(*static_cast<const QString*>(value.constData())));
        default:
            return m_w.append(QStringView(value.toString()));
        }
    }
    void reply(const TBatchReply& reply) {
        map(4).field(kType).integer(int(MessageType::Result));
        field(kError).text(reply.error);
        field(kRowsAffected).integer(reply.rowsAffected);
        field(kSets);
        m_w.startArray(quint64(reply.results.size()));
        for (const TResultTable& table : reply.results) {
            map(3).field(kFields);
            m_w.startArray(quint64(table.fieldNames.size()));
            for (const QString& name : table.fieldNames)
                text(name);
            m_w.endArray();
            field(kKinds);
            m_w.startArray(quint64(table.fieldTypes.size()));
            for (TFieldType type : table.fieldTypes)
                integer(int(type));
            m_w.endArray();
            field(kRows);
            m_w.startArray(quint64(table.rows.size()));
            for (const QVariantList& row : table.rows) {
                m_w.startArray(quint64(row.size()));
                for (const QVariant& cell : row)
                    value(cell);
                m_w.endArray();
            }
            m_w.endArray();
            m_w.endMap();
        }
        m_w.endArray();
        m_w.endMap();
    }
    void message(const Message& message) {
        struct Visitor {
            Writer& w;
            void operator()(const LoginRequest& m) const {
                w.map(5).field(kType).integer(int(MessageType::Login));
                w.field(kAccount).text(m.account);
                w.field(kPassword).text(m.password);
                w.field(kApplication).text(m.application);
                w.field(kAppVersion).text(m.version);
            }
            void operator()(const LoginVerdict& m) const {
                w.map(3).field(kType).integer(int(MessageType::LoginVerdict));
                w.field(kAccepted).boolean(m.accepted);
                w.field(kText).text(m.text);
            }
            void operator()(const ExecuteRequest& m) const {
                w.map(3).field(kType).integer(int(MessageType::Execute));
                w.field(kBatch).text(m.batch);
                w.field(kWantRows).boolean(m.wantRows);
            }
            void operator()(const TBatchReply& m) const { w.reply(m); }
            void operator()(const Closing& m) const {
                w.map(2).field(kType).integer(int(MessageType::Closing));
                w.field(kText).text(m.reason);
            }
        };
        std::visit(Visitor{*this}, message);
        if (!std::holds_alternative<TBatchReply>(message)) m_w.endMap();
    }

  private:
    QBuffer m_buffer;
    QCborStreamWriter m_w;
};

// Reading the scalar fields of a payload: every field must be present with its kind; anything
// else is a bad frame.
class Reader {
  public:
    // The scalar fields of a message, read as they came: a message has a handful, so a short list
    // searched in order costs less than a map.
    using Fields = QVarLengthArray<std::pair<QString, QCborValue>, 8>;

    explicit Reader(const Fields& fields) : m_fields(fields) {}
    QCborValue value(QLatin1StringView key) const {
        for (const auto& [name, value] : m_fields)
            if (name == key) return value;
        return {};
    }
    QString text(QLatin1StringView key) {
        const QCborValue v = value(key);
        if (!v.isString()) fail(key);
        return v.toString();
    }
    bool boolean(QLatin1StringView key) {
        const QCborValue v = value(key);
        if (!v.isBool()) fail(key);
        return v.toBool();
    }
    qint64 integer(QLatin1StringView key) {
        const QCborValue v = value(key);
        if (!v.isInteger()) {
            fail(key);
            return 0; // toInteger() would convert a double, undefined when out of range
        }
        return v.toInteger();
    }
    void fail(QLatin1StringView key) {
        if (m_error.isEmpty()) m_error = missing(key);
    }
    static QString missing(QLatin1StringView key) {
        return QStringLiteral("field \"%1\" missing or of the wrong kind").arg(key);
    }
    const QString& error() const { return m_error; }

  private:
    const Fields& m_fields;
    QString m_error;
};

// A whole text string (it may come in chunks); false when the value is not one.
bool readText(QCborStreamReader& in, QString* out) {
    out->clear();
    if (!in.isString()) return false;
    auto chunk = in.readString();
    while (chunk.status == QCborStreamReader::Ok) {
        *out += chunk.data;
        chunk = in.readString();
    }
    return chunk.status == QCborStreamReader::EndOfString;
}

// Leaves the container whose elements were read; false when the stream broke off inside it.
bool leave(QCborStreamReader& in) {
    if (in.lastError() != QCborError::NoError) return false;
    in.leaveContainer();
    return in.lastError() == QCborError::NoError;
}

// Skips one value, whatever it holds.
void skip(QCborStreamReader& in) {
    (void)QCborValue::fromCbor(in);
}

// The next text key of the map being read (entries with other keys are passed over); false at its
// end or when the stream broke off.
bool nextKey(QCborStreamReader& in, QString* key) {
    while (in.lastError() == QCborError::NoError && in.hasNext()) {
        if (readText(in, key)) return true;
        skip(in); // the key
        skip(in); // its value
    }
    return false;
}

// One cell: null, a number or text.
bool readCell(QCborStreamReader& in, QVariant* cell) {
    constexpr quint64 kMaxSigned = quint64(std::numeric_limits<qint64>::max());
    switch (in.type()) {
    case QCborStreamReader::UnsignedInteger: {
        const quint64 value = in.toUnsignedInteger();
        *cell = value <= kMaxSigned ? QVariant(qint64(value)) : QVariant(double(value));
        return in.next();
    }
    case QCborStreamReader::NegativeInteger: {
        // The value is -magnitude; a magnitude of 0 stands for 2^64.
        const quint64 magnitude = quint64(in.toNegativeInteger());
        if (magnitude != 0 && magnitude - 1 <= kMaxSigned)
            *cell = QVariant(qint64(-1 - qint64(magnitude - 1)));
        else
            *cell = QVariant(magnitude == 0 ? -18446744073709551616.0 : -double(magnitude));
        return in.next();
    }
    case QCborStreamReader::Double:
        *cell = QVariant(in.toDouble());
        return in.next();
    case QCborStreamReader::Float:
        *cell = QVariant(double(in.toFloat()));
        return in.next();
    case QCborStreamReader::Float16:
        *cell = QVariant(double(in.toFloat16()));
        return in.next();
    case QCborStreamReader::String: {
        QString text;
        if (!readText(in, &text)) return false;
        *cell = QVariant(std::move(text));
        return true;
    }
    default:
        if (in.isNull()) {
            *cell = QVariant();
            return in.next();
        }
        return false;
    }
}

// The rows of a row set; their length is checked once the field names are known.
bool readRows(QCborStreamReader& in, qsizetype payloadSize, QList<QVariantList>* rows, QString* error) {
    if (in.isLengthKnown()) rows->reserve(qsizetype(qMin<quint64>(in.length(), quint64(payloadSize))));
    in.enterContainer();
    while (in.lastError() == QCborError::NoError && in.hasNext()) {
        if (!in.isArray()) {
            *error = QStringLiteral("a row does not have one value per field");
            return false;
        }
        QVariantList row;
        if (in.isLengthKnown()) row.reserve(qsizetype(qMin<quint64>(in.length(), quint64(payloadSize))));
        in.enterContainer();
        while (in.lastError() == QCborError::NoError && in.hasNext()) {
            QVariant cell;
            if (!readCell(in, &cell)) {
                *error = QStringLiteral("a value is neither null, number nor text");
                return false;
            }
            row.append(std::move(cell));
        }
        if (!leave(in)) return false;
        rows->append(std::move(row));
    }
    return leave(in);
}

bool readTable(QCborStreamReader& in, qsizetype payloadSize, TResultTable* table, QString* error) {
    if (!in.isMap()) {
        *error = QStringLiteral("a row set is not a map");
        return false;
    }
    bool haveFields = false, haveKinds = false, haveRows = false;
    qsizetype malformed = -1; // the first field whose name or kind is not what it should be
    QList<qint64> kinds;
    in.enterContainer();
    QString key;
    while (nextKey(in, &key)) {
        if (key == kFields || key == kKinds) {
            if (!in.isArray()) {
                *error = Reader::missing(key == kFields ? kFields : kKinds);
                return false;
            }
            in.enterContainer();
            for (qsizetype i = 0; in.lastError() == QCborError::NoError && in.hasNext(); ++i) {
                if (key == kKinds) {
                    // toInteger() would also convert a double, and an out-of-range one is undefined.
                    kinds.append(in.isInteger() ? in.toInteger() : -1);
                    skip(in);
                } else {
                    QString name;
                    if (!readText(in, &name)) {
                        if (malformed < 0) malformed = i;
                        skip(in);
                    }
                    table->fieldNames.append(std::move(name));
                }
            }
            if (!leave(in)) return false;
            (key == kFields ? haveFields : haveKinds) = true;
        } else if (key == kRows) {
            if (!in.isArray()) {
                *error = Reader::missing(kRows);
                return false;
            }
            if (!readRows(in, payloadSize, &table->rows, error)) return false;
            haveRows = true;
        } else {
            skip(in);
        }
    }
    if (!leave(in)) return false;
    if (!haveFields || !haveKinds || !haveRows) {
        *error = Reader::missing(!haveFields ? kFields : !haveKinds ? kKinds : kRows);
        return false;
    }
    if (table->fieldNames.size() != kinds.size()) {
        *error = QStringLiteral("a row set has %1 field names but %2 field kinds")
                     .arg(table->fieldNames.size())
                     .arg(kinds.size());
        return false;
    }
    for (qsizetype i = 0; i < kinds.size(); ++i) {
        if (i == malformed || kinds[i] < int(TFieldType::Unknown) || kinds[i] > int(TFieldType::DateTime)) {
            *error = QStringLiteral("field %1 of a row set is malformed").arg(i);
            return false;
        }
        table->fieldTypes.append(TFieldType(kinds[i]));
    }
    for (const QVariantList& row : table->rows) {
        if (row.size() != table->fieldNames.size()) {
            *error = QStringLiteral("a row does not have one value per field");
            return false;
        }
    }
    return true;
}

bool readSets(QCborStreamReader& in, qsizetype payloadSize, QList<TResultTable>* sets, QString* error) {
    if (!in.isArray()) {
        *error = Reader::missing(kSets);
        return false;
    }
    in.enterContainer();
    while (in.lastError() == QCborError::NoError && in.hasNext()) {
        TResultTable table;
        if (!readTable(in, payloadSize, &table, error)) return false;
        sets->append(std::move(table));
    }
    return leave(in);
}

QString notCbor(QCborStreamReader& in) {
    return QStringLiteral("payload is not valid CBOR: %1").arg(in.lastError().toString());
}

// Reads the payload in one pass. The row sets of a result (by far the largest part) are read
// straight into their tables when the type came first, as it does from this encoder; in any other
// key order they are read as a value and decoded once the type is known.
bool decodePayload(QByteArrayView payload, Message* message, QString* error) {
    QCborStreamReader in(payload.data(), payload.size());
    if (in.lastError() != QCborError::NoError || in.type() == QCborStreamReader::Invalid) {
        *error = notCbor(in);
        return false;
    }
    if (!in.isMap()) {
        *error = QStringLiteral("payload is not a map");
        return false;
    }
    Reader::Fields scalars;
    QList<TResultTable> sets;
    bool haveSets = false;
    QCborValue laterSets;
    in.enterContainer();
    QString key;
    while (nextKey(in, &key)) {
        if (key == kSets) {
            const QCborValue type = Reader(scalars).value(kType);
            if (type.isInteger() && type.toInteger() == int(MessageType::Result)) {
                if (!readSets(in, payload.size(), &sets, error)) {
                    if (in.lastError() != QCborError::NoError) *error = notCbor(in);
                    return false;
                }
                haveSets = true;
            } else {
                laterSets = QCborValue::fromCbor(in);
            }
        } else {
            scalars.emplace_back(key, QCborValue::fromCbor(in));
        }
    }
    if (!leave(in)) {
        *error = notCbor(in);
        return false;
    }

    Reader fields(scalars);
    const qint64 type = fields.integer(kType);
    if (!fields.error().isEmpty()) {
        *error = fields.error();
        return false;
    }
    switch (MessageType(type)) {
    case MessageType::Login:
        *message = LoginRequest{fields.text(kAccount), fields.text(kPassword), fields.text(kApplication),
                                fields.text(kAppVersion)};
        break;
    case MessageType::LoginVerdict:
        *message = LoginVerdict{fields.boolean(kAccepted), fields.text(kText)};
        break;
    case MessageType::Execute:
        *message = ExecuteRequest{fields.text(kBatch), fields.boolean(kWantRows)};
        break;
    case MessageType::Closing:
        *message = Closing{fields.text(kText)};
        break;
    case MessageType::Result: {
        TBatchReply reply;
        reply.error = fields.text(kError);
        reply.rowsAffected = fields.integer(kRowsAffected);
        if (!fields.error().isEmpty()) break;
        if (!haveSets) {
            if (laterSets.isUndefined()) {
                *error = Reader::missing(kSets);
                return false;
            }
            const QByteArray bytes = laterSets.toCbor();
            QCborStreamReader again(bytes);
            if (!readSets(again, bytes.size(), &sets, error)) return false;
        }
        reply.results = std::move(sets);
        *message = std::move(reply);
        break;
    }
    default:
        *error = QStringLiteral("unknown message type %1").arg(type);
        return false;
    }
    if (!fields.error().isEmpty()) {
        *error = fields.error();
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
    // The payload is written behind the header in one buffer; only a compressed one is copied.
    QByteArray frame(kHeaderBytes, Qt::Uninitialized);
    frame[kLengthBytes] = char(kVersion);
    frame[kLengthBytes + 1] = 0;
    Writer(&frame).message(message);
    const qsizetype payloadSize = frame.size() - kHeaderBytes;
    if (payloadSize > compressThreshold && payloadSize <= qsizetype(std::numeric_limits<quint32>::max())) {
        uLongf size = compressBound(uLong(payloadSize));
        QByteArray packed(qsizetype(kHeaderBytes + 4 + size), Qt::Uninitialized);
        qToBigEndian(quint32(payloadSize), packed.data() + kHeaderBytes);
        if (compress2(reinterpret_cast<Bytef*>(packed.data() + kHeaderBytes + 4), &size,
                      reinterpret_cast<const Bytef*>(frame.constData() + kHeaderBytes), uLong(payloadSize),
                      Z_BEST_SPEED) == Z_OK) {
            packed.resize(qsizetype(kHeaderBytes + 4 + size));
            packed[kLengthBytes] = char(kVersion);
            packed[kLengthBytes + 1] = char(kFlagCompressed);
            frame = std::move(packed);
        }
    }
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

    QByteArray unpacked;
    QByteArrayView payload = body;
    if (flags & kFlagCompressed) {
        if (body.size() < 4) return bad(QStringLiteral("compressed frame without its size"));
        const qint64 size = qFromBigEndian<quint32>(body.data());
        if (size > maxFrameBytes)
            return bad(QStringLiteral("compressed payload of %1 bytes exceeds the limit of %2")
                           .arg(size)
                           .arg(maxFrameBytes));
        unpacked.resize(qsizetype(size));
        uLongf produced = uLongf(size);
        const int rc = uncompress(reinterpret_cast<Bytef*>(unpacked.data()), &produced,
                                  reinterpret_cast<const Bytef*>(body.data() + 4), uLong(body.size() - 4));
        if (rc != Z_OK || qint64(produced) != size)
            return bad(QStringLiteral("compressed payload is corrupt"));
        payload = unpacked;
    }

    Decoded d;
    QString error;
    if (!decodePayload(payload, &d.message, &error)) return bad(error);
    d.status = Decoded::Status::Frame;
    d.consumed = kLengthBytes + length;
    return d;
}

} // namespace dudodu::protocol
