#include "platform/simconnect/ai_object_counts.h"

#include <cmath>
#include <cstdio>

namespace standin {

std::string AiObjectCounts::report(long elapsedSeconds) {
    std::set<DWORD> present;
    int moving = 0;
    int parked = 0;
    std::map<DWORD, std::pair<double, double>> places;
    for (const SimObject& object : objects()) {
        if (object.kind != ObjectKind::Ai) continue;
        present.insert(object.id);
        m_seen.insert(object.id);
        places[object.id] = {object.latitudeDeg, object.longitudeDeg};
        const auto last = m_lastPlace.find(object.id);
        // 1e-5 degrees is about a metre: anything less is standing still.
        const bool moved = last == m_lastPlace.end() ||
                           std::abs(last->second.first - object.latitudeDeg) > 1e-5 ||
                           std::abs(last->second.second - object.longitudeDeg) > 1e-5;
        if (moved && last != m_lastPlace.end()) ++moving;
        if (!moved && object.onGround) ++parked;
    }
    for (DWORD id : m_seen) {
        if (present.count(id) == 0) m_removed.insert(id);
    }
    m_lastPlace = std::move(places);
    char line[160];
    std::snprintf(line, sizeof line,
                  "%5lds  AI objects: %zu in the simulator, %zu created, %zu removed, %d moving, %d parked",
                  elapsedSeconds, present.size(), m_seen.size(), m_removed.size(), moving, parked);
    return line;
}

}  // namespace standin
