// Datasets of the gateway: a query dataset carries SQL text to the connection and holds the fetched
// rows for forward reading; an in-memory dataset holds rows copied or appended by the program.
#pragma once

#include "db/ResultTable.h"

#include <QString>
#include <QStringList>
#include <QVariant>

namespace dudodu {

class TConnection;

// One field's value in the current row. A NULL reads as empty text or 0.
class TField {
  public:
    TField(QString name, TFieldType type, QVariant value)
        : m_name(std::move(name)), m_type(type), m_value(std::move(value)) {}

    const QString& name() const { return m_name; }
    TFieldType dataType() const { return m_type; }
    const QVariant& value() const { return m_value; }
    bool isNull() const { return !m_value.isValid() || m_value.isNull(); }

    QString asString() const;
    // Raise TDBError when the value is text that is not a number.
    int asInteger() const;
    double asFloat() const;

  private:
    QString m_name;
    TFieldType m_type;
    QVariant m_value;
};

// Rows with a forward cursor. Reading a field of an empty dataset gives NULL; after next() has run
// past the end the cursor stays on the last row with eof() true.
class TDataSet {
  public:
    explicit TDataSet(QString name) : m_name(std::move(name)) {}
    virtual ~TDataSet() = default;
    TDataSet(const TDataSet&) = delete;
    TDataSet& operator=(const TDataSet&) = delete;

    const QString& name() const { return m_name; }
    bool active() const { return m_active; }
    // Drops the rows; always safe, also when not open.
    virtual void close();

    void first();
    void next();
    bool eof() const { return m_eof; }
    int recordCount() const { return int(m_table.rows.size()); }
    int recNo() const { return m_row; } // 0-based index of the current row

    int fieldCount() const { return int(m_table.fieldNames.size()); }
    const QStringList& fieldNames() const { return m_table.fieldNames; }
    // Index of a field by its name (any case), or -1.
    int findField(const QString& fieldName) const;
    TField fieldByName(const QString& fieldName) const;
    TField field(int index) const; // 0-based position
    // The whole row set (structure and rows) of an open dataset.
    const TResultTable& table() const { return m_table; }

  protected:
    void setTable(TResultTable table);
    void requireActive() const;
    virtual QVariant currentValue(int index) const;
    QVariantList& currentRow() { return m_table.rows[m_row]; }
    void moveTo(int row) {
        m_row = row;
        m_eof = false;
    }

    TResultTable m_table;
    int m_row = 0;

  private:
    QString m_name;
    bool m_active = false;
    bool m_eof = true;
};

// A dataset bound to the connection, carrying its SQL text.
class TQueryDataSet : public TDataSet {
  public:
    TQueryDataSet(TConnection& connection, QString name)
        : TDataSet(std::move(name)), m_connection(&connection) {}

    // The SQL lines, joined with line breaks into one batch. Changing them closes the dataset.
    void clearSQL();
    void addSQL(const QString& line);
    void setSQL(const QString& text);
    QString sqlText() const { return m_sql.join(QLatin1Char('\n')); }

    // Runs the batch and fetches all rows of its first row set. Raises TDBError with the server's
    // text when the batch fails; the dataset is then closed.
    void open();
    // Runs a batch that returns no rows. Raises TDBError with the server's text when it fails.
    void execSQL();
    qint64 rowsAffected() const { return m_rowsAffected; }

  private:
    TConnection* m_connection;
    QStringList m_sql;
    qint64 m_rowsAffected = 0;
};

// Rows held in memory: filled by copying an open dataset or by append, set field, post.
class TMemDataSet : public TDataSet {
  public:
    explicit TMemDataSet(QString name = QStringLiteral("MemDataSet")) : TDataSet(std::move(name)) {}

    // Opens the dataset empty with the given fields.
    void createDataSet(const QStringList& fieldNames, const QList<TFieldType>& fieldTypes = {});
    // Takes the field structure and all rows of an open dataset; raises TDBError when it is closed.
    void copyFrom(const TDataSet& source);

    // Starts a new row at the end (posting a row still being edited); post() adds it.
    void append();
    // Starts changing the current row.
    void edit();
    void setField(int index, const QVariant& value);
    void setFieldByName(const QString& fieldName, const QVariant& value);
    void post();
    void cancel();
    bool editing() const { return m_state != State::Browse; }
    void close() override;

  protected:
    QVariant currentValue(int index) const override;

  private:
    enum class State { Browse, Append, Edit };
    State m_state = State::Browse;
    QVariantList m_buffer;
};

} // namespace dudodu
