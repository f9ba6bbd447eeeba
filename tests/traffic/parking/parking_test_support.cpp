#include "parking_test_support.h"

#include <algorithm>
#include <mutex>

#include "aircraft/wingspans.h"
#include "airports/airports_database.h"
#include "airports/airports_database_internal.h"
#include "airports/park_airport_file.h"
#include "foundation/window_model.h"
#include "support/settings_reset.h"
#include "traffic/feed/traffic_reader.h"
#include "traffic/model/engine_containers.h"
#include "traffic/model/engine_lookups.h"
#include "traffic/model/main_loop_state.h"
#include "traffic/model/user_aircraft_data.h"
#include "traffic/parking/park_airports_list.h"
#include "traffic/parking/park_stands.h"
#include "traffic/parking/parking_controls.h"
#include "traffic/parking/parking_plan.h"
#include "traffic/parking/removal_rules.h"
#include "traffic/parking/stand_lookup.h"
#include "traffic/parking/stand_use_learning.h"
#include "traffic/parking/static_parking.h"

namespace mrwtest {

void resetParkingState() {
    using namespace mrw;
    resetSettings();
    gf_resetAirportsDatabase();  // read again by the next test that reads it
    g_parkAirport = {};
    TrafficReader::parkAirport.store(std::nullopt);
    TrafficReader::collectCallsigns = false;
    {
        std::lock_guard callsignsLock(TrafficReader::callsignsMutex);
        TrafficReader::callsigns.clear();
    }
    g_readParkFilePending = false;
    g_optionCount = 0;
    g_parkFileLoaded = false;
    g_parkStands.clear();
    gf_publishParkStands();
    g_userStandName.set("");
    g_engineContainers.renew();
    g_parkingPlan.clear();
    g_liveParked.clear();
    g_staticReview.clear();
    g_staticRemovals.clear();
    g_skippedUses.clear();
    g_fitOffsetReal = 0;
    g_fitOffsetSoft = -1;
    g_staticNumber = 0;
    g_weekSlotNow = 0;
    g_halfWingspans.fill(0.0);
    g_parkAirports.clear();
    g_lastParkSortPosition = {};
    g_staticsCheckPosition = {};
    g_userAcData = {};
    g_userAcDataRecv = {};
    g_userOnGround = false;
    g_userDataReceived = false;
    g_userHalfSpanNm = 0.0;
    g_parkingUpdateRunning = false;
    mrw::gf_renewMainWindow();  // week and soft parking, averages, counters, texts, message line
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

void setNow(int weekday, int slot) {
    mrw::g_weekSlotNow = static_cast<std::int64_t>(weekday) | (static_cast<std::int64_t>(slot) << 32);
}

void addUse(mrw::Stand& stand, const UseSpec& spec) {
    mrw::StandOption use;
    use.designation.airline = spec.airline;
    use.designation.model = spec.model;
    use.registration = spec.registration;
    use.callsign = spec.callsign;
    use.secondCallsign = spec.secondCallsign;
    for (int slot : spec.halfHours)
        use.halfHours.set(static_cast<std::size_t>(slot));
    use.sequence = static_cast<std::int32_t>(stand.options.size()) + 1;
    use.day = spec.day;
    use.origin = 1;
    use.real = spec.real ? 1 : 0;
    stand.options.push_back(std::move(use));
}

mrw::StaticAc& addStatic(std::int32_t standNumber, const std::string& callsign,
                         const std::string& optionCallsign, const std::string& registration,
                         mrw::CodeIndex model) {
    mrw::StaticAc& ac = mrw::g_staticAcs.emplace_back();
    ac.callsign = callsign;
    ac.optionCallsign = optionCallsign;
    ac.registration = registration;
    ac.designation.airline = 1;
    ac.designation.model = model;
    ac.standNumber = standNumber;
    if (const mrw::Stand* stand = mrw::gf_findParkStand(standNumber))
        ac.standPosition = {stand->latitude, stand->longitude};
    ac.simState = mrw::SimState::Active;
    ac.objectId = 500 + static_cast<std::uint32_t>(mrw::g_staticAcs.size());
    ac.hexid = static_cast<std::uint32_t>(mrw::g_staticAcs.size());
    return ac;
}

mrw::LiveAc& addLive(std::uint32_t hexid, const std::string& callsign, mrw::FlightPhase phase,
                     std::int32_t standNumber) {
    mrw::LiveAc& ac = mrw::g_liveAcs.emplace_back();
    ac.hexid = hexid;
    ac.callsign = callsign;
    ac.phase = phase;
    ac.standNumber = standNumber;
    ac.simState = mrw::SimState::Active;
    mrw::gf_setLiveObjectId(ac, hexid);
    return ac;
}

void ParkingTest::SetUp() {
    resetParkingState();
}

void ParkingTest::TearDown() {
    resetParkingState();
}

}  // namespace mrwtest
