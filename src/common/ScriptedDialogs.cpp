#include "common/ScriptedDialogs.h"

namespace dudodu {

void TScriptedDialogs::clear() {
    m_answers.clear();
    m_fileNames.clear();
    m_shown.clear();
    m_saveRequests.clear();
    m_urls.clear();
    m_programs.clear();
    m_problems.clear();
}

TMsgButton TScriptedDialogs::message(const TMessage& message) {
    TMsgButton answer = message.buttons.value(0, TMsgButton::Ok);
    if (!m_answers.isEmpty()) {
        const QString word = m_answers.dequeue();
        bool offered = false;
        for (TMsgButton button : message.buttons) {
            if (AnswerWord(button) == word) {
                answer = button;
                offered = true;
            }
        }
        if (!offered)
            m_problems.append(QStringLiteral("answer %1 not offered by \"%2\"").arg(word, message.text));
    }
    m_shown.append({message, answer});
    return answer;
}

QString TScriptedDialogs::saveFileName(const TSaveRequest& request) {
    m_saveRequests.append(request);
    return m_fileNames.isEmpty() ? QString() : m_fileNames.dequeue();
}

void TScriptedDialogs::startProgram(const QString& program, const QStringList& arguments) {
    m_programs.append(QStringList{program} + arguments);
}

TScopedScriptedDialogs::TScopedScriptedDialogs() {
    auto dialogs = std::make_unique<TScriptedDialogs>();
    m_dialogs = dialogs.get();
    m_previous = SetDialogs(std::move(dialogs));
}

TScopedScriptedDialogs::~TScopedScriptedDialogs() {
    SetDialogs(std::move(m_previous));
}

} // namespace dudodu
