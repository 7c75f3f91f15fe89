// The threads that run the sessions' login checks and batches, in the order they were submitted.
// About as many threads as cores keep the CPU busy without a hundred sessions fighting over it; a
// session submits its next job only once the previous one has answered, so its engine is never
// used by two threads at once and its batches run in order.
//
// A job may block for a long time (a writer waiting for the database lock, a large report). For
// each job running longer than kStallMs while others wait, the pool adds a thread, so that one slow
// batch cannot stall every other session; the extra thread leaves again once it is not needed.
#pragma once

#include <QElapsedTimer>
#include <QMutex>
#include <QThread>
#include <QWaitCondition>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

namespace dudodu::server {

class BatchPool {
  public:
    // A job running this long counts as stuck: it is made up for by one more thread.
    static constexpr int kStallMs = 50;
    // The pool never grows beyond its size plus this many threads.
    static constexpr int kMaxExtraThreads = 32;

    // threads: the base number of worker threads; 0 for one per core.
    explicit BatchPool(int threads = 0);
    // Runs every job already submitted to its end, then joins the threads.
    ~BatchPool();
    BatchPool(const BatchPool&) = delete;
    BatchPool& operator=(const BatchPool&) = delete;

    // Thread-safe. Jobs run in submission order (first in, first out).
    void submit(std::function<void()> job);
    int threadCount() const;

  private:
    struct Worker {
        std::unique_ptr<QThread> thread;
        qint64 jobStartedMs = -1; // -1 while it waits for a job
        bool left = false;        // an extra thread that was no longer needed
    };

    // These expect m_mutex held.
    void addThread();
    int stuckThreads() const;

    void work(Worker* self);
    void watch();

    mutable QMutex m_mutex;
    QWaitCondition m_jobReady;
    QWaitCondition m_stopping;
    std::deque<std::function<void()>> m_queue;
    std::vector<std::unique_ptr<Worker>> m_workers;
    std::unique_ptr<QThread> m_watcher;
    QElapsedTimer m_clock;
    int m_baseThreads = 1;
    int m_running = 0; // workers that have not left
    int m_started = 0; // threads started so far, to name them
    int m_idle = 0;
    bool m_stop = false;
};

} // namespace dudodu::server
