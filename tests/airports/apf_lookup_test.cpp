#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "airports/airport_file_lookup.h"
#include "airports/airports_database.h"
#include "airports_test_support.h"
#include "foundation/simulator_choice.h"
#include "support/http_test_server.h"
#include "support/scoped_environment.h"

namespace mrw {
namespace {

namespace fs = std::filesystem;
using mrwtest::writeFile;

class ApfLookupTest : public ::testing::Test {
  protected:
    void SetUp() override {
        mrwtest::resetAirportsData();
        fs::create_directories("airports/my_thirdparty");
        fs::create_directories("airports/my_simaddon");
    }
    void TearDown() override { mrwtest::resetAirportsData(); }
    void addAirport(const char* code, int s) {
        g_airports.push_back(Airport{FixedCode<4>(code), g_noIataCode, 52.0, 4.0, 0.0F, s});
    }
    mrwtest::LoggedProgramFolder folder;
    const FixedCode<4> eham{"EHAM"};
};

TEST_F(ApfLookupTest, NameBuilders) {
    EXPECT_EQ(gf_icaoXmlName(eham), "EHAM.xml");
    EXPECT_EQ(gf_icaoXmlPath(eham), fs::path("EHAM.xml"));
    EXPECT_EQ(gf_icaoTxtPath(eham), fs::path("EHAM.txt"));
    EXPECT_EQ(gf_icaoVersionKey(eham, "1.2.3"), "EHAM123");
    EXPECT_EQ(gf_trimBlanks("  a b  "), "a b");
    EXPECT_EQ(gf_trimBlanks("   "), "");
    EXPECT_EQ(gf_trimBlanks("\ta "), "\ta");
}

TEST_F(ApfLookupTest, ShortenedFileNames) {
    EXPECT_EQ(gf_shortApfPath("archive/thirdparty/Just%20Sim/EHAM120.xml").string(),
              "archive/thirdparty/Just%20Sim/EHAM.xml");
    // A Windows reference is shortened at its last '\'.
    EXPECT_EQ(gf_shortApfPath("archive\\stock\\EHAM123.xml").string(), "archive\\stock\\EHAM.xml");
    EXPECT_EQ(gf_shortApfPath("airports/EHAM.xml").string(), "airports/EHAM.xml");
    EXPECT_EQ(gf_shortApfPath("x/EHA").string(), "x/EHA");
}

TEST_F(ApfLookupTest, LinkInThirdpartyWinsOverSimaddonFile) {
    writeFile("airports/my_thirdparty/EHAM.txt", "archive/thirdparty/Pub/EHAM.xml  \r\nsecond line\n");
    writeFile("airports/my_simaddon/EHAM.xml", "<root/>");
    EXPECT_EQ(gf_apfFileName(eham), "archive/thirdparty/Pub/EHAM.xml");
    EXPECT_TRUE(gf_hasAirportFile(eham));
}

TEST_F(ApfLookupTest, LookupOrderAcrossFolders) {
    addAirport("EHAM", 2);
    EXPECT_EQ(gf_apfFileName(eham), "archive/stock/EHAM.xml");
    writeFile("airports/my_simaddon/EHAM.xml", "<root/>");
    EXPECT_EQ(gf_apfFileName(eham), "airports/my_simaddon/EHAM.xml");
    writeFile("airports/my_simaddon/EHAM.txt", "archive/simaddon/EHAM.xml\n");
    EXPECT_EQ(gf_apfFileName(eham), "archive/simaddon/EHAM.xml");
    writeFile("airports/my_thirdparty/EHAM.xml", "<root/>");
    EXPECT_EQ(gf_apfFileName(eham), "airports/my_thirdparty/EHAM.xml");
}

TEST_F(ApfLookupTest, InvalidLinksAreSkipped) {
    struct Case {
        const char* firstLine;
        bool valid;
    };
    const Case cases[] = {
        {"EHAM.XML", true},
        {"  archive/stock/EHAM.xml\t", true},
        {"EHAM.xm", false},
        {"xml", false},
        {"", false},
        {"airports/../../etc/EHAM.xml", false},
        {"archive\\..\\x.xml", false},
        {"archive/stock/..x.xml", true},
        {"/etc/EHAM.xml", false},
        {"\\etc\\EHAM.xml", false},
        {"C:\\MSFS\\EHAM.xml", false},
        {"c:EHAM.xml", false},
        {"airports//etc/EHAM.xml", true},  // stays in the program folder; its learned file is refused
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.firstLine);
        writeFile("airports/my_simaddon/EHAM.txt", std::string(c.firstLine) + "\n");
        std::string reference = "old";
        EXPECT_EQ(gf_readApfLink("airports/my_simaddon/EHAM.txt", reference), c.valid);
        if (!c.valid) {
            EXPECT_EQ(reference, "");
        }
    }
    std::string reference = "old";
    EXPECT_FALSE(gf_readApfLink("airports/my_simaddon/NONE.txt", reference));
    EXPECT_EQ(reference, "");
    // Leading white space stays part of the reference.
    writeFile("airports/my_simaddon/EHAM.txt", "  archive/stock/EHAM.xml\n");
    ASSERT_TRUE(gf_readApfLink("airports/my_simaddon/EHAM.txt", reference));
    EXPECT_EQ(reference, "  archive/stock/EHAM.xml");
}

TEST_F(ApfLookupTest, EmptyLinkCountsForPresenceButNotForTheReference) {
    writeFile("airports/my_simaddon/EHAM.txt", "");
    EXPECT_TRUE(gf_hasAirportFile(eham));
    EXPECT_EQ(gf_apfFileName(eham), "");
    addAirport("EHAM", 1);
    EXPECT_EQ(gf_apfFileName(eham), "archive/stock/EHAM.xml");
}

TEST_F(ApfLookupTest, StandDataCodeDecidesForArchivedFiles) {
    addAirport("EHAM", 0);
    EXPECT_EQ(gf_apfFileName(eham), "");
    EXPECT_FALSE(gf_hasAirportFile(eham));
    g_airports.front().s = 2;
    EXPECT_EQ(gf_apfFileName(eham), "archive/stock/EHAM.xml");
    EXPECT_TRUE(gf_hasAirportFile(eham));
    EXPECT_FALSE(gf_hasAirportFile(FixedCode<4>("EGLL")));
}

TEST_F(ApfLookupTest, LearnedPathOfReferences) {
    struct Case {
        const char* reference;
        const char* publisher;
        const char* learned;
    };
    const Case cases[] = {
        {"archive/stock/EHAM.xml", "", "airports/learned/stock/EHAM.xml"},
        {"archive\\simaddon\\EHAM.xml", "", "airports/learned/simaddon/EHAM.xml"},
        {"archive/thirdparty/Just%20Sim/EHAM.xml", "", "airports/learned/thirdparty/Just Sim/EHAM.xml"},
        {"archive/thirdparty/%20%20/EHAM.xml", "", ""},
        {"archive/thirdparty/EHAM.xml", "", ""},
        {"archive/thirdparty/%2E%2E/EHAM.xml", "", "airports/learned/thirdparty/%2E%2E/EHAM.xml"},
        {"airports\\my_simaddon\\EHAM.xml", "Pub", "airports/learned/simaddon/EHAM.xml"},
        {"airports\\my_thirdparty\\EHAM.xml", "Pub", "airports/learned/thirdparty/Pub/EHAM.xml"},
        {"airports/my_thirdparty2024/EHAM.xml", " A/B ", "airports/learned/thirdparty/A B/EHAM.xml"},
        {"airports/my_thirdparty/EHAM.xml", "", ""},
        {"airports/my_thirdparty/EHAM.xml", "../x", "airports/learned/thirdparty/.. x/EHAM.xml"},
        {"airports/my_thirdparty/EHAM.xml", "..", ""},
        {"airports/stock/EHAM.xml", "", "airports/learned/stock/EHAM.xml"},
        {"airports/stock/../../../EHAM.xml", "", ""},
        {"archive/stock/EHAM.txt", "", ""},
        {"archive/stock/EHAM.XML", "", "airports/learned/stock/EHAM.XML"},
        {"elsewhere/EHAM.xml", "", ""},
        // A rooted rest would discard airports/learned: refused.
        {"airports//etc/EHAM.xml", "", ""},
        {"airports\\\\etc\\EHAM.xml", "", ""},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.reference) + " / " + c.publisher);
        EXPECT_EQ(gf_learnedApfPath(c.reference, c.publisher).generic_string(), c.learned);
    }
    EXPECT_EQ(gf_learnedApfPath(gf_shortApfPath("archive/thirdparty/Just%20Sim/EHAM120.xml").string(), "")
                  .generic_string(),
              "airports/learned/thirdparty/Just Sim/EHAM.xml");
}

TEST_F(ApfLookupTest, PublisherFolders) {
    EXPECT_EQ(gf_learnedFolderOfPublisher("stock")->generic_string(), "airports/learned/stock");
    EXPECT_EQ(gf_learnedFolderOfPublisher("simaddon")->generic_string(), "airports/learned/simaddon");
    EXPECT_EQ(gf_learnedFolderOfPublisher("Orbx\\Pro")->generic_string(),
              "airports/learned/thirdparty/Orbx Pro");
    // "../x" no longer climbs out once its separator is a blank.
    EXPECT_EQ(gf_learnedFolderOfPublisher("../x")->generic_string(), "airports/learned/thirdparty/.. x");
    EXPECT_FALSE(gf_learnedFolderOfPublisher(".."));
    EXPECT_FALSE(gf_learnedFolderOfPublisher(" . "));
    EXPECT_FALSE(gf_learnedFolderOfPublisher(""));
}

class ApfDownloadTest : public ApfLookupTest {
  protected:
    void SetUp() override {
        ApfLookupTest::SetUp();
        m_environment.set("MRW_DOWNLOAD_SITE", server.site());
    }
    void TearDown() override {
        g_msfs2020 = true;
        ApfLookupTest::TearDown();
    }
    static mrwtest::HttpTestServer::Answer answer(std::string body, bool truncate = false) {
        mrwtest::HttpTestServer::Answer result;
        result.body = std::move(body);
        result.truncate = truncate;
        return result;
    }
    mrwtest::HttpTestServer server{{
        {"/downloads/MSFS/archive/stock/EHAM.xml", answer("<root>2020</root>\n")},
        {"/downloads/MSFS2024/archive/stock/EHAM.xml", answer("<root>2024</root>\n")},
        {"/downloads/MSFS/archive/stock/EGLL.xml", answer("<root>partial file of a long body</root>", true)},
    }};

  private:
    mrwtest::ScopedEnvironment m_environment;
};

TEST_F(ApfDownloadTest, DownloadsFromTheRunningSimulatorsFolder) {
    EXPECT_EQ(gf_downloadApf("archive/stock/EHAM.xml", "airports/park_airport.xml"), "");
    EXPECT_EQ(mrwtest::readFile("airports/park_airport.xml"), mrwtest::asTextFileBytes("<root>2020</root>\n"));
    g_msfs2020 = false;
    EXPECT_EQ(gf_downloadApf("archive\\stock\\EHAM.xml", "airports/park_airport.xml"), "");
    EXPECT_EQ(mrwtest::readFile("airports/park_airport.xml"), mrwtest::asTextFileBytes("<root>2024</root>\n"));
}

TEST_F(ApfDownloadTest, FailedDownloadLeavesNoFile) {
    writeFile("airports/park_airport.xml", "<root>previous airport</root>");
    const std::string url = server.url("/downloads/MSFS/archive/stock/EDDF.xml");
    EXPECT_EQ(gf_downloadApf("archive/stock/EDDF.xml", "airports/park_airport.xml"),
              "failed to download: '" + url + "'");
    EXPECT_FALSE(fs::exists("airports/park_airport.xml"));
    EXPECT_NE(folder.logText().find("failed to download: '" + url + "'"), std::string::npos);

    EXPECT_NE(gf_downloadApf("archive/stock/EGLL.xml", "airports/park_airport.xml"), "");
    EXPECT_FALSE(fs::exists("airports/park_airport.xml"));
    for (const auto& entry : fs::directory_iterator("airports"))
        EXPECT_TRUE(entry.is_directory()) << entry.path();
}

}  // namespace
}  // namespace mrw
