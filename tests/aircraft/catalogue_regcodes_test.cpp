#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "aircraft/livery_catalogue.h"
#include "aircraft/regcode_store.h"
#include "aircraft/regcode_store_internal.h"
#include "catalogue_test_fixture.h"
#include "foundation/file_names.h"
#include "tools/encrypt-data/data_encryption.h"

namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
using ::testing::UnorderedElementsAre;

const fs::path kOfflineRegcodesFile = mrw::g_infoFolder / "OfflineRegcodes.txt";

// input/AIG-regcodes.enc holding the AIG list with the given l elements.
void writeAigRegcodes(const std::string& elements) {
    const std::string xml = R"(<?xml version="1.0" encoding="UTF-8"?>
<root><meta><info name="author" value="Merrowvale"/><info name="copyright" value="c"/><info name="sim" value="1"/></meta>
<aig>)" + elements + "</aig></root>\n";
    fs::create_directories(mrw::g_inputFolder);
    mrwtest::writeFile(mrw::g_aigRegcodesEncFile, mrw::gf_encryptData(xml));
}

void writeMyRegcodes(const std::string& lines) {
    fs::create_directories(mrw::g_myRegcodesFolder);
    mrwtest::writeFile(mrw::g_myRegcodesFolder / "mine.TXT", lines);
}

class CatalogueRegcodesTest : public mrwtest::CatalogueTest {
  protected:
    void SetUp() override {
        CatalogueTest::SetUp();
        fs::create_directories(mrw::g_infoFolder);  // made by every run start
    }
};

TEST_F(CatalogueRegcodesTest, FirstInLineRegcodeAndFirstTitleWin) {
    std::vector<mrwtest::FixtureLivery> liveries = mrwtest::fixtureLiveries();
    liveries.push_back({"KLM", "", "B738", false, "KLM B738 Second", "N101AA"});
    liveries.push_back({"AAL", "", "A320", false, "Twice Listed", "N201AA"});
    liveries.push_back({"BAW", "", "A320", false, "Twice Listed", "G-EUAA"});
    buildCatalogue(liveries);

    EXPECT_EQ(mrw::g_regcodeTitles().at("N101AA"), "American Airlines A321 N101AA");
    EXPECT_EQ(mrw::g_titleRegcodes().at("Twice Listed"), "N201AA");
    EXPECT_THAT(mrwtest::readLines(mrw::g_inlineRegcodesFile),
                ElementsAre("Twice Listed 'G-EUAA' => already in use by 'N201AA'",
                            "N101AA 'KLM B738 Second' => already in use by 'American Airlines A321 N101AA'"));
    EXPECT_THAT(folder.logText(), HasSubstr("    2 in-line regcode clashes, see '"));
}

TEST_F(CatalogueRegcodesTest, MergingListsReplacesAndMarksSpecialTitles) {
    buildCatalogue();
    mrw::g_offlineRegcodeLines().clear();
    mrw::lf_mergeRegcodes({
        {"Delta A321", {"N301DN", "N302DN"}, true},   // special, two regcodes: not unique
        {"KLM B77W", {"PH-BVA"}, true},               // special, one regcode: unique
        {"Not Installed", {"N999ZZ"}, true},          // skipped without a line
        {"British Airways A320", {"N101AA"}, false},  // takes N101AA over
    });
    mrw::lf_mergeRegcodes({});

    EXPECT_EQ(mrw::g_regcodeTitles().at("N101AA"), "British Airways A320");
    EXPECT_EQ(mrw::g_regcodeTitles().at("N302DN"), "Delta A321");
    EXPECT_FALSE(mrw::g_regcodeTitles().contains("N999ZZ"));
    EXPECT_THAT(mrw::g_specialTitles(), ElementsAre("Delta A321", "KLM B77W"));
    EXPECT_THAT(mrw::g_uniqueRegcodes(), ElementsAre("PH-BVA"));
    // In-line regcodes only: the merge never gives a title a registration prefix.
    EXPECT_FALSE(mrw::g_titleRegcodes().contains("Delta A321"));
    EXPECT_THAT(mrw::g_offlineRegcodeLines(),
                ElementsAre("   regcode N101AA for 'British Airways A320', instead of the same for 'American "
                            "Airlines A321 N101AA'",
                            "3 new regcodes added, 1 regcode replaced, 2 regcodes defined as special",
                            "0 new regcodes added"));
}

TEST_F(CatalogueRegcodesTest, OfflineListsAreMergedAndReported) {
    writeAigRegcodes(
        R"(<l t="Delta A321" r="N301DN"/><l t="KLM B77W" r="PH-BVA" s="true"/><l t="Old Title"/>)");
    writeMyRegcodes("British Airways A320;N301DN\nMy Unused Livery\n");
    buildCatalogue();

    EXPECT_FALSE(fs::exists(mrw::g_aigRegcodesXmlFile));
    EXPECT_EQ(mrw::g_regcodeTitles().at("N301DN"), "British Airways A320");  // the user's list wins
    EXPECT_EQ(mrw::g_regcodeTitles().at("PH-BVA"), "KLM B77W");
    // A user's line with a single regcode is special, so its regcode is unique as well.
    EXPECT_THAT(mrw::g_uniqueRegcodes(), ElementsAre("N301DN", "PH-BVA"));
    EXPECT_THAT(mrw::g_specialTitles(), ElementsAre("KLM B77W", "British Airways A320"));
    EXPECT_THAT(
        mrwtest::readLines(kOfflineRegcodesFile),
        ElementsAre("Processing file " + mrwtest::nativePath("input/AIG-regcodes.xml"),
                    "2 new regcodes added, 1 regcode defined as special",
                    "Processing files in " + mrwtest::nativePath("input/my_regcodes"),
                    "   regcode N301DN for 'British Airways A320', instead of the same for 'Delta A321'",
                    "0 new regcodes added, 1 regcode replaced, 1 regcode defined as special"));
    const std::string log = folder.logText();
    EXPECT_THAT(log, HasSubstr("Offline regcode files processed, results can be found in "
                               "'" +
                               mrwtest::nativePath("output/info/OfflineRegcodes.txt") +
                               "'\n    2 special liveries\n    2 unique liveries\n"));
    EXPECT_THAT(log, HasSubstr("   21 registration codes\n"));
}

TEST_F(CatalogueRegcodesTest, WithoutTheAigListNothingOfflineHappens) {
    writeMyRegcodes("British Airways A320;N301DN\n");
    mrwtest::writeFile(kOfflineRegcodesFile, "from an earlier start-up\n");
    buildCatalogue();

    EXPECT_FALSE(mrw::g_regcodeTitles().contains("N301DN"));
    EXPECT_THAT(mrw::g_offlineRegcodeLines(), IsEmpty());
    EXPECT_EQ(mrwtest::readFile(kOfflineRegcodesFile), "from an earlier start-up\n");
    EXPECT_THAT(folder.logText(), Not(HasSubstr("Offline regcode files processed")));
}

TEST_F(CatalogueRegcodesTest, DontUseTitlesComeFromBothLists) {
    writeAigRegcodes(R"(<l t="Delta A321" r="N301DN"/><l t="Old Title"/><l t="Older Title"/>)");
    writeMyRegcodes("My Unused Livery\nBritish Airways A320;N301DN\n");
    mrw::g_dontUseTitles().push_back("from an earlier scan");

    mrw::lf_readDontUseTitles();

    EXPECT_THAT(mrw::g_dontUseTitles(), ElementsAre("Old Title", "Older Title", "My Unused Livery"));
    EXPECT_FALSE(fs::exists(mrw::g_aigRegcodesXmlFile));
    const std::string log = folder.logText();
    EXPECT_THAT(log, HasSubstr("    2 don't use titles read\n"));
    EXPECT_THAT(log, HasSubstr("    1 don't use title read from files in " +
                               mrwtest::nativePath("input/my_regcodes") + "\n"));
}

// A list that does not parse: the reader's error goes into the report, and the plain XML never stays.
TEST_F(CatalogueRegcodesTest, BrokenAigListLeavesNoPlainFile) {
    fs::create_directories(mrw::g_inputFolder);
    mrwtest::writeFile(mrw::g_aigRegcodesEncFile, mrw::gf_encryptData("<root><aig>"));
    buildCatalogue();

    EXPECT_FALSE(fs::exists(mrw::g_aigRegcodesXmlFile));
    EXPECT_THAT(mrwtest::readLines(kOfflineRegcodesFile),
                ElementsAre("Processing file " + mrwtest::nativePath("input/AIG-regcodes.xml"),
                            "There were errors processing the AIG-regcode file '" +
                                mrwtest::nativePath("input/AIG-regcodes.xml") + "', see Log.txt",
                            "0 new regcodes added"));
}

}  // namespace
