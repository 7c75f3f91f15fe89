#include "server/BatchPool.h"

namespace dudodu::server {

BatchPool::BatchPool(int threads) {
    m_clock.start();
    m_baseThreads = threads > 0 ? threads : qMax(1, QThread::idealThreadCount());
    QMutexLocker lock(&m_mutex);
    for (int i = 0; i < m_baseThreads; ++i)
        addThread();
    m_watcher.reset(QThread::create([this] { watch(); }));
    m_watcher->setObjectName(QStringLiteral("batch-watch"));
    m_watcher->start();
}

BatchPool::~BatchPool() {
    {
        QMutexLocker lock(&m_mutex);
        m_stop = true;
        m_jobReady.wakeAll();
        m_stopping.wakeAll();
    }
    m_watcher->wait();
    // No thread is added any more; the workers empty the queue before they leave.
    for (auto& worker : m_workers)
        worker->thread->wait();
}

void BatchPool::submit(std::function<void()> job) {
    QMutexLocker lock(&m_mutex);
    m_queue.push_back(std::move(job));
    if (m_idle > 0) m_jobReady.wakeOne();
}

int BatchPool::threadCount() const {
    QMutexLocker lock(&m_mutex);
    return m_running;
}

void BatchPool::addThread() {
    auto worker = std::make_unique<Worker>();
    Worker* self = worker.get();
    worker->thread.reset(QThread::create([this, self] { work(self); }));
    worker->thread->setObjectName(QStringLiteral("batch-%1").arg(++m_started));
    worker->thread->start();
    m_workers.push_back(std::move(worker));
    ++m_running;
}

int BatchPool::stuckThreads() const {
    const qint64 now = m_clock.elapsed();
    return int(std::count_if(m_workers.begin(), m_workers.end(), [now](const auto& w) {
        return w->jobStartedMs >= 0 && now - w->jobStartedMs >= kStallMs;
    }));
}

void BatchPool::work(Worker* self) {
    QMutexLocker lock(&m_mutex);
    for (;;) {
        while (m_queue.empty() && !m_stop) {
            ++m_idle;
            m_jobReady.wait(&m_mutex);
            --m_idle;
        }
        if (m_queue.empty()) return; // stopping, and nothing left to run
        std::function<void()> job = std::move(m_queue.front());
        m_queue.pop_front();
        self->jobStartedMs = m_clock.elapsed();
        lock.unlock();
        job();
        job = nullptr; // what the job holds (an engine, say) goes before the lock is taken again
        lock.relock();
        self->jobStartedMs = -1;
        // More threads than cores, once no job is stuck any more, only fight over the CPU.
        if (!m_stop && m_running > m_baseThreads + stuckThreads()) {
            self->left = true;
            --m_running;
            return;
        }
    }
}

void BatchPool::watch() {
    QMutexLocker lock(&m_mutex);
    while (!m_stop) {
        m_stopping.wait(&m_mutex, kStallMs / 2);
        if (m_stop) break;
        // Threads that left are joined here, so that their objects do not pile up.
        for (auto it = m_workers.begin(); it != m_workers.end();) {
            if ((*it)->left && (*it)->thread->isFinished()) {
                (*it)->thread->wait();
                it = m_workers.erase(it);
            } else {
                ++it;
            }
        }
        if (!m_queue.empty() && m_idle == 0 && m_running < m_baseThreads + stuckThreads() &&
            m_running < m_baseThreads + kMaxExtraThreads)
            addThread();
    }
}

} // namespace dudodu::server
