// The connection to the embedded engine: the four databases of a folder, opened in this process.
// The account and password are checked against the engine's account store, so a login that works
// here works the same through the server.
#pragma once

#include "db/Connection.h"

#include <memory>

namespace dudodu::engine {
class Engine;
}

namespace dudodu {

class TEmbeddedConnection : public TConnection {
    Q_OBJECT
  public:
    explicit TEmbeddedConnection(QString folder, QObject* parent = nullptr);
    ~TEmbeddedConnection() override;

    void open(const QString& user, const QString& password) override;
    void close() override;
    bool isActive() const override { return m_engine != nullptr; }
    TBatchReply execute(const QString& batch) override;
    QString serverAddress() const override;

    QString folder() const { return m_folder; }

  private:
    QString m_folder;
    std::unique_ptr<engine::Engine> m_engine; // set while active
};

// The reply text of a batch sent to a connection that is not open.
QString notConnectedText();

} // namespace dudodu
