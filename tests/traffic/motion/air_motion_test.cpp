#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <utility>
#include <vector>

#include "foundation/geometry.h"
#include "traffic/model/category_tables.h"
#include "traffic/model/engine_containers.h"
#include "traffic/motion/air_tables.h"
#include "traffic/motion/motion_math.h"
#include "traffic/motion/motion_test_support.h"

namespace mrw {
namespace {

using test::gf_activeAircraft;
using test::gf_sample;
using test::gf_sampleAt;

class AirMotion : public ::testing::Test {
  protected:
    void SetUp() override { test::gf_resetMotionState(now); }
    const std::int32_t now = 100000;
};

TEST(AirTables, HoldEveryCategoryAndRefuseOthers) {
    EXPECT_EQ(liftOffSpeedKt(AcCategory::Rotorcraft), 0);
    EXPECT_EQ(liftOffSpeedKt(AcCategory::Heavy), 150);
    EXPECT_DOUBLE_EQ(maxBankRad(AcCategory::HighPerf), kPi / 2);
    EXPECT_NEAR(maxPitchRatePerTick(AcCategory::HighPerf) / maxPitchRatePerTick(AcCategory::Heavy), 6, 1e-12);
    EXPECT_NEAR(maxBankRatePerTick(AcCategory::Light), 0.035 * kRadPerDeg, 1e-15);
    EXPECT_THROW(liftOffSpeedKt(static_cast<AcCategory>(6)), std::out_of_range);
}

// A leg in the air from s0 at the aircraft to s1, 2 km north.
LiveAc lf_airLeg(std::int32_t now, AcCategory category, double altitude, double s1Altitude,
                 double s1Rate = 0) {
    LiveAc ac = gf_activeAircraft(category, 34.2, -118.4, altitude);
    const PositionSample s0 = gf_sample(34.2, -118.4, now, 160, altitude, s1Rate);
    ac.samples = {s0, gf_sampleAt(s0, 180, 2000, now + 2500, 160, s1Altitude, s1Rate)};
    return ac;
}

TEST_F(AirMotion, AnAircraftClimbsOnlyWhenItsSamplesClimb) {
    const struct {
        double altitude, s1Altitude, s0Altitude, heightAboveGround;
        bool climbs, descends;
    } cases[] = {
        {900, 700, 900, 775, false, true},  // low, not approaching: follows its samples down
        {5000, 4000, 5000, 2500, false, true},
        {600, 800, 900, 500, false, false},  // below its descending samples: holds its height
        {600, 700, 700, 500, false, false},  // below level samples: holds its height
        {450, 700, 700, 350, true, false},   // far below them (left behind): climbs back
        {600, 800, 700, 500, true, false},   // samples that climb are followed up
        {900, 800, 700, 775, false, false},  // above its climbing samples: holds its height
        {1600, 1500, 1000, 1475, false, false},
    };
    for (const auto& c : cases) {
        LiveAc ac = lf_airLeg(now, AcCategory::Large, c.altitude, c.s1Altitude);
        ac.samples[0].altitudeFt = c.s0Altitude;
        ac.heightAboveGround = c.heightAboveGround;
        ac.nextPosMain();
        EXPECT_EQ(ac.altStep > 0, c.climbs) << c.altitude << " to " << c.s1Altitude;
        EXPECT_EQ(ac.altStep < 0, c.descends) << c.altitude << " to " << c.s1Altitude;
    }
}

TEST_F(AirMotion, TheLastLegToTheGroundFollowsTheQnh) {
    test::gf_setKlaxParkAirport();
    const struct {
        std::int32_t qnh;
        double heightAboveGround;
        bool aimsAtField;  // else descends at the touchdown rate
    } cases[] = {{1013, 150, true}, {1014, 150, false}, {1014, 90, false}, {1020, 400, false}};
    for (const auto& c : cases) {
        g_qnh = c.qnh;
        LiveAc ac = lf_airLeg(now, AcCategory::Large, 300, 0, -700);
        ac.heightAboveGround = c.heightAboveGround;
        ac.nextPosMain();
        ASSERT_EQ(ac.samples.size(), 1U);
        const std::int32_t n = ac.samples.front().dueTick - now;
        if (c.aimsAtField) {
            EXPECT_NEAR(ac.altStep, (125.0 - 300) / n, 1e-12) << c.qnh;
        } else {
            const double mean = -700 - (c.qnh - 1013.25) * 6;
            const double rate = c.heightAboveGround <= 100 ? -600 : std::min(mean, -601.0);
            EXPECT_DOUBLE_EQ(ac.targetVsFpm, rate) << c.qnh;
            EXPECT_DOUBLE_EQ(ac.altStep, rate / 6000);
        }
    }
}

TEST_F(AirMotion, CrossingTenThousandFeetSendsEachConfigurationAgain) {
    LiveAc ac = gf_activeAircraft(AcCategory::Large, 34.2, -118.4, 11000);
    ac.heightAboveGround = 2500;
    const double altitudes[] = {11000, 9000, 11000, 9000};
    for (const double altitude : altitudes) {
        const PositionSample s0 =
            gf_sample(ac.simPosition.lat, ac.simPosition.lon, g_engineTick, 250, altitude);
        ac.samples = {s0, gf_sampleAt(s0, 0, 3000, g_engineTick + 2500, 250, altitude)};
        ac.nextPosMain();
        EXPECT_EQ(ac.cruiseConfigured, altitude >= 10000) << altitude;
        EXPECT_EQ(ac.lowConfigured, altitude < 10000) << altitude;
        EXPECT_EQ(ac.flapsIndex, 0);
        g_engineTick += 3000;
    }
}

TEST_F(AirMotion, TheHeadingRateNeverExceedsTheTurnRate) {
    LiveAc ac = gf_activeAircraft(AcCategory::Heavy, 34.2, -118.4, 5000);
    ac.heightAboveGround = 2500;
    const PositionSample s0 = gf_sample(34.2, -118.4, now, 200, 5000);
    const PositionSample s1 = gf_sampleAt(s0, 0, 300, now + 10, 200, 5000);
    ac.samples = {s0, s1, gf_sampleAt(s1, 180, 500, now + 400, 200, 5000)};  // a reversal
    ac.nextPosMain();
    EXPECT_DOUBLE_EQ(std::fabs(ac.headingRate), ac.turnRatePerTick);
    EXPECT_LE(std::fabs(ac.bankStep), maxBankRatePerTick(AcCategory::Heavy));
}

// A late aircraft catches up on a leg between a slow and a fast sample at a quarter above the faster
// one's speed, whichever of the two it is.
TEST_F(AirMotion, ALateLegIsCaughtUpAtAQuarterAboveItsFasterSample) {
    for (const auto& [fromKt, toKt] : {std::pair{100.0, 200.0}, std::pair{200.0, 100.0}}) {
        SCOPED_TRACE(::testing::Message() << fromKt << " to " << toKt << " kt");
        test::gf_resetMotionState(now);
        LiveAc ac = gf_activeAircraft(AcCategory::Large, 34.2, -118.4, 5000);
        ac.heightAboveGround = 2500;
        ac.lateLimit = 1000;
        const PositionSample s0 = gf_sample(34.2, -118.4, now, fromKt, 5000);
        constexpr double kLegM = 2000;
        ac.samples = {s0, gf_sampleAt(s0, 0, kLegM, now - 2000, toKt, 5000)};  // long overdue
        ac.nextPosMain();
        const double ticks = kLegM / kMetresPerNm * kTicksPerHour / (1.25 * std::max(fromKt, toKt));
        EXPECT_NEAR(ac.samples.front().dueTick - now, ticks, 1);
    }
}

// A turning stream in the air: samples every 4 s along a circle flown at the turn rate.
std::vector<PositionSample> lf_turningStream(std::int32_t now, double turnDegPerS, double speedKt) {
    std::vector<PositionSample> samples;
    Lalo at{34.2, -118.4};
    double heading = 0;
    for (int i = 0; i < 8; ++i) {
        samples.push_back(gf_sample(at.latitude, at.longitude, now + i * 400, speedKt, 5000));
        for (int step = 0; step < 40; ++step) {
            heading += turnDegPerS * 0.1;
            at = gf_destinationPoint(at, heading * kRadPerDeg, speedKt * 0.1 / 3600 * kFeetPerNm);
        }
    }
    return samples;
}

TEST_F(AirMotion, TheBankLeansIntoTheTurnThatIsFlown) {
    for (const double turnDegPerS : {3.0, -3.0}) {
        SCOPED_TRACE(turnDegPerS);
        test::gf_resetMotionState(now);
        constexpr double speedKt = 160;
        LiveAc ac = gf_activeAircraft(AcCategory::Large, 34.2, -118.4, 5000);
        ac.heightAboveGround = 2500;
        const std::vector<PositionSample> stream = lf_turningStream(now, turnDegPerS, speedKt);
        ac.samples.assign(stream.begin(), stream.end());
        const double startHeading = ac.simPosition.heading;
        for (int tick = 0; tick < 2000; ++tick) {
            test::gf_updateActive(ac);
            ++g_engineTick;
        }
        // A turn of 3 degrees a second at 160 kt is flown with about 14 degrees of bank, into the turn
        // (a turn to the right banks to the right, negative).
        const double coordinated =
            std::atan(speedKt / 3600 * kMetresPerNm * turnDegPerS * kRadPerDeg / 9.80665);
        EXPECT_NEAR(ac.simPosition.bank, -coordinated, 5 * kRadPerDeg);
        const double turned = gf_wrapPi(ac.simPosition.heading - startHeading) * kDegPerRad;
        EXPECT_GT(turned * turnDegPerS, 0) << "turned " << turned;
    }
}

// A helicopter turning, then hovering: its records repeat the last position with new time stamps.
// It slows to its hover no faster than it may, and from there stands still.
TEST_F(AirMotion, AHoveringHelicopterLevelsItsBankAtItsRollRate) {
    LiveAc ac = gf_activeAircraft(AcCategory::Rotorcraft, 34.2, -118.4, 5000);
    ac.heightAboveGround = 2500;
    std::vector<PositionSample> stream = lf_turningStream(now, 4, 80);
    stream.resize(6);
    for (int i = 1; i <= 3; ++i) {
        PositionSample repeated = stream[5];
        repeated.dueTick += i * 1500;
        stream.push_back(repeated);
    }
    ac.samples.assign(stream.begin(), stream.end());
    const double rate = maxBankRatePerTick(AcCategory::Rotorcraft);
    const double decel = g_speedChangeLimits[gf_categorySlot(AcCategory::Rotorcraft)].airDecel;
    double bankWhenStopped = 0;
    double stepBefore = -1;
    int standingTicks = 0;
    while (g_engineTick < stream.back().dueTick - 500) {
        const SimPosition before = ac.simPosition;
        test::gf_updateActive(ac);
        ++g_engineTick;
        const double stepM = gf_distanceNm(gf_lalo(before), gf_lalo(ac.simPosition)) * kMetresPerNm;
        if (stepBefore >= 0) {
            ASSERT_LE(stepBefore - stepM, decel * kSecondsPerTick * kSecondsPerTick + 1e-9)
                << "tick " << g_engineTick;
        }
        stepBefore = stepM;
        if (!ac.samples.front().stationary) continue;
        if (bankWhenStopped == 0) bankWhenStopped = before.bank;
        if (gf_samePosition(gf_lalo(before), gf_lalo(ac.simPosition))) ++standingTicks;
        ASSERT_LE(std::fabs(ac.simPosition.bank - before.bank), rate + 1e-12) << "tick " << g_engineTick;
    }
    EXPECT_GT(std::fabs(bankWhenStopped), 5 * kRadPerDeg) << "it stopped in its turn";
    EXPECT_GT(standingTicks, 1000) << "it came to rest";
    EXPECT_EQ(ac.simPosition.bank, 0);
}

// Flies the aircraft to the tick before its target falls due; every tick its nose points along the
// track flown, it turns no faster than its turn rate and banks no more than its category allows, in
// the coordinated bank of the turn.
void lf_flyLegWatchingTheNose(LiveAc& ac) {
    ac.nextPosMain();
    const std::int32_t due = ac.samples.front().dueTick;
    while (g_engineTick + 1 < due) {
        ++g_engineTick;
        const SimPosition before = ac.simPosition;
        test::gf_updateActive(ac);
        const SimPosition& p = ac.simPosition;
        const double track = gf_bearingRad(gf_lalo(before), gf_lalo(p));
        ASSERT_LT(std::fabs(gf_wrapPi(track - p.heading)), 0.5 * kRadPerDeg) << "tick " << g_engineTick;
        const double turn = gf_wrapPi(p.heading - before.heading);
        ASSERT_LE(std::fabs(turn), ac.turnRatePerTick + 1e-12) << "tick " << g_engineTick;
        ASSERT_LE(std::fabs(p.bank), maxBankRad(ac.category)) << "tick " << g_engineTick;
        const double mps = gf_distanceNm(gf_lalo(before), gf_lalo(p)) * kMetresPerNm / kSecondsPerTick;
        ASSERT_NEAR(p.bank, -std::atan(mps * turn / kSecondsPerTick / 9.80665), 0.5 * kRadPerDeg);
    }
}

TEST_F(AirMotion, AtACornerTheNoseFollowsTheTrackAndTheWayEndsAtTheSampleWhenTheTurnAllows) {
    const struct {
        AcCategory category;
        double cornerDeg, metres;
        bool reachesTheSample;
    } cases[] = {
        {AcCategory::Large, 10, 2000, true},   // a gentle turn at the leg's pace
        {AcCategory::Light, 60, 800, true},    // within 40 degrees of bank, a little slower
        {AcCategory::Light, 120, 800, false},  // too sharp for its bank at 100 kt
        {AcCategory::Rotorcraft, 60, 800, true},
        {AcCategory::Rotorcraft, 120, 800, false},  // too sharp for its turn rate at 100 kt
        {AcCategory::Heavy, 90, 2000, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << static_cast<int>(c.category) << ", " << c.cornerDeg << " deg");
        test::gf_resetMotionState(now);
        LiveAc ac = gf_activeAircraft(c.category, 34.2, -118.4, 5000);
        ac.heightAboveGround = 2500;
        constexpr double speedKt = 100;
        const PositionSample s0 = gf_sample(34.2, -118.4, now, speedKt, 5000);
        const std::int32_t ticks =
            static_cast<std::int32_t>(c.metres / kMetresPerNm * kTicksPerHour / speedKt);
        const PositionSample s1 = gf_sampleAt(s0, c.cornerDeg, c.metres, now + ticks, speedKt, 5000);
        ac.samples = {s0, s1, gf_sampleAt(s1, c.cornerDeg, c.metres, now + 2 * ticks, speedKt, 5000)};
        lf_flyLegWatchingTheNose(ac);
        // The last tick of the leg: at the end of its way.
        ++g_engineTick;
        test::gf_updateActive(ac);
        const double missM = gf_distanceNm(gf_lalo(ac.simPosition), gf_lalo(s1)) * kMetresPerNm;
        if (c.reachesTheSample) {
            EXPECT_LT(missM, 0.5);
        } else {
            // It turned towards the sample as hard as it may, so it misses it by less than its turn
            // diameter at the leg's fastest pace (the sample lies ahead of the hardest turn).
            const double mps = 1.25 * speedKt * kMetresPerNm / 3600;
            const double radius = std::max(mps * mps / 9.80665 / std::tan(maxBankRad(c.category)),
                                           mps * kSecondsPerTick / ac.turnRatePerTick);
            EXPECT_GT(missM, 1);
            EXPECT_LT(missM, 2 * radius);
        }
    }
}

// In a crosswind the nose holds the crab of ADS-B samples that report a roll and a true heading
// (their true heading less their track over the ground), up to a limit that keeps it near the track,
// but only below 1,000 ft above the ground, 2,000 ft while approaching.
TEST_F(AirMotion, LowDownTheNoseHoldsTheSamplesCrabOffTheTrack) {
    const struct {
        AcCategory category;
        double heightAboveGround;
        bool approaching;
        double crabDeg, heldDeg;
    } cases[] = {
        {AcCategory::Light, 950, false, 12, 12}, {AcCategory::Light, 950, false, -12, -12},
        {AcCategory::Light, 950, false, 40, 25}, {AcCategory::Light, 950, false, -40, -25},
        {AcCategory::Light, 1050, false, 12, 0}, {AcCategory::Large, 1950, true, -12, -12},
        {AcCategory::Large, 2040, true, -12, 0},
    };
    test::gf_setKlaxParkAirport();
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.heightAboveGround << " ft, crab " << c.crabDeg);
        test::gf_resetMotionState(now);
        test::gf_setKlaxParkAirport();
        constexpr double trackDeg = 250, speedKt = 130, altitude = 2000, fpm = -700;
        LiveAc ac = gf_activeAircraft(c.category, test::kKlaxLat + 0.05, test::kKlaxLon + 0.05, altitude);
        ac.simPosition.heading = trackDeg * kRadPerDeg;
        ac.heightAboveGround = c.heightAboveGround;
        ac.approaching = c.approaching;
        std::vector<PositionSample> stream{
            gf_sample(ac.simPosition.lat, ac.simPosition.lon, now, speedKt, altitude, fpm)};
        constexpr std::int32_t kLegTicks = 400;
        const double legM = speedKt * kMetresPerNm / 3600 * 4;
        for (int i = 1; i < 10; ++i) {
            PositionSample s = gf_sampleAt(stream.back(), trackDeg, legM, now + i * kLegTicks, speedKt,
                                           altitude - i * 4 * 700 / 60.0, fpm);
            s.headingFromAdsb = true;
            s.rollRad = 0.0;
            s.headingRad = gf_wrap2pi((trackDeg + c.crabDeg) * kRadPerDeg);
            stream.push_back(s);
        }
        ac.samples.assign(stream.begin(), stream.end());
        // After three legs to settle, the nose stays the crab off the track flown, the wings level.
        for (int tick = 0; tick < 7 * kLegTicks; ++tick) {
            ++g_engineTick;
            const SimPosition before = ac.simPosition;
            test::gf_updateActive(ac);
            if (tick < 3 * kLegTicks) continue;
            const SimPosition& p = ac.simPosition;
            const double track = gf_bearingRad(gf_lalo(before), gf_lalo(p));
            ASSERT_NEAR(gf_wrapPi(p.heading - track) * kDegPerRad, c.heldDeg, 0.5) << "tick " << tick;
            ASSERT_NEAR(track * kDegPerRad, trackDeg, 1) << "tick " << tick;
            ASSERT_NEAR(p.bank, 0, 0.5 * kRadPerDeg) << "tick " << tick;
        }
    }
}

TEST_F(AirMotion, ARotorcraftLiftsOffAtAnySpeed) {
    LiveAc ac = gf_activeAircraft(AcCategory::Rotorcraft, 34.2, -118.4);
    ac.samples = {gf_sample(34.2, -118.4, now, 0), gf_sample(34.2001, -118.4, now + 100, 0)};
    EXPECT_TRUE(ac.reachesLiftOffSpeed());
    LiveAc jet = gf_activeAircraft(AcCategory::Large, 34.2, -118.4);
    jet.samples = {gf_sample(34.2, -118.4, now, 130), gf_sample(34.21, -118.4, now + 100, 139)};
    EXPECT_FALSE(jet.reachesLiftOffSpeed());
    jet.samples.back().groundSpeedKt = 140;
    EXPECT_TRUE(jet.reachesLiftOffSpeed());
}

TEST_F(AirMotion, TheApproachConfigurationNeedsTheParkAirportWithinTenMiles) {
    test::gf_setKlaxParkAirport();
    for (const double lat : {34.05, 34.2}) {  // about 6 nm and 15 nm north of KLAX
        LiveAc ac = lf_airLeg(now, AcCategory::Large, 2000, 1600, -800);
        ac.simPosition.lat = lat;
        ac.samples[0].lat = lat;
        ac.heightAboveGround = 1900;
        ac.standNumber = 7;
        ac.nextPosMain();
        const bool nearStand = lat < 34.1;
        EXPECT_EQ(ac.approaching, nearStand) << lat;
        EXPECT_EQ(ac.flapsIndex, nearStand ? 3 : 4);
        EXPECT_EQ(ac.standNumber, nearStand ? 0 : 7);
    }
}

// Within 10 nm of the park airport (KLAX, 125 ft) a descent begins an approach only on a slope of at
// least 2 degrees down to it: a helicopter low along a beach is not landing there.
TEST_F(AirMotion, AnApproachBeginsOnlyOnAPlausibleSlopeToTheParkAirport) {
    test::gf_setKlaxParkAirport();
    const struct {
        AcCategory category;
        double distanceNm, altitudeFt;
        bool approaches;
    } cases[] = {
        {AcCategory::Rotorcraft, 3.5, 625, false},  // 500 ft above the field: 1.3 degrees
        {AcCategory::Rotorcraft, 1.5, 625, true},   // 3.1 degrees
        {AcCategory::Large, 6, 1100, false},        // 1.5 degrees
        {AcCategory::Large, 6, 1500, true},         // 2.2 degrees
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << static_cast<int>(c.category) << ", " << c.distanceNm << " nm, "
                                          << c.altitudeFt << " ft");
        test::gf_resetMotionState(now);
        test::gf_setKlaxParkAirport();
        const double lat = test::kKlaxLat + c.distanceNm / 60;
        LiveAc ac = gf_activeAircraft(c.category, lat, test::kKlaxLon, c.altitudeFt);
        const PositionSample s0 = gf_sample(lat, test::kKlaxLon, now, 100, c.altitudeFt, -400);
        ac.samples = {s0, gf_sampleAt(s0, 180, 2000, now + 2500, 100, c.altitudeFt - 100, -400)};
        ac.heightAboveGround = c.altitudeFt - test::kKlaxElevationFt;
        ac.nextPosMain();
        EXPECT_EQ(ac.approaching, c.approaches);
    }
}

TEST_F(AirMotion, SkippingGroundSamplesStopsAtTheFirstAirborneOne) {
    // Samples by altitude: 0 on the ground, else airborne; the front one is 0.
    const struct {
        std::vector<double> altitudes;
        std::size_t k;
        bool skips;
        std::vector<double> after;
    } cases[] = {
        {{0, 0, 300, 0}, 3, true, {0, 300, 0}},
        {{0, 0, 0, 300}, 3, false, {0, 0, 0, 300}},
        {{0, 0, 0, 300, 400}, 4, true, {0, 300, 400}},
        {{0, 0, 300}, 4, false, {0, 0, 300}},
        {{0, 0, 300}, 3, true, {0, 300}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "k " << c.k << ", " << c.altitudes.size() << " samples");
        LiveAc ac = gf_activeAircraft(AcCategory::Large, 34.2, -118.4);
        ac.takeOffRoll = true;
        PositionSample at = gf_sample(34.2, -118.4, now, 150);
        ac.samples.clear();
        for (const double altitude : c.altitudes) {
            at = gf_sampleAt(at, 0, ac.samples.empty() ? 0 : 300,
                             now + 200 * static_cast<int>(ac.samples.size()), 150, altitude, 1500);
            ac.samples.push_back(at);
        }
        EXPECT_EQ(ac.skipToAirborneSample(c.k), c.skips);
        std::vector<double> after;
        for (const PositionSample& s : ac.samples)
            after.push_back(s.altitudeFt);
        EXPECT_EQ(after, c.after);
    }
}

TEST_F(AirMotion, ASampleBehindTheRollingAircraftStartsTheStreamAgainWhereItIs) {
    LiveAc ac = gf_activeAircraft(AcCategory::Large, 33.94, -118.40);
    ac.landingRoll = true;
    ac.simPosition.heading = 0;
    const PositionSample s0 = gf_sample(33.941, -118.40, now + 200, 60);
    ac.samples = {s0};
    PositionSample behind = gf_sampleAt(gf_sample(33.94, -118.40, 0), 180, 300, now + 900, 20);
    ASSERT_TRUE(ac.checkNewPosDuringLanding(behind));
    ASSERT_EQ(ac.samples.size(), 1U);
    EXPECT_DOUBLE_EQ(ac.samples.front().lat, 33.94);
    EXPECT_EQ(ac.samples.front().dueTick, now + 1);
    ac.streamEndState = 3;  // a run-out stream drops it instead
    ac.samples = {s0};
    EXPECT_FALSE(ac.checkNewPosDuringLanding(behind));
    ac.landingRoll = false;
    ac.approaching = true;  // on the approach, anything 90 degrees off is dropped
    EXPECT_FALSE(ac.checkNewPosDuringLanding(behind));
}

}  // namespace
}  // namespace mrw
