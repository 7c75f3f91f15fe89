#include "common/Dialogs.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>

namespace dudodu {

namespace {

std::unique_ptr<TDialogs>& installed() {
    static std::unique_ptr<TDialogs> dialogs;
    return dialogs;
}

QMessageBox::StandardButton standardButton(TMsgButton button) {
    switch (button) {
    case TMsgButton::Ok:
        return QMessageBox::Ok;
    case TMsgButton::Cancel:
        return QMessageBox::Cancel;
    case TMsgButton::Yes:
        return QMessageBox::Yes;
    case TMsgButton::No:
        return QMessageBox::No;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon messageIcon(TMsgIcon icon) {
    switch (icon) {
    case TMsgIcon::None:
        break;
    case TMsgIcon::Stop:
        return QMessageBox::Critical;
    case TMsgIcon::Question:
        return QMessageBox::Question;
    case TMsgIcon::Warning:
        return QMessageBox::Warning;
    case TMsgIcon::Information:
        return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

// Messages are written with Windows line ends, some as "\n\r"; show each break once.
QString displayText(QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.remove(QLatin1Char('\r'));
    return text;
}

} // namespace

TMsgButton TQtDialogs::message(const TMessage& message) {
    QMessageBox box(messageIcon(message.icon), message.caption, displayText(message.text),
                    QMessageBox::NoButton, QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    for (TMsgButton button : message.buttons)
        box.addButton(standardButton(button));
    if (!message.buttons.isEmpty()) box.setDefaultButton(standardButton(message.buttons.first()));
    const auto pressed = QMessageBox::StandardButton(box.exec());
    for (TMsgButton button : message.buttons) {
        if (standardButton(button) == pressed) return button;
    }
    // Closed without a button: the box's escape answer.
    if (message.buttons.contains(TMsgButton::Cancel)) return TMsgButton::Cancel;
    if (message.buttons.contains(TMsgButton::No)) return TMsgButton::No;
    return message.buttons.value(0, TMsgButton::Ok);
}

QString TQtDialogs::saveFileName(const TSaveRequest& request) {
    QFileDialog::Options options;
    if (!request.confirmOverwrite) options |= QFileDialog::DontConfirmOverwrite;
    return QFileDialog::getSaveFileName(QApplication::activeWindow(), request.caption, request.fileName,
                                        request.filter, nullptr, options);
}

void TQtDialogs::openUrl(const QUrl& url) {
    QDesktopServices::openUrl(url);
}

void TQtDialogs::startProgram(const QString& program, const QStringList& arguments) {
    QProcess::startDetached(program, arguments);
}

TDialogs& Dialogs() {
    auto& dialogs = installed();
    if (!dialogs) dialogs = std::make_unique<TQtDialogs>();
    return *dialogs;
}

std::unique_ptr<TDialogs> SetDialogs(std::unique_ptr<TDialogs> dialogs) {
    std::swap(installed(), dialogs);
    return dialogs;
}

QString AnswerWord(TMsgButton button) {
    switch (button) {
    case TMsgButton::Ok:
        return QStringLiteral("OK");
    case TMsgButton::Cancel:
        return QStringLiteral("CANCEL");
    case TMsgButton::Yes:
        return QStringLiteral("YES");
    case TMsgButton::No:
        return QStringLiteral("NO");
    }
    return QStringLiteral("OK");
}

} // namespace dudodu
