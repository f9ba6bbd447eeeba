#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "aircraft/code_tables.h"
#include "config/parameter_catalogue.h"
#include "foundation/geometry.h"
#include "support/logged_program_folder.h"
#include "tools/realtraffic-peer/realtraffic_records.h"
#include "traffic/feed/qnh_reader.h"
#include "traffic/feed/traffic_record_test_support.h"
#include "traffic/model/category_tables.h"
#include "traffic/model/engine_containers.h"
#include "traffic/motion/air_tables.h"
#include "traffic/motion/motion_math.h"
#include "traffic/motion/motion_test_support.h"
#include "traffic/motion/motion_world.h"
#include "traffic/parking/static_parking.h"

namespace mrw {
namespace {

using test::FedSample;
using test::MotionWorld;

// Writes the samples of one aircraft moving along legs of constant turn rate, acceleration and
// vertical rate, reported every 2 to 8 seconds with some noise.
class StreamWriter {
  public:
    StreamWriter(std::mt19937& random, std::vector<FedSample>& feed, std::uint32_t hexid, AcCategory category,
                 std::int32_t startTick, Lalo start, double headingDeg, double speedKt, double altitudeFt)
        : m_random(random),
          m_feed(feed),
          m_hexid(hexid),
          m_category(category),
          m_startTick(startTick),
          m_at(start),
          m_heading(headingDeg),
          m_speed(speedKt),
          m_altitude(altitudeFt) {}

    // Position jitter in metres while moving, speed jitter in knots, track jitter in degrees.
    void setNoise(double metres, double knots, double degrees) {
        m_noiseM = metres;
        m_noiseKt = knots;
        m_noiseDeg = degrees;
    }

    // Moves for `seconds`, turning at `turnDegPerS`, changing speed evenly to `toSpeedKt` and climbing
    // at `fpm`; at or below `groundFt` the aircraft reports altitude 0 (on the ground).
    void leg(double seconds, double turnDegPerS, double toSpeedKt, double fpm, double groundFt = 0) {
        constexpr double dt = 0.1;
        const double accel = (toSpeedKt - m_speed) / seconds;
        for (double t = 0; t < seconds; t += dt) {
            m_heading += turnDegPerS * dt;
            m_speed = std::max(m_speed + accel * dt, 0.0);
            m_altitude = std::max(m_altitude + fpm / 60 * dt, groundFt);
            m_at = gf_destinationPoint(m_at, m_heading * kRadPerDeg, m_speed * dt / 3600 * kFeetPerNm);
            m_time += dt;
            if (m_time >= m_nextReport)
                report(m_altitude <= groundFt || !m_rateReported ? 0 : fpm, m_altitude <= groundFt);
        }
    }

    // Stands still for `seconds`.
    void stand(double seconds, double groundFt = 0) {
        m_speed = 0;
        leg(seconds, 0, 0, 0, groundFt);
    }

    // Reports every `minSeconds` to `maxSeconds` (2 to 8 s unless set).
    void setReportPeriod(double minSeconds, double maxSeconds) {
        m_minPeriod = minSeconds;
        m_maxPeriod = maxSeconds;
    }

    // Reports from here on carry an ADS-B roll and a true heading `crabDeg` off the direction of
    // travel (a crab into a crosswind), or neither.
    void setCrab(std::optional<double> crabDeg) { m_crab = crabDeg; }

    // Reports from here on carry no vertical rate (0), as older feeds send them, or the rate flown.
    void setVerticalRateReported(bool reported) { m_rateReported = reported; }

    // Points the aircraft (its direction of travel) at once.
    void setHeading(double headingDeg) { m_heading = headingDeg; }

    // The next `count` reports repeat the last one with new times (a stale position resent).
    void setStaleReports(int count) { m_staleLeft = count; }

  private:
    void report(double fpm, bool onGround) {
        const std::int32_t tick = m_startTick + static_cast<std::int32_t>(std::lround(m_time * 100));
        std::uniform_real_distribution<double> period(m_minPeriod, m_maxPeriod);
        if (m_staleLeft > 0 && !m_feed.empty() && m_feed.back().hexid == m_hexid) {
            --m_staleLeft;
            FedSample stale = m_feed.back();
            stale.tick = tick;
            m_feed.push_back(stale);
            m_nextReport = m_time + period(m_random);
            return;
        }
        std::uniform_real_distribution<double> unit(-1, 1);
        const double jitterM = m_speed > 1 ? m_noiseM * std::fabs(unit(m_random)) : 0;
        const Lalo at =
            gf_destinationPoint(m_at, (unit(m_random) + 1) * kPi, jitterM / kMetresPerNm * kFeetPerNm);
        FedSample fed;
        fed.tick = tick;
        fed.hexid = m_hexid;
        fed.category = m_category;
        fed.callsign = "T" + std::to_string(m_hexid);
        const double speed = m_speed > 1 ? std::max(0.0, m_speed + unit(m_random) * m_noiseKt) : 0;
        fed.sample = test::gf_sample(at.latitude, at.longitude, 0, speed, onGround ? 0 : m_altitude, fpm);
        fed.sample.trackDeg = gf_wrap2pi((m_heading + unit(m_random) * m_noiseDeg) * kRadPerDeg) * kDegPerRad;
        if (m_crab) {
            fed.sample.headingFromAdsb = true;
            fed.sample.rollRad = 0.0;
            fed.sample.headingRad = gf_wrap2pi((m_heading + *m_crab) * kRadPerDeg);
        }
        m_feed.push_back(fed);
        m_nextReport = m_time + period(m_random);
    }

    std::mt19937& m_random;
    std::vector<FedSample>& m_feed;
    std::uint32_t m_hexid;
    AcCategory m_category;
    std::int32_t m_startTick;
    Lalo m_at;
    double m_heading, m_speed, m_altitude;
    double m_noiseM = 0, m_noiseKt = 0, m_noiseDeg = 0;
    double m_time = 0, m_nextReport = 0;
    double m_minPeriod = 2, m_maxPeriod = 8;
    std::optional<double> m_crab;
    bool m_rateReported = true;
    int m_staleLeft = 0;
};

constexpr double kField = test::kKlaxElevationFt;
const Lalo kKlax{test::kKlaxLat, test::kKlaxLon};

Lalo lf_offset(Lalo from, double bearingDeg, double nm) {
    return gf_destinationPoint(from, bearingDeg * kRadPerDeg, nm * kFeetPerNm);
}

AcCategory lf_category(std::mt19937& random) {
    return static_cast<AcCategory>(std::uniform_int_distribution<int>(0, 5)(random));
}

// The speed a leg of the seconds may change to from speedKt towards toSpeedKt at 70 percent of the
// category's acceleration or deceleration in the air (an aircraft catching up a quarter above them
// follows samples that slow so).
double lf_reachableKt(AcCategory category, double speedKt, double toSpeedKt, double seconds) {
    const SpeedChangeLimits& limits = g_speedChangeLimits[gf_categorySlot(category)];
    const double mpsToKt = 3600 / kMetresPerNm;
    return std::clamp(toSpeedKt, speedKt - 0.7 * limits.airDecel * seconds * mpsToKt,
                      speedKt + 0.7 * limits.airAccel * seconds * mpsToKt);
}

// Cruising and turning, the stream ending in the air; no turn steeper than 80 percent of the
// category's largest bank flies at its speed, and no speed changes faster than 70 percent of what
// the category may.
void lf_flight(std::mt19937& r, std::vector<FedSample>& feed, std::uint32_t hexid, std::int32_t tick) {
    std::uniform_real_distribution<double> u(0, 1);
    const AcCategory category = lf_category(r);
    double speedKt = 150 + 300 * u(r);
    StreamWriter w(r, feed, hexid, category, tick, lf_offset(kKlax, u(r) * 360, 5 + 20 * u(r)), u(r) * 360,
                   speedKt, 3000 + 30000 * u(r));
    w.setNoise(30, 5, 2);
    for (int i = 0; i < 4; ++i) {
        const double seconds = 30 + 60 * u(r);
        const double wantedDegPerS = (u(r) - 0.5) * 4;
        const double toSpeedKt = lf_reachableKt(category, speedKt, 150 + 300 * u(r), seconds);
        const double fastestMps = std::max(speedKt, toSpeedKt) * kMetresPerNm / 3600;
        const double steepest = 9.80665 * std::tan(0.8 * maxBankRad(category)) / fastestMps * kDegPerRad;
        w.leg(seconds, std::clamp(wantedDegPerS, -steepest, steepest), toSpeedKt, (u(r) - 0.5) * 4000,
              kField);
        speedKt = toSpeedKt;
    }
}

// A light aircraft (odd hexid) or a helicopter reported every 15 s or so, zig-zagging 90 to 120 degrees
// between straight stretches as long as a report period: every corner lies between two reports.
void lf_sparseZigZag(std::mt19937& r, std::vector<FedSample>& feed, std::uint32_t hexid, std::int32_t tick) {
    std::uniform_real_distribution<double> u(0, 1);
    const AcCategory category = hexid % 2 == 1 ? AcCategory::Light : AcCategory::Rotorcraft;
    double heading = u(r) * 360;
    const double speedKt = 90 + 40 * u(r);
    StreamWriter w(r, feed, hexid, category, tick, lf_offset(kKlax, u(r) * 360, 8 + 10 * u(r)), heading,
                   speedKt, 1500 + 2000 * u(r));
    w.setNoise(30, 5, 2);
    w.setReportPeriod(14, 16);
    for (int i = 0; i < 8; ++i) {
        w.leg(13 + 4 * u(r), 0, speedKt, 0, kField);
        heading += (i % 2 == 0 ? 1 : -1) * (90 + 30 * u(r));
        w.setHeading(heading);
    }
}

// A light aircraft (odd hexid) or a helicopter in a level turn, one to three of its reports in the
// turn resending the position before (a stale record: it seems to stand still in the air).
void lf_staleRecordInTurn(std::mt19937& r, std::vector<FedSample>& feed, std::uint32_t hexid,
                          std::int32_t tick) {
    std::uniform_real_distribution<double> u(0, 1);
    const AcCategory category = hexid % 2 == 1 ? AcCategory::Light : AcCategory::Rotorcraft;
    const double speedKt = 80 + 40 * u(r);
    StreamWriter w(r, feed, hexid, category, tick, lf_offset(kKlax, u(r) * 360, 12 + 10 * u(r)), u(r) * 360,
                   speedKt, 1500 + 1000 * u(r));
    w.setNoise(20, 3, 1);
    w.setReportPeriod(4, 8);
    w.leg(30, 0, speedKt, 0);
    const double turnDegPerS = (u(r) < 0.5 ? 1 : -1) * (3 + 2 * u(r));
    w.leg(20, turnDegPerS, speedKt, 0);
    w.setStaleReports(1 + static_cast<int>(3 * u(r)));
    w.leg(40, turnDegPerS, speedKt, 0);
    w.leg(40, 0, speedKt, 0);
}

// A light aircraft (odd hexid) or a helicopter low over the ground, far from the park airport,
// reported every 10 s or so without vertical rates: climbing, level in a turn, descending and
// climbing again in a turn.
void lf_climbsWithoutVerticalRates(std::mt19937& r, std::vector<FedSample>& feed, std::uint32_t hexid,
                                   std::int32_t tick) {
    std::uniform_real_distribution<double> u(0, 1);
    const AcCategory category = hexid % 2 == 1 ? AcCategory::Light : AcCategory::Rotorcraft;
    const double speedKt = 80 + 40 * u(r);
    StreamWriter w(r, feed, hexid, category, tick, lf_offset(kKlax, u(r) * 360, 12 + 10 * u(r)), u(r) * 360,
                   speedKt, 800 + 500 * u(r));
    w.setNoise(30, 5, 2);
    w.setReportPeriod(9, 11);
    w.setVerticalRateReported(false);
    w.leg(60, 0, speedKt, 800);
    w.leg(40, 1.5, speedKt, 0);
    w.leg(60, 0, speedKt, -600);
    w.leg(60, -1.5, speedKt, 700);
}

// A light aircraft taking off and climbing slowly, reported every 10 s or so without vertical rates.
void lf_takeOffWithoutVerticalRates(std::mt19937& r, std::vector<FedSample>& feed, std::uint32_t hexid,
                                    std::int32_t tick) {
    std::uniform_real_distribution<double> u(0, 1);
    StreamWriter w(r, feed, hexid, AcCategory::Light, tick, lf_offset(kKlax, 250, 1), 70, 10, 0);
    w.setNoise(8, 2, 1);
    w.setReportPeriod(9, 11);
    w.setVerticalRateReported(false);
    w.leg(30, 0, 95, 0, kField);
    w.leg(120, 0, 100, 300 + 300 * u(r), kField);
    w.leg(60, 1.5, 100, 300, kField);
}

// A light aircraft (odd hexid) or a helicopter lifting off and staying low, its samples 200 to 300 ft
// above the field, reported every 10 s or so with or without vertical rates; the helicopter climbs
// at 35 kt.
void lf_lowAfterLiftOff(std::mt19937& r, std::vector<FedSample>& feed, std::uint32_t hexid,
                        std::int32_t tick) {
    std::uniform_real_distribution<double> u(0, 1);
    const bool helicopter = hexid % 2 == 0;
    StreamWriter w(r, feed, hexid, helicopter ? AcCategory::Rotorcraft : AcCategory::Light, tick,
                   lf_offset(kKlax, 250, 1), 70, 10, 0);
    w.setNoise(8, 2, 1);
    w.setReportPeriod(9, 11);
    w.setVerticalRateReported(u(r) < 0.5);
    const double speedKt = helicopter ? 60 + 30 * u(r) : 90 + 20 * u(r);
    w.leg(30, 0, helicopter ? 30 : 70, 0, kField);
    w.leg(20, 0, helicopter ? 35 : speedKt, 600 + 300 * u(r), kField);  // up to 200-300 ft
    w.leg(60, 0, speedKt, 80, kField);
    w.leg(60, 1.5, speedKt, -80, kField);
    w.leg(60, 0, speedKt, 0, kField);
}

// Any category, its samples climbing and then descending at 5,000 fpm (faster than any profile may)
// between level stretches, reported every 4 to 8 s.
void lf_steepClimbAndDescent(std::mt19937& r, std::vector<FedSample>& feed, std::uint32_t hexid,
                             std::int32_t tick) {
    std::uniform_real_distribution<double> u(0, 1);
    const double speedKt = 200 + 100 * u(r);
    StreamWriter w(r, feed, hexid, lf_category(r), tick, lf_offset(kKlax, u(r) * 360, 15 + 10 * u(r)),
                   u(r) * 360, speedKt, 6000 + 4000 * u(r));
    w.setNoise(20, 3, 1);
    w.setReportPeriod(4, 8);
    w.leg(30 + 20 * u(r), 0, speedKt, 5000);
    w.leg(60, 0.5, speedKt, 0);
    w.leg(30 + 20 * u(r), 0, speedKt, -5000);
    w.leg(60, -0.5, speedKt, 0);
}

// An approach to a field down to the roll-out, a turn off the runway and a taxi to a stop, in the air
// crabbing into a crosswind by `crabDeg` if given.
void lf_approachTo(std::mt19937& r, std::vector<FedSample>& feed, std::uint32_t hexid, std::int32_t tick,
                   Lalo field, double fieldFt, std::optional<double> crabDeg = std::nullopt) {
    std::uniform_real_distribution<double> u(0, 1);
    const AcCategory category = u(r) < 0.5 ? AcCategory::Large : AcCategory::Heavy;
    const double approachKt = 140 + 20 * u(r);
    const double minutes = 2500 / 750.0;
    const Lalo start = lf_offset(field, 70, approachKt * minutes / 60);
    StreamWriter w(r, feed, hexid, category, tick, start, 250, approachKt, fieldFt + 2500);
    w.setNoise(10, 3, 1);
    w.setCrab(crabDeg);
    w.leg(minutes * 60 + 10, 0, approachKt - 10, -750, fieldFt);  // down to the runway
    w.setCrab(std::nullopt);
    w.leg(35, 0, 20, 0, fieldFt);  // roll-out
    w.leg(15, 6, 15, 0, fieldFt);  // turn off 90 degrees
    w.leg(30 + 30 * u(r), 0, 12, 0, fieldFt);
    w.leg(10, 0, 0, 0, fieldFt);
    w.stand(20, fieldFt);
}

// Crabbing up to 40 degrees either way, beyond what the nose may hold off its track.
void lf_crabbedApproach(std::mt19937& r, std::vector<FedSample>& feed, std::uint32_t hexid, std::int32_t tick,
                        std::mt19937& crabRandom) {
    const double crabDeg = std::uniform_real_distribution<double>(-40, 40)(crabRandom);
    lf_approachTo(r, feed, hexid, tick, kKlax, kField, crabDeg);
}

// The crab drawn apart, so that the other streams stay as they were.
void lf_approach(std::mt19937& r, std::vector<FedSample>& feed, std::uint32_t hexid, std::int32_t tick) {
    std::mt19937 crabRandom(hexid);
    lf_crabbedApproach(r, feed, hexid, tick, crabRandom);
}

// The crab drawn from the streams' own draws, which changes every stream after it.
void lf_approachSharingDraws(std::mt19937& r, std::vector<FedSample>& feed, std::uint32_t hexid,
                             std::int32_t tick) {
    lf_crabbedApproach(r, feed, hexid, tick, r);
}

// Lining up, a take-off roll, lift-off and the climb.
void lf_takeOff(std::mt19937& r, std::vector<FedSample>& feed, std::uint32_t hexid, std::int32_t tick) {
    std::uniform_real_distribution<double> u(0, 1);
    const AcCategory category = lf_category(r);
    StreamWriter w(r, feed, hexid, category, tick, lf_offset(kKlax, 250, 1), 70, 10, 0);
    w.setNoise(8, 2, 1);
    w.leg(20, 4.5, 5, 0, kField);  // onto the runway
    w.stand(15, kField);
    const double rotate = category == AcCategory::Rotorcraft ? 40 : 120 + 50 * u(r);
    w.leg(40, 0, rotate, 0, kField);
    w.leg(60, 0, rotate + 40, 1500 + 1500 * u(r), kField);
    w.leg(60, 1.5, rotate + 80, 2000, kField);
}

// Taxiing with 90 and 170 degree turns, stopping at the end.
void lf_taxi(std::mt19937& r, std::vector<FedSample>& feed, std::uint32_t hexid, std::int32_t tick) {
    std::uniform_real_distribution<double> u(0, 1);
    StreamWriter w(r, feed, hexid, lf_category(r), tick, lf_offset(kKlax, u(r) * 360, 1 + u(r)), u(r) * 360,
                   15, 0);
    w.setNoise(6, 2, 3);
    w.leg(30, 0, 15, 0, kField);
    w.leg(10, 9, 12, 0, kField);  // 90 degrees
    w.leg(40, 0, 18, 0, kField);
    w.leg(10, -17, 8, 0, kField);  // 170 degrees
    w.leg(30, 0, 15, 0, kField);
    w.leg(8, 0, 0, 0, kField);
    w.stand(30, kField);
}

// Parked at a stand, pushed back, then taxiing away.
void lf_pushback(std::mt19937& r, std::vector<FedSample>& feed, std::uint32_t hexid, std::int32_t tick) {
    std::uniform_real_distribution<double> u(0, 1);
    const double standHeading = std::floor(u(r) * 360);
    const Lalo at = lf_offset(kKlax, u(r) * 360, 0.5 + u(r));
    test::gf_addParkStand(at.latitude, at.longitude, standHeading, 20 + 15 * u(r));
    StreamWriter w(r, feed, hexid, u(r) < 0.5 ? AcCategory::Large : AcCategory::Buzjets, tick, at,
                   standHeading, 0, 0);
    w.setNoise(2, 0.5, 5);
    w.stand(60, kField);
    w.setHeading(standHeading + 180);  // backwards
    w.leg(30, 0, 3, 0, kField);
    w.leg(15, u(r) < 0.5 ? 6 : -6, 3, 0, kField);
    w.stand(30, kField);
    w.setHeading(standHeading + (u(r) < 0.5 ? 90 : -90));
    w.leg(20, 0, 12, 0, kField);
    w.leg(60, 0, 15, 0, kField);
    w.leg(8, 0, 0, 0, kField);
    w.stand(20, kField);
}

// Prints every broken property, and every exception the engine caught in an aircraft's update; a
// property test fails on the first of them.
void lf_expectNoFailures(const MotionWorld& world, const std::string& log) {
    for (const std::string& failure : world.failures())
        ADD_FAILURE() << failure;
    for (std::size_t at = log.find("updateLiveAc: "); at != std::string::npos;
         at = log.find("updateLiveAc: ", at + 1)) {
        ADD_FAILURE() << log.substr(at, log.find('\n', at) - at);
    }
}

class MotionProperties : public ::testing::Test {
  protected:
    void SetUp() override {
        test::gf_resetMotionState(1000);
        test::gf_setKlaxParkAirport();
        g_parameters().MAX_HOLDING_MINUTES.current = 2;
    }
    void TearDown() override { test::gf_resetMotionState(); }
};

using StreamWriterFn = void (*)(std::mt19937&, std::vector<FedSample>&, std::uint32_t, std::int32_t);

// Two streams of each writer, drawn from the seed, run together; every property holds for every
// aircraft and every aircraft leaves. Adds the ticks spent in each phase to `phases`.
void lf_runGeneratedStreams(std::uint32_t seed, const std::vector<StreamWriterFn>& writers,
                            std::map<FlightPhase, int>& phases) {
    std::mt19937 random(seed);
    std::vector<FedSample> feed;
    std::uint32_t hexid = 0x100000 + seed * 100;
    for (const StreamWriterFn writer : writers) {
        for (int i = 0; i < 2; ++i) {
            ++hexid;
            writer(random, feed, hexid, 1000 + 700 * static_cast<std::int32_t>(hexid % 7));
        }
    }
    const mrwtest::LoggedProgramFolder folder;
    MotionWorld world(kField);
    world.run(feed, 30000);
    lf_expectNoFailures(world, folder.logText());
    EXPECT_EQ(world.created(), static_cast<int>(2 * writers.size()));
    EXPECT_EQ(world.removed(), world.created()) << "every aircraft leaves when its stream has ended";
    for (const auto& [phase, count] : world.phasesSeen())
        phases[phase] += count;
}

TEST_F(MotionProperties, GeneratedStreamsKeepEveryAircraftWithinItsLimits) {
    const std::vector<StreamWriterFn> writers{lf_flight, lf_approach, lf_takeOff,
                                              lf_taxi,   lf_pushback, lf_sparseZigZag};
    std::map<FlightPhase, int> phases;
    for (std::uint32_t seed = 1; seed <= 6; ++seed) {
        SCOPED_TRACE(::testing::Message() << "seed " << seed);
        SetUp();
        lf_runGeneratedStreams(seed, writers, phases);
    }
    // The streams did take the aircraft through every phase of their flights.
    for (const FlightPhase phase : {FlightPhase::Flying, FlightPhase::Taxi, FlightPhase::TakeOff,
                                    FlightPhase::PushingBack, FlightPhase::PushedBack}) {
        EXPECT_GT(phases[phase], 0) << gf_phaseName(phase);
    }
}

TEST_F(MotionProperties, StreamsWithoutVerticalRatesKeepEveryAircraftWithinItsLimits) {
    std::map<FlightPhase, int> phases;
    for (std::uint32_t seed = 1; seed <= 4; ++seed) {
        SCOPED_TRACE(::testing::Message() << "seed " << seed);
        SetUp();
        lf_runGeneratedStreams(seed, {lf_climbsWithoutVerticalRates, lf_takeOffWithoutVerticalRates}, phases);
    }
    EXPECT_GT(phases[FlightPhase::TakeOff], 0);
    EXPECT_GT(phases[FlightPhase::Flying], 0);
}

TEST_F(MotionProperties, LowFlightsAfterLiftOffKeepNearTheirSamples) {
    std::map<FlightPhase, int> phases;
    for (std::uint32_t seed = 1; seed <= 4; ++seed) {
        SCOPED_TRACE(::testing::Message() << "seed " << seed);
        SetUp();
        lf_runGeneratedStreams(seed, {lf_lowAfterLiftOff, lf_lowAfterLiftOff}, phases);
    }
    EXPECT_GT(phases[FlightPhase::TakeOff], 0);
    EXPECT_GT(phases[FlightPhase::Flying], 0);
}

// A stale record makes the aircraft stand still in the air for a moment, banked in its turn: it rolls
// level there, and takes up its turn again afterwards.
TEST_F(MotionProperties, StaleRecordsInATurnKeepEveryAircraftWithinItsLimits) {
    std::map<FlightPhase, int> phases;
    for (std::uint32_t seed = 1; seed <= 4; ++seed) {
        SCOPED_TRACE(::testing::Message() << "seed " << seed);
        SetUp();
        lf_runGeneratedStreams(seed, {lf_staleRecordInTurn, lf_staleRecordInTurn}, phases);
    }
    EXPECT_GT(phases[FlightPhase::Flying], 0);
}

// The aircraft falls behind such samples and closes on them at its full step, never beyond them.
TEST_F(MotionProperties, SamplesClimbingFasterThanTheProfileAreCaughtUpWithoutOvershooting) {
    std::map<FlightPhase, int> phases;
    for (std::uint32_t seed = 1; seed <= 3; ++seed) {
        SCOPED_TRACE(::testing::Message() << "seed " << seed);
        SetUp();
        lf_runGeneratedStreams(seed, {lf_steepClimbAndDescent, lf_steepClimbAndDescent}, phases);
    }
    EXPECT_GT(phases[FlightPhase::Flying], 0);
}

// With these draws two take-off streams begin with a slow curve to a first sample off the nose, in
// steps too small to take a bearing of; the aircraft crept sideways there.
TEST_F(MotionProperties, StreamsStartingOnASlowCurveOffTheNoseKeepWithinTheirLimits) {
    const std::vector<StreamWriterFn> writers{lf_flight,   lf_approachSharingDraws, lf_takeOff, lf_taxi,
                                              lf_pushback, lf_sparseZigZag};
    std::map<FlightPhase, int> phases;
    for (const std::uint32_t seed : {1U, 5U}) {
        SCOPED_TRACE(::testing::Message() << "seed " << seed);
        SetUp();
        lf_runGeneratedStreams(seed, writers, phases);
    }
    EXPECT_GT(phases[FlightPhase::TakeOff], 0);
}

TEST_F(MotionProperties, LandingsAtAFieldAboveTheSeaTouchDownWhereTheirSamplesDo) {
    // A field at 2,000 ft, the park airport, with the ground of the world at its elevation.
    constexpr double kHighField = 2000;
    const Lalo field{47.0, 11.0};
    g_parkAirport.code = FixedCode<4>("LXHI");
    g_parkAirport.latitude = field.latitude;
    g_parkAirport.longitude = field.longitude;
    g_parkAirport.altitude = static_cast<float>(kHighField);
    std::mt19937 random(7);
    std::vector<FedSample> feed;
    for (std::uint32_t hexid = 0x200001; hexid <= 0x200004; ++hexid)
        lf_approachTo(random, feed, hexid, 1000 + 900 * static_cast<std::int32_t>(hexid % 4), field,
                      kHighField);
    const mrwtest::LoggedProgramFolder folder;
    MotionWorld world(kHighField);
    world.run(feed, 30000);
    lf_expectNoFailures(world, folder.logText());
    EXPECT_EQ(world.landings(), 4);
    EXPECT_EQ(world.removed(), world.created());
}

// The category of a type code, as far as the recording needs it (the test has no aircraft database).
AcCategory lf_recordedCategory(const std::string& type) {
    const auto starts = [&type](std::initializer_list<const char*> prefixes) {
        return std::any_of(prefixes.begin(), prefixes.end(),
                           [&type](const char* prefix) { return type.rfind(prefix, 0) == 0; });
    };
    if (starts({"B74", "B77", "B78", "A33", "A34", "A35", "A38", "MD11", "B76"})) return AcCategory::Heavy;
    if (starts({"AS", "EC", "R44", "R22", "B06", "B407", "H60", "S76", "A109"}))
        return AcCategory::Rotorcraft;
    if (starts({"C1", "C2", "P28", "PA", "SR2", "BE", "M20", "T210", "DA"})) return AcCategory::Light;
    if (starts({"CRJ", "E1", "C25", "C5", "C6", "C7", "GLF", "GL", "CL", "LJ", "PC12", "FA"}))
        return AcCategory::Buzjets;
    return AcCategory::Large;
}

// The recording's records as RealTraffic sends them now, through the traffic record parser at their
// timestamps' ticks, and its weather records through the QNH reader (the recording has one QNH, given
// before its first traffic record). A report not more than a second newer than the last one taken of
// its aircraft is left out, as the intake leaves it out.
std::vector<FedSample> lf_readRecording() {
    constexpr double kReplayStart = 1765380000.0;
    const auto entries = rtpeer::readRecording(MRW_FIXTURES_DIR "/realtraffic/KLAX_20200617_2152.csv");
    QnhReader qnhReader;
    std::vector<FedSample> feed;
    std::map<std::uint32_t, double> lastTime;
    for (const rtpeer::RecordingEntry& entry : entries) {
        if (entry.weather) {
            qnhReader.onDatagram(entry.text);
            continue;
        }
        const std::optional<TrafficReport> report = mrwtest::parseRecord(
            rtpeer::currentTrafficRecord(entry.text, kReplayStart + entry.offsetSeconds));
        if (!report) continue;
        auto last = lastTime.find(report->hexid);
        if (last != lastTime.end() && report->reportTime - last->second <= 1) continue;
        lastTime[report->hexid] = report->reportTime;
        FedSample fed;
        fed.hexid = report->hexid;
        fed.tick = 1000 + static_cast<std::int32_t>(std::lround(entry.offsetSeconds * 100));
        fed.category = lf_recordedCategory(g_modelCodes().text(report->identity.designation.model));
        fed.callsign = report->identity.callsign;
        fed.sample = report->sample;
        feed.push_back(fed);
    }
    return feed;
}

TEST_F(MotionProperties, TheRealRecordingAtKlaxKeepsEveryAircraftWithinItsLimits) {
    mrwtest::TrafficReaderState reader;
    mrwtest::TrafficReaderState::setKlaxParkAirport();
    std::vector<FedSample> feed = lf_readRecording();
    ASSERT_GT(feed.size(), 2500U);
    EXPECT_EQ(g_qnh.load(), 1015) << "29.96 inHg";
    MotionWorld world(kField);
    world.run(std::move(feed), 30000);
    lf_expectNoFailures(world, reader.logText());
    // The aircraft keep to their recorded tracks.
    EXPECT_LE(world.fidelity().medianOffTrackM, 5.0);
    EXPECT_GT(world.fidelity().shareOffTrackWithin100M, 0.9);
    std::printf("The worst cases of the recording:\n%s", world.worstCasesText().c_str());
    EXPECT_GT(world.created(), 50);
    EXPECT_EQ(world.removed(), world.created());
}

}  // namespace
}  // namespace mrw
