// Where a session's batches run: the embedded engine over a folder, or SQL Server through ODBC.
// One backend object is one database connection, owned by one session.
#pragma once

#include "db/ResultTable.h"

#include <QString>
#include <memory>

namespace dudodu::engine {
class Engine;
}

namespace dudodu::server {

struct ServerConfig;

class Backend {
  public:
    virtual ~Backend() = default;
    // Runs one batch. Never throws; an error is the reply's text.
    virtual TBatchReply execute(const QString& batch) = 0;
};

// A backend over an engine that is already open.
std::unique_ptr<Backend> engineBackend(std::unique_ptr<engine::Engine> engine);

// Opens the configured backend; nullptr and a clear reason when its database cannot be reached.
std::unique_ptr<Backend> openBackend(const ServerConfig& config, QString* error);

// SQL Server through the ODBC driver manager (FreeTDS driver). Defined in OdbcBackend.cpp.
std::unique_ptr<Backend> openOdbcBackend(const QString& connectionString, QString* error);

} // namespace dudodu::server
