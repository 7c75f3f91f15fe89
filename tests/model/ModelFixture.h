// A small database for the model tests: the empty schema of the engine, filled by each test with the
// handful of rows it needs, reached through a query dataset as the windows reach theirs.
#pragma once

#include "db/EngineReply.h"
#include "db/Connection.h"
#include "db/DataSet.h"
#include "engine/Engine.h"
#include "model/ClassRoomList.h"

#include <QListWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace dudodu::test {

// The lines a list box shows.
inline QStringList ListBoxLines(const QListWidget& box) {
    QStringList result;
    for (int i = 0; i < box.count(); ++i)
        result.append(box.item(i)->text());
    return result;
}

// A connection straight to an engine the test holds, so that the test can fill it and fix its clock.
class TEngineConnection : public TConnection {
  public:
    explicit TEngineConnection(engine::Engine& engine) : m_engine(engine) {}
    void open(const QString&, const QString&) override {}
    void close() override {}
    bool isActive() const override { return true; }
    QString serverAddress() const override { return QStringLiteral("test"); }
    TBatchReply execute(const QString& batch) override {
        batches.append(batch);
        if (!failWith.isEmpty()) {
            TBatchReply refused;
            refused.error = failWith;
            return refused;
        }
        return toBatchReply(m_engine.execute(batch));
    }
    QStringList batches; // every batch sent, in order
    QString failWith;    // when set, every batch fails with this server text

  private:
    engine::Engine& m_engine;
};

class ModelDbTest : public ::testing::Test {
  protected:
    // Made before the members of derived fixtures, which may hold on to the dataset.
    ModelDbTest() {
        engine = engine::Engine::create(dir.filePath(QStringLiteral("db")), &createError);
        if (engine) connection = std::make_unique<TEngineConnection>(*engine);
        if (connection) query = std::make_unique<TQueryDataSet>(*connection, QStringLiteral("q_tmp"));
    }

    void SetUp() override { ASSERT_TRUE(query) << createError.toStdString(); }

    // Runs statements that fill the fixture; a failure ends the test.
    void exec(const QString& batch) {
        const engine::BatchResult result = engine->execute(batch);
        ASSERT_TRUE(result.ok()) << result.error.toStdString() << "\n" << batch.toStdString();
    }

    QTemporaryDir dir;
    QString createError;
    std::unique_ptr<engine::Engine> engine;
    std::unique_ptr<TEngineConnection> connection;
    std::unique_ptr<TQueryDataSet> query;
};

// The state of a save as the checks read it.
class TTestBookingContext : public TBookingContext {
  public:
    explicit TTestBookingContext(TQueryDataSet& query) : m_query(query) {}
    QString YearText() const override { return year; }
    QString SemesterText() const override { return semester; }
    QString LimitText() const override { return limit; }
    QStringList TeacherLines() const override { return teachers; }
    bool IsCurriculumOffice() const override { return curriculumOffice; }
    int CurrentSerial() const override { return serial; }
    QStringList& RentalConflicts() override { return conflicts; }
    TQueryDataSet& Query() override { return m_query; }

    QString year = QStringLiteral("113");
    QString semester = QStringLiteral("1");
    QString limit = QStringLiteral("50");
    QStringList teachers;
    bool curriculumOffice = false;
    int serial = 0;
    QStringList conflicts;

  private:
    TQueryDataSet& m_query;
};

} // namespace dudodu::test
