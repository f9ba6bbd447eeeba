#include "traffic/model/position_map.h"

#include <utility>

namespace mrw {

std::size_t PositionMap::home(std::uint32_t key) const {
    // Fibonacci hashing: the ids of a run, given one after the other, spread over the array.
    return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> m_shift);
}

std::size_t PositionMap::slotOf(std::uint32_t key) const {
    const std::size_t mask = m_entries.size() - 1;
    std::size_t i = home(key);
    while (m_entries[i].position != kEmpty && m_entries[i].key != key)
        i = (i + 1) & mask;
    return i;
}

const std::size_t* PositionMap::find(std::uint32_t key) const {
    const Entry& entry = m_entries[slotOf(key)];
    return entry.position == kEmpty ? nullptr : &entry.position;
}

void PositionMap::insert(std::uint32_t key, std::size_t position, bool keep) {
    Entry& entry = m_entries[slotOf(key)];
    if (entry.position != kEmpty) {
        if (!keep) entry.position = position;
        return;
    }
    entry = {key, position};
    if (++m_size * 2 > m_entries.size()) grow();
}

void PositionMap::erase(std::uint32_t key) {
    const std::size_t mask = m_entries.size() - 1;
    std::size_t hole = slotOf(key);
    if (m_entries[hole].position == kEmpty) return;
    --m_size;
    // Each later entry of the run whose home is not between the hole and itself moves into the hole.
    for (std::size_t j = (hole + 1) & mask; m_entries[j].position != kEmpty; j = (j + 1) & mask) {
        const std::size_t h = home(m_entries[j].key);
        const bool homeInGap = hole <= j ? (hole < h && h <= j) : (hole < h || h <= j);
        if (homeInGap) continue;
        m_entries[hole] = m_entries[j];
        hole = j;
    }
    m_entries[hole] = Entry{};
}

void PositionMap::clear() {
    for (Entry& entry : m_entries)
        entry = Entry{};
    m_size = 0;
}

void PositionMap::grow() {
    std::vector<Entry> old = std::exchange(m_entries, std::vector<Entry>(m_entries.size() * 2));
    --m_shift;
    m_size = 0;
    for (const Entry& entry : old)
        if (entry.position != kEmpty) insert(entry.key, entry.position);
}

}  // namespace mrw
