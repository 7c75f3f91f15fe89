// What a connection returns for one batch: the row sets of its row-returning statements, with field
// names and kinds, or the server's error text. Plain values so that any transport can carry them.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace dudodu {

enum class TFieldType { Unknown, Integer, Float, String, DateTime };

// One row set. A NULL is an invalid QVariant; other values are qint64, double or QString.
struct TResultTable {
    QStringList fieldNames;
    QList<TFieldType> fieldTypes; // one per field name
    QList<QVariantList> rows;     // each as long as fieldNames
};

struct TBatchReply {
    QList<TResultTable> results; // one per row-returning statement, in execution order
    QString error;               // empty on success, else the server's text
    qint64 rowsAffected = 0;
    bool ok() const { return error.isEmpty(); }
};

} // namespace dudodu
