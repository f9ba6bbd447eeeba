#include "aircraft/aircraft_texts.h"

#include <gtest/gtest.h>

#include <string>

#include "aircraft/code_tables.h"

namespace {

class AircraftTextsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        mrw::g_airlineCodes().resetForTests();
        mrw::g_modelCodes().resetForTests();
        mrw::gf_airlineIndex("");
        mrw::gf_modelIndex("");
    }
    void TearDown() override {
        mrw::g_airlineCodes().resetForTests();
        mrw::g_modelCodes().resetForTests();
    }

    static mrw::AcDesignation designation(const char* airline, const char* operatorCode, const char* model,
                                          bool cargo, bool fromDbase) {
        return {mrw::gf_airlineIndex(airline), mrw::gf_airlineIndex(operatorCode), mrw::gf_modelIndex(model),
                static_cast<std::uint8_t>(cargo), static_cast<std::uint8_t>(fromDbase)};
    }
};

TEST_F(AircraftTextsTest, DesignationTextColumns) {
    struct Case {
        const char* airline;
        const char* operatorCode;
        const char* model;
        bool cargo;
        bool fromDbase;
        std::string expected;
    };
    const Case cases[] = {
        {"", "", "", false, false, std::string(16, ' ')},
        {"ABC", "", "B738", false, true, "ABC     B738.   "},
        {"ABC", "XYZ", "B738", true, false, "ABC,XYZ B738 (C)"},
        {"ABCD", "", "A320", false, false, "ABCD     A320    "},
        {"DAL", "SKW", "CRJ9", false, true, "DAL,SKW CRJ9.   "},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(
            mrw::gf_designationText(designation(c.airline, c.operatorCode, c.model, c.cargo, c.fromDbase)),
            c.expected)
            << c.airline << "/" << c.operatorCode << "/" << c.model;
    }
}

TEST_F(AircraftTextsTest, RouteTextIsAlwaysEightCharacters) {
    const mrw::FixedCode<3> none;
    const mrw::FixedCode<3> ams("AMS");
    const mrw::FixedCode<3> jfk("JFK");
    EXPECT_EQ(mrw::gf_routeText(none, none), std::string(8, ' '));
    EXPECT_EQ(mrw::gf_routeText(none, jfk), "   ->JFK");
    EXPECT_EQ(mrw::gf_routeText(ams, none), "AMS->   ");
    EXPECT_EQ(mrw::gf_routeText(ams, jfk), "AMS->JFK");
}

TEST_F(AircraftTextsTest, AircraftTextsCombineTheColumns) {
    mrw::AircraftIdentity identity;
    identity.callsign = "KLM123";
    identity.registration = "PH-BXA";
    identity.origin = mrw::FixedCode<3>("AMS");
    identity.destination = mrw::FixedCode<3>("JFK");
    identity.designation = designation("KLM", "", "B738", false, true);

    EXPECT_EQ(mrw::gf_callsignText(identity), "KLM123  ");
    EXPECT_EQ(mrw::gf_callsignRegRouteText(identity), "KLM123   PH-BXA       AMS->JFK");
    EXPECT_EQ(mrw::gf_aircraftText(identity), "KLM123   PH-BXA       AMS->JFK KLM     B738.   ");
    EXPECT_EQ(mrw::gf_callsignRegDesignationText(identity), "KLM123   PH-BXA KLM     B738.   ");
    EXPECT_EQ(mrw::gf_designationRegText(identity), "KLM     B738.    PH-BXA");

    // Widths pad, never cut; only a callsign beyond what a log line quotes of network text is cut.
    identity.callsign = "LONGCALLSIGN";
    EXPECT_EQ(mrw::gf_callsignText(identity), "LONGCALLSIGN");
    identity.callsign = std::string(10000, 'Q');
    EXPECT_EQ(mrw::gf_callsignText(identity), std::string(200, 'Q') + "...");
    EXPECT_EQ(mrw::gf_aircraftText(identity).find(std::string(201, 'Q')), std::string::npos);
}

TEST_F(AircraftTextsTest, UsableCallsign) {
    struct Case {
        const char* callsign;
        bool usable;
    };
    const Case cases[] = {{"", false},        {"@@@@@@@@", false}, {"ABCDEFGHI", false},
                          {"ABCDEFGH", true}, {"@@@@@@@", true},   {"N1", true}};
    for (const Case& c : cases) {
        mrw::AircraftIdentity identity;
        identity.callsign = c.callsign;
        EXPECT_EQ(mrw::hasUsableCallsign(identity), c.usable) << c.callsign;
    }
}

TEST_F(AircraftTextsTest, AirlineFromCallsign) {
    EXPECT_EQ(mrw::gf_airlineFromCallsign("abc12"), std::optional<std::string>("ABC"));
    EXPECT_EQ(mrw::gf_airlineFromCallsign("KLM1234"), std::optional<std::string>("KLM"));
    for (const char* none : {"AB123", "ABC", "ABCD1", "A1B2", "", "AB@1"}) {
        EXPECT_EQ(mrw::gf_airlineFromCallsign(none), std::nullopt) << none;
    }
}

}  // namespace
