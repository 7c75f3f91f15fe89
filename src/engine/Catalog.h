// What the translator knows of the schema: the value kind of each column, read from the declared
// types of the attached databases. T-SQL meaning depends on it ('+' on text vs numbers, dates
// compared with date texts, text assigned to integer columns).
#pragma once

#include <QHash>
#include <QList>
#include <QString>

struct sqlite3;

namespace dudodu::engine {

enum class Kind { Unknown, Null, Text, Int, Real, Date };

inline bool isNumeric(Kind k) { return k == Kind::Int || k == Kind::Real; }

struct CatalogColumn {
    QString name;
    Kind kind = Kind::Unknown;
};

class Catalog {
public:
    // Reads every table and view of the attached databases.
    bool load(sqlite3 *db, const QStringList &databases, QString *error);

    // Kind of a column known only by name: Unknown when tables disagree.
    Kind columnKind(const QString &column) const;
    // Kind of a column of a table (unqualified table name); Unknown when not known.
    Kind columnKind(const QString &table, const QString &column) const;
    // Columns of a table in declaration order (empty when not known).
    QList<CatalogColumn> columns(const QString &table) const;

    static Kind kindOfDeclaredType(const QString &declared);

private:
    QHash<QString, QList<CatalogColumn>> m_tables; // lower-case table name
    QHash<QString, Kind> m_columns;                // lower-case column name
};

} // namespace dudodu::engine
