// The speed of a live aircraft changes no faster than its category may: a taxi stop is braked in time,
// a touchdown whose runway records are missing rolls out, and a record with a much lower speed in
// flight is followed without a jump.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "config/parameter_catalogue.h"
#include "foundation/geometry.h"
#include "traffic/model/category_tables.h"
#include "traffic/model/engine_containers.h"
#include "traffic/motion/motion_math.h"
#include "traffic/motion/motion_test_support.h"
#include "traffic/motion/motion_world.h"

namespace mrw {
namespace {

using test::FedSample;
using test::MotionWorld;

const Lalo kKlax{test::kKlaxLat, test::kKlaxLon};

class SpeedChange : public ::testing::Test {
  protected:
    void SetUp() override {
        test::gf_resetMotionState(now);
        test::gf_setKlaxParkAirport();
        g_parameters().MAX_HOLDING_MINUTES.current = 2;  // the taxiing streams end in a short hold
    }
    void TearDown() override { test::gf_resetMotionState(); }
    const std::int32_t now = 100000;
};

// A sample `metres` along `bearingDeg` from `from`, due at the tick.
PositionSample lf_ahead(Lalo from, double bearingDeg, double metres, std::int32_t dueTick, double speedKt,
                        double altitudeFt = 0, double fpm = 0) {
    const Lalo at = gf_destinationPoint(from, bearingDeg * kRadPerDeg, metres / kMetresPerNm * kFeetPerNm);
    PositionSample s = test::gf_sample(at.latitude, at.longitude, dueTick, speedKt, altitudeFt, fpm);
    s.trackDeg = bearingDeg;
    return s;
}

// Taxiing east at 15 kt with records every 3 s, the records stop at once at the fifth: they say
// nothing of the slowing down. The aircraft brakes in time, no harder than its category may, to
// stand at the stop; every tick it speeds up or slows down within its limits.
TEST_F(SpeedChange, ATaxiStopIsBrakedInTimeToStandAtItsRecord) {
    for (const AcCategory category : {AcCategory::Light, AcCategory::Large, AcCategory::Heavy}) {
        SCOPED_TRACE(::testing::Message() << gf_categoryName(category));
        SetUp();
        constexpr double kSpeedKt = 15;
        constexpr std::int32_t kRecordTicks = 300;
        const double recordM = kSpeedKt * kMetresPerNm / kTicksPerHour * kRecordTicks;
        LiveAc ac = test::gf_activeAircraft(category, kKlax.latitude, kKlax.longitude);
        ac.phase = FlightPhase::Taxi;
        ac.onGroundInSim = true;
        ac.simPosition.heading = kPi / 2;
        for (int i = 0; i <= 4; ++i)
            ac.samples.push_back(lf_ahead(kKlax, 90, i * recordM, now + i * kRecordTicks, kSpeedKt));
        PositionSample stop = ac.samples.back();
        for (int i = 1; i <= 3; ++i) {
            stop.dueTick += kRecordTicks;
            stop.groundSpeedKt = 0;
            stop.stationary = true;
            ac.samples.push_back(stop);
        }
        const SpeedChangeLimits& limits = g_speedChangeLimits[gf_categorySlot(category)];
        const double tickSquared = kSecondsPerTick * kSecondsPerTick;
        double stepBefore = -1;
        double fastestM = 0;
        while (g_engineTick < stop.dueTick) {
            const Lalo before = gf_lalo(ac.simPosition);
            test::gf_updateActive(ac);
            ++g_engineTick;
            const double stepM = gf_distanceNm(before, gf_lalo(ac.simPosition)) * kMetresPerNm;
            fastestM = std::max(fastestM, stepM);
            if (stepBefore >= 0) {
                ASSERT_LE(stepM - stepBefore, limits.groundAccel * tickSquared + 1e-9)
                    << "tick " << g_engineTick;
                ASSERT_LE(stepBefore - stepM, limits.groundBrake * tickSquared + 1e-9)
                    << "tick " << g_engineTick;
            }
            stepBefore = stepM;
        }
        EXPECT_EQ(stepBefore, 0) << "it stands";
        EXPECT_GT(fastestM * kTicksPerHour / kMetresPerNm, 0.9 * kSpeedKt)
            << "it taxied at the records' speed";
        const double fromStopM = gf_distanceNm(gf_lalo(ac.simPosition), gf_lalo(stop)) * kMetresPerNm;
        EXPECT_LT(fromStopM, 1.0) << "it stands at its stop";
    }
}

// Runs the feed through the world: every watched bound holds at every tick, the speed's change
// among them, and the aircraft leaves.
void lf_expectWithinLimits(const std::vector<FedSample>& feed, int landings) {
    MotionWorld world(test::kKlaxElevationFt);
    world.run(feed, 30000);
    for (const std::string& failure : world.failures())
        ADD_FAILURE() << failure;
    EXPECT_EQ(world.landings(), landings);
    EXPECT_EQ(world.created(), 1);
    EXPECT_EQ(world.removed(), 1);
}

FedSample lf_fed(std::int32_t tick, AcCategory category, const PositionSample& sample) {
    FedSample fed;
    fed.tick = tick;
    fed.hexid = 0xA40000;
    fed.category = category;
    fed.callsign = "N40GAP";
    fed.sample = sample;
    return fed;
}

// A light aircraft on final at 85 kt touches down with its records every 5 s; then none come for
// 40 s, until one at 12 kt where it turns off the runway 900 m on, and it taxies on and stops. It
// does not stop dead at its touchdown: it keeps its speed and brakes along the runway.
TEST_F(SpeedChange, ATouchdownWithoutRunwayRecordsForFortySecondsRollsOut) {
    constexpr double kFinalKt = 85;
    const double fiveSecondsM = kFinalKt * kMetresPerNm / 3600 * 5;
    const Lalo touchdown = kKlax;
    std::vector<FedSample> feed;
    const std::int32_t start = 1000;
    // 60 s of final from 400 ft above the field, down to the runway.
    for (int i = 0; i <= 12; ++i) {
        const double altitudeFt = test::kKlaxElevationFt + 400 - 400 * i / 12.0;
        const PositionSample s = lf_ahead(touchdown, 270, (12 - i) * fiveSecondsM, 0, kFinalKt - i,
                                          i < 12 ? altitudeFt : 0, i < 12 ? -400 : 0);
        feed.push_back(lf_fed(start + 500 * i, AcCategory::Light, s));
    }
    const std::int32_t turnOff = start + 500 * 12 + 4000;
    feed.push_back(lf_fed(turnOff, AcCategory::Light, lf_ahead(touchdown, 90, 900, 0, 12)));
    const Lalo exit = gf_lalo(feed.back().sample);
    for (int i = 1; i <= 4; ++i)
        feed.push_back(lf_fed(turnOff + 300 * i, AcCategory::Light, lf_ahead(exit, 180, 18.5 * i, 0, 12)));
    PositionSample stop = feed.back().sample;
    stop.groundSpeedKt = 0;
    for (int i = 1; i <= 3; ++i)
        feed.push_back(lf_fed(turnOff + 1200 + 300 * i, AcCategory::Light, stop));
    lf_expectWithinLimits(feed, 1);
}

// A narrow-body cruising at 250 kt with a record every 5 s; one record in the middle says 120 kt,
// its position as far on as the others. The aircraft slows and speeds up again within its limits.
TEST_F(SpeedChange, ARecordWithAMuchLowerSpeedInFlightIsFollowedWithinTheLimits) {
    constexpr double kCruiseKt = 250;
    const double fiveSecondsM = kCruiseKt * kMetresPerNm / 3600 * 5;
    const Lalo start = gf_destinationPoint(kKlax, 0, 15 * kFeetPerNm);
    std::vector<FedSample> feed;
    for (int i = 0; i <= 24; ++i) {
        const double speedKt = i == 12 ? 120 : kCruiseKt;
        feed.push_back(lf_fed(1000 + 500 * i, AcCategory::Large,
                              lf_ahead(start, 90, i * fiveSecondsM, 0, speedKt, 6000)));
    }
    lf_expectWithinLimits(feed, 0);
}

}  // namespace
}  // namespace mrw
