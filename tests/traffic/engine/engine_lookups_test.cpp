#include "traffic/model/engine_lookups.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "engine_harness.h"
#include "traffic/engine/engine_tick.h"
#include "traffic/engine/sim_event_drain.h"
#include "traffic/model/engine_containers.h"
#include "traffic/model/engine_lookups_internal.h"
#include "traffic/model/sim_events.h"

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

struct HexidCase {
    const char* name;
    std::function<void()> change;        // after A, B and C got the objects 11, 12 and 13, in this order
    std::vector<std::uint32_t> found;    // hexids found, each at the record that has it
    std::vector<std::uint32_t> missing;  // hexids not found
    std::int64_t rebuilds;               // passes over the list the lookups took
};

// The reports and creations find their aircraft by hexid through every change of the list: the
// index follows the intake's appends and the erasures that move the last record, and rebuilds
// itself once for a change made behind its back.
TEST_F(LiveObjectIndexTest, ReportsFindTheirAircraftByHexidThroughEveryChange) {
    constexpr std::uint32_t kHexD = 0x4A0004;
    const std::vector<HexidCase> cases{
        {"activation", [] {}, {kHexA, kHexB, kHexC}, {}, 0},
        {"a new aircraft's first report",
         [this] {
             feed({.hexid = kHexD, .callsign = "IDX4", .lat = 50.2, .lon = 8.9});
             runTicks(1);
         },
         {kHexA, kHexB, kHexC, kHexD},
         {},
         0},
        // C takes the first place.
        {"removal", [] { event(mrw::SimEventType::Removed, 11); }, {kHexB, kHexC}, {kHexA}, 0},
        {"removal of the last", [] { event(mrw::SimEventType::Removed, 13); }, {kHexA, kHexB}, {kHexC}, 0},
        {"records moved by erasing",
         [] { std::erase_if(mrw::g_liveAcs, [](const mrw::LiveAc& ac) { return ac.hexid == kHexA; }); },
         {kHexB, kHexC},
         {kHexA},
         1},
        {"appended by other means",
         [this] { addActive({.hexid = kHexD, .callsign = "IDX4"}, 14); },
         {kHexA, kHexB, kHexC, kHexD},
         {},
         1},
        // As long as before: the first position found stale puts the index right.
        {"one erased and one appended by other means",
         [this] {
             std::erase_if(mrw::g_liveAcs, [](const mrw::LiveAc& ac) { return ac.hexid == kHexA; });
             addActive({.hexid = kHexD, .callsign = "IDX4"}, 14);
         },
         {kHexB, kHexC, kHexD},
         {kHexA},
         1},
        {"livery respawn with a new object id",
         [this] {
             live(kHexB)->simState = mrw::SimState::LiveryRespawn;
             event(mrw::SimEventType::Removed, 12);
             create(kHexB, 22);
         },
         {kHexA, kHexB, kHexC},
         {},
         0},
        {"unknown hexid", [] {}, {kHexA}, {kHexD, 0}, 0},
    };
    for (const HexidCase& c : cases) {
        mrw::lf_resetEngine();
        create(kHexA, 11);
        create(kHexB, 12);
        create(kHexC, 13);
        ASSERT_NE(mrw::gf_liveAcOfHexid(kHexC), nullptr) << c.name;  // the index matches the list
        c.change();
        const std::int64_t rebuildsBefore = mrw::gf_liveHexidIndexRebuilds();
        for (const std::uint32_t hexid : c.found) {
            const mrw::LiveAc* aircraft = mrw::gf_liveAcOfHexid(hexid);
            ASSERT_NE(aircraft, nullptr) << c.name << ": " << hexid;
            EXPECT_EQ(aircraft->hexid, hexid) << c.name;
        }
        for (const std::uint32_t hexid : c.missing)
            EXPECT_EQ(mrw::gf_liveAcOfHexid(hexid), nullptr) << c.name << ": " << hexid;
        EXPECT_EQ(mrw::gf_liveHexidIndexRebuilds() - rebuildsBefore, c.rebuilds) << c.name;
    }
}

}  // namespace
}  // namespace mrwtest
