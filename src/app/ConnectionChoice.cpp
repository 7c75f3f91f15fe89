#include "app/ConnectionChoice.h"

#include "engine/DemoData.h"
#include "engine/Engine.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace dudodu {

std::optional<TConnectionChoice> ChooseConnection(const QString& commandLine, const QSettings& settings,
                                                  const QString& demoFolder, QString* error) {
    QString text = commandLine.trimmed();
    if (text.isEmpty()) text = settings.value(QLatin1String(kServerSettingKey)).toString().trimmed();
    if (text.isEmpty()) {
        TConnectionChoice choice;
        choice.setting.kind = TConnectionSetting::Kind::Embedded;
        choice.setting.folder = QFileInfo(demoFolder).absoluteFilePath();
        choice.demo = true;
        return choice;
    }
    auto setting = parseConnectionSetting(text, error);
    if (!setting) return std::nullopt;
    if (setting->kind == TConnectionSetting::Kind::Tls && setting->caFile.isEmpty()) {
        const QString ca = settings.value(QLatin1String(kServerCaSettingKey)).toString().trimmed();
        if (!ca.isEmpty()) setting->caFile = QFileInfo(ca).absoluteFilePath();
    }
    return TConnectionChoice{*setting, false};
}

QString DefaultDemoFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/demo");
}

bool EnsureDemoDatabase(const QString& folder, const std::function<void(double, const QString&)>& progress,
                        QString* error) {
    const QString firstFile =
        QDir(folder).filePath(engine::Engine::fileName(engine::Engine::databaseNames().first()));
    if (QFileInfo::exists(firstFile)) return true;

    if (!QDir().mkpath(QFileInfo(folder).absolutePath())) {
        *error = QStringLiteral("Cannot create the folder %1.").arg(QFileInfo(folder).absolutePath());
        return false;
    }
    engine::DemoOptions options;
    options.progress = progress;
    return engine::createDemoDatabase(folder, options, error);
}

bool CheckDatabaseFolder(const QString& folder, QString* error) {
    return engine::Engine::open(folder, error) != nullptr;
}

} // namespace dudodu
