#include "engine/Interpreter.h"

#include <cmath>
#include <sqlite3.h>

namespace dudodu::engine {

namespace {

// Error numbers the server uses for the failures clients test with @@error.
constexpr int kErrDuplicateKey = 2627;
constexpr int kErrNullNotAllowed = 515;
constexpr int kErrConversion = 245;
constexpr int kErrNoBeginTransaction = 3902;
constexpr int kErrNoBeginRollback = 3903;
constexpr int kErrUser = 50000;

int errorNumber(int sqliteCode, const QString &message) {
    if ((sqliteCode & 0xff) == SQLITE_CONSTRAINT) {
        if (sqliteCode == SQLITE_CONSTRAINT_NOTNULL)
            return kErrNullNotAllowed;
        return kErrDuplicateKey;
    }
    if (message.startsWith(QStringLiteral("Conversion failed")) || message.startsWith(QStringLiteral("Error converting")))
        return kErrConversion;
    return kErrUser;
}

ColumnType columnTypeOf(sqlite3_stmt *st, int i, const QList<QVariantList> &rows) {
    if (const char *decl = sqlite3_column_decltype(st, i)) {
        switch (Catalog::kindOfDeclaredType(QString::fromUtf8(decl))) {
        case Kind::Int: return ColumnType::Integer;
        case Kind::Real: return ColumnType::Double;
        case Kind::Text: return ColumnType::Text;
        case Kind::Date: return ColumnType::Date;
        default: break;
        }
    }
    for (const QVariantList &row : rows) {
        const QVariant &v = row[i];
        if (!v.isValid())
            continue;
        switch (v.typeId()) {
        case QMetaType::LongLong: return ColumnType::Integer;
        case QMetaType::Double: return ColumnType::Double;
        default: return ColumnType::Text;
        }
    }
    return ColumnType::Unknown;
}

QVariant convertTo(const QVariant &v, Kind kind, int length) {
    if (!v.isValid())
        return v;
    switch (kind) {
    case Kind::Int:
        if (v.typeId() == QMetaType::Double)
            return QVariant(qint64(std::trunc(v.toDouble())));
        if (v.typeId() == QMetaType::QString) {
            bool ok = false;
            const QString t = v.toString().trimmed();
            const qint64 i = t.isEmpty() ? 0 : t.toLongLong(&ok);
            return (ok || t.isEmpty()) ? QVariant(i) : QVariant();
        }
        return v;
    case Kind::Real:
        return QVariant(v.toDouble());
    case Kind::Text: {
        QString t = v.typeId() == QMetaType::Double ? QString::number(v.toDouble(), 'g', 15) : v.toString();
        if (length > 0 && t.size() > length)
            t.truncate(length);
        return QVariant(t);
    }
    default:
        return v;
    }
}

} // namespace

QString serverErrorText(const QString &m) {
    static const QString noColumn = QStringLiteral("no such column: ");
    static const QString noTable = QStringLiteral("no such table: ");
    if (m.startsWith(noColumn))
        return QStringLiteral("Invalid column name '%1'.").arg(m.mid(noColumn.size()).section(u'.', -1));
    if (m.startsWith(noTable))
        return QStringLiteral("Invalid object name '%1'.").arg(m.mid(noTable.size()));
    if (m.startsWith(QStringLiteral("ambiguous column name: ")))
        return QStringLiteral("Ambiguous column name '%1'.").arg(m.section(u' ', -1));
    return m;
}

QVariant Interpreter::columnValue(sqlite3_stmt *st, int i) {
    switch (sqlite3_column_type(st, i)) {
    case SQLITE_INTEGER: return QVariant(qint64(sqlite3_column_int64(st, i)));
    case SQLITE_FLOAT: return QVariant(sqlite3_column_double(st, i));
    case SQLITE_NULL: return QVariant();
    case SQLITE_BLOB:
        return QVariant(QByteArray(static_cast<const char *>(sqlite3_column_blob(st, i)), sqlite3_column_bytes(st, i)));
    default:
        return QVariant(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, i)),
                                          sqlite3_column_bytes(st, i)));
    }
}

void Interpreter::statementError(const QString &message, int code) {
    m_error = code;
    m_rowcount = 0;
    m_result.errors.append(message);
    // Some failures (disk full, I/O) make SQLite roll the whole transaction back by itself.
    if (m_trancount > 0 && sqlite3_get_autocommit(m_db))
        m_trancount = 0;
}

bool Interpreter::bind(const SqlText &text) {
    sqlite3_stmt *st = text.stmt;
    sqlite3_reset(st);
    sqlite3_clear_bindings(st);
    for (int i = 0; i < text.bindings.size(); ++i) {
        const Binding &b = text.bindings[i];
        QVariant v;
        if (b.literal >= 0) {
            const QString &lit = m_batch.literals[b.literal];
            if (b.literalKind == Kind::Text) {
                v = lit;
            } else {
                bool ok = false;
                const qint64 n = lit.toLongLong(&ok);
                if (b.literalKind == Kind::Int && ok)
                    v = b.negate ? -n : n;
                else
                    v = b.negate ? -lit.toDouble() : lit.toDouble();
            }
        } else if (b.variable == u"@@error") {
            v = qint64(m_error);
        } else if (b.variable == u"@@rowcount") {
            v = m_rowcount;
        } else if (b.variable == u"@@trancount") {
            v = qint64(m_trancount);
        } else {
            v = m_vars.value(b.variable).value;
        }
        int rc = SQLITE_OK;
        if (!v.isValid()) {
            rc = sqlite3_bind_null(st, i + 1);
        } else if (v.typeId() == QMetaType::LongLong) {
            rc = sqlite3_bind_int64(st, i + 1, v.toLongLong());
        } else if (v.typeId() == QMetaType::Double) {
            rc = sqlite3_bind_double(st, i + 1, v.toDouble());
        } else {
            const QByteArray utf8 = v.toString().toUtf8();
            rc = sqlite3_bind_text(st, i + 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        }
        if (rc != SQLITE_OK) {
            statementError(QString::fromUtf8(sqlite3_errmsg(m_db)), kErrUser);
            return false;
        }
    }
    return true;
}

bool Interpreter::query(const SqlText &text, const std::function<void(sqlite3_stmt *)> &onRow) {
    if (!bind(text))
        return false;
    sqlite3_stmt *st = text.stmt;
    qint64 rows = 0;
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        onRow(st);
        ++rows;
    }
    if (rc != SQLITE_DONE) {
        const QString msg = serverErrorText(QString::fromUtf8(sqlite3_errmsg(m_db)));
        const int code = sqlite3_extended_errcode(m_db);
        sqlite3_reset(st);
        statementError(msg, errorNumber(code, msg));
        return false;
    }
    sqlite3_reset(st);
    m_error = 0;
    m_rowcount = rows;
    return true;
}

bool Interpreter::change(const SqlText &text) {
    if (!query(text, [](sqlite3_stmt *) {}))
        return false;
    m_rowcount = sqlite3_changes64(m_db);
    m_result.rowsAffected += m_rowcount;
    return true;
}

bool Interpreter::plain(const char *sql) {
    char *err = nullptr;
    if (sqlite3_exec(m_db, sql, nullptr, nullptr, &err) != SQLITE_OK) {
        const QString msg = QString::fromUtf8(err ? err : sqlite3_errmsg(m_db));
        sqlite3_free(err);
        statementError(msg, kErrUser);
        return false;
    }
    return true;
}

void Interpreter::assign(const QString &name, const QVariant &value) {
    auto it = m_vars.find(name);
    if (it == m_vars.end())
        return;
    it->value = convertTo(value, it->kind, it->length);
}

ResultSet Interpreter::resultOf(sqlite3_stmt *st) {
    ResultSet rs;
    const int n = sqlite3_column_count(st);
    for (int i = 0; i < n; ++i)
        rs.columns << QString::fromUtf8(sqlite3_column_name(st, i));
    return rs;
}

void Interpreter::exec(const Statement &s) {
    switch (s.type) {
    case Statement::Query:
    case Statement::Exec: {
        ResultSet rs = resultOf(s.text.stmt);
        const int n = int(rs.columns.size());
        const bool ok = query(s.text, [&](sqlite3_stmt *st) {
            QVariantList row;
            row.reserve(n);
            for (int i = 0; i < n; ++i)
                row.append(columnValue(st, i));
            rs.rows.append(std::move(row));
        });
        if (ok) {
            for (int i = 0; i < n; ++i)
                rs.types << columnTypeOf(s.text.stmt, i, rs.rows);
            m_result.results.append(std::move(rs));
        }
        break;
    }
    case Statement::Change:
        change(s.text);
        break;
    case Statement::AssignSelect:
    case Statement::SetVar: {
        QVariantList last;
        bool any = false;
        const bool ok = query(s.text, [&](sqlite3_stmt *st) {
            last.clear();
            for (int i = 0; i < s.targets.size(); ++i)
                last.append(columnValue(st, i));
            any = true;
        });
        if (ok && any)
            for (int i = 0; i < s.targets.size(); ++i)
                assign(s.targets[i], last[i]);
        break;
    }
    case Statement::Declare:
        for (int i = 0; i < s.targets.size(); ++i)
            m_vars.insert(s.targets[i], Variable{s.targetKinds[i], s.targetLengths[i], QVariant()});
        break;
    case Statement::If: {
        qint64 truth = 0;
        query(s.text, [&](sqlite3_stmt *st) { truth = sqlite3_column_int64(st, 0); });
        if (truth)
            exec(*s.children[0]);
        else if (s.children.size() > 1)
            exec(*s.children[1]);
        break;
    }
    case Statement::Block:
        runList(s.children);
        break;
    case Statement::BeginTran:
        if (m_trancount == 0 && !plain("BEGIN IMMEDIATE"))
            break;
        ++m_trancount;
        m_error = 0;
        m_rowcount = 0;
        break;
    case Statement::Commit:
        if (m_trancount == 0) {
            statementError(QStringLiteral("The COMMIT TRANSACTION request has no corresponding BEGIN TRANSACTION."),
                           kErrNoBeginTransaction);
            break;
        }
        if (--m_trancount == 0 && !plain("COMMIT")) {
            plain("ROLLBACK");
            break;
        }
        m_error = 0;
        m_rowcount = 0;
        break;
    case Statement::Rollback:
        if (m_trancount == 0) {
            statementError(QStringLiteral("The ROLLBACK TRANSACTION request has no corresponding BEGIN "
                                          "TRANSACTION."),
                           kErrNoBeginRollback);
            break;
        }
        m_trancount = 0;
        plain("ROLLBACK");
        m_error = 0;
        m_rowcount = 0;
        break;
    case Statement::Raiserror: {
        QString message;
        if (!query(s.text, [&](sqlite3_stmt *st) { message = columnValue(st, 0).toString(); }))
            break;
        const int severity = s.severityLiteral >= 0 ? m_batch.literals[s.severityLiteral].toInt() : s.severity;
        m_rowcount = 0;
        if (severity > 10) {
            m_raised = message;
            m_result.errors.append(message);
            m_error = kErrUser;
        }
        if (severity >= 20)
            m_returned = true;
        break;
    }
    case Statement::Return:
        m_returned = true;
        break;
    }
}

void Interpreter::runList(const std::vector<std::unique_ptr<Statement>> &statements) {
    for (const auto &s : statements) {
        if (m_returned)
            return;
        exec(*s);
    }
}

void Interpreter::run(const Program &program) {
    runList(program.statements);
    if (m_trancount > 0) {
        // A batch may not leave its transaction open on the connection: nothing half-written stays.
        plain("ROLLBACK");
        m_trancount = 0;
        m_result.errors.append(
            QStringLiteral("The batch ended inside a transaction; the transaction was rolled back."));
    }
    if (!m_raised.isEmpty())
        m_result.error = m_raised;
    else if (!m_result.errors.isEmpty())
        m_result.error = m_result.errors.first();
}

} // namespace dudodu::engine
