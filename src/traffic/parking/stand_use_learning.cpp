#include "traffic/parking/stand_use_learning.h"

#include <algorithm>
#include <exception>

#include <fmt/format.h>

#include "aircraft/dbase_lookups.h"
#include "foundation/log.h"
#include "traffic/model/main_loop_state.h"
#include "traffic/parking/park_stands.h"
#include "traffic/parking/static_parking.h"

namespace mrw {

namespace {

constexpr int kSlotsPerDay = 48;
constexpr int kSlotsPerWeek = 7 * kSlotsPerDay;

WeekdayHalfHour lf_pair(WeekSlot slot) {
    return {slot.weekday, slot.slot};
}

bool lf_isLearnedReal(const StandOption& option, int weekday, const std::string& registration) {
    return option.sequence != 0 && option.day == weekday && option.registration == registration &&
           option.origin == 0 && option.real == 1;
}

StandOption* lf_option(Stand& stand, std::int32_t sequence) {
    const auto found = std::find_if(stand.options.begin(), stand.options.end(),
                                    [&](const StandOption& option) { return option.sequence == sequence; });
    return found == stand.options.end() ? nullptr : &*found;
}

std::optional<int> lf_highestSlot(const HalfHourSet& halfHours) {
    for (int slot = kSlotsPerDay - 1; slot >= 0; --slot)
        if (halfHours.test(static_cast<std::size_t>(slot))) return slot;
    return std::nullopt;
}

int lf_learningSpan(const LiveAc& aircraft) {
    if (aircraft.designation.isCargo != 0) return 12;
    return aircraft.category == AcCategory::Heavy ? 8 : 6;
}

void lf_markCpl(Stand& stand, std::int32_t sequence, bool cpl) {
    if (!cpl) return;
    if (StandOption* option = lf_option(stand, sequence)) option->cpl = true;
}

void lf_learn(Stand& stand, LiveAc& aircraft, const std::string& reg, WeekSlot now, bool cpl) {
    const auto s = static_cast<std::size_t>(now.slot);
    const bool listedElsewhen =
        std::any_of(stand.options.begin(), stand.options.end(), [&](const StandOption& o) {
            return o.sequence != 0 && o.day == now.weekday && o.registration == reg && o.origin == 1 &&
                   o.real == 1 && !o.halfHours.test(s);
        });
    if (listedElsewhen) return;
    const auto learned = std::find_if(stand.options.begin(), stand.options.end(), [&](const StandOption& o) {
        return lf_isLearnedReal(o, now.weekday, reg);
    });
    const auto addNew = [&] {
        stand.addOption(aircraft.designation, lf_pair(now), aircraft.callsign, reg, cpl);
    };
    if (learned == stand.options.end()) return addNew();
    const bool seenNow = learned->halfHours.test(s);
    if (learned->cpl && !seenNow) return addNew();
    const std::int32_t sequence = learned->sequence;
    if (seenNow) return lf_markCpl(stand, sequence, cpl);
    const auto last = lf_highestSlot(learned->halfHours);
    if (!last) return;
    // The option is looked up again by its sequence afterwards: adding one may move the list.
    if (lf_addStandOption(now, stand, sequence, {learned->day, *last}, aircraft, reg, cpl))
        gf_countRecordedUse();
    else
        addNew();
    lf_markCpl(stand, sequence, cpl);
}

}  // namespace

WeekSlot gf_currentWeekSlot() {
    const auto packed = static_cast<std::uint64_t>(g_weekSlotNow.load());
    return {static_cast<std::int32_t>(packed & 0xFFFFFFFFu), static_cast<std::int32_t>(packed >> 32)};
}

std::string gf_standName(std::int32_t standNumber) {
    if (standNumber == 0) return "sid==0?";
    const Stand* stand = gf_findParkStand(standNumber);
    return stand == nullptr ? "sid==?" : stand->id;
}

void lf_addRealStandOption(std::int32_t standNumber, LiveAc& aircraft, int mode) {
    std::string reg = aircraft.registration;
    if (reg.empty()) return;
    if (reg.back() == '_') reg.pop_back();
    const WeekSlot now = gf_currentWeekSlot();
    const auto listed = gf_findDbaseRecord(reg);
    if (!listed) return;
    aircraft.designation = *listed;
    Stand* stand = gf_findParkStand(standNumber);
    if (stand == nullptr) return;
    try {
        lf_learn(*stand, aircraft, reg, now, mode == 2 || mode == 3);
    } catch (const std::exception& e) {
        gf_logError(fmt::format("{}: hh_now: {}, {}", "lf_addRealStandOption", now.slot, e.what()));
    }
}

bool lf_addStandOption(WeekSlot now, Stand& stand, std::int32_t sequence, WeekSlot lastUse, LiveAc& aircraft,
                       const std::string& registration, bool cpl) {
    if (sequence == 0 || lastUse == now) return true;
    int gap = (now.weekday * kSlotsPerDay + now.slot) - (lastUse.weekday * kSlotsPerDay + lastUse.slot);
    if (gap < 0) gap += kSlotsPerWeek;
    if (gap <= 0 || gap >= lf_learningSpan(aircraft)) return false;
    HalfHourList slots = gf_halfHoursBack(lf_pair(now), gap);
    if (now.weekday == lastUse.weekday) {
        stand.updateOptions(slots, sequence);
        if (lf_option(stand, sequence) != nullptr) stand.updateOptionCallsign(sequence, aircraft.callsign);
        return true;
    }
    const auto added =
        stand.addOption(aircraft.designation, lf_pair(now), aircraft.callsign, registration, cpl);
    if (!added) return false;
    stand.updateOptionsWrapped(slots, sequence, *added);
    stand.updateOptionCallsign(sequence, aircraft.callsign);
    stand.updateOptionCallsign(*added, aircraft.callsign);
    return true;
}

void lf_takeOptionCallsigns(WeekSlot now, LiveAc& aircraft) {
    const int k = aircraft.category == AcCategory::Heavy ? 14 : 10;
    const int first = std::max(0, now.slot - k);
    const int last = std::min(kSlotsPerDay - 1, now.slot + k);
    const std::string& c = aircraft.callsign;
    std::string trimmed = c;
    if (!trimmed.empty() && trimmed.back() == '_') trimmed.pop_back();
    if (trimmed.empty()) return;
    const auto inWindow = [&](const HalfHourSet& halfHours) {
        for (int slot = first; slot <= last; ++slot)
            if (halfHours.test(static_cast<std::size_t>(slot))) return true;
        return false;
    };
    for (const Stand& stand : g_parkStands) {
        for (const StandOption& option : stand.options) {
            if (option.sequence == 0 || option.day != now.weekday ||
                option.designation.airline != aircraft.designation.airline || option.secondCallsign.empty() ||
                !inWindow(option.halfHours))
                continue;
            if (option.callsign == c || option.callsign == trimmed || option.secondCallsign == c ||
                option.secondCallsign == trimmed) {
                aircraft.optionCallsign = option.callsign;
                aircraft.optionCallsign2 = option.secondCallsign;
                return;
            }
        }
    }
}

}  // namespace mrw
