#include "engine/Catalog.h"

#include <sqlite3.h>

namespace dudodu::engine {

Kind Catalog::kindOfDeclaredType(const QString &declared) {
    const QString t = declared.toUpper();
    if (t.contains(u"INT"))
        return Kind::Int;
    if (t.contains(u"DATE") || t.contains(u"TIME"))
        return Kind::Date;
    if (t.contains(u"CHAR") || t.contains(u"TEXT") || t.contains(u"CLOB"))
        return Kind::Text;
    if (t.contains(u"REAL") || t.contains(u"FLOA") || t.contains(u"DOUB") || t.contains(u"NUM") ||
        t.contains(u"DEC"))
        return Kind::Real;
    return Kind::Unknown;
}

bool Catalog::load(sqlite3 *db, const QStringList &databases, QString *error) {
    m_tables.clear();
    m_columns.clear();
    QHash<QString, bool> conflicting;
    for (const QString &database : databases) {
        QList<QString> names;
        {
            const QByteArray sql = QStringLiteral("select name from %1.sqlite_master where type in ('table','view')")
                                       .arg(database)
                                       .toUtf8();
            sqlite3_stmt *st = nullptr;
            if (sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr) != SQLITE_OK) {
                if (error)
                    *error = QString::fromUtf8(sqlite3_errmsg(db));
                sqlite3_finalize(st);
                return false;
            }
            while (sqlite3_step(st) == SQLITE_ROW)
                names.append(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0))));
            sqlite3_finalize(st);
        }
        for (const QString &table : names) {
            const QByteArray sql = QStringLiteral("pragma %1.table_info(\"%2\")").arg(database, table).toUtf8();
            sqlite3_stmt *st = nullptr;
            if (sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr) != SQLITE_OK) {
                if (error)
                    *error = QString::fromUtf8(sqlite3_errmsg(db));
                sqlite3_finalize(st);
                return false;
            }
            QList<CatalogColumn> cols;
            while (sqlite3_step(st) == SQLITE_ROW) {
                CatalogColumn c;
                c.name = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 1)));
                const auto *type = reinterpret_cast<const char *>(sqlite3_column_text(st, 2));
                c.kind = kindOfDeclaredType(type ? QString::fromUtf8(type) : QString());
                cols.append(c);
                const QString key = c.name.toLower();
                auto it = m_columns.find(key);
                if (it == m_columns.end())
                    m_columns.insert(key, c.kind);
                else if (*it != c.kind && !(isNumeric(*it) && isNumeric(c.kind)))
                    conflicting.insert(key, true);
                else if (*it != c.kind)
                    *it = Kind::Real; // integer in one table, real in another: numeric either way
            }
            sqlite3_finalize(st);
            m_tables.insert(table.toLower(), cols);
        }
    }
    for (auto it = conflicting.cbegin(); it != conflicting.cend(); ++it)
        m_columns[it.key()] = Kind::Unknown;
    return true;
}

Kind Catalog::columnKind(const QString &column) const {
    return m_columns.value(column.toLower(), Kind::Unknown);
}

Kind Catalog::columnKind(const QString &table, const QString &column) const {
    const auto it = m_tables.constFind(table.toLower());
    if (it == m_tables.cend())
        return Kind::Unknown;
    for (const CatalogColumn &c : *it)
        if (c.name.compare(column, Qt::CaseInsensitive) == 0)
            return c.kind;
    return Kind::Unknown;
}

QList<CatalogColumn> Catalog::columns(const QString &table) const {
    return m_tables.value(table.toLower());
}

} // namespace dudodu::engine
