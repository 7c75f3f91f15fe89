#include "app/UpdateProgForm.h"

#include "common/Helpers.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPushButton>
#include <QSaveFile>
#include <QSettings>
#include <QVBoxLayout>
#include <memory>

namespace dudodu {

void EndProgramNow() {
    // exit() leaves the nested modal loops and the main loop; quit() would send close events and
    // make the main window ask whether to end.
    QCoreApplication::exit(0);
}

Tf_update_prog::Tf_update_prog(QWidget* parent)
    : QDialog(parent), FProgramPath(QCoreApplication::applicationFilePath()), EndProgram(EndProgramNow) {
    setObjectName(QStringLiteral("f_update_prog"));
    setWindowTitle(QStringLiteral("檔案更新"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    setAttribute(Qt::WA_QuitOnClose, false);

    lbHEADING = new QLabel(QStringLiteral("你目前使用的程式為較舊的版本,需要更新後才能使用系統"), this);
    lbHEADING->setObjectName(QStringLiteral("lbHEADING"));
    lbHEADING->setStyleSheet(QStringLiteral("color: red; font-weight: bold;"));

    gbINFO = new QGroupBox(QStringLiteral("更新資訊"), this);
    gbINFO->setObjectName(QStringLiteral("gbINFO"));
    lbCURRENT = new QLabel(gbINFO);
    lbCURRENT->setObjectName(QStringLiteral("lbCURRENT"));
    lbNEW = new QLabel(gbINFO);
    lbNEW->setObjectName(QStringLiteral("lbNEW"));
    auto* rows = new QFormLayout(gbINFO);
    rows->addRow(QStringLiteral("目前使用版本"), lbCURRENT);
    rows->addRow(QStringLiteral("新版版本"), lbNEW);

    lbINFO = new QLabel(this);
    lbINFO->setObjectName(QStringLiteral("lbINFO"));
    lbINFO->setWordWrap(true);

    bbUPDATE = new QPushButton(QStringLiteral("開始更新"), this);
    bbUPDATE->setObjectName(QStringLiteral("bbUPDATE"));
    BitBtn2 = new QPushButton(QStringLiteral("結束程式"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    bbUPDATE->setAutoDefault(false);
    BitBtn2->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(bbUPDATE);
    buttons->addWidget(BitBtn2);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lbHEADING);
    layout->addWidget(gbINFO);
    layout->addWidget(lbINFO);
    layout->addLayout(buttons);
    resize(460, 240);

    connect(bbUPDATE, &QPushButton::clicked, this, &Tf_update_prog::bbUPDATEClick);
    connect(BitBtn2, &QPushButton::clicked, this, &Tf_update_prog::BitBtn2Click);
}

Tf_update_prog::~Tf_update_prog() = default;

bool Tf_update_prog::writeRegistry() {
    QSettings registry(QSettings::NativeFormat, QSettings::UserScope, QLatin1String(kRegistryOrganization),
                       QLatin1String(kRegistryApplication));
    registry.setValue(QStringLiteral("TX URL"), FBaseUrl);
    registry.setValue(QStringLiteral("local path"), QDir::toNativeSeparators(FProgramPath));
    registry.setValue(QStringLiteral("program name"), QLatin1String(kProgramName));
    registry.sync();
    return registry.status() == QSettings::NoError;
}

qint64 Tf_update_prog::download(const QString& localPath, QString* error, bool* cannotWrite) {
    *cannotWrite = false;
    // The updater is written beside its final name and renamed only when complete, so a failed
    // download leaves an earlier updater as it was instead of a broken file that would be started.
    QSaveFile file(localPath);
    if (!file.open(QIODevice::WriteOnly)) {
        *cannotWrite = true;
        *error = file.errorString();
        return -1;
    }
    QNetworkAccessManager manager;
    QNetworkRequest request(QUrl(FBaseUrl + QLatin1String(kUpdaterFileName)));
    request.setRawHeader("Accept", "text/html, */*");
    request.setTransferTimeout(kTransferTimeoutMs);
    const std::unique_ptr<QNetworkReply> reply(manager.get(request));
    bool writeFailed = false;
    auto take = [&] {
        const QByteArray data = reply->readAll();
        if (!writeFailed && file.write(data) != data.size()) {
            writeFailed = true;
            reply->abort();
        }
    };
    connect(reply.get(), &QNetworkReply::readyRead, this, take);
    if (!reply->isFinished()) {
        // The download blocks the window as a statement does; only network events are served.
        QEventLoop wait;
        connect(reply.get(), &QNetworkReply::finished, &wait, &QEventLoop::quit);
        wait.exec(QEventLoop::ExcludeUserInputEvents);
    }
    take();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (writeFailed) {
        *cannotWrite = true;
        *error = file.errorString();
    } else if (reply->error() != QNetworkReply::NoError) {
        *error = reply->errorString();
    } else if (status != 200) {
        *error = QStringLiteral("HTTP %1").arg(status);
    } else if (!file.commit()) {
        *cannotWrite = true;
        *error = file.errorString();
    } else {
        return QFileInfo(localPath).size();
    }
    file.cancelWriting();
    return -1;
}

void Tf_update_prog::bbUPDATEClick() {
    if (!writeRegistry()) {
        MsgBox(QStringLiteral("無法建立registry key,更新失敗!"), windowTitle());
        endProgram();
        return;
    }
    const QString updaterPath =
        QFileInfo(FProgramPath).absoluteDir().filePath(QLatin1String(kUpdaterFileName));
    bbUPDATE->setEnabled(false);
    QString error;
    bool cannotWrite = false;
    const qint64 bytes = download(updaterPath, &error, &cannotWrite);
    if (bytes >= 0) {
        lbINFO->setText(QStringLiteral("Received %1 bytes, OK !").arg(bytes));
    } else if (cannotWrite) {
        // Say where and why, so the user can ask for the program folder to be made writable.
        lbINFO->setText(QStringLiteral("Failed : 無法寫入！"));
        MsgBox(QStringLiteral("無法寫入更新程式: %1\n%2").arg(QDir::toNativeSeparators(updaterPath), error),
               QStringLiteral("錯誤"), {TMsgButton::Ok}, TMsgIcon::Stop);
    } else {
        lbINFO->setText(QStringLiteral("Failed : 無法讀取！"));
    }
    bbUPDATE->setEnabled(true);
    if (QFileInfo::exists(updaterPath)) Dialogs().startProgram(updaterPath, {});
    endProgram();
}

void Tf_update_prog::BitBtn2Click() {
    close();
}

void Tf_update_prog::reject() {
    endProgram();
    QDialog::reject();
}

void Tf_update_prog::closeEvent(QCloseEvent* event) {
    endProgram();
    QDialog::closeEvent(event);
}

void Tf_update_prog::endProgram() {
    if (m_ending) return;
    m_ending = true;
    if (EndProgram) EndProgram();
}

} // namespace dudodu
