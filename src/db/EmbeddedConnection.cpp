#include "db/EmbeddedConnection.h"

#include "engine/Engine.h"

namespace dudodu {

namespace {

TFieldType fieldType(engine::ColumnType type) {
    switch (type) {
    case engine::ColumnType::Integer:
        return TFieldType::Integer;
    case engine::ColumnType::Double:
        return TFieldType::Float;
    case engine::ColumnType::Text:
        return TFieldType::String;
    case engine::ColumnType::Date:
        return TFieldType::DateTime;
    case engine::ColumnType::Unknown:
        break;
    }
    return TFieldType::Unknown;
}

} // namespace

QString notConnectedText() {
    return QStringLiteral("尚未連線到資料庫 (not connected)");
}

TEmbeddedConnection::TEmbeddedConnection(QString folder, QObject* parent)
    : TConnection(parent), m_folder(std::move(folder)) {}

TEmbeddedConnection::~TEmbeddedConnection() = default;

void TEmbeddedConnection::open(const QString& user, const QString& password) {
    close();
    setLastError({});
    QString error;
    auto engine = engine::Engine::open(m_folder, &error);
    if (!engine) {
        setLastError(error);
        emit loginVerdict(false);
        return;
    }
    if (!engine->verifyAccount(user, password)) {
        setLastError(QStringLiteral("The account or the password was refused."));
        emit loginVerdict(false);
        return;
    }
    emit loginVerdict(true);
    m_engine = std::move(engine);
    emit activeChanged(true);
}

void TEmbeddedConnection::close() {
    if (!m_engine) return;
    m_engine.reset();
    emit activeChanged(false);
}

TBatchReply TEmbeddedConnection::execute(const QString& batch) {
    TBatchReply reply;
    if (!m_engine) {
        reply.error = notConnectedText();
        return reply;
    }
    engine::BatchResult result = m_engine->execute(batch);
    reply.error = result.error;
    reply.rowsAffected = result.rowsAffected;
    reply.results.reserve(result.results.size());
    for (engine::ResultSet& set : result.results) {
        TResultTable table;
        table.fieldNames = std::move(set.columns);
        for (engine::ColumnType type : set.types)
            table.fieldTypes.append(fieldType(type));
        table.rows = std::move(set.rows);
        reply.results.append(std::move(table));
    }
    return reply;
}

QString TEmbeddedConnection::serverAddress() const {
    return QStringLiteral("embedded:") + m_folder;
}

} // namespace dudodu
