// The workstation's clock as the model reads it; tests fix it.
#pragma once

#include <QDateTime>
#include <functional>

namespace dudodu {

QDateTime CurrentDateTime();
// Replaces the clock; an empty function restores the system clock.
void SetClock(std::function<QDateTime()> clock);

// Fixes the clock for a scope and restores the system clock afterwards.
class TScopedClock {
  public:
    explicit TScopedClock(const QDateTime& now) {
        SetClock([now] { return now; });
    }
    ~TScopedClock() { SetClock({}); }
    TScopedClock(const TScopedClock&) = delete;
    TScopedClock& operator=(const TScopedClock&) = delete;
};

} // namespace dudodu
