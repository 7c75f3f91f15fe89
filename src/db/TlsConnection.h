// The connection through dudodu-server: a TLS 1.2+ session that turns active once the server has
// accepted the account. The server's certificate must be trusted by the system's CAs or, when a
// certificate file is configured, by that file alone; an untrusted certificate ends the attempt.
#pragma once

#include "db/Connection.h"

#include <QByteArray>
#include <QList>
#include <QSslError>
#include <memory>
#include <optional>

class QSslSocket;

namespace dudodu {

class TTlsConnection : public TConnection {
    Q_OBJECT
  public:
    // caFile: PEM certificate(s) to trust instead of the system CAs; empty for the system CAs.
    TTlsConnection(QString host, quint16 port, QString caFile = {}, QObject* parent = nullptr);
    ~TTlsConnection() override;

    void open(const QString& user, const QString& password) override;
    void close() override;
    bool isActive() const override { return m_active; }
    TBatchReply execute(const QString& batch) override;
    QString serverAddress() const override;

    // Runs a batch whose row sets are not wanted (the server sends none back).
    TBatchReply executeWithoutRows(const QString& batch);

    // How long execute() waits for the server's reply before giving the connection up.
    void setReplyTimeout(int ms) { m_replyTimeoutMs = ms; }

  private:
    TBatchReply send(const QString& batch, bool wantRows);
    void onEncrypted();
    void onReadyRead();
    void onSslErrors(const QList<QSslError>& errors);
    void onSocketError();
    void onDisconnected();
    // Ends the session after a failure: keeps the first reason, turns inactive.
    void fail(const QString& reason);

    QString m_host;
    quint16 m_port;
    QString m_caFile;
    QString m_user, m_password; // kept only until the login was sent
    std::unique_ptr<QSslSocket> m_socket;
    QByteArray m_buffer;
    std::optional<TBatchReply> m_reply; // the reply execute() waits for
    bool m_loginSent = false;
    bool m_active = false;
    int m_replyTimeoutMs = 120000;
};

} // namespace dudodu
