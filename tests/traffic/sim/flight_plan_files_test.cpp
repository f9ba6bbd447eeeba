#include "traffic/sim/flight_plan_files.h"

#include <gtest/gtest.h>

#include <fstream>

#include <fmt/format.h>

#include "foundation/file_system.h"
#include "support/logged_program_folder.h"
#include "support/process_data_directory.h"

namespace mrw {
namespace {

namespace fs = std::filesystem;

AcProfile profile(AcCategory category, std::string_view origin, std::string_view destination) {
    AcProfile p;
    p.category = category;
    if (!origin.empty()) p.origin = FixedCode<3>(origin);
    if (!destination.empty()) p.destination = FixedCode<3>(destination);
    p.callsign = "KLM <&> 1";  // outside text never reaches the file
    return p;
}

class FlightPlanFilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        mrwtest::useProcessDataDirectory();
        ASSERT_TRUE(gf_createFlightPlanFolder());
    }
    void TearDown() override {
        std::error_code error;
        fs::remove_all(g_flightPlanFolder, error);
        g_flightPlanFolder.clear();
    }
    mrwtest::LoggedProgramFolder folder;
};

TEST_F(FlightPlanFilesTest, AHeavyFromAmsterdamToNewYorkByteForByte) {
    EXPECT_EQ(g_flightPlanFolder, g_dataDirectory() / "orig_dest");
    EXPECT_TRUE(fs::is_directory(g_flightPlanFolder));
    const fs::path path = gf_flightPlanPath(1234);
    EXPECT_EQ(path, g_flightPlanFolder / "1234.pln");
    ASSERT_TRUE(gf_writeFlightPlan(path, profile(AcCategory::Heavy, "AMS", "JFK")));
    EXPECT_EQ(mrwtest::readFile(path),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<SimBase.Document Type=\"AceXML\" version=\"4,3\">\n"
              "<FlightPlan.FlightPlan>\n"
              "<FPType>IFR</FPType>\n"
              "<DepartureID>AMS</DepartureID>\n"
              "<DestinationID>JFK</DestinationID>\n"
              "</FlightPlan.FlightPlan>\n"
              "</SimBase.Document>\n"
              "\n");
}

TEST_F(FlightPlanFilesTest, TheTypeFollowsTheCategoryAndABlankCodeIsThreeBlanks) {
    struct Case {
        AcCategory category;
        const char* type;
    };
    for (const Case& c : {Case{AcCategory::Light, "VFR"}, Case{AcCategory::Buzjets, "IFR"},
                          Case{AcCategory::Large, "IFR"}, Case{AcCategory::Heavy, "IFR"},
                          Case{AcCategory::HighPerf, "VFR"}, Case{AcCategory::Rotorcraft, "VFR"}}) {
        const fs::path path = gf_flightPlanPath(4000000000u);
        ASSERT_TRUE(gf_writeFlightPlan(path, profile(c.category, "HAM", "")));
        const std::vector<std::string> lines = mrwtest::readLines(path);
        ASSERT_GE(lines.size(), 6u);
        EXPECT_EQ(lines[3], fmt::format("<FPType>{}</FPType>", c.type));
        EXPECT_EQ(lines[4], "<DepartureID>HAM</DepartureID>");
        EXPECT_EQ(lines[5], "<DestinationID>   </DestinationID>");
    }
    EXPECT_EQ(gf_flightPlanPath(4000000000u).filename(), "4000000000.pln");
}

TEST_F(FlightPlanFilesTest, AFailedWriteIsReportedAndLeavesNothing) {
    const fs::path missing = g_flightPlanFolder / "gone" / "77.pln";
    EXPECT_FALSE(gf_writeFlightPlan(missing, profile(AcCategory::Large, "AMS", "JFK")));
    EXPECT_FALSE(fs::exists(missing.parent_path()));
    // An existing plan that cannot be replaced stays whole.
    const fs::path path = gf_flightPlanPath(55);
    ASSERT_TRUE(gf_writeFlightPlan(path, profile(AcCategory::Large, "AMS", "JFK")));
    const std::string before = mrwtest::readFile(path);
    fs::permissions(g_flightPlanFolder, fs::perms::owner_read | fs::perms::owner_exec);
    // Whether a read-only folder stops this process: not root, and not on Windows, where the
    // permission only marks the folder.
    const fs::path probe = g_flightPlanFolder / "probe";
    const bool writesStopped = !std::ofstream(probe).is_open();
    fs::remove(probe);
    const bool written = gf_writeFlightPlan(path, profile(AcCategory::Light, "LHR", "CDG"));
    fs::permissions(g_flightPlanFolder, fs::perms::owner_all);
    if (writesStopped) {
        EXPECT_FALSE(written);
    }
    if (!written) {
        EXPECT_EQ(mrwtest::readFile(path), before);
        EXPECT_EQ(std::distance(fs::directory_iterator(g_flightPlanFolder), fs::directory_iterator{}), 1);
    }
}

TEST_F(FlightPlanFilesTest, AFolderThatCannotBeMadeIsLoggedAndReported) {
    // A file where the data directory's folder should be.
    fs::remove_all(g_dataDirectory() / "orig_dest");
    mrwtest::writeFile(g_dataDirectory() / "orig_dest", "not a folder");
    EXPECT_FALSE(gf_createFlightPlanFolder());
    EXPECT_NE(folder.logText().find("==> gf_createFlightPlanFolder: "), std::string::npos);
    fs::remove(g_dataDirectory() / "orig_dest");
}

}  // namespace
}  // namespace mrw
