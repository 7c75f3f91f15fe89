// Loading a department's offerings into the main window's grid, end to end through LoadCourseList:
// the department-year lists, the offering query, and per offering its record with teachers, rooms
// and curriculum link, the grid rows drawn. The window is logged in through the real login window.
//
//   bench_course_load [--sizes 50,150,300] [--loads 10] [--embedded-only]
//
// First the largest department of the demo database as it is, then the same department made to hold
// each of the given numbers of offerings (by dropping offerings or adding copies). Prints the
// statements sent per load and the time per load (median, fastest, slowest) on the embedded
// connection and through dudodu-server over loopback TLS (the server a child process).
// Uses the demo database in $DUDODU_BENCH_DB (copied, never changed), or creates one at scale 1.
#include "BenchDemo.h"
#include "ServerHarness.h"
#include "app/LoginForm.h"
#include "common/Helpers.h"
#include "common/HtmlGrid.h"
#include "common/ScriptedDialogs.h"
#include "db/DataModule.h"
#include "db/EmbeddedConnection.h"
#include "db/TlsConnection.h"
#include "engine/DemoData.h"
#include "engine/Engine.h"
#include "forms/main/KursplanForm.h"

#include <QApplication>
#include <QComboBox>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <sqlite3.h>

using namespace dudodu;

namespace {

// Passes everything to the real connection and counts the batches sent.
class TCountingConnection : public TConnection {
  public:
    explicit TCountingConnection(std::unique_ptr<TConnection> inner) : m_inner(std::move(inner)) {
        connect(m_inner.get(), &TConnection::loginVerdict, this, &TConnection::loginVerdict);
        connect(m_inner.get(), &TConnection::activeChanged, this, &TConnection::activeChanged);
    }
    void open(const QString& user, const QString& password) override {
        m_inner->open(user, password);
        setLastError(m_inner->lastError());
    }
    void close() override { m_inner->close(); }
    bool isActive() const override { return m_inner->isActive(); }
    TBatchReply execute(const QString& batch) override {
        ++batches;
        return m_inner->execute(batch);
    }
    QString serverAddress() const override { return m_inner->serverAddress(); }

    int batches = 0;

  private:
    std::unique_ptr<TConnection> m_inner;
};

using bench::Department;

void exec(sqlite3* db, const QString& sql) {
    char* message = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &message) != SQLITE_OK)
        qFatal("%s\n%s", message, qPrintable(sql));
}

qint64 scalar(sqlite3* db, const QString& sql) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &statement, nullptr) != SQLITE_OK)
        qFatal("%s\n%s", sqlite3_errmsg(db), qPrintable(sql));
    const qint64 value = sqlite3_step(statement) == SQLITE_ROW ? sqlite3_column_int64(statement, 0) : 0;
    sqlite3_finalize(statement);
    return value;
}

// The columns of a table, with the given ones replaced by expressions: for copying rows.
QString columnList(sqlite3* db, const QString& table, const QMap<QString, QString>& replaced, bool names) {
    const QStringList parts = table.split(u'.');
    sqlite3_stmt* statement = nullptr;
    const QString sql = QStringLiteral("pragma %1.table_info(%2)").arg(parts[0], parts[1]);
    sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &statement, nullptr);
    QStringList columns;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        const QString name =
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 1)));
        const QString quoted = u'"' + name + u'"';
        columns << (names ? quoted : replaced.value(name.toUpper(), quoted));
    }
    sqlite3_finalize(statement);
    return columns.join(u',');
}

// Makes the department hold exactly n offerings of its year and semester: the last ones by serial
// are dropped with their teachers and rooms, or copies of the first ones (with their teachers and
// rooms, under new serials, groups and subject codes) are added.
void resizeDepartment(sqlite3* db, const Department& d, int n) {
    const QString where =
        QStringLiteral("DEPARTMENT='%1' and YEAR=%2 and SEMESTER=%3").arg(d.code).arg(d.year).arg(d.semester);
    exec(db, QStringLiteral("begin"));
    int have = int(scalar(db, "select count(*) from VELM_DBASE.SEMESUBJECT where " + where));
    if (have > n) {
        exec(db, QStringLiteral("create temp table dropped as select RSUBJ_SERNO, SUBJECT_GROUP from "
                                "VELM_DBASE.SEMESUBJECT where %1 order by RSUBJ_SERNO desc limit %2")
                     .arg(where)
                     .arg(have - n));
        for (const char* table : {"SEMETEACHER", "SEMECLASSROOM"})
            exec(db, QStringLiteral("delete from VELM_DBASE.%1 where SUBJECT_GROUP in (select SUBJECT_GROUP "
                                    "from temp.dropped)")
                         .arg(QLatin1String(table)));
        exec(db, QStringLiteral("delete from VELM_DBASE.SEMESUBJECT where RSUBJ_SERNO in (select RSUBJ_SERNO "
                                "from temp.dropped)"));
        exec(db, QStringLiteral("drop table temp.dropped"));
    }
    const int originals = int(scalar(db, "select count(*) from VELM_DBASE.SEMESUBJECT where " + where +
                                             " and SUBJECT_ID not like '%#%'"));
    const int rounds = int(scalar(db, "select count(*) from VELM_DBASE.SEMESUBJECT where " + where +
                                          " and SUBJECT_ID like '%#%'"));
    for (int round = rounds + 1; have < n; ++round) {
        // Copies are marked in their subject code, so that only the department's own offerings are
        // copied again; new serials and groups start above every one in use.
        const int take = std::min(originals, n - have);
        const qint64 serials =
            scalar(db, QStringLiteral("select max(RSUBJ_SERNO) from VELM_DBASE.SEMESUBJECT"));
        qint64 groups = 0;
        for (const char* table : {"SEMESUBJECT", "SEMETEACHER", "SEMECLASSROOM"})
            groups =
                std::max(groups, scalar(db, QStringLiteral("select max(SUBJECT_GROUP) from VELM_DBASE.%1")
                                                .arg(QLatin1String(table))));
        exec(db, QStringLiteral("create temp table copied as select RSUBJ_SERNO, SUBJECT_GROUP from "
                                "VELM_DBASE.SEMESUBJECT where %1 and SUBJECT_ID not like '%#%' order by "
                                "RSUBJ_SERNO limit %2")
                     .arg(where)
                     .arg(take));
        const QMap<QString, QString> subject{
            {"RSUBJ_SERNO", QStringLiteral("RSUBJ_SERNO+%1").arg(serials)},
            {"SUBJECT_GROUP", QStringLiteral("SUBJECT_GROUP+%1").arg(groups)},
            {"SUBJECT_ID", QStringLiteral("SUBJECT_ID||'#%1'").arg(round)}};
        exec(db,
             QStringLiteral("insert into VELM_DBASE.SEMESUBJECT (%1) select %2 from VELM_DBASE.SEMESUBJECT "
                            "where RSUBJ_SERNO in (select RSUBJ_SERNO from temp.copied)")
                 .arg(columnList(db, "VELM_DBASE.SEMESUBJECT", {}, true),
                      columnList(db, "VELM_DBASE.SEMESUBJECT", subject, false)));
        if (sqlite3_changes(db) != take) qFatal("copied %d offerings of %d", sqlite3_changes(db), take);
        const QMap<QString, QString> group{{"SUBJECT_GROUP", QStringLiteral("SUBJECT_GROUP+%1").arg(groups)}};
        for (const char* name : {"VELM_DBASE.SEMETEACHER", "VELM_DBASE.SEMECLASSROOM"}) {
            const QString table = QLatin1String(name);
            exec(db, QStringLiteral("insert into %1 (%2) select %3 from %1 where SUBJECT_GROUP in (select "
                                    "SUBJECT_GROUP from temp.copied)")
                         .arg(table, columnList(db, table, {}, true), columnList(db, table, group, false)));
        }
        exec(db, QStringLiteral("drop table temp.copied"));
        have += take;
    }
    exec(db, QStringLiteral("commit"));
}

QString copyDatabase(const QString& from, const QString& to) {
    QDir().mkpath(to);
    for (const QFileInfo& file : QDir(from).entryInfoList(QDir::Files))
        if (!QFile::copy(file.filePath(), to + u'/' + file.fileName()))
            qFatal("cannot copy %s", qPrintable(file.filePath()));
    return to;
}

struct Figures {
    double median = 0, fastest = 0, slowest = 0;
    int statements = 0, rows = 0;
};

// Logs the office in on a window over connection, then loads the department `loads` times.
Figures measure(std::unique_ptr<TConnection> connection, const Department& d, int loads,
                const TScopedScriptedDialogs& dialogs) {
    auto counting = std::make_unique<TCountingConnection>(std::move(connection));
    TCountingConnection* counter = counting.get();
    TDM dm(std::move(counting));
    TfrmKURSPLAN main(dm);
    TfrmLOGIN login(dm, main);
    main.ShowLogin = [&login] {
        login.show();
        login.edUSERNAME->setText(QStringLiteral("office"));
        login.edPASSWORD->setText(QStringLiteral("demo1234"));
        login.bbLOGINClick();
        login.hide();
        return login.result() == TfrmLOGIN::mrYes;
    };
    main.resize(1280, 800);
    main.show();
    main.btCONNECTClick(); // the first press connects and reads the design year
    if (!dm.DBCON().isActive()) qFatal("office login refused");
    dialogs->clear(); // the connect phase's notice
    QComboBox* departments = main.cbLoginDepID;
    int index = -1;
    for (int i = 0; i < departments->count() && index < 0; ++i)
        if (ComboItemCode(departments, i) == d.code) index = i;
    if (index < 0) qFatal("department %s not listed", qPrintable(d.code));
    departments->setCurrentIndex(index);
    main.edSYEAR->setText(QString::number(d.year));
    main.edSEME->setText(QString::number(d.semester));
    main.edcrsyear->setText(QString::number(d.year));

    QList<double> times;
    Figures figures;
    for (int i = 0; i < loads; ++i) {
        const int before = counter->batches;
        QElapsedTimer clock;
        clock.start();
        if (!main.LoadCourseList()) qFatal("load refused");
        QApplication::processEvents(); // the grid is drawn before the load counts as done
        times << double(clock.nsecsElapsed()) / 1e6;
        figures.statements = counter->batches - before;
    }
    if (!dialogs->shown().isEmpty())
        qFatal("unexpected message: %s", qPrintable(dialogs->last().message.text));
    figures.rows = main.SG2->RowCount() - 1;
    std::sort(times.begin(), times.end());
    figures.median = times[times.size() / 2];
    figures.fastest = times.first();
    figures.slowest = times.last();
    return figures;
}

void print(const char* what, int offerings, const Figures& embedded, const Figures* tls) {
    std::printf("%-13s %9d %6d %10d %9.1f %7.1f %7.1f", what, offerings, embedded.rows, embedded.statements,
                embedded.median, embedded.fastest, embedded.slowest);
    if (tls) std::printf(" %9.1f %7.1f %7.1f", tls->median, tls->fastest, tls->slowest);
    std::printf("\n");
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption sizesOption(QStringLiteral("sizes"), QStringLiteral("Department sizes to load."),
                                         QStringLiteral("N,N,..."), QStringLiteral("50,150,300"));
    const QCommandLineOption loadsOption(QStringLiteral("loads"), QStringLiteral("Loads per size."),
                                         QStringLiteral("L"), QStringLiteral("10"));
    const QCommandLineOption embeddedOnlyOption(QStringLiteral("embedded-only"),
                                                QStringLiteral("Skip the loads through dudodu-server."));
    parser.addOptions({sizesOption, loadsOption, embeddedOnlyOption});
    parser.process(app);
    const int loads = std::max(1, parser.value(loadsOption).toInt());

    TScopedScriptedDialogs dialogs; // a message box must never wait for a click here
    QTemporaryDir temp;
    const QString folder = copyDatabase(bench::demoFolder(temp), temp.filePath(QStringLiteral("work")));
    const Department d = bench::largestDepartment(folder);
    // The server serves the same folder, so that both connections load the same department.
    std::unique_ptr<bench::ServerHarness> server;
    if (!parser.isSet(embeddedOnlyOption)) {
        bench::ServerHarness::Options options;
        options.database = folder;
        server = std::make_unique<bench::ServerHarness>(options);
    }
    const auto run = [&](const char* what, int offerings) {
        const Figures embedded = measure(std::make_unique<TEmbeddedConnection>(folder), d, loads, dialogs);
        if (!server) return print(what, offerings, embedded, nullptr);
        const Figures tls = measure(
            std::make_unique<TTlsConnection>(QStringLiteral("127.0.0.1"), server->port, server->certificate),
            d, loads, dialogs);
        print(what, offerings, embedded, &tls);
    };

    std::printf("department %s %d-%d, %d offerings; %d loads each\n", qPrintable(d.code), d.year, d.semester,
                d.offerings, loads);
    std::printf("%-13s %9s %6s %10s %25s %25s\n", "", "", "", "", "embedded ms",
                server ? "loopback TLS ms" : "");
    std::printf("%-13s %9s %6s %10s %9s %7s %7s %9s %7s %7s\n", "", "offerings", "rows", "statements",
                "median", "fastest", "slowest", "median", "fastest", "slowest");
    run("as generated", d.offerings);
    for (const QString& size : parser.value(sizesOption).split(u',', Qt::SkipEmptyParts)) {
        const int n = size.toInt();
        {
            QString error;
            auto engine = engine::Engine::open(folder, &error);
            if (!engine) qFatal("open: %s", qPrintable(error));
            resizeDepartment(engine->handle(), d, n);
        }
        run("resized", n);
    }
    return 0;
}
