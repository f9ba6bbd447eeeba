// The BGL airport reader on files written from the byte layout: the section test, idents, the
// stands of a good airport, altitudes, and malformed files that must end with a line, never a
// read outside the file.

#include <fstream>
#include <numbers>
#include <sstream>

#include <gtest/gtest.h>

#include "aircraft/aircraft_database.h"
#include "airports/airports_scan_report.h"
#include "airports/bgl_airport_reader.h"
#include "airports/bgl_airport_reader_internal.h"
#include "airports/bgl_file.h"
#include "airports_scan_test_support.h"
#include "foundation/file_names.h"

namespace fs = std::filesystem;
using namespace mrw;
using namespace mrwtest;

namespace {

class BglTest : public ::testing::Test {
  protected:
    void SetUp() override {
        resetAirportsData();
        resetAddonLists();
        makeAirportFolders();
        knowAirports({"EGLL", "EHAM"});
    }
    void TearDown() override { resetAirportsData(); }

    fs::path write(const std::string& name, const std::string& bytes) {
        const fs::path path = folder / name;
        writeFile(path, bytes);
        return path;
    }

    BglWords wordsOf(const std::string& bytes) {
        std::istringstream in(bytes);
        return gf_readFileWords(in);
    }

    LoggedProgramFolder folder;
};

BglAirport goodAirport() {
    BglAirport airport{"EGLL", 25000, {}, {}};
    airport.helipads = {{51.47, -0.46, 20.0F}, {51.48, -0.45, 30.0F}, {51.47, -0.46, 20.0F}};
    airport.parkings = {{12, 4, 5, 20.0F, 0.0F, 51.470, -0.450},
                        {12, 4, 5, 20.0F, 90.0F, 51.471, -0.451},
                        {12, 4, 5, 20.0F, 90.0F, 51.472, -0.452},
                        {12, 13, 6, 20.0F, 90.0F, 51.473, -0.453},
                        {10, 5, 7, 15.0F, 90.0F, 0.0, 0.0}};
    return airport;
}

TEST_F(BglTest, ReadsWordsLittleEndianAndPadsTheLastWord) {
    const BglWords words = wordsOf(std::string("\x01\x02\x03\x04\x05", 5));
    ASSERT_EQ(words.size(), 2U);
    EXPECT_EQ(words[0], 0x04030201U);
    EXPECT_EQ(words[1], 0x05U);
}

TEST_F(BglTest, SectionTestFindsAnAirportSectionOnly) {
    EXPECT_TRUE(gf_bglHasAirport(write("a.bgl", bglFileOf({goodAirport()}))));
    BglLayout other;
    other.airports = {goodAirport()};
    other.sectionType = 2;
    EXPECT_FALSE(gf_bglHasAirport(write("b.bgl", bglBytes(other))));
    BglLayout flagged;
    flagged.airports = {goodAirport()};
    flagged.sectionFlags = 0x10000;  // the quick test does not look at the flags
    EXPECT_TRUE(gf_bglHasAirport(write("c.bgl", bglBytes(flagged))));
    EXPECT_FALSE(gf_bglHasAirport(write("d.bgl", bglFileOf({goodAirport()}).substr(0, 56))));
    EXPECT_FALSE(gf_bglHasAirport(folder / "missing.bgl"));
}

TEST_F(BglTest, DecodesIdents) {
    knowAirports({}, {"ZZZZ"});
    struct Case {
        std::uint32_t ident;
        std::string text;
        bool ok;
    } cases[] = {
        {bglIdent("EGLL"), "EGLL", true},
        {bglIdent("ZZZZ"), "ZZZZ", false},  // a code, but unknown to the database
        {bglIdent("LHR"), "LHR", false},
        {0, " ", false},
        {(bglIdent("EG") * 38 + (1u << 5)), "EG?", false},  // a '?' digit
    };
    for (const Case& c : cases) {
        bool ok = true;
        EXPECT_EQ(gf_decodeBglIcao(c.ident, ok), c.text);
        EXPECT_EQ(ok, c.ok) << c.text;
    }
    EXPECT_NE(reportText().find("ZZZZ is not an airport supported by RealTraffic"), std::string::npos);
    EXPECT_EQ(reportText().find("LHR"), std::string::npos);
}

TEST_F(BglTest, AltitudeIsSignedAndBounded) {
    struct Case {
        std::int32_t millimetres;
        std::int32_t feet;
    } cases[] = {{100000, 328}, {10000000, 0}, {-3000, -10}, {-7000, 0}, {0, 0}};
    for (const Case& c : cases) {
        BglAirport airport{"EGLL", c.millimetres, {}, {}};
        const BglWords words = wordsOf(bglFileOf({airport}));
        EXPECT_EQ(lf_apfFromBglHeader(23, words).altitude, c.feet) << c.millimetres;
    }
}

TEST_F(BglTest, ReadsHelipadsAndParkingsWithUniqueIds) {
    const BglAirport airport = goodAirport();
    const BglWords words = wordsOf(bglFileOf({airport}));
    AirportFile file;
    std::vector<Lalo> helipads;
    int number = 1;
    std::size_t h = 23 + 17;
    for (int i = 0; i < 3; ++i, h += 8)
        lf_readBglHelipad(h, words.size(), words, file, helipads, number);
    std::set<std::string> ids;
    lf_readBglParkings(h, words.size(), words, file, ids, "x.bgl");

    std::vector<std::string> got;
    for (const Stand& stand : file.stands)
        got.push_back(stand.id);
    EXPECT_EQ(got, (std::vector<std::string>{"helipad1", "helipad2", "A5", "A5a", "A5b"}));
    EXPECT_EQ(number, 3);
    EXPECT_TRUE(file.stands[0].heli);
    EXPECT_NEAR(file.stands[1].radius, 15.0 * kNmPerMetre, 1e-9);
    EXPECT_NEAR(file.stands[0].latitude, 51.47, 1e-6);
    EXPECT_NEAR(file.stands[2].heading, 2.0 * std::numbers::pi, 1e-12);
    EXPECT_NEAR(file.stands[3].heading, std::numbers::pi / 2.0, 1e-6);
    EXPECT_EQ(file.stands[3].type, 4);
    const std::string report = reportText();
    EXPECT_NE(report.find("double helipad  (skipped) 51.470000,-0.460000"), std::string::npos);
    EXPECT_NE(report.find("LatLon 0.000000,0.000000 invalid (skipped)"), std::string::npos);
}

TEST_F(BglTest, MoreThanTenDuplicateIdsGetNoStand) {
    std::set<std::string> ids;
    for (int i = 0; i < 11; ++i)
        EXPECT_TRUE(lf_uniqueStandId("A5", ids, "x.bgl").has_value());
    EXPECT_FALSE(lf_uniqueStandId("A5", ids, "x.bgl").has_value());
    EXPECT_NE(reportText().find("===> Warning: more than 10 duplicate IDs A5 in x.bgl"), std::string::npos);
}

TEST_F(BglTest, RecordsPastTheirDataThrowOutOfRange) {
    const BglWords words = wordsOf(bglFileOf({goodAirport()}));
    AirportFile file;
    std::vector<Lalo> helipads;
    int number = 1;
    EXPECT_THROW(lf_readBglHelipad(words.size() - 4, words.size(), words, file, helipads, number),
                 std::out_of_range);
    std::set<std::string> ids;
    EXPECT_THROW(lf_readBglParkings(words.size() - 1, words.size(), words, file, ids, "x.bgl"),
                 std::out_of_range);
}

// The whole reader: a linked airport (no generated file needed) proves the record was found.
TEST_F(BglTest, ProcessFileLinksAKnownAirportOfAListedPublisher) {
    g_publisherGroups().push_back({"Pub"});
    g_thirdParties20().push_back({"Pub", {"EGLL"}});
    const fs::path bgl = write("Pub-egll/scenery/airport.bgl", bglFileOf({goodAirport()}));
    lf_processBGLfile(bgl);
    EXPECT_EQ(readFile(g_myThirdpartyFolder / "EGLL.txt"), "archive/thirdparty/Pub/EGLL.xml\n");
}

TEST_F(BglTest, MalformedFilesEndWithoutReadingOutsideTheFile) {
    knowAirports({}, {"QQQQ"});
    const std::string good = bglFileOf({goodAirport()});
    // Truncated inside the airport record, at every length past the section table: never a crash.
    for (std::size_t length = 60; length < good.size(); length += 3) {
        const fs::path path = write("cut.bgl", good.substr(0, length));
        try {
            lf_processBGLfile(path);
        } catch (const std::out_of_range&) {
            // A record cut short is reported to the walk as an exception.
        }
    }
    // Records after the sub-section's end are not read: QQQQ would be reported if they were.
    g_scanReport.clear();
    BglLayout layout;
    layout.after = {BglAirport{"QQQQ", 0, {}, {}}};
    lf_processBGLfile(write("after.bgl", bglBytes(layout)));
    EXPECT_EQ(reportText().find("QQQQ"), std::string::npos);
    // A record size of zero ends the walk with its warning.
    std::string zero = bglFileOf({BglAirport{"EGLL", 0, {}, {}}});
    zero[23 * 4 + 2] = 0;
    lf_processBGLfile(write("zero.bgl", zero));
    EXPECT_NE(folder.logText().find("Warning: decodeSizeAtBoundary returned 0 at o2 = 23"),
              std::string::npos);
}

std::size_t lf_count(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
        ++count;
    return count;
}

// Thousands of airport records under forty sections that all point at one sub-section: each record
// is processed once, and the package's manifest (here a broken one) is searched once for the file.
TEST_F(BglTest, RecordsSharedBySectionsAndTheManifestAreReadOncePerFile) {
    constexpr std::size_t kRecords = 3000;
    BglLayout layout;
    layout.airports.assign(kRecords, BglAirport{"EGLL", 0, {}, {}});
    layout.sections = 40;
    writeFile(folder / "pkg/manifest.json", "{ broken");
    lf_processBGLfile(write("pkg/scenery/airports.bgl", bglBytes(layout)));
    const std::string report = reportText();
    EXPECT_EQ(lf_count(report, "EGLL has no stands"), kRecords);
    EXPECT_EQ(lf_count(report, "exception in gf_searchManifest"), 1U);
}

TEST_F(BglTest, AnExcludedSectionIsNotRead) {
    g_publisherGroups().push_back({"Pub"});
    g_thirdParties20().push_back({"Pub", {"EGLL"}});
    BglLayout flagged;
    flagged.airports = {goodAirport()};
    flagged.sectionFlags = 0x10000;
    lf_processBGLfile(write("Pub-egll/flagged.bgl", bglBytes(flagged)));
    EXPECT_FALSE(fs::exists(g_myThirdpartyFolder / "EGLL.txt"));
}

}  // namespace
