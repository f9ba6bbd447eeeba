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
    // The position of the key, or null. Inline, as the two below: the simulator's answers ask it
    // hundreds of times in one tick.
    const std::size_t* find(std::uint32_t key) const {
        const Entry& entry = m_entries[slotOf(key)];
        return entry.position == kEmpty ? nullptr : &entry.position;
    }
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

    std::size_t home(std::uint32_t key) const {
        // Fibonacci hashing: the ids of a run, given one after the other, spread over the array.
        return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> m_shift);
    }
    // The key's slot, or the empty slot ending its run.
    std::size_t slotOf(std::uint32_t key) const {
        const std::size_t mask = m_entries.size() - 1;
        std::size_t i = home(key);
        while (m_entries[i].position != kEmpty && m_entries[i].key != key)
            i = (i + 1) & mask;
        return i;
    }
    void grow();

    std::vector<Entry> m_entries = std::vector<Entry>(1024);  // a power of two, at most half full
    std::size_t m_size = 0;
    int m_shift = 54;  // 64 - log2(entries)
};

}  // namespace mrw
