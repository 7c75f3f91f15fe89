// The account password store (VELMCC_DB.account_password): salted PBKDF2-SHA256 hashes, and a flag
// that disables an account without forgetting it.
#pragma once

#include <QString>

struct sqlite3;

namespace dudodu::engine::accounts {

// Stores (or replaces) the password of an account.
bool setPassword(sqlite3 *db, const QString &user, const QString &password, QString *error);
// True when the account has a stored hash, is not disabled and the password matches it. Takes about
// as long for an unknown account as for a known one.
bool verifyPassword(sqlite3 *db, const QString &user, const QString &password);
// True when the account has a stored password.
bool exists(sqlite3 *db, const QString &user);
// Disables or re-enables an existing account; false with a reason when there is no such account.
bool setDisabled(sqlite3 *db, const QString &user, bool disabled, QString *error);

} // namespace dudodu::engine::accounts
