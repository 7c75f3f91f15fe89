// SQL Server through the ODBC driver manager (unixODBC with the FreeTDS driver). The T-SQL text goes
// to the server unchanged; its messages come back as the reply's error text.
#include "server/Backend.h"

#ifdef DUDODU_HAVE_ODBC

#include <sql.h>
#include <sqlext.h>

namespace dudodu::server {

namespace {

static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "ODBC wide characters must be UTF-16");

// The diagnostic texts of a handle, without the driver's "[vendor][component]" prefixes.
QString diagnostics(SQLSMALLINT type, SQLHANDLE handle) {
    QStringList texts;
    for (SQLSMALLINT i = 1;; ++i) {
        SQLWCHAR state[6] = {}, text[1024] = {};
        SQLINTEGER native = 0;
        SQLSMALLINT length = 0;
        const SQLRETURN rc =
            SQLGetDiagRecW(type, handle, i, state, &native, text, SQLSMALLINT(std::size(text)), &length);
        if (!SQL_SUCCEEDED(rc)) break;
        QString message = QString::fromUtf16(reinterpret_cast<const char16_t*>(text),
                                             qMin<int>(length, std::size(text) - 1));
        while (message.startsWith(u'[')) {
            const qsizetype close = message.indexOf(u']');
            if (close < 0) break;
            message.remove(0, close + 1);
        }
        texts << message.trimmed();
    }
    return texts.isEmpty() ? QStringLiteral("no diagnostic from the ODBC driver")
                           : texts.join(QStringLiteral("; "));
}

TFieldType fieldType(SQLSMALLINT type) {
    switch (type) {
    case SQL_TINYINT:
    case SQL_SMALLINT:
    case SQL_INTEGER:
    case SQL_BIGINT:
    case SQL_BIT:
        return TFieldType::Integer;
    case SQL_REAL:
    case SQL_FLOAT:
    case SQL_DOUBLE:
    case SQL_DECIMAL:
    case SQL_NUMERIC:
        return TFieldType::Float;
    case SQL_TYPE_DATE:
    case SQL_TYPE_TIME:
    case SQL_TYPE_TIMESTAMP:
        return TFieldType::DateTime;
    default:
        return TFieldType::String;
    }
}

class OdbcBackend : public Backend {
  public:
    ~OdbcBackend() override {
        if (m_dbc) {
            SQLDisconnect(m_dbc);
            SQLFreeHandle(SQL_HANDLE_DBC, m_dbc);
        }
        if (m_env) SQLFreeHandle(SQL_HANDLE_ENV, m_env);
    }

    bool connect(const QString& connectionString, QString* error) {
        if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &m_env)) ||
            !SQL_SUCCEEDED(
                SQLSetEnvAttr(m_env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0)) ||
            !SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, m_env, &m_dbc))) {
            *error = QStringLiteral("The ODBC driver manager cannot be initialised.");
            return false;
        }
        SQLSetConnectAttr(m_dbc, SQL_ATTR_LOGIN_TIMEOUT, reinterpret_cast<SQLPOINTER>(5), 0);
        SQLSetConnectAttr(m_dbc, SQL_ATTR_CONNECTION_TIMEOUT, reinterpret_cast<SQLPOINTER>(5), 0);
        std::u16string text = connectionString.toStdU16String();
        const SQLRETURN rc = SQLDriverConnectW(m_dbc, nullptr, reinterpret_cast<SQLWCHAR*>(text.data()),
                                               SQL_NTS, nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT);
        if (!SQL_SUCCEEDED(rc)) {
            *error = QStringLiteral("Cannot connect to SQL Server through ODBC: %1")
                         .arg(diagnostics(SQL_HANDLE_DBC, m_dbc));
            SQLFreeHandle(SQL_HANDLE_DBC, m_dbc);
            m_dbc = nullptr;
            return false;
        }
        return true;
    }

    TBatchReply execute(const QString& batch) override {
        TBatchReply reply;
        SQLHSTMT stmt = nullptr;
        if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, m_dbc, &stmt))) {
            reply.error = diagnostics(SQL_HANDLE_DBC, m_dbc);
            return reply;
        }
        std::u16string text = batch.toStdU16String();
        SQLRETURN rc = SQLExecDirectW(stmt, reinterpret_cast<SQLWCHAR*>(text.data()), SQL_NTS);
        while (rc != SQL_NO_DATA) {
            if (rc == SQL_ERROR) {
                reply.error = diagnostics(SQL_HANDLE_STMT, stmt);
                break;
            }
            if (!readResult(stmt, &reply)) break;
            rc = SQLMoreResults(stmt);
        }
        SQLFreeHandle(SQL_HANDLE_STMT, stmt);
        return reply;
    }

  private:
    bool readResult(SQLHSTMT stmt, TBatchReply* reply) {
        SQLSMALLINT columns = 0;
        SQLNumResultCols(stmt, &columns);
        if (columns == 0) {
            SQLLEN count = 0;
            if (SQL_SUCCEEDED(SQLRowCount(stmt, &count)) && count > 0) reply->rowsAffected += count;
            return true;
        }
        TResultTable table;
        for (SQLUSMALLINT c = 1; c <= columns; ++c) {
            SQLWCHAR name[256] = {};
            SQLSMALLINT length = 0, type = 0, digits = 0, nullable = 0;
            SQLULEN size = 0;
            SQLDescribeColW(stmt, c, name, SQLSMALLINT(std::size(name)), &length, &type, &size, &digits,
                            &nullable);
            table.fieldNames << QString::fromUtf16(reinterpret_cast<const char16_t*>(name),
                                                   qMin<int>(length, 255));
            table.fieldTypes << fieldType(type);
        }
        SQLRETURN rc;
        while (SQL_SUCCEEDED(rc = SQLFetch(stmt))) {
            QVariantList row;
            for (SQLUSMALLINT c = 1; c <= columns; ++c)
                row << value(stmt, c, table.fieldTypes[c - 1]);
            table.rows << row;
        }
        if (rc == SQL_ERROR) {
            reply->error = diagnostics(SQL_HANDLE_STMT, stmt);
            return false;
        }
        reply->results << table;
        return true;
    }

    static QVariant value(SQLHSTMT stmt, SQLUSMALLINT column, TFieldType type) {
        SQLLEN indicator = 0;
        if (type == TFieldType::Integer) {
            SQLBIGINT v = 0;
            SQLGetData(stmt, column, SQL_C_SBIGINT, &v, 0, &indicator);
            return indicator == SQL_NULL_DATA ? QVariant() : QVariant(qint64(v));
        }
        if (type == TFieldType::Float) {
            double v = 0;
            SQLGetData(stmt, column, SQL_C_DOUBLE, &v, 0, &indicator);
            return indicator == SQL_NULL_DATA ? QVariant() : QVariant(v);
        }
        // Text (dates too) in chunks: a truncated chunk reports SQL_SUCCESS_WITH_INFO.
        QString text;
        SQLWCHAR chunk[2048];
        for (;;) {
            const SQLRETURN rc = SQLGetData(stmt, column, SQL_C_WCHAR, chunk, sizeof chunk, &indicator);
            if (!SQL_SUCCEEDED(rc) || indicator == SQL_NULL_DATA) break;
            const qsizetype chars =
                (indicator == SQL_NO_TOTAL || qsizetype(indicator) >= qsizetype(sizeof chunk))
                    ? qsizetype(std::size(chunk) - 1)
                    : qsizetype(indicator / sizeof(SQLWCHAR));
            text += QString::fromUtf16(reinterpret_cast<const char16_t*>(chunk), chars);
            if (rc == SQL_SUCCESS) break;
        }
        return indicator == SQL_NULL_DATA ? QVariant() : QVariant(text);
    }

    SQLHENV m_env = nullptr;
    SQLHDBC m_dbc = nullptr;
};

} // namespace

std::unique_ptr<Backend> openOdbcBackend(const QString& connectionString, QString* error) {
    auto backend = std::make_unique<OdbcBackend>();
    if (!backend->connect(connectionString, error)) return nullptr;
    return backend;
}

} // namespace dudodu::server

#else

namespace dudodu::server {

std::unique_ptr<Backend> openOdbcBackend(const QString&, QString* error) {
    *error = QStringLiteral(
        "This dudodu-server was built without ODBC support (install unixodbc-dev and rebuild).");
    return nullptr;
}

} // namespace dudodu::server

#endif
