#include "foundation/file_names.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "support/test_support.h"

namespace fs = std::filesystem;

namespace {

// Every composed name with the text it must have: a folder renamed in one place shows here.
const std::vector<std::pair<const fs::path*, std::string>> kComposedNames = {
    {&mrw::g_dbaseEncFile, "input/dbase.enc"},
    {&mrw::g_dbaseXmlFile, "input/dbase.xml"},
    {&mrw::g_airportsEncFile, "input/airports.enc"},
    {&mrw::g_airportsXmlFile, "input/airports.xml"},
    {&mrw::g_aigRegcodesEncFile, "input/AIG-regcodes.enc"},
    {&mrw::g_aigRegcodesXmlFile, "input/AIG-regcodes.xml"},
    {&mrw::g_icaoAirportsFile, "input/ICAO_airports.txt"},
    {&mrw::g_myRegcodesFolder, "input/my_regcodes"},
    {&mrw::g_liveriesScannedFile, "output/LiveriesScanned.xml"},
    {&mrw::g_objectIdListFile, "output/info/ObjectIdList.txt"},
    {&mrw::g_airportsScanLogFile, "output/info/AirportsScanLog.txt"},
    {&mrw::g_noFltsimSectionFile, "output/info/AircraftCfgWithNoFltsimSection.txt"},
    {&mrw::g_inlineRegcodesFile, "output/errors/InlineRegcodes.txt"},
    {&mrw::g_invalidAirlineCodesFile, "output/errors/InvalidAirlineCodes.txt"},
    {&mrw::g_invalidAircraftCodesFile, "output/errors/InvalidAircraftCodes.txt"},
    {&mrw::g_fixesFile, "output/errors/Fixes.txt"},
    {&mrw::g_invalidAircraftCfgFilesFile, "output/errors/InvalidAircraftCfgFiles.txt"},
    {&mrw::g_incompleteFltsimSectionsFile, "output/errors/IncompleFltsimSections.txt"},
    {&mrw::g_mySimaddonFolder, "airports/my_simaddon"},
    {&mrw::g_myThirdpartyFolder, "airports/my_thirdparty"},
    {&mrw::g_learnedStockFolder, "airports/learned/stock"},
    {&mrw::g_learnedSimaddonFolder, "airports/learned/simaddon"},
    {&mrw::g_learnedThirdpartyFolder, "airports/learned/thirdparty"},
    {&mrw::g_myParkAirportsFile, "airports/my_park_airports.txt"},
    {&mrw::g_tbloZipFile, "tblo/tblo.zip"},
};

TEST(FileNames, ComposedNamesJoinTheirFolders) {
    for (const auto& [path, text] : kComposedNames) {
        EXPECT_EQ(path->generic_string(), text);
        EXPECT_TRUE(path->is_relative()) << text;
    }
}

TEST(FileNames, RelativeNamesResolveBelowTheWorkingFolder) {
    const mrwtest::ProgramFolder folder;
    const fs::path base = fs::current_path();
    for (const auto& [path, text] : kComposedNames) {
        EXPECT_EQ(fs::absolute(*path), base / text);
    }
    EXPECT_EQ(fs::absolute(mrw::g_logFile), base / "Log.txt");
    EXPECT_EQ(fs::absolute(mrw::g_docsFolder), base / "docs");
}

}  // namespace
