#include "engine/DemoSupport.h"

#include <sqlite3.h>

namespace dudodu::engine::demo {

void Val::bind(sqlite3_stmt* stmt, int index) const {
    switch (m_kind) {
    case Null:
        sqlite3_bind_null(stmt, index);
        break;
    case Int:
        sqlite3_bind_int64(stmt, index, m_int);
        break;
    case Real:
        sqlite3_bind_double(stmt, index, m_real);
        break;
    case Text:
        sqlite3_bind_text(stmt, index, m_text.constData(), int(m_text.size()), SQLITE_STATIC);
        break;
    }
}

Inserter::Inserter(sqlite3* db, const char* sql) : m_db(db) {
    if (sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &m_stmt, nullptr) != SQLITE_OK)
        throw DemoError(QStringLiteral("%1 (%2)")
                            .arg(QString::fromUtf8(sqlite3_errmsg(db)), QString::fromUtf8(sql))
                            .toStdString());
}

Inserter::~Inserter() {
    sqlite3_finalize(m_stmt);
}

void Inserter::row(std::initializer_list<Val> values) {
    int index = 1;
    for (const Val& v : values)
        v.bind(m_stmt, index++);
    const int rc = sqlite3_step(m_stmt);
    sqlite3_reset(m_stmt);
    if (rc != SQLITE_DONE)
        throw DemoError(
            QStringLiteral("%1 (%2)")
                .arg(QString::fromUtf8(sqlite3_errmsg(m_db)), QString::fromUtf8(sqlite3_sql(m_stmt)))
                .toStdString());
}

void exec(sqlite3* db, const QString& sql) {
    char* message = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &message) != SQLITE_OK) {
        const QString text = QString::fromUtf8(message ? message : sqlite3_errmsg(db));
        sqlite3_free(message);
        throw DemoError(QStringLiteral("%1 (%2)").arg(text, sql).toStdString());
    }
}

QString dayText(const QDate& day) {
    return day.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(" 00:00:00.000");
}

QString timeText(const QDate& day, int minuteOfDay) {
    return QStringLiteral("%1 %2:%3:00.000")
        .arg(day.toString(QStringLiteral("yyyy-MM-dd")))
        .arg(minuteOfDay / 60, 2, 10, QLatin1Char('0'))
        .arg(minuteOfDay % 60, 2, 10, QLatin1Char('0'));
}

} // namespace dudodu::engine::demo
