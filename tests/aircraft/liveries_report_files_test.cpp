// The report files of a liveries scan: removal before a scan, writing and summary lines after it.

#include "aircraft/scan_report_files.h"
#include "aircraft_test_support.h"
#include "foundation/file_names.h"

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

class LiveriesReportFiles : public ::testing::Test {
  protected:
    void SetUp() override { fs::create_directories(mrw::g_infoFolder); }

    bool logHas(const std::string& text) const { return m_folder.logText().find(text) != std::string::npos; }

    mrwtest::LoggedProgramFolder m_folder;
    mrw::ScanReports m_reports;
};

TEST_F(LiveriesReportFiles, NoLinesWritesNoFiles) {
    fs::create_directories(mrw::g_errorsFolder);
    mrwtest::writeFile(mrw::g_fixesFile, "old\n");
    mrw::gf_removeScanReports();
    EXPECT_FALSE(fs::exists(mrw::g_errorsFolder));
    mrw::gf_writeScanReports(m_reports);
    EXPECT_FALSE(fs::exists(mrw::g_errorsFolder));
    EXPECT_TRUE(logHas("\nNo errors\n\nInformation:\n"));
}

TEST_F(LiveriesReportFiles, FilesAreSortedOrKeptInOrderWithTheirSummaries) {
    m_reports.addInvalidAirline("XYZ", "p/aircraft.cfg", "[fltsim.1]");
    m_reports.addInvalidModel("B7X7", "q/aircraft.cfg");
    m_reports.addInvalidModel("A3X0", "p/aircraft.cfg");
    m_reports.addFix("second fix");
    m_reports.addFix("first fix");
    m_reports.addInvalidCfgFile("b file");
    m_reports.addInvalidCfgFile("a file");
    m_reports.addInvalidCfgFile("a");
    m_reports.addIncompleteSection("same");
    m_reports.addIncompleteSection("same");
    m_reports.noFltsimSectionFiles.add("z.cfg");
    m_reports.noFltsimSectionFiles.add("y.cfg");
    mrw::gf_writeScanReports(m_reports);

    EXPECT_EQ(mrwtest::readFile(mrw::g_invalidAirlineCodesFile),
              "XYZ          in p/aircraft.cfg [fltsim.1]\n");
    EXPECT_EQ(mrwtest::readFile(mrw::g_invalidAircraftCodesFile),
              "A3X0             in p/aircraft.cfg\nB7X7             in q/aircraft.cfg\n");
    EXPECT_EQ(mrwtest::readFile(mrw::g_fixesFile), "second fix\nfirst fix\n");
    EXPECT_EQ(mrwtest::readFile(mrw::g_invalidAircraftCfgFilesFile), "a\na file\nb file\n");
    EXPECT_EQ(mrwtest::readFile(mrw::g_incompleteFltsimSectionsFile), "same\n");
    EXPECT_EQ(mrwtest::readFile(mrw::g_noFltsimSectionFile), "y.cfg\nz.cfg\n");
    for (const std::string& line : std::vector<std::string>{
             "\nErrors:\n",
             "    1 invalid airline code, see " +
                 mrwtest::nativePath("output/errors/InvalidAirlineCodes.txt") + "\n",
             "    2 invalid model codes, see " +
                 mrwtest::nativePath("output/errors/InvalidAircraftCodes.txt") + "\n",
             "    2 fixes, see " + mrwtest::nativePath("output/errors/Fixes.txt") + "\n",
             "    3 invalid aircraft.cfg files, see " +
                 mrwtest::nativePath("output/errors/InvalidAircraftCfgFiles.txt") + "\n",
             "    2 incomplete [fltsim.x] sections, see " +
                 mrwtest::nativePath("output/errors/IncompleFltsimSections.txt") + "\n",
             "\nInformation:\n",
             "    2 empty aircraft.cfg files, see " +
                 mrwtest::nativePath("output/info/AircraftCfgWithNoFltsimSection.txt") + "\n"}) {
        EXPECT_TRUE(logHas(line)) << line;
    }
}

TEST_F(LiveriesReportFiles, OnlyFixesCreateTheErrorsFolderWithFixesAlone) {
    m_reports.addFix("fix");
    mrw::gf_writeScanReports(m_reports);
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(mrw::g_errorsFolder))
        files.push_back(entry.path().filename());
    EXPECT_EQ(files, std::vector<fs::path>{"Fixes.txt"});
}

TEST_F(LiveriesReportFiles, AUsersFileKeepsTheFolderAndAnUnwritableReportIsAnError) {
    fs::create_directories(mrw::g_errorsFolder);
    mrwtest::writeFile(mrw::g_invalidAirlineCodesFile, "old\n");
    mrwtest::writeFile(mrw::g_liveriesScannedFile, "<root/>");
    mrwtest::writeFile(mrw::g_errorsFolder / "mine.txt", "user's own\n");
    mrw::gf_removeScanReports();
    EXPECT_FALSE(fs::exists(mrw::g_invalidAirlineCodesFile));
    EXPECT_FALSE(fs::exists(mrw::g_liveriesScannedFile));
    EXPECT_TRUE(fs::exists(mrw::g_errorsFolder / "mine.txt"));
    EXPECT_TRUE(logHas("problems with removing previous files: "));

    // A folder where the report file should be: the file cannot be written.
    fs::create_directories(mrw::g_invalidAircraftCodesFile);
    m_reports.addInvalidModel("B7X7", "q/aircraft.cfg");
    mrw::gf_writeScanReports(m_reports);
    EXPECT_TRUE(
        logHas("==> Failed to write " + mrwtest::nativePath("output/errors/InvalidAircraftCodes.txt")));
    EXPECT_FALSE(logHas("invalid model code, see"));
}

}  // namespace
