// Package manifests: reading the fields, the upward search and its limits, and the two lookups on
// them (the airport code of a BGL file and the publisher of an airport).

#include <gtest/gtest.h>

#include "aircraft/aircraft_database.h"
#include "airports/airport_file.h"
#include "airports/airports_database.h"
#include "airports/airports_scan_report.h"
#include "airports/package_manifest.h"
#include "airports_scan_test_support.h"
#include "foundation/text_encoding.h"

namespace fs = std::filesystem;
using namespace mrw;
using namespace mrwtest;

namespace {

class ManifestTest : public ::testing::Test {
  protected:
    void SetUp() override {
        resetAirportsData();
        resetAddonLists();
    }
    void TearDown() override { resetAirportsData(); }
    LoggedProgramFolder folder;
};

TEST_F(ManifestTest, ReadsTheFieldsTheScanUses) {
    struct Case {
        std::string json;
        bool present;
        std::string version;
        std::string title;
    } cases[] = {
        {R"({"title":"T","package_version":"1.2.3","version":"9.9","manufacturer":"M","creator":"C"})", true,
         "1.2.3", "T"},
        {R"({"title":"T","package_version":"","version":"9.9"})", true, "9.9", "T"},
        {R"({"title":null,"version":{},"creator":[]})", true, "", ""},
        {R"({"version":2})", false, "", ""},  // a type error loses the whole manifest
        {R"(["title"])", false, "", ""},
        {"", false, "", ""},
    };
    int n = 0;
    for (const Case& c : cases) {
        const fs::path package = folder / fmt::format("pkg{}", n++);
        writeFile(package / "manifest.json", c.json);
        const auto manifest = gf_searchManifest(package / "scenery" / "x.bgl");
        ASSERT_EQ(manifest.has_value(), c.present) << c.json;
        if (!manifest) continue;
        EXPECT_EQ(manifest->version, c.version);
        EXPECT_EQ(manifest->title, c.title);
    }
    EXPECT_NE(reportText().find("exception in gf_searchManifest: "), std::string::npos);
    EXPECT_NE(reportText().find("type must be string, but is number"), std::string::npos);
}

TEST_F(ManifestTest, TheSearchGoesSixFoldersUpAndWantsTheExactName) {
    writeFile(folder / "pkg/manifest.json", R"({"title":"Found"})");
    fs::path deep = folder / "pkg";
    for (int i = 0; i < 6; ++i)
        deep /= fmt::format("d{}", i);
    EXPECT_TRUE(gf_searchManifest(deep / "x.bgl").has_value());          // six levels below the package
    EXPECT_FALSE(gf_searchManifest(deep / "d6" / "x.bgl").has_value());  // seven
    writeFile(folder / "other/Manifest.json", R"({"title":"Found"})");
    EXPECT_TRUE(gf_findManifestFile(folder / "other").empty());
    EXPECT_FALSE(gf_searchManifest(folder / "other/x.bgl").has_value());
}

// The search walks up by path text: folders named beyond ASCII (Japanese, German) and a trailing
// separator must still lead to the package's manifest.
TEST_F(ManifestTest, TheSearchClimbsFoldersNamedBeyondAscii) {
    for (const std::string name : {"\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E", "M\xC3\xBCller"}) {
        const fs::path package = folder / utf8_to_path(name);
        writeFile(package / "manifest.json", R"({"title":"Found"})");
        const fs::path scenery = package / utf8_to_path(name + "-scenery");
        for (const fs::path& start : {scenery / "x.bgl", scenery / ""}) {
            const auto manifest = gf_searchManifest(start);
            ASSERT_TRUE(manifest.has_value()) << name;
            EXPECT_EQ(manifest->title, "Found");
        }
    }
}

TEST_F(ManifestTest, AirportCodeFromPathStemOrTitle) {
    knowAirports({"EGLL", "EHAM"}, {"ZZZZ"});
    g_knownAirportCodes.insert(FixedCode<4>("EGKK"));
    writeFile(folder / "titled/manifest.json", R"({"title":"Schiphol EHAM by Pub"})");
    struct Case {
        fs::path path;
        std::optional<std::string> code;
        bool handled;
        std::string line;
    } cases[] = {
        {folder / "pkg-egll/scenery/a.bgl", "EGLL", false, "airport has code 'EGLL' in BGL path"},
        {folder / "pkg-zzzz/scenery/a.bgl", std::nullopt, true, "no supported airport 'ZZZZ' in BGL path"},
        {folder / "plain/scenery/EGKK.bgl", "EGKK", false, "code 'EGKK' as stem"},  // known, not listed
        {folder / "plain/scenery/XXXX.bgl", std::nullopt, true, "no supported airport code 'XXXX' as stem"},
        {folder / "titled/scenery/airport.bgl", "EHAM", false,
         "airport has code 'EHAM' in title of manifest"},
        {folder / "plain/scenery/a-b.bgl", std::nullopt, false, ""},
    };
    for (const Case& c : cases) {
        g_scanReport.clear();
        AirportFile file;
        file.sourcePath = c.path;
        file.bglPathText = c.path.string();
        bool handled = false;
        const auto code = gf_airportCodeOfBgl(file, handled);
        EXPECT_EQ(code.has_value(), c.code.has_value()) << c.path;
        if (code) {
            EXPECT_EQ(code->str(), *c.code);
        }
        EXPECT_EQ(handled, c.handled) << c.path;
        if (!c.line.empty()) {
            EXPECT_NE(reportText().find(c.line), std::string::npos) << c.line;
        }
    }
}

TEST_F(ManifestTest, AStemOfFourBytesThatIsNoCodeIsAnException) {
    AirportFile file;
    file.sourcePath = folder / "plain/a-b!.bgl";
    bool handled = false;
    EXPECT_FALSE(gf_airportCodeOfBgl(file, handled).has_value());
    EXPECT_NE(reportText().find("Exception 'a-b!' FixedCode"), std::string::npos);
}

TEST_F(ManifestTest, PublisherFromPathBeforeManifest) {
    g_publisherGroups() = {{"PathPub"}, {"MakerPub", "Maker Inc"}};
    writeFile(folder / "PathPub-egll/manifest.json", R"({"manufacturer":"Maker Inc","creator":"x"})");
    writeFile(folder / "plain-egll/manifest.json", R"({"manufacturer":"nobody","creator":"Maker Inc"})");
    struct Case {
        fs::path path;
        std::string publisher;
    } cases[] = {
        {folder / "PathPub-egll/scenery/a.bgl", "PathPub"},
        {folder / "plain-egll/scenery/a.bgl", "MakerPub"},
        {folder / "asobo-AIRPORT-egll/scenery/a.bgl", "simaddon"},
        {folder / "unknown/scenery/a.bgl", ""},
    };
    for (const Case& c : cases) {
        AirportFile file;
        file.sourcePath = c.path;
        file.bglPathText = c.path.string();
        gf_airportPublisher(file);
        EXPECT_EQ(file.publisher, c.publisher) << c.path;
    }
}

}  // namespace
