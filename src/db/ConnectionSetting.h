// The one setting that says where the client's data is: "embedded:DIR" (the engine in-process over
// the database files in DIR) or "tls://HOST:PORT" (through dudodu-server). A TLS setting may name
// the certificate to trust as "tls://HOST:PORT?ca=FILE"; without it the system CAs decide.
#pragma once

#include "db/Connection.h"

#include <QString>
#include <memory>
#include <optional>

namespace dudodu {

struct TConnectionSetting {
    enum class Kind { Embedded, Tls };
    Kind kind = Kind::Embedded;
    QString folder; // Embedded: absolute path of the database folder
    QString host;   // Tls
    quint16 port = 443;
    QString caFile; // Tls: PEM certificate(s) trusted instead of the system CAs; empty for those

    QString toString() const;
};

// Parses the setting; on a malformed text returns nothing and says why in error.
std::optional<TConnectionSetting> parseConnectionSetting(const QString& text, QString* error);

// The connection a setting names, not yet open. Returns nullptr and the reason when this build
// cannot reach that kind of server.
std::unique_ptr<TConnection> createConnection(const TConnectionSetting& setting, QString* error);

} // namespace dudodu
