#include "db/DataSet.h"

#include "db/Connection.h"
#include "db/Errors.h"

#include <QLocale>
#include <cmath>

namespace dudodu {

namespace {

// Shortest text that reads back as the same double, never in exponent form.
QString floatText(double value) {
    if (value == 0) return QStringLiteral("0"); // also for -0
    return QString::number(value, 'f', QLocale::FloatingPointShortest);
}

TDBError conversionError(const QVariant& value, const char* kind) {
    return TDBError(
        QStringLiteral("'%1' is not a valid %2 value").arg(value.toString(), QLatin1String(kind)));
}

} // namespace

QString TField::asString() const {
    if (isNull()) return {};
    if (m_value.typeId() == QMetaType::Double) return floatText(m_value.toDouble());
    return m_value.toString();
}

int TField::asInteger() const {
    if (isNull()) return 0;
    switch (m_value.typeId()) {
    case QMetaType::Double:
        return int(std::lround(m_value.toDouble()));
    case QMetaType::QString: {
        bool ok = false;
        const int value = m_value.toString().trimmed().toInt(&ok);
        if (!ok) throw conversionError(m_value, "integer");
        return value;
    }
    default:
        return m_value.toInt();
    }
}

double TField::asFloat() const {
    if (isNull()) return 0;
    if (m_value.typeId() == QMetaType::QString) {
        bool ok = false;
        const double value = m_value.toString().trimmed().toDouble(&ok);
        if (!ok) throw conversionError(m_value, "floating point");
        return value;
    }
    return m_value.toDouble();
}

void TDataSet::close() {
    m_table = {};
    m_row = 0;
    m_eof = true;
    m_active = false;
}

void TDataSet::setTable(TResultTable table) {
    m_table = std::move(table);
    while (m_table.fieldTypes.size() < m_table.fieldNames.size())
        m_table.fieldTypes.append(TFieldType::Unknown);
    m_active = true;
    first();
}

void TDataSet::requireActive() const {
    if (!m_active)
        throw TDBError(QStringLiteral("%1: Cannot perform this operation on a closed dataset").arg(m_name));
}

void TDataSet::first() {
    m_row = 0;
    m_eof = m_table.rows.isEmpty();
}

void TDataSet::next() {
    if (m_row + 1 < m_table.rows.size())
        ++m_row;
    else
        m_eof = true;
}

int TDataSet::findField(const QString& fieldName) const {
    for (int i = 0; i < m_table.fieldNames.size(); ++i) {
        if (m_table.fieldNames[i].compare(fieldName, Qt::CaseInsensitive) == 0) return i;
    }
    return -1;
}

TField TDataSet::fieldByName(const QString& fieldName) const {
    requireActive();
    const int index = findField(fieldName);
    if (index < 0) throw TDBError(QStringLiteral("%1: Field '%2' not found").arg(m_name, fieldName));
    return TField(m_table.fieldNames[index], m_table.fieldTypes[index], currentValue(index));
}

TField TDataSet::field(int index) const {
    requireActive();
    if (index < 0 || index >= fieldCount())
        throw TDBError(QStringLiteral("%1: Field index %2 out of range").arg(m_name).arg(index));
    return TField(m_table.fieldNames[index], m_table.fieldTypes[index], currentValue(index));
}

QVariant TDataSet::currentValue(int index) const {
    if (m_table.rows.isEmpty()) return {};
    return m_table.rows[m_row].value(index);
}

void TQueryDataSet::clearSQL() {
    close();
    m_sql.clear();
}

void TQueryDataSet::addSQL(const QString& line) {
    close();
    m_sql.append(line);
}

void TQueryDataSet::setSQL(const QString& text) {
    close();
    m_sql = QStringList{text};
}

void TQueryDataSet::open() {
    close();
    TBatchReply reply = m_connection->run(sqlText());
    m_rowsAffected = reply.rowsAffected;
    if (!reply.ok()) throw TDBError(reply.error);
    setTable(reply.results.isEmpty() ? TResultTable{} : std::move(reply.results.first()));
}

void TQueryDataSet::execSQL() {
    const TBatchReply reply = m_connection->run(sqlText());
    m_rowsAffected = reply.rowsAffected;
    if (!reply.ok()) throw TDBError(reply.error);
}

void TMemDataSet::createDataSet(const QStringList& fieldNames, const QList<TFieldType>& fieldTypes) {
    close();
    TResultTable table;
    table.fieldNames = fieldNames;
    table.fieldTypes = fieldTypes.mid(0, fieldNames.size());
    setTable(std::move(table));
}

void TMemDataSet::copyFrom(const TDataSet& source) {
    if (!source.active())
        throw TDBError(QStringLiteral("%1: Cannot copy the closed dataset %2").arg(name(), source.name()));
    close();
    setTable(source.table());
}

void TMemDataSet::append() {
    requireActive();
    post();
    m_state = State::Append;
    m_buffer = QVariantList(fieldCount());
}

void TMemDataSet::edit() {
    requireActive();
    post();
    if (m_table.rows.isEmpty()) throw TDBError(QStringLiteral("%1: No row to edit").arg(name()));
    m_state = State::Edit;
    m_buffer = currentRow();
}

void TMemDataSet::setField(int index, const QVariant& value) {
    if (m_state == State::Browse)
        throw TDBError(QStringLiteral("%1: Dataset not in edit or insert mode").arg(name()));
    if (index < 0 || index >= fieldCount())
        throw TDBError(QStringLiteral("%1: Field index %2 out of range").arg(name()).arg(index));
    m_buffer[index] = value;
}

void TMemDataSet::setFieldByName(const QString& fieldName, const QVariant& value) {
    const int index = findField(fieldName);
    if (index < 0) throw TDBError(QStringLiteral("%1: Field '%2' not found").arg(name(), fieldName));
    setField(index, value);
}

void TMemDataSet::post() {
    if (m_state == State::Append) {
        m_table.rows.append(m_buffer);
        moveTo(recordCount() - 1);
    } else if (m_state == State::Edit) {
        currentRow() = m_buffer;
    }
    cancel();
}

void TMemDataSet::cancel() {
    m_state = State::Browse;
    m_buffer.clear();
}

void TMemDataSet::close() {
    cancel();
    TDataSet::close();
}

QVariant TMemDataSet::currentValue(int index) const {
    if (m_state != State::Browse) return m_buffer.value(index);
    return TDataSet::currentValue(index);
}

} // namespace dudodu
