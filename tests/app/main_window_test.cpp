#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "app/main_window.h"
#include "app/main_window_fixture.h"
#include "config/parameter_catalogue.h"
#include "foundation/message_line.h"
#include "traffic/model/engine_containers.h"

namespace {

using mrwtest::MainWindowTest;

class MainWindowStateTest : public MainWindowTest {
  protected:
    void TearDown() override {
        mrw::g_engineContainers.renew();
        MainWindowTest::TearDown();
    }

    static mrw::LiveAc live(mrw::SimState state, mrw::FlightPhase phase) {
        mrw::LiveAc ac;
        ac.simState = state;
        ac.phase = phase;
        return ac;
    }
};

TEST_F(MainWindowStateTest, TheConstructorLeavesTheWindowReadyToBePainted) {
    const mrw::MainWindow& w = mrw::g_mainWindow();
    EXPECT_TRUE(w.initialised);
    EXPECT_TRUE(w.realTrafficNotStarted);
    EXPECT_TRUE(w.userModelKnown);
    EXPECT_FALSE(w.simConnected);
    EXPECT_EQ(w.trafficReaderStatus, mrw::ReaderStatus::Stopped);
    EXPECT_EQ(w.averageFitLive, -1.0f);
    EXPECT_TRUE(w.parkAirportCode.load().empty());
    EXPECT_EQ(w.infoRowY, 399);
    EXPECT_EQ(mrw::g_parameters().mainWindowX.current, 400);
    EXPECT_EQ(mrw::g_parameters().mainWindowY.current, 20);
}

TEST_F(MainWindowStateTest, CountersRepaintOnlyWhenTheyChange) {
    mrw::MainWindow& w = mrw::g_mainWindow();
    w.realTrafficReady = true;
    w.trafficReaderStatus = mrw::ReaderStatus::Receiving;
    w.maxPark = 10;
    w.parkAirportCode = mrw::FixedCode<4>("KLAX");
    w.parkFileOk = true;
    mrw::g_liveAcs.push_back(live(mrw::SimState::Active, mrw::FlightPhase::Flying));
    mrw::g_liveAcs.push_back(live(mrw::SimState::Active, mrw::FlightPhase::Parked));
    mrw::g_liveAcs.push_back(live(mrw::SimState::Adding2Sim, mrw::FlightPhase::Taxi));
    mrw::g_staticAcs.emplace_back().simState = mrw::SimState::Active;

    mrw::lf_refreshCounters();
    standin::pumpUntilIdle();
    EXPECT_EQ(w.liveCount, 1u);
    EXPECT_EQ(w.parkedLiveCount, 1u);
    EXPECT_EQ(w.staticCount, 1u);
    EXPECT_FALSE(textOuts(u"live:   1").empty());
    EXPECT_FALSE(textOuts(u"static:   1").empty());

    const auto paints = standin::paintCount(window());
    mrw::lf_refreshCounters();
    standin::pumpUntilIdle();
    EXPECT_EQ(standin::paintCount(window()), paints) << "nothing changed, nothing repainted";

    mrw::g_liveAcs[2].simState = mrw::SimState::Active;
    mrw::lf_refreshCounters();
    standin::pumpUntilIdle();
    EXPECT_GT(standin::paintCount(window()), paints);
    EXPECT_FALSE(textOuts(u"live:   2").empty());
}

// Other threads write the texts, counters and the message line while the UI thread paints; run
// under AddressSanitizer this finds a text read while it is replaced.
TEST_F(MainWindowStateTest, AWorkerWritesTheStateWhileTheWindowPaints) {
    mrw::MainWindow& w = mrw::g_mainWindow();
    w.simConnected = true;
    w.parkFileOk = true;
    std::atomic<bool> done{false};
    std::thread worker([&] {
        for (int i = 0; i < 300; ++i) {
            const std::string text(static_cast<std::size_t>(20 + i % 40), static_cast<char>('a' + i % 26));
            w.userAircraftText.set(text);
            w.simulatorText.set(text);
            w.parkAirportText.set(text);
            w.parkAirportCode = mrw::FixedCode<4>(i % 2 ? "KLAX" : "EHAM");
            w.qnh = 1000 + i;
            w.liveriesCount = static_cast<std::uint64_t>(i);
            mrw::gf_setMessage(text, false);
            mrw::gf_invalidateStatusBand();
            mrw::gf_invalidateInfoBand();
        }
        done = true;
    });
    int paints = 0;
    while (!done || paints < 5) {
        repaint();
        ++paints;
    }
    worker.join();
    repaint();
    EXPECT_FALSE(textOuts(std::u16string(20 + 299 % 40, u'a' + 299 % 26)).empty())
        << "the last texts are painted";
    w.simConnected = false;
}

}  // namespace
