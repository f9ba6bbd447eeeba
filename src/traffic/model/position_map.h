#pragma once
// A map from a 32-bit key (an object id, a hexid) to a position in a list, for lookups that run a
// thousand times a tick: one open-addressed array, so a lookup reads one or two neighbouring
// entries rather than a bucket and a node elsewhere in memory. Linear probing; an erasure moves the
// entries behind it back, so no entry is ever marked deleted. Main worker only.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace mrw {

class PositionMap {
  public:
    // The position of the key, or null.
    const std::size_t* find(std::uint32_t key) const;
    // Enters the key at the position; keep: an entry already there stays as it is.
    void insert(std::uint32_t key, std::size_t position, bool keep = false);
    void erase(std::uint32_t key);
    void clear();
    std::size_t size() const { return m_size; }

  private:
    static constexpr std::size_t kEmpty = static_cast<std::size_t>(-1);
    struct Entry {
        std::uint32_t key = 0;
        std::size_t position = kEmpty;
    };

    std::size_t home(std::uint32_t key) const;
    std::size_t slotOf(std::uint32_t key) const;  // the key's slot, or the empty slot ending its run
    void grow();

    std::vector<Entry> m_entries = std::vector<Entry>(1024);  // a power of two, at most half full
    std::size_t m_size = 0;
    int m_shift = 54;  // 64 - log2(entries)
};

}  // namespace mrw
