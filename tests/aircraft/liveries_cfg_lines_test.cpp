// The aircraft.cfg line readers, the section number check and the section cutter.

#include "aircraft/aircraft_cfg_lines.h"
#include "aircraft/fltsim_sections.h"
#include "aircraft_test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using mrw::ScanReports;

struct TextCase {
    std::string line;
    bool found;
    std::string value;
};

TEST(LiveriesCfgLines, TitleReaderFollowsTheKeyPatternAndTheValueRule) {
    const std::vector<TextCase> cases{
        {"title=Boeing 737 KLM", true, "Boeing 737 KLM"},
        {"  TITLE  =  Airbus A320  ", true, "Airbus A320"},
        {"Title=\"A320 EasyJet\" ; the livery", true, "A320 EasyJet"},
        {"title=\"first\" \"second\"", true, "first"},
        {"title=x\"quoted\"y", true, "quoted"},
        {"title=\"no closing quote", false, ""},
        {"title=\"\"", false, ""},
        {"title=", false, ""},
        {"title=   ", false, ""},
        {"ui_title=Boeing", false, ""},
        {"title_x=Boeing", false, ""},
        {"titel=Boeing", false, ""},
        {"title Boeing", false, ""},
        {"title=A\rB", false, ""},
    };
    for (const auto& c : cases) {
        std::string out = "untouched";
        EXPECT_EQ(mrw::gf_cfgTitle(c.line, out), c.found) << c.line;
        EXPECT_EQ(out, c.found ? c.value : std::string("untouched")) << c.line;
    }
}

TEST(LiveriesCfgLines, AtcIdNeedsFiveCharactersAndAirlineKnowsZzz) {
    std::string out;
    EXPECT_FALSE(mrw::gf_cfgAtcId("atc_id=ABCD", out));
    EXPECT_TRUE(mrw::gf_cfgAtcId("atc_id = PH-BXA", out));
    EXPECT_EQ(out, "PH-BXA");

    const std::vector<TextCase> airlines{
        {"icao_airline=klm", true, "KLM"},   {"icao_airline=ZZZZ", true, "ZZZ"},
        {"icao_airline=zzzz", true, "ZZZZ"}, {"icao_airline=\"\"", true, "ZZZ"},
        {"icao_airline=", false, ""},        {"atc_airline=KLM", false, ""},
    };
    for (const auto& c : airlines) {
        std::string value = "untouched";
        EXPECT_EQ(mrw::gf_cfgIcaoAirline(c.line, value), c.found) << c.line;
        if (c.found) {
            EXPECT_EQ(value, c.value) << c.line;
        }
    }
}

TEST(LiveriesCfgLines, TypeDesignatorAndBaseContainerGiveModelCodes) {
    EXPECT_EQ(mrw::gf_cfgIcaoTypeDesignator("icao_type_designator = B737-800"), "B737");
    EXPECT_EQ(mrw::gf_cfgIcaoTypeDesignator("icao_type_designator=\"b38m\""), "B38M");
    EXPECT_EQ(mrw::gf_cfgIcaoTypeDesignator("icao_type_designator="), "");
    EXPECT_EQ(mrw::gf_cfgIcaoTypeDesignator("title=B738"), "");

    EXPECT_EQ(mrw::gf_cfgBaseContainer("base_container = \"..\\Asobo_A320_NEO\""), "A20N");
    EXPECT_EQ(mrw::gf_cfgBaseContainer("base_container=..\\FlyByWire_A320_NEO"), "A20N");
    EXPECT_EQ(mrw::gf_cfgBaseContainer("base_container=..\\asobo_a320_neo"), "");  // exact, with case
    EXPECT_EQ(mrw::gf_cfgBaseContainer("base_container=..\\Unknown_Plane"), "");
    EXPECT_EQ(mrw::gf_cfgBaseContainer("base_container=abc"), "");
}

TEST(LiveriesCfgLines, SectionHeadersAndDamagedHeaders) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"[fltsim.0]", "0"},     {"  [FltSim.12]  ", "12"},
        {"[FLTSIM.7]", "7"},     {"[fltsim.3] // comment", "10000"},
        {"[fltsim.x]", "10000"}, {"xx [FLTSIM.2", "10000"},
        {"[FltSim.x]", ""},      {"//[fltsim.1]", ""},
        {"[General]", ""},       {"title=[fltsim.1]", "10000"},
    };
    for (const auto& [line, number] : cases)
        EXPECT_EQ(mrw::gf_cfgFltsimNumber(line), number) << line;
    EXPECT_TRUE(mrw::gf_isAtcIdLine("  atc_id=ABC"));
    EXPECT_FALSE(mrw::gf_isAtcIdLine("atc_id = ABC"));
    EXPECT_TRUE(mrw::gf_isAtcParkingTypesLine("atc_parking_types = GATE"));
}

TEST(LiveriesCfgLines, VeryLongAndBinaryLinesAreReadSafely) {
    // A matcher that recursed per character would overflow the stack on these.
    const std::string longValue(100 * 1024, 'x');
    std::string out;
    EXPECT_TRUE(mrw::gf_cfgTitle("title=" + longValue, out));
    EXPECT_EQ(out.size(), longValue.size());
    EXPECT_EQ(mrw::gf_cfgFltsimNumber("[fltsim." + std::string(100 * 1024, '1') + "]").size(), 100u * 1024u);
    std::string binary;
    for (int i = 0; i < 100 * 1024; ++i)
        binary.push_back(static_cast<char>(i * 7 % 256));
    EXPECT_FALSE(mrw::gf_cfgAtcId(binary, out));
    EXPECT_EQ(mrw::gf_cfgIcaoTypeDesignator(binary), "");
}

TEST(LiveriesCfgLines, NumberCheckAcceptsRangeAndReportsTheRest) {
    mrwtest::LoggedProgramFolder folder;
    const std::filesystem::path cfg = "pkg/aircraft.cfg";
    {
        ScanReports reports;
        EXPECT_TRUE(mrw::gf_checkFltsimNumbers({"[fltsim.10000]", "[fltsim.3]", "[fltsim.3]"}, cfg, reports));
        EXPECT_EQ(reports.invalidCfgFileLines.count() + reports.noFltsimSectionFiles.count(), 0u);
    }
    {
        ScanReports reports;
        EXPECT_FALSE(mrw::gf_checkFltsimNumbers({"[fltsim.0]", "[fltsim.10001]"}, cfg, reports));
        EXPECT_EQ(reports.invalidCfgFileLines.lines(),
                  std::vector<std::string>{
                      "pkg/aircraft.cfg contains a [fltsim.x] section with a number < 0 or > 10000"});
    }
    {
        ScanReports reports;
        EXPECT_TRUE(mrw::gf_checkFltsimNumbers({"[General]", "title=x"}, cfg, reports));
        EXPECT_EQ(reports.noFltsimSectionFiles.lines(), std::vector<std::string>{"pkg/aircraft.cfg"});
    }
    {
        ScanReports reports;
        EXPECT_FALSE(mrw::gf_checkFltsimNumbers({"[fltsim.12345678901]"}, cfg, reports));
        EXPECT_EQ(reports.invalidCfgFileLines.count(), 0u);
    }
    EXPECT_NE(folder.logText().find("==> fltsim num [fltsim.12345678901] incorrect"), std::string::npos);
}

TEST(LiveriesCfgLines, SectionsAreCutAtHeadersAndOtherSections) {
    const mrw::CfgLines lines{"[General]",     "icao_type_designator=B738",
                              "[fltsim.0] ;c", "title=A",
                              "  [flaps.0]",   "title=dropped",
                              "[fltsim.1]",    "title=B",
                              "      [x] far", "//[fltsim.2]",
                              "title=C"};
    std::vector<mrw::CfgLines> generic, ivao;
    mrw::gf_forEachFltsimSection(lines, false, [&](mrw::CfgLines& s) { generic.push_back(s); });
    mrw::gf_forEachFltsimSection(lines, true, [&](mrw::CfgLines& s) { ivao.push_back(s); });
    // A '[' beyond position 5 does not end a generic section; a commented-out header does.
    EXPECT_EQ(generic, (std::vector<mrw::CfgLines>{{"[fltsim.0] ;c", "title=A"},
                                                   {"[fltsim.1]", "title=B", "      [x] far"}}));
    EXPECT_EQ(ivao, (std::vector<mrw::CfgLines>{{"[fltsim.0] ;c", "title=A"}, {"[fltsim.1]", "title=B"}}));

    mrw::CfgLines section{"[fltsim.0]", "title=A", "", "// end", ""};
    mrw::gf_dropTrailingComments(section);
    EXPECT_EQ(section, (mrw::CfgLines{"[fltsim.0]", "title=A"}));
}

TEST(LiveriesCfgLines, AtcIdValuesAreJudgedPartByPart) {
    struct Case {
        std::string value;
        bool valid;
        std::string registration;
    };
    const std::vector<Case> cases{
        {"PH-BXA", true, "PH-BXA"},
        {"PH-BXA,PH-BXB", true, ""},
        {",PH-BXA", false, ""},
        {"PH-BXA, ", false, ""},
        {"PH-BXA,*", false, ""},
        {"ABCDEFGHIJKLM", false, ""},
        {"ABCDEFGHIJKL", true, "ABCDEFGHIJKL"},
        {"PH-BXA, ,X", false, ""},
    };
    for (const auto& c : cases) {
        std::string registration = "old";
        EXPECT_EQ(mrw::gf_atcIdRegistration(c.value, registration), c.valid) << c.value;
        if (c.valid) {
            EXPECT_EQ(registration, c.registration) << c.value;
        }
    }
}

}  // namespace
