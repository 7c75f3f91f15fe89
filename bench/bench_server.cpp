// Round-trip time of one small statement through dudodu-server over loopback TLS, next to the same
// statement on the embedded engine; the ratio is what the middleware costs per statement. Also the
// course-list sequence both ways. The server is the dudodu-server binary in a child process, so the
// CPU column is the client's alone.
//
// Uses the demo database in $DUDODU_BENCH_DB, or creates one at scale 1 in a temporary folder.
#include "ServerHarness.h"

#include <benchmark/benchmark.h>

using namespace dudodu;

namespace {

bench::ServerHarness& harness() {
    static bench::ServerHarness h;
    return h;
}

const QString kSmall =
    QStringLiteral("select CLASS_ID, LOCATION from VELM_DBASE..sub_class where CLASS_ID='CS__'");

void BM_SmallStatementEmbedded(benchmark::State& state) {
    QString error;
    auto engine = engine::Engine::open(harness().folder, &error);
    for (auto _ : state)
        benchmark::DoNotOptimize(engine->execute(kSmall));
}

void BM_SmallStatementTls(benchmark::State& state) {
    auto connection = harness().connect();
    if (!connection) return state.SkipWithError("login failed");
    for (auto _ : state) {
        const TBatchReply reply = connection->execute(kSmall);
        if (!reply.ok()) return state.SkipWithError(qPrintable(reply.error));
    }
}

void BM_CourseListEmbedded(benchmark::State& state) {
    QString error;
    auto engine = engine::Engine::open(harness().folder, &error);
    for (auto _ : state) {
        const engine::BatchResult list = engine->execute(harness().listQuery());
        for (const QVariantList& row : list.results[0].rows) {
            benchmark::DoNotOptimize(engine->execute(harness().teacherQuery(row[1].toLongLong())));
            benchmark::DoNotOptimize(engine->execute(harness().roomQuery(row[1].toLongLong())));
        }
    }
    state.counters["offerings"] = harness().offerings;
}

void BM_CourseListTls(benchmark::State& state) {
    auto connection = harness().connect();
    if (!connection) return state.SkipWithError("login failed");
    for (auto _ : state) {
        const TBatchReply list = connection->execute(harness().listQuery());
        for (const QVariantList& row : list.results[0].rows) {
            benchmark::DoNotOptimize(connection->execute(harness().teacherQuery(row[1].toLongLong())));
            benchmark::DoNotOptimize(connection->execute(harness().roomQuery(row[1].toLongLong())));
        }
    }
    state.counters["offerings"] = harness().offerings;
}

} // namespace

BENCHMARK(BM_SmallStatementEmbedded)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SmallStatementTls)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CourseListEmbedded)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CourseListTls)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
