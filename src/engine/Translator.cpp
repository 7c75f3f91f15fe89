// Batch statements of the T-SQL dialect: control flow, transactions, variables, procedures and
// the data-changing statements.
#include "engine/Translator.h"

#include "engine/Engine.h"
#include "engine/ServerObjects.h"

namespace dudodu::engine {

namespace detail {

namespace {

void collectTexts(Statement &s, std::vector<SqlText *> &out) {
    if (!s.text.sql.isEmpty())
        out.push_back(&s.text);
    for (auto &child : s.children)
        if (child)
            collectTexts(*child, out);
}

} // namespace

std::unique_ptr<Program> Translator::run() {
    m_program = std::make_unique<Program>();
    while (peek().kind != TokKind::End) {
        if (acceptOp(";"))
            continue;
        m_program->statements.push_back(statement());
    }
    for (auto &s : m_program->statements)
        collectTexts(*s, m_program->sqlTexts);
    return std::move(m_program);
}

std::unique_ptr<Statement> Translator::statement() {
    while (acceptOp(";")) {
    }
    const Token t = peek();
    if (t.kind != TokKind::Ident)
        unexpected();
    m_aliases.clear();
    if (isWord(t, "select")) {
        SqlText text;
        m_text = &text;
        const SelectOut out = select(true);
        auto s = std::make_unique<Statement>();
        s->type = out.assigns ? Statement::AssignSelect : Statement::Query;
        s->targets = out.targets;
        s->text = text;
        s->text.sql = out.sql;
        m_text = nullptr;
        return s;
    }
    if (isWord(t, "insert") || isWord(t, "update") || isWord(t, "delete")) {
        SqlText text;
        m_text = &text;
        next();
        const QString sql =
            isWord(t, "insert") ? insertStatement() : isWord(t, "update") ? updateStatement() : deleteStatement();
        auto s = std::make_unique<Statement>();
        s->type = Statement::Change;
        s->text = text;
        s->text.sql = sql;
        m_text = nullptr;
        return s;
    }
    if (isWord(t, "begin")) {
        next();
        return blockOrTransaction();
    }
    if (isWord(t, "commit") || isWord(t, "rollback")) {
        next();
        if (!acceptWord("transaction") && !acceptWord("tran"))
            acceptWord("work");
        auto s = std::make_unique<Statement>();
        s->type = isWord(t, "commit") ? Statement::Commit : Statement::Rollback;
        return s;
    }
    if (isWord(t, "if")) {
        next();
        return ifStatement();
    }
    if (isWord(t, "set")) {
        next();
        return setStatement();
    }
    if (isWord(t, "raiserror")) {
        next();
        return raiserrorStatement();
    }
    if (isWord(t, "return")) {
        next();
        auto s = std::make_unique<Statement>();
        s->type = Statement::Return;
        return s;
    }
    if (isWord(t, "exec") || isWord(t, "execute")) {
        next();
        return execStatement();
    }
    if (isWord(t, "declare")) {
        next();
        std::vector<std::unique_ptr<Statement>> initialisers;
        auto decl = declareStatement(initialisers);
        if (initialisers.empty())
            return decl;
        auto block = std::make_unique<Statement>();
        block->type = Statement::Block;
        block->children.push_back(std::move(decl));
        for (auto &i : initialisers)
            block->children.push_back(std::move(i));
        return block;
    }
    if (isWord(t, "else") || isWord(t, "end"))
        unexpected();
    unsupported(QStringLiteral("statement '%1'").arg(t.text.toUpper()));
}

std::unique_ptr<Statement> Translator::blockOrTransaction() {
    auto s = std::make_unique<Statement>();
    if (acceptWord("transaction") || acceptWord("tran")) {
        if (peek().kind == TokKind::Ident && !isWord(peek(), "select") && !isWord(peek(), "insert") &&
            !isWord(peek(), "update") && !isWord(peek(), "delete") && !isWord(peek(), "if") &&
            !isWord(peek(), "begin") && !isWord(peek(), "commit") && !isWord(peek(), "rollback") &&
            !isWord(peek(), "declare") && !isWord(peek(), "set") && !isWord(peek(), "exec") &&
            !isWord(peek(), "raiserror") && !isWord(peek(), "return"))
            unsupported(QStringLiteral("named transaction '%1'").arg(peek().text));
        s->type = Statement::BeginTran;
        return s;
    }
    if (atWord("try") || atWord("catch") || atWord("distributed"))
        unsupported(QStringLiteral("BEGIN %1").arg(peek().text.toUpper()));
    s->type = Statement::Block;
    for (;;) {
        while (acceptOp(";")) {
        }
        if (acceptWord("end"))
            break;
        if (peek().kind == TokKind::End)
            fail(QStringLiteral("Incorrect syntax: BEGIN without END."));
        s->children.push_back(statement());
    }
    return s;
}

std::unique_ptr<Statement> Translator::ifStatement() {
    auto s = std::make_unique<Statement>();
    s->type = Statement::If;
    SqlText text;
    m_text = &text;
    m_aliases.clear();
    const Expr cond = expression();
    s->text = text;
    s->text.sql = QStringLiteral("SELECT CASE WHEN %1 THEN 1 ELSE 0 END").arg(cond.sql);
    m_text = nullptr;
    s->children.push_back(statement());
    while (acceptOp(";")) {
    }
    if (acceptWord("else"))
        s->children.push_back(statement());
    return s;
}

std::unique_ptr<Statement> Translator::declareStatement(std::vector<std::unique_ptr<Statement>> &extra) {
    auto s = std::make_unique<Statement>();
    s->type = Statement::Declare;
    do {
        const Token v = next();
        if (v.kind != TokKind::Variable)
            unexpected();
        acceptWord("as");
        if (atWord("table") || atWord("cursor"))
            unsupported(QStringLiteral("DECLARE ... %1").arg(peek().text.toUpper()));
        const TypeSpec type = typeSpec();
        const QString name = v.text.toLower();
        if (m_vars.contains(name))
            fail(QStringLiteral("The variable name '%1' has already been declared. Variable names must be "
                                 "unique within a query batch.")
                     .arg(v.text));
        m_vars.insert(name, type.kind);
        s->targets << name;
        s->targetKinds << type.kind;
        s->targetLengths << (type.length > 0 ? type.length : 0);
        if (acceptOp("=")) {
            auto init = std::make_unique<Statement>();
            init->type = Statement::SetVar;
            SqlText text;
            m_text = &text;
            const Expr e = expression();
            init->text = text;
            init->text.sql = QStringLiteral("SELECT ") + e.sql;
            init->targets << name;
            m_text = nullptr;
            extra.push_back(std::move(init));
        }
    } while (acceptOp(","));
    return s;
}

std::unique_ptr<Statement> Translator::setStatement() {
    const Token v = peek();
    if (v.kind == TokKind::Ident && (isWord(v, "nocount") || isWord(v, "ansi_warnings") || isWord(v, "xact_abort")))
        unsupported(QStringLiteral("SET %1").arg(v.text.toUpper()));
    if (v.kind != TokKind::Variable)
        unsupported(QStringLiteral("SET %1").arg(v.text));
    next();
    const QString name = v.text.toLower();
    if (!m_vars.contains(name))
        fail(QStringLiteral("Must declare the scalar variable \"%1\".").arg(v.text));
    expectOp("=");
    auto s = std::make_unique<Statement>();
    s->type = Statement::SetVar;
    SqlText text;
    m_text = &text;
    m_aliases.clear();
    const Expr e = expression();
    s->text = text;
    s->text.sql = QStringLiteral("SELECT ") + e.sql;
    s->targets << name;
    m_text = nullptr;
    return s;
}

std::unique_ptr<Statement> Translator::raiserrorStatement() {
    auto s = std::make_unique<Statement>();
    s->type = Statement::Raiserror;
    const bool paren = acceptOp("(");
    SqlText text;
    m_text = &text;
    const Token msg = next();
    QString msgSql;
    if (msg.kind == TokKind::String)
        msgSql = bindLiteral(msg);
    else if (msg.kind == TokKind::Variable)
        msgSql = variable(msg).sql;
    else
        unsupported(QStringLiteral("RAISERROR with a message number"));
    expectOp(",");
    const Token sev = next();
    if (sev.kind != TokKind::Number)
        unexpected();
    s->severityLiteral = sev.literalIndex;
    s->severity = sev.text.toInt();
    expectOp(",");
    const Token state = next();
    if (state.kind != TokKind::Number)
        unexpected();
    QStringList formatArgs;
    while (acceptOp(","))
        formatArgs << additive().sql;
    if (paren)
        expectOp(")");
    if (atWord("with"))
        unsupported(QStringLiteral("RAISERROR ... WITH"));
    s->text = text;
    s->text.sql = formatArgs.isEmpty()
                      ? QStringLiteral("SELECT ") + msgSql
                      : QStringLiteral("SELECT tsql_format(%1, %2)").arg(msgSql, formatArgs.join(u", "));
    m_text = nullptr;
    return s;
}

std::unique_ptr<Statement> Translator::execStatement() {
    if (peek().kind == TokKind::Variable)
        unsupported(QStringLiteral("EXEC with a return variable"));
    if (atOp("("))
        unsupported(QStringLiteral("EXEC of a string"));
    const QStringList parts = dottedName();
    const ServerProcedure *proc = findServerProcedure(parts.last());
    if (!proc)
        fail(QStringLiteral("Could not find stored procedure '%1'.").arg(parts.join(u'.')));
    auto s = std::make_unique<Statement>();
    s->type = Statement::Exec;
    s->procedure = QString::fromUtf8(proc->name);
    // Arguments bind by position to the procedure's ?1..?n: constants (possibly negative) or variables.
    const bool hasArgs = peek().kind == TokKind::Number || peek().kind == TokKind::String ||
                         peek().kind == TokKind::Variable || atOp("-");
    if (hasArgs) {
        do {
            Binding b;
            if (peek().kind == TokKind::Variable && atOp("=", 1))
                unsupported(QStringLiteral("EXEC with named parameters"));
            const bool negative = acceptOp("-");
            const Token a = next();
            if (a.kind == TokKind::Number || (a.kind == TokKind::String && !negative)) {
                b.literal = a.literalIndex;
                b.literalKind = a.kind == TokKind::String ? Kind::Text
                                : a.text.contains(u'.')   ? Kind::Real
                                                          : Kind::Int;
                b.negate = negative;
            } else if (a.kind == TokKind::Variable && !negative) {
                if (!m_vars.contains(a.text.toLower()))
                    fail(QStringLiteral("Must declare the scalar variable \"%1\".").arg(a.text));
                b.variable = a.text.toLower();
            } else {
                unsupported(QStringLiteral("EXEC argument '%1'").arg(a.text));
            }
            s->text.bindings.append(b);
        } while (acceptOp(","));
    }
    if (s->text.bindings.size() != proc->argc)
        fail(QStringLiteral("Procedure or function '%1' expects %2 parameter(s), %3 given.")
                 .arg(s->procedure)
                 .arg(proc->argc)
                 .arg(s->text.bindings.size()));
    s->text.sql = QString::fromUtf8(proc->sql);
    return s;
}

// ---- data changes ---------------------------------------------------------------------------

QString Translator::tableName(QString *plainName) {
    const QStringList parts = dottedName();
    QString database, table = parts.last();
    if (parts.size() > 3)
        unsupported(QStringLiteral("four-part name '%1'").arg(parts.join(u'.')));
    if (parts.size() >= 2) {
        const QString first = parts.first();
        for (const QString &db : Engine::databaseNames())
            if (db.compare(first, Qt::CaseInsensitive) == 0)
                database = db;
        if (database.isEmpty() && !(parts.size() == 2 && first.compare(u"dbo", Qt::CaseInsensitive) == 0))
            fail(QStringLiteral("Database '%1' does not exist.").arg(first));
        if (parts.size() == 3 && !parts[1].isEmpty() && parts[1].compare(u"dbo", Qt::CaseInsensitive) != 0)
            fail(QStringLiteral("Invalid object name '%1'.").arg(parts.join(u'.')));
    }
    if (table.startsWith(u'#'))
        unsupported(QStringLiteral("temporary table '%1'").arg(table));
    if (plainName)
        *plainName = table;
    return database.isEmpty() ? quoteIdent(table) : database + u'.' + quoteIdent(table);
}

QString Translator::convertForColumn(const Expr &value, Kind target) {
    if (value.kind == Kind::Null || value.kind == target)
        return value.sql;
    switch (target) {
    case Kind::Int:
        return QStringLiteral("tsql_to_int(%1)").arg(value.sql);
    case Kind::Real:
        return isNumeric(value.kind) ? value.sql : QStringLiteral("tsql_to_real(%1)").arg(value.sql);
    case Kind::Date:
        return asDate(value).sql;
    case Kind::Text:
        if (value.kind == Kind::Real || value.kind == Kind::Date || value.kind == Kind::Unknown)
            return QStringLiteral("tsql_to_text(%1, -1, NULL, %2, 0)")
                .arg(value.sql, QString::number(value.kind == Kind::Date ? 1 : 0));
        return value.sql;
    default:
        return value.sql;
    }
}

QString Translator::insertStatement() {
    acceptWord("into");
    QString plain;
    const QString table = tableName(&plain);
    QStringList columns;
    QList<Kind> kinds;
    if (atOp("(") && !atWord("select", 1)) {
        next();
        do {
            const Token c = next();
            if (c.kind != TokKind::Ident && c.kind != TokKind::QuotedIdent)
                unexpected();
            columns << c.text;
            kinds << m_catalog.columnKind(plain, c.text);
        } while (acceptOp(","));
        expectOp(")");
    } else {
        for (const CatalogColumn &c : m_catalog.columns(plain))
            kinds << c.kind;
    }
    QString sql = QStringLiteral("INSERT INTO ") + table;
    if (!columns.isEmpty()) {
        QStringList quoted;
        for (const QString &c : columns)
            quoted << quoteIdent(c);
        sql += QStringLiteral(" (") + quoted.join(u", ") + u')';
    }
    if (acceptWord("values")) {
        QStringList rows;
        do {
            expectOp("(");
            QStringList values;
            do {
                const Expr e = expression();
                values << convertForColumn(e, kinds.value(values.size(), Kind::Unknown));
            } while (acceptOp(","));
            expectOp(")");
            if (!kinds.isEmpty() && values.size() != kinds.size())
                fail(QStringLiteral("There are fewer or more columns in the INSERT statement than values "
                                     "specified in the VALUES clause."));
            rows << u'(' + values.join(u", ") + u')';
        } while (acceptOp(","));
        return sql + QStringLiteral(" VALUES ") + rows.join(u", ");
    }
    if (atWord("select") || (atOp("(") && atWord("select", 1))) {
        const bool paren = acceptOp("(");
        const SelectOut sub = select(false);
        if (paren)
            expectOp(")");
        return sql + u' ' + sub.sql;
    }
    if (atWord("exec") || atWord("execute"))
        unsupported(QStringLiteral("INSERT ... EXEC"));
    if (atWord("default"))
        unsupported(QStringLiteral("INSERT ... DEFAULT VALUES"));
    unexpected();
}

QString Translator::updateStatement() {
    if (atWord("top"))
        unsupported(QStringLiteral("UPDATE TOP"));
    QString plain;
    const QString table = tableName(&plain);
    expectWord("set");
    QStringList sets;
    do {
        QStringList target = dottedName();
        const QString column = target.last();
        if (peek().kind == TokKind::Op && peek().text.size() == 2 && peek().text.endsWith(u'='))
            unsupported(QStringLiteral("compound assignment '%1'").arg(peek().text));
        expectOp("=");
        const Expr e = expression();
        sets << quoteIdent(column) + QStringLiteral(" = ") + convertForColumn(e, m_catalog.columnKind(plain, column));
    } while (acceptOp(","));
    QString sql = QStringLiteral("UPDATE %1 SET %2").arg(table, sets.join(u", "));
    if (acceptWord("from"))
        sql += QStringLiteral(" FROM ") + fromClause();
    if (acceptWord("where"))
        sql += QStringLiteral(" WHERE ") + expression().sql;
    return sql;
}

QString Translator::deleteStatement() {
    if (atWord("top"))
        unsupported(QStringLiteral("DELETE TOP"));
    acceptWord("from");
    const QString table = tableName();
    if (atWord("from"))
        unsupported(QStringLiteral("DELETE ... FROM with a join"));
    QString sql = QStringLiteral("DELETE FROM ") + table;
    if (acceptWord("where"))
        sql += QStringLiteral(" WHERE ") + expression().sql;
    return sql;
}

} // namespace detail

std::unique_ptr<Program> translate(const TokenizedBatch &batch, const Catalog &catalog, QString *error) {
    if (!batch.error.isEmpty()) {
        if (error)
            *error = batch.error;
        return nullptr;
    }
    try {
        detail::Translator t(batch, catalog);
        return t.run();
    } catch (const detail::TranslateError &e) {
        if (error)
            *error = e.message;
        return nullptr;
    }
}

} // namespace dudodu::engine
