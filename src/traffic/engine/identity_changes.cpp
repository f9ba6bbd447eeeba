// Identity changes of a known live aircraft and the decision to re-create it with another livery.

#include <fmt/format.h>

#include "aircraft/aircraft_texts.h"
#include "aircraft/code_tables.h"
#include "aircraft/dbase_lookups.h"
#include "aircraft/regcode_store.h"
#include "config/parameter_catalogue.h"
#include "foundation/log.h"
#include "traffic/engine/livery_cache.h"
#include "traffic/model/traffic_report.h"
#include "traffic/parking/removal_rules.h"
#include "traffic/parking/stand_use_learning.h"
#include "traffic/parking/static_parking.h"

namespace mrw {

namespace {

// Airline, operator and model; the cargo and database bytes are not compared.
bool lf_sameDesignation(const AcDesignation& a, const AcDesignation& b) {
    return a.airline == b.airline && a.operatorAirline == b.operatorAirline && a.model == b.model;
}

bool lf_endsWithUnderscore(const std::string& text) {
    return !text.empty() && text.back() == '_';
}

}  // namespace

bool LiveAc::respawnOnChange(const TrafficReport& report) {
    if (takeOffRoll || approaching) return true;
    if (simState == SimState::Buffer) {
        mergeIdentity(report);
        return true;
    }
    if (simState != SimState::Active) return true;
    if (phase == FlightPhase::PushingBack || streamEndState > 0) return true;
    const std::string& newCallsign = report.identity.callsign;
    // A callsign the aircraft cannot fly under (too long) changes nothing: it was created under its
    // registration for that, and re-creating it would give the same aircraft at every report.
    const bool callsignChanged =
        hasUsableCallsign(report.identity) && newCallsign != callsign && newCallsign != registration;
    // A ghost report of a live aircraft is spotted before its route or registration is merged.
    if (callsignChanged && lf_endsWithUnderscore(newCallsign) && lf_isGhostOfLive(newCallsign)) return false;
    const bool routeChanged = !updateRoute(report);
    const bool unchanged = updateRegistration(report);
    bool respawn = unchanged ? routeChanged : true;
    if (callsignChanged) {
        if (!lf_endsWithUnderscore(newCallsign)) lf_removeGhost(newCallsign);
        callsign = newCallsign;
        optionCallsign = callsign;
        optionCallsign2.clear();
        respawn = true;
    }
    if (!respawn || !g_parameters().GUID_CHANGES.current) return true;
    gf_logLine(fmt::format("          {} respawns", gf_callsignRegRouteText(*this)));
    liveryRespawn();
    return false;
}

void LiveAc::mergeIdentity(const TrafficReport& report) {
    const AircraftIdentity& r = report.identity;
    if (!r.destination.empty() && r.destination != destination) destination = r.destination;
    if (!r.origin.empty() && r.origin != origin) origin = r.origin;
    if (!r.callsign.empty() && r.callsign != callsign) callsign = r.callsign;
    if (!r.registration.empty() && r.registration != registration) registration = r.registration;
}

bool LiveAc::updateRoute(const TrafficReport& report) {
    const AircraftIdentity& r = report.identity;
    bool changed = false;
    if (!r.destination.empty() && destination.empty()) {
        destination = r.destination;
        changed = true;
    }
    if (!r.origin.empty() && origin.empty()) {
        origin = r.origin;
        changed = true;
    }
    const bool bothDestinationsDiffer =
        !r.destination.empty() && !destination.empty() && r.destination != destination;
    const bool bothOriginsDiffer = !r.origin.empty() && !origin.empty() && r.origin != origin;
    if (bothDestinationsDiffer && bothOriginsDiffer) {
        const bool returnToPark = origin == g_parkAirport.iata && r.destination == origin;
        if (!returnToPark) {
            origin = r.origin;
            destination = r.destination;
            changed = true;
            if (onGroundInSim && phase != FlightPhase::Parking && phase != FlightPhase::Parked) {
                setPhase(FlightPhase::Taxi);
                targetHeading = simPosition.heading;
            }
        }
    }
    return !changed;
}

bool LiveAc::updateRegistration(const TrafficReport& report) {
    const std::string& n = report.identity.registration;
    if (n.empty()) return true;
    bool result = true;
    if (registration.empty() || (registration == callsign && registration != n)) {
        result = !checkRegistrationLivery(report);
    } else if (registration != n) {
        const auto listed = gf_findDbaseRecord(n);
        const auto airline = gf_airlineFromCallsign(report.identity.callsign);
        if (listed && !lf_sameDesignation(*listed, designation) && airline) {
            const CodeIndex reportAirline = gf_airlineIndex(*airline);
            if (reportAirline == listed->airline || reportAirline == listed->operatorAirline) {
                designation = *listed;
                // The use is learned under the new registration, which must be in place first.
                registration = n;
                if (standNumber > 0 && phase == FlightPhase::Parked)
                    lf_addRealStandOption(standNumber, *this, 0);
                resetLivery();
                result = false;
            }
        }
    }
    registration = n;
    return result;
}

bool LiveAc::checkRegistrationLivery(const TrafficReport& report) {
    const std::string& n = report.identity.registration;
    const auto& titles = g_regcodeTitles();
    if (const auto found = titles.find(n); found != titles.end() && !found->second.empty()) {
        if (found->second == liveryTitle) return false;
        if (const auto listed = gf_findDbaseRecord(n)) designation = *listed;
        resetLivery();
        return true;
    }
    if (n == registration) return false;
    const auto listed = gf_findDbaseRecord(n);
    if (!listed || lf_sameDesignation(*listed, designation)) return false;
    designation = *listed;
    resetLivery();
    return true;
}

void LiveAc::resetLivery() {
    g_liveryOfHexid.erase(hexid);
    liveryTitle = {};
    setPhase(FlightPhase::Birth);
}

}  // namespace mrw
