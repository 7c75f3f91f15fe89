// The server-side functions and procedures of the course and account databases, as SQL templates
// the interpreter expands. Function templates are scalar subqueries: "%1", "%2" stand for the
// (parenthesised) argument expressions. Procedure templates are one SELECT whose parameters
// ?1, ?2, ... are bound to the exec arguments.
#pragma once

#include <QStringView>

namespace dudodu::engine {

struct ServerFunction {
    const char *name; // e.g. "SUBJECT_TEACHER_List" (matched case-insensitively)
    int argc;
    const char *sql;  // SQLite text of a scalar subquery, without the enclosing parentheses
};

struct ServerProcedure {
    const char *name; // e.g. "velm_role_query"
    int argc;
    const char *sql;  // one SQLite SELECT with ?1..?n
};

const ServerFunction *findServerFunction(QStringView name);
const ServerProcedure *findServerProcedure(QStringView name);

} // namespace dudodu::engine
