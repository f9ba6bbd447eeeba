#include "aircraft/livery_folder_search.h"

#include "aircraft/ivao_liveries.h"
#include "aircraft/livery_extraction.h"
#include "aircraft/livery_folder_search_internal.h"
#include "foundation/log.h"
#include "foundation/text_encoding.h"
#include "foundation/text_helpers.h"
#include "traffic/run/main_worker.h"
#include "traffic/run/run_end.h"

#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <condition_variable>
#include <deque>
#include <future>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string_view>
#include <thread>

namespace mrw {

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// Sub-trees of sceneries and other add-ons that hold no AI liveries.
constexpr std::array<std::string_view, 9> kExcludedNames{
    "airport", "lvfr", "mkstudios", "simwings", "fsdreamteam", "navigraph", "flytampa", "inibuilds", "_CVT_"};
constexpr std::size_t kMaxPathBytes = 250;
constexpr auto kSlotLook = std::chrono::milliseconds(20);

// Signalled when a worker gives its slot back. Never destroyed: detached workers signal it.
std::mutex& lf_slotMutex() {
    static auto* mutex = new std::mutex();
    return *mutex;
}

std::condition_variable& lf_slotFreed() {
    static auto* condition = new std::condition_variable();
    return *condition;
}

// A worker's place in g_scanThreadsRunning, given back exactly once: by the worker when it ends, or
// by the search when it gives the worker up, so that a worker that never ends holds no slot.
// The worker limit; at least one worker, whatever the setting says.
std::int32_t lf_threadLimit() {
    return std::max(g_scanThreadLimit.load(), 1);
}

class WorkerSlot {
  public:
    WorkerSlot() { g_scanThreadsRunning.fetch_add(1); }
    WorkerSlot(const WorkerSlot&) = delete;
    WorkerSlot& operator=(const WorkerSlot&) = delete;

    void release() {
        if (m_released.exchange(true)) return;
        g_scanThreadsRunning.fetch_sub(1);
        { std::lock_guard lock(lf_slotMutex()); }
        lf_slotFreed().notify_all();
    }

  private:
    std::atomic<bool> m_released{false};
};

struct PendingFile {
    std::future<std::list<LiveryData>> result;
    std::shared_ptr<WorkerSlot> slot;
};

class FolderSearch {
  public:
    FolderSearch(const LiveriesScanStatePtr& state, int priority, const fs::path& folder,
                 std::list<LiveryData>& out, const FolderSearchSetup& setup)
        : m_state(state), m_priority(priority), m_folder(folder), m_out(out), m_setup(setup) {}

    void run() {
        walk(m_folder);
        while (!m_pending.empty()) {
            if (gf_stopping()) {
                giveUpAll();
                break;
            }
            takeOldest(m_setup.resultWait, "liveries search aborted, futs outer, {}");
        }
    }

  private:
    void walk(const fs::path& directory) {
        std::error_code error;
        fs::directory_iterator it(directory, fs::directory_options::skip_permission_denied, error);
        std::vector<fs::directory_entry> entries;
        for (; !error && it != fs::directory_iterator(); it.increment(error))
            entries.push_back(*it);
        std::sort(entries.begin(), entries.end(),
                  [](const auto& a, const auto& b) { return a.path().filename() < b.path().filename(); });
        for (const fs::directory_entry& entry : entries) {
            if (gf_stopping()) m_stopped = true;
            if (m_stopped) return;
            bool descend = false;
            try {
                descend = !lf_isExcludedSubtree(m_folder, entry.path());
                if (lf_isAircraftCfg(entry)) start(entry.path());
            } catch (const std::exception& e) {
                gf_logError(fmt::format("liveries search in {} aborted, cause: {}",
                                        path_to_utf8(entry.path()), e.what()));
            }
            std::error_code statusError;
            if (descend && entry.is_directory(statusError)) walk(entry.path());
        }
    }

    void start(const fs::path& cfgPath) {
        if (!waitForSlot()) {
            m_stopped = true;
            return;
        }
        auto slot = std::make_shared<WorkerSlot>();
        std::packaged_task<std::list<LiveryData>()> task(
            [state = m_state, priority = m_priority, cfgPath, processor = m_setup.chooseProcessor(cfgPath)] {
                return processor(*state, priority, cfgPath);
            });
        m_pending.push_back({task.get_future(), slot});
        try {
            std::thread([task = std::move(task), slot]() mutable {
                task();
                slot->release();
            }).detach();
        } catch (...) {
            m_pending.pop_back();
            slot->release();
            throw;
        }
        if (m_pending.size() > static_cast<std::size_t>(lf_threadLimit())) {
            takeOldest(m_setup.resultWait, "liveries inner search aborted: {}");
        }
    }

    // Waits until fewer workers than the limit hold a slot. A worker holding its slot longer than
    // the result wait is given up. False when the run is stopping.
    bool waitForSlot() {
        auto since = Clock::now();
        while (g_scanThreadsRunning.load() >= lf_threadLimit()) {
            if (gf_stopping()) return false;
            if (Clock::now() - since >= m_setup.resultWait) {
                if (m_pending.empty()) return true;  // none of the slots is this search's
                takeOldest(std::chrono::milliseconds(0), "liveries inner search aborted: {}");
                since = Clock::now();
                continue;
            }
            // The count is looked at under the mutex that a releasing worker passes before it
            // signals, so no signal is lost between the look and the wait.
            std::unique_lock lock(lf_slotMutex());
            lf_slotFreed().wait_for(lock, kSlotLook,
                                    [] { return g_scanThreadsRunning.load() < lf_threadLimit(); });
        }
        return true;
    }

    // Takes the oldest pending result; a late or failed one is logged with `line` and dropped.
    void takeOldest(std::chrono::milliseconds wait, std::string_view line) {
        PendingFile file = std::move(m_pending.front());
        m_pending.pop_front();
        try {
            if (file.result.wait_for(wait) != std::future_status::ready) {
                throw std::runtime_error("Future wait timed out after 10 seconds");
            }
            std::list<LiveryData> liveries = file.result.get();
            m_out.splice(m_out.end(), liveries);
        } catch (const std::exception& e) {
            gf_logError(fmt::format(fmt::runtime(line), e.what()));
        } catch (...) {
            gf_logError(fmt::format(fmt::runtime(line), "Unknown exception"));
        }
        file.slot->release();
    }

    void giveUpAll() {
        for (PendingFile& file : m_pending)
            file.slot->release();
        m_pending.clear();
    }

    const LiveriesScanStatePtr& m_state;
    const int m_priority;
    const fs::path& m_folder;
    std::list<LiveryData>& m_out;
    const FolderSearchSetup& m_setup;
    std::deque<PendingFile> m_pending;
    bool m_stopped = false;
};

}  // namespace

LiveryFileProcessor lf_chooseProcessor(const fs::path& cfgPath) {
    const std::string text = path_to_utf8(cfgPath);
    if (text.find("ivao_x-csl") != std::string::npos || text.find("IVAO_MTL") != std::string::npos) {
        return gf_searchLiveriesinIVAOFile;
    }
    return gf_searchLiveriesinFile;
}

bool lf_isAircraftCfg(const fs::directory_entry& entry) {
    std::error_code error;
    if (!entry.is_regular_file(error)) return false;
    const fs::path& path = entry.path();
    return gf_upperEquals(".CFG", path_to_utf8(path.extension())) &&
           gf_upperEquals("AIRCRAFT", path_to_utf8(path.stem()));
}

bool lf_isExcludedSubtree(const fs::path& folder, const fs::path& entry) {
    const std::string text = path_to_utf8(entry);
    if (text.size() >= kMaxPathBytes) return true;
    // Only the part below the searched folder: a packages folder named after an airport add-on must
    // not hide every livery in it.
    const std::string folderText = path_to_utf8(folder);
    const std::string_view below =
        std::string_view(text).substr(text.starts_with(folderText) ? folderText.size() : 0);
    return std::any_of(kExcludedNames.begin(), kExcludedNames.end(),
                       [&](std::string_view name) { return below.find(name) != std::string_view::npos; });
}

void lf_searchFolder(const LiveriesScanStatePtr& state, int priority, const fs::path& folder,
                     std::list<LiveryData>& out, const FolderSearchSetup& setup) {
    FolderSearch(state, priority, folder, out, setup).run();
}

void gf_searchLiveriesinFolder(const LiveriesScanStatePtr& state, int priority, const fs::path& folder) {
    static const FolderSearchSetup setup{lf_chooseProcessor};
    lf_searchFolder(state, priority, folder, g_scannedLiveries(), setup);
}

}  // namespace mrw
