#include "traffic/engine/engine_lookups.h"

#include <algorithm>
#include <vector>

#include "traffic/engine/engine_containers.h"

namespace mrw {

namespace {

template <class Record, class Field>
Record* lf_find(std::vector<Record>& records, Field field, std::uint32_t value) {
    const auto found = std::find_if(records.begin(), records.end(),
                                    [&](const Record& record) { return record.*field == value; });
    return found == records.end() ? nullptr : &*found;
}

}  // namespace

LiveAc* gf_liveAcOfHexid(std::uint32_t hexid) {
    return lf_find(g_liveAcs, &LiveAc::hexid, hexid);
}

LiveAc* gf_liveAcOfObject(std::uint32_t objectId) {
    return objectId == 0 ? nullptr : lf_find(g_liveAcs, &LiveAc::objectId, objectId);
}

StaticAc* gf_staticAcOfNumber(std::uint32_t number) {
    return lf_find(g_staticAcs, &StaticAc::hexid, number);
}

StaticAc* gf_staticAcOfObject(std::uint32_t objectId) {
    return objectId == 0 ? nullptr : lf_find(g_staticAcs, &StaticAc::objectId, objectId);
}

}  // namespace mrw
