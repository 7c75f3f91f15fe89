#include "db/DataModule.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

namespace dudodu {

TDM::TDM(std::unique_ptr<TConnection> connection, QObject* parent)
    : QObject(parent), m_DBCON(std::move(connection)), m_query1(*m_DBCON, QStringLiteral("query1")),
      m_q_tmp(*m_DBCON, QStringLiteral("q_tmp")), m_q_tmp1(*m_DBCON, QStringLiteral("q_tmp1")),
      m_query2(*m_DBCON, QStringLiteral("query2")) {
    connect(m_DBCON.get(), &TConnection::loginVerdict, this,
            [this](bool accepted) { FLoginVerified = accepted; });
}

TDM::~TDM() = default;

bool TDM::Connect(const QString& user, const QString& password) {
    try {
        m_DBCON->close();
        FLoginVerified = true;

        // Instead of polling, sleep in a local event loop that the verdict, the activation or the
        // remaining time wakes; window events keep being served meanwhile.
        QEventLoop wait;
        QTimer timeout;
        timeout.setSingleShot(true);
        connect(&timeout, &QTimer::timeout, &wait, &QEventLoop::quit);
        connect(m_DBCON.get(), &TConnection::loginVerdict, &wait, &QEventLoop::quit);
        connect(m_DBCON.get(), &TConnection::activeChanged, &wait, &QEventLoop::quit);

        QElapsedTimer clock;
        clock.start();
        m_DBCON->open(user, password);
        while (!m_DBCON->isActive() && FLoginVerified) {
            const qint64 left = kConnectWaitMs - clock.elapsed();
            if (left <= 0) break;
            timeout.start(int(left));
            wait.exec();
        }
        const bool connected = m_DBCON->isActive() && FLoginVerified;
        if (!connected) m_DBCON->close(); // a late activation must not leave a refused session open
        return connected;
    } catch (...) {
        try {
            m_DBCON->close();
        } catch (...) {
        }
        return false;
    }
}

std::unique_ptr<TQueryDataSet> TDM::createQuery(const QString& name) {
    return std::make_unique<TQueryDataSet>(*m_DBCON, name);
}

} // namespace dudodu
