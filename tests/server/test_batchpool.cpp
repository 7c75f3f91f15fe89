// The pool that runs logins and batches: first come first served, a stuck job does not hold up the
// others, and nothing already submitted is dropped when the pool goes.
#include "server/BatchPool.h"

#include <QElapsedTimer>
#include <QSemaphore>
#include <atomic>
#include <gtest/gtest.h>

namespace dudodu::server {
namespace {

// Polls until condition holds or 10 s pass.
template <typename Condition> bool eventually(Condition condition) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > 10000) return false;
        QThread::msleep(5);
    }
    return true;
}

TEST(BatchPoolTest, JobsRunInTheOrderTheyCame) {
    QMutex mutex;
    QList<int> order;
    {
        BatchPool pool(1);
        for (int i = 0; i < 200; ++i)
            pool.submit([&, i] {
                QMutexLocker lock(&mutex);
                order << i;
            });
    }
    QList<int> expected;
    for (int i = 0; i < 200; ++i)
        expected << i;
    EXPECT_EQ(order, expected);
}

TEST(BatchPoolTest, AStuckJobDoesNotHoldUpTheOthers) {
    BatchPool pool(1);
    QSemaphore release;
    std::atomic<int> done = 0;
    pool.submit([&] { release.acquire(); }); // a writer waiting for a lock, say
    for (int i = 0; i < 20; ++i)
        pool.submit([&] { ++done; });
    EXPECT_TRUE(eventually([&] { return done == 20; })) << done << " of 20 ran";
    EXPECT_GE(pool.threadCount(), 2);
    release.release();
    // Once nothing is stuck, the extra thread leaves after its next job.
    pool.submit([] {});
    EXPECT_TRUE(eventually([&] {
        pool.submit([] {});
        return pool.threadCount() == 1;
    })) << pool.threadCount();
}

TEST(BatchPoolTest, EndingThePoolRunsWhatWasSubmitted) {
    std::atomic<int> done = 0;
    {
        BatchPool pool(2);
        for (int i = 0; i < 100; ++i)
            pool.submit([&] {
                QThread::usleep(100);
                ++done;
            });
    }
    EXPECT_EQ(done, 100);
}

} // namespace
} // namespace dudodu::server
