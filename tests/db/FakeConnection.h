// A connection for tests: answers the login as told (at once, later, never, or by throwing) and
// replies to batches from a script, recording what it was sent.
#pragma once

#include "db/Connection.h"

#include <QTimer>
#include <functional>
#include <stdexcept>

namespace dudodu::test {

class TFakeConnection : public TConnection {
  public:
    enum class Login {
        AcceptAtOnce,
        RefuseAtOnce,
        AcceptLater,
        RefuseLater,
        ActiveWithoutVerdict,
        Never,
        Throw
    };

    Login login = Login::AcceptAtOnce;
    int laterMs = 30;
    // Reply to each batch; by default one empty row set.
    std::function<TBatchReply(const QString&)> reply = [](const QString&) {
        TBatchReply result;
        result.results.append(TResultTable{});
        return result;
    };
    QStringList batches;
    int closes = 0;

    void open(const QString&, const QString&) override {
        switch (login) {
        case Login::AcceptAtOnce:
            accept();
            break;
        case Login::RefuseAtOnce:
            emit loginVerdict(false);
            break;
        case Login::AcceptLater:
            QTimer::singleShot(laterMs, this, [this] { accept(); });
            break;
        case Login::RefuseLater:
            QTimer::singleShot(laterMs, this, [this] { emit loginVerdict(false); });
            break;
        case Login::ActiveWithoutVerdict:
            setActive(true);
            break;
        case Login::Never:
            break;
        case Login::Throw:
            throw std::runtime_error("socket failure");
        }
    }
    void close() override {
        ++closes;
        setActive(false);
    }
    bool isActive() const override { return m_active; }
    TBatchReply execute(const QString& batch) override {
        batches.append(batch);
        return reply(batch);
    }
    QString serverAddress() const override { return QStringLiteral("fake"); }

    // Opens without a login, for dataset tests.
    void activate() { setActive(true); }

  private:
    void accept() {
        emit loginVerdict(true);
        setActive(true);
    }
    void setActive(bool active) {
        if (m_active == active) return;
        m_active = active;
        emit activeChanged(active);
    }
    bool m_active = false;
};

// A reply with one row set.
inline TBatchReply rowsReply(const QStringList& fields, const QList<QVariantList>& rows,
                             const QList<TFieldType>& types = {}) {
    TBatchReply reply;
    reply.results.append(TResultTable{fields, types, rows});
    return reply;
}

inline TBatchReply errorReply(const QString& text) {
    TBatchReply reply;
    reply.error = text;
    return reply;
}

} // namespace dudodu::test
