#pragma once
// The main loop's steps, for the run's other files and the tests.

#include "foundation/clock.h"

#include <cstdint>

namespace mrw {

// The periodic duties of a beat, by the seconds counter.
enum BeatDuty : unsigned {
    kFiveSecondDuties = 1U << 0,     // reference position, "Qs123=", user's stand, re-read
    kFifteenSecondDuties = 1U << 1,  // parking update phases, lamps showing "nothing new"
    kThirtySecondDuties = 1U << 2,   // no-match list clear, automatic range
    kMinuteDuties = 1U << 3,         // parking countdown, ObjectIdList.txt
    kNoMatchListDuty = 1U << 4,      // every 1200 s
    kDailyDuty = 1U << 5,            // every 86400 s
    kParkAirportPassDuty = 1U << 6,  // every 16 s, not on five-second beats
    kReaderLampsDuty = 1U << 7,      // every 59 s, not on five-second beats
    kStaticTwinsDuty = 1U << 8,      // every 61 s, not on five-second beats
};
unsigned gf_dutiesOfBeat(std::int32_t c);

// Runs a tick every 10 ms until a tick returns false.
void lf_mainLoop();
// One tick; false ends the loop.
bool lf_mainLoopTick();
void lf_everySecond();
// Hands the user aircraft's on-ground state, altitude and position and the first listed park
// airport to the automatic range (run start and every second), so that the range the run start,
// the 30-second duty and the AUTO_RANGE check box apply is the flight's own.
void gf_publishAutoRangeInputs();
void lf_every15Seconds();
void lf_flightNotRunning();
void lf_handleReread();
// Waits for the next tick of the 10 ms grid whose deadline is given, and moves the deadline on.
void gf_waitForNextTick(SteadyTime& deadline);

}  // namespace mrw
