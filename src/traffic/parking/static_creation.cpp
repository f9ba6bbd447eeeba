#include "traffic/parking/static_creation.h"

#include <algorithm>
#include <optional>

#include <fmt/format.h>

#include "aircraft/code_tables.h"
#include "aircraft/livery_matching.h"
#include "foundation/log.h"
#include "traffic/model/engine_containers.h"
#include "traffic/parking/park_stands.h"
#include "traffic/parking/parking_plan.h"
#include "traffic/parking/stand_use_learning.h"
#include "traffic/parking/static_parking.h"

namespace mrw {

namespace {

constexpr std::int32_t kStaticNumbers = 10000;  // static numbers run 1 to 9999
constexpr double kDegreesPerRadian = 57.29577951308232;

bool lf_onOrNextTo(std::int32_t standNumber, const ParkingPlanEntry& entry, const Stand* stand) {
    if (standNumber == entry.standNumber) return true;
    return entry.standNumber > 0 && stand != nullptr &&
           std::find(stand->overlaps.begin(), stand->overlaps.end(), standNumber) != stand->overlaps.end();
}

// A live aircraft parking or parked on the entry's stand or next to it; logged.
bool lf_liveInTheWay(const ParkingPlanEntry& entry, const Stand* stand) {
    const auto live = std::find_if(g_liveAcs.begin(), g_liveAcs.end(), [&](const LiveAc& ac) {
        return (ac.phase == FlightPhase::Parking || ac.phase == FlightPhase::Parked) &&
               lf_onOrNextTo(ac.standNumber, entry, stand);
    });
    if (live == g_liveAcs.end()) return false;
    const std::string name = gf_standName(entry.standNumber);
    if (live->standNumber == entry.standNumber)
        gf_logLine(fmt::format("{:8}: no static parking for {}, live aircraft {} standing here", name,
                               entry.optionCallsign, live->callsign));
    else
        gf_logLine(fmt::format(
            "{:8}: no static parking for {}, live aircraft {} is adjacent at {}, possibly colliding", name,
            entry.optionCallsign, live->callsign, gf_standName(live->standNumber)));
    return true;
}

// A static aircraft on the entry's stand or next to it, unless it is on its way out (a static
// removed to make room for this entry must not refuse it); logged.
bool lf_staticInTheWay(const ParkingPlanEntry& entry, const Stand* stand) {
    const auto other = std::find_if(g_staticAcs.begin(), g_staticAcs.end(), [&](const StaticAc& ac) {
        return ac.simState != SimState::RemovingFromSim && lf_onOrNextTo(ac.standNumber, entry, stand);
    });
    if (other == g_staticAcs.end()) return false;
    gf_logLine(fmt::format(
        "{:8}: no static parking for {}, static aircraft {} is adjacent at {}, possibly colliding",
        gf_standName(entry.standNumber), entry.optionCallsign, other->callsign,
        gf_standName(other->standNumber)));
    return true;
}

bool lf_staticNumberInUse(std::int32_t number) {
    return std::any_of(g_staticAcs.begin(), g_staticAcs.end(), [number](const StaticAc& ac) {
        return ac.hexid == static_cast<std::uint32_t>(number);
    });
}

// The next free static number after the last one, 1 to 9999 (0 would post no failure event).
std::int32_t lf_nextStaticNumber() {
    for (std::int32_t tries = 0; tries < kStaticNumbers; ++tries) {
        g_staticNumber = g_staticNumber % (kStaticNumbers - 1) + 1;
        if (!lf_staticNumberInUse(g_staticNumber)) break;
    }
    return g_staticNumber;
}

std::string lf_callsignOf(const ParkingPlanEntry& entry, std::int32_t number) {
    if (entry.optionCallsign.empty())
        return fmt::format("{}{}{}", g_airlineCodes().text(entry.designation.airline), number, '*');
    const std::string& first = entry.useFirstCallsign ? entry.optionCallsign : entry.optionCallsign2;
    const std::string& other = entry.useFirstCallsign ? entry.optionCallsign2 : entry.optionCallsign;
    return lf_staticCallsign(first.empty() ? other : first);
}

WeekSlot lf_slotBefore(WeekSlot now, std::int32_t halfHours) {
    WeekSlot slot{now.weekday, now.slot - halfHours};
    while (slot.slot < 0) {
        slot.slot += 48;
        slot.weekday = slot.weekday <= 1 ? 7 : slot.weekday - 1;
    }
    return slot;
}

}  // namespace

std::string lf_staticCallsign(std::string callsign) {
    while (!callsign.empty() && callsign.back() == '_')
        callsign.pop_back();
    if (callsign.empty() || callsign.back() != '*') callsign += '*';
    return callsign;
}

void lf_detcs() {
    if (g_parkingPlan.empty() || g_parkStands.empty()) return;
    const ParkingPlanEntry entry = std::move(g_parkingPlan.back());
    g_parkingPlan.pop_back();
    const Stand* stand = gf_findParkStand(entry.standNumber);
    if (lf_liveInTheWay(entry, stand) || lf_staticInTheWay(entry, stand)) return;
    if (stand == nullptr) {
        gf_logError(fmt::format("stand with id {} not found", gf_standName(entry.standNumber)));
        return;
    }
    if (stand->occupied) {
        gf_logLine(fmt::format("{:8}: no static parking for {}, live aircraft occupies the stand", stand->id,
                               entry.optionCallsign));
        return;
    }
    const std::int32_t number = lf_nextStaticNumber();
    AircraftIdentity identity;
    identity.designation = entry.designation;
    identity.callsign = lf_callsignOf(entry, number);
    identity.optionCallsign = entry.optionCallsign;
    identity.optionCallsign2 = entry.optionCallsign2;
    identity.registration = entry.registration;
    AcProfile profile = gf_makeAcProfile(identity);
    profile.hexid = static_cast<std::uint32_t>(number);
    StaticAc& ac =
        g_staticAcs.emplace_back(std::move(profile), stand->number, Lalo{stand->latitude, stand->longitude},
                                 stand->heading, stand->cargo);
    if (!gf_matchStaticAcLivery(ac, *stand)) {
        g_staticAcs.pop_back();
        return;
    }
    ac.parkedSince = lf_slotBefore(gf_currentWeekSlot(), entry.fitOffset);
    ac.simState = SimState::Adding2Sim;
    CreateRequest request;
    request.initPosition.Latitude = ac.standPosition.latitude;
    request.initPosition.Longitude = ac.standPosition.longitude;
    request.initPosition.Altitude = 0.0;
    request.initPosition.Pitch = 0.0;
    request.initPosition.Bank = 0.0;
    request.initPosition.Heading = ac.standHeadingRad * kDegreesPerRadian;
    request.initPosition.OnGround = 1;
    request.initPosition.Airspeed = 0;
    request.callsign = ac.callsign;
    request.title = std::string(ac.liveryTitle);
    request.hexid = number;
    g_staticCreateQueue.push_back(std::move(request));
}

}  // namespace mrw
