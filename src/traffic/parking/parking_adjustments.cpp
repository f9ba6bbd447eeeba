#include "traffic/parking/parking_adjustments.h"

#include <algorithm>

#include <fmt/format.h>

#include "aircraft/wingspans.h"
#include "config/parameter_catalogue.h"
#include "foundation/clock.h"
#include "foundation/geometry.h"
#include "foundation/message_line.h"
#include "foundation/text_helpers.h"
#include "foundation/window_model.h"
#include "traffic/feed/traffic_reader.h"
#include "traffic/model/engine_containers.h"
#include "traffic/parking/park_stands.h"
#include "traffic/parking/parked_limit.h"
#include "traffic/parking/parking_adjustments_internal.h"
#include "traffic/parking/parking_calculation.h"
#include "traffic/parking/stand_use_learning.h"
#include "traffic/parking/static_parking.h"

namespace mrw {

namespace {

constexpr int kHalfHoursPerDay = 48;
constexpr int kWeekSlots = 336;
constexpr int kWidestFit = 47;
constexpr std::int64_t kTicksPerMinute = 600000000;  // 100 ns units
constexpr std::int64_t kTicksPerSecond = 10000000;
constexpr int kHeavyParkedMinutes = 180;
constexpr int kParkedMinutes = 90;

int lf_weekSlotIndex(WeekSlot slot) {
    return slot.weekday * kHalfHoursPerDay + slot.slot - kHalfHoursPerDay;
}

int lf_previousWeekday(int weekday) {
    return weekday <= 1 ? 7 : weekday - 1;
}

int lf_nextWeekday(int weekday) {
    return weekday >= 7 ? 1 : weekday + 1;
}

bool lf_sameDesignation(const AcDesignation& a, const AcDesignation& b) {
    return a.airline == b.airline && a.operatorAirline == b.operatorAirline && a.model == b.model;
}

StaticReviewEntry lf_reviewEntry(const StaticAc& ac) {
    return {ac.callsign,    ac.optionCallsign, ac.optionCallsign2, ac.registration,
            ac.designation, ac.parkedSince,    ac.standNumber,     false};
}

void lf_keep(const StaticAc& ac) {
    g_staticReview.push_back(lf_reviewEntry(ac));
}

void lf_removeLater(const StaticAc& ac) {
    g_staticRemovals.push_back({ac.callsign, ac.standNumber});
}

bool lf_reportedLive(const StaticAc& ac) {
    return (!ac.optionCallsign.empty() && g_liveCallsigns.contains(ac.optionCallsign)) ||
           (!ac.optionCallsign2.empty() && g_liveCallsigns.contains(ac.optionCallsign2));
}

std::optional<std::size_t> lf_planEntryOn(std::int32_t standNumber) {
    const auto found =
        std::find_if(g_parkingPlan.begin(), g_parkingPlan.end(),
                     [standNumber](const ParkingPlanEntry& e) { return e.standNumber == standNumber; });
    if (found == g_parkingPlan.end()) return std::nullopt;
    return static_cast<std::size_t>(found - g_parkingPlan.begin());
}

// A plan entry on an overlapping stand that the aircraft would touch.
std::optional<std::size_t> lf_collidingPlanEntry(const StaticAc& ac) {
    const Stand* stand = gf_findParkStand(ac.standNumber);
    if (stand == nullptr) return std::nullopt;
    for (const std::int32_t number : stand->overlaps) {
        const std::optional<std::size_t> index = lf_planEntryOn(number);
        const Stand* other = gf_findParkStand(number);
        if (!index || other == nullptr) continue;
        const double spans = gf_halfWingspanNm(g_parkingPlan[*index].designation.model) +
                             gf_halfWingspanNm(ac.designation.model);
        if (spans > gf_distanceNm(ac.standPosition, {other->latitude, other->longitude})) return index;
    }
    return std::nullopt;
}

// A use of the weekday with the designation (and, when given, the registration) whose half hours
// hold one of the slots from `first` to `last`.
bool lf_hasUse(const Stand& stand, int weekday, const AircraftIdentity& identity, int first, int last) {
    return std::any_of(stand.options.begin(), stand.options.end(), [&](const StandOption& use) {
        if (use.day != weekday || use.registration != identity.registration ||
            !lf_sameDesignation(use.designation, identity.designation))
            return false;
        for (int h = std::max(first, 0); h <= std::min(last, kHalfHoursPerDay - 1); ++h)
            if (use.halfHours.test(static_cast<std::size_t>(h))) return true;
        return false;
    });
}

// Whether a kept turnaround ends with the current half hour: its use does not hold in the next one.
bool lf_turnaroundEnds(const StaticReviewEntry& entry, const Stand& stand, WeekSlot slot) {
    if (entry.optionCallsign2.empty() || entry.staticCallsign.find(entry.optionCallsign) == std::string::npos)
        return false;
    std::string callsign = entry.staticCallsign;
    if (!callsign.empty() && callsign.back() == '*') callsign.pop_back();
    const auto use = std::find_if(stand.options.begin(), stand.options.end(), [&](const StandOption& u) {
        return u.sequence > 0 && u.day == slot.weekday && u.callsign == callsign &&
               lf_sameDesignation(u.designation, entry.designation);
    });
    if (use == stand.options.end()) return false;
    if (slot.slot < kHalfHoursPerDay - 1)
        return !use->halfHours.test(static_cast<std::size_t>(slot.slot + 1));
    const int next = lf_nextWeekday(slot.weekday);
    return std::none_of(stand.options.begin(), stand.options.end(), [&](const StandOption& u) {
        return u.sequence > 0 && u.day == next && lf_sameDesignation(u.designation, entry.designation) &&
               u.halfHours.test(0);
    });
}

// Half hours from the parked-since slot to now, at most the widest fit: the replacement keeps it.
std::int32_t lf_fitSince(WeekSlot parkedSince, WeekSlot now) {
    int fit = lf_weekSlotIndex(now) - lf_weekSlotIndex(parkedSince);
    if (fit < 0) fit += kWeekSlots;
    return std::min(fit, kWidestFit);
}

void lf_removeStaticsToRemove() {
    for (const StaticRemoval& removal : g_staticRemovals) {
        const auto ac = std::find_if(g_staticAcs.begin(), g_staticAcs.end(), [&removal](const StaticAc& a) {
            return a.standNumber == removal.standNumber;
        });
        if (ac != g_staticAcs.end() &&
            (ac->simState == SimState::Active || ac->simState == SimState::RemovingFromSim))
            ac->removeAircraftFromSim();
    }
    g_staticRemovals.clear();
}

// Drops one parked aircraft beyond the wanted number: a new plan entry first, then the earliest
// parked static aircraft, then the longest parked live one. False when nothing is left to drop.
bool lf_dropOneSurplus() {
    if (!g_parkingPlan.empty()) {
        g_parkingPlan.pop_back();
        return true;
    }
    if (!g_staticReview.empty()) {
        const StaticReviewEntry& entry = g_staticReview.back();
        g_staticRemovals.push_back({entry.staticCallsign, entry.standNumber});
        g_staticReview.pop_back();
        return true;
    }
    if (g_liveParked.empty()) return false;
    const std::int32_t standNumber = g_liveParked.back().standNumber;
    const auto live = std::find_if(g_liveAcs.begin(), g_liveAcs.end(),
                                   [standNumber](const LiveAc& ac) { return ac.standNumber == standNumber; });
    if (live != g_liveAcs.end()) live->removeAircraftFromSim();
    g_liveParked.pop_back();
    return true;
}

}  // namespace

void lf_collectLiveParked() {
    const bool initialLoadOnly = g_parameters().INITIAL_LOAD_ONLY.current.load();
    const std::int64_t now = gf_wallClockSeconds() * kTicksPerSecond;
    for (LiveAc& ac : g_liveAcs) {
        if (ac.phase != FlightPhase::Parked || ac.simState != SimState::Active) continue;
        if (ac.parkedTimeExempt) {
            g_liveParked.push_back({ac.callsign, ac.standNumber, 0});
            continue;
        }
        const auto minutes = static_cast<std::int32_t>((now - ac.parkedAt) / kTicksPerMinute);
        const int limit = ac.category == AcCategory::Heavy ? kHeavyParkedMinutes : kParkedMinutes;
        if (initialLoadOnly || minutes <= limit)
            g_liveParked.push_back({ac.callsign, ac.standNumber, minutes});
        else
            ac.removeAircraftFromSim();
    }
    std::stable_sort(
        g_liveParked.begin(), g_liveParked.end(),
        [](const LiveParkedEntry& a, const LiveParkedEntry& b) { return a.minutesParked < b.minutesParked; });
}

void lf_settleStaticAgainstPlan(const StaticAc& aircraft, std::size_t planIndex) {
    const WeekSlot now = gf_currentWeekSlot();
    WeekSlot use{now.weekday, now.slot - g_parkingPlan[planIndex].fitOffset};
    if (use.slot < 0) {
        use.slot += kHalfHoursPerDay;
        use.weekday = lf_previousWeekday(use.weekday);
    }
    if (lf_weekSlotIndex(use) > lf_weekSlotIndex(aircraft.parkedSince)) {
        lf_removeLater(aircraft);
        return;
    }
    lf_keep(aircraft);
    g_parkingPlan.erase(g_parkingPlan.begin() + static_cast<std::ptrdiff_t>(planIndex));
}

bool lf_standUseFits(WeekSlot slot, std::int32_t standNumber, const AircraftIdentity& identity) {
    const Stand* stand = gf_findParkStand(standNumber);
    if (stand == nullptr) return false;
    const int fit = std::min(std::max(g_fitOffsetReal, g_fitOffsetSoft), kWidestFit);
    const int h = slot.slot;
    if (lf_hasUse(*stand, slot.weekday, identity, h - fit, h)) return true;
    if (h - fit >= 0) return false;
    const int r = std::min(fit - h, 46);
    return lf_hasUse(*stand, lf_previousWeekday(slot.weekday), identity, kHalfHoursPerDay - 1 - r,
                     kHalfHoursPerDay - 1);
}

void lf_reviewStatics(WeekSlot slot) {
    for (const StaticAc& ac : g_staticAcs) {
        if (ac.simState != SimState::Active) continue;
        if (lf_reportedLive(ac)) {
            lf_removeLater(ac);
            continue;
        }
        if (const std::optional<std::size_t> index = lf_planEntryOn(ac.standNumber)) {
            const ParkingPlanEntry& entry = g_parkingPlan[*index];
            if (lf_sameDesignation(entry.designation, ac.designation) &&
                (gf_equalsWithStar(entry.optionCallsign, ac.callsign) ||
                 gf_equalsWithStar(entry.optionCallsign2, ac.callsign))) {
                lf_keep(ac);
                g_parkingPlan.erase(g_parkingPlan.begin() + static_cast<std::ptrdiff_t>(*index));
            } else {
                lf_settleStaticAgainstPlan(ac, *index);
            }
            continue;
        }
        if (const std::optional<std::size_t> index = lf_collidingPlanEntry(ac)) {
            lf_settleStaticAgainstPlan(ac, *index);
            continue;
        }
        if (lf_standUseFits(slot, ac.standNumber, ac))
            lf_keep(ac);
        else
            lf_removeLater(ac);
    }
    std::stable_sort(g_staticReview.begin(), g_staticReview.end(),
                     [](const StaticReviewEntry& a, const StaticReviewEntry& b) {
                         return lf_weekSlotIndex(a.parkedSince) > lf_weekSlotIndex(b.parkedSince);
                     });
    for (StaticReviewEntry& entry : g_staticReview) {
        if (const Stand* stand = gf_findParkStand(entry.standNumber))
            entry.replace = lf_turnaroundEnds(entry, *stand, slot);
    }
}

void lf_adjustParking() {
    const WeekSlot slot = lf_logParkingDay();
    lf_takeCollectedCallsigns();
    MainWindow& window = g_mainWindow();
    window.softParking = false;
    window.weekParking = false;
    gf_invalidateInfoBand();

    g_staticRemovals.clear();
    g_staticReview.clear();
    g_liveParked.clear();
    g_parkingPlan.clear();
    g_skippedUses.clear();
    for (Stand& stand : g_parkStands) {
        stand.planned = stand.excluded = stand.blocked = false;
        std::int32_t sequence = 0;
        for (StandOption& use : stand.options)
            use.sequence = ++sequence;
    }
    lf_excludeUserStand();
    const int wanted = lf_wantedStaticCount();

    lf_collectLiveParked();
    if (wanted > 0 && static_cast<int>(g_liveParked.size()) > wanted) {
        const int surplus = static_cast<int>(g_liveParked.size()) - wanted;
        gf_setMessage(fmt::format("Parking adjustments: {} more live ac than wanted", surplus), true);
        lf_removeLiveParkedAt(surplus);
        g_liveParked.clear();
        lf_collectLiveParked();
    }
    for (const LiveParkedEntry& entry : g_liveParked) {
        if (Stand* stand = gf_findParkStand(entry.standNumber)) stand->markPlanned();
    }
    const int existing = static_cast<int>(g_liveParked.size());
    if (wanted != existing) lf_searchAllModes(slot, wanted, existing);

    lf_reviewStatics(slot);
    for (const StaticReviewEntry& entry : g_staticReview) {
        if (!entry.replace) continue;
        g_parkingPlan.push_back({entry.standNumber, lf_fitSince(entry.parkedSince, slot), entry.designation,
                                 entry.optionCallsign, entry.optionCallsign2, entry.registration, false});
        g_staticRemovals.push_back({entry.staticCallsign, entry.standNumber});
    }
    std::erase_if(g_staticReview, [](const StaticReviewEntry& entry) { return entry.replace; });

    int surplus =
        static_cast<int>(g_staticReview.size() + g_liveParked.size() + g_parkingPlan.size()) - wanted;
    for (; surplus > 0 && lf_dropOneSurplus(); --surplus) {
    }
    std::stable_sort(
        g_parkingPlan.begin(), g_parkingPlan.end(),
        [](const ParkingPlanEntry& a, const ParkingPlanEntry& b) { return a.fitOffset > b.fitOffset; });
    gf_setMessage(fmt::format("Parking adjustments: {} to be removed, {} to be added\n",
                              g_staticRemovals.size(), g_parkingPlan.size()),
                  true);
    lf_removeStaticsToRemove();
}

}  // namespace mrw
