#include "airports/airports_database.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "airports_test_support.h"
#include "foundation/file_names.h"
#include "foundation/user_error_exception.h"
#include "tools/encrypt-data/data_encryption.h"

namespace mrw {
namespace {

namespace fs = std::filesystem;
using mrwtest::writeFile;

// Airports around Amsterdam and London (open data: codes, positions, elevations), with the faults
// the reader must survive: a lower-case code, no IATA code, a bad IATA code, no stand-data code,
// no altitude, no position. Heathrow and Northolt lie less than 5 nm apart.
constexpr const char* kAirportsXml = R"(<?xml version="1.0" encoding="UTF-8"?>
<root>
  <airports>
    <ap c="EGLL" i="LHR" la="51.4775" lo="-0.461389" a="83" s="1"/>
    <ap c="eham" i="ams" la="52.308601" lo="4.76389" a="-11" s="1"/>
    <ap c="EHRD" i="RTM" la="51.956902" lo="4.43722" a="-15" s="2"/>
    <ap c="EHLE" i="LEY" la="52.4603" lo="5.52722" a="-13" s="3"/>
    <ap c="EHHV" la="52.191898" lo="5.14694" a="3" s="0"/>
    <ap c="EHKD" i="DHR" la="52.923401" lo="4.78062" a="3"/>
    <ap c="EGKK" i="LGW" la="51.148102" lo="-0.190278" a="202" s="1"/>
    <ap c="EGLC" i="LCY" la="51.505299" lo="0.055278" a="19" s="2"/>
    <ap c="EGSS" i="ST" la="51.885" lo="0.235" a="348" s="1"/>
    <ap c="EGGW" i="LTN" la="51.874699" lo="-0.368333" a="526" s="1"/>
    <ap c="EGWU" i="NHT" la="51.553001" lo="-0.418167" a="124" s="0"/>
    <ap c="EHGG" i="GRQ" la="53.119701" lo="6.57944" s="1"/>
    <ap c="EHTX" la="53.115101" a="2" s="0"/>
  </airports>
</root>
)";

void writeAirportsEnc(const std::string& xml) {
    fs::create_directories(g_inputFolder);
    writeFile(g_airportsEncFile, gf_encryptData(xml));
}

class AirportsDatabaseTest : public ::testing::Test {
  protected:
    void SetUp() override { mrwtest::resetAirportsData(); }
    void TearDown() override { mrwtest::resetAirportsData(); }

    // Reads and returns the text of the UserErrorException 88 it must throw.
    std::string readFailure() {
        try {
            gf_readAirports();
        } catch (const UserErrorException& e) {
            EXPECT_TRUE(gf_isUserError(e, 88)) << e.what();
            return e.what();
        }
        ADD_FAILURE() << "no exception";
        return {};
    }

    mrwtest::LoggedProgramFolder folder;
};

std::vector<std::string> codesOf(const std::vector<Airport>& airports) {
    std::vector<std::string> codes;
    for (const auto& airport : airports)
        codes.push_back(airport.code.str());
    return codes;
}

TEST_F(AirportsDatabaseTest, ReadStoresGoodAirportsSortedAndSkipsBadOnes) {
    writeAirportsEnc(kAirportsXml);
    ASSERT_TRUE(gf_readAirports());

    EXPECT_EQ(codesOf(g_airports), (std::vector<std::string>{"EGGW", "EGKK", "EGLC", "EGLL", "EGWU", "EHAM",
                                                             "EHHV", "EHKD", "EHLE", "EHRD"}));
    const Airport* eham = gf_findAirport(FixedCode<4>("EHAM"));
    ASSERT_NE(eham, nullptr);
    EXPECT_EQ(eham->iata, FixedCode<3>("AMS"));
    EXPECT_DOUBLE_EQ(eham->latitude, 52.308601);
    EXPECT_DOUBLE_EQ(eham->longitude, 4.76389);
    EXPECT_FLOAT_EQ(eham->altitude, -11.0F);
    EXPECT_EQ(eham->s, 1);
    EXPECT_EQ(gf_findAirport(FixedCode<4>("EHHV"))->iata, g_noIataCode);
    EXPECT_EQ(gf_findAirport(FixedCode<4>("EHKD"))->s, 0);
    EXPECT_TRUE(gf_isKnownAirport(FixedCode<4>("EHLE")));
    EXPECT_FALSE(gf_isKnownAirport(FixedCode<4>("EGSS")));
    EXPECT_FALSE(gf_isKnownAirport(FixedCode<4>()));
    EXPECT_EQ(g_knownAirportCodes.size(), 10U);
    EXPECT_FALSE(fs::exists(g_airportsXmlFile));

    const std::string log = folder.logText();
    EXPECT_NE(log.find("==> Missing stands for airport 'EHKD'\n"), std::string::npos);
    EXPECT_NE(
        log.find("Error storing airport 'EGSS' 'ST': 'ST' FixedCode: invalid string (length/charset)\n"),
        std::string::npos);
    EXPECT_NE(log.find("==> Missing alt for airport 'EHGG'\n"), std::string::npos);
    EXPECT_NE(log.find("==> Missing latLons for airport 'EHTX'\n"), std::string::npos);
    EXPECT_NE(log.find("\n   10 airports read\n"), std::string::npos);
}

TEST_F(AirportsDatabaseTest, SecondReadInTheProcessKeepsTheDatabaseWithoutTouchingFiles) {
    writeAirportsEnc(kAirportsXml);
    ASSERT_TRUE(gf_readAirports());
    fs::remove(g_airportsEncFile);
    EXPECT_TRUE(gf_readAirports());
    EXPECT_EQ(g_airports.size(), 10U);
    EXPECT_FALSE(fs::exists(g_airportsXmlFile));
}

TEST_F(AirportsDatabaseTest, FileWithoutUsableAirportIsNoErrorButNoDatabase) {
    writeAirportsEnc(R"(<root><airports><ap c="EHAM" a="-11" s="1"/></airports></root>)");
    EXPECT_FALSE(gf_readAirports());
    EXPECT_TRUE(g_airports.empty());
}

TEST_F(AirportsDatabaseTest, UnreadableFilesThrow88AndLeaveNoDecryptedFile) {
    struct Case {
        const char* name;
        std::string xml;  // empty: no encrypted file at all
        std::string expected;
    };
    const std::string xml = mrwtest::nativePath("input/airports.xml");
    const Case cases[] = {
        {"bad code", R"(<root><airports><ap c="EHA" la="1" lo="1" a="1" s="1"/></airports></root>)",
         "88: 'EHA' FixedCode: invalid string (length/charset)"},
        {"missing code", R"(<root><airports><ap la="1" lo="1" a="1" s="1"/></airports></root>)",
         "88: '' FixedCode: invalid string (length/charset)"},
        {"no airports element", R"(<root><airport/></root>)",
         "88: Missing <airports> root in: " + xml},
        {"not XML", "<root><airports>", "88: " + xml + " not loaded: "},
        {"no encrypted file", "", "88: " + xml + " not loaded: File was not found"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(g_airportsEncFile);
        if (!c.xml.empty()) writeAirportsEnc(c.xml);
        EXPECT_EQ(readFailure().substr(0, c.expected.size()), c.expected);
        EXPECT_FALSE(fs::exists(g_airportsXmlFile));
        EXPECT_TRUE(g_airports.empty());
    }
}

TEST_F(AirportsDatabaseTest, FailedReadLeavesNothingAndTheNextReadStartsClean) {
    // Two good airports come before the bad code: they must not stay, nor be stored twice later.
    writeAirportsEnc(R"(<root><airports>
        <ap c="EHAM" i="AMS" la="52.3086" lo="4.7639" a="-11" s="1"/>
        <ap c="EHRD" i="RTM" la="51.9569" lo="4.4372" a="-15" s="2"/>
        <ap c="EH-1" la="1" lo="1" a="1" s="1"/>
      </airports></root>)");
    readFailure();
    EXPECT_TRUE(g_airports.empty());
    EXPECT_FALSE(gf_isKnownAirport(FixedCode<4>("EHAM")));

    writeAirportsEnc(kAirportsXml);
    ASSERT_TRUE(gf_readAirports());
    EXPECT_EQ(g_airports.size(), 10U);
}

TEST_F(AirportsDatabaseTest, ClosestAirportBetweenHeathrowAndNortholt) {
    writeAirportsEnc(kAirportsXml);
    ASSERT_TRUE(gf_readAirports());
    std::vector<std::string> asked;
    const NearestStandDistance noFiles = [&asked](FixedCode<4> code, const Lalo&, std::string&) {
        asked.push_back(code.str());
        return 100.0;
    };
    const struct {
        Lalo position;
        const char* closest;  // nullptr: none within 5 nm
        std::vector<std::string> asked;
    } cases[] = {
        {{52.3086, 4.7639}, "EHAM", {}},                 // Schiphol
        {{51.4700, -0.4543}, "EGLL", {}},                // Heathrow, sorting before Northolt
        {{51.5300, -0.4300}, "EGWU", {"EGWU", "EGLL"}},  // nearer Northolt: Heathrow is its neighbour
        {{51.7000, -0.1000}, nullptr, {}},               // north London: nothing within 5 nm
    };
    for (const auto& c : cases) {
        asked.clear();
        const Airport* closest = gf_closestAirport(c.position, noFiles);
        if (c.closest == nullptr) {
            EXPECT_EQ(closest, nullptr);
        } else {
            ASSERT_NE(closest, nullptr) << c.closest;
            EXPECT_EQ(gf_airportLabel(*closest).substr(0, 4), c.closest);
        }
        EXPECT_EQ(asked, c.asked);
    }
}

TEST(AirportLabel, CodeAndIataCode) {
    const struct {
        Airport airport;
        const char* label;
    } cases[] = {
        {{FixedCode<4>("EHAM"), FixedCode<3>("AMS")}, "EHAM (AMS)"},
        {{FixedCode<4>("EHHV"), g_noIataCode}, "EHHV"},
        {{FixedCode<4>(), FixedCode<3>("AMS")}, "? (AMS)"},
        {{FixedCode<4>(), g_noIataCode}, "?"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(gf_airportLabel(c.airport), c.label);
}

}  // namespace
}  // namespace mrw
