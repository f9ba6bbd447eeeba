#include "traffic/model/engine_lookups.h"

#include <algorithm>
#include <functional>
#include <vector>

#include "traffic/model/engine_containers.h"
#include "traffic/model/engine_lookups_internal.h"
#include "traffic/model/position_map.h"

namespace mrw {

namespace {

template <class Record, class Field>
Record* lf_find(std::vector<Record>& records, Field field, std::uint32_t value) {
    const auto found = std::find_if(records.begin(), records.end(),
                                    [&](const Record& record) { return record.*field == value; });
    return found == records.end() ? nullptr : &*found;
}

struct LiveObjectIndex {
    PositionMap positions;  // object id -> position in g_liveAcs
    std::int64_t rebuilds = 0;

    void rebuild() {
        positions.clear();
        for (std::size_t i = 0; i < g_liveAcs.size(); ++i)
            if (g_liveAcs[i].objectId != 0) positions.insert(g_liveAcs[i].objectId, i, true);
        ++rebuilds;
    }

    // The record at the entry's position when it still has the object id, else null.
    static LiveAc* checked(std::size_t position, std::uint32_t objectId) {
        return position < g_liveAcs.size() && g_liveAcs[position].objectId == objectId ? &g_liveAcs[position]
                                                                                       : nullptr;
    }
};

// At namespace scope, not function-local: the simulator's answers look hundreds of object ids up in
// one tick, and a guarded local static made each of them a call.
LiveObjectIndex g_liveObjectIndex;

LiveObjectIndex& lf_index() {
    return g_liveObjectIndex;
}

// Hexid -> position in g_liveAcs, for the reports and creations that name their aircraft by hexid,
// several a tick. It answers only for the list it matches: listSize is the length of g_liveAcs when
// it last did, and a list found longer or shorter (records appended or erased without the index)
// rebuilds it first, as does a position found stale.
struct LiveHexidIndex {
    PositionMap positions;
    std::size_t listSize = 0;
    std::int64_t rebuilds = 0;

    void rebuild() {
        positions.clear();
        // The first of two records with one hexid is kept, as the search did.
        for (std::size_t i = 0; i < g_liveAcs.size(); ++i)
            positions.insert(g_liveAcs[i].hexid, i, true);
        listSize = g_liveAcs.size();
        ++rebuilds;
    }

    void sync() {
        if (listSize != g_liveAcs.size()) rebuild();
    }

    static bool holds(std::size_t position, std::uint32_t hexid) {
        return position < g_liveAcs.size() && g_liveAcs[position].hexid == hexid;
    }
};

LiveHexidIndex g_liveHexidIndex;

LiveHexidIndex& lf_hexidIndex() {
    return g_liveHexidIndex;
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
    LiveHexidIndex& index = lf_hexidIndex();
    index.sync();
    const std::size_t* found = index.positions.find(hexid);
    if (found != nullptr && !LiveHexidIndex::holds(*found, hexid)) {
        index.rebuild();
        found = index.positions.find(hexid);
    }
    return found == nullptr ? nullptr : &g_liveAcs[*found];
}

void gf_indexAppendedLiveAc() {
    LiveHexidIndex& index = lf_hexidIndex();
    if (g_liveAcs.empty() || index.listSize + 1 != g_liveAcs.size()) return index.rebuild();
    index.positions.insert(g_liveAcs.back().hexid, g_liveAcs.size() - 1, true);
    index.listSize = g_liveAcs.size();
}

LiveAc* gf_liveAcOfObject(std::uint32_t objectId) {
    if (objectId == 0) return nullptr;
    LiveObjectIndex& index = lf_index();
    const std::size_t* found = index.positions.find(objectId);
    if (found == nullptr) return nullptr;
    if (LiveAc* aircraft = LiveObjectIndex::checked(*found, objectId)) return aircraft;
    index.rebuild();
    found = index.positions.find(objectId);
    return found == nullptr ? nullptr : &g_liveAcs[*found];
}

StaticAc* gf_staticAcOfNumber(std::uint32_t number) {
    return lf_find(g_staticAcs, &StaticAc::hexid, number);
}

StaticAc* gf_staticAcOfObject(std::uint32_t objectId) {
    return objectId == 0 ? nullptr : lf_find(g_staticAcs, &StaticAc::objectId, objectId);
}

void gf_setLiveObjectId(LiveAc& aircraft, std::uint32_t objectId) {
    PositionMap& positions = lf_index().positions;
    const std::size_t* found = positions.find(aircraft.objectId);
    if (found != nullptr && *found == lf_positionOf(aircraft)) positions.erase(aircraft.objectId);
    aircraft.objectId = objectId;
    gf_indexLiveObject(aircraft);
}

void gf_indexLiveObject(const LiveAc& aircraft) {
    const std::size_t position = lf_positionOf(aircraft);
    if (aircraft.objectId != 0 && position != kNotListed)
        lf_index().positions.insert(aircraft.objectId, position);
}

void gf_indexLiveAcErasure(const LiveAc& erased) {
    LiveHexidIndex& index = lf_hexidIndex();
    const std::size_t position = lf_positionOf(erased);
    if (position == kNotListed) return;
    index.sync();
    const std::size_t* found = index.positions.find(erased.hexid);
    if (found != nullptr && *found == position) index.positions.erase(erased.hexid);
    const std::size_t last = g_liveAcs.size() - 1;
    if (position != last) index.positions.insert(g_liveAcs[last].hexid, position);
    index.listSize = last;
}

void gf_clearLiveObjectIndex() {
    lf_index().positions.clear();
    lf_hexidIndex().positions.clear();
    lf_hexidIndex().listSize = 0;
}

std::int64_t gf_liveObjectIndexRebuilds() {
    return lf_index().rebuilds;
}

std::int64_t gf_liveHexidIndexRebuilds() {
    return lf_hexidIndex().rebuilds;
}

}  // namespace mrw
