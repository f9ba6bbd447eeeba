// The stand the user aircraft stands on, kept free at the park airport.

#include "foundation/thread_safety.h"
#include "traffic/model/user_aircraft_data.h"
#include "traffic/parking/park_airports_list.h"
#include "traffic/parking/stand_lookup.h"
#include "traffic/parking/static_parking.h"
#include "traffic/sim/sim_dispatch.h"

namespace mrw {
namespace {

constexpr double kParkedKnots = 2.0;

}  // namespace

void gf_reserveUserStand() {
    if (!g_userDataReceived.load()) return;
    // The received record, under its own lock: this runs on the client thread, which must not read
    // the main worker's copy.
    const UserAcData user = gf_userAcDataRecv();
    if (user.groundVelocityKt > kParkedKnots) return;
    const std::string name = gf_standNameAt(Lalo{user.latitude, user.longitude});
    if (name.empty()) return;
    RecursiveMutexLock lock(g_parkAirportsMutex);
    if (g_parkAirports.empty()) return;
    ParkAirportEntry& front = g_parkAirports.front();
    if (front.code != g_parkAirport.code || front.reservedStand == name) return;
    front.reservedStand = name;
    gf_writeMyParkAirports();
}

}  // namespace mrw
