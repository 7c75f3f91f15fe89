// dudodu-server's listener: accepts TLS 1.2+ connections and spreads their sessions over a few I/O
// threads; logins and batches run on one BatchPool of about as many threads as cores.
#pragma once

#include "server/LoginThrottle.h"
#include "server/ServerConfig.h"

#include <QObject>
#include <QSslServer>
#include <QThread>
#include <memory>
#include <vector>

namespace dudodu::server {

class BatchPool;
class ServerLog;
class SessionHost;

class Server : public QObject {
    Q_OBJECT
  public:
    Server(ServerConfig config, ServerLog& log, QObject* parent = nullptr);
    ~Server() override;

    // Loads the certificate and key and starts listening; false with the reason otherwise.
    bool start(QString* error);
    // Stops listening and ends every session.
    void stop();
    quint16 port() const { return m_listener.serverPort(); }
    int sessionCount() const { return m_sessionCount; }
    LoginThrottle& throttle() { return m_throttle; }

  signals:
    void sessionCountChanged(int count);

  private:
    struct IoThread {
        QThread thread;
        std::unique_ptr<SessionHost> host;
        int sessions = 0;
    };

    void acceptPending();
    void sessionGone(IoThread* io, quint64 generation);

    ServerConfig m_config;
    ServerLog& m_log;
    LoginThrottle m_throttle;
    QSslServer m_listener; // a child, so that it follows the server into another thread
    std::unique_ptr<BatchPool> m_pool;
    std::vector<std::unique_ptr<IoThread>> m_io;
    int m_sessionCount = 0;
    quint64 m_generation = 0; // news of sessions from before the last stop() is ignored
};

} // namespace dudodu::server
