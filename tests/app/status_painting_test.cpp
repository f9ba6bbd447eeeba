#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "app/main_window.h"
#include "app/main_window_fixture.h"
#include "config/parameter_catalogue.h"
#include "foundation/message_line.h"
#include "foundation/text_encoding.h"
#include "traffic/parking/static_parking.h"

namespace {

using mrwtest::MainWindowTest;

// Points where neither text nor a control lies.
constexpr POINT kSimLamp{410, 40};
constexpr POINT kRealTrafficLamp{440, 40};
constexpr POINT kTitleBand{700, 20};
constexpr POINT kStatusBand{800, 100};
constexpr POINT kPanel{870, 385};
constexpr POINT kInfoBand{860, 440};
constexpr POINT kMessageBand{860, 470};

class StatusPaintingTest : public MainWindowTest {
  protected:
    void TearDown() override {
        mrw::MainWindow& w = mrw::g_mainWindow();
        {
            std::lock_guard lock(w.messageMutex);
            w.errorMessage.clear();
        }
        MainWindowTest::TearDown();
    }

    standin::Image render() {
        auto image = standin::renderWindow(window());
        EXPECT_TRUE(image);
        return image ? *image : standin::Image{};
    }

    static COLORREF at(const standin::Image& image, POINT p) { return image.at(p.x, p.y); }

    void expectText(int x, int y, std::u16string_view text, COLORREF colour) {
        const auto op = textAt(x, y);
        ASSERT_TRUE(op) << "nothing drawn at (" << x << ", " << y << ")";
        EXPECT_EQ(op->text, text);
        EXPECT_EQ(op->color, colour) << "at (" << x << ", " << y << ")";
    }
};

TEST_F(StatusPaintingTest, AFreshWindowShowsDarkBandsARedSimLampAndABlackRealTrafficLamp) {
    const standin::Image image = render();
    RECT client{};
    GetClientRect(window(), &client);
    ASSERT_EQ(image.width, client.right) << "the whole client area";
    ASSERT_EQ(image.height, client.bottom);
    EXPECT_EQ(at(image, kSimLamp), mrw::kRed);
    EXPECT_EQ(at(image, kRealTrafficLamp), mrw::kBlack);
    EXPECT_EQ(at(image, kTitleBand), mrw::kBlack);
    EXPECT_EQ(at(image, kStatusBand), mrw::kBlack);
    EXPECT_EQ(at(image, kPanel), mrw::kPanelBlue);
    EXPECT_EQ(at(image, kInfoBand), mrw::kBlack);
    EXPECT_EQ(at(image, kMessageBand), mrw::kGreen);
    EXPECT_EQ(at(image, POINT{300, 28}), mrw::kWhite) << "band separator";

    expectText(3, 7, u"Version 12.6.0", mrw::kGreen);
    expectText(390, 7, u"Merrowvale", mrw::kGreen);
    expectText(5, 35, u"MSFS", mrw::kGreen);
    expectText(5, 91, u"# liveries: ...", mrw::kRed);
    expectText(141, 91, u"# simaddon: ...", mrw::kYellow);
    expectText(278, 91, u"# thirdp: ...", mrw::kYellow);
    expectText(25, 147, u"Scan for liveries", mrw::kYellow);
    EXPECT_TRUE(textOuts(u"Weather").empty()) << "no reader words before RealTraffic is set up";
    EXPECT_FALSE(textAt(5, 399)) << "no park airport: the info band stays empty";
}

// The folder the program started in (the build tree's tests/ under CTest), before the fixture
// moves into its program folder.
const std::filesystem::path g_startFolder = std::filesystem::current_path();

// A picture of the whole window for people to look at, main_window.png in the start folder: what
// it shows is what the window shows.
TEST_F(StatusPaintingTest, TheWindowIsSavedAsAPicture) {
    const std::filesystem::path file = g_startFolder / "main_window.png";
    ASSERT_TRUE(standin::savePng(window(), file));
    const std::optional<standin::Image> picture = standin::readPng(file);
    ASSERT_TRUE(picture);
    const standin::Image image = render();
    EXPECT_EQ(picture->width, image.width);
    EXPECT_EQ(picture->height, image.height);
    EXPECT_EQ(at(*picture, kSimLamp), mrw::kRed);
    EXPECT_EQ(at(*picture, kPanel), mrw::kPanelBlue);
    EXPECT_EQ(at(*picture, kMessageBand), mrw::kGreen);
}

TEST_F(StatusPaintingTest, ConnectedWithoutAFlightTheSimLampAndLineAreYellow) {
    mrw::MainWindow& w = mrw::g_mainWindow();
    w.simConnected = true;
    w.simulatorText.set("MSFS 2020 11.0");
    repaint();
    EXPECT_EQ(standin::pixel(window(), kSimLamp.x, kSimLamp.y), mrw::kYellow);
    expectText(5, 35, u"MSFS 2020 11.0", mrw::kYellow);
    w.simConnected = false;
}

TEST_F(StatusPaintingTest, ARunningRunWithAParkAirportShowsGreenLampsCountsAndTheInfoBand) {
    mrw::MainWindow& w = mrw::g_mainWindow();
    w.simConnected = true;
    w.simRunning = true;
    w.userAircraftText.set("Cessna 172");
    w.userStandText.set("GATE 12");
    w.simulatorText.set("MSFS 2020");
    w.realTrafficNotStarted = false;
    w.realTrafficReady = true;
    w.trafficReaderStatus = mrw::ReaderStatus::Receiving;
    w.weatherReaderStatus = mrw::ReaderStatus::NothingNew;
    w.realTrafficEditionText.set("RT Standard edition: 10.0");
    w.qnh = 1013;
    w.liveCount = 5;
    w.liveriesCount = 1234;
    w.simaddonCount = 3;
    w.parkAirportCode = mrw::FixedCode<4>("KLAX");
    w.parkFileOk = true;
    w.parkAirportText.set("Los Angeles Intl");
    w.parkPublisherText.set("Merrowvale");
    w.parkQualityText.set("0.9/0.8");
    w.standsCount = 12;
    w.parkedLiveCount = 2;
    w.maxPark = 40;
    w.maxParkPercent = 30;
    w.staticCount = 7;
    w.pendingStaticCount = 3;
    w.averageFitStatic = 1.5f;
    w.softParking = true;
    mrw::g_userStandName.set("GATE 12");
    const standin::Image image = render();

    EXPECT_EQ(at(image, kSimLamp), mrw::kGreen);
    EXPECT_EQ(at(image, kRealTrafficLamp), mrw::kGreen);
    expectText(5, 35, u"MSFS 2020, user stand GATE 12", mrw::kGreen);
    expectText(5, 63, u"Cessna 172", mrw::kGreen);
    expectText(5, 91, u"# liveries: 1234", mrw::kGreen);
    expectText(141, 91, u"# simaddon: 3", mrw::kGreen);
    expectText(458, 35, u"RT Standard edition: 10.0", mrw::kGreen);
    expectText(458, 63, u"Weather", mrw::kYellow);
    expectText(458, 91, u"Traffic", mrw::kGreen);
    expectText(642, 63, u"qnh: 1013", mrw::kGreen);
    expectText(642, 91, u"live:   5", mrw::kGreen);

    expectText(5, 399, u"KLAX", mrw::kGreen);
    expectText(45, 399, u" Los Angeles Intl, Merrowvale, wk=0", mrw::kGreen);
    expectText(370, 399, u"*S*", mrw::kGreen);
    expectText(430, 399, u"qf: 0.9/0.8", mrw::kGreen);
    expectText(571, 399, u"reserved stand: GATE 12", mrw::kRed);
    expectText(748, 399, u"# updates:    0", mrw::kGreen);
    expectText(5, 427, u"# stands:  12", mrw::kGreen);
    expectText(111, 427, u"parked live:   2", mrw::kGreen);
    expectText(430, 427, u"static:   7", mrw::kGreen);
    expectText(500, 427, u" (3)", mrw::kYellow);
    expectText(571, 427, u"average fit: 1.5", mrw::kGreen);
    expectText(708, 427, u"max park:  40 (=30 %)", mrw::kGreen);
    EXPECT_EQ(at(image, kInfoBand), mrw::kBlack);

    // Week parking: the static aircraft's average fit means nothing there and is not shown.
    w.weekParking = true;
    repaint();
    expectText(370, 399, u"*WS*", mrw::kGreen);
    expectText(430, 427, u"static:   7", mrw::kGreen);
    EXPECT_FALSE(textAt(571, 427));
    mrw::g_userStandName.set("");
}

// Black until RealTraffic is set up, red until it answers, then green only while the Traffic
// Reader receives: yellow when it has had nothing new, is off or stopped.
TEST_F(StatusPaintingTest, TheRealTrafficLampFollowsTheTrafficReader) {
    struct Case {
        bool notStarted;
        bool ready;
        mrw::ReaderStatus traffic;
        COLORREF lamp;
    };
    const Case cases[] = {
        {true, false, mrw::ReaderStatus::Receiving, mrw::kBlack},
        {false, false, mrw::ReaderStatus::Receiving, mrw::kRed},
        {false, true, mrw::ReaderStatus::Receiving, mrw::kGreen},
        {false, true, mrw::ReaderStatus::NothingNew, mrw::kYellow},
        {false, true, mrw::ReaderStatus::Off, mrw::kYellow},
        {false, true, mrw::ReaderStatus::Stopped, mrw::kYellow},
    };
    mrw::MainWindow& w = mrw::g_mainWindow();
    for (const Case& c : cases) {
        w.realTrafficNotStarted = c.notStarted;
        w.realTrafficReady = c.ready;
        w.trafficReaderStatus = c.traffic;
        repaint();
        EXPECT_EQ(standin::pixel(window(), kRealTrafficLamp.x, kRealTrafficLamp.y), c.lamp) << &c - cases;
    }
}

TEST_F(StatusPaintingTest, AParkAirportWithoutItsFileShowsOnlyItsCodeInYellow) {
    mrw::MainWindow& w = mrw::g_mainWindow();
    w.parkAirportCode = mrw::FixedCode<4>("EHAM");
    w.parkFileOk = false;
    repaint();
    expectText(5, 399, u"EHAM", mrw::kYellow);
    EXPECT_FALSE(textAt(748, 399));
    EXPECT_FALSE(textAt(708, 427));
}

TEST_F(StatusPaintingTest, TheStickyErrorIsPaintedOnRedInsteadOfTheMessage) {
    mrw::gf_setMessage("Loading airports", false);
    standin::pumpUntilIdle();
    expectText(3, 455, u"Loading airports", mrw::kYellow);
    EXPECT_EQ(standin::pixel(window(), kMessageBand.x, kMessageBand.y), mrw::kGreen);

    mrw::gf_setErrorMessage("150: no packages folder");
    const standin::Image image = render();
    EXPECT_EQ(at(image, kMessageBand), mrw::kRed);
    expectText(3, 455, u"150: no packages folder", mrw::kYellow);
    EXPECT_TRUE(textOuts(u"Loading airports").empty());
}

// A message wider than the band loses its middle: its start says what happened, its end is where
// a long path differs.
TEST_F(StatusPaintingTest, AMessageWiderThanTheBandKeepsItsStartAndItsEnd) {
    const std::string start = "This install path does not exist: ";
    std::string path = "D:\\SteamLibrary";
    while (path.size() < 200)
        path += "\\steamapps\\common";
    path += "\\Microsoft Flight Simulator\\Packages-\u00c4";
    const std::u16string end = u"Flight Simulator\\Packages-\u00c4";
    for (const bool error : {false, true}) {
        SCOPED_TRACE(error ? "error" : "message");
        if (error) {
            mrw::gf_setErrorMessage(start + path);
        } else {
            mrw::gf_setMessage(start + path, false);
        }
        repaint();
        const auto op = textAt(3, 455);
        ASSERT_TRUE(op);
        EXPECT_TRUE(op->text.starts_with(u"This install path does not exist: "))
            << mrw::wide_to_utf8(op->text);
        EXPECT_TRUE(op->text.ends_with(end)) << mrw::wide_to_utf8(op->text);
        EXPECT_NE(op->text.find(u"..."), std::u16string::npos);
        const HDC dc = CreateCompatibleDC(nullptr);
        SIZE size{};
        ASSERT_TRUE(GetTextExtentPoint32W(dc, op->text.c_str(), static_cast<INT>(op->text.size()), &size));
        DeleteDC(dc);
        RECT client{};
        GetClientRect(window(), &client);
        EXPECT_LE(size.cx, client.right - 6) << "the whole text shows";
    }
}

TEST_F(StatusPaintingTest, ParkingLimitCaptionsWarnAboutZeroLimits) {
    auto& p = mrw::g_parameters();
    struct Case {
        std::int32_t park;
        std::int32_t live;
        COLORREF parkColour;
        COLORREF liveColour;
    };
    const Case cases[] = {{0, 0, mrw::kRed, mrw::kRed},
                          {10, 0, mrw::kBlack, mrw::kYellow},
                          {0, 10, mrw::kYellow, mrw::kBlack},
                          {10, 10, mrw::kBlack, mrw::kBlack}};
    for (const Case& c : cases) {
        p.MAX_PARK_SEL.current = c.park;
        p.MAX_LIVE_SEL.current = c.live;
        repaint();
        expectText(171, 315, u"Max park (static+live):", c.parkColour);
        expectText(401, 315, u"Max live (park incl):", c.liveColour);
    }
}

TEST_F(StatusPaintingTest, TheRenewalTextShowsOnlyOneToNineteenMinutes) {
    mrw::g_parkFileLoaded = true;
    struct Case {
        std::int32_t minutes;
        bool initialLoadOnly;
        std::u16string text;
    };
    const Case cases[] = {{20, false, u""},
                          {19, false, u"(next in 19 min)"},
                          {1, false, u"(next in 1 min)"},
                          {0, false, u""},
                          {5, true, u"(no next ... )"}};
    for (const Case& c : cases) {
        mrw::g_mainWindow().minutesToParkingUpdate = c.minutes;
        mrw::g_parameters().INITIAL_LOAD_ONLY.current = c.initialLoadOnly;
        repaint();
        const auto op = textAt(5, 343);
        EXPECT_EQ(op ? op->text : u"", c.text) << c.minutes;
    }
    mrw::g_parkFileLoaded = false;
}

TEST_F(StatusPaintingTest, ATextThatCannotBeConvertedIsLoggedOnceAndSkipped) {
    mrw::MainWindow& w = mrw::g_mainWindow();
    w.simConnected = true;
    // The painter remembers the texts it has reported for the whole process: a text of this round.
    static int round = 0;
    const std::string bad = "bad \xff text " + std::to_string(++round);
    w.userAircraftText.set(bad);
    repaint();
    repaint();
    EXPECT_FALSE(textAt(5, 63));
    const std::string log = folder->logText();
    const std::string line = "TextOut utf8  to wide failed for '" + bad + "'";
    const auto first = log.find(line);
    ASSERT_NE(first, std::string::npos);
    EXPECT_EQ(log.find(line, first + 1), std::string::npos) << "logged once, not at each repaint";
    expectText(398, 63, u"Sim", mrw::kGreen);
    w.simConnected = false;
}

}  // namespace
