// The text lists of the offering model: lines of text, each readable as name "=" value.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace dudodu {

class TQueryDataSet;

// A list of lines; a line's name is the text before its first "=", its value the text after it.
// Adds no state and no virtual operation, so a derived list is freed as what it is.
class TStringList : public QStringList {
  public:
    using QStringList::QStringList;

    int Count() const { return int(size()); }
    QString Names(int index) const;
    QString ValueFromIndex(int index) const;
};

// The values of all lines joined by the separator: empty for no lines, one line gives its value.
QString JoinValues(const QStringList& list, const QString& separator);

// Runs a row-returning statement on a shared dataset the way every load of the model does: close,
// replace the statement, open, hand each row over in order, close. Errors of the gateway pass on;
// the dataset is closed in every case.
void ForEachRow(TQueryDataSet* query, const QString& sql, const std::function<void(TQueryDataSet&)>& row);

} // namespace dudodu
