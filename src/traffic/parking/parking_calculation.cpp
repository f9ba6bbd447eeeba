#include "traffic/parking/parking_calculation.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include <fmt/format.h>
#include <gsl/narrow>

#include "config/parameter_catalogue.h"
#include "config/traffic_range.h"
#include "foundation/log.h"
#include "foundation/text_helpers.h"
#include "foundation/time_texts.h"
#include "foundation/window_model.h"
#include "traffic/feed/traffic_reader.h"
#include "traffic/model/engine_containers.h"
#include "traffic/model/user_aircraft_data.h"
#include "traffic/parking/park_stands.h"
#include "traffic/parking/parking_controls.h"
#include "traffic/parking/parking_plan.h"
#include "traffic/parking/stand_lookup.h"
#include "traffic/parking/stand_use_learning.h"
#include "traffic/parking/static_parking.h"

namespace mrw {

namespace {

constexpr int kWeekSlots = 336;

std::string_view lf_weekdayName(int weekday) {
    static constexpr std::string_view names[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    return weekday >= 1 && weekday <= 7 ? names[weekday - 1] : "???";
}

void lf_excludeStandNamed(const std::string& name) {
    const auto stand = std::find_if(g_parkStands.begin(), g_parkStands.end(),
                                    [&name](const Stand& s) { return s.id == name; });
    if (stand != g_parkStands.end()) stand->excluded = true;
}

void lf_setAverageFit(std::atomic<float>& shown, float value) {
    if (shown.exchange(value) != value) gf_invalidateInfoBand();
}

int lf_weekSlotIndex(WeekSlot slot) {
    return slot.weekday * 48 + slot.slot - 48;
}

// Half hours from the parked-since slot forward to now over the week.
int lf_fit(WeekSlot parkedSince, WeekSlot now) {
    int fit = lf_weekSlotIndex(now) - lf_weekSlotIndex(parkedSince);
    if (fit < 0) fit += kWeekSlots;
    return fit;
}

float lf_averageFitHours(int sum, int count) {
    return count == 0 ? 0.0F : static_cast<float>(sum) / static_cast<float>(2 * count) + 0.5F;
}

void lf_sortPlan(bool descending) {
    std::stable_sort(g_parkingPlan.begin(), g_parkingPlan.end(),
                     [descending](const ParkingPlanEntry& a, const ParkingPlanEntry& b) {
                         return descending ? a.fitOffset > b.fitOffset : a.fitOffset < b.fitOffset;
                     });
}

}  // namespace

int lf_wantedStaticCount() {
    const auto& settings = g_parameters();
    MainWindow& window = g_mainWindow();
    const std::int32_t maxParkSel = settings.MAX_PARK_SEL.current.load();
    if (maxParkSel <= 0) {
        window.maxPark = 0;
        window.maxParkPercent = settings.parking_percentage.current.load();
        gf_invalidateInfoBand();
        return 0;
    }
    const std::int32_t custom = settings.CUSTOM_PARKING_PERCENTAGE.current.load();
    const std::int32_t percentage = custom >= 0 ? custom : settings.parking_percentage.current.load();
    const auto stands = static_cast<std::int64_t>(g_parkStands.size());
    const int count = stands < 2 || (stands < 4 && percentage < 50)
                          ? 1
                          : gsl::narrow<int>(std::llround(static_cast<double>(stands) * percentage / 100.0));
    const int result = std::min<int>(maxParkSel, count);
    window.maxPark = result;
    window.maxParkPercent = gf_percent(result, stands);
    gf_invalidateInfoBand();
    return result;
}

WeekSlot lf_logParkingDay() {
    const WeekSlot now = gf_currentWeekSlot();
    gf_logLine(fmt::format("\n{} (utc) It is day {} ({}), {:.1F} hours", gf_clockTimeOfDay(), now.weekday,
                           lf_weekdayName(now.weekday), gf_fitHoursOfIndex(now.slot)));
    return now;
}

void lf_excludeUserStand() {
    const std::string userStand = g_userStandName.get();
    if (!userStand.empty()) lf_excludeStandNamed(userStand);
    const UserAcData user = gf_userAcDataRecv();
    const std::string under = gf_standNameAt({user.latitude, user.longitude});
    if (!under.empty() && under != userStand) lf_excludeStandNamed(under);
}

void lf_calculateStaticParking() {
    const WeekSlot slot = lf_logParkingDay();
    gf_disableParkingControls();
    g_parkingPlan.clear();
    g_staticReview.clear();
    g_liveParked.clear();
    MainWindow& window = g_mainWindow();
    lf_setAverageFit(window.averageFitLive, -1.0F);
    lf_setAverageFit(window.averageFitStatic, -1.0F);
    window.softParking = false;
    window.weekParking = false;
    lf_takeCollectedCallsigns();
    for (Stand& stand : g_parkStands)
        stand.planned = stand.excluded = stand.blocked = false;
    lf_excludeUserStand();

    const int wanted = lf_wantedStaticCount();
    if (wanted > static_cast<int>(g_parkingPlan.size())) lf_searchAllModes(slot, wanted, 0);
    lf_sortPlan(false);
    if (static_cast<int>(g_parkingPlan.size()) > wanted)
        g_parkingPlan.resize(static_cast<std::size_t>(wanted));
    if (g_parkingPlan.empty()) {
        gf_logLine("no parking positions found");
        gf_enableParkingControls();
        return;
    }
    const auto& settings = g_parameters();
    gf_logLine(fmt::format("{} positions ({}% vs wanted {}%, with Max fit={:.1F} hours)\n",
                           g_parkingPlan.size(),
                           gf_percent(static_cast<std::int64_t>(g_parkingPlan.size()),
                                      static_cast<std::int64_t>(g_parkStands.size())),
                           settings.parking_percentage.current.load(), settings.MAX_FIT_FL.current.load()));
    lf_sortPlan(true);
}

std::uint64_t gf_countStaticParked(bool withAverage) {
    const WeekSlot now = gf_currentWeekSlot();
    std::uint64_t count = 0;
    int sum = 0;
    for (const StaticAc& ac : g_staticAcs) {
        if (ac.simState != SimState::Active && ac.simState != SimState::RemovingFromSim) continue;
        ++count;
        sum += lf_fit(ac.parkedSince, now);
    }
    MainWindow& window = g_mainWindow();
    if (withAverage && !window.weekParking.load())
        lf_setAverageFit(window.averageFitStatic, lf_averageFitHours(sum, static_cast<int>(count)));
    return count;
}

std::uint64_t gf_countLiveParked(bool withAverage) {
    const WeekSlot now = gf_currentWeekSlot();
    std::uint64_t count = 0;
    int sum = 0;
    for (const LiveAc& ac : g_liveAcs) {
        if (ac.phase != FlightPhase::Parked || ac.simState != SimState::Active) continue;
        ++count;
        if (ac.parkedSince.weekday > 0) sum += lf_fit(ac.parkedSince, now);
    }
    if (withAverage)
        lf_setAverageFit(g_mainWindow().averageFitLive, lf_averageFitHours(sum, static_cast<int>(count)));
    return count;
}

}  // namespace mrw
