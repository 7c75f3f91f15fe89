#include "engine/Engine.h"

#include "engine/Accounts.h"
#include "engine/Catalog.h"
#include "engine/Interpreter.h"
#include "engine/Schema.h"
#include "engine/SqlFunctions.h"
#include "engine/Translator.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>
#include <sqlite3.h>

namespace dudodu::engine {

Program::~Program() {
    for (SqlText *t : sqlTexts)
        sqlite3_finalize(t->stmt);
}

namespace {

// Distinct batch shapes kept translated and prepared; past this the cache starts afresh.
constexpr int kCacheLimit = 1000;

QString lastError(sqlite3 *db) { return QString::fromUtf8(sqlite3_errmsg(db)); }

bool execPlain(sqlite3 *db, const QString &sql, QString *error) {
    char *err = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &err) != SQLITE_OK) {
        if (error)
            *error = QString::fromUtf8(err ? err : sqlite3_errmsg(db));
        sqlite3_free(err);
        return false;
    }
    return true;
}

} // namespace

struct Engine::Impl {
    sqlite3 *db = nullptr;
    QString dir;
    Catalog catalog;
    Clock clock;
    QHash<QString, std::shared_ptr<Program>> cache;

    ~Impl() {
        cache.clear(); // finalises the prepared statements before the connection closes
        if (db)
            sqlite3_close_v2(db);
    }

    // Opens an in-memory main database and attaches the four files; create says whether they may be new.
    bool attach(const QString &folder, bool create, QString *error) {
        dir = QDir(folder).absolutePath();
        if (sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_URI, nullptr) !=
            SQLITE_OK) {
            *error = QStringLiteral("Cannot open the database engine: %1").arg(lastError(db));
            return false;
        }
        sqlite3_busy_timeout(db, 5000);
        sqlite3_extended_result_codes(db, 1);
        for (const QString &name : Engine::databaseNames()) {
            const QString path = QDir(dir).filePath(Engine::fileName(name));
            QString uri = QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
            uri += create ? QStringLiteral("?mode=rwc") : QStringLiteral("?mode=rw");
            sqlite3_stmt *st = nullptr;
            const QByteArray sql = QStringLiteral("ATTACH ?1 AS %1").arg(name).toUtf8();
            const QByteArray uriUtf8 = uri.toUtf8();
            int rc = sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr);
            if (rc == SQLITE_OK) {
                sqlite3_bind_text(st, 1, uriUtf8.constData(), -1, SQLITE_TRANSIENT);
                rc = sqlite3_step(st);
            }
            sqlite3_finalize(st);
            if (rc != SQLITE_DONE) {
                *error = QStringLiteral("Cannot open the database file %1: %2").arg(path, lastError(db));
                return false;
            }
            QString err;
            if (!execPlain(db, QStringLiteral("PRAGMA %1.journal_mode=WAL").arg(name), &err)) {
                *error = QStringLiteral("The database file %1 cannot be read: %2").arg(path, err);
                return false;
            }
        }
        if (!registerSqlFunctions(db, &clock, error))
            return false;
        return true;
    }

    bool checkSchema(QString *error) {
        for (const QString &name : Engine::databaseNames()) {
            sqlite3_stmt *st = nullptr;
            const QByteArray sql = QStringLiteral("PRAGMA %1.user_version").arg(name).toUtf8();
            int version = -1;
            if (sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
                version = sqlite3_column_int(st, 0);
            sqlite3_finalize(st);
            if (version != schema::kVersion) {
                *error = QStringLiteral("The database file %1 does not hold this program's database (schema "
                                        "version %2, expected %3).")
                             .arg(QDir(dir).filePath(Engine::fileName(name)))
                             .arg(version)
                             .arg(schema::kVersion);
                return false;
            }
        }
        return catalog.load(db, Engine::databaseNames(), error);
    }

    // Translated and prepared program for a batch, from the cache when its shape was seen before.
    std::shared_ptr<Program> program(const TokenizedBatch &batch, QString *error) {
        auto it = cache.find(batch.key);
        if (it != cache.end()) {
            bool same = true;
            for (const auto &[index, text] : (*it)->syntaxLiterals)
                if (batch.literals.value(index) != text)
                    same = false;
            if (same)
                return *it;
        }
        std::shared_ptr<Program> p(translate(batch, catalog, error).release());
        if (!p)
            return nullptr;
        for (SqlText *t : p->sqlTexts) {
            const QByteArray sql = t->sql.toUtf8();
            if (sqlite3_prepare_v3(db, sql.constData(), int(sql.size()), SQLITE_PREPARE_PERSISTENT, &t->stmt,
                                   nullptr) != SQLITE_OK) {
                *error = serverErrorText(lastError(db));
                return nullptr;
            }
        }
        if (cache.size() >= kCacheLimit)
            cache.clear();
        cache.insert(batch.key, p);
        return p;
    }
};

const QStringList &Engine::databaseNames() {
    static const QStringList names = {QStringLiteral("VELM_DBASE"), QStringLiteral("VELMCC_DB"),
                                      QStringLiteral("GADEP"), QStringLiteral("ACADEMIC")};
    return names;
}

QString Engine::fileName(const QString &database) { return database + QStringLiteral(".sqlite"); }

Engine::Engine(std::unique_ptr<Impl> impl) : d(std::move(impl)) {}
Engine::~Engine() = default;

std::unique_ptr<Engine> Engine::open(const QString &dir, QString *error) {
    QString err;
    const QFileInfo folder(dir);
    if (dir.isEmpty() || !folder.isDir()) {
        err = QStringLiteral("The database folder %1 does not exist.").arg(dir);
    } else {
        for (const QString &name : databaseNames()) {
            const QFileInfo file(QDir(dir).filePath(fileName(name)));
            if (!file.isFile()) {
                err = QStringLiteral("The database file %1 is missing.").arg(file.filePath());
                break;
            }
        }
    }
    auto impl = std::make_unique<Impl>();
    if (err.isEmpty() && impl->attach(dir, false, &err) && impl->checkSchema(&err))
        return std::unique_ptr<Engine>(new Engine(std::move(impl)));
    if (error)
        *error = err;
    return nullptr;
}

std::unique_ptr<Engine> Engine::create(const QString &dir, QString *error) {
    QString err;
    if (!QDir().mkpath(dir)) {
        err = QStringLiteral("Cannot create the database folder %1.").arg(dir);
    } else {
        for (const QString &name : databaseNames())
            if (QFileInfo::exists(QDir(dir).filePath(fileName(name))))
                err = QStringLiteral("The folder %1 already holds a database.").arg(dir);
    }
    auto impl = std::make_unique<Impl>();
    if (err.isEmpty() && impl->attach(dir, true, &err)) {
        if (schema::createAll(impl->db, &err) && impl->checkSchema(&err))
            return std::unique_ptr<Engine>(new Engine(std::move(impl)));
    }
    if (error)
        *error = err;
    return nullptr;
}

BatchResult Engine::execute(const QString &batch) {
    BatchResult result;
    const TokenizedBatch tokens = tokenize(batch);
    if (!tokens.error.isEmpty()) {
        result.error = tokens.error;
        result.errors << tokens.error;
        return result;
    }
    QString error;
    const std::shared_ptr<Program> program = d->program(tokens, &error);
    if (!program) {
        result.error = error;
        result.errors << error;
        return result;
    }
    Interpreter(d->db, tokens, result).run(*program);
    return result;
}

bool Engine::verifyAccount(const QString &user, const QString &password) {
    return accounts::verifyPassword(d->db, user, password);
}

sqlite3 *Engine::handle() const { return d->db; }
QString Engine::folder() const { return d->dir; }
int Engine::cachedTranslations() const { return int(d->cache.size()); }

bool Engine::refreshSchema(QString *error) {
    d->cache.clear();
    return d->catalog.load(d->db, databaseNames(), error);
}

void Engine::setClock(std::function<QDateTime()> clock) { d->clock = std::move(clock); }

} // namespace dudodu::engine
