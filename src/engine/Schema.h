// The schema of the four databases: tables, keys, indexes and views, in SQLite's own dialect.
// Date columns are declared DATETIME (the engine recognises them by that declared type), text
// columns compare case-insensitively (COLLATE NOCASE) as on the university's server.
#pragma once

#include <QString>

struct sqlite3;

namespace dudodu::engine::schema {

// Schema version kept in each file's user_version; open() refuses files without it.
constexpr int kVersion = 1;

// Creates every table, index and view in the four databases attached to db under the names
// VELM_DBASE, VELMCC_DB, GADEP and ACADEMIC, and sets their user_version.
bool createAll(sqlite3 *db, QString *error);

// Per-year and per-semester tables of the old curriculum rules and old offering table.
bool createRuleYearTable(sqlite3 *db, int year, QString *error);              // VELM_DBASE.SUBJ_DESG_<year>
bool createOldSemesterTable(sqlite3 *db, int year, int semester, QString *error); // VELM_DBASE.SEMESUBJ_<year>_<semester>

} // namespace dudodu::engine::schema
