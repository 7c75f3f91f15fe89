// Runs a translated batch with the server's batch semantics: a failing statement sets @@error and
// the batch goes on; raiserror reports its text; rollback/return end what the error block says;
// a transaction still open when the batch ends is rolled back.
#pragma once

#include "engine/Engine.h"
#include "engine/Program.h"
#include "engine/Tokenizer.h"

#include <QHash>

struct sqlite3;

namespace dudodu::engine {

class Interpreter {
public:
    Interpreter(sqlite3 *db, const TokenizedBatch &batch, BatchResult &result)
        : m_db(db), m_batch(batch), m_result(result) {}
    void run(const Program &program);

private:
    struct Variable {
        Kind kind = Kind::Unknown;
        int length = 0;
        QVariant value;
    };

    void runList(const std::vector<std::unique_ptr<Statement>> &statements);
    void exec(const Statement &s);
    bool bind(const SqlText &text);
    // Steps a row-returning statement; calls onRow for each row. False on error (recorded).
    bool query(const SqlText &text, const std::function<void(sqlite3_stmt *)> &onRow);
    bool change(const SqlText &text);
    bool plain(const char *sql);
    void statementError(const QString &message, int code);
    void assign(const QString &name, const QVariant &value);
    static QVariant columnValue(sqlite3_stmt *st, int i);
    ResultSet resultOf(sqlite3_stmt *st);

    sqlite3 *m_db;
    const TokenizedBatch &m_batch;
    BatchResult &m_result;
    QHash<QString, Variable> m_vars;
    int m_error = 0;
    qint64 m_rowcount = 0;
    int m_trancount = 0;
    bool m_returned = false;
    QString m_raised;
};

// Server-style text for an SQLite error message (e.g. "no such column: x" → "Invalid column name 'x'.").
QString serverErrorText(const QString &sqliteMessage);

} // namespace dudodu::engine
