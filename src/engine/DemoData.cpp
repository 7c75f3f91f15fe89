// Entry points of the demo-data generator: runs the steps in one transaction on the engine's
// connection and leaves complete database files behind (WAL checkpointed).
#include "engine/DemoData.h"

#include "engine/DemoModel.h"
#include "engine/Engine.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <sqlite3.h>

namespace dudodu::engine {
namespace demo {

int Demo::scaled(double count, int minimum) const {
    return std::max(minimum, int(std::lround(count * options.scale)));
}

void Demo::progress(double fraction, const QString& text) const {
    if (options.progress) options.progress(std::min(1.0, fraction), text);
}

namespace {

// Bulk loading needs no durability until the end; the previous settings come back afterwards.
class BulkSettings {
  public:
    explicit BulkSettings(sqlite3* db) : m_db(db) {
        for (const QString& name : Engine::databaseNames()) {
            m_synchronous << pragmaValue(QStringLiteral("PRAGMA %1.synchronous").arg(name));
            exec(db, QStringLiteral("PRAGMA %1.synchronous = OFF").arg(name));
            m_cache << pragmaValue(QStringLiteral("PRAGMA %1.cache_size").arg(name));
            exec(db, QStringLiteral("PRAGMA %1.cache_size = -65536").arg(name));
        }
    }
    ~BulkSettings() {
        const QStringList names = Engine::databaseNames();
        for (int i = 0; i < names.size(); ++i) {
            sqlite3_exec(m_db,
                         QStringLiteral("PRAGMA %1.synchronous = %2")
                             .arg(names[i], m_synchronous[i])
                             .toUtf8()
                             .constData(),
                         nullptr, nullptr, nullptr);
            sqlite3_exec(
                m_db,
                QStringLiteral("PRAGMA %1.cache_size = %2").arg(names[i], m_cache[i]).toUtf8().constData(),
                nullptr, nullptr, nullptr);
        }
    }

  private:
    QString pragmaValue(const QString& sql) {
        sqlite3_stmt* stmt = nullptr;
        QString value = QStringLiteral("2");
        if (sqlite3_prepare_v2(m_db, sql.toUtf8().constData(), -1, &stmt, nullptr) == SQLITE_OK &&
            sqlite3_step(stmt) == SQLITE_ROW)
            value = QString::number(sqlite3_column_int(stmt, 0));
        sqlite3_finalize(stmt);
        return value;
    }
    sqlite3* m_db;
    QStringList m_synchronous, m_cache;
};

// The secondary indexes of the largest tables are built once after loading (measurably faster and
// more compact than keeping them up to date row by row).
class DeferredIndexes {
  public:
    DeferredIndexes(sqlite3* db, const QList<std::pair<QString, QString>>& tables) : m_db(db) {
        static const QRegularExpression head(QStringLiteral("^CREATE (UNIQUE )?INDEX "));
        for (const auto& [schema, table] : tables) {
            sqlite3_stmt* stmt = nullptr;
            const QByteArray sql =
                QStringLiteral("SELECT name, sql FROM %1.sqlite_master WHERE type='index' AND "
                               "tbl_name=?1 AND sql IS NOT NULL")
                    .arg(schema)
                    .toUtf8();
            if (sqlite3_prepare_v2(db, sql.constData(), -1, &stmt, nullptr) != SQLITE_OK)
                throw DemoError(sqlite3_errmsg(db));
            const QByteArray name = table.toUtf8();
            sqlite3_bind_text(stmt, 1, name.constData(), -1, SQLITE_TRANSIENT);
            QStringList drops;
            while (sqlite3_step(stmt) == SQLITE_ROW) {
                const QString index =
                    QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
                QString create =
                    QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1)));
                create.replace(head, QStringLiteral("CREATE \\1INDEX %1.").arg(schema));
                m_creates << create;
                drops << QStringLiteral("DROP INDEX %1.%2").arg(schema, index);
            }
            sqlite3_finalize(stmt);
            for (const QString& drop : drops)
                exec(db, drop);
        }
    }
    void rebuild() {
        for (const QString& create : m_creates)
            exec(m_db, create);
    }

  private:
    sqlite3* m_db;
    QStringList m_creates;
};

void run(Demo& demo) {
    DeferredIndexes deferred(demo.db, {{QStringLiteral("GADEP"), QStringLiteral("RMR_Rent_list")},
                                       {QStringLiteral("VELM_DBASE"), QStringLiteral("SUBJSELE_CURRENT")},
                                       {QStringLiteral("VELM_DBASE"), QStringLiteral("SUBJSELE_HISTORY")}});
    demo.progress(0, QStringLiteral("系所與班級"));
    buildUnits(demo);
    writeUnits(demo);
    demo.progress(0.05, QStringLiteral("教師與教室"));
    buildPeople(demo);
    writePeople(demo);
    writeAccounts(demo);
    writeCodeTables(demo);
    demo.progress(0.15, QStringLiteral("課程規劃"));
    buildCatalogue(demo);
    writeRules(demo);
    buildOfferings(demo);
    writeOfferings(demo);
    demo.progress(0.7, QStringLiteral("講堂借用"));
    writeRentals(demo);
    demo.progress(0.9, QStringLiteral("選課資料"));
    writeSelections(demo);
    deferred.rebuild();
}

} // namespace
} // namespace demo

bool generateDemoData(Engine& engine, const DemoOptions& options, QString* error) {
    auto fail = [&](const QString& text) {
        if (error) *error = text;
        return false;
    };
    if (!(options.scale > 0 && options.scale <= 3))
        return fail(
            QStringLiteral("The demo scale must be above 0 and at most 3 (got %1).").arg(options.scale));
    sqlite3* db = engine.handle();
    try {
        demo::BulkSettings bulk(db);
        demo::exec(db, QStringLiteral("BEGIN"));
        try {
            demo::Demo demo(db, options);
            demo::run(demo);
            demo::exec(db, QStringLiteral("COMMIT"));
        } catch (...) {
            sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
            throw;
        }
        // Statistics for the query planner (sampled: a few milliseconds), then complete files.
        demo::exec(db, QStringLiteral("PRAGMA analysis_limit = 1000"));
        for (const QString& name : Engine::databaseNames()) {
            demo::exec(db, QStringLiteral("ANALYZE %1").arg(name));
            demo::exec(db, QStringLiteral("PRAGMA %1.wal_checkpoint(TRUNCATE)").arg(name));
        }
    } catch (const std::exception& e) {
        return fail(QStringLiteral("Cannot generate the demo data: %1").arg(QString::fromUtf8(e.what())));
    }
    QString refreshError;
    if (!engine.refreshSchema(&refreshError)) return fail(refreshError);
    if (options.progress) options.progress(1.0, QStringLiteral("完成"));
    return true;
}

bool createDemoDatabase(const QString& dir, const DemoOptions& options, QString* error) {
    // Built beside the target and renamed into place when complete, so an interrupted run never
    // leaves a half-filled database that a later start would take for a complete one.
    const QString target = QDir(dir).absolutePath();
    const QString partial = target + QStringLiteral(".partial");
    for (const QString& name : Engine::databaseNames())
        if (QFileInfo::exists(QDir(target).filePath(Engine::fileName(name)))) {
            if (error) *error = QStringLiteral("The folder %1 already holds a database.").arg(target);
            return false;
        }
    QDir(partial).removeRecursively();
    bool ok = false;
    {
        std::unique_ptr<Engine> engine = Engine::create(partial, error);
        ok = engine && generateDemoData(*engine, options, error);
    }
    if (ok) {
        QDir().rmdir(target); // an empty folder of that name would block the rename
        ok = QDir().rename(partial, target);
        if (!ok && error) *error = QStringLiteral("Cannot rename %1 to %2.").arg(partial, target);
    }
    if (!ok) QDir(partial).removeRecursively();
    return ok;
}

} // namespace dudodu::engine
