// Model determination and livery extraction from generic aircraft.cfg files.

#include "aircraft/code_tables.h"
#include "aircraft/liveries_scan_state.h"
#include "aircraft/livery_extraction.h"
#include "aircraft/model_determination.h"
#include "aircraft_test_support.h"
#include "foundation/text_encoding.h"
#include "liveries_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace {

namespace fs = std::filesystem;

class LiveriesExtraction : public ::testing::Test {
  protected:
    void SetUp() override { mrwtest::seedLiveriesDatabase(); }
    void TearDown() override { mrwtest::resetAircraftData(); }

    // Writes the lines as an aircraft.cfg below the program folder and scans it.
    std::list<mrw::LiveryData> scan(const fs::path& relativeFolder, const std::string& text,
                                    int priority = 1) {
        fs::create_directories(relativeFolder);
        mrwtest::writeFile(relativeFolder / "aircraft.cfg", text);
        return mrw::gf_searchLiveriesinFile(m_state, priority, relativeFolder / "aircraft.cfg");
    }

    // Title -> "airline,operator,model,cargo,registration,fromDbase".
    static std::map<std::string, std::string> describe(const std::list<mrw::LiveryData>& liveries) {
        std::map<std::string, std::string> result;
        for (const auto& l : liveries) {
            result[l.title] = mrw::g_airlineCodes().text(l.codes.airline) + "," +
                              mrw::g_airlineCodes().text(l.codes.operatorAirline) + "," +
                              mrw::g_modelCodes().text(l.codes.model) + "," +
                              std::to_string(l.codes.isCargo) + "," + l.registration + "," +
                              std::to_string(l.codes.fromDbase);
        }
        return result;
    }

    static bool has(const mrw::ReportLines& lines, const std::string& line) {
        const auto all = lines.lines();
        return std::find(all.begin(), all.end(), line) != all.end();
    }

    mrwtest::LoggedProgramFolder m_folder;
    mrw::LiveriesScanState m_state{std::vector<std::string>{"Do Not Use"}};
};

TEST_F(LiveriesExtraction, ModelComesFromTypeDesignatorFixesOrBaseContainer) {
    mrw::ScanReports& reports = m_state.reports;
    const fs::path cfg = "Community/pkg/aircraft.cfg";
    // The first icao_type_designator anywhere in the file counts, also one in a [fltsim.N] section.
    EXPECT_EQ(mrw::gf_modelFromCfg(cfg, {"[General]", "[fltsim.0]", "icao_type_designator=b738"}, reports),
              "B738");
    EXPECT_EQ(mrw::gf_modelFromCfg(cfg, {"icao_type_designator=B73H"}, reports), "B738");
    EXPECT_EQ(
        reports.fixLines.lines(),
        std::vector<std::string>{"Model fix: B73H found in Community/pkg/aircraft.cfg changed into B738"});
    // The first known container counts; A20N is neither in the database nor fixed.
    EXPECT_EQ(mrw::gf_modelFromCfg(cfg, {"base_container=..\\Unknown", "base_container=..\\Asobo_A320_NEO"},
                                   reports),
              "");
    EXPECT_EQ(reports.invalidModelLines.lines(),
              std::vector<std::string>{"A20N             in Community/pkg/aircraft.cfg"});
    EXPECT_EQ(mrw::gf_modelFromCfg(cfg, {"base_container = \"..\\Asobo_C172sp_classic\""}, reports), "C172");
    EXPECT_EQ(mrw::gf_modelFromCfg(cfg, {"icao_type_designator=XXXX"}, reports), "");

    // Without any model line: silent for the named packages, reported elsewhere.
    EXPECT_EQ(mrw::gf_modelFromCfg("Community/pmdg-aircraft-738/aircraft.cfg", {"title=x"}, reports), "");
    EXPECT_EQ(reports.invalidCfgFileLines.count(), 0u);
    EXPECT_EQ(mrw::gf_modelFromCfg(cfg, {"title=x"}, reports), "");
    EXPECT_EQ(
        reports.invalidCfgFileLines.lines(),
        std::vector<std::string>{
            "Line icao_type_designator= is missing in [General] section of Community/pkg/aircraft.cfg"});
}

TEST_F(LiveriesExtraction, SectionsGiveAirlineModelCargoAndRegistration) {
    const auto liveries = scan("Community/pkg", R"([General]
icao_type_designator = B738
[fltsim.0] // first
title = "  KLM Cargo  "
icao_airline = KLMC
atc_parking_types = CARGO
atc_id = PH-ABC;spare
[fltsim.1]
title=KLM Gate
icao_airline=KLM
atc_parking_types=GATE,CARGO
atc_id=PH-AAA,PH-AAB
[fltsim.2]
title=Wrong airline but known aircraft
icao_airline=EZY
atc_id=PH-BXA
[fltsim.3]
title=Private one
[fltsim.4]
title=EZY-STUB
icao_airline=EZY
atc_id=G-EZAA
[fltsim.5]
title=Has no airline line-STUB
[fltsim.6]
title=Fictional KLM
icao_airline=KLM
[fltsim.7]
title=Do Not Use
icao_airline=KLM
[fltsim.8]
title=KLM Gate
icao_airline=KLM
)");
    EXPECT_EQ(describe(liveries), (std::map<std::string, std::string>{
                                      {"KLM Cargo", "KLM,,B738,1,PH-ABC,0"},
                                      {"KLM Gate", "KLM,,B738,0,,0"},
                                      {"Wrong airline but known aircraft", "KLM,,B738,0,PH-BXA,1"},
                                      {"Private one", "PVT,,B738,0,,0"},
                                      {"EZY-STUB", "ZZZ,,B738,0,,0"},
                                      {"Has no airline line-STUB", "ZZZ,,B738,0,,0"},
                                  }));
    // The file's order, and the folder's priority.
    EXPECT_EQ(liveries.front().title, "KLM Cargo");
    EXPECT_EQ(liveries.front().priority, 1);
    const auto& incomplete = m_state.reports.incompleteSectionLines;
    EXPECT_TRUE(has(incomplete, "Community/pkg [fltsim.8] title 'KLM Gate' already exists"));
    EXPECT_TRUE(has(incomplete, "Community/pkg" + mrwtest::nativePath("/aircraft.cfg") +
                                    " [fltsim.5] icao_airline is missing, or it has invalid info "));
    EXPECT_EQ(incomplete.count(), 3u);  // fltsim.3, fltsim.5 and the repeated title
}

TEST_F(LiveriesExtraction, UnusableSectionsAreReportedAndSkipped) {
    const auto liveries = scan("Community/bad", R"(icao_type_designator=B744
[fltsim.0]
title=Unknown airline
icao_airline=XYZ
[fltsim.1]
title=Retro livery
icao_airline=RFO
[fltsim.2]
title=PMDG 737 house
icao_airline=KLM
[fltsim.3]
title=Heavy without anything
[fltsim.4]
title=Heavy with unknown reg
atc_id=N99999
[fltsim.5]
title=Two titles
title=Second
icao_airline=DLH
[fltsim.6]
icao_airline=DLH
[fltsim.7]
title=Bad atc
icao_airline=DLH
atc_id=D-AB*C
[fltsim.8]
title=Second airline
icao_airline=DLH
icao_airline=KLM
[fltsim.9]
title=Heavy with known reg
atc_id=D-ABYA
[fltsim.10]
title=Parking twice
icao_airline=DLH
atc_parking_types=GATE
atc_parking_types=CARGO
)");
    EXPECT_EQ(describe(liveries), (std::map<std::string, std::string>{
                                      {"Bad atc", "DLH,,B744,0,,0"},
                                      {"Heavy with known reg", "DLH,TRA,B744,1,D-ABYA,1"},
                                  }));
    EXPECT_EQ(m_state.reports.invalidAirlineLines.lines(),
              std::vector<std::string>{"XYZ          in Community/bad" +
                                       mrwtest::nativePath("/aircraft.cfg") + " [fltsim.0]"});
    const std::vector<std::string> expected{
        "Community/bad" + mrwtest::nativePath("/aircraft.cfg") +
            " [fltsim.0] icao_airline is missing, or it has invalid info ",
        "'Community/bad' '[fltsim.0]' has no airline and no regcode info",
        "Community/bad" + mrwtest::nativePath("/aircraft.cfg") +
            " [fltsim.1] icao_airline is missing, or it has invalid info ",
        "Community/bad" + mrwtest::nativePath("/aircraft.cfg") +
            " [fltsim.2] icao_airline is missing, or it has invalid info ",
        "Community/bad" + mrwtest::nativePath("/aircraft.cfg") +
            " [fltsim.3] icao_airline is missing, or it has invalid info ",
        "'Community/bad' '[fltsim.3]' has no airline and no regcode info",
        "Community/bad" + mrwtest::nativePath("/aircraft.cfg") +
            " [fltsim.4] icao_airline is missing, or it has invalid info ",
        "'Community/bad' '[fltsim.4]' has no airline and regcode not in dbase",
        "Community/bad [fltsim.5] has more than one title key",
        "Community/bad" + mrwtest::nativePath("/aircraft.cfg") +
            " [fltsim.5] icao_airline is missing, or it has invalid info ",
        "Community/bad [fltsim.6] misses title",
        "invalid atc_id=D-AB*C in: Bad atc",
        "Community/bad [fltsim.8] has more than one icao_airline key",
        "Community/bad" + mrwtest::nativePath("/aircraft.cfg") +
            " [fltsim.9] icao_airline is missing, or it has invalid info ",
        "Community/bad [fltsim.10] has more than one atc_parking_types key",
    };
    auto lines = m_state.reports.incompleteSectionLines.lines();
    std::sort(lines.begin(), lines.end());
    auto sortedExpected = expected;
    std::sort(sortedExpected.begin(), sortedExpected.end());
    EXPECT_EQ(lines, sortedExpected);
}

TEST_F(LiveriesExtraction, AnIncompleteSectionLeavesItsTitleToALaterCompleteOne) {
    const auto liveries = scan("Community/pkg", R"(icao_type_designator=B744
[fltsim.0]
title=Shared title
[fltsim.1]
title=Shared title
icao_airline=KLM
)");
    EXPECT_EQ(describe(liveries), (std::map<std::string, std::string>{{"Shared title", "KLM,,B744,0,,0"}}));
}

TEST_F(LiveriesExtraction, FilesThatYieldNothing) {
    // No header: listed and still given a model; a missing file: nothing and no line.
    EXPECT_TRUE(scan("Community/none", "[General]\nicao_type_designator=B738\ntitle=x\n").empty());
    EXPECT_EQ(m_state.reports.noFltsimSectionFiles.lines(),
              std::vector<std::string>{"Community/none" + mrwtest::nativePath("/aircraft.cfg")});
    EXPECT_TRUE(mrw::gf_searchLiveriesinFile(m_state, 1, "Community/missing/aircraft.cfg").empty());
    EXPECT_EQ(m_folder.logText().find("missing"), std::string::npos);
    // A header number out of range.
    EXPECT_TRUE(scan("Community/range", "icao_type_designator=B738\n[fltsim.10001]\ntitle=KLM\n").empty());
    EXPECT_EQ(m_state.reports.invalidCfgFileLines.count(), 1u);
    // UTF-16 text with a byte-order mark is read like any other.
    std::string utf16 = "\xFF\xFE";
    for (const char c :
         std::string("icao_type_designator=A320\r\n[fltsim.0]\r\ntitle=EZY 1\r\nicao_airline=EZY\r\n")) {
        utf16 += c;
        utf16 += '\0';
    }
    EXPECT_EQ(describe(scan("Community/utf16", utf16)),
              (std::map<std::string, std::string>{{"EZY 1", "EZY,,A320,0,,0"}}));
}

TEST_F(LiveriesExtraction, LongLinesAndBinaryContentNeverCrash) {
    const std::string longLine = "title=" + std::string(100 * 1024, 'K');
    const auto liveries =
        scan("Community/long", "icao_type_designator=B738\n[fltsim.0]\n" + longLine +
                                   "\nicao_airline=KLM\n[fltsim.1]\ntitle=After\nicao_airline=KLM\n");
    EXPECT_EQ(liveries.size(), 2u);
    std::string binary;
    for (int i = 0; i < 64 * 1024; ++i)
        binary.push_back(static_cast<char>((i * 131) % 256));
    EXPECT_TRUE(scan("Community/binary", binary).empty());
}

TEST_F(LiveriesExtraction, APathTheCodePageCannotHoldEndsTheFileWithALogLine) {
    // Greek letters are not in the code page.
    EXPECT_THROW(
        scan(mrw::utf8_to_path("Community/\xCE\xB1lpha"), "icao_type_designator=B738\n[fltsim.0]\ntitle=x\n"),
        std::exception);
    EXPECT_NE(m_folder.logText().find("! Exception in lf_searchLiveriesinFile Community/\xCE\xB1lpha" +
                                      mrwtest::nativePath("/aircraft.cfg")),
              std::string::npos);
    // The same without a report line is read: the conversion is made only for report lines.
    EXPECT_EQ(scan(mrw::utf8_to_path("Community/\xCE\xB2"
                                     "eta"),
                   "icao_type_designator=B738\n[fltsim.0]\ntitle=x\nicao_airline=KLM\n")
                  .size(),
              1u);
}

}  // namespace
