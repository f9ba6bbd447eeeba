// The client thread for real: lf_simClient on its own thread against the free-running world.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <stdexcept>
#include <thread>

#include "foundation/clock.h"
#include "foundation/run_state.h"
#include "foundation/simulator_choice.h"
#include "foundation/user_error_exception.h"
#include "foundation/window_model.h"
#include "platform/system/timer_period.h"
#include "traffic/model/sim_events.h"
#include "traffic/model/sim_queues.h"
#include "traffic/sim/aircraft_commands.h"
#include "traffic/sim/sim_client.h"
#include "traffic/sim/sim_client_internal.h"
#include "traffic/sim/sim_definitions.h"
#include "traffic/sim/sim_dispatch.h"
#include "traffic/sim/sim_test_support.h"

namespace mrw {
namespace {

using namespace std::chrono_literals;
constexpr auto kBound = 20s;

std::size_t countOf(const std::vector<standin::JournalEntry>& journal, std::string_view function) {
    return static_cast<std::size_t>(
        std::count_if(journal.begin(), journal.end(), [&](const auto& e) { return e.function == function; }));
}

class SimClientThreadTest : public ::testing::Test {
  protected:
    void SetUp() override {
        mrwtest::resetSimClientState();
        standin::SimWorldConfig config;
        config.frameRate = 60;
        standin::resetWorld(config);
    }
    void TearDown() override {
        stopClient();
        standin::resetWorld();
        g_msfs2020 = true;
        mrwtest::resetSimClientState();
        std::lock_guard lock(g_simEventMutex);
        g_simEventQueue.renew();
    }
    void startWorld(const standin::SimWorldConfig& config = {}) {
        standin::SimWorldConfig running = config;
        running.frameRate = 60;
        standin::resetWorld(running);
        standin::startSimulator();
        standin::startFreeRunning();
    }
    void startClient() { g_simClientThread = std::jthread(lf_simClient); }
    void stopClient() {
        if (!g_simClientThread.joinable()) return;
        g_simClientThread.request_stop();
        g_simClientThread.join();
    }
    static bool connected() {
        return g_simRunning.load() && !g_mainWindow().simulatorText.empty() && g_simConnect.load() != nullptr;
    }
    static bool waitFor(const std::function<bool()>& condition) {
        return standin::waitUntil(condition, kBound);
    }

    mrwtest::LoggedProgramFolder folder;
};

TEST_F(SimClientThreadTest, WaitsForTheSimulatorThenConnectsDispatchesAndClosesOnStop) {
    SteadyClockForTests recorder(SteadyClockForTests::Mode::Real);
    platform::TimerPeriodRecorder timer;
    startClient();
    ASSERT_TRUE(waitFor([&] { return recorder.waitCount(100ms) >= 3; }));
    EXPECT_EQ(standin::openConnectionCount(), 0u);
    EXPECT_TRUE(folder.logText().find("Waiting for MSFS 2020 ...") != std::string::npos);

    startWorld();
    ASSERT_TRUE(waitFor(connected));
    EXPECT_EQ(g_mainWindow().simulatorText.get(), "MSFS 2020 (11.0.282174.999)");
    EXPECT_TRUE(g_mainWindow().simConnected.load());
    const auto journal = standin::journal(mrwtest::kClientName);
    EXPECT_EQ(countOf(journal, "SimConnect_AddToDataDefinition"), 34u);
    EXPECT_EQ(countOf(journal, "SimConnect_AddClientEventToNotificationGroup"), 16u);
    EXPECT_EQ(timer.begins(), 1);

    stopClient();
    const std::uint64_t dispatches = standin::dispatchCount(mrwtest::kClientName);
    EXPECT_GT(dispatches, 0u);
    EXPECT_EQ(recorder.waitCount(1ms), dispatches);  // one 1 ms wait after each dispatch
    standin::stepFrames(10);
    EXPECT_EQ(standin::dispatchCount(mrwtest::kClientName), dispatches);
    EXPECT_EQ(standin::openConnectionCount(), 0u);
    EXPECT_EQ(g_simConnect.load(), nullptr);
    EXPECT_FALSE(g_mainWindow().simConnected.load());
    EXPECT_EQ(timer.ends(), 1);
    EXPECT_NE(folder.logText().find("\nSimConnect closed ok\n"), std::string::npos);
    EXPECT_EQ(g_exitReason.load(), ExitReason::NotYetSet);
}

TEST_F(SimClientThreadTest, EveryFailedOpenWaits100Milliseconds) {
    SteadyClockForTests recorder(SteadyClockForTests::Mode::Real);
    startWorld();
    standin::failNext("SimConnect_Open", E_FAIL, 3);
    startClient();
    ASSERT_TRUE(waitFor(connected));
    EXPECT_EQ(recorder.waitCount(100ms), 3u);
}

TEST_F(SimClientThreadTest, AStopWhileTheSimulatorIsAbsentClosesNothing) {
    startClient();
    ASSERT_TRUE(waitFor([] { return !mrwtest::messageLine().empty(); }));
    stopClient();
    EXPECT_EQ(folder.logText().find("SimConnect closed ok"), std::string::npos);
    EXPECT_EQ(standin::openConnectionCount(), 0u);
}

TEST_F(SimClientThreadTest, TheWaitNamesTheChosenSimulatorAndEndsWithTheRun) {
    struct Case {
        bool msfs2020;
        std::atomic<bool>* stopFlag;
        const char* waiting;
    };
    for (const Case& c : {Case{true, &g_stopRequested, "Waiting for MSFS 2020 ..."},
                          Case{false, &g_windowClosing, "Waiting for MSFS 2024 ..."}}) {
        SCOPED_TRACE(c.waiting);
        mrwtest::resetSimClientState();
        g_msfs2020 = c.msfs2020;
        startClient();
        ASSERT_TRUE(waitFor([] { return !mrwtest::messageLine().empty(); }));
        EXPECT_EQ(mrwtest::messageLine(), c.waiting);
        // Only the client's end clears the flag while the simulator is absent.
        g_mainWindow().simConnected = true;
        *c.stopFlag = true;
        EXPECT_TRUE(waitFor([] { return !g_mainWindow().simConnected.load(); }))
            << "the client goes on waiting after the run ended";
        stopClient();
        *c.stopFlag = false;
    }
}

TEST_F(SimClientThreadTest, ANewRunsClientJoinsTheOldOneAndRegistersAgain) {
    startWorld();
    startClient();
    ASSERT_TRUE(waitFor(connected));
    g_simClientThread.request_stop();  // as the run end does
    g_mainWindow().simulatorText.set({});
    startClient();  // the old thread is joined here
    EXPECT_EQ(standin::openConnectionCount() <= 1, true);
    ASSERT_TRUE(waitFor(connected));
    EXPECT_EQ(countOf(standin::journal(mrwtest::kClientName), "SimConnect_AddToDataDefinition"), 34u);
}

TEST_F(SimClientThreadTest, ALoadedFlightEndsTheRunAndAQuitOnlyStopsTheFlight) {
    startWorld();
    startClient();
    ASSERT_TRUE(waitFor(connected));
    standin::loadFlight("first.FLT", false);  // the first flight of the session: only logged
    ASSERT_TRUE(waitFor(
        [&] { return folder.logText().find("SimConnect: flight loaded event") != std::string::npos; }));
    EXPECT_EQ(g_exitReason.load(), ExitReason::NotYetSet);

    g_userDataReceived = true;
    standin::loadFlight("second.FLT", true);
    ASSERT_TRUE(waitFor([] { return g_exitReason.load() == ExitReason::NewFlight; }));
    EXPECT_NE(folder.logText().find("SimConnect: New file event"), std::string::npos);

    standin::quitSimulator();
    ASSERT_TRUE(waitFor([] { return !g_simRunning.load() && !g_mainWindow().simRunning.load(); }));
    // The client keeps dispatching until the run stops it.
    const std::uint64_t dispatches = standin::dispatchCount(mrwtest::kClientName);
    EXPECT_TRUE(waitFor([&] { return standin::dispatchCount(mrwtest::kClientName) > dispatches + 5; }));
    EXPECT_TRUE(g_mainWindow().simConnected.load());
    EXPECT_EQ(g_exitReason.load(), ExitReason::NewFlight);
}

TEST_F(SimClientThreadTest, ARefusedLiveryReachesTheEngineAsAFailedCreation) {
    startWorld();
    standin::refuseTitle("Broken Livery");
    startClient();
    ASSERT_TRUE(waitFor(connected));
    CreateRequest request;
    request.initPosition.Latitude = 52.0;
    request.initPosition.Longitude = 4.5;
    request.callsign = "BAD1";
    request.title = "Broken Livery";
    request.hexid = 20077;
    request.queue();
    ASSERT_TRUE(waitFor([] {
        std::lock_guard lock(g_simEventMutex);
        return std::any_of(g_simEvents.begin(), g_simEvents.end(), [](const SimEvent& e) {
            return e.type == SimEventType::CreateFailed && e.hexid == 20077;
        });
    }));
    stopClient();
    EXPECT_TRUE(g_pendingCreates.empty());
}

TEST_F(SimClientThreadTest, TheOtherSimulatorVersionRestartsTheRunWithASwitch) {
    standin::SimWorldConfig config;
    config.applicationName = "SunRise";
    startWorld(config);
    startClient();
    ASSERT_TRUE(waitFor(
        [] { return standin::openConnectionCount() == 0 && g_exitReason.load() != ExitReason::NotYetSet; }));
    EXPECT_NE(folder.logText().find("MSFS and Merrowvale do not match, restarting ..."), std::string::npos);
    EXPECT_EQ(g_exitReason.load(), ExitReason::NewSettings);
    EXPECT_TRUE(mrwtest::stickyError().empty());
    EXPECT_TRUE(g_mainWindow().simulatorText.empty());
}

TEST_F(SimClientThreadTest, AnUnknownSimulatorEndsTheClientWithItsError) {
    standin::SimWorldConfig config;
    config.applicationName = "Flight Sim X";
    startWorld(config);
    g_simRunning = true;
    startClient();
    ASSERT_TRUE(waitFor([] {
        return standin::openConnectionCount() == 0 && g_simConnect.load() == nullptr &&
               !mrwtest::stickyError().empty();
    }));
    EXPECT_TRUE(mrwtest::stickyError().starts_with("77: 'Flight Sim X' not being"));
    EXPECT_TRUE(g_simRunning.load());  // the client does not end the run
    EXPECT_EQ(g_exitReason.load(), ExitReason::NotYetSet);
}

TEST_F(SimClientThreadTest, ExceptionsEndingTheConnection) {
    struct Case {
        const char* name;
        std::exception_ptr exception;
        const char* error;  // the sticky error
        ExitReason reason;
        bool runningAfter;
    };
    const Case cases[] = {
        {"2024", std::make_exception_ptr(UserErrorException(2024, "")), "", ExitReason::NewSettings, false},
        {"77", std::make_exception_ptr(UserErrorException(77, "odd")), "77: odd", ExitReason::NotYetSet,
         true},
        {"73", std::make_exception_ptr(UserErrorException(73, "no aircraft")), "73: no aircraft",
         ExitReason::NotYetSet, true},
        {"std::exception", std::make_exception_ptr(std::runtime_error("boom")), "boom",
         ExitReason::SimWasClosed, false},
        {"other", std::make_exception_ptr(42), "Exception in SimClient", ExitReason::SimWasClosed, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        mrwtest::resetSimClientState();
        g_simRunning = true;
        bool disconnected = false;
        gf_handleClientException(c.exception, disconnected);
        EXPECT_EQ(mrwtest::stickyError(), c.error);
        EXPECT_EQ(g_exitReason.load(), c.reason);
        EXPECT_EQ(g_simRunning.load(), c.runningAfter);
        // The disconnect runs at most once per thread.
        g_simRunning = true;
        gf_handleClientException(c.exception, disconnected);
        EXPECT_EQ(g_simRunning.load(), c.runningAfter || disconnected);
    }
}

TEST_F(SimClientThreadTest, TheExitZeroesOnlyItsOwnHandle) {
    int own = 0;
    int later = 0;
    g_simConnect = &later;  // a later run's client has published its own
    lf_simClientExit(&own);
    EXPECT_EQ(g_simConnect.load(), &later);
    g_simConnect = &own;
    lf_simClientExit(&own);
    EXPECT_EQ(g_simConnect.load(), nullptr);
}

TEST_F(SimClientThreadTest, ASecondThreadQueuesWhileFramesFlush) {
    startWorld();
    standin::modifyUser([](standin::SimObject& user) {
        user.latitudeDeg = 52.0;
        user.longitudeDeg = 4.5;
    });
    g_userObjectId = 1;
    startClient();
    ASSERT_TRUE(waitFor(connected));

    CreateRequest request;
    request.initPosition.Latitude = 52.0;
    request.initPosition.Longitude = 4.5;
    request.initPosition.OnGround = 1;
    request.callsign = "KLM42";
    request.title = "Airliner Blue";
    request.hexid = 20042;
    request.queue();
    // The engine asks for the aircraft in range until the new object is recognised.
    std::uint32_t objectId = 0;
    ASSERT_TRUE(waitFor([&] {
        {
            std::lock_guard lock(g_simConnectMutex);
            SimConnect_RequestDataOnSimObjectType(g_simConnect.load(), 101, 404, 100000,
                                                  SIMCONNECT_SIMOBJECT_TYPE_AIRCRAFT);
        }
        std::lock_guard lock(g_simEventMutex);
        for (const SimEvent& e : g_simEvents) {
            if (e.type == SimEventType::LiveCreated && e.hexid == 20042) objectId = e.objectId;
        }
        return objectId != 0;
    }));
    const auto frozen = standin::object(objectId);
    ASSERT_TRUE(frozen);
    EXPECT_TRUE(waitFor([&] { return standin::object(objectId)->frozenAttitude; }));

    constexpr int kEvents = 300;
    std::thread producer([&] {
        for (int i = 0; i < kEvents; ++i)
            gf_setNavLights(objectId, static_cast<std::uint32_t>(i % 2));
    });
    producer.join();
    ASSERT_TRUE(waitFor([&] {
        const auto object = standin::object(objectId);
        return object && std::count_if(object->events.begin(), object->events.end(), [](const auto& e) {
                             return e.simEvent == "NAV_LIGHTS_SET";
                         }) == kEvents;
    }));
    std::vector<DWORD> values;
    const auto object = standin::object(objectId);
    for (const auto& e : object->events) {
        if (e.simEvent == "NAV_LIGHTS_SET") values.push_back(e.data);
    }
    for (int i = 0; i < kEvents; ++i)
        EXPECT_EQ(values[static_cast<std::size_t>(i)], static_cast<DWORD>(i % 2));
}

}  // namespace
}  // namespace mrw
