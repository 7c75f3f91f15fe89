#include "db/Connection.h"

namespace dudodu {

namespace {
std::function<void(bool)>& busyIndicator() {
    static std::function<void(bool)> indicator;
    return indicator;
}
} // namespace

void TConnection::setBusyIndicator(std::function<void(bool busy)> indicator) {
    busyIndicator() = std::move(indicator);
}

TBatchReply TConnection::run(const QString& batch) {
    struct Busy {
        Busy() { show(true); }
        ~Busy() { show(false); }
        static void show(bool busy) {
            if (const auto& indicator = busyIndicator()) indicator(busy);
        }
    } busy;
    return execute(batch);
}

} // namespace dudodu
