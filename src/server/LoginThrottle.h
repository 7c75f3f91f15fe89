// Slows down password guessing: after a few failed logins for one account, or from one address,
// further attempts are refused without checking the password until a delay has passed, and the
// delay doubles with each further failure. A success clears the account's and the address's count.
#pragma once

#include <QDateTime>
#include <QHash>
#include <QMutex>
#include <QString>
#include <functional>

namespace dudodu::server {

class LoginThrottle {
  public:
    static constexpr int kFreeFailures = 5;
    static constexpr qint64 kMaxDelayMs = 15 * 60 * 1000;

    LoginThrottle();
    // The clock in milliseconds (tests fix it).
    void setClock(std::function<qint64()> clock);

    // Milliseconds to wait before the account may try again from this address; 0 when it may now.
    qint64 waitMs(const QString& account, const QString& address);
    void recordFailure(const QString& account, const QString& address);
    void recordSuccess(const QString& account, const QString& address);

  private:
    struct Entry {
        int failures = 0;
        qint64 lockedUntil = 0;
        qint64 lastFailure = 0;
    };
    void fail(Entry& entry, qint64 now);
    void prune(qint64 now);

    QMutex m_mutex;
    std::function<qint64()> m_clock;
    QHash<QString, Entry> m_accounts;
    QHash<QString, Entry> m_addresses;
};

} // namespace dudodu::server
