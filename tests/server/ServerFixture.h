// A real dudodu-server for tests: a copy of the demo database, a fresh self-signed certificate, a
// listener on a free loopback port in its own thread, and the server's log lines kept in memory.
#pragma once

#include "db/Protocol.h"
#include "db/TlsConnection.h"
#include "engine/DemoFixture.h"
#include "server/Admin.h"
#include "server/Server.h"
#include "server/ServerLog.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QMutex>
#include <QSslSocket>
#include <QThread>
#include <QTimer>
#include <functional>
#include <memory>

namespace dudodu::test {

inline const QString kDemoPassword = QStringLiteral("demo1234");

class TestServer {
  public:
    // adjust may change the configuration before the server starts; prepare may change the copied
    // database (e.g. add rows) before the server opens it.
    explicit TestServer(const std::function<void(server::ServerConfig&)>& adjust = {},
                        const std::function<bool(const QString& folder)>& prepare = {})
        : m_log([this](const QString& line) {
              QMutexLocker lock(&m_mutex);
              m_lines << line;
          }) {
        folder = m_dir.filePath(QStringLiteral("db"));
        certificateFile = m_dir.filePath(QStringLiteral("server.crt"));
        if (!QDir().mkpath(folder) || !copyDemoDatabase(folder, &error)) return;
        if (prepare && !prepare(folder)) {
            error = QStringLiteral("preparing the database failed");
            return;
        }
        if (!server::makeSelfSignedCertificate(certificateFile, m_dir.filePath(QStringLiteral("server.key")),
                                               {}, 30, &error))
            return;
        server::ServerConfig config;
        config.listen = QHostAddress::LocalHost;
        config.port = 0;
        config.certificateFile = certificateFile;
        config.keyFile = m_dir.filePath(QStringLiteral("server.key"));
        config.databaseFolder = config.accountsFolder = folder;
        if (adjust) adjust(config);
        m_server = std::make_unique<server::Server>(config, m_log);
        m_server->moveToThread(&m_thread);
        m_thread.start();
        bool started = false;
        QMetaObject::invokeMethod(
            m_server.get(), [&] { started = m_server->start(&error); }, Qt::BlockingQueuedConnection);
        if (started) port = m_server->port();
    }
    ~TestServer() { stop(); }

    bool ok() const { return port != 0; }

    // Stops the listener and every session (their clients see the connection drop).
    void stop() {
        if (m_server && m_thread.isRunning())
            QMetaObject::invokeMethod(
                m_server.get(), [this] { m_server.reset(); }, Qt::BlockingQueuedConnection);
        m_thread.quit();
        m_thread.wait();
    }

    std::unique_ptr<TTlsConnection> connection() const {
        return std::make_unique<TTlsConnection>(QStringLiteral("127.0.0.1"), port, certificateFile);
    }

    QStringList logLines() const {
        QMutexLocker lock(&m_mutex);
        return m_lines;
    }
    // Waits (serving events) until a log line contains every fragment; false after ms.
    bool waitForLog(const QStringList& fragments, int ms = 5000) const {
        QElapsedTimer clock;
        clock.start();
        do {
            for (const QString& line : logLines()) {
                if (std::all_of(fragments.begin(), fragments.end(),
                                [&](const QString& f) { return line.contains(f); }))
                    return true;
            }
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            QThread::msleep(10);
        } while (clock.elapsed() < ms);
        return false;
    }

    QString folder;
    QString certificateFile;
    QString error;
    quint16 port = 0;

  private:
    QTemporaryDir m_dir;
    mutable QMutex m_mutex;
    QStringList m_lines;
    server::ServerLog m_log;
    QThread m_thread;
    std::unique_ptr<server::Server> m_server;
};

// Opens the connection and waits as the data module does (verdict, activation or 5 s); true when
// the connection is active. For threads that have no data module.
inline bool openAndWait(TConnection& connection, const QString& user, const QString& password) {
    QEventLoop wait;
    QTimer timeout;
    timeout.setSingleShot(true);
    bool refused = false;
    QObject::connect(&timeout, &QTimer::timeout, &wait, &QEventLoop::quit);
    QObject::connect(&connection, &TConnection::loginVerdict, &wait, [&](bool accepted) {
        refused = !accepted;
        wait.quit();
    });
    QObject::connect(&connection, &TConnection::activeChanged, &wait, &QEventLoop::quit);
    timeout.start(5000);
    connection.open(user, password);
    while (!connection.isActive() && !refused && timeout.isActive())
        wait.exec();
    return connection.isActive();
}

// A raw TLS socket that speaks the protocol by hand.
struct RawClient {
    QSslSocket socket;
    QByteArray received;
    explicit RawClient(const TestServer& server) {
        QSslConfiguration config = QSslConfiguration::defaultConfiguration();
        config.setCaCertificates(QSslCertificate::fromPath(server.certificateFile));
        socket.setSslConfiguration(config);
        socket.connectToHostEncrypted(QStringLiteral("127.0.0.1"), server.port);
    }
    bool encrypted() { return socket.waitForEncrypted(5000); }
    void send(const QByteArray& bytes) {
        socket.write(bytes);
        socket.flush();
    }
    // Reads until the server closes the connection (true) or 5 s pass (false).
    bool waitForClose() {
        QElapsedTimer clock;
        clock.start();
        while (socket.state() != QAbstractSocket::UnconnectedState && clock.elapsed() < 5000) {
            if (socket.state() == QAbstractSocket::ConnectedState)
                socket.waitForReadyRead(100);
            else
                socket.waitForDisconnected(100);
            received += socket.readAll();
        }
        received += socket.readAll();
        return socket.state() == QAbstractSocket::UnconnectedState;
    }
    QList<protocol::Message> messages() const {
        QList<protocol::Message> list;
        QByteArrayView rest(received);
        for (;;) {
            protocol::Decoded d = protocol::decodeFrame(rest, protocol::kClientMaxFrameBytes);
            if (d.status != protocol::Decoded::Status::Frame) return list;
            list << d.message;
            rest = rest.sliced(d.consumed);
        }
    }
};

} // namespace dudodu::test
