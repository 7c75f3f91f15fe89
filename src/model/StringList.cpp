#include "model/StringList.h"

#include "db/DataSet.h"
#include "db/Errors.h"

namespace dudodu {

QString TStringList::Names(int index) const {
    const QString& line = at(index);
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    return eq < 0 ? line : line.left(eq);
}

QString TStringList::ValueFromIndex(int index) const {
    const QString& line = at(index);
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    return eq < 0 ? QString() : line.mid(eq + 1);
}

QString JoinValues(const QStringList& list, const QString& separator) {
    QStringList values;
    values.reserve(list.size());
    for (const QString& line : list) {
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        values.append(eq < 0 ? QString() : line.mid(eq + 1));
    }
    return values.join(separator);
}

void ForEachRow(TQueryDataSet* query, const QString& sql, const std::function<void(TQueryDataSet&)>& row) {
    // A record or list made without a dataset cannot load; say so rather than crash.
    if (!query) throw TDBError(QStringLiteral("No dataset to run the statement on."));
    struct Closer {
        TQueryDataSet* q;
        ~Closer() { q->close(); }
    } closer{query};
    query->close();
    query->setSQL(sql);
    query->open();
    for (query->first(); !query->eof(); query->next())
        row(*query);
}

} // namespace dudodu
