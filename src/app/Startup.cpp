#include "app/Startup.h"

#include "app/Application.h"
#include "app/ConnectionChoice.h"
#include "common/Helpers.h"

#include <QCommandLineParser>
#include <QDir>
#include <QLabel>
#include <QProgressDialog>
#include <QSettings>
#include <QTimer>
#include <cstdio>

namespace dudodu {

namespace {

int startFailed(const QString& text) {
    std::fprintf(stderr, "dudodu: %s\n", qPrintable(text));
    MsgBox(text, QStringLiteral("dudodu"), {TMsgButton::Ok}, TMsgIcon::Stop);
    return 1;
}

bool createDemoWithProgress(const QString& folder, QString* error) {
    QProgressDialog dialog;
    dialog.setWindowTitle(QStringLiteral("dudodu"));
    dialog.setCancelButton(nullptr);
    dialog.setRange(0, 1000);
    dialog.setMinimumDuration(0);
    dialog.setMinimumWidth(480);
    const QString heading = QStringLiteral("正在建立示範資料庫 (creating the demo database)\n%1\n\n")
                                .arg(QDir::toNativeSeparators(folder));
    dialog.setLabelText(heading);
    dialog.show();
    return EnsureDemoDatabase(
        folder,
        [&](double fraction, const QString& text) {
            dialog.setLabelText(heading + text);
            dialog.setValue(qBound(0, int(fraction * 1000), 999));
            QCoreApplication::processEvents();
        },
        error);
}

} // namespace

std::unique_ptr<TWindows> CreateWindows(std::unique_ptr<TConnection> connection) {
    auto windows = std::make_unique<TWindows>();
    windows->DM = std::make_unique<TDM>(std::move(connection));
    windows->frmKURSPLAN = std::make_unique<TfrmKURSPLAN>(*windows->DM);
    windows->frmLOGIN = std::make_unique<TfrmLOGIN>(*windows->DM, *windows->frmKURSPLAN);
    windows->frmKURSPLAN->ShowLogin = [login = windows->frmLOGIN.get()] {
        return login->exec() == TfrmLOGIN::mrYes;
    };
    windows->frmCLASSROOM = std::make_unique<TfrmCLASSROOM>();
    windows->frmTeacher = std::make_unique<TfrmTeacher>();
    windows->frmRULE = std::make_unique<TfrmRULE>();
    windows->frmINSPECTION = std::make_unique<TfrmINSPECTION>();
    windows->f_update_prog = std::make_unique<Tf_update_prog>();
    windows->frmBelong = std::make_unique<TfrmBelong>();
    windows->frmCrs = std::make_unique<TfrmCrs>();
    windows->Formfeatures = std::make_unique<TFormfeatures>();
    windows->frmKURSPLAN->OpenPicker = [w = windows.get()](TfrmKURSPLAN::TPicker kind) {
        QDialog* picker = w->Formfeatures.get();
        if (kind == TfrmKURSPLAN::TPicker::Belong) picker = w->frmBelong.get();
        if (kind == TfrmKURSPLAN::TPicker::SyllabusUnit) picker = w->frmCrs.get();
        picker->open();
    };
    return windows;
}

int RunClient(TApplication& app) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("dudodu - department course-offering client"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption serverOption(
        QStringLiteral("server"), QStringLiteral("Where the data is: embedded:DIR or tls://HOST:PORT."),
        QStringLiteral("setting"));
    const QCommandLineOption screenshotOption(
        QStringLiteral("screenshot"), QStringLiteral("Save a picture of the main window to FILE and quit."),
        QStringLiteral("FILE"));
    const QCommandLineOption screenshotOfOption(
        QStringLiteral("screenshot-of"),
        QStringLiteral("With --screenshot: picture this window (frmLOGIN or f_update_prog) instead."),
        QStringLiteral("WINDOW"));
    const QCommandLineOption updateUrlOption(
        QStringLiteral("update-url"),
        QStringLiteral(
            "Where the updater is published (an address ending in \"/\"); else the \"%1\" setting.")
            .arg(QLatin1String(kUpdateUrlSettingKey)),
        QStringLiteral("URL"));
    parser.addOption(serverOption);
    parser.addOption(screenshotOption);
    parser.addOption(screenshotOfOption);
    parser.addOption(updateUrlOption);
    parser.process(app);

    const QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("dudodu"),
                             QStringLiteral("dudodu"));
    QString error;
    const auto choice = ChooseConnection(parser.value(serverOption), settings, DefaultDemoFolder(), &error);
    if (!choice) return startFailed(error);
    if (choice->demo && !createDemoWithProgress(choice->setting.folder, &error))
        return startFailed(QStringLiteral("The demo database could not be created: ") + error);
    if (choice->setting.kind == TConnectionSetting::Kind::Embedded &&
        !CheckDatabaseFolder(choice->setting.folder, &error))
        return startFailed(error);
    auto connection = createConnection(choice->setting, &error);
    if (!connection) return startFailed(error);

    TConnection::setBusyIndicator([](bool busy) {
        if (busy)
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QGuiApplication::restoreOverrideCursor();
    });
    const auto windows = CreateWindows(std::move(connection));
    windows->frmLOGIN->FUpdateBaseUrl = parser.isSet(updateUrlOption)
                                            ? parser.value(updateUrlOption)
                                            : settings.value(QLatin1String(kUpdateUrlSettingKey)).toString();
    windows->frmKURSPLAN->show();

    if (parser.isSet(screenshotOption)) {
        const QString file = parser.value(screenshotOption);
        QWidget* target = windows->frmKURSPLAN.get();
        const QString of = parser.value(screenshotOfOption);
        if (of == QLatin1String("frmLOGIN")) {
            target = windows->frmLOGIN.get();
        } else if (of == QLatin1String("f_update_prog")) {
            windows->f_update_prog->lbCURRENT->setText(TConnection::applicationVersion());
            target = windows->f_update_prog.get();
        } else if (!of.isEmpty()) {
            return startFailed(QStringLiteral("No window named %1").arg(of));
        }
        if (target != windows->frmKURSPLAN.get()) target->show(); // not modal: the picture is all
        QTimer::singleShot(500, &app, [&, target] {
            if (!target->grab().save(file))
                std::fprintf(stderr, "dudodu: cannot write %s\n", qPrintable(file));
            app.exit(0);
        });
    }
    const int code = app.exec();
    TConnection::setBusyIndicator({});
    return code;
}

} // namespace dudodu
