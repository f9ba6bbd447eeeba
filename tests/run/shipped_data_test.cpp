// The data files of the program folder, read with the program's own readers.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "aircraft/ac_category.h"
#include "aircraft/aircraft_database.h"
#include "aircraft/code_tables.h"
#include "aircraft/dbase_lookups.h"
#include "aircraft/dbase_reader.h"
#include "aircraft/regcode_readers.h"
#include "aircraft/wingspans.h"
#include "airports/airports_database.h"
#include "airports/airports_scan.h"
#include "foundation/data_decryption.h"
#include "foundation/file_names.h"
#include "support/logged_program_folder.h"
#include "run/run_test_support.h"

namespace fs = std::filesystem;
using namespace mrw;

namespace {

// The built program folder's input files, copied into a fresh program folder with Log.txt open.
class ShippedDataTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::copy(fs::path(MRW_PROGRAM_DIR) / "input", m_folder / "input", fs::copy_options::recursive);
        mrwtest::forgetDatabases();  // an earlier test of the process may have read or emptied them
    }
    void TearDown() override { mrwtest::forgetDatabases(); }
    // No warning or error line was logged.
    void expectNoErrorLine() {
        const std::string log = m_folder.logText();
        EXPECT_EQ(log.find("==> "), std::string::npos) << log;
    }
    mrwtest::LoggedProgramFolder m_folder;
};

const Airport* lf_findAirport(const char* code) {
    const FixedCode<4> wanted(code);
    const auto it = std::ranges::find_if(g_airports, [&](const Airport& a) { return a.code == wanted; });
    return it == g_airports.end() ? nullptr : &*it;
}

TEST_F(ShippedDataTest, AirportsDatabaseHoldsTheConvertedAirports) {
    ASSERT_TRUE(gf_readAirports());
    expectNoErrorLine();
    EXPECT_GT(g_airports.size(), 4800u);
    EXPECT_LT(g_airports.size(), 5210u);
    EXPECT_TRUE(std::ranges::is_sorted(g_airports, {}, &Airport::code));
    const Airport* eham = lf_findAirport("EHAM");
    ASSERT_NE(eham, nullptr);
    EXPECT_NEAR(eham->latitude, 52.3086, 1e-4);
    EXPECT_NEAR(eham->longitude, 4.7639, 1e-4);
    EXPECT_EQ(gf_airportLabel(*eham), "EHAM (AMS)");
    EXPECT_FLOAT_EQ(eham->altitude, -11.0f);
    EXPECT_EQ(eham->s, 0);
    const Airport* klax = lf_findAirport("KLAX");
    ASSERT_NE(klax, nullptr);
    EXPECT_FLOAT_EQ(klax->altitude, 125.0f);
    EXPECT_FALSE(fs::exists(g_airportsXmlFile));
}

TEST_F(ShippedDataTest, IcaoAirportCodesListTheDatabaseAirports) {
    ASSERT_TRUE(gf_readAirports());
    gf_readIcaoAirports();
    expectNoErrorLine();
    EXPECT_EQ(g_icaoAirportCodes.size(), g_airports.size());
    for (const Airport& airport : g_airports) {
        ASSERT_TRUE(g_icaoAirportCodes.contains(airport.code)) << airport.code.str();
    }
}

TEST_F(ShippedDataTest, AircraftDatabaseHasEveryRequiredSection) {
    ASSERT_TRUE(gf_readDbase());
    expectNoErrorLine();
    EXPECT_GE(g_icaoModels().size(), 150u);
    EXPECT_GE(g_icaoAirlines().size(), 290u);
    EXPECT_TRUE(gf_isKnownModel("B738"));
    EXPECT_TRUE(gf_isKnownAirline("KLM"));
    EXPECT_EQ(gf_acCategoryOfCode("B738"), AcCategory::Large);
    EXPECT_EQ(gf_acCategoryOfCode("B77W"), AcCategory::Heavy);
    EXPECT_EQ(gf_acCategoryOfCode("C56X"), AcCategory::Buzjets);
    EXPECT_EQ(gf_acCategoryOfCode("EC35"), AcCategory::Rotorcraft);
    EXPECT_EQ(gf_acCategoryOfCode("F16"), AcCategory::HighPerf);
    EXPECT_EQ(gf_acCategoryOfCode("C172"), AcCategory::Light);
    // The widest wing is the An-225's, 88.4 m.
    EXPECT_NEAR(g_maxHalfWingspan.load(), 44.2 * kNmPerMetre, 1e-6);
    EXPECT_NEAR(gf_halfWingspanNm(gf_modelIndex("B738")), 35.79 / 2 * kNmPerMetre, 1e-6);
    // Livery packages call the BAe 146-200 and -300 "142" and "143".
    EXPECT_EQ(g_modelCodes().text(gf_modelIndex("142")), "B462");
    EXPECT_EQ(g_modelCodes().text(gf_modelIndex("143")), "B463");
    EXPECT_TRUE(g_dbaseRecords().empty());
    EXPECT_FALSE(fs::exists(g_dbaseXmlFile));
}

TEST_F(ShippedDataTest, AigRegcodesCarryTheMetaAndNoTitles) {
    ASSERT_TRUE(gf_streamDecrypt(g_aigRegcodesEncFile, g_aigRegcodesXmlFile));
    std::vector<RegcodeEntry> entries;
    EXPECT_TRUE(gf_readAigRegcodes(entries));
    expectNoErrorLine();
    EXPECT_TRUE(entries.empty());
    EXPECT_NE(m_folder.logText().find("0 liveries read from AIG-regcodes.xml"), std::string::npos);
}

}  // namespace
