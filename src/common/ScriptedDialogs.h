// The dialogs of tests: record what the program showed and answer as the test said, never blocking.
#pragma once

#include "common/Dialogs.h"

#include <QQueue>

namespace dudodu {

class TScriptedDialogs : public TDialogs {
  public:
    struct Shown {
        TMessage message;
        TMsgButton answer;
        QString answerWord() const { return AnswerWord(answer); }
    };

    // The answer word ("OK", "CANCEL", "YES", "NO") to the next message; answers are used in order.
    // A message with no answer queued gets its default (first) button.
    void setNextAnswer(const QString& word) { m_answers.enqueue(word.toUpper()); }
    // The file the next save dialog returns; empty text stands for a cancelled dialog.
    void setNextFileName(const QString& path) { m_fileNames.enqueue(path); }

    const QList<Shown>& shown() const { return m_shown; }
    const Shown& last() const { return m_shown.last(); }
    const QList<TSaveRequest>& saveRequests() const { return m_saveRequests; }
    const QList<QUrl>& openedUrls() const { return m_urls; }
    const QList<QStringList>& startedPrograms() const { return m_programs; } // program, then arguments
    // Script mismatches: answers not offered by the box they met.
    const QStringList& problems() const { return m_problems; }
    int pendingAnswers() const { return int(m_answers.size()); }
    void clear();

    TMsgButton message(const TMessage& message) override;
    QString saveFileName(const TSaveRequest& request) override;
    void openUrl(const QUrl& url) override { m_urls.append(url); }
    void startProgram(const QString& program, const QStringList& arguments) override;

  private:
    QQueue<QString> m_answers;
    QQueue<QString> m_fileNames;
    QList<Shown> m_shown;
    QList<TSaveRequest> m_saveRequests;
    QList<QUrl> m_urls;
    QList<QStringList> m_programs;
    QStringList m_problems;
};

// Installs scripted dialogs for the lifetime of a test and puts the previous ones back.
class TScopedScriptedDialogs {
  public:
    TScopedScriptedDialogs();
    ~TScopedScriptedDialogs();
    TScopedScriptedDialogs(const TScopedScriptedDialogs&) = delete;
    TScopedScriptedDialogs& operator=(const TScopedScriptedDialogs&) = delete;

    TScriptedDialogs& operator*() const { return *m_dialogs; }
    TScriptedDialogs* operator->() const { return m_dialogs; }

  private:
    TScriptedDialogs* m_dialogs; // owned by the installation
    std::unique_ptr<TDialogs> m_previous;
};

} // namespace dudodu
