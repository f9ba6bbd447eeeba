#include "aircraft/dbase_lookups.h"
#include "aircraft/aircraft_database.h"
#include "aircraft/code_tables.h"
#include "aircraft/publishers.h"
#include "aircraft/wingspans.h"

#include "aircraft_test_support.h"

#include <fmt/format.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <string>
#include <vector>

namespace {

using mrw::AcDesignation;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

class DbaseLookupsTest : public ::testing::Test {
  protected:
    void SetUp() override { mrwtest::resetAircraftData(); }
    void TearDown() override { mrwtest::resetAircraftData(); }

    // Records sorted by registration, as the reader leaves them; each with its own model index.
    static void setRecords(const std::vector<std::string>& registrations) {
        mrw::CodeIndex model = 1;
        for (const auto& registration : registrations) {
            mrw::g_dbaseRecords().push_back({registration, AcDesignation{1, 0, model++, 0, 1}});
        }
    }
};

TEST_F(DbaseLookupsTest, RegistrationVariants) {
    const std::vector<std::pair<std::string, std::vector<std::string>>> cases{
        {"PHBXA", {"PH-BXA", "P-HBXA", "PHBXA"}},
        {"DABCD", {"DA-BCD", "D-ABCD", "DABCD"}},
        {"D-ABCD", {"D-ABCD"}},  // has a hyphen
        {"N12345", {"N12345"}},  // US registrations have none
        {"ABCD", {"ABCD"}},      // too short
        {"", {""}},
    };
    for (const auto& [registration, variants] : cases) {
        EXPECT_EQ(mrw::gf_registrationVariants(registration), variants) << registration;
    }
}

TEST_F(DbaseLookupsTest, FindRecordTriesTheVariantsInOrder) {
    setRecords({"D-ABCD", "DABCD", "N123AB", "PH-BXA"});
    const std::vector<std::pair<std::string, std::optional<mrw::CodeIndex>>> cases{
        {"PH-BXA", 4},      {"PHBXA", 4},
        {"DABCD", 1},  // 'D-ABCD' is tried before 'DABCD'
        {"N123AB", 3},      {"N123A", std::nullopt},
        {"", std::nullopt}, {"ph-bxa", std::nullopt},
    };
    for (const auto& [registration, model] : cases) {
        const auto found = mrw::gf_findDbaseRecord(registration);
        EXPECT_EQ(found.has_value(), model.has_value()) << registration;
        if (found && model) {
            EXPECT_EQ(found->model, *model) << registration;
            EXPECT_EQ(found->fromDbase, 1);
        }
    }
}

TEST_F(DbaseLookupsTest, FindKeyInTextTakesShortKeysInRecordOrder) {
    setRecords({"A-BCD", "D-ABC", "D-ABCE", "LONGER"});
    EXPECT_EQ(mrw::gf_findKeyInText("Air Example D-ABCE"), "D-ABC");  // never the 6-character record
    EXPECT_EQ(mrw::gf_findKeyInText("D-ABC and A-BCD"), "A-BCD");     // first in byte order
    EXPECT_EQ(mrw::gf_findKeyInText("Air Example d-abce"), std::nullopt);
    EXPECT_EQ(mrw::gf_findKeyInText("D-AB"), std::nullopt);
    EXPECT_EQ(mrw::gf_findKeyInText(""), std::nullopt);
}

TEST_F(DbaseLookupsTest, KnownCodesAreExact) {
    mrw::g_icaoModels() = {"A320", "B738"};
    mrw::g_icaoAirlines() = {"KLM"};
    EXPECT_TRUE(mrw::gf_isKnownModel("A320"));
    EXPECT_FALSE(mrw::gf_isKnownModel("a320"));
    EXPECT_FALSE(mrw::gf_isKnownModel(""));
    EXPECT_FALSE(mrw::gf_isKnownModel("KLM"));
    EXPECT_TRUE(mrw::gf_isKnownAirline("KLM"));
    EXPECT_FALSE(mrw::gf_isKnownAirline(""));
    EXPECT_FALSE(mrw::gf_isKnownAirline("B738"));
}

TEST_F(DbaseLookupsTest, WingspansSectionKeepsFirstValueAndLargestMaximum) {
    mrwtest::LoggedProgramFolder folder;
    mrw::g_icaoModels() = {"A320", "B738", "B744"};
    mrw::gf_modelIndex("");
    pugi::xml_document document;
    ASSERT_TRUE(document.load_string(R"(<wingspans>
        <wingspan type="B738" meters="35.8"/>
        <wingspan type="B738" meters="40"/>
        <wingspan type="A320" meters="36"/>
        <wingspan type="XXXX" meters="50"/>
        <wingspan meters="50"/>
        <wingspan type="B744" meters="-64"/>
        <wingspan type="B744"/>
    </wingspans>)"));

    mrw::gf_readWingspansSection(document.child("wingspans"));

    const double k = mrw::kNmPerMetre;
    EXPECT_DOUBLE_EQ(mrw::gf_halfWingspanNm(mrw::gf_modelIndex("B738")), 35.8 * 0.5 * k);
    EXPECT_DOUBLE_EQ(mrw::gf_halfWingspanNm(mrw::gf_modelIndex("A320")), 36 * 0.5 * k);
    EXPECT_DOUBLE_EQ(mrw::g_maxHalfWingspan.load(), 40 * 0.5 * k);
    EXPECT_EQ(mrw::gf_halfWingspanNm(mrw::gf_modelIndex("B744")), 0.0);  // missing meters read as 0
    EXPECT_EQ(mrw::gf_halfWingspanNm(0), 0.0);
    EXPECT_EQ(mrw::g_wingspanList().size(), 3u);

    const std::string log = folder.logText();
    EXPECT_THAT(log, HasSubstr("==> wingspan model XXXX is not valid, skipped\n"));
    EXPECT_THAT(log, HasSubstr("==> wingspan model  is not valid, skipped\n"));
    EXPECT_THAT(log, HasSubstr("==> wingspan -64 of model B744 is not valid, skipped\n"));
}

TEST_F(DbaseLookupsTest, ModelsBeyondTheWingspanTableGetThirtyFiveMetres) {
    mrwtest::LoggedProgramFolder folder;
    for (std::size_t i = 0; i <= mrw::kHalfWingspanCount; ++i)
        mrw::gf_modelIndex(fmt::format("M{}", i));
    mrw::gf_fillWingspans("M2700", 0.01);
    mrw::gf_fillWingspans("M2699", 0.02);

    EXPECT_DOUBLE_EQ(mrw::gf_halfWingspanNm(2700), 35 * 0.0005399568034557236);
    EXPECT_DOUBLE_EQ(mrw::gf_halfWingspanNm(2699), 0.02);
    const std::string log = folder.logText();
    EXPECT_THAT(log, HasSubstr("==> wsp fill what: invalid array<T, N> subscript\n"));
    EXPECT_THAT(log, HasSubstr("\nhwsp: 2700 what: invalid array<T, N> subscript\n"));
}

TEST_F(DbaseLookupsTest, PublisherOfPathMatchesNamesIgnoringCase) {
    mrw::g_publisherGroups() = {{"BetaSim", "BS-Scenery"}, {"Orbx", "OrbxDirect"}};
    const std::vector<std::pair<std::string, std::optional<std::string>>> cases{
        {"Community/betasim-eham-amsterdam", "BetaSim"},
        {"Community/bs-scenery-egll", "BetaSim"},
        {"Community/orbxdirect-ybbn", "Orbx"},
        {"Community/other-kjfk", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [path, publisher] : cases)
        EXPECT_EQ(mrw::gf_publisherOfPath(path), publisher) << path;

    EXPECT_TRUE(mrw::gf_containsNoCase("Community/ABC-def", "DEF"));
    EXPECT_TRUE(mrw::gf_containsNoCase("Community/x", ""));
    EXPECT_FALSE(
        mrw::gf_containsNoCase("Community/\xC3\x89t\xC3\xA9", "\xC3\xA9T\xC3\xA9"));  // only A-Z fold
    EXPECT_FALSE(mrw::gf_containsNoCase("ab", "abc"));
}

TEST_F(DbaseLookupsTest, ThirdPartyAirportsSearchEveryEntryOfThePublisher) {
    mrw::g_thirdParties20() = {{"Orbx", {"EGLL"}}, {"Other", {"EHAM"}}, {"Orbx", {"EHAM", "LFPG"}}};
    mrw::g_thirdParties24() = {{"Orbx", {"KJFK"}}};
    EXPECT_TRUE(mrw::gf_isThirdPartyAirport(true, "Orbx", "EHAM"));
    EXPECT_TRUE(mrw::gf_isThirdPartyAirport(true, "Orbx", "EGLL"));
    EXPECT_FALSE(mrw::gf_isThirdPartyAirport(true, "orbx", "EHAM"));
    EXPECT_FALSE(mrw::gf_isThirdPartyAirport(true, "Orbx", "KJFK"));
    EXPECT_FALSE(mrw::gf_isThirdPartyAirport(false, "Orbx", "EHAM"));
    EXPECT_TRUE(mrw::gf_isThirdPartyAirport(false, "Orbx", "KJFK"));
}

}  // namespace
