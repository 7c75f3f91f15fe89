#include "server/Server.h"

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
    m_log.write(QStringLiteral("listening addr=%1:%2").arg(m_config.listen.toString()).arg(port()));
    return true;
}

void Server::stop() {
    if (m_listener.isListening()) {
        m_listener.close();
        m_log.write(QStringLiteral("stopped"));
    }
    m_sessions.clear(); // each thread ends its session and is joined
}

void Server::acceptPending() {
    while (m_listener.hasPendingConnections()) {
        auto* socket = qobject_cast<QSslSocket*>(m_listener.nextPendingConnection());
        if (!socket) continue;
        QObject::disconnect(socket, nullptr, &m_listener, nullptr);
        socket->setParent(nullptr);
        std::unique_ptr<QSslSocket> owned(socket);
        if (int(m_sessions.size()) >= m_config.maxSessions) {
            m_log.write(QStringLiteral("error addr=%1 refused: %2 sessions open")
                            .arg(peer(socket))
                            .arg(m_sessions.size()));
            owned->abort();
            continue;
        }
        SessionContext context{&m_config, &m_throttle, &m_log};
        auto thread = std::make_unique<SessionThread>(std::move(owned), context);
        socket->moveToThread(thread.get());
        QThread* key = thread.get();
        connect(
            key, &QThread::finished, this, [this, key] { reap(key); }, Qt::QueuedConnection);
        m_sessions.emplace(key, std::move(thread));
        key->start();
        emit sessionCountChanged(int(m_sessions.size()));
    }
}

void Server::reap(QThread* thread) {
    if (m_sessions.erase(thread) > 0) emit sessionCountChanged(int(m_sessions.size()));
}

} // namespace dudodu::server
