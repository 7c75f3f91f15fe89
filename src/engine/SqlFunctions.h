// SQLite functions that give translated statements the server's meaning: dates in one canonical
// text form, CONVERT/CAST, '+' decided per value, DATEPART with Sunday = 1.
#pragma once

#include <QDateTime>
#include <QString>
#include <functional>

struct sqlite3;

namespace dudodu::engine {

using Clock = std::function<QDateTime()>;

// Registers the tsql_* functions on db. The clock (owned by the caller, outliving db) gives getdate().
bool registerSqlFunctions(sqlite3 *db, const Clock *clock, QString *error);

// The canonical stored form of a date: "yyyy-MM-dd HH:mm:ss.zzz".
QString canonicalDate(const QDateTime &dt);
// Parses the date texts the server accepts (canonical, yyyy/M/d, yyyy-M-d, yyyyMMdd, M/d/yyyy, with an
// optional time); an empty text is 1900-01-01 as on the server. Invalid QDateTime when not a date.
QDateTime parseDateText(const QString &text);

} // namespace dudodu::engine
