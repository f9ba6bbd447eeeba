// tblo: gathering the generated files of known airports and packing them into tblo.zip, read back
// through the zip layer.

#include <gtest/gtest.h>

#include "airports/airports_database.h"
#include "airports/tblo_packaging.h"
#include "airports_scan_test_support.h"
#include "foundation/file_names.h"
#include "foundation/zip_archive.h"

namespace fs = std::filesystem;
using namespace mrw;
using namespace mrwtest;

namespace {

std::string apfWithPublisher(const std::string& publisher) {
    return "<?xml version=\"1.0\"?><root><parameters><parameter name=\"publisher\" value=\"" + publisher +
           "\"/></parameters></root>";
}

class TbloTest : public ::testing::Test {
  protected:
    void SetUp() override {
        resetAirportsData();
        makeAirportFolders();
        fs::create_directories(g_tbloFolder);
        knowAirports({"EGLL", "EHAM", "KMCI"});
    }
    void TearDown() override { resetAirportsData(); }
    LoggedProgramFolder folder;
};

TEST_F(TbloTest, CopiesGeneratedFilesOfKnownAirportsOnly) {
    writeFile(g_mySimaddonFolder / "EGLL.xml", "egll");
    writeFile(g_mySimaddonFolder / "ZZZZ.xml", "unknown");
    writeFile(g_myThirdpartyFolder / "EHAM.xml", "eham");
    writeFile(g_myThirdpartyFolder / "EHAM.txt", "archive/thirdparty/Pub/EHAM.xml\n");
    lf_copySimaddonToTblo();
    lf_copyThirdpartyToTblo();
    EXPECT_EQ(readFile(g_tbloFolder / "EGLL.xml"), "egll");
    EXPECT_FALSE(fs::exists(g_tbloFolder / "ZZZZ.xml"));
    EXPECT_EQ(readFile(g_tbloFolder / "EHAM.xml"), "eham");
    EXPECT_FALSE(fs::exists(g_myThirdpartyFolder / "EHAM.xml"));  // the link file stays instead
    EXPECT_TRUE(fs::exists(g_myThirdpartyFolder / "EHAM.txt"));
    EXPECT_TRUE(fs::exists(g_mySimaddonFolder / "EGLL.xml"));
    EXPECT_NE(folder.logText().find("1 simaddon file copied to tblo folder"), std::string::npos);
}

TEST_F(TbloTest, TropicalSimKmciIsRemovedNotSent) {
    writeFile(g_myThirdpartyFolder / "KMCI.xml", apfWithPublisher("TropicalSim"));
    lf_copyThirdpartyToTblo();
    EXPECT_FALSE(fs::exists(g_myThirdpartyFolder / "KMCI.xml"));
    EXPECT_FALSE(fs::exists(g_tbloFolder / "KMCI.xml"));
    writeFile(g_myThirdpartyFolder / "KMCI.xml", apfWithPublisher("OtherPub"));
    lf_copyThirdpartyToTblo();
    EXPECT_TRUE(fs::exists(g_tbloFolder / "KMCI.xml"));
}

TEST_F(TbloTest, PacksTheFilesOfTbloAndReplacesAnOldArchive) {
    writeFile(g_tbloFolder / "EGLL.xml", "egll bytes");
    writeFile(g_tbloFolder / "EHAM.xml", "eham bytes");
    writeFile(g_tbloZipFile, "an old archive");
    ASSERT_TRUE(gf_zipFolder(g_tbloZipFile));
    const ZipArchive archive = ZipArchive::openForReading(g_tbloZipFile);
    EXPECT_EQ(archive.entryNames(), (std::vector<std::string>{"EGLL.xml", "EHAM.xml"}));
    EXPECT_EQ(archive.read("EHAM.xml", 1 << 20), "eham bytes");
    const std::string log = folder.logText();
    EXPECT_NE(log.find("[zip] Removing old zip"), std::string::npos);
    EXPECT_NE(log.find("[zip] Added 2 files, ok_close=true, exists=true, size=" +
                       std::to_string(fs::file_size(g_tbloZipFile)) + " bytes"),
              std::string::npos);
}

TEST_F(TbloTest, AnEmptyOrMissingFolderGivesNoArchive) {
    EXPECT_FALSE(gf_zipFolder(g_tbloZipFile));
    EXPECT_FALSE(fs::exists(g_tbloZipFile));
    fs::remove_all(g_tbloFolder);
    EXPECT_FALSE(gf_zipFolder(g_tbloZipFile));
    EXPECT_NE(folder.logText().find("[zip] Not a directory: tblo"), std::string::npos);
}

TEST_F(TbloTest, ReadsWholeFiles) {
    writeFile(folder / "bytes.bin", std::string("a\0b", 3));
    EXPECT_EQ(gf_readWholeFile(folder / "bytes.bin"), std::string("a\0b", 3));
    EXPECT_EQ(gf_readWholeFile(folder / "empty.bin"), std::nullopt);
}

}  // namespace
