#include "server/LoginThrottle.h"

namespace dudodu::server {

namespace {
// Failures older than this are forgotten.
constexpr qint64 kForgetMs = 60 * 60 * 1000;
// Addresses are shared by many users (a campus NAT), so they get more free failures than an account.
constexpr int kAddressFactor = 4;

QString accountKey(const QString& account) {
    return account.trimmed().toCaseFolded();
}
} // namespace

LoginThrottle::LoginThrottle() : m_clock([] { return QDateTime::currentMSecsSinceEpoch(); }) {}

void LoginThrottle::setClock(std::function<qint64()> clock) {
    QMutexLocker lock(&m_mutex);
    m_clock = std::move(clock);
}

qint64 LoginThrottle::waitMs(const QString& account, const QString& address) {
    QMutexLocker lock(&m_mutex);
    const qint64 now = m_clock();
    qint64 until = 0;
    if (auto it = m_accounts.constFind(accountKey(account)); it != m_accounts.cend()) until = it->lockedUntil;
    if (auto it = m_addresses.constFind(address); it != m_addresses.cend())
        until = qMax(until, it->lockedUntil);
    return qMax<qint64>(0, until - now);
}

void LoginThrottle::fail(Entry& entry, qint64 now) {
    ++entry.failures;
    entry.lastFailure = now;
}

void LoginThrottle::recordFailure(const QString& account, const QString& address) {
    QMutexLocker lock(&m_mutex);
    const qint64 now = m_clock();
    prune(now);
    auto lockFor = [now](Entry& e, int free) {
        if (e.failures <= free) return;
        const int doublings = qMin(e.failures - free - 1, 20);
        e.lockedUntil = now + qMin<qint64>(qint64(1000) << doublings, kMaxDelayMs);
    };
    Entry& a = m_accounts[accountKey(account)];
    fail(a, now);
    lockFor(a, kFreeFailures);
    Entry& b = m_addresses[address];
    fail(b, now);
    lockFor(b, kFreeFailures * kAddressFactor);
}

void LoginThrottle::recordSuccess(const QString& account, const QString& address) {
    QMutexLocker lock(&m_mutex);
    m_accounts.remove(accountKey(account));
    m_addresses.remove(address);
}

void LoginThrottle::prune(qint64 now) {
    auto old = [now](const Entry& e) { return now - e.lastFailure > kForgetMs && e.lockedUntil <= now; };
    m_accounts.removeIf([&](const auto& it) { return old(it.value()); });
    m_addresses.removeIf([&](const auto& it) { return old(it.value()); });
}

} // namespace dudodu::server
