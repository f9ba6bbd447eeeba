// The engine with the SimConnect client's own dispatch: creations recognised whatever the range of
// the in-range data, and creations given up when they are not recognised in time.

#include "traffic/sim/creation_recognition.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "config/parameter_catalogue.h"
#include "engine_harness.h"
#include "foundation/clock.h"
#include "foundation/geometry.h"
#include "traffic/engine/livery_cache.h"
#include "traffic/model/sim_queues.h"
#include "traffic/sim/sim_definitions.h"
#include "traffic/sim/sim_dispatch.h"

namespace mrwtest {
namespace {

constexpr std::uint32_t kHexid = 0x3C6501;

class CreationRecognitionTest : public EngineHarness {
  protected:
    void SetUp() override {
        EngineHarness::SetUp();
        mrw::gf_defineSimData();
        // The in-range data reach 10 nm; the aircraft is created 12 nm from the user.
        mrw::g_rangeNm = 10.0;
        mrw::g_rangeMeters = 18520;
    }
    void TearDown() override {
        mrw::g_rangeNm = 40.0;
        mrw::g_rangeMeters = 74080;
        EngineHarness::TearDown();
    }

    // An engine tick, 10 ms of the world and of the steady clock, and the client's dispatch.
    void tick() {
        runTicks(1);
        m_clock.advance(std::chrono::milliseconds(10));
        SimConnect_CallDispatch(connection, mrw::gf_onSimDispatch, nullptr);
    }
    bool tickUntil(const std::function<bool()>& predicate, int maxTicks) {
        for (int i = 0; i < maxTicks; ++i) {
            if (predicate()) return true;
            tick();
        }
        return predicate();
    }

    // Two reports of an airliner cruising east 12 nm east of the user.
    void feedFarAircraft() {
        const mrw::Lalo at = mrw::gf_destinationPoint({kUserLat, kUserLon}, 1.5707963267948966, 12 * 6076.12);
        for (int i = 0; i < 2; ++i) {
            feed({.hexid = kHexid,
                  .lat = at.latitude,
                  .lon = at.longitude + 0.01 * i,
                  .altitudeFt = 5000,
                  .groundSpeedKt = 250,
                  .reportTime = 1'000'000.0 + 5 * i});
        }
    }

    static std::size_t aiObjectCount() {
        std::size_t count = 0;
        for (const standin::SimObject& object : standin::objects())
            count += object.kind == standin::ObjectKind::Ai ? 1 : 0;
        return count;
    }

    mrw::SteadyClockForTests m_clock;
};

TEST_F(CreationRecognitionTest, ACreationBeyondTheInRangeDataIsRecognisedByItsOwnData) {
    feedFarAircraft();
    ASSERT_TRUE(
        tickUntil([] { return live(kHexid) && live(kHexid)->simState == mrw::SimState::Active; }, 4000));
    const std::uint32_t objectId = live(kHexid)->objectId;
    ASSERT_TRUE(standin::object(objectId));
    EXPECT_TRUE(standin::object(objectId)->released) << "taken over";
    EXPECT_TRUE(mrw::g_pendingCreates.empty());
}

class UnrecognisedCreationTest : public CreationRecognitionTest {
  protected:
    UnrecognisedCreationTest() {
        // The object shows its tail number only after the program has given the creation up.
        worldConfig.tailNumberLatencyFrames = 35 * worldConfig.frameRate;
    }
};

TEST_F(UnrecognisedCreationTest, ACreationNotRecognisedInTimeIsHandledAsRefusedAndItsObjectRemoved) {
    feedFarAircraft();
    ASSERT_TRUE(tickUntil([] { return aiObjectCount() == 1; }, 4000));
    const std::string title(live(kHexid)->liveryTitle);
    ASSERT_FALSE(title.empty());
    // Not recognised: the record waits in adding2sim, no longer than the bound.
    const auto waited = m_clock.now();
    ASSERT_TRUE(tickUntil([] { return live(kHexid) == nullptr; }, 3200));
    EXPECT_GE(m_clock.now() - waited, mrw::kRecognitionTime - std::chrono::seconds(1));
    EXPECT_TRUE(mrw::g_failedTitles().contains(title)) << "handled as a refused creation";
    EXPECT_TRUE(mrw::g_pendingCreates.empty());
    // Its object, once it shows its tail number, is removed.
    EXPECT_TRUE(tickUntil([] { return aiObjectCount() == 0; }, 1000));
    EXPECT_NE(folder.logText().find("DLH4AB not recognised within 30 s: given up"), std::string::npos);
    EXPECT_TRUE(mrw::g_givenUpCreations.empty());
}

}  // namespace
}  // namespace mrwtest
