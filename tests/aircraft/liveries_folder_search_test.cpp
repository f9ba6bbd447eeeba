// The parallel search of one livery folder: the walk, its exclusions, the worker limit, the waits
// and the order of the results.

#include "aircraft/ivao_liveries.h"
#include "aircraft/livery_extraction.h"
#include "aircraft/livery_folder_search_internal.h"
#include "aircraft/livery_scan_pool.h"
#include "aircraft_test_support.h"
#include "foundation/run_state.h"
#include "foundation/simulator_choice.h"

#include <gtest/gtest.h>

#include <fmt/format.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <future>
#include <mutex>
#include <thread>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using FileFunction = std::list<mrw::LiveryData> (*)(mrw::LiveriesScanState&, int, const fs::path&);

// A gate that workers wait at until the test opens it, and a count of the workers inside.
class Gate {
  public:
    void waitOpen() {
        std::unique_lock lock(m_mutex);
        ++m_waiting;
        m_changed.notify_all();
        m_changed.wait(lock, [&] { return m_open; });
        --m_waiting;
    }
    void open() {
        std::lock_guard lock(m_mutex);
        m_open = true;
        m_changed.notify_all();
    }
    // True when `n` workers waited at the gate within a generous bound.
    bool waitForWaiting(int n) {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, 30s, [&] { return m_waiting >= n; });
    }

  private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_waiting = 0;
    bool m_open = false;
};

// A livery whose title names the file, relative to the program folder.
std::list<mrw::LiveryData> fileLivery(const fs::path& cfgPath, int priority) {
    mrw::LiveryData l;
    l.title = cfgPath.generic_string();
    l.priority = static_cast<std::int16_t>(priority);
    return {l};
}

class LiveriesFolderSearch : public ::testing::Test {
  protected:
    void SetUp() override {
        m_limit = mrw::g_scanThreadLimit.load();
        mrw::g_scanThreadsRunning = 0;
    }
    void TearDown() override {
        mrw::g_scanThreadLimit = m_limit;
        mrw::g_stopRequested = false;
    }

    static void touch(const fs::path& path) {
        fs::create_directories(path.parent_path());
        mrwtest::writeFile(path, "");
    }

    static std::vector<std::string> titles(const std::list<mrw::LiveryData>& liveries) {
        std::vector<std::string> result;
        for (const auto& l : liveries)
            result.push_back(l.title);
        return result;
    }

    std::list<mrw::LiveryData> search(const fs::path& folder, const mrw::LiveryFileProcessor& processor,
                                      std::chrono::milliseconds wait = 10s) {
        std::list<mrw::LiveryData> out;
        const mrw::FolderSearchSetup setup{[&](const fs::path&) { return processor; }, wait};
        mrw::gf_searchFolder(m_state, 3, folder, out, setup);
        return out;
    }

    mrwtest::LoggedProgramFolder m_folder;
    mrw::LiveriesScanStatePtr m_state = std::make_shared<mrw::LiveriesScanState>();
    std::int32_t m_limit = 0;
};

TEST_F(LiveriesFolderSearch, WalkFindsAircraftCfgInNameOrderAndSkipsExcludedSubtrees) {
    // The searched folder's own name holds an excluded word: only the part below it counts.
    const fs::path root = "Community/airport-liveries";
    for (const char* file :
         {"c/Aircraft.Cfg", "a/aircraft.cfg", "b/AIRCRAFT.CFG", "d/aircraft.cfg.bak",
          "inibuilds-a320/aircraft.cfg", "x/inibuilds/aircraft.cfg", "x/_CVT_y/aircraft.cfg", "aircraft.cfg",
          "z/SimObjects/Airplanes/p/aircraft.cfg"}) {
        touch(root / file);
    }
    fs::create_directories(root / "e/aircraft.cfg");  // a folder of that name is no file
    mrw::g_scanThreadLimit = 2;
    const auto found =
        search(root, [](mrw::LiveriesScanState&, int p, const fs::path& cfg) { return fileLivery(cfg, p); });
    EXPECT_EQ(titles(found), (std::vector<std::string>{
                                 root.string() + "/a/aircraft.cfg",
                                 root.string() + "/aircraft.cfg",
                                 root.string() + "/b/AIRCRAFT.CFG",
                                 root.string() + "/c/Aircraft.Cfg",
                                 root.string() + "/z/SimObjects/Airplanes/p/aircraft.cfg",
                             }));
    EXPECT_EQ(found.front().priority, 3);
    EXPECT_EQ(mrw::g_scanThreadsRunning.load(), 0);
}

TEST_F(LiveriesFolderSearch, ExclusionsLengthAndProcessorChoice) {
    const fs::path folder = "/r";
    EXPECT_FALSE(mrw::gf_isExcludedSubtree(folder, "/r/" + std::string(246, 'x')));  // 249 bytes
    EXPECT_TRUE(mrw::gf_isExcludedSubtree(folder, "/r/" + std::string(247, 'x')));   // 250 bytes
    EXPECT_TRUE(mrw::gf_isExcludedSubtree(folder, "/r/a/navigraph-data"));
    EXPECT_FALSE(mrw::gf_isExcludedSubtree("/flytampa-pack", "/flytampa-pack/liveries"));
    EXPECT_FALSE(mrw::gf_isExcludedSubtree(folder, "/r/Airport"));  // case-sensitive

    const auto target = [](const fs::path& cfg) {
        return *mrw::gf_chooseProcessor(cfg).target<FileFunction>();
    };
    EXPECT_EQ(target("/p/IVAO_MTL/SimObjects/aircraft.cfg"), &mrw::gf_searchLiveriesinIVAOFile);
    EXPECT_EQ(target("/p/ivao_x-csl/aircraft.cfg"), &mrw::gf_searchLiveriesinIVAOFile);
    EXPECT_EQ(target("/p/ivao_mtl/aircraft.cfg"), &mrw::gf_searchLiveriesinFile);
}

TEST_F(LiveriesFolderSearch, ResultsKeepTheWalkOrderWhateverOrderWorkersEndIn) {
    touch("f/a/aircraft.cfg");
    touch("f/b/aircraft.cfg");
    mrw::g_scanThreadLimit = 2;
    std::promise<void> bDone;
    auto bFinished = bDone.get_future().share();
    const auto found = search("f", [&](mrw::LiveriesScanState&, int p, const fs::path& cfg) {
        if (cfg.parent_path().filename() == "a") {
            bFinished.wait();  // a ends only after b
        } else {
            bDone.set_value();
        }
        return fileLivery(cfg, p);
    });
    EXPECT_EQ(titles(found), (std::vector<std::string>{"f/a/aircraft.cfg", "f/b/aircraft.cfg"}));
}

TEST_F(LiveriesFolderSearch, NoMoreWorkersThanTheLimitRunAtOnce) {
    for (char c = 'a'; c <= 'f'; ++c)
        touch(fs::path("f") / std::string(1, c) / "aircraft.cfg");
    mrw::g_scanThreadLimit = 2;
    std::atomic<int> running{0};
    std::atomic<int> most{0};
    const auto found = search("f", [&](mrw::LiveriesScanState&, int p, const fs::path& cfg) {
        const int now = ++running;
        int seen = most.load();
        while (now > seen && !most.compare_exchange_weak(seen, now)) {
        }
        std::this_thread::yield();
        --running;
        return fileLivery(cfg, p);
    });
    EXPECT_EQ(found.size(), 6u);
    EXPECT_LE(most.load(), 2);
    EXPECT_GE(most.load(), 1);
}

// Twelve files on two workers: the threads are reused, so one of them handles at least six files.
TEST_F(LiveriesFolderSearch, WorkersAreReusedFromFileToFile) {
    for (char c = 'a'; c <= 'l'; ++c)
        touch(fs::path("f") / std::string(1, c) / "aircraft.cfg");
    mrw::g_scanThreadLimit = 2;
    std::atomic<int> most{0};
    const auto found = search("f", [&](mrw::LiveriesScanState&, int p, const fs::path& cfg) {
        thread_local int handled = 0;
        const int now = ++handled;
        int seen = most.load();
        while (now > seen && !most.compare_exchange_weak(seen, now)) {
        }
        return fileLivery(cfg, p);
    });
    EXPECT_EQ(found.size(), 12u);
    EXPECT_GE(most.load(), 6);
    EXPECT_EQ(mrw::g_scanThreadsRunning.load(), 0);
}

// Enough files after the stuck one that the walk, queueing up to 16 files ahead per worker, still
// runs when the stuck file's wait ends.
TEST_F(LiveriesFolderSearch, AWorkerThatNeverEndsIsGivenUpAndHoldsNoSlot) {
    std::vector<std::string> expected;
    for (char c = 'a'; c <= 'x'; ++c) {
        const std::string file = fmt::format("f/{}/aircraft.cfg", c);
        touch(file);
        if (c != 'b') expected.push_back(file);
    }
    mrw::g_scanThreadLimit = 1;
    Gate gate;
    std::atomic<bool> lateWorkerDone{false};
    std::weak_ptr<mrw::LiveriesScanState> weakState = m_state;
    const auto found = search(
        "f",
        [&](mrw::LiveriesScanState& state, int p, const fs::path& cfg) {
            if (cfg.parent_path().filename() == "b") {
                gate.waitOpen();
                state.reports.addIncompleteSection("late line");  // the state is still alive
                lateWorkerDone = true;
            }
            return fileLivery(cfg, p);
        },
        200ms);
    EXPECT_EQ(titles(found), expected);
    EXPECT_EQ(mrw::g_scanThreadsRunning.load(), 0);
    EXPECT_NE(
        m_folder.logText().find("liveries inner search aborted: Future wait timed out after 10 seconds"),
        std::string::npos);
    // The late worker still finds its scan's state after the search and the test dropped it.
    m_state.reset();
    EXPECT_FALSE(weakState.expired());
    gate.open();
    const auto deadline = std::chrono::steady_clock::now() + 30s;
    while (!weakState.expired() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::yield();
    EXPECT_TRUE(lateWorkerDone.load());
    EXPECT_TRUE(weakState.expired());
    EXPECT_EQ(mrw::g_scanThreadsRunning.load(), 0);  // its own release counts no second time
}

// Workers are woken for a few files at a time, not for each: files queued while every worker sleeps
// are still taken once the search waits for them, well within the result wait.
TEST_F(LiveriesFolderSearch, FilesQueuedWhileEveryWorkerSleepsAreTaken) {
    for (char c = 'a'; c <= 'e'; ++c)
        touch(fs::path("f") / std::string(1, c) / "aircraft.cfg");
    mrw::g_scanThreadLimit = 2;
    std::atomic<int> processed{0};
    const mrw::LiveryFileProcessor processor = [&](mrw::LiveriesScanState&, int p, const fs::path& cfg) {
        ++processed;
        return fileLivery(cfg, p);
    };
    // The walk pauses before c: the workers end what they took and go back to sleep.
    const auto choose = [&](const fs::path& cfg) {
        if (cfg.parent_path().filename() == "c") std::this_thread::sleep_for(100ms);
        return processor;
    };
    std::list<mrw::LiveryData> out;
    const mrw::FolderSearchSetup setup{choose, 5s};
    const auto start = std::chrono::steady_clock::now();
    mrw::gf_searchFolder(m_state, 3, "f", out, setup);
    EXPECT_EQ(titles(out),
              (std::vector<std::string>{"f/a/aircraft.cfg", "f/b/aircraft.cfg", "f/c/aircraft.cfg",
                                        "f/d/aircraft.cfg", "f/e/aircraft.cfg"}));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
    EXPECT_EQ(processed.load(), 5);
    EXPECT_EQ(m_folder.logText().find("timed out"), std::string::npos);
}

TEST_F(LiveriesFolderSearch, AWorkerExceptionLosesOnlyItsFile) {
    touch("f/a/aircraft.cfg");
    touch("f/b/aircraft.cfg");
    mrw::g_scanThreadLimit = 4;
    const auto found = search("f", [&](mrw::LiveriesScanState&, int p, const fs::path& cfg) {
        if (cfg.parent_path().filename() == "a") throw std::runtime_error("broken file");
        return fileLivery(cfg, p);
    });
    EXPECT_EQ(titles(found), std::vector<std::string>{"f/b/aircraft.cfg"});
    EXPECT_NE(m_folder.logText().find("==> liveries search aborted, futs outer, broken file"),
              std::string::npos);
}

TEST_F(LiveriesFolderSearch, AStopRequestEndsTheWaitForASlot) {
    for (char c = 'a'; c <= 'c'; ++c)
        touch(fs::path("f") / std::string(1, c) / "aircraft.cfg");
    mrw::g_scanThreadLimit = 1;
    // Shared with the worker, which the search gives up and which may outlive the test.
    const auto gate = std::make_shared<Gate>();
    std::thread stopper([&] {
        if (gate->waitForWaiting(1)) mrw::g_stopRequested = true;
    });
    // With a result wait of hours, only the stop flag can end this search while the worker waits.
    const auto found = search(
        "f",
        [gate](mrw::LiveriesScanState&, int p, const fs::path& cfg) {
            gate->waitOpen();
            return fileLivery(cfg, p);
        },
        std::chrono::hours(2));
    stopper.join();
    EXPECT_TRUE(found.empty());
    EXPECT_EQ(mrw::g_scanThreadsRunning.load(), 0);
    gate->open();  // the given-up worker ends on its own
}

}  // namespace
