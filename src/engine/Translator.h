// Translates one tokenized T-SQL batch into a Program: control statements for the interpreter and
// SQLite text for each query, with T-SQL meaning made explicit ('+' on text, date texts, implicit
// conversions on assignment). Anything outside the supported dialect is refused with a message
// that names the construct, before anything of the batch runs.
#pragma once

#include "engine/Catalog.h"
#include "engine/Program.h"
#include "engine/Tokenizer.h"

#include <QHash>
#include <memory>

namespace dudodu::engine {

std::unique_ptr<Program> translate(const TokenizedBatch &batch, const Catalog &catalog, QString *error);

namespace detail {

struct TranslateError {
    QString message;
};

struct Expr {
    QString sql;
    Kind kind = Kind::Unknown;
    QString columnName; // set when the expression is a plain column reference
};

struct SelectOut {
    QString sql;
    QList<Kind> kinds;    // per result column
    QStringList targets;  // variable assignments (select @a = ...)
    bool assigns = false;
};

struct TypeSpec {
    Kind kind = Kind::Unknown;
    int length = 0; // character length; -1 = max / unlimited; 0 = not given
    bool padded = false; // char/nchar: padded to its length
};

class Translator {
public:
    Translator(const TokenizedBatch &batch, const Catalog &catalog) : m_batch(batch), m_catalog(catalog) {}
    std::unique_ptr<Program> run();

private:
    // statements (Translator.cpp)
    std::unique_ptr<Statement> statement();
    std::unique_ptr<Statement> blockOrTransaction();
    std::unique_ptr<Statement> ifStatement();
    std::unique_ptr<Statement> declareStatement(std::vector<std::unique_ptr<Statement>> &extra);
    std::unique_ptr<Statement> setStatement();
    std::unique_ptr<Statement> raiserrorStatement();
    std::unique_ptr<Statement> execStatement();
    std::unique_ptr<Statement> sqlStatement(Statement::Type type, QString sql);
    QString insertStatement();
    QString updateStatement();
    QString deleteStatement();
    QString tableName(QString *plainName = nullptr);
    QString convertForColumn(const Expr &value, Kind target);

    // expressions and selects (TranslatorExpr.cpp)
public:
    Expr expression();
private:
    Expr orExpr();
    Expr andExpr();
    Expr notExpr();
    Expr predicate();
    Expr additive();
    Expr multiplicative();
    Expr unary();
    Expr primary();
    Expr caseExpr();
    Expr functionCall(const QStringList &parts);
    Expr convertCall(bool isCast);
    Expr literal(const Token &t);
    Expr variable(const Token &t);
    Expr plus(const Expr &l, const Expr &r);
    Expr compare(const Expr &l, const QString &op, const Expr &r);
    static Expr asDate(const Expr &e);
    TypeSpec typeSpec();
    SelectOut select(bool allowAssign);
    QString selectCore(SelectOut &out, bool allowAssign, QString *limit);
    QString fromClause();
    QString tableSource();
    QString primarySource();
    QStringList dottedName();

    // tokens
    const Token &peek(int ahead = 0) const;
    Token next();
    bool atWord(const char *w, int ahead = 0) const;
    bool acceptWord(const char *w);
    void expectWord(const char *w);
    bool atOp(const char *op, int ahead = 0) const;
    bool acceptOp(const char *op);
    void expectOp(const char *op);
    bool atAliasName() const;
    [[noreturn]] void fail(const QString &message) const;
    [[noreturn]] void unexpected() const;
    [[noreturn]] void unsupported(const QString &construct) const;
    QString bindLiteral(const Token &t);
    QString bindVariable(const QString &name);
    void syntaxLiteral(const Token &t);
    static QString quoteIdent(const QString &name);

    const TokenizedBatch &m_batch;
    const Catalog &m_catalog;
    int m_pos = 0;
    SqlText *m_text = nullptr;           // statement being built
    QHash<QString, Kind> m_vars;          // declared variables (lower case)
    QHash<QString, QString> m_aliases;    // table alias (lower case) → table name, per statement
    std::unique_ptr<Program> m_program;
};

} // namespace detail
} // namespace dudodu::engine
