#include "aircraft/livery_folder_search.h"

#include "aircraft/ivao_liveries.h"
#include "aircraft/livery_extraction.h"
#include "aircraft/livery_folder_search_internal.h"
#include "aircraft/livery_folder_walk.h"
#include "aircraft/livery_scan_pool.h"
#include "foundation/log.h"
#include "foundation/run_state.h"
#include "foundation/text_encoding.h"
#include "foundation/text_helpers.h"

#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <deque>
#include <stdexcept>
#include <string_view>

namespace mrw {

namespace {

namespace fs = std::filesystem;

// Sub-trees of sceneries and other add-ons that hold no AI liveries.
constexpr std::array<std::string_view, 9> kExcludedNames{
    "airport", "lvfr", "mkstudios", "simwings", "fsdreamteam", "navigraph", "flytampa", "inibuilds", "_CVT_"};
constexpr std::size_t kMaxPathBytes = 250;
// Files queued ahead per worker, so that workers never idle while the search waits for the oldest
// result, or for a core on a busy machine.
constexpr std::size_t kQueuedPerWorker = 16;

// The worker limit; at least one worker, whatever the setting says.
std::int32_t lf_threadLimit() {
    return std::max(g_scanThreadLimit.load(), 1);
}

// Listing a folder takes a few system calls, reading and judging a file many times that: one
// lister to two workers lists ahead of them, and a few are enough for any number.
int lf_listerCount(std::int32_t workers) {
    return std::clamp(workers / 2, 1, 4);
}

void lf_logEntryFailure(const fs::path& entry, std::string_view cause) {
    gf_logError(fmt::format("liveries search in {} aborted, cause: {}", path_to_utf8(entry), cause));
}

// gf_isExcludedSubtree on the paths' UTF-8 texts: the walk converts the searched folder once.
bool lf_isExcludedBelow(std::string_view folderText, std::string_view entryText) {
    if (entryText.size() >= kMaxPathBytes) return true;
    // Only the part below the searched folder: a packages folder named after an airport add-on must
    // not hide every livery in it.
    const std::string_view below =
        entryText.substr(entryText.starts_with(folderText) ? folderText.size() : 0);
    return std::any_of(kExcludedNames.begin(), kExcludedNames.end(),
                       [&](std::string_view name) { return below.find(name) != std::string_view::npos; });
}

class FolderSearch {
  public:
    FolderSearch(const LiveriesScanStatePtr& state, int priority, const fs::path& folder,
                 std::list<LiveryData>& out, const FolderSearchSetup& setup)
        : m_state(state),
          m_priority(priority),
          m_folder(folder),
          m_out(out),
          m_setup(setup),
          m_limit(lf_threadLimit()),
          m_pool(m_limit) {}

    void run() {
        {
            FolderWalk walk(judge(), lf_listerCount(m_limit));
            walk.run(m_folder, [this](const WalkEntry& entry) { return visit(entry); });
        }
        while (!m_pending.empty() && !m_stopped)
            takeOldest("liveries search aborted, futs outer, {}");
        giveUpAll();
    }

  private:
    // What the walk needs to know of an entry, judged on a lister thread: whether it is entered (a
    // folder that no exclusion names) and whether it is an aircraft.cfg.
    FolderWalk::Judge judge() const {
        return [folderText = path_to_utf8(m_folder)](const fs::directory_entry& entry, WalkEntry& judged) {
            std::error_code statusError;
            // The type first: the walk's listing already holds it for most entries.
            judged.descend = entry.is_directory(statusError) &&
                             !lf_isExcludedBelow(folderText, path_to_utf8(entry.path()));
            judged.aircraftCfg = gf_isAircraftCfg(entry);
        };
    }

    // Starts the entry's file; false when the search is to end.
    bool visit(const WalkEntry& entry) {
        if (gf_stopping()) m_stopped = true;
        if (m_stopped) return false;
        try {
            if (!entry.error.empty()) {
                lf_logEntryFailure(entry.path, entry.error);
            } else if (entry.aircraftCfg) {
                start(entry.path);
            }
        } catch (const std::exception& e) {
            lf_logEntryFailure(entry.path, e.what());
        }
        return !m_stopped;
    }

    void start(const fs::path& cfgPath) {
        m_pending.push_back(m_pool.submit(
            [state = m_state, priority = m_priority, cfgPath, processor = m_setup.chooseProcessor(cfgPath)] {
                return processor(*state, priority, cfgPath);
            }));
        if (m_pending.size() > kQueuedPerWorker * static_cast<std::size_t>(m_limit))
            takeOldest("liveries inner search aborted: {}");
    }

    // Takes the oldest pending result; a late or failed one is logged with `line` and dropped, a late
    // one given up. A stop request ends the search.
    void takeOldest(std::string_view line) {
        const LiveryScanPool::Ticket file = std::move(m_pending.front());
        m_pending.pop_front();
        try {
            switch (m_pool.wait(file, m_setup.resultWait)) {
                case LiveryScanPool::Outcome::Stopping:
                    m_stopped = true;
                    m_pool.giveUp(file);
                    return;
                case LiveryScanPool::Outcome::TimedOut:
                    m_pool.giveUp(file);
                    throw std::runtime_error("Future wait timed out after 10 seconds");
                case LiveryScanPool::Outcome::Ready:
                    break;
            }
            std::list<LiveryData> liveries = LiveryScanPool::take(file);
            m_out.splice(m_out.end(), liveries);
        } catch (const std::exception& e) {
            gf_logError(fmt::format(fmt::runtime(line), e.what()));
        } catch (...) {
            gf_logError(fmt::format(fmt::runtime(line), "Unknown exception"));
        }
    }

    void giveUpAll() {
        for (const LiveryScanPool::Ticket& file : m_pending)
            m_pool.giveUp(file);
        m_pending.clear();
    }

    const LiveriesScanStatePtr& m_state;
    const int m_priority;
    const fs::path& m_folder;
    std::list<LiveryData>& m_out;
    const FolderSearchSetup& m_setup;
    const std::int32_t m_limit;
    LiveryScanPool m_pool;
    std::deque<LiveryScanPool::Ticket> m_pending;
    bool m_stopped = false;
};

}  // namespace

LiveryFileProcessor gf_chooseProcessor(const fs::path& cfgPath) {
    const std::string text = path_to_utf8(cfgPath);
    if (text.find("ivao_x-csl") != std::string::npos || text.find("IVAO_MTL") != std::string::npos) {
        return gf_searchLiveriesinIVAOFile;
    }
    return gf_searchLiveriesinFile;
}

bool gf_isAircraftCfg(const fs::directory_entry& entry) {
    // The name first: it needs no status of the entry. Stem "AIRCRAFT" with extension ".CFG" is
    // exactly this file name.
    if (!gf_upperEquals("AIRCRAFT.CFG", path_to_utf8(entry.path().filename()))) return false;
    std::error_code error;
    return entry.is_regular_file(error);
}

bool gf_isExcludedSubtree(const fs::path& folder, const fs::path& entry) {
    return lf_isExcludedBelow(path_to_utf8(folder), path_to_utf8(entry));
}

void gf_searchFolder(const LiveriesScanStatePtr& state, int priority, const fs::path& folder,
                     std::list<LiveryData>& out, const FolderSearchSetup& setup) {
    FolderSearch(state, priority, folder, out, setup).run();
}

void gf_searchLiveriesinFolder(const LiveriesScanStatePtr& state, int priority, const fs::path& folder) {
    static const FolderSearchSetup setup{gf_chooseProcessor};
    gf_searchFolder(state, priority, folder, g_scannedLiveries(), setup);
}

}  // namespace mrw
