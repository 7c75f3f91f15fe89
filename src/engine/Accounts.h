// The account password store (VELMCC_DB.account_password): salted PBKDF2-SHA256 hashes.
#pragma once

#include <QString>

struct sqlite3;

namespace dudodu::engine::accounts {

// Stores (or replaces) the password of an account.
bool setPassword(sqlite3 *db, const QString &user, const QString &password, QString *error);
// True when the account has a stored hash and the password matches it.
bool verifyPassword(sqlite3 *db, const QString &user, const QString &password);

} // namespace dudodu::engine::accounts
