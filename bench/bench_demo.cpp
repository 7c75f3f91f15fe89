// Time to create the demo database (Engine::create + generation) and the size of its four files.
// Run: build-*/bench/bench_demo   (the argument is the scale in percent; 100 = the client's default)
#include "engine/DemoData.h"
#include "engine/Engine.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace dudodu::engine;

static void BM_CreateDemoDatabase(benchmark::State& state) {
    QTemporaryDir dir;
    DemoOptions options;
    options.scale = double(state.range(0)) / 100;
    qint64 bytes = 0;
    int run = 0;
    for (auto _ : state) {
        const QString folder = QDir(dir.path()).filePath(QString::number(run++));
        QString error;
        if (!createDemoDatabase(folder, options, &error)) {
            state.SkipWithError(error.toStdString().c_str());
            break;
        }
        state.PauseTiming();
        bytes = 0;
        for (const QString& name : Engine::databaseNames())
            bytes += QFileInfo(QDir(folder).filePath(Engine::fileName(name))).size();
        state.ResumeTiming();
    }
    state.counters["files_MiB"] = double(bytes) / (1024 * 1024);
}
BENCHMARK(BM_CreateDemoDatabase)->Arg(100)->Arg(5)->Iterations(1)->Unit(benchmark::kSecond);

BENCHMARK_MAIN();
