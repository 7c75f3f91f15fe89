// dudodu-sql: runs T-SQL against an embedded database folder and prints each result, or creates
// the demo database.
#include "engine/DemoData.h"
#include "engine/Engine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QTextStream>
#include <cstdio>

using namespace dudodu::engine;

namespace {

QTextStream &out() {
    static QTextStream s(stdout);
    return s;
}
QTextStream &err() {
    static QTextStream s(stderr);
    return s;
}

QString cellText(const QVariant &v) {
    if (!v.isValid())
        return QStringLiteral("NULL");
    if (v.typeId() == QMetaType::Double)
        return QString::number(v.toDouble(), 'g', 15);
    return v.toString();
}

// Display width: East Asian characters take two columns in a terminal.
int displayWidth(const QString &s) {
    int w = 0;
    for (const QChar c : s)
        w += (c.unicode() >= 0x1100 && (c.unicode() <= 0x115f || (c.unicode() >= 0x2e80 && c.unicode() <= 0xa4cf) ||
                                        (c.unicode() >= 0xac00 && c.unicode() <= 0xd7a3) ||
                                        (c.unicode() >= 0xf900 && c.unicode() <= 0xfaff) ||
                                        (c.unicode() >= 0xfe30 && c.unicode() <= 0xfe4f) ||
                                        (c.unicode() >= 0xff00 && c.unicode() <= 0xff60) ||
                                        (c.unicode() >= 0xffe0 && c.unicode() <= 0xffe6)))
                 ? 2
                 : 1;
    return w;
}

void printTable(const ResultSet &rs) {
    QList<int> widths;
    for (const QString &c : rs.columns)
        widths << displayWidth(c);
    for (const QVariantList &row : rs.rows)
        for (int i = 0; i < row.size(); ++i)
            widths[i] = qMax(widths[i], displayWidth(cellText(row[i])));
    auto line = [&](const QStringList &cells) {
        QString s;
        for (int i = 0; i < cells.size(); ++i) {
            if (i)
                s += QStringLiteral(" | ");
            s += cells[i] + QString(widths[i] - displayWidth(cells[i]), u' ');
        }
        out() << s.trimmed() << '\n';
    };
    line(rs.columns);
    QStringList rule;
    for (int w : widths)
        rule << QString(w, u'-');
    line(rule);
    for (const QVariantList &row : rs.rows) {
        QStringList cells;
        for (const QVariant &v : row)
            cells << cellText(v);
        line(cells);
    }
    out() << "(" << rs.rows.size() << " row" << (rs.rows.size() == 1 ? "" : "s") << ")\n";
}

void printTsv(const ResultSet &rs) {
    auto clean = [](QString s) { return s.replace(u'\t', u' ').replace(u'\n', u' ').replace(u'\r', u' '); };
    QStringList header;
    for (const QString &c : rs.columns)
        header << clean(c);
    out() << header.join(u'\t') << '\n';
    for (const QVariantList &row : rs.rows) {
        QStringList cells;
        for (const QVariant &v : row)
            cells << (v.isValid() ? clean(cellText(v)) : QString());
        out() << cells.join(u'\t') << '\n';
    }
}

QString defaultDemoFolder() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).filePath(QStringLiteral("demo"));
}

bool createDemo(const QString &dir, double scale) {
    DemoOptions options;
    options.scale = scale;
    int lastShown = -1;
    options.progress = [&](double fraction, const QString &text) {
        const int percent = int(fraction * 100);
        if (percent / 10 != lastShown / 10) {
            err() << QStringLiteral("%1% %2").arg(percent, 3).arg(text) << Qt::endl;
            lastShown = percent;
        }
    };
    QElapsedTimer timer;
    timer.start();
    QString error;
    if (!createDemoDatabase(dir, options, &error)) {
        err() << "dudodu-sql: " << error << Qt::endl;
        return false;
    }
    qint64 bytes = 0;
    for (const QString &name : Engine::databaseNames())
        bytes += QFileInfo(QDir(dir).filePath(Engine::fileName(name))).size();
    err() << QStringLiteral("Demo database created in %1 (%2 MB, %3 s)")
                 .arg(QDir(dir).absolutePath())
                 .arg(double(bytes) / 1e6, 0, 'f', 1)
                 .arg(double(timer.elapsed()) / 1000.0, 0, 'f', 1)
          << Qt::endl;
    return true;
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("dudodu"));
    QCoreApplication::setApplicationVersion(QStringLiteral("4.197"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Runs T-SQL against an embedded dudodu database folder."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption({{QStringLiteral("d"), QStringLiteral("db")},
                      QStringLiteral("Database folder (default: the demo database)."), QStringLiteral("dir")});
    parser.addOption({{QStringLiteral("e"), QStringLiteral("execute")}, QStringLiteral("T-SQL text to run."),
                      QStringLiteral("sql")});
    parser.addOption({{QStringLiteral("f"), QStringLiteral("file")}, QStringLiteral("File of T-SQL to run."),
                      QStringLiteral("file")});
    parser.addOption({QStringLiteral("tsv"), QStringLiteral("Print results as tab-separated values.")});
    parser.addOption({QStringLiteral("create-demo"), QStringLiteral("Create the demo database in <dir>."),
                      QStringLiteral("dir")});
    parser.addOption({QStringLiteral("ensure-demo"),
                      QStringLiteral("Create the demo database in the user's data folder unless it exists, and "
                                     "print where it is.")});
    parser.addOption({QStringLiteral("scale"), QStringLiteral("Size of the demo data (1 = realistic)."),
                      QStringLiteral("factor"), QStringLiteral("1")});
    parser.process(app);

    const double scale = parser.value(QStringLiteral("scale")).toDouble();
    if (parser.isSet(QStringLiteral("create-demo")))
        return createDemo(parser.value(QStringLiteral("create-demo")), scale > 0 ? scale : 1.0) ? 0 : 1;

    const QString dir = parser.isSet(QStringLiteral("db")) ? parser.value(QStringLiteral("db")) : defaultDemoFolder();
    if (parser.isSet(QStringLiteral("ensure-demo"))) {
        if (!QFileInfo::exists(QDir(dir).filePath(Engine::fileName(Engine::databaseNames().first()))) &&
            !createDemo(dir, scale > 0 ? scale : 1.0))
            return 1;
        out() << QDir(dir).absolutePath() << '\n';
        return 0;
    }

    QString sql;
    if (parser.isSet(QStringLiteral("execute"))) {
        sql = parser.value(QStringLiteral("execute"));
    } else if (parser.isSet(QStringLiteral("file"))) {
        QFile f(parser.value(QStringLiteral("file")));
        if (!f.open(QIODevice::ReadOnly)) {
            err() << "dudodu-sql: cannot read " << f.fileName() << ": " << f.errorString() << Qt::endl;
            return 2;
        }
        sql = QString::fromUtf8(f.readAll());
    } else {
        QFile in;
        if (!in.open(stdin, QIODevice::ReadOnly)) {
            err() << "dudodu-sql: cannot read standard input" << Qt::endl;
            return 2;
        }
        sql = QString::fromUtf8(in.readAll());
    }

    QString error;
    auto engine = Engine::open(dir, &error);
    if (!engine) {
        err() << "dudodu-sql: " << error << Qt::endl;
        return 2;
    }
    const BatchResult result = engine->execute(sql);
    const bool tsv = parser.isSet(QStringLiteral("tsv"));
    for (int i = 0; i < result.results.size(); ++i) {
        if (i && !tsv)
            out() << '\n';
        tsv ? printTsv(result.results[i]) : printTable(result.results[i]);
    }
    if (result.results.isEmpty() && !tsv && result.ok())
        out() << "(" << result.rowsAffected << " row(s) affected)\n";
    out().flush();
    if (!result.ok()) {
        for (const QString &e : result.errors)
            err() << "Msg: " << e << Qt::endl;
        if (!result.errors.contains(result.error))
            err() << "Msg: " << result.error << Qt::endl;
        return 1;
    }
    return 0;
}
