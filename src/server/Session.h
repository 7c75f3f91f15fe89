// One client's session: login first, then batches, each answered before the next is read. A
// session lives in its own thread, so that a long batch (or one waiting for a writer's lock) holds
// up nobody else.
#pragma once

#include "db/Protocol.h"

#include <QElapsedTimer>
#include <QThread>
#include <QTimer>
#include <memory>

class QSslSocket;

namespace dudodu::server {

class Backend;
class LoginThrottle;
class ServerLog;
struct ServerConfig;

// What every session shares; owned by the server and outliving its sessions.
struct SessionContext {
    const ServerConfig* config = nullptr;
    LoginThrottle* throttle = nullptr;
    ServerLog* log = nullptr;
};

class Session : public QObject {
    Q_OBJECT
  public:
    // Requests larger than this are refused before the login (a login is small).
    static constexpr qsizetype kLoginFrameBytes = 64 * 1024;
    // A client that lets this much of its replies pile up unread is cut off.
    static constexpr qint64 kMaxUnsentBytes = 256 * 1024 * 1024;

    Session(std::unique_ptr<QSslSocket> socket, const SessionContext& context);
    ~Session() override;

    void start();

  signals:
    void finished();

  private:
    void onReadyRead();
    void handle(protocol::Message&& message);
    void login(const protocol::LoginRequest& request);
    void send(const protocol::Message& message);
    // Ends the session once: logs why, tells the peer (when it should know) and disconnects.
    void end(const QString& reason, bool tellPeer, bool isError);
    QString who() const;

    std::unique_ptr<QSslSocket> m_socket;
    SessionContext m_context;
    QString m_address;
    QString m_account;
    std::unique_ptr<Backend> m_backend; // set once logged in
    QByteArray m_buffer;
    QTimer m_timeout;
    QElapsedTimer m_clock;
    qint64 m_requests = 0;
    bool m_ended = false;
    bool m_handling = false;
};

// The thread a session runs in; it ends when the session does.
class SessionThread : public QThread {
    Q_OBJECT
  public:
    // The socket must already belong to this thread (moveToThread) and have no parent.
    SessionThread(std::unique_ptr<QSslSocket> socket, const SessionContext& context);
    ~SessionThread() override;

  protected:
    void run() override;

  private:
    std::unique_ptr<QSslSocket> m_socket;
    SessionContext m_context;
};

} // namespace dudodu::server
