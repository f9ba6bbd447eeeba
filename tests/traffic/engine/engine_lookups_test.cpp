#include "traffic/engine/engine_lookups.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "engine_harness.h"
#include "traffic/engine/engine_containers.h"
#include "traffic/engine/engine_lookups_internal.h"
#include "traffic/engine/engine_tick.h"
#include "traffic/engine/sim_event_drain.h"
#include "traffic/engine/sim_events.h"

namespace mrwtest {
namespace {

constexpr std::uint32_t kHexA = 0x4A0001;
constexpr std::uint32_t kHexB = 0x4A0002;
constexpr std::uint32_t kHexC = 0x4A0003;

class LiveObjectIndexTest : public EngineHarness {
  protected:
    // A live aircraft waiting for its object, then given it by the simulator's creation event.
    void create(std::uint32_t hexid, std::uint32_t objectId) {
        if (live(hexid) == nullptr)
            addActive({.hexid = hexid, .callsign = "IDX" + std::to_string(hexid % 16)}, 0);
        live(hexid)->simState = mrw::SimState::Adding2Sim;
        event(mrw::SimEventType::LiveCreated, objectId, static_cast<std::int32_t>(hexid));
    }

    static void event(mrw::SimEventType type, std::uint32_t objectId, std::int32_t hexid = 0) {
        mrw::gf_postSimEvent({objectId, hexid, 0, type, 0.0, 0.0});
        mrw::lf_processSimEvents();
    }
};

struct IndexCase {
    const char* name;
    std::function<void()> change;  // after A, B and C got the objects 11, 12 and 13, in this order
    std::vector<std::pair<std::uint32_t, std::uint32_t>> found;  // object id -> hexid (0: none)
    std::int64_t rebuilds;                                       // passes over the list the lookups took
};

TEST_F(LiveObjectIndexTest, EventsFindTheirAircraftThroughEveryChange) {
    const auto removedBy = [](std::uint32_t objectId) {
        return [=] { event(mrw::SimEventType::Removed, objectId); };
    };
    const std::vector<IndexCase> cases{
        {"activation", [] {}, {{11, kHexA}, {12, kHexB}, {13, kHexC}}, 0},
        // C takes the first place: the index follows it.
        {"removal", removedBy(11), {{11, 0}, {12, kHexB}, {13, kHexC}}, 0},
        // Erasing in place moves B and C forward behind the index's back: one pass puts it right.
        {"records moved by erasing",
         [] { std::erase_if(mrw::g_liveAcs, [](const mrw::LiveAc& ac) { return ac.hexid == kHexA; }); },
         {{12, kHexB}, {13, kHexC}, {11, 0}},
         1},
        {"livery respawn with a new object id",
         [this] {
             live(kHexB)->simState = mrw::SimState::LiveryRespawn;
             event(mrw::SimEventType::Removed, 12);
             create(kHexB, 22);
         },
         {{12, 0}, {22, kHexB}, {11, kHexA}, {13, kHexC}},
         0},
        {"unknown id", [] {}, {{99, 0}, {0, 0}, {12, kHexB}}, 0},
    };
    for (const IndexCase& c : cases) {
        mrw::lf_resetEngine();
        create(kHexA, 11);
        create(kHexB, 12);
        create(kHexC, 13);
        c.change();
        const std::int64_t rebuildsBefore = mrw::gf_liveObjectIndexRebuilds();
        for (const auto& [objectId, hexid] : c.found) {
            const mrw::LiveAc* aircraft = mrw::gf_liveAcOfObject(objectId);
            if (hexid == 0) {
                EXPECT_EQ(aircraft, nullptr) << c.name << ": object " << objectId;
            } else {
                ASSERT_NE(aircraft, nullptr) << c.name << ": object " << objectId;
                EXPECT_EQ(aircraft->hexid, hexid) << c.name << ": object " << objectId;
                EXPECT_EQ(aircraft->objectId, objectId) << c.name;
            }
        }
        EXPECT_EQ(mrw::gf_liveObjectIndexRebuilds() - rebuildsBefore, c.rebuilds) << c.name;
    }
}

}  // namespace
}  // namespace mrwtest
