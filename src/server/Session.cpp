#include "server/Session.h"

#include "engine/Engine.h"
#include "server/Backend.h"
#include "server/BatchPool.h"
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

QString whoText(const QString& account, const QString& address) {
    return QStringLiteral("account=%1 addr=%2")
        .arg(account.isEmpty() ? QStringLiteral("-") : account, address);
}
} // namespace

// What a login check on the pool found; the session acts on it in its own thread.
struct Session::LoginOutcome {
    protocol::LoginVerdict verdict;
    std::shared_ptr<Backend> backend; // set when the login was accepted
    QString account;
    QString endReason; // when refused
    bool endIsError = false;
};

Session::Session(std::unique_ptr<QSslSocket> socket, const SessionContext& context, SessionHost* host,
                 quint64 id)
    : m_socket(std::move(socket)), m_context(context), m_host(host), m_id(id) {
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
    return whoText(m_account, m_address);
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
    if (m_ended) return;
    m_buffer += m_socket->readAll();
    if (m_busy) {
        // The client waits for each answer; one that keeps sending meanwhile may queue up one
        // request at most, not make the server hold everything it sends.
        if (m_buffer.size() > m_context.config->maxFrameBytes + protocol::kLengthBytes)
            end(QStringLiteral("client sends without waiting for its replies"), true, true);
        return;
    }
    serveBuffer();
}

void Session::serveBuffer() {
    if (m_serving) return; // a reply being sent read more bytes; the loop below takes them
    m_serving = true;
    qsizetype used = 0;
    while (!m_ended && !m_busy) {
        const qsizetype limit = m_backend ? m_context.config->maxFrameBytes
                                          : qMin(kLoginFrameBytes, m_context.config->maxFrameBytes);
        protocol::Decoded decoded = protocol::decodeFrame(QByteArrayView(m_buffer).sliced(used), limit);
        if (decoded.status == protocol::Decoded::Status::Incomplete) break;
        if (decoded.status == protocol::Decoded::Status::Bad) {
            end(QStringLiteral("bad frame: ") + decoded.error, true, true);
            break;
        }
        used += decoded.consumed;
        ++m_requests;
        handle(std::move(decoded.message));
    }
    m_buffer.remove(0, used);
    m_serving = false;
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
    runInPool([backend = m_backend, batch = std::move(request->batch), wantRows = request->wantRows,
               threshold = m_context.config->compressThreshold, log = m_context.log, account = m_account,
               address = m_address]() -> SessionHost::Done {
        TBatchReply reply = backend->execute(batch);
        if (!reply.ok())
            log->write(
                QStringLiteral("statement-error %1 (server text not logged)").arg(whoText(account, address)));
        if (!wantRows) reply.results.clear();
        return
            [frame = protocol::encodeFrame(reply, threshold)](Session& session) { session.replyDone(frame); };
    });
}

void Session::replyDone(const QByteArray& frame) {
    m_busy = false;
    if (m_ended) return;
    sendFrame(frame);
    if (m_socket->bytesToWrite() > kMaxUnsentBytes) {
        end(QStringLiteral("client does not read its replies"), false, true);
        return;
    }
    m_timeout.start(m_context.config->idleTimeoutMs);
    serveBuffer();
}

void Session::login(const protocol::LoginRequest& request) {
    runInPool([context = m_context, request, peer = m_socket->peerAddress().toString(),
               address = m_address]() -> SessionHost::Done {
        LoginOutcome out;
        const QString account = request.account.trimmed();
        const auto refuse = [&](const QString& verdict, const QString& reason, bool isError) {
            out.verdict = protocol::LoginVerdict{false, verdict};
            out.endReason = reason;
            out.endIsError = isError;
        };
        QString error;
        std::unique_ptr<engine::Engine> accounts;
        const ServerConfig& config = *context.config;
        if (const qint64 wait = context.throttle->waitMs(account, peer); wait > 0) {
            context.log->write(QStringLiteral("login-throttled account=%1 addr=%2").arg(account, address));
            refuse(QStringLiteral("Too many failed logins; try again in %1 s.").arg((wait + 999) / 1000),
                   QStringLiteral("login throttled"), false);
        } else if (accounts = engine::Engine::open(config.accountsFolder, &error); !accounts) {
            context.log->write(QStringLiteral("error addr=%1 account store: %2").arg(address, error));
            refuse(QStringLiteral("The server cannot check accounts now."),
                   QStringLiteral("account store unavailable"), true);
        } else if (!accounts->verifyAccount(account, request.password)) {
            context.throttle->recordFailure(account, peer);
            context.log->write(QStringLiteral("login-refused account=%1 addr=%2").arg(account, address));
            refuse(kRefused, QStringLiteral("login refused"), false);
        } else {
            context.throttle->recordSuccess(account, peer);
            if (config.backend == ServerConfig::Backend::Embedded &&
                QDir(config.accountsFolder) == QDir(config.databaseFolder))
                out.backend = engineBackend(std::move(accounts));
            else
                out.backend = openBackend(config, &error);
            if (out.backend) {
                out.account = account;
                out.verdict = protocol::LoginVerdict{true, {}};
                context.log->write(QStringLiteral("login %1 app=%2 version=%3")
                                       .arg(whoText(account, address), request.application, request.version));
            } else {
                context.log->write(
                    QStringLiteral("error %1 database: %2").arg(whoText(account, address), error));
                refuse(QStringLiteral("The server cannot reach its database: ") + error,
                       QStringLiteral("database unavailable"), true);
            }
        }
        return [out = std::move(out)](Session& session) mutable { session.loginDone(out); };
    });
}

void Session::loginDone(LoginOutcome& outcome) {
    m_busy = false;
    if (m_ended) return; // the engine, if any, closes with the outcome
    if (!outcome.backend) {
        // end() logs the reason under the account as the client gave it, like the refusal line
        send(outcome.verdict);
        end(outcome.endReason, false, outcome.endIsError);
        return;
    }
    m_account = outcome.account;
    m_backend = std::move(outcome.backend);
    send(outcome.verdict);
    m_timeout.start(m_context.config->idleTimeoutMs);
    serveBuffer();
}

void Session::runInPool(std::function<SessionHost::Done()> job) {
    m_busy = true;
    m_timeout.stop(); // a queued or running job is not idleness
    m_context.pool->submit([host = m_host, id = m_id, job = std::move(job)] { host->post(id, job()); });
}

void Session::send(const protocol::Message& message) {
    sendFrame(protocol::encodeFrame(message, m_context.config->compressThreshold));
}

void Session::sendFrame(const QByteArray& frame) {
    m_socket->write(frame);
    // Encrypts and hands the reply to the kernel now instead of on the next loop turn.
    m_socket->flush();
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
    m_backend.reset(); // a batch still running keeps the engine until it has finished
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

SessionHost::SessionHost() = default;

SessionHost::~SessionHost() = default;

void SessionHost::adopt(QSslSocket* socket, const SessionContext& context) {
    const quint64 id = m_nextId++;
    auto session = std::make_unique<Session>(std::unique_ptr<QSslSocket>(socket), context, this, id);
    // Queued: a session is not deleted inside its own signal.
    connect(session.get(), &Session::finished, this, [this, id] {
        QMetaObject::invokeMethod(
            this, [this, id] { remove(id); }, Qt::QueuedConnection);
    });
    Session* started = session.get();
    m_sessions.emplace(id, std::move(session));
    started->start();
}

void SessionHost::closeAll() {
    auto sessions = std::move(m_sessions);
    m_sessions.clear();
    for (auto& entry : sessions) {
        entry.second.reset();
        emit sessionGone();
    }
}

void SessionHost::remove(quint64 id) {
    if (m_sessions.erase(id) > 0) emit sessionGone();
}

void SessionHost::post(quint64 session, Done done) {
    bool wake = false;
    {
        QMutexLocker lock(&m_mutex);
        wake = m_mailbox.empty();
        m_mailbox.emplace_back(session, std::move(done));
    }
    // One wake-up carries every result that arrives before the host gets to them.
    if (wake) QMetaObject::invokeMethod(this, &SessionHost::deliver, Qt::QueuedConnection);
}

void SessionHost::deliver() {
    std::vector<std::pair<quint64, Done>> results;
    {
        QMutexLocker lock(&m_mutex);
        results.swap(m_mailbox);
    }
    for (auto& [id, done] : results) {
        const auto found = m_sessions.find(id);
        if (found != m_sessions.end()) done(*found->second);
    }
}

} // namespace dudodu::server
