#pragma once
// A stand: one parking position or helipad of an airport with its uses, and the operations that
// record and extend uses while static parking learns from live traffic.

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "aircraft/ac_category.h"
#include "aircraft/ac_designation.h"
#include "airports/stand_option.h"
#include "foundation/geometry.h"

namespace mrw {

// {weekday 1 to 7, half-hour slot 0 to 47}, as the traffic clock gives it.
using WeekdayHalfHour = std::pair<int, int>;

// Half-hour numbers 0 to 47, newest first: the front is the current half hour, the back the oldest.
// The update operations consume a list from its back.
using HalfHourList = std::vector<int>;

class Stand {
  public:
    // Radius in metres (stored in nautical miles); number, the change flags and the run-time flags
    // start cleared.
    Stand(std::vector<StandOption> options, std::string id, double latitude, double longitude,
          double headingRad, double radiusMetres, std::int16_t type, bool cargo, bool ramp, bool heli);

    // Whether an aircraft of the category may park at a stand of this parking type. Type 0 (no
    // parking type) accepts nothing: the caller judges such stands by their size.
    bool acceptsClass(AcCategory category) const;

    // Records a use seen now and returns its sequence number; nothing for an empty registration or a
    // use already recorded for the same registration, weekday and half hour. A half hour outside
    // 0 to 47 throws std::out_of_range.
    std::optional<std::int32_t> addOption(AcDesignation designation, WeekdayHalfHour slot,
                                          std::string callsign, std::string registration, bool cpl);
    // Records another callsign seen for the active use with that sequence number.
    void updateOptionCallsign(std::int32_t sequence, std::string callsign);
    // Moves every slot of the list into the half hours of the use with that sequence number; false
    // (list untouched) when there is no such use, or when a slot is outside 0 to 47.
    bool updateOptions(HalfHourList& slots, std::int32_t sequence);
    // Shares a list that runs back across midnight: the slots up to and including 47 go to
    // yesterday's use, the later ones except the current half hour to today's. False when
    // yesterday's use is missing, else whether today's exists.
    bool updateOptionsWrapped(HalfHourList& slots, std::int32_t firstSequence, std::int32_t secondSequence);

    // Static parking plans an aircraft here: the stand becomes planned and each overlapping stand of
    // the park airport blocked.
    void markPlanned();

    std::vector<StandOption> options;
    std::string id;
    std::vector<std::int32_t> overlaps;  // numbers of the stands whose circle overlaps this one
    double latitude = 0.0;               // degrees
    double longitude = 0.0;              // degrees
    double heading = 0.0;                // radians
    double radius = 0.0;                 // nautical miles
    std::int32_t number = 0;             // 1-based place in the park airport's stands; 0 = none
    std::int16_t type = 0;               // the simulator's taxi-parking type, 0 to 15
    bool manual = false;                 // added by hand in a learned airport file
    bool radiusChanged = false;          // a learned airport file changed the radius
    bool cargoChanged = false;           // a learned airport file changed the cargo flag
    // Owned by static parking; cleared when a stand is made.
    bool planned = false;   // a static aircraft is planned here
    bool occupied = false;  // a live aircraft stands here
    bool excluded = false;  // the user's stand or a reserved one
    bool blocked = false;   // an overlapping stand is planned
    bool cargo = false;
    bool ramp = false;
    bool heli = false;
};

// Counts one recorded or extended use in g_optionCount and shows it as the window's "# updates".
void gf_countRecordedUse();

// A new list with room for 12 slots, filled by gf_appendHalfHoursBack.
HalfHourList gf_halfHoursBack(WeekdayHalfHour slot, int count);
// Appends `count` half hours counting back from the slot's half hour; after 0 comes 47.
void gf_appendHalfHoursBack(HalfHourList& slots, int count, WeekdayHalfHour slot);

}  // namespace mrw
