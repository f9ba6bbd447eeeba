#include "aircraft/livery_folder_walk.h"

#include <algorithm>
#include <exception>
#include <system_error>

namespace mrw {

namespace {

namespace fs = std::filesystem;

// Sub-folders listed ahead of the walk at each level of it: enough to keep the listers busy while
// the walk takes the listings, also on a busy machine where a woken lister may wait long for a
// core; few enough to bound what waits (a listing of a livery folder is a few entries).
constexpr std::size_t kListedAhead = 256;
// The look-ahead is topped up only once this many listings are left: one lock and one wake-up of
// the listers then serve many folders, where a request per entered folder cost the walk a lock and
// a wake-up for each (the walk's own thread is what limits a scan on many cores).
constexpr std::size_t kRefillBelow = kListedAhead / 2;

std::vector<WalkEntry> lf_listFolder(const fs::path& folder, const FolderWalk::Judge& judge) {
    std::error_code error;
    fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, error);
    std::vector<WalkEntry> entries;
    // Judged as listed, so that each entry's path is copied once (a path is costly to copy).
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        WalkEntry& entry = entries.emplace_back();
        entry.path = it->path();
        try {
            judge(*it, entry);
        } catch (const std::exception& e) {
            entry.error = e.what();
        } catch (...) {
            entry.error = "Unknown exception";
        }
    }
    // Every path is the folder's joined with a name: comparing the paths compares the names.
    std::sort(entries.begin(), entries.end(),
              [](const WalkEntry& a, const WalkEntry& b) { return a.path.native() < b.path.native(); });
    return entries;
}

}  // namespace

struct FolderWalk::Listing {
    explicit Listing(fs::path path) : folder(std::move(path)) {}

    const fs::path folder;
    std::vector<WalkEntry> entries;  // complete once done
    bool done = false;               // guarded by m_mutex
};

// A folder the walk is in: its entries, the next one to take, and the listings of its sub-folders
// requested so far.
struct FolderWalk::Frame {
    ListingPtr listing;
    const std::vector<WalkEntry>* entries = nullptr;
    std::vector<ListingPtr> children;  // by entry index, while requested and not yet entered
    std::size_t next = 0;              // the next entry to take
    std::size_t ahead = 0;             // the next entry to request a listing for
    std::size_t requested = 0;         // listings requested and not yet entered
};

FolderWalk::FolderWalk(Judge judge, int listers) : m_judge(std::move(judge)) {
    for (int i = 0; i < std::max(listers, 1); ++i)
        m_listers.emplace_back([this] { list(); });
}

FolderWalk::~FolderWalk() {
    {
        std::lock_guard lock(m_mutex);
        m_closing = true;
        m_queue.clear();
    }
    m_requested.notify_all();
    for (std::thread& lister : m_listers)
        lister.join();
}

void FolderWalk::run(const fs::path& folder, const Visit& visit) {
    std::vector<Frame> stack;
    const auto enter = [&](ListingPtr listing) {
        Frame frame;
        frame.entries = &await(listing);
        frame.listing = std::move(listing);
        frame.children.resize(frame.entries->size());
        stack.push_back(std::move(frame));
    };
    enter(request(folder));
    while (!stack.empty()) {
        Frame& frame = stack.back();
        requestAhead(frame);
        if (frame.next == frame.entries->size()) {
            stack.pop_back();
            continue;
        }
        const WalkEntry& entry = (*frame.entries)[frame.next];
        ListingPtr child = std::move(frame.children[frame.next]);
        ++frame.next;
        if (child) --frame.requested;
        if (!visit(entry)) return;
        if (child) enter(std::move(child));
    }
}

FolderWalk::ListingPtr FolderWalk::request(const fs::path& folder) {
    auto listing = std::make_shared<Listing>(folder);
    queue({listing});
    return listing;
}

void FolderWalk::queue(const std::vector<ListingPtr>& listings) {
    if (listings.empty()) return;
    {
        std::lock_guard lock(m_mutex);
        m_queue.insert(m_queue.end(), listings.begin(), listings.end());
    }
    if (listings.size() == 1) {
        m_requested.notify_one();
    } else {
        m_requested.notify_all();
    }
}

void FolderWalk::requestAhead(Frame& frame) {
    if (frame.requested >= kRefillBelow) return;
    const std::vector<WalkEntry>& entries = *frame.entries;
    std::vector<ListingPtr> added;
    for (; frame.requested < kListedAhead && frame.ahead < entries.size(); ++frame.ahead) {
        if (!entries[frame.ahead].descend) continue;
        frame.children[frame.ahead] = std::make_shared<Listing>(entries[frame.ahead].path);
        added.push_back(frame.children[frame.ahead]);
        ++frame.requested;
    }
    queue(added);
}

const std::vector<WalkEntry>& FolderWalk::await(const ListingPtr& listing) {
    std::unique_lock lock(m_mutex);
    m_listed.wait(lock, [&] { return listing->done; });
    return listing->entries;
}

void FolderWalk::list() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_requested.wait(lock, [&] { return m_closing || !m_queue.empty(); });
        if (m_closing) return;
        const ListingPtr listing = std::move(m_queue.front());
        m_queue.pop_front();
        lock.unlock();
        std::vector<WalkEntry> entries;
        try {
            entries = lf_listFolder(listing->folder, m_judge);
        } catch (...) {
            // Out of memory: the folder lists nothing rather than stall the walk.
        }
        lock.lock();
        listing->entries = std::move(entries);
        listing->done = true;
        m_listed.notify_one();
    }
}

}  // namespace mrw
