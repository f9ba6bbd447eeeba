#pragma once
// A small world in which live aircraft are fed their samples and stepped tick by tick over flat
// ground, with the properties every aircraft must keep checked after every tick.
//
// The spawn and the creation are reduced to what the motion code needs: a buffered aircraft is
// created at once when its first sample is due (at a stand when its first two samples stand on one).
// Every 20 ticks each aircraft at most 2500 ft above the ground gets the simulator's in-range report
// (on-ground state, ground elevation, height above ground), posted as the SimConnect client posts it
// and drained by the engine, whose handler also lands it.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "traffic/engine/aircraft_records.h"

namespace mrw::test {

// One received sample of one aircraft: it falls due 3000 ticks after the tick it arrives at.
struct FedSample {
    std::int32_t tick = 0;
    std::uint32_t hexid = 0;
    AcCategory category = AcCategory::Large;
    std::string callsign;
    PositionSample sample;
};

class MotionWorld {
  public:
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

  private:
    struct Watch {
        SimPosition before;
        FlightPhase phase = FlightPhase::Birth;
        double legSpeedKt = 0;
        bool firstUpdate = true;
        std::int32_t runOutTick = -1;  // when the stream last ran out; -1 while fed
        bool runOutOnGround = false;
        std::int32_t contactTicks = 0;  // ticks in contact with the ground while flying
    };

    void intake(const FedSample& fed, std::int32_t tick);
    void spawn(LiveAc& ac, std::int32_t tick);
    void reportInRange(const LiveAc& ac) const;
    void check(LiveAc& ac, Watch& watch, std::int32_t tick, bool wasOnGround);
    void fail(const LiveAc& ac, std::int32_t tick, const std::string& what);

    double m_groundFt;
    std::map<std::uint32_t, Watch> m_watches;
    std::vector<std::string> m_failures;
    std::map<FlightPhase, int> m_phasesSeen;
    int m_created = 0;
    int m_removed = 0;
};

}  // namespace mrw::test
