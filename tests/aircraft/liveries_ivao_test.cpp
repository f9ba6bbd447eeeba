// IVAO aircraft.cfg files: the model from the folder name, the airline from the title.

#include "aircraft/code_tables.h"
#include "aircraft/ivao_liveries.h"
#include "aircraft/liveries_scan_state.h"
#include "aircraft/model_determination.h"
#include "aircraft_test_support.h"
#include "liveries_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

namespace fs = std::filesystem;

TEST(LiveriesIvaoPaths, FolderCodeFollowsThePathPattern) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"C:\\x\\IVAO_MTL\\SimObjects\\Airplanes\\IVAO_B738WLfa\\aircraft.cfg", "B738WLfa"},
        {"/c/ivao_x-csl/simobjects/AIRPLANES/IVAO_b738/Aircraft.CFG", "b738"},
        {"/c/IVAO_MTL/SimObjects/Airplanes/IVAO_A319fIAEw/aircraft.cfg", "A319fIAEw"},
        {"/c/IVAO_MTL/SimObjects/Airplanes/IVAO_B738/deeper/aircraft.cfg", ""},
        {"/c/IVAO_MTL/SimObjects/Airplanes/IVAO_B7-38/aircraft.cfg", ""},
        {"/c/IVAO_MTL/SimObjects/Airplanes/IVAO_/aircraft.cfg", ""},
        {"/c/Other/SimObjects/Airplanes/IVAO_B738/aircraft.cfg", ""},
        {"/IVAO_MTL/SimObjects/Airplanes/IVAO_B738/aircraft.cfg", ""},  // nothing before the package
    };
    for (const auto& [path, code] : cases)
        EXPECT_EQ(mrw::gf_ivaoFolderCode(path), code) << path;
}

TEST(LiveriesIvaoPaths, TitleAirlineFollowsTheModelCode) {
    struct Case {
        std::string title;
        std::string model;
        bool w;
        std::string airline;
    };
    const std::vector<Case> cases{
        {"B738 KLM Royal Dutch", "B738", false, "KLM"},
        {"b738klm", "B738", false, "klm"},
        {"B738W KLM", "B738", true, "KLM"},
        {"B738 KLM", "B738", true, ""},
        {"B738W KLM", "B738", false, ""},
        {"Boeing B738 KLM", "B738", false, ""},
        {"B738 KL", "B738", false, ""},
        {"B738 K-LM", "B738", false, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(mrw::gf_ivaoTitleAirline(c.title, c.model, c.w), c.airline) << c.title;
}

class LiveriesIvao : public ::testing::Test {
  protected:
    void SetUp() override { mrwtest::seedLiveriesDatabase(); }
    void TearDown() override { mrwtest::resetAircraftData(); }

    // An IVAO aircraft folder with the given texture folders and aircraft.cfg text.
    fs::path writeAircraft(const std::string& folderName, const std::vector<std::string>& textures,
                           const std::string& text) {
        const fs::path folder = fs::path("Community/IVAO_MTL/SimObjects/Airplanes") / folderName;
        for (const auto& texture : textures)
            fs::create_directories(folder / ("texture." + texture));
        fs::create_directories(folder);
        mrwtest::writeFile(folder / "aircraft.cfg", text);
        return folder / "aircraft.cfg";
    }

    static std::vector<std::string> titles(const std::list<mrw::LiveryData>& liveries) {
        std::vector<std::string> result;
        for (const auto& l : liveries)
            result.push_back(l.title + " " + mrw::g_airlineCodes().text(l.codes.airline));
        return result;
    }

    mrwtest::LoggedProgramFolder m_folder;
    mrw::LiveriesScanState m_state;
};

TEST_F(LiveriesIvao, SectionsNeedATextureFolderAndAnAirlineInTheTitle) {
    const fs::path cfg = writeAircraft("IVAO_B738", {"KLM", "LOW", "REG", "NOREG"}, R"([fltsim.0]
title = "  B738 KLM Royal Dutch  "
texture=KLM
[fltsim.1]
title=B738 KLM without textures
texture=MISSING
[fltsim.2]
title=b738klm lower case
texture=LOW
[fltsim.3]
title=Boeing of KLM
atc_id=PH-BXA
texture=REG
[fltsim.4]
title=Boeing of nobody
texture=NOREG
[fltsim.5]
title=B738 EZY no texture key
)");
    const auto liveries = mrw::gf_searchLiveriesinIVAOFile(m_state, 2, cfg);
    EXPECT_EQ(titles(liveries), (std::vector<std::string>{"B738 KLM Royal Dutch KLM", "Boeing of KLM KLM"}));
    EXPECT_EQ(liveries.back().codes.fromDbase, 1);
    EXPECT_EQ(liveries.front().priority, 2);
    const std::string folder = "Community/IVAO_MTL/SimObjects/Airplanes" + mrwtest::nativePath("/IVAO_B738");
    EXPECT_EQ(m_state.reports.invalidAirlineLines.lines(),
              std::vector<std::string>{"klm          in " + folder + mrwtest::nativePath("/aircraft.cfg") +
                                       " [fltsim.2]"});
    auto lines = m_state.reports.incompleteSectionLines.lines();
    std::sort(lines.begin(), lines.end());
    EXPECT_EQ(lines, (std::vector<std::string>{
                         folder + " [fltsim.4] misses airlinecode in title: Boeing of nobody, and no regcode",
                         folder + mrwtest::nativePath("/texture.") + " [fltsim.5] does not exist",
                         folder + mrwtest::nativePath("/texture.") + "MISSING [fltsim.1] does not exist",
                     }));
    EXPECT_NE(m_folder.logText().find(
                  "removed spaces around title '  B738 KLM Royal Dutch  ' --> 'B738 KLM Royal Dutch'"),
              std::string::npos);
}

TEST_F(LiveriesIvao, WFoldersAndModelsFromTheFolderName) {
    const fs::path cfg = writeAircraft("IVAO_B738WLfa", {"A"},
                                       "[fltsim.0]\ntitle=B738W DLH\ntexture=A\n"
                                       "[fltsim.1]\ntitle=B738 KLM\ntexture=A\n");
    EXPECT_EQ(titles(mrw::gf_searchLiveriesinIVAOFile(m_state, 1, cfg)),
              std::vector<std::string>{"B738W DLH DLH"});
    // A folder code the database does not know is reported, and the file is not read.
    const fs::path unknown = writeAircraft("IVAO_b738", {"A"}, "[fltsim.0]\ntitle=b738 KLM\ntexture=A\n");
    EXPECT_TRUE(mrw::gf_searchLiveriesinIVAOFile(m_state, 1, unknown).empty());
    EXPECT_EQ(m_state.reports.invalidModelLines.lines(),
              std::vector<std::string>{"b738             in Community/IVAO_MTL/SimObjects/Airplanes" +
                                       mrwtest::nativePath("/IVAO_b738/aircraft.cfg")});
}

TEST_F(LiveriesIvao, PathsOutsideThePatternAndUnreadableFiles) {
    const fs::path deeper = "Community/IVAO_MTL/SimObjects/Airplanes/IVAO_B738/x/aircraft.cfg";
    EXPECT_TRUE(mrw::gf_searchLiveriesinIVAOFile(m_state, 1, deeper).empty());
    EXPECT_EQ(m_state.reports.invalidModelLines.lines(),
              std::vector<std::string>{"                 in " + deeper.string()});
    // A file that cannot be opened has no encoding.
    const fs::path missing = "Community/IVAO_MTL/SimObjects/Airplanes/IVAO_B738/aircraft.cfg";
    EXPECT_TRUE(mrw::gf_searchLiveriesinIVAOFile(m_state, 1, missing).empty());
    EXPECT_NE(m_folder.logText().find("==> ! No text encoding detected for " + missing.string()),
              std::string::npos);
}

}  // namespace
