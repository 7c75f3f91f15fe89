// Which database the client uses: the --server option, else the "server" item of the settings, else
// the demo database in the user's data folder, created on first start.
#pragma once

#include "db/ConnectionSetting.h"

#include <QString>
#include <functional>
#include <optional>

class QSettings;

namespace dudodu {

struct TConnectionChoice {
    TConnectionSetting setting;
    bool demo = false; // the default demo database, to be created when missing
};

// The settings item naming the server.
inline constexpr char kServerSettingKey[] = "server";
// The settings item naming the PEM certificate a tls:// server is trusted by (instead of the system
// CAs), unless the server setting names one itself with "?ca=FILE".
inline constexpr char kServerCaSettingKey[] = "server_ca";

// commandLine is the --server value (empty when not given).
std::optional<TConnectionChoice> ChooseConnection(const QString& commandLine, const QSettings& settings,
                                                  const QString& demoFolder, QString* error);

// The demo database's folder in the user's data folder.
QString DefaultDemoFolder();

// Creates the demo database in folder unless it holds one already. The work is done in a sibling
// folder that takes the final name only when complete, so an interrupted start leaves nothing half
// made behind. progress gets a fraction 0..1 and a short text now and then.
bool EnsureDemoDatabase(const QString& folder, const std::function<void(double, const QString&)>& progress,
                        QString* error);

// True when folder holds the four databases with their schema.
bool CheckDatabaseFolder(const QString& folder, QString* error);

} // namespace dudodu
