// Salted PBKDF2-SHA256 password hashes in VELMCC_DB.account_password. The iteration count is
// stored per row so that it can be raised later without invalidating existing hashes.
#include "engine/Accounts.h"

#include <QCryptographicHash>
#include <QPasswordDigestor>
#include <QRandomGenerator>
#include <sqlite3.h>

namespace dudodu::engine::accounts {
namespace {

constexpr int kIterations = 20000; // a login stays well below 100 ms
constexpr int kSaltBytes = 16;
constexpr int kHashBytes = 32;

QByteArray derive(const QString& password, const QByteArray& salt, int iterations) {
    return QPasswordDigestor::deriveKeyPbkdf2(QCryptographicHash::Sha256, password.toUtf8(), salt, iterations,
                                              kHashBytes);
}

// Compares without stopping at the first difference, so the time does not tell how much matched.
bool equalConstantTime(const QByteArray& a, const QByteArray& b) {
    if (a.size() != b.size()) return false;
    unsigned char diff = 0;
    for (qsizetype i = 0; i < a.size(); ++i)
        diff |= static_cast<unsigned char>(a[i] ^ b[i]);
    return diff == 0;
}

QByteArray blobColumn(sqlite3_stmt* stmt, int column) {
    const void* data = sqlite3_column_blob(stmt, column);
    const int size = sqlite3_column_bytes(stmt, column);
    return data ? QByteArray(static_cast<const char*>(data), size) : QByteArray();
}

struct Statement {
    sqlite3_stmt* stmt = nullptr;
    ~Statement() { sqlite3_finalize(stmt); }
};

} // namespace

bool setPassword(sqlite3* db, const QString& user, const QString& password, QString* error) {
    if (user.trimmed().isEmpty()) {
        if (error) *error = QStringLiteral("account name is empty");
        return false;
    }
    QByteArray salt(kSaltBytes, Qt::Uninitialized);
    QRandomGenerator::system()->generate(salt.begin(), salt.end());
    const QByteArray hash = derive(password, salt, kIterations);

    Statement s;
    const char* sql =
        "INSERT INTO VELMCC_DB.account_password (u_id, salt, hash, iterations) VALUES (?1, ?2, ?3, ?4) "
        "ON CONFLICT (u_id) DO UPDATE SET salt = excluded.salt, hash = excluded.hash, "
        "iterations = excluded.iterations";
    int rc = sqlite3_prepare_v2(db, sql, -1, &s.stmt, nullptr);
    if (rc == SQLITE_OK) {
        const QByteArray name = user.toUtf8();
        sqlite3_bind_text(s.stmt, 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
        sqlite3_bind_blob(s.stmt, 2, salt.constData(), int(salt.size()), SQLITE_TRANSIENT);
        sqlite3_bind_blob(s.stmt, 3, hash.constData(), int(hash.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int(s.stmt, 4, kIterations);
        rc = sqlite3_step(s.stmt);
    }
    if (rc != SQLITE_DONE) {
        if (error) *error = QString::fromUtf8(sqlite3_errmsg(db));
        return false;
    }
    return true;
}

bool verifyPassword(sqlite3* db, const QString& user, const QString& password) {
    Statement s;
    // Folders made before accounts could be disabled lack the column: their accounts are enabled.
    if (sqlite3_prepare_v2(db,
                           "SELECT salt, hash, iterations, disabled FROM VELMCC_DB.account_password WHERE u_id = ?1",
                           -1, &s.stmt, nullptr) != SQLITE_OK &&
        sqlite3_prepare_v2(db,
                           "SELECT salt, hash, iterations, 0 FROM VELMCC_DB.account_password WHERE u_id = ?1", -1,
                           &s.stmt, nullptr) != SQLITE_OK)
        return false;
    const QByteArray name = user.toUtf8();
    sqlite3_bind_text(s.stmt, 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
    if (sqlite3_step(s.stmt) != SQLITE_ROW) {
        // The same work as for a known account, so the time does not tell which accounts exist.
        derive(password, QByteArray(kSaltBytes, '\0'), kIterations);
        return false;
    }
    const QByteArray salt = blobColumn(s.stmt, 0);
    const QByteArray stored = blobColumn(s.stmt, 1);
    const int iterations = sqlite3_column_int(s.stmt, 2);
    const bool disabled = sqlite3_column_int(s.stmt, 3) != 0;
    if (salt.isEmpty() || stored.size() != kHashBytes || iterations <= 0) return false;
    const bool matches = equalConstantTime(derive(password, salt, iterations), stored);
    return matches && !disabled;
}

bool exists(sqlite3* db, const QString& user) {
    Statement s;
    if (sqlite3_prepare_v2(db, "SELECT 1 FROM VELMCC_DB.account_password WHERE u_id = ?1", -1, &s.stmt,
                           nullptr) != SQLITE_OK)
        return false;
    const QByteArray name = user.toUtf8();
    sqlite3_bind_text(s.stmt, 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
    return sqlite3_step(s.stmt) == SQLITE_ROW;
}

bool setDisabled(sqlite3* db, const QString& user, bool disabled, QString* error) {
    {
        Statement probe;
        if (sqlite3_prepare_v2(db, "SELECT disabled FROM VELMCC_DB.account_password LIMIT 0", -1, &probe.stmt,
                               nullptr) != SQLITE_OK &&
            sqlite3_exec(db, "ALTER TABLE VELMCC_DB.account_password ADD COLUMN disabled INTEGER NOT NULL DEFAULT 0",
                         nullptr, nullptr, nullptr) != SQLITE_OK) {
            if (error) *error = QString::fromUtf8(sqlite3_errmsg(db));
            return false;
        }
    }
    Statement s;
    int rc = sqlite3_prepare_v2(db, "UPDATE VELMCC_DB.account_password SET disabled = ?2 WHERE u_id = ?1", -1,
                                &s.stmt, nullptr);
    if (rc == SQLITE_OK) {
        const QByteArray name = user.toUtf8();
        sqlite3_bind_text(s.stmt, 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int(s.stmt, 2, disabled ? 1 : 0);
        rc = sqlite3_step(s.stmt);
    }
    if (rc != SQLITE_DONE) {
        if (error) *error = QString::fromUtf8(sqlite3_errmsg(db));
        return false;
    }
    if (sqlite3_changes(db) == 0) {
        if (error) *error = QStringLiteral("there is no account %1").arg(user);
        return false;
    }
    return true;
}

} // namespace dudodu::engine::accounts
