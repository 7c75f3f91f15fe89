// What the benchmarks share: the demo database they run on and its largest department.
#pragma once

#include "engine/DemoData.h"
#include "engine/Engine.h"

#include <QTemporaryDir>

namespace dudodu::bench {

// The demo database in $DUDODU_BENCH_DB, or one made at the given scale in temp.
inline QString demoFolder(const QTemporaryDir& temp, double scale = 1.0) {
    QString folder = qEnvironmentVariable("DUDODU_BENCH_DB");
    if (!folder.isEmpty()) return folder;
    folder = temp.filePath(QStringLiteral("demo"));
    engine::DemoOptions options;
    options.scale = scale;
    QString error;
    if (!engine::createDemoDatabase(folder, options, &error)) qFatal("demo database: %s", qPrintable(error));
    return folder;
}

// The department with the most offerings in one year and semester.
struct Department {
    QString code;
    int year = 0, semester = 0, offerings = 0;
};

inline Department largestDepartment(engine::Engine& engine) {
    const engine::BatchResult r =
        engine.execute("select top 1 DEPARTMENT, YEAR, SEMESTER, count(*) from VELM_DBASE..SEMESUBJECT "
                       "group by DEPARTMENT, YEAR, SEMESTER order by count(*) desc");
    if (!r.ok() || r.results.isEmpty() || r.results[0].rows.isEmpty())
        qFatal("no offerings: %s", qPrintable(r.error));
    const QVariantList row = r.results[0].rows[0];
    return {row[0].toString(), row[1].toInt(), row[2].toInt(), row[3].toInt()};
}

inline Department largestDepartment(const QString& folder) {
    QString error;
    auto engine = engine::Engine::open(folder, &error);
    if (!engine) qFatal("open %s: %s", qPrintable(folder), qPrintable(error));
    return largestDepartment(*engine);
}

} // namespace dudodu::bench
