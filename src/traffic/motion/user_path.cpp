// A live aircraft that the user's aircraft follows closely is taken out of the user's way.

#include <cmath>

#include "foundation/geometry.h"
#include "traffic/model/aircraft_records.h"
#include "traffic/model/user_aircraft_data.h"
#include "traffic/motion/motion_math.h"

namespace mrw {

namespace {

struct UserPathLimits {
    double distanceNm;    // largest distance to the user
    double altitudeFt;    // the altitude difference must be below this
    double offTrackFeet;  // largest distance of the user from the aircraft's track line
};

constexpr UserPathLimits kUserPathLimits[2] = {{4, 1000, 700}, {6, 3000, 4000}};

}  // namespace

bool LiveAc::removeIfInUserPath(int kind) {
    const UserPathLimits& limits = kUserPathLimits[kind == 0 ? 0 : 1];
    const UserAcData user = g_userAcData;
    const Lalo userLalo{user.latitude, user.longitude};
    const Lalo here = gf_lalo(simPosition);
    const double d = gf_distanceNm(userLalo, here);
    if (d > limits.distanceNm) return false;
    if (std::fabs(simPosition.altitudeFt - user.altitudeFt) >= limits.altitudeFt) return false;
    const double a = gf_wrapPi(simPosition.heading - gf_bearingRad(userLalo, here));
    const double feet = d * kFeetPerNm;
    if (std::cos(a) * feet <= 0) return false;  // it does not move away from the user
    if (std::fabs(std::sin(a)) * feet > limits.offTrackFeet) return false;
    removeAircraftFromSim();
    return true;
}

}  // namespace mrw
