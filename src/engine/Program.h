// A translated batch: the statements of the batch as the interpreter runs them. SQL statements
// carry SQLite text whose '?' placeholders are bound, in order, to the batch's literals or to
// variables, so one translation serves every batch with the same shape.
#pragma once

#include "engine/Catalog.h"

#include <QList>
#include <QString>
#include <memory>
#include <vector>

struct sqlite3_stmt;

namespace dudodu::engine {

struct Binding {
    int literal = -1; // index into the batch's literals, or -1
    QString variable; // lower-case variable name ("@x", "@@error") when literal is -1
    Kind literalKind = Kind::Unknown; // Text or Int/Real for literals
    bool negate = false;              // exec argument written as -<number>
};

struct SqlText {
    QString sql;
    QList<Binding> bindings;
    sqlite3_stmt *stmt = nullptr; // prepared once, reused (owned by the Program)
};

struct Statement {
    enum Type {
        Query,        // select returning rows
        Change,       // insert / update / delete
        AssignSelect, // select @a = x, @b = y from ...
        SetVar,       // set @a = x (evaluated as a one-row select)
        Declare,
        If,
        Block,
        BeginTran,
        Commit,
        Rollback,
        Raiserror,
        Return,
        Exec
    };
    Type type = Query;
    SqlText text;                 // Query, Change, AssignSelect, SetVar, If (condition), Raiserror (message), Exec
    QStringList targets;          // AssignSelect / SetVar: variable names (lower case)
    QList<Kind> targetKinds;      // Declare: kinds of the declared variables
    QList<int> targetLengths;     // Declare: character lengths (0 = none)
    std::vector<std::unique_ptr<Statement>> children; // Block; If: [then, else?]
    int severity = 16;            // Raiserror: literal severity when known at translation
    int severityLiteral = -1;     // Raiserror: literal index of the severity (-1 = fixed)
    QString procedure;            // Exec: procedure name
};

struct Program {
    std::vector<std::unique_ptr<Statement>> statements;
    // Literals whose value shaped the translation (type lengths, top counts): a cached program is
    // reused only when these are equal.
    QList<QPair<int, QString>> syntaxLiterals;
    std::vector<SqlText *> sqlTexts; // every SqlText of the tree, for preparing and finalising
    ~Program();
};

} // namespace dudodu::engine
