// The run start against the simulated simulator, on the seam clock: the SimConnect client thread
// running, the wait for a flight, and the RealTraffic side without a link.

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "app/main_window.h"
#include "config/parameter_catalogue.h"
#include "config/traffic_range.h"
#include "platform/simconnect/sim_world.h"
#include "platform/win32/standin.h"
#include "run/main_loop_internal.h"
#include "run/main_worker.h"
#include "run/run_end.h"
#include "run/run_start_internal.h"
#include "run/run_test_support.h"
#include "traffic/feed/reader_threads.h"
#include "traffic/feed/realtraffic_link.h"
#include "traffic/feed/traffic_reader.h"
#include "traffic/model/main_loop_state.h"
#include "traffic/model/user_aircraft_data.h"
#include "traffic/sim/sim_client.h"
#include "traffic/sim/sim_test_support.h"

using namespace mrw;
using namespace std::chrono_literals;

namespace {

// Every sleep of the run's threads runs the world on by as long, so the simulator's per-second
// answers come as the seam clock passes.
class RunStart : public mrwtest::RunTest {
  protected:
    explicit RunStart(bool flightRunning = true) {
        mrwtest::resetSimClientState();
        standin::SimWorldConfig config;
        config.flightRunning = flightRunning;
        standin::resetWorld(config);
        standin::modifyUser([](standin::SimObject& user) {
            user.latitudeDeg = 33.9462;
            user.longitudeDeg = -118.407;
            user.onGround = true;
        });
        standin::startSimulator();
        // No program folder here for the add-on airports scan.
        g_parameters().SCAN_AIRPORTS.current = false;
        m_clock.setSleepHook([](SteadyTime from, SteadyTime to) {
            standin::step(std::chrono::duration<double>(to - from).count());
        });
    }
    ~RunStart() override {
        endRun();
        m_clock.setSleepHook({});
        standin::resetWorld();
        mrwtest::resetSimClientState();
        g_realTrafficMode = RealTrafficMode::OtherPc;
    }

    // What the run end does to the run's threads and the client's state.
    static void endRun() {
        if (g_simClientThread.joinable()) {
            g_simClientThread.request_stop();
            g_simClientThread.join();
        }
        gf_stopReaders();
        gf_waitForReaders();
        gf_resetReaderSide();
        mrwtest::resetSimClientState();
    }

    mrwtest::RealTrafficPortsLock m_portsLock;
};

struct RunStartWithoutFlight : RunStart {
    RunStartWithoutFlight() : RunStart(false) {}
};

TEST_F(RunStartWithoutFlight, TheStartWaitsForAFlightUntilTheWindowCloses) {
    // The window closes after 5 s of the run start's own waits: the client thread's sleeps move the
    // same clock and must not close it before the run start has waited at all.
    const std::thread::id runStart = std::this_thread::get_id();
    SteadyDuration waited{};
    m_clock.setSleepHook([runStart, &waited](SteadyTime from, SteadyTime to) {
        standin::step(std::chrono::duration<double>(to - from).count());
        if (std::this_thread::get_id() != runStart) return;
        waited += to - from;
        if (waited > 5s) g_windowClosing = true;
    });
    EXPECT_FALSE(lf_startRun());
    // The client thread runs; the wait went in 100 ms steps.
    EXPECT_TRUE(g_simClientThread.joinable());
    EXPECT_FALSE(g_simRunning);
    EXPECT_GE(m_clock.waitCount(100ms), 50u);
}

// The window closed while the run start waits for the first traffic: the run start ends there, so
// the main loop never begins.
TEST_F(RunStart, AStopDuringTheFirstTrafficWaitEndsTheRunStart) {
    g_parameters().AEROWINX.current = true;
    g_realTrafficMode = RealTrafficMode::ThisPc;
    TrafficReader::referencePosition.store(Lalo{0.0, 0.0});
    // The reference position is set right before the wait begins.
    m_clock.setSleepHook([](SteadyTime from, SteadyTime to) {
        standin::step(std::chrono::duration<double>(to - from).count());
        if (TrafficReader::referencePosition.load().latitude != 0.0) g_windowClosing = true;
    });
    EXPECT_FALSE(lf_startRun());
    EXPECT_TRUE(g_windowClosing);
    EXPECT_EQ(log().find("No traffic in this region?"), std::string::npos);
}

// AUTO_RANGE takes the flight's own state: 10 nm with the user on the ground from the run start, and
// 100 nm above AR_ABOVE_HEIGHT once the main loop's 30-second duty sees the user in the air.
TEST_F(RunStart, TheAutomaticRangeFollowsTheUserOnTheGroundAndInTheAir) {
    g_parameters().AEROWINX.current = true;
    g_realTrafficMode = RealTrafficMode::ThisPc;
    g_parameters().AR_ABOVE_HEIGHT.current = 18000;
    ASSERT_TRUE(g_parameters().AUTO_RANGE.current);
    gf_setAutoRangeInputs({});
    gf_setRangeNm(40);
    // The simulator's first per-second on-ground answer races the run start on the client thread;
    // the user stands on the ground either way.
    g_userOnGround = true;
    ASSERT_TRUE(lf_startRun()) << log();
    EXPECT_EQ(g_rangeNm.load(), 10.0);

    standin::modifyUser([](standin::SimObject& user) {
        user.onGround = false;
        user.altitudeFeet = 20000.0;
        user.indicatedAltitudeFeet = 20000.0;
    });
    g_simRunning = true;
    SteadyTime deadline = m_clock.now();
    // The simulator's answers reach the client thread in real time, however fast the seam clock
    // runs: the bound is a generous real time, not a number of ticks.
    const auto tickUntil = [&](const std::function<bool()>& done) {
        const auto giveUp = std::chrono::steady_clock::now() + 60s;
        while (!done() && std::chrono::steady_clock::now() < giveUp) {
            gf_waitForNextTick(deadline);
            if (!lf_mainLoopTick()) return false;
            std::this_thread::yield();
        }
        return done();
    };
    // On a loaded machine the answers may take more than 30 of the seam clock's seconds: the run's
    // seconds are held below the duty meanwhile, so it never sees the user half updated.
    ASSERT_TRUE(tickUntil([] {
        g_runSeconds = 1;
        return !g_userOnGround.load() && g_userAcData.altitudeFt > 19000.0;
    }));
    EXPECT_EQ(g_rangeNm.load(), 10.0);  // the range moves with the 30-second duty
    g_runSeconds = 28;
    EXPECT_TRUE(tickUntil([] { return g_runSeconds.load() >= 30; }))
        << gf_exitReasonName(g_exitReason) << "\n"
        << log();
    EXPECT_EQ(g_rangeNm.load(), 100.0);
    g_runSeconds = 0;
    gf_setAutoRangeInputs({});
    gf_setRangeNm(40);
}

TEST_F(RunStart, WithoutALinkTheReadersStartTwoSecondsApartAndNoTrafficIsLogged) {
    struct Case {
        const char* name;
        bool aerowinx;
        RealTrafficMode mode;
    };
    for (const Case& c : {Case{"Aerowinx on this PC", true, RealTrafficMode::ThisPc},
                          Case{"RealTraffic on another PC", false, RealTrafficMode::OtherPc}}) {
        SCOPED_TRACE(c.name);
        g_parameters().AEROWINX.current = c.aerowinx;
        g_realTrafficMode = c.mode;
        m_clock.clearWaits();
        ASSERT_TRUE(lf_startRun()) << gf_exitReasonName(g_exitReason) << "\n" << log();
        EXPECT_EQ(g_rtListenSocket.load(), INVALID_SOCKET);
        EXPECT_TRUE(g_mainWindow().realTrafficReady);
        EXPECT_FALSE(g_mainWindow().realTrafficNotStarted);
        EXPECT_FALSE(g_rtProfessional);
        // The 2 s between the readers and the 15 s for the first traffic, in 100 ms steps.
        EXPECT_GE(m_clock.waitCount(100ms), 170u);
        EXPECT_NE(log().find("No traffic in this region?"), std::string::npos);
        EXPECT_NE(g_userAcData.latitude, 0.0);
        EXPECT_TRUE(standin::pumpUntil(
            [this] { return log().find("Traffic Reader connected") != std::string::npos; }, 10s));
        endRun();
    }
}

}  // namespace
