// The server's log: one line per session start and end and per error, with a UTC time stamp.
// Callers pass accounts, addresses and reasons only - never passwords or SQL text.
#pragma once

#include <QString>
#include <functional>
#include <memory>

namespace dudodu::server {

class ServerLog {
  public:
    // Lines go to the file (appended), or to standard error when file is empty.
    explicit ServerLog(const QString& file = {});
    ~ServerLog();
    // Lines go to sink instead (tests).
    explicit ServerLog(std::function<void(const QString&)> sink);

    bool isOpen() const;
    // Thread-safe.
    void write(const QString& line);

  private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace dudodu::server
