#include "traffic/feed/qnh_reader.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "foundation/window_model.h"
#include "support/logged_program_folder.h"
#include "traffic/feed/traffic_reader.h"
#include "traffic/model/engine_containers.h"

namespace {

class QnhReaderTest : public ::testing::Test {
  protected:
    mrwtest::LoggedProgramFolder folder;
    mrw::QnhReader reader;

    void SetUp() override { publishNothing(); }
    void TearDown() override {
        mrw::TrafficReader::qnh = 1013;
        mrw::g_qnh = 1013;
        mrw::g_mainWindow().qnh = 0;
        mrw::g_mainWindow().weatherReaderStatus = mrw::ReaderStatus::Stopped;
    }

    // Marks the four places, so that a publication shows.
    void publishNothing() {
        reader.qnh = -1;
        mrw::TrafficReader::qnh = -1;
        mrw::g_qnh = -1;
        mrw::g_mainWindow().qnh = -1;
    }

    // The QNH the datagram published, or nothing; the four places always agree.
    // Each datagram's log line is written: the once-a-second limit has tests of its own.
    std::optional<int> publish(const std::string& datagram) {
        reader.resetErrorLines();
        const int before = reader.qnh.load();
        reader.onDatagram(datagram);
        const int after = reader.qnh.load();
        EXPECT_EQ(mrw::TrafficReader::qnh.load(), after);
        EXPECT_EQ(mrw::g_qnh.load(), after);
        EXPECT_EQ(mrw::g_mainWindow().qnh.load(), after);
        if (after == before) return std::nullopt;
        return after;
    }
};

TEST_F(QnhReaderTest, PublishedValues) {
    struct Case {
        std::string datagram;
        int qnh;
    };
    const Case cases[] = {
        {R"({"QNH": 2992})", 1013},
        {R"({"QNH": 3100})", 1050},
        {R"({"QNH": 1013.6})", 1014},
        {R"({"QNH": "1008"})", 1008},
        {R"({"QNH": "1008.7"})", 1008},
        {R"({"QNH": 850})", 900},
        {R"({"QNH": 1100})", 1100},
        {R"({"QNH": 1101})", 900},
        {R"({"QNH": "2996", "ICAO": "KLAX"})", 1015},
        {R"({"QNH": -5})", 900},
        {R"({"QNH": 1012.4999})", 1012},
    };
    for (const Case& c : cases) {
        publishNothing();
        EXPECT_EQ(publish(c.datagram), c.qnh) << c.datagram;
    }
}

TEST_F(QnhReaderTest, UnusableDatagramsPublishNothing) {
    struct Case {
        std::string datagram;
        std::string logged;
    };
    const Case cases[] = {
        {R"({"QNH": null})", R"(no QNH {"QNH": null})"},
        {R"({"QNH": []})", R"(no QNH {"QNH": []})"},
        {R"({"QNH": {}})", R"(no QNH {"QNH": {}})"},
        {R"({"QNH": true})", R"(no QNH {"QNH": true})"},
        {R"({"ICAO": "KLAX"})", R"(no QNH {"ICAO": "KLAX"})"},
        {R"({"QNH": "abc"})", R"(==> QNH string parse error: abc in {"QNH": "abc"})"},
        {R"({"QNH": "99999999999"})", R"(==> QNH string parse error: 99999999999 in {"QNH": "99999999999"})"},
        {R"({"QNH": " 1013"})", R"(==> QNH string parse error:  1013 in)"},
        {"METAR KLAX", "Exception "},
        {"[1013]", "Exception "},
        {R"({"QNH": 1e30})", "Exception "},
        {R"({"QNH": 99999999999})", "Exception "},
    };
    for (const Case& c : cases) {
        publishNothing();
        EXPECT_EQ(publish(c.datagram), std::nullopt) << c.datagram;
        EXPECT_NE(folder.logText().find(c.logged), std::string::npos) << c.logged;
    }
    EXPECT_NE(folder.logText().find(", in METAR KLAX\n"), std::string::npos);
}

TEST_F(QnhReaderTest, StandardQnhIsPublishedEveryTimeOthersOnlyWhenChanged) {
    mrw::MainWindow& window = mrw::g_mainWindow();
    const auto publishedAgain = [&](const std::string& datagram) {
        window.weatherReaderStatus = mrw::ReaderStatus::NothingNew;
        reader.onDatagram(datagram);
        return window.weatherReaderStatus.load() == mrw::ReaderStatus::Receiving;
    };
    EXPECT_TRUE(publishedAgain(R"({"QNH": 1013})"));
    EXPECT_TRUE(publishedAgain(R"({"QNH": 1013})"));
    EXPECT_TRUE(publishedAgain(R"({"QNH": 1012})"));
    EXPECT_FALSE(publishedAgain(R"({"QNH": 1012})"));
    EXPECT_EQ(mrw::g_qnh.load(), 1012);
    // A stopped lamp stays stopped.
    window.weatherReaderStatus = mrw::ReaderStatus::Stopped;
    reader.onDatagram(R"({"QNH": 1020})");
    EXPECT_EQ(window.weatherReaderStatus.load(), mrw::ReaderStatus::Stopped);
    EXPECT_EQ(mrw::g_qnh.load(), 1020);
}

}  // namespace
