#include "aircraft/livery_folder_walk.h"

#include <algorithm>
#include <exception>
#include <system_error>

namespace mrw {

namespace {

namespace fs = std::filesystem;

// Sub-folders listed ahead of the walk at each level of it: enough to keep the listers busy while
// the walk takes the listings, few enough to bound what waits.
constexpr std::size_t kListedAhead = 32;

std::vector<WalkEntry> lf_listFolder(const fs::path& folder, const FolderWalk::Judge& judge) {
    std::error_code error;
    fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, error);
    std::vector<fs::directory_entry> found;
    for (; !error && it != fs::directory_iterator(); it.increment(error))
        found.push_back(*it);
    // Every path is the folder's joined with a name: comparing the paths compares the names.
    std::sort(found.begin(), found.end(), [](const fs::directory_entry& a, const fs::directory_entry& b) {
        return a.path().native() < b.path().native();
    });
    std::vector<WalkEntry> entries(found.size());
    for (std::size_t i = 0; i < found.size(); ++i) {
        WalkEntry& entry = entries[i];
        entry.path = found[i].path();
        try {
            judge(found[i], entry);
        } catch (const std::exception& e) {
            entry.error = e.what();
        } catch (...) {
            entry.error = "Unknown exception";
        }
    }
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
    {
        std::lock_guard lock(m_mutex);
        m_queue.push_back(listing);
    }
    m_requested.notify_one();
    return listing;
}

void FolderWalk::requestAhead(Frame& frame) {
    const std::vector<WalkEntry>& entries = *frame.entries;
    for (; frame.requested < kListedAhead && frame.ahead < entries.size(); ++frame.ahead) {
        if (!entries[frame.ahead].descend) continue;
        frame.children[frame.ahead] = request(entries[frame.ahead].path);
        ++frame.requested;
    }
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
