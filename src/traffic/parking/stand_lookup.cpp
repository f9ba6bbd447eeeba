#include "traffic/parking/stand_lookup.h"

#include <cmath>
#include <vector>

#include "foundation/geometry.h"
#include "foundation/thread_safety.h"
#include "traffic/model/user_aircraft_data.h"
#include "traffic/parking/static_parking.h"

namespace mrw {

namespace {

constexpr double kStandNameRadiusNm = 0.029697624190064796;  // 55 m
constexpr double kSamePositionDegrees = 1e-8;

struct PublishedStand {
    std::string id;
    Lalo position;
};

struct StandLookup {
    Mutex mutex;
    std::vector<PublishedStand> stands GUARDED_BY(mutex);
    bool cached GUARDED_BY(mutex) = false;
    Lalo cachedPosition GUARDED_BY(mutex);
    std::string cachedAnswer GUARDED_BY(mutex);
};

// Built on first use and never destroyed: the client thread may look up during process exit.
StandLookup& lf_lookup() {
    static auto* lookup = new StandLookup;
    return *lookup;
}

bool lf_samePosition(const Lalo& a, const Lalo& b) {
    return std::abs(a.latitude - b.latitude) < kSamePositionDegrees &&
           std::abs(a.longitude - b.longitude) < kSamePositionDegrees;
}

}  // namespace

void gf_publishParkStands() {
    std::vector<PublishedStand> stands;
    stands.reserve(g_parkStands.size());
    for (const Stand& stand : g_parkStands)
        stands.push_back({stand.id, {stand.latitude, stand.longitude}});
    StandLookup& lookup = lf_lookup();
    MutexLock lock(lookup.mutex);
    lookup.stands = std::move(stands);
    lookup.cached = false;
    lookup.cachedAnswer.clear();
}

std::string gf_standNameAt(const Lalo& position) {
    if (!g_userOnGround.load()) return {};
    StandLookup& lookup = lf_lookup();
    MutexLock lock(lookup.mutex);
    if (lookup.stands.empty()) return {};
    if (lookup.cached && lf_samePosition(position, lookup.cachedPosition)) return lookup.cachedAnswer;
    const PublishedStand* nearest = nullptr;
    double nearestDistance = kStandNameRadiusNm;
    for (const PublishedStand& stand : lookup.stands) {
        const double distance = gf_distanceNm(position, stand.position);
        if (distance <= nearestDistance && (nearest == nullptr || distance < nearestDistance)) {
            nearest = &stand;
            nearestDistance = distance;
        }
    }
    lookup.cached = true;
    lookup.cachedPosition = position;
    lookup.cachedAnswer = nearest != nullptr ? nearest->id : std::string{};
    return lookup.cachedAnswer;
}

}  // namespace mrw
