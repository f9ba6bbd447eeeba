#include "traffic/model/position_map.h"

#include <utility>

namespace mrw {

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
