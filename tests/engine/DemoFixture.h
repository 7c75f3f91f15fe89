// The demo database shared by the tests of one test process, at a small scale. The test run makes it
// once (the folder in $DUDODU_TEST_DEMO) and each process takes its own copy, so no process can
// change another's; without that folder (a test program started by hand) it is generated here.
// Tests only read it; a test that writes works on its own copy (copyDemoDatabase).
#pragma once

#include "engine/DemoData.h"
#include "engine/Engine.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace dudodu::test {

constexpr double kDemoScale = 0.05;

struct DemoDatabase {
    QTemporaryDir dir;
    QString folder;
    QString error;
    DemoDatabase() {
        folder = QDir(dir.path()).filePath(QStringLiteral("demo"));
        const QString made = qEnvironmentVariable("DUDODU_TEST_DEMO");
        if (!made.isEmpty() && copyFiles(made)) return;
        engine::DemoOptions options;
        options.scale = kDemoScale;
        if (!engine::createDemoDatabase(folder, options, &error)) folder.clear();
    }

  private:
    // False (and nothing usable left) when the made folder is incomplete: the caller generates.
    bool copyFiles(const QString& made) {
        QDir(folder).removeRecursively();
        if (!QDir().mkpath(folder)) return false;
        for (const QString& name : engine::Engine::databaseNames()) {
            const QString file = engine::Engine::fileName(name);
            if (!QFile::copy(QDir(made).filePath(file), QDir(folder).filePath(file))) {
                QDir(folder).removeRecursively();
                return false;
            }
        }
        return true;
    }
};

inline const DemoDatabase& demoDatabase() {
    static const DemoDatabase db;
    return db;
}

// Folder of the shared demo database; empty when it could not be generated (see demoError()).
inline const QString& demoFolder() {
    return demoDatabase().folder;
}
inline const QString& demoError() {
    return demoDatabase().error;
}

// Copies the four database files into target (an existing folder without them), for a test that
// writes. False with a reason when the demo database is missing or a file cannot be copied.
inline bool copyDemoDatabase(const QString& target, QString* error) {
    if (demoFolder().isEmpty()) {
        *error = QStringLiteral("no demo database: %1").arg(demoError());
        return false;
    }
    for (const QString& name : engine::Engine::databaseNames()) {
        const QString file = engine::Engine::fileName(name);
        if (!QFile::copy(QDir(demoFolder()).filePath(file), QDir(target).filePath(file))) {
            *error = QStringLiteral("cannot copy %1 to %2").arg(file, target);
            return false;
        }
    }
    return true;
}

// An engine over a private copy of the demo database in dir (which lives as long as the test needs).
inline std::unique_ptr<engine::Engine> openDemoCopy(const QTemporaryDir& dir, QString* error) {
    if (!copyDemoDatabase(dir.path(), error)) return nullptr;
    return engine::Engine::open(dir.path(), error);
}

} // namespace dudodu::test
