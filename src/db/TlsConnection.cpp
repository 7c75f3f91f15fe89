#include "db/TlsConnection.h"

#include "db/EmbeddedConnection.h"
#include "db/Protocol.h"

#include <QElapsedTimer>
#include <QSslConfiguration>
#include <QSslSocket>

namespace dudodu {

namespace {

// Counts the socket signal handlers running, so that a close() called from one of them (through a
// slot of activeChanged) defers deleting the socket until the handler has returned.
struct HandlerScope {
    explicit HandlerScope(int& depth) : m_depth(depth) { ++m_depth; }
    ~HandlerScope() { --m_depth; }
    int& m_depth;
};
thread_local int handlerDepth = 0;

} // namespace

TTlsConnection::TTlsConnection(QString host, quint16 port, QString caFile, QObject* parent)
    : TConnection(parent), m_host(std::move(host)), m_port(port), m_caFile(std::move(caFile)) {}

TTlsConnection::~TTlsConnection() {
    close();
}

QString TTlsConnection::serverAddress() const {
    const QString shownHost = m_host.contains(QLatin1Char(':')) ? u'[' + m_host + u']' : m_host;
    return QStringLiteral("tls://%1:%2").arg(shownHost).arg(m_port);
}

void TTlsConnection::open(const QString& user, const QString& password) {
    close();
    setLastError({});
    m_user = user;
    m_password = password;
    m_buffer.clear();
    m_loginSent = false;

    QSslConfiguration config = QSslConfiguration::defaultConfiguration();
    config.setProtocol(QSsl::TlsV1_2OrLater);
    config.setPeerVerifyMode(QSslSocket::VerifyPeer);
    if (!m_caFile.isEmpty()) {
        const QList<QSslCertificate> trusted = QSslCertificate::fromPath(m_caFile, QSsl::Pem);
        if (trusted.isEmpty()) {
            setLastError(QStringLiteral("The server certificate file %1 cannot be read.").arg(m_caFile));
            return;
        }
        config.setCaCertificates(trusted);
    }

    m_socket = std::make_unique<QSslSocket>();
    m_socket->setSslConfiguration(config);
    m_socket->setSocketOption(QAbstractSocket::KeepAliveOption, 1);
    m_socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    QSslSocket* socket = m_socket.get();
    connect(socket, &QSslSocket::encrypted, this, [this] {
        HandlerScope scope(handlerDepth);
        onEncrypted();
    });
    connect(socket, &QSslSocket::readyRead, this, [this] {
        HandlerScope scope(handlerDepth);
        onReadyRead();
    });
    connect(socket, &QSslSocket::sslErrors, this, [this](const QList<QSslError>& errors) {
        HandlerScope scope(handlerDepth);
        onSslErrors(errors);
    });
    connect(socket, &QSslSocket::errorOccurred, this, [this] {
        HandlerScope scope(handlerDepth);
        onSocketError();
    });
    connect(socket, &QSslSocket::disconnected, this, [this] {
        HandlerScope scope(handlerDepth);
        onDisconnected();
    });
    socket->connectToHostEncrypted(m_host, m_port);
}

void TTlsConnection::close() {
    m_password.clear();
    const bool wasActive = m_active;
    m_active = false;
    if (m_socket) {
        m_socket->disconnect(this);
        m_socket->abort();
        if (handlerDepth > 0)
            m_socket.release()->deleteLater();
        else
            m_socket.reset();
    }
    if (wasActive) emit activeChanged(false);
}

void TTlsConnection::onEncrypted() {
    protocol::LoginRequest login{m_user, m_password, applicationName(), applicationVersion()};
    m_password.clear();
    m_socket->write(protocol::encodeFrame(login));
    m_loginSent = true;
}

void TTlsConnection::onReadyRead() {
    if (!m_socket) return;
    m_buffer += m_socket->readAll();
    while (m_socket) {
        protocol::Decoded decoded = protocol::decodeFrame(m_buffer, protocol::kClientMaxFrameBytes);
        if (decoded.status == protocol::Decoded::Status::Incomplete) return;
        if (decoded.status == protocol::Decoded::Status::Bad) {
            fail(QStringLiteral("The server %1 sent a malformed reply: %2")
                     .arg(serverAddress(), decoded.error));
            return;
        }
        m_buffer.remove(0, decoded.consumed);
        if (auto* verdict = std::get_if<protocol::LoginVerdict>(&decoded.message)) {
            if (!m_loginSent || m_active) {
                fail(QStringLiteral("The server %1 sent an unexpected login verdict.").arg(serverAddress()));
                return;
            }
            if (!verdict->accepted) {
                setLastError(verdict->text);
                emit loginVerdict(false);
                if (m_socket) m_socket->abort();
                return;
            }
            emit loginVerdict(true);
            m_active = true;
            emit activeChanged(true);
        } else if (auto* reply = std::get_if<TBatchReply>(&decoded.message)) {
            if (!m_active || m_reply) {
                fail(QStringLiteral("The server %1 sent a reply nobody asked for.").arg(serverAddress()));
                return;
            }
            m_reply = std::move(*reply);
        } else if (auto* closing = std::get_if<protocol::Closing>(&decoded.message)) {
            fail(QStringLiteral("The server %1 ended the session: %2").arg(serverAddress(), closing->reason));
            return;
        } else {
            fail(QStringLiteral("The server %1 sent an unexpected %2 message.")
                     .arg(serverAddress(), protocol::messageName(decoded.message)));
            return;
        }
    }
}

void TTlsConnection::onSslErrors(const QList<QSslError>& errors) {
    QStringList texts;
    for (const QSslError& error : errors)
        texts << error.errorString();
    // Not ignored: the socket aborts the handshake after this signal.
    fail(QStringLiteral("The certificate of the server %1 is not trusted: %2")
             .arg(serverAddress(), texts.join(QStringLiteral("; "))));
}

void TTlsConnection::onSocketError() {
    if (!m_socket) return;
    if (m_active)
        fail(QStringLiteral("The connection to the server %1 was lost: %2")
                 .arg(serverAddress(), m_socket->errorString()));
    else
        fail(QStringLiteral("Cannot connect to the server %1: %2")
                 .arg(serverAddress(), m_socket->errorString()));
}

void TTlsConnection::onDisconnected() {
    fail(QStringLiteral("The server %1 closed the connection.").arg(serverAddress()));
}

void TTlsConnection::fail(const QString& reason) {
    if (m_active || lastError().isEmpty()) setLastError(reason);
    m_password.clear();
    const bool wasActive = m_active;
    m_active = false;
    if (m_socket && m_socket->state() != QAbstractSocket::UnconnectedState) m_socket->abort();
    if (wasActive) emit activeChanged(false);
}

TBatchReply TTlsConnection::execute(const QString& batch) {
    return send(batch, true);
}

TBatchReply TTlsConnection::executeWithoutRows(const QString& batch) {
    return send(batch, false);
}

TBatchReply TTlsConnection::send(const QString& batch, bool wantRows) {
    TBatchReply result;
    if (!m_active || !m_socket) {
        result.error = lastError().isEmpty() ? notConnectedText()
                                             : notConnectedText() + QStringLiteral(": ") + lastError();
        return result;
    }
    m_reply.reset();
    m_socket->write(protocol::encodeFrame(protocol::ExecuteRequest{batch, wantRows}));
    // Encrypts and sends the request now; the wait below then only polls for the reply.
    m_socket->flush();
    QElapsedTimer clock;
    clock.start();
    while (!m_reply && m_active && m_socket) {
        const qint64 left = m_replyTimeoutMs - clock.elapsed();
        if (left <= 0) {
            fail(QStringLiteral("The server %1 did not answer within %2 s; the connection was given up.")
                     .arg(serverAddress())
                     .arg(m_replyTimeoutMs / 1000));
            break;
        }
        // Emits readyRead (and the error signals) on this thread, which fill m_reply or end the session.
        if (!m_socket->waitForReadyRead(int(left)) && !m_reply && m_socket &&
            m_socket->error() != QAbstractSocket::SocketTimeoutError)
            fail(QStringLiteral("The connection to the server %1 was lost: %2")
                     .arg(serverAddress(), m_socket->errorString()));
    }
    if (m_reply) {
        result = std::move(*m_reply);
        m_reply.reset();
        return result;
    }
    result.error = lastError() + QStringLiteral(" The statement's result is unknown.");
    return result;
}

} // namespace dudodu
