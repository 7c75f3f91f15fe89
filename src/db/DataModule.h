// The data module: owns the one connection DBCON and the shared datasets through which all SQL of the
// windows goes. Created first at start-up and kept until the program ends.
#pragma once

#include "db/Connection.h"
#include "db/DataSet.h"

#include <QObject>
#include <memory>

namespace dudodu {

class TDM : public QObject {
    Q_OBJECT
  public:
    // How long Connect waits for the connection to become active.
    static constexpr int kConnectWaitMs = 2000;

    explicit TDM(std::unique_ptr<TConnection> connection, QObject* parent = nullptr);
    ~TDM() override;

    TConnection& DBCON() const { return *m_DBCON; }
    TQueryDataSet& query1() { return m_query1; }
    TQueryDataSet& q_tmp() { return m_q_tmp; }
    TQueryDataSet& q_tmp1() { return m_q_tmp1; }
    TQueryDataSet& query2() { return m_query2; }

    // Opens DBCON for an account and waits - keeping the windows responsive - until it is active, the
    // account is refused or kConnectWaitMs have passed. True exactly when the connection is active
    // and the account was not refused; on false the connection is left closed. Never throws.
    bool Connect(const QString& user, const QString& password);

    // A further dataset bound to DBCON (the inspection window creates its own).
    std::unique_ptr<TQueryDataSet> createQuery(const QString& name);

    // The verdict of the last login attempt; true until the server refuses.
    bool FLoginVerified = true;

  private:
    std::unique_ptr<TConnection> m_DBCON;
    TQueryDataSet m_query1;
    TQueryDataSet m_q_tmp;
    TQueryDataSet m_q_tmp1;
    TQueryDataSet m_query2;
};

} // namespace dudodu
