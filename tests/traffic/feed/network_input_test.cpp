// Hostile input from the network: numbers out of range, floods of records and of bad datagrams,
// made-up aircraft types and oversized texts. Memory and Log.txt stay bounded, and no number reaches
// a conversion it does not fit.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <limits>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "aircraft/code_tables.h"
#include "foundation/clock.h"
#include "foundation/window_model.h"
#include "traffic/feed/network_input.h"
#include "traffic/feed/qnh_reader.h"
#include "traffic/feed/realtraffic_link.h"
#include "traffic/feed/traffic_reader.h"
#include "traffic/feed/traffic_record_test_support.h"
#include "traffic/model/engine_containers.h"

namespace {

using namespace std::chrono_literals;

int occurrences(const std::string& text, const std::string& part) {
    int count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

// The longest line of the text.
std::size_t longestLine(const std::string& text) {
    std::size_t longest = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        longest = std::max(longest, end - start);
        start = end + 1;
    }
    return longest;
}

TEST(NetworkNumbers, OnlyFiniteValuesInTheIntRangeBecomeInts) {
    constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
    constexpr double kInf = std::numeric_limits<double>::infinity();
    struct Case {
        double value;
        std::optional<std::int32_t> expected;
    };
    const Case cases[] = {
        {2.0, 2},
        {2.7, 2},
        {-2.7, -2},
        {2147483647.0, 2147483647},
        {2147483647.9, 2147483647},
        {2147483648.0, std::nullopt},
        {-2147483648.0, -2147483647 - 1},
        {-2147483648.9, -2147483647 - 1},
        {-2147483649.0, std::nullopt},
        {4294967298.0, std::nullopt},
        {1e300, std::nullopt},
        {kInf, std::nullopt},
        {-kInf, std::nullopt},
        {kNan, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(mrw::gf_intOfNetworkNumber(c.value), c.expected) << c.value;
}

class HostileInput : public ::testing::Test {
  protected:
    mrwtest::TrafficReaderState state;
    mrw::SteadyClockForTests clock;  // manual: a flood arrives within one second

    ~HostileInput() override {
        mrw::g_rtProfessional = false;
        mrw::g_mainWindow().realTrafficEditionText.set({});
        mrw::TrafficReader::qnh = 1013;
        mrw::g_qnh = 1013;
        mrw::g_mainWindow().qnh = 0;
    }

    // An accepted record of its own aircraft (hexid above 10000) and type.
    static std::string record(std::uint32_t hexid, const std::string& type = "B738") {
        return mrwtest::TrafficRecord{}.set(1, std::to_string(hexid)).set(10, type).text();
    }
    // A four-character type no database knows: "Y" and three letters or digits.
    static std::string madeUpType(std::uint32_t i) {
        constexpr std::string_view kDigits = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
        std::string type = "Y";
        for (std::uint32_t d = 36 * 36; d > 0; d /= 36)
            type += kDigits[(i / d) % 36];
        return type;
    }
    static std::size_t queued() {
        const std::lock_guard lock(mrw::g_trafficMutex);
        return mrw::g_trafficReports.size();
    }
};

TEST_F(HostileInput, QnhOutOfRangeIsAParseErrorAndPublishesNothing) {
    mrw::QnhReader reader;
    reader.qnh = 1005;
    for (const char* datagram : {R"({"QNH":3e9})", R"({"QNH":-3e9})", R"({"QNH":1e300})",
                                 R"({"QNH":2147483647.0})", R"({"QNH":1e39})"}) {
        SCOPED_TRACE(datagram);
        clock.advance(1s);
        reader.onDatagram(datagram);
        EXPECT_EQ(reader.qnh.load(), 1005);
        EXPECT_NE(state.logText().find(std::string("Exception QNH out of range, in ") + datagram),
                  std::string::npos);
    }
    reader.onDatagram(R"({"QNH":1013.6})");
    EXPECT_EQ(reader.qnh.load(), 1014);
}

TEST_F(HostileInput, VersionLevelsOutsideTheIntRangeAreTheStandardEdition) {
    struct Case {
        const char* answer;
        bool professional;
    };
    const Case cases[] = {
        {R"({"level":2,"version":"9.0"})", true},
        {R"({"level":2.0})", true},
        {R"({"level":2.7})", true},  // taken as an int
        {R"({"level":4294967298})", false},
        {R"({"level":-4294967294})", false},
        {R"({"level":1e300})", false},
        {R"({"level":-1e300})", false},
        {R"({"level":3})", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        mrw::g_rtProfessional = !c.professional;
        mrw::lf_processRTVersion(c.answer);
        EXPECT_EQ(mrw::g_rtProfessional.load(), c.professional);
        EXPECT_EQ(
            mrw::g_mainWindow().realTrafficEditionText.get().rfind(c.professional ? "RT prof" : "RT stnd", 0),
            0u);
    }
}

TEST_F(HostileInput, AFloodOfRecordsKeepsTheNewestWithinTheQueueBound) {
    mrw::TrafficReader reader;
    const std::size_t flood = mrw::kMaxTrafficReports + 500;
    for (std::uint32_t i = 0; i < flood; ++i)
        reader.onDatagram(record(20000 + i));
    ASSERT_EQ(queued(), mrw::kMaxTrafficReports);
    {
        const std::lock_guard lock(mrw::g_trafficMutex);
        EXPECT_EQ(mrw::g_trafficReports.front().hexid, 20500u);  // the 500 oldest gave way
        EXPECT_EQ(mrw::g_trafficReports.back().hexid, 20000u + flood - 1);
    }
    EXPECT_EQ(occurrences(state.logText(), "The traffic queue is full (4000 reports)"), 1);
    clock.advance(1s);
    reader.onDatagram(record(10000000));
    EXPECT_EQ(queued(), mrw::kMaxTrafficReports);
    EXPECT_NE(state.logText().find("the oldest gave way (499 more such lines left out)"), std::string::npos);
}

TEST_F(HostileInput, MadeUpTypesCannotFillTheModelTable) {
    mrw::TrafficReader reader;
    // A dropped record's type is never interned: a hexid of 10000 or less drops this one after its
    // type has been checked.
    reader.onDatagram(mrwtest::TrafficRecord{}.set(10, "QQQQ").set(1, "500").text());
    EXPECT_FALSE(mrw::g_modelCodes().find("QQQQ").has_value());

    const mrw::CodeIndex b738 = mrw::gf_modelIndex("B738");  // as the aircraft database enters it
    const std::size_t before = mrw::g_modelCodes().size();
    const std::size_t madeUp = mrw::CodeTable::kMaxNetworkCodes + 50;
    for (std::uint32_t i = 0; i < madeUp; ++i) {
        reader.onDatagram(record(20000 + i, madeUpType(i)));
        if (i % 1000 == 0) {
            const std::lock_guard lock(mrw::g_trafficMutex);
            mrw::g_trafficReports.clear();
        }
    }
    EXPECT_EQ(mrw::g_modelCodes().size(), before + mrw::CodeTable::kMaxNetworkCodes);
    EXPECT_EQ(occurrences(state.logText(), "takes no more new codes from the network"), 1);
    // Refused types are accepted without a model; known ones and the databases' codes still work.
    reader.onDatagram(record(9000000, madeUpType(madeUp + 1)));
    reader.onDatagram(record(9000001, "B738"));
    {
        const std::lock_guard lock(mrw::g_trafficMutex);
        ASSERT_GE(mrw::g_trafficReports.size(), 2u);
        const auto last = mrw::g_trafficReports.end();
        EXPECT_EQ((last - 2)->identity.designation.model, 0);
        EXPECT_EQ((last - 1)->identity.designation.model, b738);
    }
    EXPECT_NE(mrw::gf_modelIndex("A20N"), 0);
}

TEST_F(HostileInput, BadDatagramsWriteShortLinesAtMostOnceASecond) {
    mrw::QnhReader weather;
    mrw::TrafficReader traffic;
    const std::string huge(16000, 'x');
    for (int i = 0; i < 200; ++i) {
        weather.onDatagram(R"({"QNH":")" + huge + R"("})");
        traffic.onDatagram(mrwtest::TrafficRecord{}.set(4, huge).text());
    }
    std::string log = state.logText();
    EXPECT_EQ(occurrences(log, "QNH string parse error: "), 1);
    EXPECT_EQ(occurrences(log, "exception in processLineSub: altitude "), 1);
    EXPECT_LT(longestLine(log), 1000u);
    EXPECT_NE(log.find("QNH string parse error: " + std::string(200, 'x') + "... in "), std::string::npos);

    clock.advance(1s);
    weather.onDatagram("[1013]");
    traffic.onDatagram(mrwtest::TrafficRecord{}.set(2, "north").text());
    log = state.logText();
    EXPECT_NE(log.find("(199 more such lines left out)"), std::string::npos);
    EXPECT_EQ(occurrences(log, "more such lines left out"), 2);
    EXPECT_LT(log.size(), 4000u);
}

// The window itself, stepped a millisecond around its edges: a line, then only counts until a whole
// second has passed since the line, then a line with their number.
TEST_F(HostileInput, BadDatagramLinesAreWrittenOnceInEachSecond) {
    mrw::TrafficReader traffic;
    struct Step {
        std::chrono::milliseconds advance;
        const char* line;  // the line written at this step; null: counted only
    };
    const Step steps[] = {
        {0ms, "exception in processLineSub: lat:north\n"},
        {1ms, nullptr},
        {998ms, nullptr},
        {1ms, "exception in processLineSub: lat:north (2 more such lines left out)\n"},
        {999ms, nullptr},
        {1ms, "exception in processLineSub: lat:north (1 more such lines left out)\n"},
    };
    std::string expected;
    for (const Step& step : steps) {
        clock.advance(step.advance);
        traffic.onDatagram(mrwtest::TrafficRecord{}.set(2, "north").text());
        if (step.line != nullptr) expected += step.line;
        const std::string log = state.logText();
        EXPECT_EQ(log.substr(log.size() - std::min(log.size(), expected.size())), expected)
            << "after " << step.advance.count() << " ms";
        EXPECT_EQ(occurrences(log, "exception in processLineSub: "), occurrences(expected, "exception"));
    }
}

}  // namespace
