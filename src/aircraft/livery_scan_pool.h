#pragma once
// The workers of one livery folder search: a fixed number of threads that take the files' work in
// the order it was queued and are reused from file to file. A file whose result is not taken in time
// is given up: its worker is left to end on its own (it then holds no slot and takes no more work)
// and a new worker takes its place.

#include "aircraft/livery_data.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <exception>
#include <functional>
#include <list>
#include <memory>
#include <thread>
#include <vector>

namespace mrw {

// The most aircraft.cfg workers of the liveries scan that run at once: the hardware threads, or 2
// when the platform reports none; set before each scan.
inline std::atomic<std::int32_t> g_scanThreadLimit{2};
// The liveries-scan workers holding a slot; reset to 0 before each scan. A worker's slot is given
// back once, when it ends or when the scan gives up waiting for it.
inline std::atomic<std::int32_t> g_scanThreadsRunning{0};

class LiveryScanPool {
  public:
    using Work = std::function<std::list<LiveryData>()>;
    struct Job;
    using Ticket = std::shared_ptr<Job>;

    enum class Outcome { Ready, TimedOut, Stopping };

    // Starts no thread yet: workers start as work is queued, at most `workers` (at least one).
    explicit LiveryScanPool(int workers);
    // Ends the idle workers and joins them; work still queued is dropped. Workers busy with given-up
    // work were already left to end on their own.
    ~LiveryScanPool();
    LiveryScanPool(const LiveryScanPool&) = delete;
    LiveryScanPool& operator=(const LiveryScanPool&) = delete;

    // Queues the work; a worker thread is started when fewer than the limit run. Throws when no
    // thread can be started and none runs.
    Ticket submit(Work work);
    // Waits up to `wait` for the work's end (Ready: `result` or `error` is set), or until the run
    // is stopping. Waits on a condition: no polling of the work.
    Outcome wait(const Ticket& ticket, std::chrono::milliseconds wait);
    // The work's liveries; rethrows what the work threw. Only after wait() gave Ready.
    static std::list<LiveryData> take(const Ticket& ticket);
    // Gives the work up: queued, it never runs; running, its worker slot is given back now and its
    // worker replaced, so that a worker that never ends holds no slot and blocks no later file.
    void giveUp(const Ticket& ticket);

  private:
    struct Shared;

    void startWorkers();

    const int m_limit;
    std::shared_ptr<Shared> m_shared;
    std::vector<std::thread> m_threads;
};

}  // namespace mrw
