// The 10 ms grid of the main loop, the duties of each beat, the not-running state and the stop flags.

#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "config/parameter_catalogue.h"
#include "foundation/message_line.h"
#include "platform/simconnect/sim_world.h"
#include "run/main_loop_internal.h"
#include "run/main_worker.h"
#include "run/run_end.h"
#include "run/run_test_support.h"
#include "traffic/feed/traffic_reader.h"
#include "traffic/model/engine_containers.h"
#include "traffic/model/main_loop_state.h"
#include "traffic/model/user_aircraft_data.h"
#include "traffic/parking/parking_controls.h"
#include "traffic/parking/static_parking.h"
#include "traffic/sim/sim_client.h"
#include "traffic/sim/sim_dispatch.h"

using namespace mrw;
using namespace std::chrono_literals;

namespace {

class MainLoop : public mrwtest::RunTest {
  protected:
    // The engine's step asks the simulator for the aircraft in range: a connection to the world.
    MainLoop() {
        lf_resetLoopState();
        standin::resetWorld();
        standin::startSimulator();
        EXPECT_EQ(SimConnect_Open(&m_handle, "Merrowvale", nullptr, 0, nullptr, 0), S_OK);
        g_simConnect = m_handle;
    }
    ~MainLoop() override {
        g_simConnect = nullptr;
        SimConnect_Close(m_handle);
        standin::resetWorld();
        lf_resetLoopState();
    }

    static void lf_resetLoopState() {
        g_simRunning = false;
        g_simConnectError = false;
        g_newSimSecond = false;
        g_flightNotRunningLogged = false;
        g_runSeconds = 0;
        g_rereadRequest = false;
        // An announced static-parking update holds the parking controls until it has run.
        g_parkFileLoaded = false;
        g_parkingUpdateRequest = false;
        g_parkingUpdateRunning = false;
        std::lock_guard lock(g_trafficMutex);
        g_trafficIntake.renew();
    }
    static bool intakeOpen() {
        std::lock_guard lock(g_trafficMutex);
        return g_injectionActive;
    }

    HANDLE m_handle = nullptr;
};

struct GridCase {
    const char* name;
    std::chrono::microseconds lateness;  // of now behind the deadline; negative: before it
    bool beat;
    std::chrono::milliseconds sleep;      // asked for; 0: none
    std::chrono::milliseconds nextAfter;  // next deadline, from the deadline given
};

TEST_F(MainLoop, TheGridCatchesUpSmallLagsAndDropsLargeOnes) {
    const std::vector<GridCase> cases{
        {"on time", -10ms, false, 10ms, 10ms},      {"less than 1 ms left", -900us, false, 0ms, 10ms},
        {"50 ms late", 50ms, false, 0ms, 10ms},     {"exactly 100 ms late", 100ms, false, 0ms, 10ms},
        {"150 ms late", 150ms, false, 10ms, 170ms}, {"beat on time", -10ms, true, 10ms, 10ms},
        {"beat 50 ms late", 50ms, true, 0ms, 60ms},
    };
    for (const GridCase& c : cases) {
        SCOPED_TRACE(c.name);
        m_clock.clearWaits();
        g_newSimSecond = c.beat;
        const SteadyTime now = gf_steadyNow();
        SteadyTime deadline = now - c.lateness;
        const SteadyTime given = deadline;
        gf_waitForNextTick(deadline);
        const std::vector<SteadyDuration> waits = m_clock.waits();
        if (c.sleep == 0ms) {
            EXPECT_TRUE(waits.empty());
        } else {
            ASSERT_EQ(waits.size(), 1u);
            EXPECT_EQ(waits[0], c.sleep);
        }
        EXPECT_EQ(deadline - given, c.nextAfter);
    }
}

TEST_F(MainLoop, DutiesFollowTheSecondsCounter) {
    std::map<unsigned, std::vector<int>> beatsOf;
    for (int c = 1; c <= 96; ++c) {
        const unsigned duties = gf_dutiesOfBeat(c);
        for (unsigned bit = 1; bit <= kStaticTwinsDuty; bit <<= 1) {
            if (duties & bit) beatsOf[bit].push_back(c);
        }
    }
    std::vector<int> fives;
    for (int c = 5; c <= 95; c += 5)
        fives.push_back(c);
    EXPECT_EQ(beatsOf[kFiveSecondDuties], fives);
    EXPECT_EQ(beatsOf[kFifteenSecondDuties], (std::vector<int>{15, 30, 45, 60, 75, 90}));
    EXPECT_EQ(beatsOf[kThirtySecondDuties], (std::vector<int>{30, 60, 90}));
    EXPECT_EQ(beatsOf[kMinuteDuties], (std::vector<int>{60}));
    // 16, 32, 48 and 64, not 80 (a five-second beat), then 96.
    EXPECT_EQ(beatsOf[kParkAirportPassDuty], (std::vector<int>{16, 32, 48, 64, 96}));
    EXPECT_EQ(beatsOf[kReaderLampsDuty], (std::vector<int>{59}));
    EXPECT_EQ(beatsOf[kStaticTwinsDuty], (std::vector<int>{61}));
    EXPECT_EQ(beatsOf.count(kNoMatchListDuty), 0u);
    EXPECT_EQ(beatsOf.count(kDailyDuty), 0u);
    EXPECT_EQ(gf_dutiesOfBeat(1200) & kNoMatchListDuty, kNoMatchListDuty);
    EXPECT_EQ(gf_dutiesOfBeat(86400), kFiveSecondDuties | kFifteenSecondDuties | kThirtySecondDuties |
                                          kMinuteDuties | kNoMatchListDuty | kDailyDuty);
}

TEST_F(MainLoop, AFlightThatStopsClosesIntakeUntilItResumes) {
    {
        std::lock_guard lock(g_trafficMutex);
        g_injectionActive = true;
    }
    g_positionUpdateBuffers[0].push_back(PositionUpdate{});
    for (int tick = 0; tick < 3; ++tick)
        ASSERT_TRUE(lf_mainLoopTick());
    EXPECT_FALSE(intakeOpen());
    EXPECT_TRUE(g_positionUpdateBuffers[0].empty());
    const std::string text = log();
    const auto first = text.find("Flight not running");
    ASSERT_NE(first, std::string::npos);
    EXPECT_EQ(text.find("Flight not running", first + 1), std::string::npos);

    g_simRunning = true;
    g_newSimSecond = true;
    ASSERT_TRUE(lf_mainLoopTick());
    EXPECT_TRUE(intakeOpen());
    EXPECT_NE(log().find("Flight resumed"), std::string::npos);
    EXPECT_EQ(g_runSeconds, 1);
}

TEST_F(MainLoop, APlainTickSeesAStopRequest) {
    g_simRunning = true;
    ASSERT_TRUE(lf_mainLoopTick());
    g_stopRequested = true;
    EXPECT_FALSE(lf_mainLoopTick());
    g_stopRequested = false;
    g_windowClosing = true;
    g_simRunning = false;
    EXPECT_FALSE(lf_mainLoopTick());
}

TEST_F(MainLoop, ANormalMessageStaysTwentyFiveBeats) {
    g_simRunning = true;
    MainWindow& window = g_mainWindow();
    window.secondsCounter = 6;
    g_newSimSecond = true;
    ASSERT_TRUE(lf_mainLoopTick());  // counter 7
    gf_setMessage("Hello", false);
    ASSERT_EQ(messageLine(), "Hello");
    for (int beat = 8; beat < 32; ++beat) {
        g_newSimSecond = true;
        ASSERT_TRUE(lf_mainLoopTick());
    }
    EXPECT_EQ(messageLine(), "Hello");
    g_newSimSecond = true;
    ASSERT_TRUE(lf_mainLoopTick());  // counter 32
    EXPECT_EQ(window.secondsCounter, 32);
    EXPECT_EQ(messageLine(), "");
}

TEST_F(MainLoop, TheFiveSecondBeatCentresTheTrafficRangeOnTheUser) {
    const Lalo before = TrafficReader::referencePosition.load();
    UserAcData user;
    user.latitude = 33.9425;
    user.longitude = -118.4081;
    // The engine's step refreshes its copy from the received record: both hold the user.
    gf_setUserAcDataRecv(user);
    g_userAcData = user;
    TrafficReader::referencePosition.store(Lalo{51.47, -0.46});
    g_simRunning = true;
    for (int beat = 1; beat <= 4; ++beat) {
        g_newSimSecond = true;
        ASSERT_TRUE(lf_mainLoopTick());
    }
    EXPECT_EQ(TrafficReader::referencePosition.load(), (Lalo{51.47, -0.46})) << "moved before the fifth beat";
    g_newSimSecond = true;
    ASSERT_TRUE(lf_mainLoopTick());
    EXPECT_EQ(TrafficReader::referencePosition.load(), (Lalo{33.9425, -118.4081}));
    gf_setUserAcDataRecv(UserAcData{});
    g_userAcData = UserAcData{};
    TrafficReader::referencePosition.store(before);
}

TEST_F(MainLoop, TheParkingCountdownAnnouncesAnUpdateOnlyWithAParkFileAndNoInitialLoadOnly) {
    struct Case {
        const char* name;
        bool parkFileLoaded;
        bool initialLoadOnly;
        bool announced;
    };
    for (const Case& c :
         {Case{"park file loaded", true, false, true}, Case{"no park file", false, false, false},
          Case{"initial load only", true, true, false}}) {
        SCOPED_TRACE(c.name);
        g_parameters().INITIAL_LOAD_ONLY.current = c.initialLoadOnly;
        g_parkFileLoaded = c.parkFileLoaded;
        g_parkingUpdateRequest = false;
        g_parkingCountdown = 1;
        g_runSeconds = 59;
        g_simRunning = true;
        g_newSimSecond = true;
        ASSERT_TRUE(lf_mainLoopTick());  // c = 60
        EXPECT_EQ(g_parkingCountdown, 20);
        EXPECT_EQ(g_parkingUpdateRequest.load(), c.announced);
        EXPECT_EQ(g_mainWindow().minutesToParkingUpdate, 20);
    }
}

TEST_F(MainLoop, TheDailyDutyRestartsTheCounter) {
    g_runSeconds = 86399;
    g_simRunning = true;
    g_newSimSecond = true;
    ASSERT_TRUE(lf_mainLoopTick());
    EXPECT_EQ(g_runSeconds, 0);
}

}  // namespace
