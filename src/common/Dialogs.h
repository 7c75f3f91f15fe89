// The one door through which the program talks to the user outside its windows: message boxes and
// questions, save dialogs, opening an address in the browser and starting a program. Production
// shows Qt dialogs; tests install a scripted implementation (ScriptedDialogs.h) so nothing blocks.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <memory>

namespace dudodu {

enum class TMsgButton { Ok, Cancel, Yes, No };
enum class TMsgIcon { None, Stop, Question, Warning, Information };

struct TMessage {
    QString text;
    QString caption;
    QList<TMsgButton> buttons{TMsgButton::Ok}; // in the order shown; the first is the default
    TMsgIcon icon = TMsgIcon::None;
};

struct TSaveRequest {
    QString caption;
    QString fileName; // suggested name or path
    QString filter;   // Qt form, e.g. "HTM (*.htm *.html)"
    bool confirmOverwrite = true;
};

class TDialogs {
  public:
    virtual ~TDialogs() = default;
    // Shows a message and returns the button pressed.
    virtual TMsgButton message(const TMessage& message) = 0;
    // The chosen file, or empty text when the user cancelled.
    virtual QString saveFileName(const TSaveRequest& request) = 0;
    // Hands an address to the browser; the outcome is not checked.
    virtual void openUrl(const QUrl& url) = 0;
    virtual void startProgram(const QString& program, const QStringList& arguments) = 0;
};

// Qt's own dialogs, owned by the active window.
class TQtDialogs : public TDialogs {
  public:
    TMsgButton message(const TMessage& message) override;
    QString saveFileName(const TSaveRequest& request) override;
    void openUrl(const QUrl& url) override;
    void startProgram(const QString& program, const QStringList& arguments) override;
};

// The application's dialogs (Qt's until another implementation is installed).
TDialogs& Dialogs();
// Installs an implementation and returns the one it replaces.
std::unique_ptr<TDialogs> SetDialogs(std::unique_ptr<TDialogs> dialogs);

// The word a button answers with: "OK", "CANCEL", "YES" or "NO".
QString AnswerWord(TMsgButton button);

} // namespace dudodu
