// Exit reasons, the stop latch, the reason setters, the restart countdown and the run end.

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "aircraft/livery_catalogue.h"
#include "app/main_window.h"
#include "app/window_procedure.h"
#include "config/parameter_catalogue.h"
#include "config/parameter_elements.h"
#include "config/parameters_xml.h"
#include "foundation/file_names.h"
#include "run/main_worker.h"
#include "run/run_end.h"
#include "run/run_end_internal.h"
#include "run/run_test_support.h"
#include "support/test_support.h"
#include "traffic/feed/reader_threads.h"
#include "traffic/feed/realtraffic_link.h"
#include "traffic/feed/traffic_reader.h"
#include "traffic/model/main_loop_state.h"
#include "traffic/model/sim_queues.h"
#include "traffic/model/user_aircraft_data.h"
#include "traffic/sim/flight_plan_files.h"
#include "traffic/sim/sim_client.h"
#include "traffic/sim/sim_dispatch.h"
#include "traffic/sim/sim_version_switch.h"

namespace fs = std::filesystem;
using namespace mrw;
using namespace std::chrono_literals;

namespace {

using RunEnd = mrwtest::RunTest;

// The text parameters.xml holds for the setting.
std::string storedText(std::string_view name) {
    pugi::xml_document document;
    gf_loadParametersDocument(document);
    return gf_readStringParameter(document, name).value_or("<missing>");
}

TEST(ExitReasonNames, EveryReasonHasItsLogName) {
    const std::array<std::string_view, 9> names{"NOT YET SET",  "SIM WAS CLOSED",  "NEW FLIGHT",
                                                "NEW SETTINGS", "USER CLOSED SIM", "SIMCONNECT ERROR",
                                                "READER ERROR", "SYSTEM ERROR",    "NEW VERSION"};
    for (std::size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(gf_exitReasonName(static_cast<ExitReason>(i)), names[i]);
    }
    EXPECT_THROW(gf_exitReasonName(static_cast<ExitReason>(9)), std::out_of_range);
}

TEST_F(RunEnd, TheFirstSetterWinsAcrossThreads) {
    for (int round = 0; round < 200; ++round) {
        mrwtest::resetRunSettings();
        // Both setters wait at one start line. (Not std::barrier: MinGW's g++ 12 hangs in it.)
        std::atomic<bool> go{false};
        std::atomic<int> winners{0};
        auto setter = [&](ExitReason reason, std::int32_t delay) {
            while (!go.load())
                std::this_thread::yield();
            if (gf_stopWithReason(reason, delay)) ++winners;
        };
        std::thread reader(setter, ExitReason::ReaderError, 15);
        std::thread sim(setter, ExitReason::SimConnectError, 9);
        go = true;
        reader.join();
        sim.join();
        ASSERT_EQ(winners, 1);
        ASSERT_TRUE(g_stopRequested);
        // The winner's delay goes with the winner's reason.
        const ExitReason reason = g_exitReason;
        ASSERT_EQ(g_restartDelay, reason == ExitReason::ReaderError ? 15 : 9);
    }
}

TEST_F(RunEnd, MarkClosingKeepsAnEarlierReasonAndWritesNoDelay) {
    gf_markClosing();
    EXPECT_EQ(g_exitReason, ExitReason::UserClosedSim);
    EXPECT_TRUE(g_stopRequested);
    EXPECT_TRUE(g_windowClosing);
    EXPECT_EQ(g_restartDelay, 0);

    mrwtest::resetRunSettings();
    ASSERT_TRUE(gf_stopWithReason(ExitReason::ReaderError, 15));
    gf_markClosing();
    EXPECT_EQ(g_exitReason, ExitReason::ReaderError);
    EXPECT_EQ(g_restartDelay, 15);
    EXPECT_TRUE(g_windowClosing);
    // No later setter overrides a window close either.
    EXPECT_FALSE(gf_stopWithReason(ExitReason::SimConnectError, 9));
    EXPECT_EQ(g_exitReason, ExitReason::ReaderError);
}

TEST_F(RunEnd, AStoppedReaderEndsTheRunForARestart) {
    gf_readerStopped("Traffic Reader", "10054 connection reset");
    EXPECT_EQ(messageLine(), "The Traffic Reader has stopped with error: 10054 connection reset");
    EXPECT_NE(log().find("The Traffic Reader has stopped with error: 10054 connection reset"),
              std::string::npos);
    EXPECT_EQ(g_exitReason, ExitReason::ReaderError);
    EXPECT_EQ(g_restartDelay, 15);
    gf_readerStopped("QNH Reader", "later");
    EXPECT_EQ(g_restartDelay, 15);
}

TEST_F(RunEnd, ALostSimulatorEndsTheRunUnlessItIsEndingAlready) {
    ASSERT_TRUE(gf_stopWithReason(ExitReason::NewFlight, 0));
    gf_simDisconnected(false);
    EXPECT_EQ(g_exitReason, ExitReason::NewFlight);
    EXPECT_EQ(log().find("no longer connected"), std::string::npos);

    mrwtest::resetRunSettings();
    gf_simDisconnected(false);
    EXPECT_EQ(g_exitReason, ExitReason::SimWasClosed);
    EXPECT_NE(log().find("Flight Simulator no longer connected, Merrowvale will stop ..."),
              std::string::npos);
}

TEST_F(RunEnd, TheOtherSimulatorSwitchesTheVersionForARestart) {
    ParameterCatalogue& p = g_parameters();
    g_msfs2020 = true;
    p.SCAN_LIVERIES.current = false;
    p.SCAN_AIRPORTS.current = false;
    p.ALL_INSTALL_PATH.current.set("D:/MSFS");
    fs::create_directories(g_outputFolder);
    mrwtest::writeFile(g_liveriesScannedFile, "<root/>");

    gf_simDisconnected(true);

    EXPECT_EQ(p.SIM_CHOICE.current.get(), "MSFS 2024");
    EXPECT_FALSE(fs::exists(g_liveriesScannedFile));
    EXPECT_TRUE(p.SCAN_LIVERIES.current);
    EXPECT_TRUE(p.SCAN_AIRPORTS.current);
    EXPECT_TRUE(p.ALL_INSTALL_PATH.current.empty());
    // The catalogue is emptied by the run end, once the threads that read it are joined.
    EXPECT_TRUE(g_catalogueClearRequest);
    EXPECT_EQ(messageLine(), "Switching MSFS version in Merrowvale");
    EXPECT_EQ(g_exitReason, ExitReason::NewSettings);
    EXPECT_EQ(g_restartDelay, 3);
}

TEST_F(RunEnd, TheCountdownShowsEverySecond) {
    std::vector<std::string> shown;
    m_clock.setSleepHook([&](SteadyTime, SteadyTime) { shown.push_back(messageLine()); });
    g_restartDelay = 3;
    lf_restartCountdown();
    EXPECT_EQ(shown, (std::vector<std::string>{"Restarting after 3 seconds", "Restarting after 2 seconds",
                                               "Restarting after 1 second"}));
    EXPECT_EQ(m_clock.waitCount(1s), 3u);
    const std::string text = log();
    EXPECT_NE(text.find("Restarting after 3 seconds\n" + std::string(48, '-') + "\n"), std::string::npos);
    EXPECT_NE(text.find("Restart countdown finished"), std::string::npos);

    m_clock.clearWaits();
    g_restartDelay = 0;
    lf_restartCountdown();
    EXPECT_TRUE(m_clock.waits().empty());
}

struct ReasonEnd {
    ExitReason reason;
    std::int32_t delay;
    UINT posted;
    bool scansOff;
};

TEST_F(RunEnd, EachReasonEndsItsOwnWay) {
    const std::array<ReasonEnd, 8> cases{{
        {ExitReason::SimWasClosed, 0, WM_APP_QUIT, false},
        {ExitReason::NewFlight, 0, WM_APP_QUIT, false},
        {ExitReason::NewSettings, 2, WM_APP_START_RUN, false},
        {ExitReason::UserClosedSim, 0, WM_APP_QUIT, false},
        {ExitReason::SimConnectError, 9, WM_APP_START_RUN, true},
        {ExitReason::ReaderError, 15, WM_APP_START_RUN, true},
        {ExitReason::SystemError, 0, WM_APP_QUIT, false},
        {ExitReason::NewVersion, 0, WM_APP_QUIT, false},
    }};
    ParameterCatalogue& p = g_parameters();
    for (const ReasonEnd& c : cases) {
        SCOPED_TRACE(std::string(gf_exitReasonName(c.reason)));
        mrwtest::resetRunSettings();
        m_clock.clearWaits();
        p.SCAN_LIVERIES.current = true;
        p.SCAN_AIRPORTS.current = true;
        p.DESTINATION.setAndSave("EHAM");
        ASSERT_EQ(storedText("DESTINATION"), "EHAM");
        p.BLOCK_CALLSIGN.setAndSave("KLM123");
        ASSERT_EQ(storedText("BLOCK_CALLSIGN"), "KLM123");
        ASSERT_TRUE(gf_stopWithReason(c.reason, c.delay));
        // A SYSTEM ERROR waits for the user to close the window.
        if (c.reason == ExitReason::SystemError) {
            m_clock.setSleepHook([](SteadyTime, SteadyTime) { g_windowClosing = true; });
        }
        const std::size_t before = postedRunMessages().size();

        lf_closingDown();

        m_clock.setSleepHook({});
        const std::vector<UINT> posted = postedRunMessages();
        ASSERT_EQ(posted.size(), before + 1);
        EXPECT_EQ(posted.back(), c.posted);
        EXPECT_EQ(g_restartPending, c.posted == WM_APP_START_RUN);
        EXPECT_EQ(p.SCAN_LIVERIES.current, !c.scansOff);
        EXPECT_EQ(p.SCAN_AIRPORTS.current, !c.scansOff);
        EXPECT_TRUE(p.DESTINATION.current.empty());
        // Saved empty too: the next start must not bring the destination back.
        EXPECT_EQ(storedText("DESTINATION"), "");
        // A callsign blocked in one run is free again in the next, and at the next start.
        EXPECT_TRUE(p.BLOCK_CALLSIGN.current.empty());
        EXPECT_EQ(storedText("BLOCK_CALLSIGN"), "");
        EXPECT_NE(log().find(fmt::format("Exiting: {}", gf_exitReasonName(c.reason))), std::string::npos);
        EXPECT_EQ(m_clock.waitCount(1s),
                  static_cast<std::size_t>(c.posted == WM_APP_START_RUN ? c.delay : 0));
        EXPECT_EQ(m_clock.waitCount(10s), c.reason == ExitReason::NewFlight ? 1u : 0u);
        if (c.posted == WM_APP_START_RUN) {
            // The reset cleared the latch for the next run.
            EXPECT_FALSE(g_stopRequested);
            EXPECT_EQ(g_exitReason, ExitReason::NotYetSet);
        }
    }
}

TEST_F(RunEnd, TheFlightPlanFolderGoesWithWhatItHolds) {
    const std::array<std::vector<std::string>, 2> holdings{{{"101.pln", "102.pln"}, {}}};
    for (const std::vector<std::string>& files : holdings) {
        SCOPED_TRACE(files.size());
        mrwtest::resetRunSettings();
        ASSERT_TRUE(gf_createFlightPlanFolder());
        for (const std::string& file : files)
            mrwtest::writeFile(g_flightPlanFolder / file, "<?xml version=\"1.0\"?>");
        ASSERT_TRUE(gf_stopWithReason(ExitReason::UserClosedSim, 0));
        lf_closingDown();
        EXPECT_FALSE(fs::exists(g_flightPlanFolder));
        EXPECT_EQ(log().find("gf_removeFlightPlanFolder"), std::string::npos);
    }
}

TEST_F(RunEnd, ASystemErrorKeepsItsTextUntilTheWindowCloses) {
    {
        MainWindow& window = g_mainWindow();
        std::lock_guard lock(window.messageMutex);
        window.errorMessage = "41: Merrowvale must be run from the Merrowvale folder!";
    }
    g_exitReason = ExitReason::SystemError;
    g_stopRequested = true;
    int sleeps = 0;
    m_clock.setSleepHook([&](SteadyTime, SteadyTime) {
        if (++sleeps == 4) g_windowClosing = true;
    });
    lf_closingDown();
    EXPECT_GE(m_clock.waitCount(500ms), 4u);
    EXPECT_EQ(errorLine(), "41: Merrowvale must be run from the Merrowvale folder!");
    EXPECT_EQ(log().find("User closed Merrowvale"), std::string::npos);
    EXPECT_EQ(postedRunMessages(), std::vector<UINT>{WM_APP_QUIT});
}

TEST_F(RunEnd, AnExceptionInTheClosingStepsStillQuits) {
    g_exitReason = static_cast<ExitReason>(42);
    g_stopRequested = true;
    g_restartPending = true;
    lf_closingDown();
    EXPECT_EQ(messageLine(), "lf_closingDown exception invalid unordered_map<K, T> key");
    EXPECT_EQ(postedRunMessages(), std::vector<UINT>{WM_APP_QUIT});
    EXPECT_FALSE(g_restartPending);
}

TEST_F(RunEnd, ARestartAfterASimulatorSwitchEmptiesTheCatalogue) {
    g_liveriesProcessed = true;
    g_catalogueClearRequest = true;
    ASSERT_TRUE(gf_stopWithReason(ExitReason::NewSettings, 3));
    lf_closingDown();
    EXPECT_FALSE(g_liveriesProcessed);
    EXPECT_FALSE(g_catalogueClearRequest);
    EXPECT_EQ(postedRunMessages(), std::vector<UINT>{WM_APP_START_RUN});
}

}  // namespace

namespace {

TEST_F(RunEnd, TheResetPutsEveryPerRunValueBack) {
    MainWindow& w = g_mainWindow();
    // Readers.
    TrafficReader::qnh = 998;
    TrafficReader::trafficTime = 1.6e9;
    {
        std::lock_guard lock(TrafficReader::callsignsMutex);
        TrafficReader::callsigns.insert("KLM123");
    }
    g_trafficReader().stopRequest = true;
    g_qnhReader().qnh = 1030;
    g_qnhReader().stopRequest = true;
    g_qnhReader().datagramCount = 7;
    g_qnhReader().countAtLastCheck = 5;
    // SimConnect client.
    g_userDataReceived = true;
    g_pendingCreates.push_back(PendingCreate{});
    g_justAddedObjects.push_back(101);
    g_simRunning = true;
    g_userObjectId = 7;
    g_simConnectError = true;
    g_positionUpdateBuffers[1].push_back(PositionUpdate{});
    std::swap(g_positionUpdatesIn, g_positionUpdatesOut);
    g_createRequests.push_back(CreateRequest{});
    g_removeRequests.push_back(101);
    g_clientEvents.push_back(ClientEventRequest{});
    g_userStandShown = "A12";
    g_userTitle = "Airbus A320neo";
    g_prevUserPosition = Lalo{52.3, 4.7};
    g_asGenLogged = true;
    g_simTimeEpoch = 1'592'430'720;
    // Main window.
    {
        std::lock_guard lock(w.messageMutex);
        w.message = "message";
        w.errorMessage = "error";
        w.messageSecond = 12;
    }
    for (GuardedText* text : {&w.parkQualityText, &w.userStandText, &w.parkAirportText, &w.parkPublisherText,
                              &w.simulatorText, &w.realTrafficEditionText, &w.userAircraftText}) {
        text->set("text");
    }
    w.secondsCounter = 99;
    w.realTrafficNotStarted = false;
    for (std::atomic<bool>* flag : {&w.realTrafficReady, &w.parkFileOk, &w.simConnected, &w.simRunning,
                                    &w.softParking, &w.weekParking}) {
        *flag = true;
    }
    w.parkHandmade = 1;
    w.userModelKnown = false;
    w.qnh = 1013;
    w.maxPark = 40;
    w.averageFitStatic = 2.5f;
    w.averageFitLive = 1.5f;
    w.updatesCount = 3;
    w.liveCount = 4;
    w.parkedLiveCount = 5;
    w.staticCount = 6;
    w.standsCount = 7;
    w.trafficReaderStatus = ReaderStatus::Receiving;
    w.weatherReaderStatus = ReaderStatus::NothingNew;
    g_hwndCurrent = m_window;
    // Run end, main loop, user data and link.
    gf_markClosing();
    g_restartDelay = 9;
    g_restartPending = true;
    g_newSimSecond = true;
    g_flightNotRunningLogged = true;
    g_runSeconds = 77;
    g_parkingUpdateRequest = true;
    g_parkingUpdatePhase = true;
    g_blockCallsignRequest = true;
    g_csToOidLookup = true;
    g_userAcData.latitude = 33.9;
    g_rtProfessional = true;
    g_awaitingRealTraffic = false;

    lf_resetRunState();

    EXPECT_EQ(TrafficReader::qnh, 1013);
    EXPECT_EQ(TrafficReader::trafficTime, 0.0);
    EXPECT_TRUE(TrafficReader::callsigns.empty());
    EXPECT_FALSE(g_trafficReader().stopRequest);
    EXPECT_EQ(g_qnhReader().qnh, 1013);
    EXPECT_FALSE(g_qnhReader().stopRequest);
    EXPECT_EQ(g_qnhReader().datagramCount, 0);
    EXPECT_EQ(g_qnhReader().countAtLastCheck, 0);

    EXPECT_FALSE(g_userDataReceived);
    EXPECT_TRUE(g_pendingCreates.empty());
    EXPECT_TRUE(g_justAddedObjects.empty());
    EXPECT_FALSE(g_simRunning);
    EXPECT_EQ(g_simConnect.load(), nullptr);
    EXPECT_EQ(g_userObjectId, 2u);
    EXPECT_FALSE(g_simConnectError);
    EXPECT_EQ(g_positionUpdatesIn, &g_positionUpdateBuffers[0]);
    EXPECT_EQ(g_positionUpdatesOut, &g_positionUpdateBuffers[1]);
    EXPECT_TRUE(g_positionUpdateBuffers[0].empty());
    EXPECT_TRUE(g_positionUpdateBuffers[1].empty());
    EXPECT_TRUE(g_createRequests.empty());
    EXPECT_TRUE(g_removeRequests.empty());
    EXPECT_TRUE(g_clientEvents.empty());
    EXPECT_TRUE(g_userStandShown.empty());
    EXPECT_TRUE(g_userTitle.empty());
    EXPECT_EQ(gf_userAcDataRecv().latitude, 0.0);
    EXPECT_EQ(g_prevUserPosition, Lalo{});
    EXPECT_FALSE(g_asGenLogged);
    EXPECT_EQ(g_simTimeEpoch, 0);

    EXPECT_EQ(messageLine(), "");
    EXPECT_EQ(errorLine(), "");
    for (GuardedText* text : {&w.parkQualityText, &w.userStandText, &w.parkAirportText, &w.parkPublisherText,
                              &w.simulatorText, &w.realTrafficEditionText, &w.userAircraftText}) {
        EXPECT_TRUE(text->empty());
    }
    EXPECT_EQ(w.secondsCounter, 0);
    EXPECT_TRUE(w.realTrafficNotStarted);
    for (std::atomic<bool>* flag : {&w.realTrafficReady, &w.parkFileOk, &w.simConnected, &w.simRunning,
                                    &w.softParking, &w.weekParking}) {
        EXPECT_FALSE(*flag);
    }
    EXPECT_EQ(w.parkHandmade, 0);
    EXPECT_TRUE(w.userModelKnown);
    EXPECT_EQ(w.qnh, 0);
    EXPECT_EQ(w.maxPark, 0);
    EXPECT_EQ(w.averageFitStatic, -1.0f);
    EXPECT_EQ(w.averageFitLive, -1.0f);
    EXPECT_EQ(w.updatesCount, 0);
    EXPECT_EQ(w.liveCount, 0u);
    EXPECT_EQ(w.parkedLiveCount, 0u);
    EXPECT_EQ(w.staticCount, 0u);
    EXPECT_EQ(w.standsCount, 0);
    EXPECT_EQ(w.trafficReaderStatus, ReaderStatus::Stopped);
    EXPECT_EQ(w.weatherReaderStatus, ReaderStatus::Stopped);
    EXPECT_EQ(g_hwndCurrent.load(), nullptr);

    EXPECT_FALSE(g_windowClosing);
    EXPECT_FALSE(g_stopRequested);
    EXPECT_EQ(g_exitReason, ExitReason::NotYetSet);
    EXPECT_EQ(g_restartDelay, 9);
    EXPECT_TRUE(g_restartPending);
    EXPECT_FALSE(g_newSimSecond);
    EXPECT_FALSE(g_flightNotRunningLogged);
    EXPECT_EQ(g_runSeconds, 0);
    EXPECT_FALSE(g_parkingUpdateRequest);
    EXPECT_FALSE(g_parkingUpdatePhase);
    EXPECT_FALSE(g_blockCallsignRequest);
    EXPECT_FALSE(g_csToOidLookup);
    EXPECT_EQ(g_userAcData.latitude, 0.0);
    EXPECT_FALSE(g_rtProfessional);
    EXPECT_TRUE(g_awaitingRealTraffic);
}

}  // namespace
