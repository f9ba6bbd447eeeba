#pragma once
// A small world in which live aircraft are fed their samples and stepped tick by tick over flat
// ground, with the properties every aircraft must keep checked after every tick.
//
// The spawn and the creation are reduced to what the motion code needs: a buffered aircraft is
// created at once when its first sample is due (at a stand when its first two samples stand on one).
// Every 20 ticks each aircraft at most 2500 ft above the ground gets the simulator's in-range report
// (on-ground state, ground elevation, height above ground), posted as the SimConnect client posts it
// and drained by the engine, whose handler also lands it.

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "foundation/lalo.h"
#include "traffic/model/aircraft_records.h"

namespace mrw::test {

// One received sample of one aircraft: it falls due 3000 ticks after the tick it arrives at.
struct FedSample {
    std::int32_t tick = 0;
    std::uint32_t hexid = 0;
    AcCategory category = AcCategory::Large;
    std::string callsign;
    PositionSample sample;
};

// What a person watching the traffic would notice, measured for every aircraft at every tick.
enum class Watched {
    HeadingOffTrack,    // airborne above 60 kt: heading off the track over the ground (deg)
    BankOffTurn,        // airborne: bank off the coordinated-turn bank of the turn flown (deg)
    BankBeyondLimit,    // airborne: bank beyond the category's largest bank (deg)
    AgainstHeading,     // on the ground outside a pushback: movement off the heading (deg)
    GroundSpeedExcess,  // on the ground: speed above max(1.5 v, v + 15 kt), v the samples' speed (kt),
                        // unless braking as hard as the category may (samples slowing faster)
    AirSpeedRatio,      // airborne: speed over the samples' speed, unless slowing as fast as the
                        // category may
    ClimbInDescent,     // below 3000 ft above the ground, samples not climbing: climb (ft)
    TouchdownMiss,      // a landing's distance from where its samples touch down (m)
    DescentInClimb,     // airborne, samples climbing: descent (ft)
    BankKeptInHover,    // standing still in the air: bank beyond rolling level at the roll rate (deg)
    HeightOffSamples,   // outside an approach or landing: above the higher or below the lower of the
                        // leg's two samples (ft; a ground sample counts at the ground's height),
                        // unless closing on them at the profile's full vertical step; lifting off
                        // (rotation and soft start) it may lag below them
    SpeedStepExcess,    // the speed's change beyond the category's acceleration, or deceleration
                        // (on the ground its braking), in the air and on the ground (m/s2): over
                        // the last second, so that a step that keeps within its limit is not
                        // mistaken for one beyond it where the flat way of a leg meets the next
                        // (its metres east differ by a ten-thousandth); not in a pushback nor from
                        // the creation
};
inline constexpr std::size_t kWatchedCount = 12;

// The largest value a watched quantity may take.
double gf_watchedBound(Watched what);
const char* gf_watchedName(Watched what);

// How near the aircraft are to their fed samples at the ticks those fall due (aircraft in the
// simulator only): off their track (the line through their fed samples), and from the sample itself
// (the aircraft fly their legs at the samples' speeds, so they run ahead or behind the feed's times).
struct Fidelity {
    std::size_t samples = 0;
    double medianOffTrackM = 0;
    double shareOffTrackWithin100M = 0;
    double medianFromSampleM = 0;
    double shareFromSampleWithin100M = 0;
};

// The worst value of a watched quantity over a run, and where it happened.
struct WorstCase {
    double value = 0;
    std::string callsign;
    std::int32_t tick = 0;
    std::string detail;
    int ticksBeyond = 0;  // ticks at which the bound was broken
};

// The ticks over which the speed's change is measured against its limits.
inline constexpr std::size_t kSpeedWindowTicks = 100;

class MotionWorld {
  public:
    // The ground lies at groundFt within 5 nm of the park airport, falling evenly to 0 ft at 6 nm.
    explicit MotionWorld(double groundFt);

    // Runs from the first fed tick until every aircraft has left or the tick limit is reached.
    void run(std::vector<FedSample> feed, std::int32_t extraTicks);

    // One line per broken property; empty when all held.
    const std::vector<std::string>& failures() const { return m_failures; }
    // Aircraft created, and aircraft that left the simulator, over the run.
    int created() const { return m_created; }
    int removed() const { return m_removed; }
    // Phases reached by any aircraft.
    const std::map<FlightPhase, int>& phasesSeen() const { return m_phasesSeen; }
    // The worst case of every watched quantity; a value beyond its bound is also a failure.
    const WorstCase& worst(Watched what) const { return m_worst[static_cast<std::size_t>(what)]; }
    // One line per watched quantity: name, value, aircraft, tick.
    std::string worstCasesText() const;
    // Landings (touchdowns from the air) over the run, with or without a touchdown in the samples.
    int landings() const { return m_landings; }
    // The lowest height above the ground (ft) of any aircraft in the simulator over the run.
    double lowestHeightFt() const { return m_lowestHeightFt; }
    Fidelity fidelity() const;

  private:
    struct Watch {
        SimPosition before;
        double crabBefore = 0;  // the nose's crab off its way into the wind, before the tick
        FlightPhase phase = FlightPhase::Birth;
        double legSpeedKt = 0;
        bool firstUpdate = true;
        std::int32_t runOutTick = -1;  // when the stream last ran out; -1 while fed
        bool runOutOnGround = false;
        std::int32_t contactTicks = 0;  // ticks in contact with the ground while flying
        bool samplesClimb = false;      // the leg's target sample lies above the one before
        // The leg's two samples' altitudes and whether each is airborne; no leg before the first.
        std::array<double, 2> legAltitudeFt{};
        std::array<bool, 2> legAirborne{};
        bool legKnown = false;
        double lowestFt = -1e9;    // lowest altitude since the samples last climbed; -1e9 none
        double highestFt = -1e9;   // highest altitude since the samples began to climb; -1e9 none
        bool onGroundSeen = true;  // on the ground at the last check
        // The speeds and the limits of the speed's change of the last ticks (m/s; m/s per tick),
        // a ring; `speeds` of them known since the creation or the pushback.
        std::array<double, kSpeedWindowTicks> speedMps{};
        std::array<double, kSpeedWindowTicks> accelLimit{};
        std::array<double, kSpeedWindowTicks> decelLimit{};
        std::size_t speeds = 0;
    };
    // A leg of the fed samples on which they touch down: the last airborne and the first ground one.
    using Segment = std::pair<Lalo, Lalo>;

    double groundAt(const SimPosition& p) const;
    double bound(Watched what) const { return m_bounds[static_cast<std::size_t>(what)]; }
    void intake(const FedSample& fed, std::int32_t tick);
    void spawn(LiveAc& ac, std::int32_t tick);
    void reportInRange(const LiveAc& ac) const;
    void check(LiveAc& ac, Watch& watch, std::int32_t tick, bool wasOnGround);
    void fail(const LiveAc& ac, std::int32_t tick, const std::string& what);
    void watch(const LiveAc& ac, Watch& w, std::int32_t tick, bool wasOnGround);
    void note(const LiveAc& ac, std::int32_t tick, Watched what, double value, const std::string& detail);
    void noteTouchdown(const LiveAc& ac, std::int32_t tick);
    void noteSpeedStep(const LiveAc& ac, Watch& w, std::int32_t tick, double speedMps, bool onGround);
    void measureDueSamples(std::int32_t tick);

    // A fed sample at the tick it falls due.
    struct DueSample {
        std::int32_t tick = 0;
        std::uint32_t hexid = 0;
        Lalo position;
    };

    double m_groundFt;
    std::map<std::uint32_t, Watch> m_watches;
    std::vector<std::string> m_failures;
    std::map<FlightPhase, int> m_phasesSeen;
    int m_created = 0;
    int m_removed = 0;
    int m_landings = 0;
    int m_landingsWithoutSampleTouchdown = 0;
    double m_lowestHeightFt = 1e9;
    std::array<WorstCase, kWatchedCount> m_worst{};
    std::array<double, kWatchedCount> m_bounds{};
    std::map<std::uint32_t, std::vector<Segment>> m_sampleTouchdowns;
    std::vector<DueSample> m_dueSamples;  // by tick
    std::size_t m_nextDue = 0;
    std::map<std::uint32_t, std::vector<Lalo>> m_tracks;  // the fed samples of each aircraft
    std::vector<double> m_offTrackM;
    std::vector<double> m_fromSampleM;
};

}  // namespace mrw::test
