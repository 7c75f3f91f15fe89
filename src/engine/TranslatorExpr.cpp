// Expressions and SELECT statements of the T-SQL dialect.
#include "engine/ServerObjects.h"
#include "engine/Translator.h"

namespace dudodu::engine::detail {

namespace {

// T-SQL words that end an expression or a clause and so can never be an alias without AS.
const char *const kReserved[] = {
    "select", "from",   "where",  "group",    "order",     "by",       "having",   "union",     "all",
    "except", "intersect", "into", "values",  "insert",    "update",   "delete",   "set",       "join",
    "inner",  "left",   "right",  "full",     "outer",     "cross",    "on",       "as",        "and",
    "or",     "not",    "in",     "is",       "null",      "like",     "between",  "exists",    "case",
    "when",   "then",   "else",   "end",      "if",        "begin",    "commit",   "rollback",  "declare",
    "exec",   "execute", "return", "raiserror", "while",   "distinct", "top",      "asc",       "desc",
    "with",   "print",  "go",     "save",     "truncate",  "create",   "drop",     "alter",     "use",
    "goto",   "break",  "continue", "waitfor", "open",     "close",    "fetch",    "deallocate", "grant",
    "revoke", "merge",  "output", "escape",   "for",       "option",   "apply",    "pivot",     "unpivot"};

bool isReservedWord(const QString &w) {
    for (const char *r : kReserved)
        if (w.compare(QLatin1String(r), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

Kind arithmeticKind(Kind a, Kind b) {
    if (a == Kind::Real || b == Kind::Real)
        return Kind::Real;
    if (a == Kind::Int && b == Kind::Int)
        return Kind::Int;
    return Kind::Unknown;
}

QString datePartName(const QString &word) {
    static const QHash<QString, QString> names = {
        {"year", "year"},       {"yy", "year"},     {"yyyy", "year"},   {"quarter", "quarter"},
        {"qq", "quarter"},      {"q", "quarter"},   {"month", "month"}, {"mm", "month"},
        {"m", "month"},         {"dayofyear", "dayofyear"}, {"dy", "dayofyear"}, {"y", "dayofyear"},
        {"day", "day"},         {"dd", "day"},      {"d", "day"},       {"week", "week"},
        {"wk", "week"},         {"ww", "week"},     {"weekday", "weekday"}, {"dw", "weekday"},
        {"hour", "hour"},       {"hh", "hour"},     {"minute", "minute"}, {"mi", "minute"},
        {"n", "minute"},        {"second", "second"}, {"ss", "second"}, {"s", "second"},
        {"millisecond", "millisecond"}, {"ms", "millisecond"}};
    return names.value(word.toLower());
}

} // namespace

// ---- tokens ---------------------------------------------------------------------------------

const Token &Translator::peek(int ahead) const {
    const int i = qMin(m_pos + ahead, int(m_batch.tokens.size()) - 1);
    return m_batch.tokens[i];
}

Token Translator::next() {
    Token t = peek();
    if (t.kind != TokKind::End)
        ++m_pos;
    return t;
}

bool Translator::atWord(const char *w, int ahead) const { return isWord(peek(ahead), w); }

bool Translator::acceptWord(const char *w) {
    if (!atWord(w))
        return false;
    ++m_pos;
    return true;
}

void Translator::expectWord(const char *w) {
    if (!acceptWord(w))
        unexpected();
}

bool Translator::atOp(const char *op, int ahead) const {
    const Token &t = peek(ahead);
    return t.kind == TokKind::Op && t.text == QLatin1String(op);
}

bool Translator::acceptOp(const char *op) {
    if (!atOp(op))
        return false;
    ++m_pos;
    return true;
}

void Translator::expectOp(const char *op) {
    if (!acceptOp(op))
        unexpected();
}

bool Translator::atAliasName() const {
    const Token &t = peek();
    if (t.kind == TokKind::QuotedIdent)
        return true;
    return t.kind == TokKind::Ident && !isReservedWord(t.text);
}

void Translator::fail(const QString &message) const { throw TranslateError{message}; }

void Translator::unexpected() const {
    const Token &t = peek();
    if (t.kind == TokKind::End)
        fail(QStringLiteral("Incorrect syntax near the end of the batch."));
    const QString shown = t.kind == TokKind::String ? u'\'' + t.text + u'\'' : t.text;
    fail(QStringLiteral("Incorrect syntax near '%1'.").arg(shown));
}

void Translator::unsupported(const QString &construct) const {
    fail(QStringLiteral("Unsupported T-SQL construct: %1").arg(construct));
}

QString Translator::bindLiteral(const Token &t) {
    Binding b;
    b.literal = t.literalIndex;
    if (t.kind == TokKind::String)
        b.literalKind = Kind::Text;
    else
        b.literalKind = (t.text.contains(u'.') || t.text.contains(u'e') || t.text.contains(u'E')) ? Kind::Real
                                                                                                 : Kind::Int;
    m_text->bindings.append(b);
    return QStringLiteral("?%1").arg(m_text->bindings.size());
}

QString Translator::bindVariable(const QString &name) {
    const QString lower = name.toLower();
    for (int i = 0; i < m_text->bindings.size(); ++i)
        if (m_text->bindings[i].literal < 0 && m_text->bindings[i].variable == lower)
            return QStringLiteral("?%1").arg(i + 1);
    Binding b;
    b.variable = lower;
    m_text->bindings.append(b);
    return QStringLiteral("?%1").arg(m_text->bindings.size());
}

void Translator::syntaxLiteral(const Token &t) { m_program->syntaxLiterals.append({t.literalIndex, t.text}); }

QString Translator::quoteIdent(const QString &name) {
    QString q = name;
    q.replace(u'"', QStringLiteral("\"\""));
    return u'"' + q + u'"';
}

// ---- expressions ----------------------------------------------------------------------------

Expr Translator::expression() { return orExpr(); }

Expr Translator::orExpr() {
    Expr l = andExpr();
    while (acceptWord("or")) {
        const Expr r = andExpr();
        l = {QStringLiteral("(%1 OR %2)").arg(l.sql, r.sql), Kind::Int, {}};
    }
    return l;
}

Expr Translator::andExpr() {
    Expr l = notExpr();
    while (acceptWord("and")) {
        const Expr r = notExpr();
        l = {QStringLiteral("(%1 AND %2)").arg(l.sql, r.sql), Kind::Int, {}};
    }
    return l;
}

Expr Translator::notExpr() {
    if (acceptWord("not")) {
        const Expr e = notExpr();
        return {QStringLiteral("(NOT %1)").arg(e.sql), Kind::Int, {}};
    }
    return predicate();
}

Expr Translator::asDate(const Expr &e) {
    if (e.kind == Kind::Date || e.kind == Kind::Null)
        return e;
    return {QStringLiteral("tsql_to_date(%1)").arg(e.sql), Kind::Date, {}};
}

Expr Translator::compare(const Expr &l, const QString &op, const Expr &r) {
    Expr a = l, b = r;
    // A date column compared with a text (a typed date, convert(..., 111), a variable) compares as dates.
    if (a.kind == Kind::Date)
        b = asDate(b);
    else if (b.kind == Kind::Date)
        a = asDate(a);
    return {QStringLiteral("(%1 %2 %3)").arg(a.sql, op, b.sql), Kind::Int, {}};
}

Expr Translator::predicate() {
    if (acceptWord("exists")) {
        expectOp("(");
        const SelectOut sub = select(false);
        expectOp(")");
        return {QStringLiteral("EXISTS (%1)").arg(sub.sql), Kind::Int, {}};
    }
    Expr l = additive();
    const Token &t = peek();
    if (t.kind == TokKind::Op) {
        static const QHash<QString, QString> ops = {{"=", "="},   {"<>", "<>"}, {"!=", "<>"}, {"<", "<"},
                                                    {">", ">"},   {"<=", "<="}, {">=", ">="}, {"!<", ">="},
                                                    {"!>", "<="}};
        const auto it = ops.constFind(t.text);
        if (it != ops.cend()) {
            next();
            if (atWord("all") || atWord("any") || atWord("some"))
                unsupported(QStringLiteral("comparison with %1 (subquery)").arg(peek().text.toUpper()));
            const Expr r = additive();
            return compare(l, *it, r);
        }
        return l;
    }
    const bool negated = atWord("not") && (atWord("between", 1) || atWord("in", 1) || atWord("like", 1));
    if (negated)
        next();
    const QString notText = negated ? QStringLiteral("NOT ") : QString();
    if (acceptWord("between")) {
        Expr lo = additive();
        expectWord("and");
        Expr hi = additive();
        if (l.kind == Kind::Date || lo.kind == Kind::Date || hi.kind == Kind::Date) {
            l = asDate(l);
            lo = asDate(lo);
            hi = asDate(hi);
        }
        return {QStringLiteral("(%1 %2BETWEEN %3 AND %4)").arg(l.sql, notText, lo.sql, hi.sql), Kind::Int, {}};
    }
    if (acceptWord("in")) {
        expectOp("(");
        if (atWord("select")) {
            const SelectOut sub = select(false);
            expectOp(")");
            return {QStringLiteral("(%1 %2IN (%3))").arg(l.sql, notText, sub.sql), Kind::Int, {}};
        }
        QStringList items;
        do {
            Expr e = additive();
            if (l.kind == Kind::Date)
                e = asDate(e);
            items << e.sql;
        } while (acceptOp(","));
        expectOp(")");
        return {QStringLiteral("(%1 %2IN (%3))").arg(l.sql, notText, items.join(u", ")), Kind::Int, {}};
    }
    if (acceptWord("like")) {
        const Expr pattern = additive();
        QString escape;
        if (acceptWord("escape"))
            escape = QStringLiteral(" ESCAPE ") + additive().sql;
        return {QStringLiteral("(%1 %2LIKE %3%4)").arg(l.sql, notText, pattern.sql, escape), Kind::Int, {}};
    }
    if (negated)
        unexpected();
    if (acceptWord("is")) {
        const bool isNot = acceptWord("not");
        expectWord("null");
        return {QStringLiteral("(%1 IS %2NULL)").arg(l.sql, isNot ? QStringLiteral("NOT ") : QString()), Kind::Int,
                {}};
    }
    return l;
}

Expr Translator::plus(const Expr &l, const Expr &r) {
    if ((l.kind == Kind::Text || l.kind == Kind::Null) && (r.kind == Kind::Text || r.kind == Kind::Null) &&
        !(l.kind == Kind::Null && r.kind == Kind::Null))
        return {QStringLiteral("(%1 || %2)").arg(l.sql, r.sql), Kind::Text, {}};
    if ((isNumeric(l.kind) || l.kind == Kind::Null) && (isNumeric(r.kind) || r.kind == Kind::Null))
        return {QStringLiteral("(%1 + %2)").arg(l.sql, r.sql), arithmeticKind(l.kind, r.kind), {}};
    // Decided per value, as the server does by data type: text + text joins, anything numeric adds.
    Kind k = Kind::Unknown;
    if (l.kind == Kind::Date || r.kind == Kind::Date)
        k = Kind::Date;
    return {QStringLiteral("tsql_add(%1, %2, %3)")
                .arg(l.sql, r.sql, QString::number(int(l.kind == Kind::Date) | (int(r.kind == Kind::Date) << 1))),
            k,
            {}};
}

Expr Translator::additive() {
    Expr l = multiplicative();
    for (;;) {
        if (acceptOp("+")) {
            l = plus(l, multiplicative());
        } else if (acceptOp("-")) {
            const Expr r = multiplicative();
            if (l.kind == Kind::Date || r.kind == Kind::Date)
                unsupported(QStringLiteral("date arithmetic with '-'"));
            l = {QStringLiteral("(%1 - %2)").arg(l.sql, r.sql), arithmeticKind(l.kind, r.kind), {}};
        } else if (atOp("&") || atOp("|") || atOp("^")) {
            const QString op = next().text;
            const Expr r = multiplicative();
            if (op == QLatin1String("^"))
                l = {QStringLiteral("((%1 | %2) - (%1 & %2))").arg(l.sql, r.sql), Kind::Int, {}};
            else
                l = {QStringLiteral("(%1 %2 %3)").arg(l.sql, op, r.sql), Kind::Int, {}};
        } else {
            return l;
        }
    }
}

Expr Translator::multiplicative() {
    Expr l = unary();
    while (atOp("*") || atOp("/") || atOp("%")) {
        const QString op = next().text;
        const Expr r = unary();
        if (op == QLatin1String("*"))
            l = {QStringLiteral("(%1 * %2)").arg(l.sql, r.sql), arithmeticKind(l.kind, r.kind), {}};
        else // the server refuses a zero divisor where SQLite would give NULL
            l = {QStringLiteral("tsql_divide(%1, %2, %3)").arg(l.sql, r.sql, op == QLatin1String("%") ? "1" : "0"),
                 arithmeticKind(l.kind, r.kind), {}};
    }
    return l;
}

Expr Translator::unary() {
    if (acceptOp("-")) {
        const Expr e = unary();
        return {QStringLiteral("(-%1)").arg(e.sql), isNumeric(e.kind) ? e.kind : Kind::Unknown, {}};
    }
    if (acceptOp("+"))
        return unary();
    if (acceptOp("~")) {
        const Expr e = unary();
        return {QStringLiteral("(~%1)").arg(e.sql), Kind::Int, {}};
    }
    return primary();
}

Expr Translator::literal(const Token &t) {
    const QString placeholder = bindLiteral(t);
    return {placeholder, m_text->bindings.last().literalKind, {}};
}

Expr Translator::variable(const Token &t) {
    const QString lower = t.text.toLower();
    if (t.kind == TokKind::SysVariable) {
        if (lower != QLatin1String("@@error") && lower != QLatin1String("@@rowcount") &&
            lower != QLatin1String("@@trancount"))
            unsupported(t.text);
        return {bindVariable(lower), Kind::Int, {}};
    }
    const auto it = m_vars.constFind(lower);
    if (it == m_vars.cend())
        fail(QStringLiteral("Must declare the scalar variable \"%1\".").arg(t.text));
    return {bindVariable(lower), *it, {}};
}

QStringList Translator::dottedName() {
    QStringList parts;
    const Token &first = peek();
    if (first.kind != TokKind::Ident && first.kind != TokKind::QuotedIdent)
        unexpected();
    parts << next().text;
    while (atOp(".")) {
        next();
        if (atOp(".")) { // db..name: the owner left out
            parts << QString();
            continue;
        }
        const Token &t = peek();
        if (t.kind == TokKind::Ident || t.kind == TokKind::QuotedIdent)
            parts << next().text;
        else if (t.kind == TokKind::Op && t.text == QLatin1String("*"))
            break; // alias.* is handled by the caller
        else
            unexpected();
    }
    return parts;
}

Expr Translator::primary() {
    const Token t = peek();
    switch (t.kind) {
    case TokKind::Number:
    case TokKind::String:
        next();
        return literal(t);
    case TokKind::Variable:
    case TokKind::SysVariable:
        next();
        return variable(t);
    case TokKind::Op:
        if (t.text == QLatin1String("(")) {
            next();
            if (atWord("select")) {
                const SelectOut sub = select(false);
                expectOp(")");
                return {u'(' + sub.sql + u')', sub.kinds.value(0, Kind::Unknown), {}};
            }
            Expr e = expression();
            expectOp(")");
            e.sql = u'(' + e.sql + u')';
            e.columnName.clear();
            return e;
        }
        unexpected();
    case TokKind::End:
        unexpected();
    case TokKind::Ident:
    case TokKind::QuotedIdent:
        break;
    }
    if (t.kind == TokKind::Ident) {
        if (isWord(t, "null")) {
            next();
            return {QStringLiteral("NULL"), Kind::Null, {}};
        }
        if (isWord(t, "case")) {
            next();
            return caseExpr();
        }
        if (isWord(t, "cast") && atOp("(", 1)) {
            next();
            return convertCall(true);
        }
        if (isWord(t, "convert") && atOp("(", 1)) {
            next();
            return convertCall(false);
        }
        if (isWord(t, "current_timestamp")) {
            next();
            return {QStringLiteral("tsql_getdate()"), Kind::Date, {}};
        }
        if (isReservedWord(t.text))
            unexpected();
    }
    const QStringList parts = dottedName();
    if (atOp("("))
        return functionCall(parts);
    if (parts.size() > 2)
        unsupported(QStringLiteral("column reference '%1'").arg(parts.join(u'.')));
    Expr e;
    const QString column = parts.last();
    if (parts.size() == 2) {
        e.sql = quoteIdent(parts[0]) + u'.' + quoteIdent(column);
        const QString table = m_aliases.value(parts[0].toLower(), parts[0]);
        e.kind = m_catalog.columnKind(table, column);
        if (e.kind == Kind::Unknown)
            e.kind = m_catalog.columnKind(column);
    } else {
        e.sql = quoteIdent(column);
        e.kind = m_catalog.columnKind(column);
    }
    e.columnName = column;
    return e;
}

Expr Translator::caseExpr() {
    QString sql = QStringLiteral("CASE");
    Expr operand;
    const bool simple = !atWord("when");
    if (simple) {
        operand = expression();
        sql += u' ' + operand.sql;
    }
    Kind kind = Kind::Null;
    bool mixed = false;
    auto addResult = [&](const Expr &r) {
        if (r.kind == Kind::Null)
            return;
        if (kind == Kind::Null)
            kind = r.kind;
        else if (kind != r.kind && !(isNumeric(kind) && isNumeric(r.kind)))
            mixed = true;
    };
    if (!atWord("when"))
        unexpected();
    while (acceptWord("when")) {
        Expr w = expression();
        if (simple && operand.kind == Kind::Date)
            w = asDate(w);
        expectWord("then");
        const Expr r = expression();
        addResult(r);
        sql += QStringLiteral(" WHEN %1 THEN %2").arg(w.sql, r.sql);
    }
    if (acceptWord("else")) {
        const Expr r = expression();
        addResult(r);
        sql += QStringLiteral(" ELSE ") + r.sql;
    }
    expectWord("end");
    sql += QStringLiteral(" END");
    return {sql, mixed ? Kind::Unknown : kind, {}};
}

TypeSpec Translator::typeSpec() {
    const Token t = peek();
    if (t.kind != TokKind::Ident && t.kind != TokKind::QuotedIdent)
        unexpected();
    next();
    const QString name = t.text.toLower();
    TypeSpec spec;
    auto lengthArgs = [&](bool allowMax) {
        if (!acceptOp("("))
            return;
        if (allowMax && acceptWord("max")) {
            spec.length = -1;
        } else {
            const Token n = next();
            if (n.kind != TokKind::Number)
                unexpected();
            syntaxLiteral(n);
            spec.length = n.text.toInt();
            if (acceptOp(",")) {
                const Token s = next();
                if (s.kind != TokKind::Number)
                    unexpected();
                syntaxLiteral(s);
            }
        }
        expectOp(")");
    };
    if (name == u"varchar" || name == u"nvarchar" || name == u"char" || name == u"nchar" ||
        name == u"text" || name == u"ntext" || name == u"sysname") {
        spec.kind = Kind::Text;
        spec.padded = (name == u"char" || name == u"nchar");
        lengthArgs(true);
    } else if (name == u"int" || name == u"integer" || name == u"bigint" || name == u"smallint" ||
               name == u"tinyint" || name == u"bit") {
        spec.kind = Kind::Int;
    } else if (name == u"decimal" || name == u"numeric" || name == u"float" || name == u"real" ||
               name == u"money" || name == u"smallmoney") {
        spec.kind = Kind::Real;
        lengthArgs(false);
        spec.length = 0;
    } else if (name == u"datetime" || name == u"date" || name == u"smalldatetime" || name == u"datetime2") {
        spec.kind = Kind::Date;
        if (name == u"datetime2")
            lengthArgs(false);
        spec.length = name == u"date" ? 10 : 0;
    } else {
        unsupported(QStringLiteral("data type '%1'").arg(t.text));
    }
    return spec;
}

Expr Translator::convertCall(bool isCast) {
    expectOp("(");
    TypeSpec type;
    Expr value;
    QString style = QStringLiteral("NULL");
    if (isCast) {
        value = expression();
        expectWord("as");
        type = typeSpec();
    } else {
        type = typeSpec();
        expectOp(",");
        value = expression();
        if (acceptOp(","))
            style = expression().sql;
    }
    expectOp(")");
    switch (type.kind) {
    case Kind::Text: {
        // Without a length, CAST and CONVERT to varchar keep 30 characters.
        const int length = type.length == 0 ? 30 : type.length;
        return {QStringLiteral("tsql_to_text(%1, %2, %3, %4, %5)")
                    .arg(value.sql, QString::number(length), style,
                         QString::number(value.kind == Kind::Date ? 1 : 0), QString::number(type.padded ? 1 : 0)),
                Kind::Text,
                {}};
    }
    case Kind::Int:
        return {QStringLiteral("tsql_to_int(%1)").arg(value.sql), Kind::Int, {}};
    case Kind::Real:
        return {QStringLiteral("tsql_to_real(%1)").arg(value.sql), Kind::Real, {}};
    case Kind::Date:
        if (type.length == 10)
            return {QStringLiteral("tsql_date_only(tsql_to_date(%1))").arg(value.sql), Kind::Date, {}};
        return asDate(value);
    default:
        unexpected();
    }
}

Expr Translator::functionCall(const QStringList &parts) {
    const QString name = parts.last();
    expectOp("(");
    auto args = [&](int min, int max) {
        QList<Expr> list;
        if (!atOp(")")) {
            do
                list << expression();
            while (acceptOp(","));
        }
        expectOp(")");
        if (list.size() < min || list.size() > max)
            fail(QStringLiteral("The %1 function requires %2 argument(s).").arg(name).arg(min));
        return list;
    };
    if (const ServerFunction *f = findServerFunction(name)) {
        const QList<Expr> a = args(f->argc, f->argc);
        QString sql = QString::fromUtf8(f->sql);
        for (int i = a.size(); i >= 1; --i)
            sql.replace(QStringLiteral("%") + QString::number(i), u'(' + a[i - 1].sql + u')');
        return {u'(' + sql + u')', Kind::Text, {}};
    }
    if (parts.size() > 1 && !(parts.size() == 2 && parts[0].compare(u"dbo", Qt::CaseInsensitive) == 0))
        unsupported(QStringLiteral("function '%1'").arg(parts.join(u'.')));
    const QString fn = name.toLower();
    if (fn == u"count") {
        if (acceptOp("*")) {
            expectOp(")");
            return {QStringLiteral("count(*)"), Kind::Int, {}};
        }
        const bool distinct = acceptWord("distinct");
        const QList<Expr> a = args(1, 1);
        return {QStringLiteral("count(%1%2)").arg(distinct ? QStringLiteral("DISTINCT ") : QString(), a[0].sql),
                Kind::Int,
                {}};
    }
    if (fn == u"sum" || fn == u"avg" || fn == u"max" || fn == u"min") {
        const bool distinct = acceptWord("distinct");
        if (!distinct)
            acceptWord("all");
        const QList<Expr> a = args(1, 1);
        Kind k = a[0].kind;
        if (fn == u"sum" && k == Kind::Unknown)
            k = Kind::Real;
        return {QStringLiteral("%1(%2%3)").arg(fn, distinct ? QStringLiteral("DISTINCT ") : QString(), a[0].sql), k,
                {}};
    }
    if (fn == u"string_agg") {
        const QList<Expr> a = args(2, 2);
        if (atWord("within"))
            unsupported(QStringLiteral("STRING_AGG ... WITHIN GROUP"));
        return {QStringLiteral("group_concat(tsql_to_text(%1, -1, NULL, %2, 0), %3)")
                    .arg(a[0].sql, QString::number(a[0].kind == Kind::Date ? 1 : 0), a[1].sql),
                Kind::Text,
                {}};
    }
    if (fn == u"datepart" || fn == u"datename" || fn == u"dateadd" || fn == u"datediff") {
        const Token partTok = next();
        const QString part = partTok.kind == TokKind::Ident ? datePartName(partTok.text) : QString();
        if (part.isEmpty())
            fail(QStringLiteral("'%1' is not a recognized %2 option.").arg(partTok.text, fn));
        expectOp(",");
        QList<Expr> a = args(fn == u"datepart" || fn == u"datename" ? 1 : 2, fn == u"datepart" ? 1 : 2);
        if (fn == u"datepart")
            return {QStringLiteral("tsql_datepart('%1', %2)").arg(part, asDate(a[0]).sql), Kind::Int, {}};
        if (fn == u"datename")
            unsupported(QStringLiteral("DATENAME"));
        if (fn == u"dateadd")
            return {QStringLiteral("tsql_dateadd('%1', %2, %3)").arg(part, a[0].sql, asDate(a[1]).sql), Kind::Date,
                    {}};
        return {QStringLiteral("tsql_datediff('%1', %2, %3)").arg(part, asDate(a[0]).sql, asDate(a[1]).sql),
                Kind::Int,
                {}};
    }
    if (fn == u"year" || fn == u"month" || fn == u"day") {
        const QList<Expr> a = args(1, 1);
        return {QStringLiteral("tsql_datepart('%1', %2)").arg(fn, asDate(a[0]).sql), Kind::Int, {}};
    }
    if (fn == u"getdate" || fn == u"sysdatetime" || fn == u"current_timestamp") {
        args(0, 0);
        return {QStringLiteral("tsql_getdate()"), Kind::Date, {}};
    }
    if (fn == u"isnull" || fn == u"coalesce") {
        QList<Expr> a = fn == u"isnull" ? args(2, 2) : args(2, 64);
        Kind k = Kind::Null;
        for (const Expr &e : a)
            if (k == Kind::Null)
                k = e.kind;
        QStringList sqls;
        for (Expr &e : a) {
            if (k == Kind::Date)
                e = asDate(e);
            sqls << e.sql;
        }
        return {QStringLiteral("coalesce(%1)").arg(sqls.join(u", ")), k, {}};
    }
    if (fn == u"nullif") {
        const QList<Expr> a = args(2, 2);
        return {QStringLiteral("nullif(%1, %2)").arg(a[0].sql, a[1].sql), a[0].kind, {}};
    }
    if (fn == u"substring") {
        const QList<Expr> a = args(3, 3);
        return {QStringLiteral("substr(tsql_to_text(%1, -1, NULL, %4, 0), %2, %3)")
                    .arg(a[0].sql, a[1].sql, a[2].sql, QString::number(a[0].kind == Kind::Date ? 1 : 0)),
                Kind::Text,
                {}};
    }
    if (fn == u"left" || fn == u"right") {
        const QList<Expr> a = args(2, 2);
        return {QStringLiteral("tsql_%1(%2, %3)").arg(fn, a[0].sql, a[1].sql), Kind::Text, {}};
    }
    if (fn == u"ltrim" || fn == u"rtrim" || fn == u"upper" || fn == u"lower") {
        const QList<Expr> a = args(1, 1);
        const QString inner = a[0].kind == Kind::Text
                                  ? a[0].sql
                                  : QStringLiteral("tsql_to_text(%1, -1, NULL, %2, 0)")
                                        .arg(a[0].sql, QString::number(a[0].kind == Kind::Date ? 1 : 0));
        if (fn == u"ltrim" || fn == u"rtrim")
            return {QStringLiteral("%1(%2, ' ')").arg(fn, inner), Kind::Text, {}};
        return {QStringLiteral("%1(%2)").arg(fn, inner), Kind::Text, {}};
    }
    if (fn == u"replace") {
        const QList<Expr> a = args(3, 3);
        return {QStringLiteral("replace(%1, %2, %3)").arg(a[0].sql, a[1].sql, a[2].sql), Kind::Text, {}};
    }
    if (fn == u"len") {
        const QList<Expr> a = args(1, 1);
        return {QStringLiteral("tsql_len(%1)").arg(a[0].sql), Kind::Int, {}};
    }
    if (fn == u"charindex") {
        const QList<Expr> a = args(2, 3);
        return {QStringLiteral("tsql_charindex(%1, %2, %3)")
                    .arg(a[0].sql, a[1].sql, a.size() > 2 ? a[2].sql : QStringLiteral("1")),
                Kind::Int,
                {}};
    }
    if (fn == u"abs") {
        const QList<Expr> a = args(1, 1);
        return {QStringLiteral("abs(%1)").arg(a[0].sql), a[0].kind, {}};
    }
    if (fn == u"round") {
        const QList<Expr> a = args(2, 2);
        return {QStringLiteral("round(%1, %2)").arg(a[0].sql, a[1].sql), Kind::Real, {}};
    }
    unsupported(QStringLiteral("function '%1'").arg(name));
}

// ---- SELECT ---------------------------------------------------------------------------------

QString Translator::primarySource() {
    if (acceptOp("(")) {
        QString inner;
        if (atWord("select")) {
            inner = u'(' + select(false).sql + u')';
        } else {
            inner = u'(' + tableSource() + u')';
            expectOp(")");
            return inner;
        }
        expectOp(")");
        acceptWord("as");
        if (!atAliasName())
            fail(QStringLiteral("A derived table must have an alias."));
        const QString alias = next().text;
        m_aliases.insert(alias.toLower(), QString());
        return inner + u' ' + quoteIdent(alias);
    }
    QString plain;
    QString sql = tableName(&plain);
    if (acceptWord("as") || atAliasName()) {
        if (!atAliasName())
            unexpected();
        const QString alias = next().text;
        m_aliases.insert(alias.toLower(), plain);
        sql += u' ' + quoteIdent(alias);
    }
    if (atWord("with") && atOp("(", 1)) { // table hints change locking only
        next();
        next();
        while (!atOp(")") && peek().kind != TokKind::End)
            next();
        expectOp(")");
    }
    return sql;
}

QString Translator::tableSource() {
    QString sql = primarySource();
    for (;;) {
        QString join;
        if (acceptWord("join")) {
            join = QStringLiteral("JOIN");
        } else if (atWord("inner") && atWord("join", 1)) {
            next(), next();
            join = QStringLiteral("JOIN");
        } else if ((atWord("left") || atWord("right") || atWord("full")) &&
                   (atWord("join", 1) || (atWord("outer", 1) && atWord("join", 2)))) {
            join = next().text.toUpper() + QStringLiteral(" JOIN");
            acceptWord("outer");
            expectWord("join");
        } else if (atWord("cross") && atWord("join", 1)) {
            next(), next();
            join = QStringLiteral("CROSS JOIN");
        } else if (atWord("cross") || atWord("outer")) {
            unsupported(QStringLiteral("APPLY"));
        } else {
            return sql;
        }
        const QString right = primarySource();
        sql += u' ' + join + u' ' + right;
        if (join != QLatin1String("CROSS JOIN")) {
            expectWord("on");
            sql += QStringLiteral(" ON ") + expression().sql;
        }
    }
}

QString Translator::fromClause() {
    QString sql = tableSource();
    while (acceptOp(","))
        sql += QStringLiteral(", ") + tableSource();
    return sql;
}

QString Translator::selectCore(SelectOut &out, bool allowAssign, QString *limit) {
    expectWord("select");
    QString sql = QStringLiteral("SELECT ");
    if (acceptWord("distinct"))
        sql += QStringLiteral("DISTINCT ");
    else
        acceptWord("all");
    if (acceptWord("top")) {
        const bool paren = acceptOp("(");
        const Token n = next();
        if (n.kind != TokKind::Number)
            unsupported(QStringLiteral("TOP with an expression"));
        if (paren)
            expectOp(")");
        if (atWord("percent") || (atWord("with") && atWord("ties", 1)))
            unsupported(QStringLiteral("TOP ... %1").arg(peek().text.toUpper()));
        syntaxLiteral(n);
        *limit = QString::number(n.text.toLongLong());
    }
    QStringList items;
    bool first = true;
    do {
        if (atOp("*")) {
            next();
            items << QStringLiteral("*");
            out.kinds << Kind::Unknown;
            continue;
        }
        if ((peek().kind == TokKind::Ident || peek().kind == TokKind::QuotedIdent) && atOp(".", 1) &&
            atOp("*", 2)) {
            items << quoteIdent(next().text) + QStringLiteral(".*");
            next(), next();
            out.kinds << Kind::Unknown;
            continue;
        }
        if (peek().kind == TokKind::Variable && atOp("=", 1)) {
            if (!allowAssign)
                fail(QStringLiteral("Variable assignment is not allowed in this SELECT."));
            if (!first && !out.assigns)
                fail(QStringLiteral("A SELECT statement that assigns a value to a variable must not be "
                                     "combined with data-retrieval operations."));
            const Token v = next();
            next();
            if (!m_vars.contains(v.text.toLower()))
                fail(QStringLiteral("Must declare the scalar variable \"%1\".").arg(v.text));
            out.assigns = true;
            out.targets << v.text.toLower();
            const Expr e = expression();
            items << e.sql;
            out.kinds << e.kind;
            first = false;
            continue;
        }
        if (out.assigns)
            fail(QStringLiteral("A SELECT statement that assigns a value to a variable must not be combined "
                                 "with data-retrieval operations."));
        QString alias;
        bool hasAlias = false;
        if ((peek().kind == TokKind::QuotedIdent || (peek().kind == TokKind::Ident && !isReservedWord(peek().text)) ||
             peek().kind == TokKind::String) &&
            atOp("=", 1)) {
            alias = next().text; // alias = expression
            next();
            hasAlias = true;
        }
        const Expr e = expression();
        if (!hasAlias) {
            if (acceptWord("as")) {
                const Token a = next();
                if (a.kind != TokKind::Ident && a.kind != TokKind::QuotedIdent && a.kind != TokKind::String)
                    unexpected();
                alias = a.text;
                hasAlias = true;
            } else if (atAliasName() || peek().kind == TokKind::String) {
                alias = next().text;
                hasAlias = true;
            }
        }
        if (!hasAlias)
            alias = e.columnName; // a bare column keeps its name as written; an expression has none
        items << e.sql + QStringLiteral(" AS ") + quoteIdent(alias);
        out.kinds << e.kind;
        first = false;
    } while (acceptOp(","));
    sql += items.join(u", ");
    if (acceptWord("into"))
        unsupported(QStringLiteral("SELECT ... INTO"));
    if (acceptWord("from"))
        sql += QStringLiteral(" FROM ") + fromClause();
    if (acceptWord("where"))
        sql += QStringLiteral(" WHERE ") + expression().sql;
    if (atWord("group") && atWord("by", 1)) {
        next(), next();
        QStringList groups;
        do
            groups << expression().sql;
        while (acceptOp(","));
        sql += QStringLiteral(" GROUP BY ") + groups.join(u", ");
    }
    if (acceptWord("having"))
        sql += QStringLiteral(" HAVING ") + expression().sql;
    return sql;
}

SelectOut Translator::select(bool allowAssign) {
    SelectOut out;
    QString limit;
    QString sql = selectCore(out, allowAssign, &limit);
    bool compound = false;
    while (atWord("union") || atWord("except") || atWord("intersect")) {
        QString op = next().text.toUpper();
        if (acceptWord("all"))
            op += QStringLiteral(" ALL");
        if (out.assigns)
            unsupported(QStringLiteral("variable assignment in a %1").arg(op));
        SelectOut more;
        QString moreLimit;
        sql += u' ' + op + u' ' + selectCore(more, false, &moreLimit);
        if (!moreLimit.isEmpty())
            unsupported(QStringLiteral("TOP inside %1").arg(op));
        compound = true;
    }
    if (compound && !limit.isEmpty())
        unsupported(QStringLiteral("TOP with UNION"));
    if (atWord("order") && atWord("by", 1)) {
        next(), next();
        QStringList items;
        do {
            QString item;
            if (peek().kind == TokKind::Number && !peek().text.contains(u'.')) {
                const Token n = next(); // a column position, part of the statement's shape
                syntaxLiteral(n);
                item = n.text;
            } else {
                item = expression().sql;
            }
            if (acceptWord("desc"))
                item += QStringLiteral(" DESC");
            else
                acceptWord("asc");
            items << item;
        } while (acceptOp(","));
        sql += QStringLiteral(" ORDER BY ") + items.join(u", ");
    }
    if (!limit.isEmpty())
        sql += QStringLiteral(" LIMIT ") + limit;
    out.sql = sql;
    return out;
}

} // namespace dudodu::engine::detail
