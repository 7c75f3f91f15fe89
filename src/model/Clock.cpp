#include "model/Clock.h"

namespace dudodu {

namespace {
std::function<QDateTime()>& clockFunction() {
    static std::function<QDateTime()> clock;
    return clock;
}
} // namespace

QDateTime CurrentDateTime() {
    const auto& clock = clockFunction();
    return clock ? clock() : QDateTime::currentDateTime();
}

void SetClock(std::function<QDateTime()> clock) {
    clockFunction() = std::move(clock);
}

} // namespace dudodu
