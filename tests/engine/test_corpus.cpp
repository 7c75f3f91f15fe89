// Every statement shape the client sends, run on a copy of the demo database. The statements live
// as data in corpus/*.sql; each one must translate and run with T-SQL meaning and hand back the
// columns its caller reads, so a dialect gap shows up here before a window meets it.
//
// Values that depend on the generated data (serials, counts) are not written into the statements:
// "-- @value NAME = <SQLite select>" looks them up on the untouched copy with plain SQLite, and
// "{NAME}" in a statement, a row count or an error text stands for the first column of its first row.
// A count looked up this way is an oracle for the translated statement.
#include "engine/DemoFixture.h"
#include "engine/Engine.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <memory>
#include <ostream>

using dudodu::engine::BatchResult;
using dudodu::engine::Engine;
using dudodu::engine::ResultSet;

namespace {

// One statement of the corpus with what its caller relies on.
struct CorpusCase {
    QString name;
    QString location; // file:line of the header, for failure messages
    QString sql;
    bool returnsRows = true;  // false: "columns: -", the batch must return no result set
    QStringList columns;      // the last result set's column names in order ("?" = any name)
    bool moreColumns = false; // the list ended with "...": the names must occur, in any position
    QString rows;             // empty, ">0" or an exact count
    bool expectError = false;
    QString errorText; // when not empty, the exact error text expected
    QStringList after; // cases whose writes this one reads; run first when they have not run yet
};

void PrintTo(const CorpusCase& c, std::ostream* os) {
    *os << c.name.toStdString();
}

struct CorpusValue {
    QString name;
    QString sql;
    QString location;
};

struct CorpusData {
    QList<CorpusValue> values; // in file order; later ones may use earlier ones
    QList<CorpusCase> cases;
    QStringList problems; // malformed headers, duplicate names, unreadable files
};

bool applyAttribute(CorpusCase& c, const QString& attribute) {
    const int colon = attribute.indexOf(QLatin1Char(':'));
    const QString key = (colon < 0 ? attribute : attribute.left(colon)).trimmed();
    const QString value = colon < 0 ? QString() : attribute.mid(colon + 1).trimmed();
    if (key == QLatin1String("columns")) {
        if (value == QLatin1String("-")) {
            c.returnsRows = false;
            return true;
        }
        for (const QString& column : value.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            if (column.trimmed() == QLatin1String("..."))
                c.moreColumns = true;
            else
                c.columns << column.trimmed();
        }
        return !c.columns.isEmpty();
    }
    if (key == QLatin1String("rows")) {
        static const QRegularExpression form(QStringLiteral("^(>0|\\d+|\\{[A-Z0-9_]+\\})$"));
        c.rows = value;
        return form.match(value).hasMatch();
    }
    if (key == QLatin1String("after")) {
        c.after = value.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        return !c.after.isEmpty();
    }
    if (key == QLatin1String("error")) {
        c.expectError = true;
        c.errorText = value;
        return true;
    }
    return false;
}

// A file holds cases, each a header line "-- @case name | columns: A,B | rows: >0 | error: text |
// after: other_case" followed by the statement's lines up to the next header, and value lines
// "-- @value NAME = sql".
// Other lines starting with "--" are notes of the corpus and not sent; blank lines around a
// statement are dropped, blanks inside lines are kept as they are.
void readCorpusFile(const QString& path, CorpusData& corpus) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        corpus.problems << QStringLiteral("%1: %2").arg(path, file.errorString());
        return;
    }
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    static const QRegularExpression header(QStringLiteral("^-- @case\\s+([A-Za-z0-9_]+)\\s*(\\|.*)?$"));
    static const QRegularExpression valueLine(QStringLiteral("^-- @value\\s+([A-Z0-9_]+)\\s*=\\s*(\\S.*)$"));
    CorpusCase* current = nullptr;
    QStringList body;
    auto finish = [&] {
        if (!current) return;
        while (!body.isEmpty() && body.last().trimmed().isEmpty())
            body.removeLast();
        while (!body.isEmpty() && body.first().trimmed().isEmpty())
            body.removeFirst();
        current->sql = body.join(QLatin1Char('\n'));
        if (current->sql.isEmpty()) corpus.problems << current->location + QStringLiteral(": no statement");
        body.clear();
    };
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines.at(i);
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        const QRegularExpressionMatch m = header.match(line);
        const QRegularExpressionMatch v = valueLine.match(line);
        if (v.hasMatch()) {
            corpus.values << CorpusValue{v.captured(1), v.captured(2),
                                         QStringLiteral("%1:%2").arg(QFileInfo(path).fileName()).arg(i + 1)};
        } else if (m.hasMatch()) {
            finish();
            CorpusCase c;
            c.name = m.captured(1);
            c.location = QStringLiteral("%1:%2").arg(QFileInfo(path).fileName()).arg(i + 1);
            bool hasColumns = false;
            for (const QString& attribute : m.captured(2).split(QLatin1Char('|'), Qt::SkipEmptyParts)) {
                hasColumns = hasColumns || attribute.trimmed().startsWith(QLatin1String("columns"));
                if (!applyAttribute(c, attribute.trimmed()))
                    corpus.problems << c.location + QStringLiteral(": bad attribute '%1'").arg(attribute);
            }
            if (!hasColumns && !c.expectError)
                corpus.problems << c.location + QStringLiteral(": no columns attribute");
            corpus.cases << c;
            current = &corpus.cases.last();
        } else if (line.startsWith(QLatin1String("--"))) {
            if (line.startsWith(QLatin1String("-- @")))
                corpus.problems << QStringLiteral("%1:%2: malformed header").arg(path).arg(i + 1);
        } else if (current) {
            body << line;
        } else if (!line.trimmed().isEmpty()) {
            corpus.problems << QStringLiteral("%1:%2: text before the first case").arg(path).arg(i + 1);
        }
    }
    finish();
}

const CorpusData& corpus() {
    static const CorpusData loaded = [] {
        CorpusData c;
        const QDir dir(QStringLiteral(DUDODU_CORPUS_DIR));
        const QStringList files = dir.entryList({QStringLiteral("*.sql")}, QDir::Files, QDir::Name);
        if (files.isEmpty()) c.problems << QStringLiteral("no corpus files in ") + dir.path();
        for (const QString& file : files)
            readCorpusFile(dir.filePath(file), c);
        QSet<QString> names;
        for (const CorpusValue& one : c.values) {
            if (names.contains(one.name))
                c.problems << one.location + QStringLiteral(": duplicate value name ") + one.name;
            names.insert(one.name);
        }
        names.clear();
        for (const CorpusCase& one : c.cases) {
            if (names.contains(one.name))
                c.problems << one.location + QStringLiteral(": duplicate case name ") + one.name;
            for (const QString& earlier : one.after)
                if (!names.contains(earlier))
                    c.problems << one.location + QStringLiteral(": 'after' names no earlier case ") + earlier;
            names.insert(one.name);
        }
        return c;
    }();
    return loaded;
}

std::string describe(const QStringList& list) {
    return list.join(QLatin1Char(',')).toStdString();
}

// Replaces every {NAME} by its value; names without a value are collected in missing.
QString resolve(const QString& text, const QHash<QString, QString>& values, QStringList* missing) {
    static const QRegularExpression reference(QStringLiteral("\\{([A-Z0-9_]+)\\}"));
    QString out;
    qsizetype from = 0;
    for (auto it = reference.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += text.mid(from, m.capturedStart() - from);
        const auto value = values.constFind(m.captured(1));
        if (value == values.constEnd())
            *missing << m.captured(1);
        else
            out += *value;
        from = m.capturedEnd();
    }
    return out + text.mid(from);
}

// First column of the first row of a plain SQLite query, as text.
bool lookUp(sqlite3* db, const QString& sql, QString* value, QString* error) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &stmt, nullptr) != SQLITE_OK) {
        *error = QString::fromUtf8(sqlite3_errmsg(db));
        return false;
    }
    const int rc = sqlite3_step(stmt);
    const bool found = rc == SQLITE_ROW && sqlite3_column_type(stmt, 0) != SQLITE_NULL;
    if (found)
        *value = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
    else
        *error = rc == SQLITE_ROW || rc == SQLITE_DONE ? QStringLiteral("no value in the demo data")
                                                       : QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_finalize(stmt);
    return found;
}

TEST(CorpusFiles, AreWellFormed) {
    EXPECT_TRUE(corpus().problems.isEmpty()) << describe(corpus().problems);
    EXPECT_FALSE(corpus().cases.isEmpty());
}

// Cases run in file order on one copy of the demo database; write cases pick rows no other case
// reads. A case that reads what another wrote names it with "after:", so that it also holds when
// run alone (ctest runs every case in a process of its own); the order is not meant to be shuffled.
class CorpusStatement : public ::testing::TestWithParam<CorpusCase> {
  protected:
    static void SetUpTestSuite() {
        s_dir = std::make_unique<QTemporaryDir>();
        QString error;
        if (s_dir->isValid() && dudodu::test::copyDemoDatabase(s_dir->path(), &error))
            s_engine = Engine::open(s_dir->path(), &error);
        s_setupError = error;
        if (!s_engine) return;
        // Looked up before any case writes.
        for (const CorpusValue& v : corpus().values) {
            QStringList missing;
            const QString sql = resolve(v.sql, s_values, &missing);
            QString value;
            QString problem =
                missing.isEmpty() ? QString() : QStringLiteral("uses unknown ") + missing.join(',');
            if (problem.isEmpty() && lookUp(s_engine->handle(), sql, &value, &problem))
                s_values.insert(v.name, value);
            else
                s_valueErrors << QStringLiteral("%1 (%2): %3").arg(v.name, v.location, problem);
        }
    }
    static void TearDownTestSuite() {
        s_engine.reset();
        s_dir.reset();
        s_values.clear();
        s_valueErrors.clear();
        s_ran.clear();
    }

    // Runs the cases named in c.after (and theirs) that have not run on this copy yet.
    static void runPrerequisites(const CorpusCase& c) {
        for (const QString& name : c.after) {
            for (const CorpusCase& earlier : corpus().cases) {
                if (earlier.name != name || s_ran.contains(name)) continue;
                runPrerequisites(earlier);
                QStringList missing;
                s_engine->execute(resolve(earlier.sql, s_values, &missing));
                s_ran.insert(name);
            }
        }
    }

    static std::unique_ptr<QTemporaryDir> s_dir;
    static std::unique_ptr<Engine> s_engine;
    static QString s_setupError;
    static QHash<QString, QString> s_values;
    static QStringList s_valueErrors;
    static QSet<QString> s_ran; // cases already run on this copy
};

std::unique_ptr<QTemporaryDir> CorpusStatement::s_dir;
std::unique_ptr<Engine> CorpusStatement::s_engine;
QString CorpusStatement::s_setupError;
QHash<QString, QString> CorpusStatement::s_values;
QStringList CorpusStatement::s_valueErrors;
QSet<QString> CorpusStatement::s_ran;

TEST_P(CorpusStatement, RunsWithExpectedColumns) {
    const CorpusCase& c = GetParam();
    ASSERT_TRUE(s_engine) << "demo database: " << s_setupError.toStdString();
    SCOPED_TRACE(c.location.toStdString());
    QStringList missing;
    const QString sql = resolve(c.sql, s_values, &missing);
    const QString rows = resolve(c.rows, s_values, &missing);
    const QString errorText = resolve(c.errorText, s_values, &missing);
    ASSERT_TRUE(missing.isEmpty()) << "values not found: " << describe(missing) << "; "
                                   << describe(s_valueErrors);
    runPrerequisites(c);
    const BatchResult r = s_engine->execute(sql);
    s_ran.insert(c.name);

    if (c.expectError) {
        EXPECT_FALSE(r.ok()) << "the statement should fail";
        if (!errorText.isEmpty()) {
            EXPECT_EQ(r.error.toStdString(), errorText.toStdString());
        }
        return;
    }
    ASSERT_TRUE(r.ok()) << "engine error: " << r.error.toStdString();
    if (!c.returnsRows) {
        EXPECT_TRUE(r.results.isEmpty())
            << "unexpected result set with columns " << describe(r.results.value(0).columns);
        return;
    }
    ASSERT_FALSE(r.results.isEmpty()) << "no result set";
    const ResultSet& last = r.results.last();
    if (c.moreColumns) {
        for (const QString& name : c.columns) {
            EXPECT_TRUE(name == QLatin1String("?") || last.columns.contains(name))
                << "missing column " << name.toStdString() << " in " << describe(last.columns);
        }
    } else {
        bool same = last.columns.size() == c.columns.size();
        for (int i = 0; same && i < c.columns.size(); ++i)
            same = c.columns.at(i) == QLatin1String("?") || c.columns.at(i) == last.columns.at(i);
        EXPECT_TRUE(same) << "columns " << describe(last.columns) << ", expected " << describe(c.columns);
    }
    if (rows == QLatin1String(">0")) {
        EXPECT_GT(last.rows.size(), 0) << "no rows on the demo data";
    } else if (!rows.isEmpty()) {
        EXPECT_EQ(last.rows.size(), rows.toInt()) << "row count";
    }
}

INSTANTIATE_TEST_SUITE_P(Corpus, CorpusStatement, ::testing::ValuesIn(corpus().cases),
                         [](const ::testing::TestParamInfo<CorpusCase>& info) {
                             return info.param.name.toStdString();
                         });

} // namespace
