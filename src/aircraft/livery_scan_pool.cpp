#include "aircraft/livery_scan_pool.h"

#include "foundation/run_state.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>

namespace mrw {

namespace {

using Clock = std::chrono::steady_clock;

// A stop request raises a flag and signals nothing: a waiting search looks at it this often.
constexpr auto kStopLook = std::chrono::milliseconds(50);
// Files queued per busy worker before a worker wakes an idle one.
constexpr std::size_t kWakeBatch = 4;
// Files queued before the search wakes a worker when none is busy: the woken worker then has
// enough to do to take a while to catch up with the walk and sleep again.
constexpr std::size_t kIdleWakeBatch = 16;

}  // namespace

struct LiveryScanPool::Job {
    Work work;
    std::list<LiveryData> result;
    std::exception_ptr error;
    std::thread::id worker;  // the thread running it, once started
    bool started = false;
    bool done = false;
    bool givenUp = false;
    bool holdsSlot = false;  // counted in g_scanThreadsRunning
};

// What the workers share with the pool; a worker holds it for as long as it runs, so that a given-up
// worker outliving the pool touches nothing that is gone.
struct LiveryScanPool::Shared {
    std::mutex mutex;
    std::condition_variable workQueued;  // work queued, or the pool closing
    std::condition_variable jobEnded;
    std::deque<Ticket> queue;
    const Job* awaited = nullptr;  // the work the search waits for: only its end wakes the search
    int workers = 0;               // running workers that take work (given-up ones are not counted)
    int busy = 0;                  // workers running a job that is not given up
    int waking = 0;                // workers woken for work and not yet taking it

    // Workers on their way to the queued work: the busy ones and those being woken.
    std::size_t coming() const { return static_cast<std::size_t>(busy + waking); }
    // Wakes an idle worker for queued work; called under the lock, the wake-up itself is not.
    void countWake() { ++waking; }
    bool closing = false;

    void releaseSlot(Job& job) {
        if (!job.holdsSlot) return;
        job.holdsSlot = false;
        g_scanThreadsRunning.fetch_sub(1);
    }

    // Takes queued work until the pool closes or this worker's work is given up.
    void work() {
        std::unique_lock lock(mutex);
        for (;;) {
            workQueued.wait(lock, [&] { return closing || !queue.empty(); });
            if (queue.empty()) return;
            const Ticket job = std::move(queue.front());
            queue.pop_front();
            job->started = true;
            job->worker = std::this_thread::get_id();
            job->holdsSlot = true;
            g_scanThreadsRunning.fetch_add(1);
            ++busy;
            if (waking > 0) --waking;
            // Workers wake one another, so that the search's thread seldom has to: a thread that
            // wakes another often loses its core to it.
            const bool wakeAnother = queue.size() >= kWakeBatch * (coming() + 1);
            if (wakeAnother) countWake();
            lock.unlock();
            if (wakeAnother) workQueued.notify_one();
            std::list<LiveryData> result;
            std::exception_ptr error;
            try {
                result = job->work();
            } catch (...) {
                error = std::current_exception();
            }
            // Only this worker touches the work once started. Let go of it (and of the scan state
            // it holds) now, outside the lock that every worker takes.
            job->work = nullptr;
            lock.lock();
            if (!job->givenUp) --busy;
            job->result = std::move(result);
            job->error = error;
            job->done = true;
            releaseSlot(*job);
            if (job.get() == awaited) jobEnded.notify_one();
            // A given-up worker was replaced: it takes no more work.
            if (job->givenUp) return;
        }
    }
};

LiveryScanPool::LiveryScanPool(int workers)
    : m_limit(std::max(workers, 1)), m_shared(std::make_shared<Shared>()) {}

LiveryScanPool::~LiveryScanPool() {
    {
        std::lock_guard lock(m_shared->mutex);
        m_shared->closing = true;
        m_shared->queue.clear();
    }
    m_shared->workQueued.notify_all();
    for (std::thread& thread : m_threads)
        thread.join();
}

void LiveryScanPool::startWorkers() {
    for (;;) {
        {
            std::lock_guard lock(m_shared->mutex);
            if (m_shared->workers >= m_limit) return;
            ++m_shared->workers;
        }
        try {
            m_threads.emplace_back([shared = m_shared] { shared->work(); });
        } catch (...) {
            std::lock_guard lock(m_shared->mutex);
            --m_shared->workers;
            if (m_shared->workers == 0) throw;
            return;  // the running workers take the work
        }
    }
}

LiveryScanPool::Ticket LiveryScanPool::submit(Work work) {
    auto job = std::make_shared<Job>();
    job->work = std::move(work);
    bool wake = false;
    bool fewWorkers = false;
    {
        std::lock_guard lock(m_shared->mutex);
        m_shared->queue.push_back(job);
        // An idle worker is woken only once a few files wait and no worker is busy, or when the
        // busy ones fall far behind (one may be slow): a wake-up per file cost the search's
        // thread a system call and often its core, and workers faster than the walk slept after
        // every file. The busy workers wake more as they take work, and wait() wakes them all, so
        // that no work is left behind.
        const std::size_t coming = m_shared->coming();
        wake = m_shared->queue.size() >= (coming == 0 ? kIdleWakeBatch : 2 * kWakeBatch * (coming + 1));
        if (wake) m_shared->countWake();
        // Asked under the same lock: the workers take this mutex for every file too.
        fewWorkers = m_shared->workers < m_limit;
    }
    if (wake) m_shared->workQueued.notify_one();
    if (!fewWorkers) return job;
    try {
        startWorkers();
    } catch (...) {
        std::lock_guard lock(m_shared->mutex);
        m_shared->queue.erase(std::find(m_shared->queue.begin(), m_shared->queue.end(), job));
        throw;
    }
    return job;
}

LiveryScanPool::Outcome LiveryScanPool::wait(const Ticket& ticket, std::chrono::milliseconds wait) {
    const auto deadline = Clock::now() + wait;
    std::unique_lock lock(m_shared->mutex);
    // While the search waits, no worker sleeps with work queued: the awaited work may be queued
    // behind a busy worker that takes long, or may itself wait for other queued work.
    if (!m_shared->queue.empty()) m_shared->workQueued.notify_all();
    m_shared->awaited = ticket.get();
    Outcome outcome = Outcome::Ready;
    while (!ticket->done) {
        const auto now = Clock::now();
        if (gf_stopping()) {
            outcome = Outcome::Stopping;
            break;
        }
        if (now >= deadline) {
            outcome = Outcome::TimedOut;
            break;
        }
        m_shared->jobEnded.wait_until(lock, std::min(deadline, now + kStopLook));
    }
    m_shared->awaited = nullptr;
    return outcome;
}

std::list<LiveryData> LiveryScanPool::take(const Ticket& ticket) {
    if (ticket->error) std::rethrow_exception(ticket->error);
    return std::move(ticket->result);
}

void LiveryScanPool::giveUp(const Ticket& ticket) {
    std::thread::id worker;
    {
        std::lock_guard lock(m_shared->mutex);
        if (ticket->done || ticket->givenUp) return;
        ticket->givenUp = true;
        if (!ticket->started) {
            m_shared->queue.erase(std::find(m_shared->queue.begin(), m_shared->queue.end(), ticket));
            return;
        }
        m_shared->releaseSlot(*ticket);
        --m_shared->workers;
        --m_shared->busy;
        worker = ticket->worker;
    }
    const auto thread = std::find_if(m_threads.begin(), m_threads.end(),
                                     [&](const std::thread& t) { return t.get_id() == worker; });
    if (thread != m_threads.end()) {
        thread->detach();
        m_threads.erase(thread);
    }
    startWorkers();
}

}  // namespace mrw
