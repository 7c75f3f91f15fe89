#include "server/Session.h"

#include "engine/Engine.h"
#include "server/Backend.h"
#include "server/LoginThrottle.h"
#include "server/ServerConfig.h"
#include "server/ServerLog.h"

#include <QDir>
#include <QSslSocket>

namespace dudodu::server {

namespace {
const QString kRefused = QStringLiteral("The account or the password was refused.");
// How long a closing session waits for its last bytes to leave before dropping the connection.
constexpr int kGoodbyeMs = 2000;
} // namespace

Session::Session(std::unique_ptr<QSslSocket> socket, const SessionContext& context)
    : m_socket(std::move(socket)), m_context(context) {
    m_address = QStringLiteral("%1:%2").arg(m_socket->peerAddress().toString()).arg(m_socket->peerPort());
    m_socket->setSocketOption(QAbstractSocket::LowDelayOption, 1); // replies are small and awaited
    m_timeout.setSingleShot(true);
    connect(&m_timeout, &QTimer::timeout, this, [this] {
        end(m_backend ? QStringLiteral("idle timeout") : QStringLiteral("no login in time"), true, false);
    });
    connect(m_socket.get(), &QSslSocket::readyRead, this, &Session::onReadyRead);
    connect(m_socket.get(), &QSslSocket::disconnected, this, [this] {
        end(QStringLiteral("client disconnected"), false, false);
        emit finished();
    });
}

Session::~Session() {
    end(QStringLiteral("server stopping"), true, false);
    if (m_socket) {
        m_socket->disconnect(this);
        m_socket->abort();
    }
}

QString Session::who() const {
    return QStringLiteral("account=%1 addr=%2")
        .arg(m_account.isEmpty() ? QStringLiteral("-") : m_account, m_address);
}

void Session::start() {
    m_clock.start();
    m_context.log->write(QStringLiteral("session-start addr=%1").arg(m_address));
    m_timeout.start(m_context.config->loginTimeoutMs);
    if (m_socket->state() != QAbstractSocket::ConnectedState) {
        end(QStringLiteral("client disconnected"), false, false);
        emit finished();
        return;
    }
    if (m_socket->bytesAvailable() > 0) onReadyRead();
}

void Session::onReadyRead() {
    if (m_ended || m_handling) return;
    m_handling = true;
    m_buffer += m_socket->readAll();
    while (!m_ended) {
        const qsizetype limit = m_backend ? m_context.config->maxFrameBytes
                                          : qMin(kLoginFrameBytes, m_context.config->maxFrameBytes);
        protocol::Decoded decoded = protocol::decodeFrame(m_buffer, limit);
        if (decoded.status == protocol::Decoded::Status::Incomplete) break;
        if (decoded.status == protocol::Decoded::Status::Bad) {
            end(QStringLiteral("bad frame: ") + decoded.error, true, true);
            break;
        }
        m_buffer.remove(0, decoded.consumed);
        ++m_requests;
        handle(std::move(decoded.message));
        if (!m_ended && m_socket->bytesToWrite() > kMaxUnsentBytes)
            end(QStringLiteral("client does not read its replies"), false, true);
        // More bytes may have come while the batch ran.
        if (!m_ended && m_socket->bytesAvailable() > 0) m_buffer += m_socket->readAll();
    }
    m_handling = false;
}

void Session::handle(protocol::Message&& message) {
    if (auto* loginRequest = std::get_if<protocol::LoginRequest>(&message); loginRequest && !m_backend) {
        login(*loginRequest);
        return;
    }
    auto* request = std::get_if<protocol::ExecuteRequest>(&message);
    if (!request || !m_backend) {
        end(QStringLiteral("unexpected %1 message%2")
                .arg(protocol::messageName(message), m_backend ? QString() : QStringLiteral(" before login")),
            true, true);
        return;
    }
    TBatchReply reply = m_backend->execute(request->batch);
    if (!reply.ok())
        m_context.log->write(QStringLiteral("statement-error %1 (server text not logged)").arg(who()));
    if (!request->wantRows) reply.results.clear();
    send(reply);
    m_timeout.start(m_context.config->idleTimeoutMs);
}

void Session::login(const protocol::LoginRequest& request) {
    const QString account = request.account.trimmed();
    const QString address = m_socket->peerAddress().toString();
    if (const qint64 wait = m_context.throttle->waitMs(account, address); wait > 0) {
        m_context.log->write(QStringLiteral("login-throttled account=%1 addr=%2").arg(account, m_address));
        send(protocol::LoginVerdict{
            false, QStringLiteral("Too many failed logins; try again in %1 s.").arg((wait + 999) / 1000)});
        end(QStringLiteral("login throttled"), false, false);
        return;
    }
    const ServerConfig& config = *m_context.config;
    QString error;
    auto accounts = engine::Engine::open(config.accountsFolder, &error);
    if (!accounts) {
        m_context.log->write(QStringLiteral("error addr=%1 account store: %2").arg(m_address, error));
        send(protocol::LoginVerdict{false, QStringLiteral("The server cannot check accounts now.")});
        end(QStringLiteral("account store unavailable"), false, true);
        return;
    }
    if (!accounts->verifyAccount(account, request.password)) {
        m_context.throttle->recordFailure(account, address);
        m_context.log->write(QStringLiteral("login-refused account=%1 addr=%2").arg(account, m_address));
        send(protocol::LoginVerdict{false, kRefused});
        end(QStringLiteral("login refused"), false, false);
        return;
    }
    m_context.throttle->recordSuccess(account, address);
    m_account = account;
    if (config.backend == ServerConfig::Backend::Embedded &&
        QDir(config.accountsFolder) == QDir(config.databaseFolder))
        m_backend = engineBackend(std::move(accounts));
    else
        m_backend = openBackend(config, &error);
    if (!m_backend) {
        m_context.log->write(QStringLiteral("error %1 database: %2").arg(who(), error));
        send(protocol::LoginVerdict{false, QStringLiteral("The server cannot reach its database: ") + error});
        end(QStringLiteral("database unavailable"), false, true);
        return;
    }
    m_context.log->write(
        QStringLiteral("login %1 app=%2 version=%3").arg(who(), request.application, request.version));
    send(protocol::LoginVerdict{true, {}});
    m_timeout.start(config.idleTimeoutMs);
}

void Session::send(const protocol::Message& message) {
    m_socket->write(protocol::encodeFrame(message, m_context.config->compressThreshold));
}

void Session::end(const QString& reason, bool tellPeer, bool isError) {
    if (m_ended) return;
    m_ended = true;
    m_timeout.stop();
    if (isError) m_context.log->write(QStringLiteral("error %1 %2").arg(who(), reason));
    m_context.log->write(QStringLiteral("session-end %1 duration=%2ms requests=%3 reason=%4")
                             .arg(who())
                             .arg(m_clock.isValid() ? m_clock.elapsed() : 0)
                             .arg(m_requests)
                             .arg(reason));
    m_backend.reset();
    if (!m_socket || m_socket->state() != QAbstractSocket::ConnectedState) {
        QMetaObject::invokeMethod(this, &Session::finished, Qt::QueuedConnection);
        return;
    }
    if (tellPeer) send(protocol::Closing{reason});
    m_socket->disconnectFromHost();
    if (m_socket->state() != QAbstractSocket::UnconnectedState)
        QTimer::singleShot(kGoodbyeMs, this, [this] {
            m_socket->abort();
            emit finished();
        });
}

SessionThread::SessionThread(std::unique_ptr<QSslSocket> socket, const SessionContext& context)
    : m_socket(std::move(socket)), m_context(context) {}

SessionThread::~SessionThread() {
    quit();
    wait();
}

void SessionThread::run() {
    Session session(std::move(m_socket), m_context);
    connect(
        &session, &Session::finished, this, [this] { quit(); }, Qt::DirectConnection);
    QMetaObject::invokeMethod(&session, &Session::start, Qt::QueuedConnection);
    exec();
}

} // namespace dudodu::server
