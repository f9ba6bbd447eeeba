#include <algorithm>
#include <array>
#include <exception>
#include <optional>
#include <random>
#include <stdexcept>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include <fmt/format.h>

#include "aircraft/code_tables.h"
#include "aircraft/wingspans.h"
#include "config/parameter_catalogue.h"
#include "config/random_helpers.h"
#include "config/traffic_range.h"
#include "foundation/geometry.h"
#include "foundation/log.h"
#include "foundation/text_helpers.h"
#include "foundation/window_model.h"
#include "traffic/model/engine_containers.h"
#include "traffic/parking/park_stands.h"
#include "traffic/parking/parking_calculation.h"
#include "traffic/parking/stand_search_internal.h"
#include "traffic/parking/stand_use_learning.h"
#include "traffic/parking/static_parking.h"

namespace mrw {

namespace {

constexpr int kHalfHoursPerDay = 48;
constexpr int kWeekdays = 7;

// Texts with a count each; the empty text is never counted, so it never matches.
class NameCounts {
  public:
    void add(const std::string& name) {
        if (!name.empty()) ++m_counts[name];
    }
    void remove(const std::string& name) {
        const auto found = m_counts.find(name);
        if (found != m_counts.end() && --found->second == 0) m_counts.erase(found);
    }
    bool contains(const std::string& name) const { return !name.empty() && m_counts.contains(name); }
    void clear() { m_counts.clear(); }

  private:
    std::unordered_map<std::string, int> m_counts;
};

struct StaticOnStand {
    Lalo position;
    double halfSpanNm = 0.0;
};

// [real flag][weekday 1 to 7, 0 for any day]: the half hours of the stand's active uses.
using StandHalfHours = std::array<std::array<std::uint64_t, kWeekdays + 1>, 2>;

// What a search looks up again and again, built once when it begins. The half hours are a superset
// while the search passes uses over; every use is still tested in full.
struct SearchIndex {
    int depth = 0;
    std::vector<StandHalfHours> halfHours;                   // by position in g_parkStands
    std::vector<std::optional<StaticOnStand>> activeStatic;  // by stand number: the first active one
    NameCounts plannedRegistrations;                         // plan entries and this search's candidates
    NameCounts plannedCallsigns;                             // their use callsigns
    std::unordered_set<std::string> staticCallsigns;         // use callsigns of the static aircraft
    std::unordered_set<std::string> staticRegistrations;
    std::unordered_set<std::string> liveParkedCallsigns;
};

SearchIndex g_searchIndex;

std::uint64_t lf_useKey(std::int32_t standNumber, std::size_t position) {
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(standNumber)) << 32) | position;
}

bool lf_isSkipped(const Stand& stand, std::size_t position) {
    return !g_skippedUses.empty() && g_skippedUses.contains(lf_useKey(stand.number, position));
}

bool lf_inSet(const std::unordered_set<std::string>& set, const std::string& name) {
    return !name.empty() && set.contains(name);
}

void lf_notePlanned(const ParkingPlanEntry& entry) {
    g_searchIndex.plannedRegistrations.add(entry.registration);
    g_searchIndex.plannedCallsigns.add(entry.optionCallsign);
}

void lf_forgetPlanned(const ParkingPlanEntry& entry) {
    g_searchIndex.plannedRegistrations.remove(entry.registration);
    g_searchIndex.plannedCallsigns.remove(entry.optionCallsign);
}

void lf_dropPlanBack(std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        lf_forgetPlanned(g_parkingPlan.back());
        g_parkingPlan.pop_back();
    }
}

void lf_buildSearchIndex() {
    SearchIndex& index = g_searchIndex;
    index.halfHours.assign(g_parkStands.size(), {});
    for (std::size_t i = 0; i < g_parkStands.size(); ++i) {
        const Stand& stand = g_parkStands[i];
        for (std::size_t k = 0; k < stand.options.size(); ++k) {
            const StandOption& use = stand.options[k];
            if (use.sequence == 0 || lf_isSkipped(stand, k)) continue;
            auto& byDay = index.halfHours[i][use.real != 0 ? 1 : 0];
            const std::uint64_t bits = use.halfHours.to_ullong();
            byDay[0] |= bits;
            if (use.day >= 1 && use.day <= kWeekdays) byDay[static_cast<std::size_t>(use.day)] |= bits;
        }
    }
    const std::int32_t highest = g_parkStands.empty() ? 0 : g_parkStands.back().number;
    index.activeStatic.assign(static_cast<std::size_t>(std::max(highest, 0)) + 1, std::nullopt);
    for (const StaticAc& ac : g_staticAcs) {
        index.staticCallsigns.insert(ac.optionCallsign);
        index.staticRegistrations.insert(ac.registration);
        if (ac.simState != SimState::Active || ac.standNumber <= 0 || ac.standNumber > highest) continue;
        auto& slot = index.activeStatic[static_cast<std::size_t>(ac.standNumber)];
        if (!slot) slot = StaticOnStand{ac.standPosition, gf_halfWingspanNm(ac.designation.model)};
    }
    for (const ParkingPlanEntry& entry : g_parkingPlan)
        lf_notePlanned(entry);
    for (const LiveParkedEntry& entry : g_liveParked)
        index.liveParkedCallsigns.insert(entry.callsign);
}

void lf_clearSearchIndex() {
    SearchIndex& index = g_searchIndex;
    index.halfHours.clear();
    index.activeStatic.clear();
    index.plannedRegistrations.clear();
    index.plannedCallsigns.clear();
    index.staticCallsigns.clear();
    index.staticRegistrations.clear();
    index.liveParkedCallsigns.clear();
}

// The first active static aircraft on the stand with that number.
std::optional<StaticOnStand> lf_activeStaticOn(std::int32_t standNumber) {
    if (g_searchIndex.depth > 0) {
        if (standNumber <= 0 || static_cast<std::size_t>(standNumber) >= g_searchIndex.activeStatic.size())
            return std::nullopt;
        return g_searchIndex.activeStatic[static_cast<std::size_t>(standNumber)];
    }
    for (const StaticAc& ac : g_staticAcs) {
        if (ac.standNumber == standNumber && ac.simState == SimState::Active)
            return StaticOnStand{ac.standPosition, gf_halfWingspanNm(ac.designation.model)};
    }
    return std::nullopt;
}

// Whether a use of the stand may cover the target at all (a quick test before the full one).
bool lf_mayHaveUse(std::size_t standIndex, bool real, bool today, int weekday, int halfHour) {
    if (g_searchIndex.depth == 0 || standIndex >= g_searchIndex.halfHours.size()) return true;
    if (halfHour < 0 || halfHour >= kHalfHoursPerDay || (today && (weekday < 1 || weekday > kWeekdays)))
        return true;  // the full test reports it
    const auto day = static_cast<std::size_t>(today ? weekday : 0);
    return ((g_searchIndex.halfHours[standIndex][real ? 1 : 0][day] >> halfHour) & 1U) != 0;
}

// The half span of the use's model, its code looked up and interned again.
double lf_useHalfSpan(const StandOption& use) {
    CodeTable& models = g_modelCodes();
    const CodeIndex model =
        use.designation.model < models.size() ? gf_modelIndex(models.text(use.designation.model)) : 0;
    return gf_halfWingspanNm(model);
}

bool lf_sameDesignation(const AcDesignation& a, const AcDesignation& b) {
    return a.airline == b.airline && a.operatorAirline == b.operatorAirline && a.model == b.model;
}

int lf_nextWeekday(int weekday) {
    return weekday >= kWeekdays ? 1 : weekday + 1;
}

// The first active, not passed-over use of the stand with that sequence number.
const StandOption* lf_useOfSequence(const Stand& stand, std::int32_t sequence,
                                    std::size_t* position = nullptr) {
    for (std::size_t k = 0; k < stand.options.size(); ++k) {
        if (stand.options[k].sequence > 0 && stand.options[k].sequence == sequence &&
            !lf_isSkipped(stand, k)) {
            if (position != nullptr) *position = k;
            return &stand.options[k];
        }
    }
    return nullptr;
}

// A use of a turnaround pair goes on under its first callsign only while it holds in the next half
// hour (at 23:30, while the next day's equal use holds at 00:00).
bool lf_useFirstCallsign(const StandOption& use, const Stand& stand, WeekSlot now) {
    if (use.secondCallsign.empty()) return true;
    if (now.slot + 1 < kHalfHoursPerDay) return use.halfHours.test(static_cast<std::size_t>(now.slot + 1));
    const int next = lf_nextWeekday(now.weekday);
    return std::any_of(stand.options.begin(), stand.options.end(), [&](const StandOption& other) {
        return other.sequence > 0 && other.day == next &&
               lf_sameDesignation(other.designation, use.designation) && other.halfHours.test(0);
    });
}

std::string_view lf_modeName(bool real, bool today) {
    if (real) return today ? "real" : "week/real";
    return today ? "soft" : "week/soft";
}

int lf_plannedStands() {
    return static_cast<int>(std::count_if(g_parkStands.begin(), g_parkStands.end(),
                                          [](const Stand& stand) { return stand.planned; }));
}

}  // namespace

SearchScope::SearchScope() {
    if (g_searchIndex.depth++ == 0) lf_buildSearchIndex();
}

SearchScope::~SearchScope() {
    if (--g_searchIndex.depth == 0) lf_clearSearchIndex();
}

void Stand::markPlanned() {
    planned = true;
    for (const std::int32_t number : overlaps) {
        if (Stand* other = gf_findParkStand(number)) other->blocked = true;
    }
}

bool StandOption::matches(bool real, bool today, int weekday, int halfHour, const Stand& stand) const {
    if (sequence == 0) return false;
    if (today && day != weekday) return false;
    if ((this->real != 0) != real) return false;
    if (halfHour < 0) throw std::out_of_range("StandOption::matches: half hour below 0");
    if (!halfHours.test(static_cast<std::size_t>(halfHour))) return false;
    if (stand.heli && !g_parameters().HELICOPTERS.current.load()) return false;
    if (stand.blocked) return false;
    std::optional<double> ownHalfSpan;
    for (const std::int32_t number : stand.overlaps) {
        const std::optional<StaticOnStand> other = lf_activeStaticOn(number);
        if (!other) continue;
        if (!ownHalfSpan) ownHalfSpan = lf_useHalfSpan(*this);
        if (*ownHalfSpan + other->halfSpanNm >
            gf_distanceNm(other->position, {stand.latitude, stand.longitude}))
            return false;
    }
    return true;
}

bool lf_isLiveCallsign(const std::string& callsign) {
    return g_liveCallsigns.contains(callsign) || g_liveCallsigns.contains(callsign + "_");
}

bool lf_isPlannedOrParked(const StandOption& use) {
    const SearchScope scope;
    const SearchIndex& index = g_searchIndex;
    if (index.plannedRegistrations.contains(use.registration)) return true;
    if ((!use.callsign.empty() && lf_isLiveCallsign(use.callsign)) ||
        (!use.secondCallsign.empty() && lf_isLiveCallsign(use.secondCallsign)))
        return true;
    if (lf_inSet(index.staticCallsigns, use.callsign) ||
        lf_inSet(index.staticCallsigns, use.secondCallsign) ||
        lf_inSet(index.staticRegistrations, use.registration))
        return true;
    if (index.plannedCallsigns.contains(use.callsign) || index.plannedCallsigns.contains(use.secondCallsign))
        return true;
    return lf_inSet(index.liveParkedCallsigns, use.callsign) ||
           lf_inSet(index.liveParkedCallsigns, use.secondCallsign);
}

void lf_pickUse(std::vector<std::int32_t>& uses, const Stand& stand) {
    for (const StaticAc& ac : g_staticAcs) {
        if (ac.standNumber != stand.number) continue;
        for (const std::int32_t sequence : uses) {
            const StandOption* use = lf_useOfSequence(stand, sequence);
            if (use != nullptr && lf_sameDesignation(use->designation, ac.designation) &&
                (gf_equalsWithStar(use->callsign, ac.callsign) ||
                 gf_equalsWithStar(use->secondCallsign, ac.callsign))) {
                uses[0] = sequence;
                return;
            }
        }
    }
    std::shuffle(uses.begin(), uses.end(), g_threadRandomEngine());
}

void lf_searchStands(WeekSlot slot, bool real, bool today, int fitOffset,
                     std::vector<ParkingPlanEntry>& candidates) {
    const SearchScope scope;
    int halfHour = slot.slot - fitOffset;
    int weekday = slot.weekday;
    if (halfHour < 0) {
        halfHour += kHalfHoursPerDay;
        weekday = weekday <= 1 ? kWeekdays : weekday - 1;
    }
    const bool random = g_parameters().RANDOM.current.load();
    std::vector<std::int32_t> uses;
    try {
        for (std::size_t i = 0; i < g_parkStands.size(); ++i) {
            Stand& stand = g_parkStands[i];
            if (stand.excluded || stand.planned || !lf_mayHaveUse(i, real, today, weekday, halfHour))
                continue;
            uses.clear();
            for (std::size_t k = 0; k < stand.options.size(); ++k) {
                if (!lf_isSkipped(stand, k) &&
                    stand.options[k].matches(real, today, weekday, halfHour, stand))
                    uses.push_back(stand.options[k].sequence);
            }
            if (uses.empty()) continue;
            if (uses.size() >= 2 && random) lf_pickUse(uses, stand);
            std::size_t position = 0;
            const StandOption* use = lf_useOfSequence(stand, uses.front(), &position);
            if (use == nullptr) continue;
            if (lf_isPlannedOrParked(*use)) {
                g_skippedUses.insert(lf_useKey(stand.number, position));
                continue;
            }
            candidates.push_back({stand.number, fitOffset, use->designation, use->callsign,
                                  use->secondCallsign, use->registration,
                                  lf_useFirstCallsign(*use, stand, slot)});
            lf_notePlanned(candidates.back());
            stand.markPlanned();
        }
    } catch (const std::exception& e) {
        gf_logError(fmt::format("{}: day: {}, offset {}: {}", "lf_searchStands",
                                fmt::format("[{},{}]", weekday, halfHour), fitOffset, e.what()));
    }
}

void lf_thinCandidates(int surplus, std::vector<ParkingPlanEntry>& candidates) {
    if (g_parameters().RANDOM.current.load())
        std::shuffle(candidates.begin(), candidates.end(), g_threadRandomEngine());
    if (surplus <= 0 || static_cast<std::size_t>(surplus) > candidates.size()) return;
    for (int i = 0; i < surplus; ++i) {
        lf_forgetPlanned(candidates.back());
        candidates.pop_back();
    }
}

bool lf_findParkingPositions(WeekSlot slot, bool real, bool today, int wanted,
                             std::vector<ParkingPlanEntry>& candidates) {
    if (wanted == 0) return true;
    const SearchScope scope;
    const int before = lf_plannedStands();
    const int maxFit = g_parameters().MAX_FIT.current.load();
    int added = 0;  // stands this call planned in earlier offsets
    int offset = 0;
    bool found = false;
    for (;; ++offset) {
        lf_searchStands(slot, real, today, offset, candidates);
        if (before + added + static_cast<int>(candidates.size()) >= wanted) {
            found = true;
            break;
        }
        added += static_cast<int>(candidates.size());
        g_parkingPlan.insert(g_parkingPlan.end(), candidates.begin(), candidates.end());
        candidates.clear();
        if (offset + 1 > maxFit) {
            ++offset;
            break;
        }
    }
    if (real) {
        g_fitOffsetReal = offset;
        g_fitOffsetSoft = -1;
    } else {
        g_fitOffsetSoft = offset;
    }
    const int newlyPlanned = added + static_cast<int>(candidates.size());
    if (newlyPlanned > 0) {
        gf_logLine(fmt::format("{} {} position{} found, Max fit={:.1F} hours{}{}", newlyPlanned,
                               lf_modeName(real, today), gf_pluralS(newlyPlanned),
                               g_parameters().MAX_FIT_FL.current.load(),
                               fmt::format(", day {}", slot.weekday),
                               fmt::format(", hh:{} or {:.1F} hrs, fit: {:.1F} hour", slot.slot,
                                           gf_fitHoursOfIndex(slot.slot), gf_fitHoursOfIndex(offset))));
        MainWindow& window = g_mainWindow();
        window.softParking = !real;
        window.weekParking = !today;
        gf_invalidateInfoBand();
    }
    return found;
}

void lf_searchParkingMode(WeekSlot slot, int wanted, int existing, bool real, bool today) {
    const SearchScope scope;
    std::vector<ParkingPlanEntry> candidates;
    candidates.reserve(512);
    if (!lf_findParkingPositions(slot, real, today, wanted, candidates)) return;
    const int surplus = static_cast<int>(g_parkingPlan.size() + candidates.size()) + existing - wanted;
    if (surplus > 0) lf_thinCandidates(surplus, candidates);
    g_parkingPlan.insert(g_parkingPlan.end(), std::make_move_iterator(candidates.begin()),
                         std::make_move_iterator(candidates.end()));
    const int over = static_cast<int>(g_parkingPlan.size()) + existing - wanted;
    if (over > 0 && static_cast<std::size_t>(over) <= g_parkingPlan.size())
        lf_dropPlanBack(static_cast<std::size_t>(over));
}

void lf_searchAllModes(WeekSlot slot, int wanted, int existing) {
    const SearchScope scope;
    g_fitOffsetReal = 0;
    g_fitOffsetSoft = -1;
    const auto& settings = g_parameters();
    const auto below = [&] { return static_cast<int>(g_parkingPlan.size()) + existing < wanted; };
    lf_searchParkingMode(slot, wanted, existing, true, true);
    if (below() && settings.WEEK.current.load()) lf_searchParkingMode(slot, wanted, existing, true, false);
    if (below() && settings.PARK_SOFT.current.load())
        lf_searchParkingMode(slot, wanted, existing, false, true);
    if (below() && settings.PARK_SOFT.current.load() && settings.WEEK.current.load())
        lf_searchParkingMode(slot, wanted, existing, false, false);
}

}  // namespace mrw
