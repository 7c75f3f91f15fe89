#include "db/ConnectionSetting.h"

#include "db/EmbeddedConnection.h"
#include "db/TlsConnection.h"

#include <QFileInfo>
#include <QUrl>
#include <QUrlQuery>

namespace dudodu {

namespace {
const QString kEmbeddedPrefix = QStringLiteral("embedded:");
const QString kTlsScheme = QStringLiteral("tls");
} // namespace

QString TConnectionSetting::toString() const {
    if (kind == Kind::Embedded) return kEmbeddedPrefix + folder;
    const QString shownHost = host.contains(QLatin1Char(':')) ? u'[' + host + u']' : host;
    QString text = kTlsScheme + QStringLiteral("://") + shownHost + u':' + QString::number(port);
    if (!caFile.isEmpty()) {
        QUrlQuery query;
        query.addQueryItem(QStringLiteral("ca"), caFile);
        text += u'?' + query.toString(QUrl::FullyEncoded);
    }
    return text;
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
        const QUrlQuery query(url);
        for (const auto& [key, item] : query.queryItems(QUrl::FullyDecoded)) {
            if (key != QLatin1String("ca") || item.isEmpty()) {
                *error = QStringLiteral("\"%1\": the only option of a server address is ca=FILE.").arg(value);
                return std::nullopt;
            }
            setting.caFile = QFileInfo(item).absoluteFilePath();
        }
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
        return std::make_unique<TTlsConnection>(setting.host, setting.port, setting.caFile);
    }
    *error = QStringLiteral("Unknown kind of server setting %1.").arg(setting.toString());
    return nullptr;
}

} // namespace dudodu
