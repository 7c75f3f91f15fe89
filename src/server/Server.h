// dudodu-server's listener: accepts TLS 1.2+ connections and gives each its own session thread.
#pragma once

#include "server/LoginThrottle.h"
#include "server/ServerConfig.h"

#include <QObject>
#include <QSslServer>
#include <map>
#include <memory>

namespace dudodu::server {

class ServerLog;
class SessionThread;

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
    int sessionCount() const { return int(m_sessions.size()); }
    LoginThrottle& throttle() { return m_throttle; }

  signals:
    void sessionCountChanged(int count);

  private:
    void acceptPending();
    void reap(QThread* thread);

    ServerConfig m_config;
    ServerLog& m_log;
    LoginThrottle m_throttle;
    QSslServer m_listener; // a child, so that it follows the server into another thread
    std::map<QThread*, std::unique_ptr<SessionThread>> m_sessions;
};

} // namespace dudodu::server
