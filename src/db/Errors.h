// Exceptions of the client. Handlers raise them with the Chinese message the user is to see; the
// application's default error display shows that text.
#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

namespace dudodu {

// A failure with a message meant for the user.
class TAppError : public std::exception {
  public:
    explicit TAppError(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}
    const QString& message() const noexcept { return m_message; }
    const char* what() const noexcept override { return m_utf8.constData(); }

  private:
    QString m_message;
    QByteArray m_utf8;
};

// A statement the server refused, or a dataset used in a way it cannot serve; carries the server's
// text unchanged.
class TDBError : public TAppError {
  public:
    using TAppError::TAppError;
};

} // namespace dudodu
