#include "traffic/engine/traffic_intake.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "aircraft/ac_category.h"
#include "aircraft/code_tables.h"
#include "aircraft/dbase_lookups.h"
#include "config/parameter_catalogue.h"
#include "traffic/model/engine_containers.h"
#include "traffic/model/engine_lookups.h"
#include "traffic/parking/static_parking.h"

namespace mrw {

namespace {

// Largest altitude change per tick (ft) and manoeuvre speed (kt), by category.
constexpr std::array<double, 6> kMaxVerticalStepFt{0.5, 0.75, 0.6, 0.5, 1.0, 0.75};
constexpr std::array<double, 6> kManoeuvreSpeedKt{5.0, 4.5, 4.0, 3.0, 4.5, 5.0};

constexpr double k450mInNm = 0.2429805615550756;
constexpr double k20mInNm = 0.010799136069114472;

double lf_parkElevationFt() {
    return g_parkAirport.code.empty() ? -1000.0 : static_cast<double>(g_parkAirport.altitude);
}

// Below 10000 ft and within 120 ft of the park airport: a low aircraft the park airport's own
// traffic already covers.
bool lf_nearParkElevation(double altitudeFt) {
    return altitudeFt > 0.0 && altitudeFt < 10000.0 && std::abs(altitudeFt - lf_parkElevationFt()) <= 120.0;
}

bool lf_tooCloseToLast(const LiveAc& aircraft, const TrafficReport& report) {
    const PositionSample& last = aircraft.samples.back();
    const double t = report.reportTime - aircraft.lastReportTime;
    const double v = report.sample.groundSpeedKt;
    const double w = last.groundSpeedKt;
    if (report.reportTime == aircraft.lastReportTime || t <= 1.0) return true;
    if (w > 5.0 && v >= 10.0 * w) return true;
    if (v > 5.0 && w >= 10.0 * v) return true;
    if (w <= 5.0 && v >= 80.0) return true;
    if (v <= 5.0 && w >= 80.0) return true;
    if (aircraft.streamEndState > 0) return false;
    const double d = std::abs(report.sample.trackDeg - last.trackDeg);
    if (report.sample.airborne && v > 120.0 && d <= 1.0) return t <= k450mInNm / (v / 3600.0);
    if (!report.sample.airborne && v <= 30.0 && d <= 2.0) {
        const double m = v == 0.0 ? 15.0 : std::min(k20mInNm / (v / 3600.0), 15.0);
        return t <= m;
    }
    return false;
}

bool lf_sameAircraftUnderOtherHexid(const TrafficReport& report) {
    if (report.identity.callsign.empty()) return false;
    return std::any_of(g_liveAcs.begin(), g_liveAcs.end(), [&](const LiveAc& ac) {
        return ac.callsign == report.identity.callsign &&
               ac.designation.model == report.identity.designation.model;
    });
}

bool lf_categoryWanted(AcCategory category) {
    const ParameterCatalogue& p = g_parameters();
    switch (category) {
        case AcCategory::Light:
            return p.LIGHT_AIRCRAFT.current;
        case AcCategory::HighPerf:
            return p.HIGH_PERF_AIRCRAFT.current;
        case AcCategory::Rotorcraft:
            return p.HELICOPTERS.current;
        default:
            return true;
    }
}

}  // namespace

void lf_takeTrafficReport(TrafficReport& report) {
    LiveAc* aircraft = gf_liveAcOfHexid(report.hexid);
    if (aircraft == nullptr) {
        if (!lf_sameAircraftUnderOtherHexid(report)) lf_checkNewModel(report);
        return;
    }
    if (aircraft->simState == SimState::LiveryRespawn || aircraft->simState == SimState::RemovingFromSim)
        return;
    if (!aircraft->samples.empty() && lf_tooCloseToLast(*aircraft, report)) return;
    if (aircraft->simState == SimState::Buffer && lf_nearParkElevation(report.sample.altitudeFt)) return;
    if (!aircraft->respawnOnChange(report)) return;
    aircraft->lastReportTime = report.reportTime;
    aircraft->decodeExisting(report.sample);
}

void lf_checkNewModel(TrafficReport& report) {
    if (const auto listed = gf_findDbaseRecord(report.identity.registration))
        report.identity.designation = *listed;
    if (!gf_isKnownModel(g_modelCodes().text(report.identity.designation.model))) return;
    lf_newLiveAc(report);
}

void lf_newLiveAc(TrafficReport& report) {
    const AcCategory category =
        gf_acCategory(gf_modelIndex(g_modelCodes().text(report.identity.designation.model)));
    if (!lf_categoryWanted(category)) return;
    if (lf_nearParkElevation(report.sample.altitudeFt)) return;
    report.identity.optionCallsign = report.identity.callsign;
    report.identity.optionCallsign2.clear();
    report.identity.optionCallsignsTaken = false;
    AcProfile profile = gf_makeAcProfile(report.identity);
    profile.hexid = report.hexid;
    profile.turnStep = profile.turnRatePerTick;
    const auto index = static_cast<std::size_t>(profile.category);
    profile.maxVerticalStepFt = kMaxVerticalStepFt.at(index);
    profile.manoeuvreSpeedKt = kManoeuvreSpeedKt.at(index);
    g_liveAcs.emplace_back(report.sample, std::move(profile), report.reportTime);
    gf_indexAppendedLiveAc();
}

}  // namespace mrw
