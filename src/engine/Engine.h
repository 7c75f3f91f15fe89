// The embedded T-SQL engine: the four databases as SQLite files attached under their server names,
// and an interpreter that runs the T-SQL batches the client sends with the server's meaning.
#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>

struct sqlite3;

namespace dudodu::engine {

enum class ColumnType { Unknown, Integer, Double, Text, Date };

// One row-returning statement's result. A NULL is an invalid QVariant; other values are
// qint64, double or QString. Dates are text in the canonical form "yyyy-MM-dd HH:mm:ss.zzz".
struct ResultSet {
    QStringList columns; // as the statement spells them (alias, or the column name as written)
    QList<ColumnType> types;
    QList<QVariantList> rows;
};

struct BatchResult {
    QList<ResultSet> results; // one per row-returning statement, in execution order
    // Empty on success. Otherwise the text the client reports: the last raiserror text when the
    // batch raised one, else the first statement error.
    QString error;
    QStringList errors;      // every error met while the batch ran, in order
    qint64 rowsAffected = 0; // rows changed by the batch's insert/update/delete statements
    bool ok() const { return error.isEmpty(); }
};

// One engine is one connection: use it from one thread at a time.
class Engine {
public:
    // The database names as the statements write them, and their file names inside the folder.
    static const QStringList &databaseNames();
    static QString fileName(const QString &database); // e.g. "VELM_DBASE.sqlite"

    // Opens the four database files in dir. Returns nullptr and a clear error text when the folder
    // or a file is missing, unreadable, not a database, or lacks the schema.
    static std::unique_ptr<Engine> open(const QString &dir, QString *error);
    // Creates dir (if needed) with four new database files holding the empty schema. Refuses a
    // folder that already holds database files.
    static std::unique_ptr<Engine> create(const QString &dir, QString *error);

    ~Engine();
    Engine(const Engine &) = delete;
    Engine &operator=(const Engine &) = delete;

    // Runs one batch (statements separated by line breaks or ';'). Never throws.
    BatchResult execute(const QString &batch);

    // True when the account exists in the password store and the password matches.
    bool verifyAccount(const QString &user, const QString &password);

    // The connection with the four databases attached (for the demo generator and benchmarks).
    sqlite3 *handle() const;
    QString folder() const;

    // Number of batch shapes held in the translation cache.
    int cachedTranslations() const;

    // Re-reads the schema (after tables were created outside execute(), e.g. per-year tables) and
    // drops every cached translation.
    bool refreshSchema(QString *error);

    // The clock behind getdate(); tests fix it. An empty function restores the system clock.
    void setClock(std::function<QDateTime()> clock);

private:
    struct Impl;
    explicit Engine(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> d;
};

} // namespace dudodu::engine
