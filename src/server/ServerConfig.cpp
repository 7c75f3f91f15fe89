#include "server/ServerConfig.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace dudodu::server {

namespace {

// A positive whole number, or the default when the key is absent.
template <typename T>
bool readNumber(const QSettings& ini, const QString& key, T* value, qint64 min, QString* error) {
    if (!ini.contains(key)) return true;
    bool ok = false;
    const qint64 number = ini.value(key).toString().trimmed().toLongLong(&ok);
    if (!ok || number < min || number > std::numeric_limits<T>::max()) {
        *error = QStringLiteral("%1 = \"%2\" is not a whole number of at least %3")
                     .arg(key, ini.value(key).toString())
                     .arg(min);
        return false;
    }
    *value = T(number);
    return true;
}

} // namespace

std::optional<ServerConfig> ServerConfig::load(const QString& file, QString* error) {
    if (!QFileInfo(file).isFile()) {
        *error = QStringLiteral("The configuration file %1 does not exist.").arg(file);
        return std::nullopt;
    }
    const QSettings ini(file, QSettings::IniFormat);
    if (ini.status() != QSettings::NoError) {
        *error = QStringLiteral("The configuration file %1 cannot be read.").arg(file);
        return std::nullopt;
    }
    const QDir base = QFileInfo(file).absoluteDir();
    auto path = [&](const QString& key) {
        const QString value = ini.value(key).toString().trimmed();
        return value.isEmpty() ? value : QDir::cleanPath(base.absoluteFilePath(value));
    };

    ServerConfig c;
    QString why;
    const QString listen = ini.value(QStringLiteral("server/listen")).toString().trimmed();
    if (!listen.isEmpty() && !c.listen.setAddress(listen))
        why = QStringLiteral("listen = \"%1\" is not an address").arg(listen);
    int idleSeconds = c.idleTimeoutMs / 1000, loginSeconds = c.loginTimeoutMs / 1000;
    if (why.isEmpty() && readNumber(ini, QStringLiteral("server/port"), &c.port, 0, &why) &&
        readNumber(ini, QStringLiteral("server/max_frame_bytes"), &c.maxFrameBytes, 1024, &why) &&
        readNumber(ini, QStringLiteral("server/idle_timeout_s"), &idleSeconds, 1, &why) &&
        readNumber(ini, QStringLiteral("server/login_timeout_s"), &loginSeconds, 1, &why) &&
        readNumber(ini, QStringLiteral("server/compress_threshold"), &c.compressThreshold, 0, &why) &&
        readNumber(ini, QStringLiteral("server/max_sessions"), &c.maxSessions, 1, &why) &&
        readNumber(ini, QStringLiteral("server/io_threads"), &c.ioThreads, 0, &why) &&
        readNumber(ini, QStringLiteral("server/batch_threads"), &c.batchThreads, 0, &why)) {
        c.idleTimeoutMs = int(qMin<qint64>(qint64(idleSeconds) * 1000, std::numeric_limits<int>::max()));
        c.loginTimeoutMs = int(qMin<qint64>(qint64(loginSeconds) * 1000, std::numeric_limits<int>::max()));
    }
    c.certificateFile = path(QStringLiteral("server/certificate"));
    c.keyFile = path(QStringLiteral("server/key"));
    c.logFile = path(QStringLiteral("server/log"));
    c.databaseFolder = path(QStringLiteral("database/folder"));
    c.odbcConnection = ini.value(QStringLiteral("database/odbc")).toString().trimmed();
    c.accountsFolder = path(QStringLiteral("database/accounts"));
    if (c.accountsFolder.isEmpty()) c.accountsFolder = c.databaseFolder;

    const QString backend =
        ini.value(QStringLiteral("database/backend"), QStringLiteral("embedded")).toString();
    if (backend.compare(QLatin1String("embedded"), Qt::CaseInsensitive) == 0)
        c.backend = Backend::Embedded;
    else if (backend.compare(QLatin1String("odbc"), Qt::CaseInsensitive) == 0)
        c.backend = Backend::Odbc;
    else if (why.isEmpty())
        why = QStringLiteral("backend = \"%1\" is neither embedded nor odbc").arg(backend);

    if (why.isEmpty() && (c.certificateFile.isEmpty() || c.keyFile.isEmpty()))
        why = QStringLiteral("[server] needs certificate and key");
    if (why.isEmpty() && c.backend == Backend::Embedded && c.databaseFolder.isEmpty())
        why = QStringLiteral("[database] needs folder for the embedded backend");
    if (why.isEmpty() && c.backend == Backend::Odbc && c.odbcConnection.isEmpty())
        why = QStringLiteral("[database] needs odbc (an ODBC connection string) for the odbc backend");
    if (why.isEmpty() && c.accountsFolder.isEmpty())
        why = QStringLiteral("[database] needs accounts (the folder of the account store)");
    if (!why.isEmpty()) {
        *error = QStringLiteral("%1: %2.").arg(file, why);
        return std::nullopt;
    }
    return c;
}

} // namespace dudodu::server
