// Deterministic generator of the demo university: colleges, departments and classes, teachers,
// rooms, curriculum rules, four semesters of offerings with rooms and rentals, selections,
// configuration items and demo accounts.
#pragma once

#include <QString>
#include <functional>

namespace dudodu::engine {

class Engine;

struct DemoOptions {
    double scale = 1.0;   // 1 = realistic size (about 3,000 offerings per semester)
    quint32 seed = 20121; // same seed and scale give the same data
    // Called now and then with a fraction 0..1 and a short text; may be empty.
    std::function<void(double, const QString &)> progress;
};

// Fills a freshly created engine (Engine::create) with the demo data.
bool generateDemoData(Engine &engine, const DemoOptions &options, QString *error);

// Creates dir and the demo database in it. Convenience over Engine::create + generateDemoData.
bool createDemoDatabase(const QString &dir, const DemoOptions &options, QString *error);

} // namespace dudodu::engine
