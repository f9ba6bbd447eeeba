#pragma once
// The walk of a livery folder's tree: depth first, each folder's entries in the order of their
// names. Listing a folder costs several system calls, more than a file's hand-over to a worker, so
// lister threads list the folders ahead of the walk (the next few sub-folders at every level of
// it) and judge their entries; the walk itself only takes the listings in its order. The entries
// reach the caller in the same order as a walk on one thread would give them.

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace mrw {

// One entry of a listed folder, as the judge saw it.
struct WalkEntry {
    std::filesystem::path path;
    bool descend = false;      // a folder the walk enters after the entry
    bool aircraftCfg = false;  // a file for a file processor
    std::string error;         // the text of a failure while judging the entry; empty when none
};

class FolderWalk {
  public:
    // Sets `descend` and `aircraftCfg` of an entry listed in a folder; runs on a lister thread.
    // What it throws becomes the entry's `error` (with what it set before).
    using Judge = std::function<void(const std::filesystem::directory_entry&, WalkEntry&)>;
    // Takes one entry in walk order; false ends the walk.
    using Visit = std::function<bool(const WalkEntry&)>;

    // Starts `listers` lister threads (at least one).
    FolderWalk(Judge judge, int listers);
    // Ends the listers; listings not yet taken are dropped.
    ~FolderWalk();
    FolderWalk(const FolderWalk&) = delete;
    FolderWalk& operator=(const FolderWalk&) = delete;

    // Walks the folder's tree, entering the folders judged `descend`. A folder that cannot be opened
    // (or read further) lists no (further) entry, as links to folders are followed and folders that
    // may not be opened are passed over.
    void run(const std::filesystem::path& folder, const Visit& visit);

  private:
    struct Listing;
    using ListingPtr = std::shared_ptr<Listing>;
    struct Frame;

    ListingPtr request(const std::filesystem::path& folder);
    // Queues the listings for the listers under one lock.
    void queue(const std::vector<ListingPtr>& listings);
    void requestAhead(Frame& frame);
    const std::vector<WalkEntry>& await(const ListingPtr& listing);
    void list();

    const Judge m_judge;
    std::mutex m_mutex;
    std::condition_variable m_requested;  // a folder to list, or closing
    std::condition_variable m_listed;     // a listing done
    std::deque<ListingPtr> m_queue;       // guarded by m_mutex
    bool m_closing = false;               // guarded by m_mutex
    std::vector<std::thread> m_listers;
};

}  // namespace mrw
