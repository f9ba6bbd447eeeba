#include "airports/stand.h"

#include <array>
#include <stdexcept>

#include <fmt/format.h>

#include "aircraft/dbase_lookups.h"
#include "airports/park_airport_data.h"
#include "foundation/log.h"
#include "foundation/window_model.h"

namespace mrw {

namespace {

constexpr unsigned lf_bit(AcCategory category) {
    return 1U << static_cast<unsigned>(category);
}

constexpr unsigned kLight = lf_bit(AcCategory::Light);
constexpr unsigned kBuzjets = lf_bit(AcCategory::Buzjets);
constexpr unsigned kLarge = lf_bit(AcCategory::Large);
constexpr unsigned kHeavy = lf_bit(AcCategory::Heavy);
constexpr unsigned kHighPerf = lf_bit(AcCategory::HighPerf);
constexpr unsigned kRotorcraft = lf_bit(AcCategory::Rotorcraft);

// The categories each taxi-parking type takes, indexed by the type.
constexpr std::array<unsigned, 16> kAcceptedCategories = {
    0,                                                              // 0 none: judged by size
    kLight,                                                         // 1 GA ramp
    kLight,                                                         // 2 small GA ramp
    kLight | kBuzjets | kHighPerf,                                  // 3 medium GA ramp
    kBuzjets | kLarge,                                              // 4 large GA ramp
    kLarge | kHeavy,                                                // 5 cargo ramp
    kLarge | kHeavy,                                                // 6 military cargo ramp
    kHighPerf,                                                      // 7 military combat ramp
    kBuzjets | kLarge,                                              // 8 small gate
    kLarge,                                                         // 9 medium gate
    kHeavy,                                                         // 10 heavy gate
    kLight | kRotorcraft,                                           // 11 GA dock
    kLight | kBuzjets | kLarge | kHeavy | kHighPerf | kRotorcraft,  // 12 fuel
    0,                                                              // 13 vehicles
    kLight | kHighPerf,                                             // 14 extra GA ramp
    kLarge | kHeavy,                                                // 15 extra gate
};

void lf_dropTrailingUnderscore(std::string& callsign) {
    if (!callsign.empty() && callsign.back() == '_') callsign.pop_back();
}

StandOption* lf_findOption(std::vector<StandOption>& options, std::int32_t sequence) {
    for (auto& option : options) {
        if (option.sequence == sequence) return &option;
    }
    return nullptr;
}

// Sets the slot's bit; std::bitset throws std::out_of_range for a slot outside
// 0 to 47 (negative slots wrap to huge positions and are refused the same way).
void lf_setSlot(HalfHourSet& set, int slot) {
    set.set(static_cast<std::size_t>(slot));
}

}  // namespace

void gf_countRecordedUse() {
    ++g_optionCount;
    auto& window = g_mainWindow();
    if (window.updatesCount.load() == g_optionCount) return;
    window.updatesCount.store(g_optionCount);
    gf_invalidateStatusBand();
}

Stand::Stand(std::vector<StandOption> options, std::string id, double latitude, double longitude,
             double headingRad, double radiusMetres, std::int16_t type, bool cargo, bool ramp, bool heli)
    : options(std::move(options)),
      id(std::move(id)),
      latitude(latitude),
      longitude(longitude),
      heading(headingRad),
      radius(radiusMetres * kNmPerMetre),
      type(type),
      cargo(cargo),
      ramp(ramp),
      heli(heli) {
    overlaps.reserve(8);
}

bool Stand::acceptsClass(AcCategory category) const {
    if (type < 0 || static_cast<std::size_t>(type) >= kAcceptedCategories.size()) return false;
    return (kAcceptedCategories[static_cast<std::size_t>(type)] & lf_bit(category)) != 0;
}

std::optional<std::int32_t> Stand::addOption(AcDesignation designation, WeekdayHalfHour slot,
                                             std::string callsign, std::string registration, bool cpl) {
    if (registration.empty()) return std::nullopt;
    lf_dropTrailingUnderscore(callsign);
    HalfHourSet halfHours;
    if (slot.second < 0 || slot.second >= static_cast<int>(halfHours.size())) {
        throw std::out_of_range(fmt::format("half hour {} outside 0 to 47", slot.second));
    }
    lf_setSlot(halfHours, slot.second);
    const auto sequence = static_cast<std::int32_t>(options.size() + 1);
    if (designation.fromDbase == 0) {
        if (auto listed = gf_findDbaseRecord(registration)) designation = *listed;
    }
    for (const auto& option : options) {
        if (option.registration == registration && option.day == slot.first &&
            option.halfHours == halfHours) {
            return std::nullopt;
        }
    }
    options.push_back(StandOption{designation,
                                  std::move(registration),
                                  std::move(callsign),
                                  {},
                                  halfHours,
                                  sequence,
                                  slot.first,
                                  0,
                                  1,
                                  cpl});
    gf_countRecordedUse();
    return sequence;
}

void Stand::updateOptionCallsign(std::int32_t sequence, std::string callsign) {
    lf_dropTrailingUnderscore(callsign);
    if (callsign.empty() || sequence == 0) return;
    StandOption* option = lf_findOption(options, sequence);
    if (option == nullptr) return;
    if (option->callsign.empty()) {
        option->callsign = std::move(callsign);
    } else if (callsign != option->callsign &&
               (option->secondCallsign.empty() || callsign != option->secondCallsign)) {
        option->secondCallsign = std::move(callsign);
    }
}

bool Stand::updateOptions(HalfHourList& slots, std::int32_t sequence) {
    StandOption* option = lf_findOption(options, sequence);
    if (option == nullptr) return false;
    try {
        while (!slots.empty()) {
            lf_setSlot(option->halfHours, slots.back());
            slots.pop_back();
        }
    } catch (const std::out_of_range& e) {
        gf_logError(fmt::format("{} exception:{}", "updateOptions", e.what()));
        return false;
    }
    return true;
}

bool Stand::updateOptionsWrapped(HalfHourList& slots, std::int32_t firstSequence,
                                 std::int32_t secondSequence) {
    StandOption* yesterday = lf_findOption(options, firstSequence);
    if (yesterday == nullptr) return false;
    try {
        // A list whose oldest slot is 0 began at midnight: yesterday gets nothing.
        if (!slots.empty() && slots.back() != 0) {
            while (!slots.empty()) {
                const int slot = slots.back();
                lf_setSlot(yesterday->halfHours, slot);
                slots.pop_back();
                if (slot == 47) break;
            }
        }
        StandOption* today = lf_findOption(options, secondSequence);
        if (today == nullptr) return false;
        // The current half hour stays in the list: today's use holds it already.
        while (slots.size() >= 2) {
            lf_setSlot(today->halfHours, slots.back());
            slots.pop_back();
        }
    } catch (const std::out_of_range& e) {
        gf_logError(fmt::format("{} exception:{}", "updateOptionsWrapped", e.what()));
        return false;
    }
    return true;
}

HalfHourList gf_halfHoursBack(WeekdayHalfHour slot, int count) {
    HalfHourList slots;
    slots.reserve(12);
    gf_appendHalfHoursBack(slots, count, slot);
    return slots;
}

void gf_appendHalfHoursBack(HalfHourList& slots, int count, WeekdayHalfHour slot) {
    int halfHour = slot.second;
    for (int i = 0; i < count; ++i) {
        slots.push_back(halfHour);
        halfHour = halfHour == 0 ? 47 : halfHour - 1;
    }
}

}  // namespace mrw
