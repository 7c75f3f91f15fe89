// One client's session: login first, then batches, each answered before the next is read. Its
// socket is served by one of the server's I/O threads, next to many other sessions; the login check
// and the batches run on the shared BatchPool, so that a long batch (or one waiting for a writer's
// lock) holds up neither the I/O thread nor the other sessions.
#pragma once

#include "db/Protocol.h"

#include <QElapsedTimer>
#include <QMutex>
#include <QThread>
#include <QTimer>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

class QSslSocket;

namespace dudodu::server {

class Backend;
class BatchPool;
class LoginThrottle;
class ServerLog;
class SessionHost;
struct ServerConfig;

// What every session shares; owned by the server and outliving its sessions.
struct SessionContext {
    const ServerConfig* config = nullptr;
    LoginThrottle* throttle = nullptr;
    ServerLog* log = nullptr;
    BatchPool* pool = nullptr;
};

class Session : public QObject {
    Q_OBJECT
  public:
    // Requests larger than this are refused before the login (a login is small).
    static constexpr qsizetype kLoginFrameBytes = 64 * 1024;
    // A client that lets this much of its replies pile up unread is cut off.
    static constexpr qint64 kMaxUnsentBytes = 256 * 1024 * 1024;

    // Replies of jobs come back through host, which finds the session by id.
    Session(std::unique_ptr<QSslSocket> socket, const SessionContext& context, SessionHost* host, quint64 id);
    ~Session() override;

    void start();

  signals:
    void finished();

  private:
    struct LoginOutcome;

    void onReadyRead();
    // Decodes and handles the buffered requests until one is running in the pool.
    void serveBuffer();
    void handle(protocol::Message&& message);
    void login(const protocol::LoginRequest& request);
    void loginDone(LoginOutcome& outcome);
    // A batch's encoded reply is back from the pool.
    void replyDone(const QByteArray& frame);
    void send(const protocol::Message& message);
    void sendFrame(const QByteArray& frame);
    // Runs job on the pool; done then runs on this session's thread, unless the session is gone.
    void runInPool(std::function<std::function<void(Session&)>()> job);
    // Ends the session once: logs why, tells the peer (when it should know) and disconnects.
    void end(const QString& reason, bool tellPeer, bool isError);
    QString who() const;

    std::unique_ptr<QSslSocket> m_socket;
    SessionContext m_context;
    SessionHost* m_host;
    quint64 m_id;
    QString m_address;
    QString m_account;
    std::shared_ptr<Backend> m_backend; // set once logged in; a running batch holds it too
    QByteArray m_buffer;
    QTimer m_timeout;
    QElapsedTimer m_clock;
    qint64 m_requests = 0;
    bool m_ended = false;
    bool m_busy = false; // a job of this session is queued or running
    bool m_serving = false;
};

// The sessions of one I/O thread. Jobs finished on the pool hand their results back through its
// mailbox; a result for a session that has ended meanwhile is dropped.
class SessionHost : public QObject {
    Q_OBJECT
  public:
    using Done = std::function<void(Session&)>;

    SessionHost();
    ~SessionHost() override;

    // On the host's thread: serves a connection whose socket already belongs to this thread.
    void adopt(QSslSocket* socket, const SessionContext& context);
    // On the host's thread: ends every session ("server stopping").
    void closeAll();
    // Thread-safe: runs done on the session, on the host's thread.
    void post(quint64 session, Done done);

  signals:
    // A session has ended and is gone.
    void sessionGone();

  private:
    void deliver();
    void remove(quint64 id);

    std::unordered_map<quint64, std::unique_ptr<Session>> m_sessions;
    quint64 m_nextId = 1;
    QMutex m_mutex;
    std::vector<std::pair<quint64, Done>> m_mailbox;
};

} // namespace dudodu::server
