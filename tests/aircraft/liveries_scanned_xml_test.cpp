// LiveriesScanned.xml: the writer's attributes and order, the reader's checks and the round trip.

#include "aircraft/liveries_scanned_xml.h"
#include "aircraft/code_tables.h"
#include "aircraft/livery_data.h"
#include "aircraft_test_support.h"
#include "foundation/file_names.h"
#include "foundation/simulator_choice.h"
#include "foundation/user_error_exception.h"
#include "liveries_test_support.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;
using mrwtest::makeLivery;

class LiveriesScannedXml : public ::testing::Test {
  protected:
    void SetUp() override {
        mrwtest::seedLiveriesDatabase();
        fs::create_directories("output");
    }
    void TearDown() override {
        mrw::g_scannedLiveries().clear();
        mrwtest::resetAircraftData();
    }

    // A file with a meta element and the given <root> content.
    static void writeFile(const std::string& body) {
        mrwtest::writeFile(mrw::g_liveriesScannedFile,
                           "<?xml version=\"1.0\"?><root><meta><info name=\"copyright\" value=\"c\"/>"
                           "<info name=\"sim\" value=\"1\"/></meta>" +
                               body + "</root>");
    }

    // The number in the text of the UserErrorException that reading throws; 0 when it throws none.
    static std::string readError() {
        try {
            mrw::gf_readLiveriesScanned();
        } catch (const mrw::UserErrorException& e) {
            return e.what();
        }
        return {};
    }

    mrwtest::LoggedProgramFolder m_folder;
};

TEST_F(LiveriesScannedXml, WriterPutsOptionalAttributesOnlyWhereSetAndInOrder) {
    auto& list = mrw::g_scannedLiveries();
    list.push_back(makeLivery("KLM 1", "KLM", "", "B738"));
    list.push_back(makeLivery("Cargo & <co>", "DLH", "TRA", "B744", "D-ABYA", true));
    mrw::g_simId = 2;
    ASSERT_TRUE(mrw::gf_writeLiveriesScanned());
    mrw::g_simId = 1;
    const std::string text = mrwtest::readFile(mrw::g_liveriesScannedFile);
    EXPECT_EQ(text.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>", 0), 0u);
    EXPECT_NE(text.find("<l a=\"KLM\" m=\"B738\" t=\"KLM 1\" />"), std::string::npos) << text;
    EXPECT_NE(
        text.find("<l a=\"DLH\" o=\"TRA\" m=\"B744\" c=\"true\" t=\"Cargo &amp; &lt;co>\" r=\"D-ABYA\" />"),
        std::string::npos)
        << text;
    EXPECT_NE(text.find("<info name=\"sim\" value=\"2\" />"), std::string::npos) << text;
    EXPECT_NE(text.find("<info name=\"version\" value=\"12.6.0\" />"), std::string::npos) << text;
    EXPECT_NE(m_folder.logText().find("2 liveries in " + mrwtest::nativePath("output/LiveriesScanned.xml")),
              std::string::npos);
}

TEST_F(LiveriesScannedXml, RoundTripGivesTheSameRecordsSortedWithPriorityZero) {
    auto& list = mrw::g_scannedLiveries();
    list.push_back(makeLivery("KLM 1", "KLM", "", "B738", "PH-BXA"));
    list.push_back(makeLivery("DLH 1", "DLH", "TRA", "B744", "", true));
    list.push_back(makeLivery("EZY 1", "EZY", "", "A320"));
    list.back().priority = 4;
    mrw::gf_sortLiveries(list);
    const std::list<mrw::LiveryData> written = list;
    ASSERT_TRUE(mrw::gf_writeLiveriesScanned());
    list.clear();
    mrw::gf_readLiveriesScanned();
    ASSERT_EQ(list.size(), 3u);
    auto expected = written.begin();
    for (const auto& read : list) {
        EXPECT_EQ(read, *expected);
        EXPECT_EQ(read.codes.isCargo, expected->codes.isCargo);
        EXPECT_EQ(read.codes.fromDbase, 0);
        EXPECT_EQ(read.priority, 0);
        ++expected;
    }
    EXPECT_NE(m_folder.logText().find("    3 liveries read from " +
                                      mrwtest::nativePath("output/LiveriesScanned.xml")),
              std::string::npos);
}

TEST_F(LiveriesScannedXml, EmptyListWritesNothingAndAFailedSaveIsReported) {
    EXPECT_TRUE(mrw::gf_writeLiveriesScanned());
    EXPECT_FALSE(fs::exists(mrw::g_liveriesScannedFile));

    mrw::g_scannedLiveries().push_back(makeLivery("KLM 1", "KLM", "", "B738"));
    fs::remove("output");
    mrwtest::writeFile("output", "a file where the folder should be");
    EXPECT_FALSE(mrw::gf_writeLiveriesScanned());
    EXPECT_NE(
        m_folder.logText().find("==> Failed to write " + mrwtest::nativePath("output/LiveriesScanned.xml")),
        std::string::npos);
}

TEST_F(LiveriesScannedXml, ReaderTakesAnyChildAndOptionalAttributes) {
    writeFile(
        "<liveries><l a=\"\" m=\"B738\" t=\"No airline\"/><x a=\"KLM\" m=\"B73H\" t=\"Named x\" c=\"yes\"/>"
        "<l a=\"KLM\" o=\"TRA\" m=\"A320\" t=\"With operator\" r=\"PH-ABC\"/></liveries>");
    mrw::gf_readLiveriesScanned();
    const auto& list = mrw::g_scannedLiveries();
    ASSERT_EQ(list.size(), 3u);
    auto it = list.begin();
    EXPECT_EQ(it->title, "No airline");
    EXPECT_TRUE(it->isIncomplete());
    ++it;
    EXPECT_EQ(it->title, "Named x");
    EXPECT_EQ(mrw::g_modelCodes().text(it->codes.model), "B738");  // corrected through the fixes
    EXPECT_EQ(it->codes.isCargo, 1);
    ++it;
    EXPECT_EQ(it->title, "With operator");
    EXPECT_EQ(it->registration, "PH-ABC");
    EXPECT_EQ(mrw::g_airlineCodes().text(it->codes.operatorAirline), "TRA");
}

TEST_F(LiveriesScannedXml, ReaderErrors) {
    EXPECT_EQ(readError(), "51: File " + mrwtest::nativePath("output/LiveriesScanned.xml") + " not found");
    mrwtest::writeFile(mrw::g_liveriesScannedFile, "<root><liveries>");
    EXPECT_EQ(readError(), "51: File " + mrwtest::nativePath("output/LiveriesScanned.xml") + " not found");
    writeFile("");
    EXPECT_EQ(readError(), "52: " + mrwtest::nativePath("output/LiveriesScanned.xml") +
                               " does not contain a <liveries> section");
    writeFile("<liveries/>");
    EXPECT_EQ(readError(),
              "533: " + mrwtest::nativePath("output/LiveriesScanned.xml") + " does not contain liveries");
    mrwtest::writeFile(mrw::g_liveriesScannedFile, "<other/>");
    EXPECT_EQ(readError(),
              "533: " + mrwtest::nativePath("output/LiveriesScanned.xml") + " does not contain liveries");
    writeFile("<liveries><l a=\"KLM\" m=\"B738\" t=\"ok\"/><l a=\"KLM\"/></liveries>");
    EXPECT_EQ(readError(), "999: Missing required attribute 'm' in <l>");
    EXPECT_EQ(mrw::g_scannedLiveries().size(), 1u);  // what was read before the error stays
    writeFile("<liveries><q m=\"B738\" t=\"x\"/></liveries>");
    EXPECT_EQ(readError(), "999: Missing required attribute 'a' in <q>");
}

}  // namespace
