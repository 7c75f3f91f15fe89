// Load generator: N concurrent sessions through dudodu-server over loopback TLS, each running the
// course-list statement sequence of the largest demo department (the list, then per offering its
// teacher and room queries) for a number of rounds. Prints throughput, per-statement p50/p99 and
// errors for each N.
//
//   bench_server_load [--sessions 10,50,100] [--rounds 3]
// Uses the demo database in $DUDODU_BENCH_DB, or creates one at scale 1 in a temporary folder.
#include "ServerHarness.h"

#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QMutex>
#include <algorithm>
#include <cstdio>
#include <latch>

using namespace dudodu;

namespace {

struct Outcome {
    QList<qint64> micros; // one per statement
    QStringList errors;
};

double percentile(QList<qint64> sorted, double p) {
    if (sorted.isEmpty()) return 0;
    const qsizetype index = std::min(sorted.size() - 1, qsizetype(p * double(sorted.size() - 1) + 0.5));
    return double(sorted[index]) / 1000.0;
}

void run(const bench::ServerHarness& h, int sessions, int rounds) {
    std::latch ready(sessions + 1);
    std::latch go(1);
    QMutex mutex;
    Outcome all;
    std::vector<std::unique_ptr<QThread>> threads;
    for (int s = 0; s < sessions; ++s) {
        threads.emplace_back(QThread::create([&, s] {
            Outcome mine;
            auto connection = h.connect(s % 2 ? QStringLiteral("office") : QStringLiteral("programmer"));
            if (!connection) mine.errors << QStringLiteral("login failed");
            ready.count_down();
            go.wait();
            QElapsedTimer clock;
            auto statement = [&](const QString& sql) {
                clock.start();
                TBatchReply reply = connection->execute(sql);
                mine.micros << clock.nsecsElapsed() / 1000;
                if (!reply.ok()) mine.errors << reply.error;
                return reply;
            };
            for (int r = 0; connection && r < rounds; ++r) {
                const TBatchReply list = statement(h.listQuery());
                if (list.results.isEmpty()) break;
                for (const QVariantList& row : list.results[0].rows) {
                    statement(h.teacherQuery(row[1].toLongLong()));
                    statement(h.roomQuery(row[1].toLongLong()));
                }
            }
            QMutexLocker lock(&mutex);
            all.micros += mine.micros;
            all.errors += mine.errors;
        }));
        threads.back()->start();
    }
    ready.arrive_and_wait();
    QElapsedTimer wall;
    wall.start();
    go.count_down();
    for (auto& t : threads)
        t->wait();
    const double seconds = double(wall.nsecsElapsed()) / 1e9;
    std::sort(all.micros.begin(), all.micros.end());
    std::printf("%8d %8lld %10.0f %9.2f %9.2f %9.2f %7lld\n", sessions, qint64(all.micros.size()),
                double(all.micros.size()) / seconds, percentile(all.micros, 0.50),
                percentile(all.micros, 0.99), all.micros.isEmpty() ? 0.0 : double(all.micros.last()) / 1000.0,
                qint64(all.errors.size()));
    if (!all.errors.isEmpty()) std::printf("         first error: %s\n", qPrintable(all.errors.first()));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption sessionsOption(QStringLiteral("sessions"),
                                            QStringLiteral("Session counts to run."),
                                            QStringLiteral("N,N,..."), QStringLiteral("10,50,100"));
    const QCommandLineOption roundsOption(QStringLiteral("rounds"), QStringLiteral("Sequences per session."),
                                          QStringLiteral("R"), QStringLiteral("3"));
    parser.addOptions({sessionsOption, roundsOption});
    parser.process(app);

    const bench::ServerHarness h;
    std::printf("department %s, %d offerings: %d statements per sequence\n", qPrintable(h.department),
                h.offerings, 1 + 2 * h.offerings);
    std::printf("%8s %8s %10s %9s %9s %9s %7s\n", "sessions", "stmts", "stmts/s", "p50 ms", "p99 ms",
                "max ms", "errors");
    for (const QString& n : parser.value(sessionsOption).split(u',', Qt::SkipEmptyParts))
        run(h, n.toInt(), parser.value(roundsOption).toInt());
    return 0;
}
