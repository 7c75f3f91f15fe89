// Load generator: N concurrent sessions through dudodu-server over loopback TLS, each running the
// course-list statement sequence of the largest demo department (the list, then per offering its
// teacher and room queries) for a number of rounds. Prints throughput, per-statement p50/p99/max,
// errors, and the CPU time per statement of the clients and of the server for each N.
//
// The headline figure is closed-loop: every session sends its next statement as soon as the last
// one is answered, with no think time, so by Little's law the mean latency is N / throughput. The
// server runs as a child process (the real dudodu-server binary) unless --in-process is given;
// either way clients and server share this machine's cores. --pause-ms adds a pause after each
// department load (a paced variant, labelled as such; not the headline figure).
//
//   bench_server_load [--sessions 10,50,100] [--rounds 3] [--pause-ms 0] [--in-process]
//                     [--io-threads 0] [--batch-threads 0] [--server PATH]
// Uses the demo database in $DUDODU_BENCH_DB, or creates one at scale 1 in a temporary folder.
#include "ServerHarness.h"

#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QMutex>
#include <QRandomGenerator>
#include <algorithm>
#include <cstdio>
#include <latch>
#include <sys/resource.h>

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

double ownCpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void run(const bench::ServerHarness& h, int sessions, int rounds, int pauseMs) {
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
            // Paced sessions start spread over one pause, as users do not all click at once.
            if (pauseMs > 0) QThread::msleep(QRandomGenerator::global()->bounded(pauseMs));
            for (int r = 0; connection && r < rounds; ++r) {
                if (r > 0 && pauseMs > 0) QThread::msleep(pauseMs);
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
    const double clientCpu = ownCpuSeconds(), serverCpu = h.serverCpuSeconds();
    QElapsedTimer wall;
    wall.start();
    go.count_down();
    for (auto& t : threads)
        t->wait();
    const double seconds = double(wall.nsecsElapsed()) / 1e9;
    const double statements = double(qMax<qsizetype>(1, all.micros.size()));
    const double clientUs = (ownCpuSeconds() - clientCpu) * 1e6 / statements;
    const double serverUs = h.serverInProcess() ? -1 : (h.serverCpuSeconds() - serverCpu) * 1e6 / statements;
    std::sort(all.micros.begin(), all.micros.end());
    std::printf("%8d %8lld %10.0f %9.2f %9.2f %9.2f %7lld %9.0f %9.0f\n", sessions, qint64(all.micros.size()),
                double(all.micros.size()) / seconds, percentile(all.micros, 0.50),
                percentile(all.micros, 0.99), all.micros.isEmpty() ? 0.0 : double(all.micros.last()) / 1000.0,
                qint64(all.errors.size()), clientUs, serverUs);
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
    const QCommandLineOption pauseOption(QStringLiteral("pause-ms"),
                                         QStringLiteral("Pause after each sequence (paced variant)."),
                                         QStringLiteral("MS"), QStringLiteral("0"));
    const QCommandLineOption inProcessOption(QStringLiteral("in-process"),
                                             QStringLiteral("Run the server in a thread of this process."));
    const QCommandLineOption ioOption(QStringLiteral("io-threads"), QStringLiteral("Server I/O threads."),
                                      QStringLiteral("N"), QStringLiteral("0"));
    const QCommandLineOption batchOption(QStringLiteral("batch-threads"),
                                         QStringLiteral("Server batch threads."), QStringLiteral("N"),
                                         QStringLiteral("0"));
    const QCommandLineOption serverOption(QStringLiteral("server"),
                                          QStringLiteral("The dudodu-server binary to run (another build)."),
                                          QStringLiteral("PATH"), QStringLiteral(DUDODU_SERVER_BINARY));
    parser.addOptions(
        {sessionsOption, roundsOption, pauseOption, inProcessOption, ioOption, batchOption, serverOption});
    parser.process(app);

    bench::ServerHarness::Options options;
    options.where = parser.isSet(inProcessOption) ? bench::ServerHarness::Where::InProcess
                                                  : bench::ServerHarness::Where::ChildProcess;
    options.ioThreads = parser.value(ioOption).toInt();
    options.batchThreads = parser.value(batchOption).toInt();
    options.serverBinary = parser.value(serverOption);
    const int pauseMs = parser.value(pauseOption).toInt();
    const bench::ServerHarness h(options);
    std::printf(
        "department %s, %d offerings: %d statements per sequence; server %s; %s\n", qPrintable(h.department),
        h.offerings, 1 + 2 * h.offerings, h.serverInProcess() ? "in this process" : "in a child process",
        pauseMs > 0 ? qPrintable(QStringLiteral("PACED: %1 ms pause after each sequence").arg(pauseMs))
                    : "closed loop, no think time");
    // CPU per statement: this process (the clients, and the server too when it runs in here) and
    // the server's child process (-1 when there is none).
    std::printf("%8s %8s %10s %9s %9s %9s %7s %9s %9s\n", "sessions", "stmts", "stmts/s", "p50 ms", "p99 ms",
                "max ms", "errors", h.serverInProcess() ? "all us/st" : "cli us/st", "srv us/st");
    for (const QString& n : parser.value(sessionsOption).split(u',', Qt::SkipEmptyParts))
        run(h, n.toInt(), parser.value(roundsOption).toInt(), pauseMs);
    return 0;
}
