#include "parking_test_support.h"

#include <algorithm>
#include <mutex>

#include "airports/airports_database.h"
#include "airports/park_airport_file.h"
#include "app/main_window.h"
#include "app/parking_controls.h"
#include "config/parameter_catalogue.h"
#include "config/parameter_registries.h"
#include "traffic/engine/engine_containers.h"
#include "traffic/parking/park_airports_list.h"
#include "traffic/parking/removal_rules.h"
#include "traffic/parking/stand_lookup.h"
#include "traffic/parking/static_parking.h"
#include "traffic/sim/user_aircraft_data.h"

namespace mrwtest {

void resetParkingState() {
    using namespace mrw;
    const auto reset = [](const auto& registry) {
        for (auto* p : registry)
            p->current = p->defaultValue;
    };
    auto& s = g_parameters();
    reset(g_checkBoxParameters());
    reset(g_intParameters());
    reset(g_intComboParameters());
    s.parking_percentage.current = s.parking_percentage.defaultValue;
    s.MAX_FIT_FL.current = s.MAX_FIT_FL.defaultValue;
    s.DESTINATION.current.set("");
    g_airports.clear();
    g_knownAirportCodes.clear();
    g_parkAirport = {};
    g_parkFileLoaded = false;
    g_parkStands.clear();
    gf_publishParkStands();
    g_userStandName.set("");
    g_liveAcs.clear();
    g_staticAcs.clear();
    g_liveCreateQueue.clear();
    g_staticCreateQueue.clear();
    g_removeQueue.clear();
    g_removedGhosts.clear();
    g_liveCallsigns.clear();
    g_parkAirports.clear();
    g_lastParkSortPosition = {};
    g_staticsCheckPosition = {};
    g_userAcData = {};
    g_userAcDataRecv = {};
    g_userOnGround = false;
    g_userDataReceived = false;
    g_userHalfSpanNm = 0.0;
    g_parkingUpdateRunning = false;
    auto& window = g_mainWindow();
    window.parkAirportCode = FixedCode<4>{};
    window.userStandText.set("");
    std::lock_guard lock(window.messageMutex);
    window.message.clear();
    window.errorMessage.clear();
}

void addAirport(const std::string& code, double latitude, double longitude) {
    mrw::Airport airport;
    airport.code = mrw::FixedCode<4>(code);
    airport.latitude = latitude;
    airport.longitude = longitude;
    const auto at = std::upper_bound(mrw::g_airports.begin(), mrw::g_airports.end(), airport.code,
                                     [](const auto& c, const mrw::Airport& a) { return c < a.code; });
    mrw::g_airports.insert(at, airport);
    mrw::g_knownAirportCodes.insert(airport.code);
}

mrw::Stand makeStand(const std::string& id, double latitude, double longitude) {
    return mrw::Stand({}, id, latitude, longitude, 0.0, 20.0, 12, false, false, false);
}

void setParkStands(std::vector<mrw::Stand> stands) {
    std::int32_t number = 0;
    for (mrw::Stand& stand : stands)
        stand.number = ++number;
    mrw::g_parkStands = std::move(stands);
    mrw::gf_publishParkStands();
}

void ParkingTest::SetUp() {
    resetParkingState();
}

void ParkingTest::TearDown() {
    resetParkingState();
}

}  // namespace mrwtest
