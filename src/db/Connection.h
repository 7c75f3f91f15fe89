// The data module's connection: one account, opened asynchronously, then batches of SQL text in and
// row sets or an error text out. The embedded engine and the TLS middleware both sit behind it, so
// every window works the same on either.
#pragma once

#include "db/ResultTable.h"

#include <QObject>
#include <QString>
#include <functional>

namespace dudodu {

class TConnection : public QObject {
    Q_OBJECT
  public:
    static QString applicationName() { return QStringLiteral("dudodu"); }
    static QString applicationVersion() { return QStringLiteral("4.197"); }

    explicit TConnection(QObject* parent = nullptr) : QObject(parent) {}
    ~TConnection() override = default;

    // Starts opening the connection for an account. The server's verdict on the account arrives
    // through loginVerdict() - possibly before open() returns - and the connection turns active
    // through activeChanged() once batches can run. A refused or failed open leaves it inactive
    // with lastError() telling why.
    virtual void open(const QString& user, const QString& password) = 0;
    // Closes the connection; safe when it is not open.
    virtual void close() = 0;
    virtual bool isActive() const = 0;
    // Runs one batch and waits for its reply. Never throws; an inactive connection answers with an
    // error text.
    virtual TBatchReply execute(const QString& batch) = 0;
    // Where the connection goes, as the login window's caption shows it.
    virtual QString serverAddress() const = 0;

    QString lastError() const { return m_lastError; }

    // Lets the application show a busy cursor while a statement runs (the gateway knows no widgets).
    static void setBusyIndicator(std::function<void(bool busy)> indicator);
    // Runs execute() with the busy indicator shown.
    TBatchReply run(const QString& batch);

  signals:
    // The server's verdict on the account given to open().
    void loginVerdict(bool accepted);
    void activeChanged(bool active);

  protected:
    void setLastError(const QString& text) { m_lastError = text; }

  private:
    QString m_lastError;
};

} // namespace dudodu
