#include "traffic/run/auto_range_feed.h"

#include <mutex>

#include "app/traffic_range.h"
#include "traffic/parking/park_airports_list.h"
#include "traffic/sim/user_aircraft_data.h"

namespace mrw {

void gf_publishAutoRangeInputs() {
    AutoRangeInputs inputs;
    inputs.userOnGround = g_userOnGround.load();
    inputs.userAltitudeFeet = g_userAcData.altitudeFt;
    inputs.userPosition = Lalo{g_userAcData.latitude, g_userAcData.longitude};
    {
        std::lock_guard lock(g_parkAirportsMutex);
        if (!g_parkAirports.empty()) inputs.firstParkAirport = g_parkAirports.front().position;
    }
    gf_setAutoRangeInputs(inputs);
}

}  // namespace mrw
