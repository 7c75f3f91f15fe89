#include "server/Server.h"

#include "server/BatchPool.h"
#include "server/ServerLog.h"
#include "server/Session.h"

#include <QFile>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslSocket>

namespace dudodu::server {

namespace {

QString peer(const QTcpSocket* socket) {
    return QStringLiteral("%1:%2").arg(socket->peerAddress().toString()).arg(socket->peerPort());
}

bool loadIdentity(const ServerConfig& config, QSslConfiguration* ssl, QString* error) {
    const QList<QSslCertificate> chain = QSslCertificate::fromPath(config.certificateFile, QSsl::Pem);
    if (chain.isEmpty()) {
        *error = QStringLiteral("The certificate file %1 is missing or holds no PEM certificate.")
                     .arg(config.certificateFile);
        return false;
    }
    QFile file(config.keyFile);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("The key file %1 cannot be read: %2").arg(config.keyFile, file.errorString());
        return false;
    }
    const QByteArray pem = file.readAll();
    QSslKey key;
    for (QSsl::KeyAlgorithm algorithm : {QSsl::Ec, QSsl::Rsa, QSsl::Dsa}) {
        key = QSslKey(pem, algorithm, QSsl::Pem, QSsl::PrivateKey);
        if (!key.isNull()) break;
    }
    if (key.isNull()) {
        *error = QStringLiteral("The key file %1 holds no unencrypted PEM private key.").arg(config.keyFile);
        return false;
    }
    ssl->setLocalCertificateChain(chain);
    ssl->setPrivateKey(key);
    return true;
}

} // namespace

Server::Server(ServerConfig config, ServerLog& log, QObject* parent)
    : QObject(parent), m_config(std::move(config)), m_log(log), m_listener(this) {
    // Queued: the listener finishes its own work on a socket before the socket moves to its thread.
    connect(&m_listener, &QSslServer::pendingConnectionAvailable, this, &Server::acceptPending,
            Qt::QueuedConnection);
    connect(
        &m_listener, &QSslServer::errorOccurred, this,
        [this](QSslSocket* socket, QAbstractSocket::SocketError) {
            m_log.write(
                QStringLiteral("error addr=%1 before login: %2").arg(peer(socket), socket->errorString()));
        });
}

Server::~Server() {
    stop();
}

bool Server::start(QString* error) {
    if (!QSslSocket::supportsSsl()) {
        *error = QStringLiteral("This Qt has no TLS backend.");
        return false;
    }
    QSslConfiguration ssl = QSslConfiguration::defaultConfiguration();
    ssl.setProtocol(QSsl::TlsV1_2OrLater);
    ssl.setPeerVerifyMode(QSslSocket::VerifyNone); // clients prove themselves with their account
    if (!loadIdentity(m_config, &ssl, error)) return false;
    m_listener.setSslConfiguration(ssl);
    m_listener.setHandshakeTimeout(m_config.loginTimeoutMs);
    if (!m_listener.listen(m_config.listen, m_config.port)) {
        *error = QStringLiteral("Cannot listen on %1:%2: %3")
                     .arg(m_config.listen.toString())
                     .arg(m_config.port)
                     .arg(m_listener.errorString());
        return false;
    }
    m_pool = std::make_unique<BatchPool>(m_config.batchThreads);
    const int ioThreads =
        m_config.ioThreads > 0 ? m_config.ioThreads : qMax(1, QThread::idealThreadCount() / 2);
    for (int i = 0; i < ioThreads; ++i) {
        auto io = std::make_unique<IoThread>();
        io->thread.setObjectName(QStringLiteral("session-io-%1").arg(i + 1));
        io->host = std::make_unique<SessionHost>();
        io->host->moveToThread(&io->thread);
        connect(io->host.get(), &SessionHost::sessionGone, this,
                [this, raw = io.get(), generation = m_generation] { sessionGone(raw, generation); });
        io->thread.start();
        m_io.push_back(std::move(io));
    }
    m_log.write(QStringLiteral("listening addr=%1:%2").arg(m_config.listen.toString()).arg(port()));
    return true;
}

void Server::stop() {
    if (m_listener.isListening()) {
        m_listener.close();
        m_log.write(QStringLiteral("stopped"));
    }
    // Sessions end first (each tells its client), then the batches already submitted run to their
    // end, then the I/O threads go.
    for (auto& io : m_io)
        QMetaObject::invokeMethod(io->host.get(), &SessionHost::closeAll, Qt::BlockingQueuedConnection);
    m_pool.reset();
    for (auto& io : m_io) {
        io->thread.quit();
        io->thread.wait();
    }
    m_io.clear();
    ++m_generation;
    if (m_sessionCount != 0) {
        m_sessionCount = 0;
        emit sessionCountChanged(0);
    }
}

void Server::acceptPending() {
    while (m_listener.hasPendingConnections()) {
        auto* socket = qobject_cast<QSslSocket*>(m_listener.nextPendingConnection());
        if (!socket) continue;
        QObject::disconnect(socket, nullptr, &m_listener, nullptr);
        socket->setParent(nullptr);
        std::unique_ptr<QSslSocket> owned(socket);
        if (m_sessionCount >= m_config.maxSessions || m_io.empty()) {
            m_log.write(QStringLiteral("error addr=%1 refused: %2 sessions open")
                            .arg(peer(socket))
                            .arg(m_sessionCount));
            owned->abort();
            continue;
        }
        IoThread* io = std::min_element(m_io.begin(), m_io.end(), [](const auto& a, const auto& b) {
                           return a->sessions < b->sessions;
                       })->get();
        owned->moveToThread(&io->thread);
        ++io->sessions;
        ++m_sessionCount;
        // The host takes the socket over in its own thread (queued calls to it keep their order,
        // so stop() still finds the session there).
        QMetaObject::invokeMethod(
            io->host.get(),
            [host = io->host.get(), socket = owned.release(),
             context = SessionContext{&m_config, &m_throttle, &m_log, m_pool.get()}] {
                host->adopt(socket, context);
            },
            Qt::QueuedConnection);
        emit sessionCountChanged(m_sessionCount);
    }
}

void Server::sessionGone(IoThread* io, quint64 generation) {
    if (generation != m_generation) return;
    --io->sessions;
    --m_sessionCount;
    emit sessionCountChanged(m_sessionCount);
}

} // namespace dudodu::server
