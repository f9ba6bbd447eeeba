#include "traffic/engine/engine_lookups.h"

#include <algorithm>
#include <functional>
#include <unordered_map>
#include <vector>

#include "traffic/engine/engine_containers.h"
#include "traffic/engine/engine_lookups_internal.h"

namespace mrw {

namespace {

template <class Record, class Field>
Record* lf_find(std::vector<Record>& records, Field field, std::uint32_t value) {
    const auto found = std::find_if(records.begin(), records.end(),
                                    [&](const Record& record) { return record.*field == value; });
    return found == records.end() ? nullptr : &*found;
}

struct LiveObjectIndex {
    std::unordered_map<std::uint32_t, std::size_t> positions;  // object id -> position in g_liveAcs
    std::int64_t rebuilds = 0;

    LiveObjectIndex() { positions.reserve(1024); }

    void rebuild() {
        positions.clear();
        for (std::size_t i = 0; i < g_liveAcs.size(); ++i)
            if (g_liveAcs[i].objectId != 0) positions.emplace(g_liveAcs[i].objectId, i);
        ++rebuilds;
    }

    // The record at the entry's position when it still has the object id, else null.
    static LiveAc* checked(std::size_t position, std::uint32_t objectId) {
        return position < g_liveAcs.size() && g_liveAcs[position].objectId == objectId ? &g_liveAcs[position]
                                                                                       : nullptr;
    }
};

LiveObjectIndex& lf_index() {
    static LiveObjectIndex index;
    return index;
}

constexpr std::size_t kNotListed = static_cast<std::size_t>(-1);

// The record's position in g_liveAcs; kNotListed for a record of its own (a copy, a test's).
std::size_t lf_positionOf(const LiveAc& aircraft) {
    const LiveAc* first = g_liveAcs.data();
    const std::less<const LiveAc*> before;
    if (before(&aircraft, first) || !before(&aircraft, first + g_liveAcs.size())) return kNotListed;
    return static_cast<std::size_t>(&aircraft - first);
}

}  // namespace

LiveAc* gf_liveAcOfHexid(std::uint32_t hexid) {
    return lf_find(g_liveAcs, &LiveAc::hexid, hexid);
}

LiveAc* gf_liveAcOfObject(std::uint32_t objectId) {
    if (objectId == 0) return nullptr;
    LiveObjectIndex& index = lf_index();
    auto found = index.positions.find(objectId);
    if (found == index.positions.end()) return nullptr;
    if (LiveAc* aircraft = LiveObjectIndex::checked(found->second, objectId)) return aircraft;
    index.rebuild();
    found = index.positions.find(objectId);
    return found == index.positions.end() ? nullptr : &g_liveAcs[found->second];
}

StaticAc* gf_staticAcOfNumber(std::uint32_t number) {
    return lf_find(g_staticAcs, &StaticAc::hexid, number);
}

StaticAc* gf_staticAcOfObject(std::uint32_t objectId) {
    return objectId == 0 ? nullptr : lf_find(g_staticAcs, &StaticAc::objectId, objectId);
}

void gf_setLiveObjectId(LiveAc& aircraft, std::uint32_t objectId) {
    auto& positions = lf_index().positions;
    const auto found = positions.find(aircraft.objectId);
    if (found != positions.end() && found->second == lf_positionOf(aircraft)) positions.erase(found);
    aircraft.objectId = objectId;
    gf_indexLiveObject(aircraft);
}

void gf_indexLiveObject(const LiveAc& aircraft) {
    const std::size_t position = lf_positionOf(aircraft);
    if (aircraft.objectId != 0 && position != kNotListed)
        lf_index().positions.insert_or_assign(aircraft.objectId, position);
}

void gf_clearLiveObjectIndex() {
    lf_index().positions.clear();
}

std::int64_t gf_liveObjectIndexRebuilds() {
    return lf_index().rebuilds;
}

}  // namespace mrw
