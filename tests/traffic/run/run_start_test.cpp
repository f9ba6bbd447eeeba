// The run start against the simulated simulator, on the seam clock: the SimConnect client thread
// running, the wait for a flight, and the RealTraffic side without a link.

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "app/main_window.h"
#include "config/parameter_catalogue.h"
#include "platform/simconnect/sim_world.h"
#include "platform/win32/standin.h"
#include "traffic/feed/reader_threads.h"
#include "traffic/feed/realtraffic_link.h"
#include "traffic/run/main_worker.h"
#include "traffic/run/run_end.h"
#include "traffic/run/run_start_internal.h"
#include "traffic/run/run_test_support.h"
#include "traffic/sim/sim_client.h"
#include "traffic/sim/sim_test_support.h"
#include "traffic/sim/user_aircraft_data.h"

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
    const SteadyTime start = m_clock.now();
    m_clock.setSleepHook([start, this](SteadyTime from, SteadyTime to) {
        standin::step(std::chrono::duration<double>(to - from).count());
        if (m_clock.now() - start > 5s) g_windowClosing = true;
    });
    EXPECT_FALSE(lf_startRun());
    // The client thread runs; the wait went in 100 ms steps.
    EXPECT_TRUE(g_simClientThread.joinable());
    EXPECT_FALSE(g_simRunning);
    EXPECT_GE(m_clock.waitCount(100ms), 50u);
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
