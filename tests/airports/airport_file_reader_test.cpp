#include "airports/airport_file_reader.h"
#include "support/half_hours.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

#include "aircraft/aircraft_database.h"
#include "aircraft/code_tables.h"
#include "airports/park_airport_data.h"
#include "airports_test_support.h"
#include "foundation/user_error_exception.h"

namespace mrw {
namespace {

pugi::xml_document parse(const std::string& xml) {
    pugi::xml_document document;
    EXPECT_TRUE(document.load_string(xml.c_str()));
    return document;
}

std::string fileWithStands(const std::string& parkpos) {
    return "<root><parameters/><parkpositions>" + parkpos + "</parkpositions></root>";
}

using mrwtest::slots;

class AirportFileReaderTest : public mrwtest::AirportsDataTest {
  protected:
    // Reads the stands and returns the text of the UserErrorException it must throw.
    std::string readFailure(const std::string& parkpos, int number) {
        try {
            gf_readParkPositions(parse(fileWithStands(parkpos)));
        } catch (const UserErrorException& e) {
            EXPECT_TRUE(gf_isUserError(e, number)) << e.what();
            return e.what();
        }
        ADD_FAILURE() << "no exception";
        return {};
    }
};

TEST_F(AirportFileReaderTest, StandDescriptionIsReadInProgramUnits) {
    gf_readParkPositions(parse(fileWithStands(
        R"(<parkpos id=" A1&#9;" latitude="52.308600" longitude="4.763900" heading="90.0" radius="20.0" type="9"/>
           <parkpos id="H1" latitude="0" longitude="4.7" heli="true"/>
           <parkpos id="X" latitude="52.3"/>)")));
    ASSERT_EQ(g_parkStands.size(), 3U);
    const Stand& a1 = g_parkStands[0];
    EXPECT_EQ(a1.id, "A1");
    EXPECT_DOUBLE_EQ(a1.latitude, 52.3086);
    EXPECT_DOUBLE_EQ(a1.longitude, 4.7639);
    EXPECT_NEAR(a1.heading, std::numbers::pi / 2, 1e-12);
    EXPECT_NEAR(a1.radius, 20.0 / 1852.0, 1e-12);
    EXPECT_EQ(a1.type, 9);
    EXPECT_FALSE(a1.heli);
    EXPECT_TRUE(a1.options.empty());
    EXPECT_TRUE(g_parkStands[1].heli);
    EXPECT_EQ(g_parkStands[1].type, 0);
    EXPECT_DOUBLE_EQ(g_parkStands[2].longitude, 0.0);
}

TEST_F(AirportFileReaderTest, StandWithoutPositionIsSkipped) {
    gf_readParkPositions(
        parse(fileWithStands(R"(<parkpos id="A1"/><parkpos id="A2" latitude="0" longitude="0"/>
        <parkpos id="A3" latitude="nan" longitude="4.7"/><parkpos id="A4" latitude="52.3" longitude="4.7"/>)")));
    ASSERT_EQ(g_parkStands.size(), 1U);
    EXPECT_EQ(g_parkStands[0].id, "A4");
    const std::string log = folder.logText();
    for (const char* id : {"A1", "A2", "A3"}) {
        EXPECT_NE(log.find(std::string("==> stand ") + id + " has no valid lat/lon\n"), std::string::npos)
            << id;
    }
}

TEST_F(AirportFileReaderTest, CargoAndRampFollowTheParkingType) {
    const struct {
        const char* attributes;
        int type;
        bool cargo;
        bool ramp;
    } cases[] = {
        {R"(type="5" cargo="false")", 5, true, false},
        {R"(type="6")", 6, true, false},
        {R"(type="0" cargo="true")", 0, true, false},
        {R"(type="0" ramp="true")", 0, false, true},
        {R"(cargo="true" ramp="true")", 0, true, true},
        {R"(type="9" cargo="true" ramp="true")", 9, false, false},
        {R"(type="1")", 1, false, true},
        {R"(type="4")", 4, false, true},
        {R"(type="14")", 14, false, true},
        {R"(type="15")", 15, false, false},
        {R"(type="12" heli="true")", 12, false, false},
        {R"(type="abc")", 0, false, false},
    };
    for (const auto& c : cases) {
        g_parkStands.clear();
        gf_readParkPositions(parse(fileWithStands(
            std::string(R"(<parkpos id="A1" latitude="52.3" longitude="4.7" )") + c.attributes + "/>")));
        ASSERT_EQ(g_parkStands.size(), 1U) << c.attributes;
        EXPECT_EQ(g_parkStands[0].type, c.type) << c.attributes;
        EXPECT_EQ(g_parkStands[0].cargo, c.cargo) << c.attributes;
        EXPECT_EQ(g_parkStands[0].ramp, c.ramp) << c.attributes;
    }
}

TEST_F(AirportFileReaderTest, BadStandIdsThrow93And94AndKeepTheStandsBefore) {
    const std::string a1 = R"(<parkpos id="A1" latitude="52.3" longitude="4.7"/>)";
    const std::string a2 = R"(<parkpos id="A2" latitude="52.3" longitude="4.7"/>)";
    const struct {
        std::string stands;
        int number;
        const char* text;
    } cases[] = {
        {a1 + a2 + R"(<parkpos latitude="52.3" longitude="4.7"/>)", 93,
         "93: Parking position #3 has no 'id' attribute."},
        {a1 + R"(<parkpos id=" " latitude="52.3" longitude="4.7"/>)", 93,
         "93: Stand #2 has empty 'id' attribute."},
        {a1 + a2 + R"(<parkpos id=" A1 " latitude="52.4" longitude="4.7"/>)", 94,
         "94: Stand 'A1' appears more than once."},
    };
    for (const auto& c : cases) {
        g_parkStands.clear();
        EXPECT_EQ(readFailure(c.stands, c.number), c.text);
        EXPECT_FALSE(g_parkStands.empty());
        EXPECT_EQ(g_parkStands[0].id, "A1");
    }
}

TEST_F(AirportFileReaderTest, DocumentWithoutRootOrWithoutStands) {
    gf_readParkPositions(
        parse(R"(<parkpositions><parkpos id="B7" latitude="51.47" longitude="-0.46"/></parkpositions>)"));
    ASSERT_EQ(g_parkStands.size(), 1U);
    EXPECT_EQ(g_parkStands[0].id, "B7");
    g_parkStands.clear();
    gf_readParkPositions(parse("<root><parameters/></root>"));
    // A root element hides a top-level list: only root/parkpositions counts.
    gf_readParkPositions(parse(R"(<root/>)"));
    EXPECT_TRUE(g_parkStands.empty());
}

TEST_F(AirportFileReaderTest, UsesAreKeptByTheirDayAndParsedHalfHours) {
    gf_readParkPositions(parse(fileWithStands(R"(<parkpos id="A1" latitude="52.3" longitude="4.7">
        <opt reg="PH-BXA" airl="KLM" type="B738" day="1" hh="14:19" cs="KLM1:KLM2X"/>
        <opt reg="PH-BXB" day="8" hh="3"/>
        <opt reg="PH-BXC" day="0" hh="3"/>
        <opt reg="PH-BXD" hh="3"/>
        <opt reg="PH-BXE" day="2" hh=""/>
        <opt reg="PH-BXF" day="2"/>
        <opt reg="PH-BXG" day="2" hh="48"/>
        <opt reg="PH-BXH" day="2" hh="19:14"/>
        <opt reg="PH-BXI" day="7" hh="3,5, 9" cs="KLM3:" soft="true" cpl="true"/>
        <opt day="3" hh="0" cs="KLM4"/>
      </parkpos>)")));
    ASSERT_EQ(g_parkStands.size(), 1U);
    const auto& options = g_parkStands[0].options;
    ASSERT_EQ(options.size(), 3U);
    EXPECT_EQ(options.capacity(), 3U);

    EXPECT_EQ(options[0].registration, "PH-BXA");
    EXPECT_EQ(options[0].sequence, 1);
    EXPECT_EQ(options[0].day, 1);
    EXPECT_EQ(options[0].halfHours, slots({14, 15, 16, 17, 18, 19}));
    EXPECT_EQ(options[0].callsign, "KLM1");
    EXPECT_EQ(options[0].secondCallsign, "KLM2X");
    EXPECT_EQ(options[0].origin, 1);
    EXPECT_EQ(options[0].real, 1);
    EXPECT_FALSE(options[0].cpl);

    EXPECT_EQ(options[1].registration, "PH-BXI");
    EXPECT_EQ(options[1].sequence, 2);
    EXPECT_EQ(options[1].day, 7);
    EXPECT_EQ(options[1].halfHours, slots({3, 5, 9}));
    EXPECT_EQ(options[1].callsign, "KLM3");
    EXPECT_EQ(options[1].secondCallsign, "");
    EXPECT_EQ(options[1].real, 0);
    EXPECT_TRUE(options[1].cpl);

    EXPECT_EQ(options[2].registration, "");
    EXPECT_EQ(options[2].sequence, 3);
    EXPECT_EQ(options[2].callsign, "KLM4");
}

TEST_F(AirportFileReaderTest, UseDesignationComesFromTheDatabaseOrItsCodes) {
    const AcDesignation listed{gf_airlineIndex("KLM"), 0, gf_modelIndex("B738"), 0, 1};
    g_dbaseRecords() = {DbaseRecord{"PH-BXA", listed}};
    gf_readParkPositions(parse(fileWithStands(R"(<parkpos id="A1" latitude="52.3" longitude="4.7">
        <opt reg="PHBXA" airl="TRA" type="B737" day="1" hh="1"/>
        <opt reg="PH-HZA" airl="TRA" type="B737" day="1" hh="2"/>
        <opt airl="CLH" type="E190" day="1" hh="3"/>
        <opt reg="G-EUUA" day="1" hh="4"/>
      </parkpos>)")));
    const auto& options = g_parkStands.at(0).options;
    ASSERT_EQ(options.size(), 4U);
    EXPECT_EQ(options[0].designation, listed);
    EXPECT_EQ(options[1].designation,
              (AcDesignation{gf_airlineIndex("TRA"), 0, gf_modelIndex("B737"), 0, 0}));
    EXPECT_EQ(options[2].designation,
              (AcDesignation{gf_airlineIndex("CLH"), 0, gf_modelIndex("E190"), 0, 0}));
    EXPECT_EQ(options[3].designation, (AcDesignation{gf_airlineIndex(""), 0, gf_modelIndex(""), 0, 0}));
}

TEST_F(AirportFileReaderTest, ReadParkPosStoresTheGivenOrigin) {
    const pugi::xml_document document = parse(
        R"(<parkpos id="M1" latitude="52.3" longitude="4.7"><opt reg="PH-BXA" day="1" hh="1"/></parkpos>)");
    gf_readParkPos(document.child("parkpos"), "M1", 0);
    ASSERT_EQ(g_parkStands.size(), 1U);
    EXPECT_EQ(g_parkStands[0].options.at(0).origin, 0);
}

}  // namespace
}  // namespace mrw
