#include "traffic/model/user_aircraft_data.h"

#include <cmath>

namespace mrw {

UserAcData gf_userAcDataRecv() {
    MutexLock lock(g_userAcDataRecvMutex);
    return g_userAcDataRecv;
}

void gf_setUserAcDataRecv(const UserAcData& data) {
    MutexLock lock(g_userAcDataRecvMutex);
    g_userAcDataRecv = data;
}

bool gf_userPositionKnown(double latitude, double longitude) {
    return std::fabs(latitude) > 0.0001 || std::fabs(longitude) > 0.0001;
}

bool gf_userPositionKnown(const UserAcData& data) {
    return gf_userPositionKnown(data.latitude, data.longitude);
}

}  // namespace mrw
