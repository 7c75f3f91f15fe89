#include "db/ConnectionSetting.h"

#include "db/EmbeddedConnection.h"

#include <QFileInfo>
#include <QUrl>

namespace dudodu {

namespace {
const QString kEmbeddedPrefix = QStringLiteral("embedded:");
const QString kTlsScheme = QStringLiteral("tls");
} // namespace

QString TConnectionSetting::toString() const {
    if (kind == Kind::Embedded) return kEmbeddedPrefix + folder;
    const QString shownHost = host.contains(QLatin1Char(':')) ? u'[' + host + u']' : host;
    return kTlsScheme + QStringLiteral("://") + shownHost + u':' + QString::number(port);
}

std::optional<TConnectionSetting> parseConnectionSetting(const QString& text, QString* error) {
    const QString value = text.trimmed();
    TConnectionSetting setting;
    if (value.startsWith(kEmbeddedPrefix, Qt::CaseInsensitive)) {
        const QString folder = value.mid(kEmbeddedPrefix.size());
        if (folder.isEmpty()) {
            *error = QStringLiteral("The setting \"embedded:\" names no database folder.");
            return std::nullopt;
        }
        setting.kind = TConnectionSetting::Kind::Embedded;
        setting.folder = QFileInfo(folder).absoluteFilePath();
        return setting;
    }
    const QUrl url(value, QUrl::StrictMode);
    if (url.isValid() && url.scheme().compare(kTlsScheme, Qt::CaseInsensitive) == 0) {
        const int port = url.port(443);
        if (url.host().isEmpty() || !url.path().isEmpty() || port < 1) {
            *error = QStringLiteral("\"%1\" is not a server address of the form tls://HOST:PORT.").arg(value);
            return std::nullopt;
        }
        setting.kind = TConnectionSetting::Kind::Tls;
        setting.host = url.host();
        setting.port = quint16(port);
        return setting;
    }
    *error = QStringLiteral("\"%1\" is neither embedded:DIR nor tls://HOST:PORT.").arg(value);
    return std::nullopt;
}

std::unique_ptr<TConnection> createConnection(const TConnectionSetting& setting, QString* error) {
    switch (setting.kind) {
    case TConnectionSetting::Kind::Embedded:
        return std::make_unique<TEmbeddedConnection>(setting.folder);
    case TConnectionSetting::Kind::Tls:
        break;
    }
    *error = QStringLiteral("Connections through dudodu-server (%1) are not available yet in this version; "
                            "use embedded:DIR.")
                 .arg(setting.toString());
    return nullptr;
}

} // namespace dudodu
