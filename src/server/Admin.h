// The administration commands of dudodu-server: accounts, and a self-signed certificate for a test
// installation.
#pragma once

#include <QString>
#include <QStringList>

namespace dudodu::server {

enum class AccountCommand { Add, ResetPassword, Disable, Enable };

// Runs an account command on the account store in folder. password is used by Add and
// ResetPassword. False with a reason on failure (an existing account for Add, a missing one else).
bool runAccountCommand(const QString& folder, AccountCommand command, const QString& account,
                       const QString& password, QString* error);

// Shortest password the account commands accept.
inline constexpr int kMinPasswordLength = 8;

// Writes a new P-256 key (readable by the owner only) and a self-signed certificate valid for
// days days, naming localhost, 127.0.0.1, ::1 and the given host names or addresses. Refuses to
// overwrite either file.
bool makeSelfSignedCertificate(const QString& certificateFile, const QString& keyFile,
                               const QStringList& hosts, int days, QString* error);

} // namespace dudodu::server
