#include "traffic/parking/stand_choice_internal.h"

#include <algorithm>
#include <cmath>

#include <fmt/format.h>

#include "aircraft/wingspans.h"
#include "airports/stand.h"
#include "foundation/geometry.h"
#include "foundation/log.h"
#include "traffic/model/engine_containers.h"
#include "traffic/model/user_aircraft_data.h"
#include "traffic/parking/park_stands.h"
#include "traffic/parking/stand_lookup.h"
#include "traffic/parking/stand_use_learning.h"
#include "traffic/parking/static_parking.h"

namespace mrw {

namespace {

constexpr double kNoDistance = 900.0;
constexpr double kSmallStandNm = 0.010799136069114472;     // 20 m: taken even when too small
constexpr double kRealUseSearchNm = 0.0458963282937365;    // 85 m
constexpr double kUntypedFitNm = 0.0009719222462203025;    // 1.8 m
constexpr double kShrinkMarginNm = 0.0005399568034557236;  // 1 m
constexpr double kBirthAirportNm = 5.0;
constexpr double kBirthMovingNm = 0.018898488120950324;  // 35 m
constexpr double kBirthMovingSpeedKt = 5.0;
constexpr double kCollisionFactor = 1.1;
constexpr double kSamePositionDegrees = 1e-8;

double lf_halfSpan(const StaticAc& aircraft) {
    return gf_halfWingspanNm(aircraft.designation.model);
}

Lalo lf_standLalo(const Stand& stand) {
    return {stand.latitude, stand.longitude};
}

Lalo lf_sampleLalo(const PositionSample& sample) {
    return {sample.lat, sample.lon};
}

bool lf_fits(const Stand& stand, const LiveAc& aircraft) {
    if (stand.type == 0) return aircraft.halfSpanNm - stand.radius <= kUntypedFitNm;
    return stand.acceptsClass(aircraft.category);
}

bool lf_sameDesignation(const AcDesignation& a, const AcDesignation& b) {
    return a.airline == b.airline && a.operatorAirline == b.operatorAirline && a.model == b.model;
}

// An active real use of the stand belongs to this aircraft: its callsign or its designation.
bool lf_hasOwnRealUse(const Stand& stand, const LiveAc& aircraft) {
    if (aircraft.callsign.empty()) return false;
    return std::any_of(stand.options.begin(), stand.options.end(), [&aircraft](const StandOption& use) {
        return use.sequence > 0 && use.real != 0 &&
               (use.callsign == aircraft.callsign || use.secondCallsign == aircraft.callsign ||
                lf_sameDesignation(use.designation, aircraft.designation));
    });
}

// The stand the user stands on, or the one kept free for the user.
bool lf_isUserStand(const Stand& stand) {
    const std::string reserved = g_userStandName.get();
    if (!reserved.empty() && reserved == stand.id) return true;
    const UserAcData user = gf_userAcDataRecv();
    const std::string under = gf_standNameAt({user.latitude, user.longitude});
    return !under.empty() && under == stand.id;
}

bool lf_isStanding(FlightPhase phase) {
    return phase == FlightPhase::Parked || phase == FlightPhase::PushingBack ||
           phase == FlightPhase::PushedBack;
}

// The active live aircraft that stands on the stand with that number. A record that only passed the
// stand (a taxiing aircraft keeps its old stand number) is no aircraft on it.
LiveAc* lf_liveStandingOn(std::int32_t standNumber, const LiveAc* except) {
    const auto found = std::find_if(g_liveAcs.begin(), g_liveAcs.end(), [&](const LiveAc& ac) {
        return &ac != except && ac.standNumber == standNumber && lf_isStanding(ac.phase) &&
               ac.simState == SimState::Active;
    });
    return found == g_liveAcs.end() ? nullptr : &*found;
}

bool lf_endsInUnderscore(const std::string& callsign) {
    return !callsign.empty() && callsign.back() == '_';
}

// The callsign without its last character; a callsign of one character or none has no stem.
std::string lf_stem(const std::string& callsign) {
    return callsign.size() > 1 ? callsign.substr(0, callsign.size() - 1) : std::string{};
}

// The live aircraft on the adjacent stand and the distance between the two stands; none when
// nobody stands there or the stand is unknown. Pushed-back aircraft have left their stand.
LiveAc* lf_adjacentLive(std::int32_t adjacentNumber, const LiveAc& aircraft, const Stand& stand,
                        double& distanceNm) {
    LiveAc* other = lf_liveStandingOn(adjacentNumber, &aircraft);
    if (other == nullptr || other->phase == FlightPhase::PushedBack) return nullptr;
    const Stand* adjacent = gf_findParkStand(adjacentNumber);
    if (adjacent == nullptr) return nullptr;
    distanceNm = gf_distanceNm(lf_standLalo(*adjacent), lf_standLalo(stand));
    return other;
}

bool lf_collide(double halfSpanA, double halfSpanB, double distanceNm) {
    return kCollisionFactor * (halfSpanA + halfSpanB) >= distanceNm;
}

}  // namespace

Stand* lf_findStand(const Lalo& position, const LiveAc& aircraft, double searchRadiusNm, bool wide) {
    Stand* best = nullptr;
    Stand* wideBest = nullptr;
    Stand* small = nullptr;
    double bestDistance = kNoDistance;
    double wideDistance = kNoDistance;
    for (Stand& stand : g_parkStands) {
        const double distance = gf_distanceNm(position, lf_standLalo(stand));
        if (distance <= searchRadiusNm && distance < bestDistance) {
            if (lf_fits(stand, aircraft)) {
                best = &stand;
                bestDistance = distance;
                wide = false;
            } else if (distance <= kSmallStandNm) {
                best = small = &stand;
                bestDistance = distance;
                wide = false;
            }
        } else if (wide && distance <= kRealUseSearchNm && distance < wideDistance &&
                   lf_fits(stand, aircraft) && lf_hasOwnRealUse(stand, aircraft)) {
            wideBest = &stand;
            wideDistance = distance;
        }
    }
    Stand* result = best != nullptr ? best : wideBest;
    if (result == nullptr || result->heli != (aircraft.category == AcCategory::Rotorcraft)) return nullptr;
    if (result == small) {
        result->radiusChanged = true;
        // Never below its own radius: a smaller aircraft must not shrink the stand for good.
        result->radius = std::max(result->radius, aircraft.halfSpanNm - kShrinkMarginNm);
        gf_countRecordedUse();
    }
    return result;
}

bool lf_resolveStandConflict(std::int32_t standNumber, const std::string& callsign) {
    LiveAc* other = lf_liveStandingOn(standNumber, nullptr);
    if (other == nullptr) return true;
    const std::string& theirs = other->callsign;
    const std::string name = gf_standName(standNumber);
    if (!callsign.empty() && theirs == callsign) {
        gf_logLine(fmt::format("{:8}: {:8} ac with same callsign {} wants it, remove existing ... ", name,
                               theirs, callsign));
        other->removeAircraftFromSim();
        return true;
    }
    if (!theirs.empty() && lf_stem(callsign) == theirs) return false;
    if ((!callsign.empty() && lf_stem(theirs) == callsign) ||
        (lf_endsInUnderscore(theirs) && !lf_endsInUnderscore(callsign))) {
        gf_logLine(fmt::format("{:8}: {:8} ghost, replace by {}", name, theirs, callsign));
        other->removeAircraftFromSim();
        return true;
    }
    if (lf_endsInUnderscore(callsign) && !lf_endsInUnderscore(theirs)) return false;
    if (other->parkedTimeExempt) return false;
    gf_logLine(fmt::format("{:8}: {:8} removed because another live {} wants the stand ...", name, theirs,
                           callsign));
    other->removeAircraftFromSim();
    return true;
}

void lf_removeAdjacentColliders(std::int32_t adjacentNumber, const LiveAc& aircraft, const Stand& stand) {
    double distance = 0.0;
    LiveAc* other = lf_adjacentLive(adjacentNumber, aircraft, stand, distance);
    if (other == nullptr || !lf_collide(lf_halfSpan(*other), lf_halfSpan(aircraft), distance)) return;
    gf_logLine(fmt::format("{:8}: {:8} removed by parking {} at adjacent and possibly colliding stand {}",
                           gf_standName(adjacentNumber), other->callsign, aircraft.callsign, stand.id));
    other->removeAircraftFromSim();
}

bool lf_checkStand(std::int32_t adjacentNumber, const LiveAc& aircraft, const Stand& stand) {
    double distance = 0.0;
    const LiveAc* other = lf_adjacentLive(adjacentNumber, aircraft, stand, distance);
    if (other == nullptr || other->callsign == aircraft.callsign) return true;
    return !lf_collide(lf_halfSpan(*other), lf_halfSpan(aircraft), distance);
}

void lf_makeWayAtExcludedStand(const LiveAc& aircraft, std::int32_t adjacentNumber, const Stand& stand) {
    const Stand* adjacent = gf_findParkStand(adjacentNumber);
    if (adjacent == nullptr) return;
    const double distance = gf_distanceNm(lf_standLalo(*adjacent), lf_standLalo(stand));
    for (StaticAc& ac : g_staticAcs) {
        if (ac.simState != SimState::Active || ac.standNumber != adjacentNumber ||
            !lf_collide(lf_halfSpan(ac), lf_halfSpan(aircraft), distance))
            continue;
        gf_logLine(fmt::format("{:8}: {:8} makes way for {} parking at excluded stand {}",
                               gf_standName(adjacentNumber), ac.callsign, aircraft.callsign, stand.id));
        ac.removeAircraftFromSim();
        return;
    }
}

void lf_makeWay(const LiveAc& aircraft, const Stand& stand) {
    // A static on its way out may share the stand with its queued successor: the successor is the one
    // in the way.
    const auto inWay = std::find_if(g_staticAcs.begin(), g_staticAcs.end(), [&stand](const StaticAc& ac) {
        return ac.standNumber == stand.number &&
               (ac.simState == SimState::Active || ac.simState == SimState::Adding2Sim);
    });
    if (inWay != g_staticAcs.end()) {
        StaticAc& ac = *inWay;
        const bool sameAircraft = ac.optionCallsign == aircraft.callsign ||
                                  (!ac.registration.empty() && ac.registration == aircraft.registration);
        const std::string text = fmt::format("{:8}: {:8} {} makes way for{} {} {}", stand.id, ac.callsign,
                                             ac.registration, sameAircraft ? " the same live version" : "",
                                             aircraft.callsign, aircraft.registration);
        if (ac.simState == SimState::Active) {
            gf_logLine(text);
            ac.removeAircraftFromSim();
        } else if (gf_withdrawCreateRequest(g_staticCreateQueue, ac.callsign)) {
            ac.eraseWithdrawn = true;
            gf_logLine("queued " + text);
        } else {
            ac.removeWhenCreated = true;
        }
        std::erase_if(g_staticAcs, [](const StaticAc& s) { return s.eraseWithdrawn; });
    }
    for (const std::int32_t number : stand.overlaps)
        lf_makeWayAtExcludedStand(aircraft, number, stand);
}

void LiveAc::try2Park(bool wide) {
    if (samples.empty()) {
        gf_logError(fmt::format("{} empty sz?", "try2Park"));
        return;
    }
    const Lalo position = lf_sampleLalo(samples.back());
    if (std::abs(position.latitude - lastParkTryPosition.latitude) < kSamePositionDegrees &&
        std::abs(position.longitude - lastParkTryPosition.longitude) < kSamePositionDegrees)
        return;
    lastParkTryPosition = position;
    Stand* stand = lf_findStand(position, *this, wide ? kBirthSearchNm : kTaxiSearchNm, wide);
    if (stand == nullptr || lf_isUserStand(*stand)) return;
    if (LiveAc* other = lf_liveStandingOn(stand->number, this);
        other != nullptr && other->phase == FlightPhase::Parked) {
        gf_logLine(fmt::format("{:8}: {:8} removed, {} wants to park there", gf_standName(stand->number),
                               other->callsign, callsign));
        other->removeAircraftFromSim();
    }
    for (const std::int32_t number : stand->overlaps)
        lf_removeAdjacentColliders(number, *this, *stand);
    lf_makeWay(*this, *stand);
    standPosition = lf_standLalo(*stand);
    standHeadingRad = stand->heading;
    standNumber = stand->number;
    standCargo = stand->cargo;
    samples.resize(1);
    setPhase(FlightPhase::Parking);
    drive2Stand(standPosition, standHeadingRad);
}

std::optional<Stand> LiveAc::standForGroundBirth() {
    if (g_parkStands.empty() || g_parkAirport.code.empty() || samples.empty()) return std::nullopt;
    PositionSample& first = samples.front();
    if (gf_distanceNm(lf_sampleLalo(first), g_parkAirport.lalo()) > kBirthAirportNm) return std::nullopt;
    Lalo position = lf_sampleLalo(first);
    if (!first.stationary) {
        if (samples.size() < 2 || samples[1].groundSpeedKt > kBirthMovingSpeedKt) return std::nullopt;
        position = lf_sampleLalo(samples.back());
        if (gf_distanceNm(lf_sampleLalo(first), position) > kBirthMovingNm) return std::nullopt;
    }
    const Stand* stand = lf_findStand(position, *this, kBirthSearchNm, first.stationary);
    if (stand == nullptr || lf_isUserStand(*stand)) return std::nullopt;
    const bool free = lf_resolveStandConflict(stand->number, callsign) &&
                      std::all_of(stand->overlaps.begin(), stand->overlaps.end(),
                                  [&](std::int32_t number) { return lf_checkStand(number, *this, *stand); });
    if (!free) {
        eraseNeverCreated = true;
        return std::nullopt;
    }
    lf_makeWay(*this, *stand);
    if (!first.stationary) {
        first.stationary = true;
        first.groundSpeedKt = 0.0;
    }
    return *stand;
}

}  // namespace mrw
