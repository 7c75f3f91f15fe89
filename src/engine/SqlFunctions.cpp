#include "engine/SqlFunctions.h"

#include <QRegularExpression>
#include <cmath>
#include <sqlite3.h>

namespace dudodu::engine {

namespace {

const QString kDateFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz");

QString textArg(sqlite3_value *v) {
    const auto *p = reinterpret_cast<const char *>(sqlite3_value_text(v));
    return p ? QString::fromUtf8(p, sqlite3_value_bytes(v)) : QString();
}

void resultText(sqlite3_context *ctx, const QString &s) {
    const QByteArray utf8 = s.toUtf8();
    sqlite3_result_text(ctx, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

void resultError(sqlite3_context *ctx, const QString &s) {
    const QByteArray utf8 = s.toUtf8();
    sqlite3_result_error(ctx, utf8.constData(), int(utf8.size()));
}

QString numberText(double d) {
    if (std::isfinite(d) && d == std::floor(d) && std::fabs(d) < 1e15)
        return QString::number(qint64(d));
    return QString::number(d, 'g', 15);
}

// The value of an argument as the text the server would convert it to (dates canonical).
QString valueText(sqlite3_value *v) {
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER:
        return QString::number(sqlite3_value_int64(v));
    case SQLITE_FLOAT:
        return numberText(sqlite3_value_double(v));
    default:
        return textArg(v);
    }
}

bool dateArg(sqlite3_context *ctx, sqlite3_value *v, QDateTime *out) {
    if (sqlite3_value_type(v) == SQLITE_INTEGER || sqlite3_value_type(v) == SQLITE_FLOAT) {
        resultError(ctx, QStringLiteral("Explicit conversion from data type int to datetime is not allowed."));
        return false;
    }
    *out = parseDateText(textArg(v));
    if (!out->isValid()) {
        resultError(ctx, QStringLiteral("Conversion failed when converting date and/or time from character string."));
        return false;
    }
    return true;
}

// Text as the server converts it to a number: blanks trimmed, empty is 0.
bool parseNumber(const QString &raw, bool integerOnly, qint64 *i, double *d, bool *isInt) {
    const QString t = raw.trimmed();
    if (t.isEmpty()) {
        *i = 0;
        *isInt = true;
        return true;
    }
    bool ok = false;
    const qint64 asInt = t.toLongLong(&ok);
    if (ok) {
        *i = asInt;
        *isInt = true;
        return true;
    }
    if (integerOnly)
        return false;
    const double asDouble = t.toDouble(&ok);
    if (!ok)
        return false;
    *d = asDouble;
    *isInt = false;
    return true;
}

void fnGetdate(sqlite3_context *ctx, int, sqlite3_value **) {
    const auto *clock = static_cast<const Clock *>(sqlite3_user_data(ctx));
    const QDateTime now = (clock && *clock) ? (*clock)() : QDateTime::currentDateTime();
    resultText(ctx, canonicalDate(now));
}

void fnToDate(sqlite3_context *ctx, int, sqlite3_value **argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    QDateTime dt;
    if (dateArg(ctx, argv[0], &dt))
        resultText(ctx, canonicalDate(dt));
}

void fnDateOnly(sqlite3_context *ctx, int, sqlite3_value **argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    QDateTime dt;
    if (dateArg(ctx, argv[0], &dt))
        resultText(ctx, canonicalDate(QDateTime(dt.date(), QTime(0, 0))));
}

QString dateStyle(const QDateTime &dt, int style, bool *ok) {
    *ok = true;
    static const char *const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    switch (style) {
    case 0:
    case 100: {
        const int h = dt.time().hour() % 12 == 0 ? 12 : dt.time().hour() % 12;
        return QStringLiteral("%1 %2 %3 %4:%5%6")
            .arg(QLatin1String(months[dt.date().month() - 1]))
            .arg(dt.date().day(), 2)
            .arg(dt.date().year())
            .arg(h, 2)
            .arg(dt.time().minute(), 2, 10, QLatin1Char('0'))
            .arg(dt.time().hour() < 12 ? QStringLiteral("AM") : QStringLiteral("PM"));
    }
    case 1: return dt.toString(QStringLiteral("MM/dd/yy"));
    case 101: return dt.toString(QStringLiteral("MM/dd/yyyy"));
    case 2: return dt.toString(QStringLiteral("yy.MM.dd"));
    case 102: return dt.toString(QStringLiteral("yyyy.MM.dd"));
    case 3: return dt.toString(QStringLiteral("dd/MM/yy"));
    case 103: return dt.toString(QStringLiteral("dd/MM/yyyy"));
    case 11: return dt.toString(QStringLiteral("yy/MM/dd"));
    case 111: return dt.toString(QStringLiteral("yyyy/MM/dd"));
    case 12: return dt.toString(QStringLiteral("yyMMdd"));
    case 112: return dt.toString(QStringLiteral("yyyyMMdd"));
    case 8:
    case 108: return dt.toString(QStringLiteral("HH:mm:ss"));
    case 20:
    case 120: return dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    case 21:
    case 121: return dt.toString(kDateFormat);
    case 23: return dt.toString(QStringLiteral("yyyy-MM-dd"));
    case 126: return dt.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz"));
    default: *ok = false; return {};
    }
}

// tsql_to_text(value, length, style, fromDate, padded): CONVERT/CAST to a character type.
void fnToText(sqlite3_context *ctx, int, sqlite3_value **argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    const int length = sqlite3_value_int(argv[1]);
    const bool fromDate = sqlite3_value_int(argv[3]) != 0;
    const bool padded = sqlite3_value_int(argv[4]) != 0;
    QString text;
    if (fromDate) {
        QDateTime dt;
        if (!dateArg(ctx, argv[0], &dt))
            return;
        const int style = sqlite3_value_type(argv[2]) == SQLITE_NULL ? 0 : sqlite3_value_int(argv[2]);
        bool ok = false;
        text = dateStyle(dt, style, &ok);
        if (!ok)
            return resultError(ctx, QStringLiteral("%1 is not a valid style number when converting from "
                                                   "datetime to a character string.")
                                        .arg(style));
    } else {
        const int type = sqlite3_value_type(argv[0]);
        text = valueText(argv[0]);
        // A number that does not fit the length is shown as '*', as the server does.
        if (type == SQLITE_INTEGER && length > 0 && text.size() > length)
            text = QStringLiteral("*");
    }
    if (length > 0 && text.size() > length)
        text.truncate(length);
    if (padded && length > 0 && text.size() < length)
        text = text.leftJustified(length, u' ');
    resultText(ctx, text);
}

void fnToInt(sqlite3_context *ctx, int, sqlite3_value **argv) {
    switch (sqlite3_value_type(argv[0])) {
    case SQLITE_NULL: return sqlite3_result_null(ctx);
    case SQLITE_INTEGER: return sqlite3_result_int64(ctx, sqlite3_value_int64(argv[0]));
    case SQLITE_FLOAT: return sqlite3_result_int64(ctx, qint64(std::trunc(sqlite3_value_double(argv[0]))));
    default: break;
    }
    const QString t = textArg(argv[0]);
    qint64 i = 0;
    double d = 0;
    bool isInt = false;
    if (!parseNumber(t, true, &i, &d, &isInt))
        return resultError(
            ctx, QStringLiteral("Conversion failed when converting the varchar value '%1' to data type int.").arg(t));
    sqlite3_result_int64(ctx, i);
}

void fnToReal(sqlite3_context *ctx, int, sqlite3_value **argv) {
    switch (sqlite3_value_type(argv[0])) {
    case SQLITE_NULL: return sqlite3_result_null(ctx);
    case SQLITE_INTEGER:
    case SQLITE_FLOAT: return sqlite3_result_double(ctx, sqlite3_value_double(argv[0]));
    default: break;
    }
    qint64 i = 0;
    double d = 0;
    bool isInt = false;
    if (!parseNumber(textArg(argv[0]), false, &i, &d, &isInt))
        return resultError(ctx, QStringLiteral("Error converting data type varchar to numeric."));
    sqlite3_result_double(ctx, isInt ? double(i) : d);
}

// tsql_add(a, b, dateFlags): '+' with the server's meaning. Text + text joins; when a number is
// involved the text converts to a number; a date plus a number adds days.
void fnAdd(sqlite3_context *ctx, int, sqlite3_value **argv) {
    sqlite3_value *a = argv[0], *b = argv[1];
    const int flags = sqlite3_value_int(argv[2]);
    const int ta = sqlite3_value_type(a), tb = sqlite3_value_type(b);
    if (ta == SQLITE_NULL || tb == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    if (flags != 0) {
        sqlite3_value *date = (flags & 1) ? a : b;
        sqlite3_value *days = (flags & 1) ? b : a;
        QDateTime dt;
        if (!dateArg(ctx, date, &dt))
            return;
        const double n = sqlite3_value_double(days);
        return resultText(ctx, canonicalDate(dt.addMSecs(qint64(std::llround(n * 86400000.0)))));
    }
    const bool textA = ta == SQLITE_TEXT || ta == SQLITE_BLOB;
    const bool textB = tb == SQLITE_TEXT || tb == SQLITE_BLOB;
    if (textA && textB)
        return resultText(ctx, textArg(a) + textArg(b));
    qint64 ia = 0, ib = 0;
    double da = 0, db = 0;
    bool intA = ta == SQLITE_INTEGER, intB = tb == SQLITE_INTEGER;
    auto number = [&](sqlite3_value *v, bool isText, qint64 *i, double *d, bool *isInt, bool otherIsInt) {
        if (!isText) {
            *i = sqlite3_value_int64(v);
            *d = sqlite3_value_double(v);
            return true;
        }
        const QString t = textArg(v);
        if (!parseNumber(t, otherIsInt, i, d, isInt)) {
            resultError(ctx, otherIsInt ? QStringLiteral("Conversion failed when converting the varchar value "
                                                         "'%1' to data type int.")
                                              .arg(t)
                                        : QStringLiteral("Error converting data type varchar to float."));
            return false;
        }
        if (*isInt)
            *d = double(*i);
        return true;
    };
    if (!number(a, textA, &ia, &da, &intA, intB) || !number(b, textB, &ib, &db, &intB, intA))
        return;
    if (intA && intB)
        return sqlite3_result_int64(ctx, ia + ib);
    sqlite3_result_double(ctx, (intA ? double(ia) : da) + (intB ? double(ib) : db));
}

// tsql_divide(a, b, modulo): '/' and '%' with integer division for integers, an error for zero.
void fnDivide(sqlite3_context *ctx, int, sqlite3_value **argv) {
    sqlite3_value *a = argv[0], *b = argv[1];
    if (sqlite3_value_type(a) == SQLITE_NULL || sqlite3_value_type(b) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    const bool modulo = sqlite3_value_int(argv[2]) != 0;
    const int ta = sqlite3_value_numeric_type(a), tb = sqlite3_value_numeric_type(b);
    if (ta == SQLITE_INTEGER && tb == SQLITE_INTEGER) {
        const qint64 x = sqlite3_value_int64(a), y = sqlite3_value_int64(b);
        if (y == 0)
            return resultError(ctx, QStringLiteral("Divide by zero error encountered."));
        if (y == -1)
            return sqlite3_result_int64(ctx, modulo ? 0 : qint64(0) - x);
        return sqlite3_result_int64(ctx, modulo ? x % y : x / y);
    }
    const double x = sqlite3_value_double(a), y = sqlite3_value_double(b);
    if (y == 0)
        return resultError(ctx, QStringLiteral("Divide by zero error encountered."));
    sqlite3_result_double(ctx, modulo ? std::fmod(x, y) : x / y);
}

void fnDatepart(sqlite3_context *ctx, int, sqlite3_value **argv) {
    if (sqlite3_value_type(argv[1]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    QDateTime dt;
    if (!dateArg(ctx, argv[1], &dt))
        return;
    const QString part = textArg(argv[0]);
    const QDate d = dt.date();
    const QTime t = dt.time();
    qint64 v = 0;
    if (part == u"year") v = d.year();
    else if (part == u"quarter") v = (d.month() - 1) / 3 + 1;
    else if (part == u"month") v = d.month();
    else if (part == u"dayofyear") v = d.dayOfYear();
    else if (part == u"day") v = d.day();
    else if (part == u"week") v = (d.dayOfYear() + QDate(d.year(), 1, 1).dayOfWeek() % 7 - 1) / 7 + 1;
    else if (part == u"weekday") v = d.dayOfWeek() % 7 + 1; // Sunday = 1 … Saturday = 7
    else if (part == u"hour") v = t.hour();
    else if (part == u"minute") v = t.minute();
    else if (part == u"second") v = t.second();
    else if (part == u"millisecond") v = t.msec();
    else return resultError(ctx, QStringLiteral("DATEPART does not support the part '%1'.").arg(part));
    sqlite3_result_int64(ctx, v);
}

void fnDateadd(sqlite3_context *ctx, int, sqlite3_value **argv) {
    if (sqlite3_value_type(argv[1]) == SQLITE_NULL || sqlite3_value_type(argv[2]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    QDateTime dt;
    if (!dateArg(ctx, argv[2], &dt))
        return;
    const QString part = textArg(argv[0]);
    const qint64 n = sqlite3_value_int64(argv[1]);
    if (part == u"year") dt = dt.addYears(int(n));
    else if (part == u"quarter") dt = dt.addMonths(int(n * 3));
    else if (part == u"month") dt = dt.addMonths(int(n));
    else if (part == u"day" || part == u"dayofyear" || part == u"weekday") dt = dt.addDays(n);
    else if (part == u"week") dt = dt.addDays(n * 7);
    else if (part == u"hour") dt = dt.addSecs(n * 3600);
    else if (part == u"minute") dt = dt.addSecs(n * 60);
    else if (part == u"second") dt = dt.addSecs(n);
    else if (part == u"millisecond") dt = dt.addMSecs(n);
    else return resultError(ctx, QStringLiteral("DATEADD does not support the part '%1'.").arg(part));
    resultText(ctx, canonicalDate(dt));
}

void fnDatediff(sqlite3_context *ctx, int, sqlite3_value **argv) {
    if (sqlite3_value_type(argv[1]) == SQLITE_NULL || sqlite3_value_type(argv[2]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    QDateTime a, b;
    if (!dateArg(ctx, argv[1], &a) || !dateArg(ctx, argv[2], &b))
        return;
    const QString part = textArg(argv[0]);
    // The server counts boundaries crossed, not elapsed units.
    qint64 v = 0;
    if (part == u"year") v = b.date().year() - a.date().year();
    else if (part == u"quarter") v = (b.date().year() * 4 + (b.date().month() - 1) / 3) - (a.date().year() * 4 + (a.date().month() - 1) / 3);
    else if (part == u"month") v = (b.date().year() * 12 + b.date().month()) - (a.date().year() * 12 + a.date().month());
    else if (part == u"day" || part == u"dayofyear" || part == u"weekday") v = a.date().daysTo(b.date());
    else if (part == u"week") v = (a.date().addDays(-(a.date().dayOfWeek() % 7))).daysTo(b.date().addDays(-(b.date().dayOfWeek() % 7))) / 7;
    else if (part == u"hour") v = QDateTime(a.date(), QTime(a.time().hour(), 0)).secsTo(QDateTime(b.date(), QTime(b.time().hour(), 0))) / 3600;
    else if (part == u"minute") v = QDateTime(a.date(), QTime(a.time().hour(), a.time().minute())).secsTo(QDateTime(b.date(), QTime(b.time().hour(), b.time().minute()))) / 60;
    else if (part == u"second") v = a.secsTo(b);
    else if (part == u"millisecond") v = a.msecsTo(b);
    else return resultError(ctx, QStringLiteral("DATEDIFF does not support the part '%1'.").arg(part));
    sqlite3_result_int64(ctx, v);
}

void fnLeftRight(sqlite3_context *ctx, int, sqlite3_value **argv, bool left) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    const qint64 n = sqlite3_value_int64(argv[1]);
    if (n < 0)
        return resultError(ctx, QStringLiteral("Invalid length parameter passed to the %1 function.")
                                    .arg(left ? QStringLiteral("left") : QStringLiteral("right")));
    const QString s = valueText(argv[0]);
    resultText(ctx, left ? s.left(n) : s.right(n));
}

void fnLeft(sqlite3_context *ctx, int argc, sqlite3_value **argv) { fnLeftRight(ctx, argc, argv, true); }
void fnRight(sqlite3_context *ctx, int argc, sqlite3_value **argv) { fnLeftRight(ctx, argc, argv, false); }

void fnLen(sqlite3_context *ctx, int, sqlite3_value **argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    QString s = valueText(argv[0]);
    while (!s.isEmpty() && s.back() == u' ')
        s.chop(1);
    sqlite3_result_int64(ctx, s.size());
}

void fnCharindex(sqlite3_context *ctx, int, sqlite3_value **argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    const qint64 start = qMax<qint64>(1, sqlite3_value_int64(argv[2]));
    const qsizetype at = valueText(argv[1]).indexOf(valueText(argv[0]), start - 1, Qt::CaseInsensitive);
    sqlite3_result_int64(ctx, at < 0 ? 0 : at + 1);
}

// tsql_format(message, args...): RAISERROR's %s / %d / %i substitution.
void fnFormat(sqlite3_context *ctx, int argc, sqlite3_value **argv) {
    const QString fmt = valueText(argv[0]);
    QString out;
    int next = 1;
    for (int i = 0; i < fmt.size(); ++i) {
        if (fmt[i] == u'%' && i + 1 < fmt.size()) {
            const QChar c = fmt[i + 1];
            if (c == u'%') {
                out += u'%';
                ++i;
                continue;
            }
            if (c == u's' || c == u'd' || c == u'i' || c == u'u') {
                out += next < argc ? (sqlite3_value_type(argv[next]) == SQLITE_NULL ? QStringLiteral("(null)")
                                                                                     : valueText(argv[next]))
                                   : QString();
                ++next;
                ++i;
                continue;
            }
        }
        out += fmt[i];
    }
    resultText(ctx, out);
}

} // namespace

QString canonicalDate(const QDateTime &dt) { return dt.toString(kDateFormat); }

QDateTime parseDateText(const QString &raw) {
    const QString text = raw.trimmed();
    if (text.isEmpty())
        return QDateTime(QDate(1900, 1, 1), QTime(0, 0));
    static const QRegularExpression ymd(QStringLiteral(
        R"(^(\d{4})([-/.])(\d{1,2})\2(\d{1,2})(?:[ T]+(\d{1,2}):(\d{2})(?::(\d{2})(?:\.(\d{1,7}))?)?\s*([AaPp][Mm])?)?$)"));
    static const QRegularExpression compact(QStringLiteral(R"(^(\d{4})(\d{2})(\d{2})(?:\s+(\d{1,2}):(\d{2})(?::(\d{2}))?)?$)"));
    static const QRegularExpression mdy(QStringLiteral(
        R"(^(\d{1,2})([-/.])(\d{1,2})\2(\d{4})(?:\s+(\d{1,2}):(\d{2})(?::(\d{2})(?:\.(\d{1,7}))?)?\s*([AaPp][Mm])?)?$)"));
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0, ms = 0;
    QString ampm;
    auto fraction = [](const QString &f) { return f.isEmpty() ? 0 : QString(f + QStringLiteral("00")).left(3).toInt(); };
    QRegularExpressionMatch m = ymd.match(text);
    if (m.hasMatch()) {
        y = m.captured(1).toInt();
        mo = m.captured(3).toInt();
        d = m.captured(4).toInt();
        h = m.captured(5).toInt();
        mi = m.captured(6).toInt();
        s = m.captured(7).toInt();
        ms = fraction(m.captured(8));
        ampm = m.captured(9);
    } else if ((m = compact.match(text)).hasMatch()) {
        y = m.captured(1).toInt();
        mo = m.captured(2).toInt();
        d = m.captured(3).toInt();
        h = m.captured(4).toInt();
        mi = m.captured(5).toInt();
        s = m.captured(6).toInt();
    } else if ((m = mdy.match(text)).hasMatch()) {
        mo = m.captured(1).toInt();
        d = m.captured(3).toInt();
        y = m.captured(4).toInt();
        h = m.captured(5).toInt();
        mi = m.captured(6).toInt();
        s = m.captured(7).toInt();
        ms = fraction(m.captured(8));
        ampm = m.captured(9);
    } else {
        return {};
    }
    if (!ampm.isEmpty()) {
        if (h < 1 || h > 12)
            return {};
        const bool pm = ampm.startsWith(u'p', Qt::CaseInsensitive);
        h = (h % 12) + (pm ? 12 : 0);
    }
    const QDate date(y, mo, d);
    const QTime time(h, mi, s, ms);
    if (!date.isValid() || !time.isValid() || y < 1753)
        return {};
    return QDateTime(date, time);
}

bool registerSqlFunctions(sqlite3 *db, const Clock *clock, QString *error) {
    struct Fn {
        const char *name;
        int argc;
        void (*fn)(sqlite3_context *, int, sqlite3_value **);
        bool deterministic;
    };
    static const Fn fns[] = {
        {"tsql_getdate", 0, fnGetdate, false},   {"tsql_to_date", 1, fnToDate, true},
        {"tsql_date_only", 1, fnDateOnly, true}, {"tsql_to_text", 5, fnToText, true},
        {"tsql_to_int", 1, fnToInt, true},       {"tsql_to_real", 1, fnToReal, true},
        {"tsql_add", 3, fnAdd, true},            {"tsql_datepart", 2, fnDatepart, true},
        {"tsql_dateadd", 3, fnDateadd, true},    {"tsql_datediff", 3, fnDatediff, true},
        {"tsql_left", 2, fnLeft, true},          {"tsql_right", 2, fnRight, true},
        {"tsql_len", 1, fnLen, true},            {"tsql_charindex", 3, fnCharindex, true},
        {"tsql_format", -1, fnFormat, true},     {"tsql_divide", 3, fnDivide, true},
    };
    for (const Fn &f : fns) {
        const int flags = SQLITE_UTF8 | (f.deterministic ? SQLITE_DETERMINISTIC : 0);
        void *data = f.fn == fnGetdate ? const_cast<Clock *>(clock) : nullptr;
        if (sqlite3_create_function_v2(db, f.name, f.argc, flags, data, f.fn, nullptr, nullptr, nullptr) !=
            SQLITE_OK) {
            if (error)
                *error = QString::fromUtf8(sqlite3_errmsg(db));
            return false;
        }
    }
    return true;
}

} // namespace dudodu::engine
