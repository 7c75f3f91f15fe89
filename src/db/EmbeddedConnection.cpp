#include "db/EmbeddedConnection.h"

#include "db/EngineReply.h"
#include "engine/Engine.h"

namespace dudodu {

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
    if (!m_engine) {
        TBatchReply reply;
        reply.error = notConnectedText();
        return reply;
    }
    return toBatchReply(m_engine->execute(batch));
}

QString TEmbeddedConnection::serverAddress() const {
    return QStringLiteral("embedded:") + m_folder;
}

} // namespace dudodu
