#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "aircraft/code_tables.h"
#include "aircraft/livery_catalogue.h"
#include "aircraft/livery_catalogue_internal.h"
#include "aircraft/livery_data.h"
#include "aircraft/regcode_store.h"
#include "catalogue_test_fixture.h"
#include "foundation/file_names.h"
#include "foundation/user_error_exception.h"
#include "foundation/window_model.h"

namespace {

using mrw::TitleView;
using mrwtest::airlineIndex;
using mrwtest::modelIndex;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

std::vector<std::string> texts(const std::vector<TitleView>& views) {
    return {views.begin(), views.end()};
}

const std::vector<TitleView>& rowTitles(int row, const char* key, const char* model) {
    return mrw::g_airlineModelTitles()[row].at(airlineIndex(key)).at(modelIndex(model));
}

class CatalogueBuildTest : public mrwtest::CatalogueTest {};

TEST_F(CatalogueBuildTest, IndexesOfTheFullFixture) {
    buildCatalogue();
    EXPECT_TRUE(mrw::g_liveriesProcessed.load());
    EXPECT_TRUE(mrw::g_scannedLiveries().empty());
    EXPECT_EQ(mrw::g_mainWindow().liveriesCount.load(), 36u);

    // Operated liveries go under the combined key, which becomes an airline code.
    ASSERT_TRUE(mrw::g_airlineCodes().find("DALSKW").has_value());
    const mrw::CodeIndex dalskw = airlineIndex("DALSKW");
    EXPECT_TRUE(mrw::gf_hasLivery(dalskw, modelIndex("CRJ9")));
    EXPECT_FALSE(mrw::gf_hasLivery(airlineIndex("DAL"), modelIndex("CRJ9")));
    EXPECT_TRUE(mrw::gf_hasLivery(airlineIndex("DAL"), modelIndex("CRJ7")));
    EXPECT_EQ(mrw::g_catalogueTitles().size(), 12u);

    // Each row of an airline holds only its own titles, in scanned (title) order.
    EXPECT_THAT(texts(rowTitles(0, "DLH", "B744")), ElementsAre("Lufthansa B744 D-ABVM"));
    EXPECT_THAT(texts(rowTitles(1, "DLH", "B744")), ElementsAre("Lufthansa Cargo B744"));
    EXPECT_THAT(texts(rowTitles(0, "AAL", "A321")),
                ElementsAre("American Airlines A321 N101AA", "American Airlines A321 N102AA",
                            "American Airlines A321 retro"));
    EXPECT_FALSE(mrw::g_airlineModelTitles()[0].contains(airlineIndex("FDX")));
    EXPECT_FALSE(mrw::g_airlineModelTitles()[1].contains(airlineIndex("AAL")));
    EXPECT_FALSE(mrw::g_airlineModelTitles()[0].at(airlineIndex("DLH")).contains(modelIndex("B77L")));

    // Pools span every key, generic and private ones included, ascending by title.
    const auto& pax = mrw::g_modelTitlePools()[0];
    const auto& cargo = mrw::g_modelTitlePools()[1];
    EXPECT_EQ(pax.size(), 16u);
    EXPECT_EQ(cargo.size(), 3u);
    EXPECT_THAT(texts(pax.at(modelIndex("C172"))),
                ElementsAre("Generic C172", "Private C172 Alpha", "Private C172 Blue D-EABC",
                            "Private C172 Green N172SP", "Private C172 Red OE-KAB"));
    EXPECT_THAT(texts(cargo.at(modelIndex("B77L"))), ElementsAre("FedEx B77L", "FedEx B77L N850FD"));
    EXPECT_FALSE(pax.contains(modelIndex("B77L")));

    EXPECT_EQ(mrw::g_lightModels(),
              (std::vector<mrw::CodeIndex>{modelIndex("C172"), modelIndex("PA28"), modelIndex("SR22")}));
    EXPECT_EQ(mrw::g_buzjetModels(), (std::vector<mrw::CodeIndex>{modelIndex("CL35"), modelIndex("C680")}));
    EXPECT_EQ(mrw::g_rotorcraftModels(),
              (std::vector<mrw::CodeIndex>{modelIndex("EC35"), modelIndex("R44")}));

    // In-line registrations, both ways.
    EXPECT_EQ(mrw::g_regcodeTitles().size(), 19u);
    EXPECT_EQ(mrw::g_regcodeTitles().at("D-EABC"), "Private C172 Blue D-EABC");
    EXPECT_EQ(mrw::g_titleRegcodes().at("Private C172 Blue D-EABC"), "D-EABC");
    EXPECT_FALSE(std::filesystem::exists(mrw::g_inlineRegcodesFile));
}

TEST_F(CatalogueBuildTest, StartUpLogLines) {
    buildCatalogue();
    const std::vector<std::string> lines = mrwtest::logLinesWithoutSettings(folder.logText());
    const auto first = std::find(lines.begin(), lines.end(), "   19 registration codes");
    ASSERT_NE(first, lines.end()) << folder.logText();
    const std::vector<std::string> block(first, lines.end());
    EXPECT_THAT(
        block,
        ElementsAre(
            "   19 registration codes", "   12 airlines, 16 pax aircraft models and 3 cargo aircraft models",
            "    8 similar model definitions", " ", "Category Light: 7 pax liveries", "  C172,PA28,SR22",
            "Category Buzjets: 2 pax liveries", "  CL35,C680",
            "Category Large: 19 pax liveries and 1 cargo livery", "  A320,A321,B738,CRJ2,CRJ7,CRJ9,E175",
            "Category Heavy: 2 pax liveries and 3 cargo liveries", "  B744,B77L,B77W",
            "Category HighPerf: No livery found",
            "HIGH_PERF_AIRCRAFT temporarily switched off because you do not have High Perf aircraft "
            "installed",
            "Category Rotorcraft: 2 pax liveries", "  EC35,R44", "3 models have a generic livery",
            "  A320,B738,C172"));
}

TEST_F(CatalogueBuildTest, SecondStartUpKeepsTheIndexes) {
    buildCatalogue();
    const TitleView before = mrw::lf_findCatalogueTitle("Delta A321");
    mrw::g_scannedLiveries().push_back(mrw::LiveryData{"Stale", "", {}, 0});

    mrw::gf_processScannedLiveries();

    EXPECT_THAT(folder.logText(),
                HasSubstr("Processing scanned liveries skipped; already done in previous start-up\n"));
    EXPECT_TRUE(mrw::g_scannedLiveries().empty());
    EXPECT_EQ(mrw::lf_findCatalogueTitle("Delta A321").data(), before.data());
    EXPECT_EQ(mrw::g_catalogueTitles().size(), 12u);
}

// The hash lookup gives the very title the walk over keys, models and titles finds first.
TEST_F(CatalogueBuildTest, FindingATitleMatchesTheWalkOverTheCatalogue) {
    std::vector<mrwtest::FixtureLivery> liveries = mrwtest::fixtureLiveries();
    liveries.push_back({"AAL", "", "A320", false, "Shared Title", ""});
    liveries.push_back({"BAW", "", "B744", true, "Shared Title", ""});
    liveries.push_back({"DAL", "SKW", "E175", false, "Shared Title", ""});
    buildCatalogue(liveries);

    auto walk = [](std::string_view text) -> TitleView {
        for (const auto& [key, models] : mrw::g_catalogueTitles()) {
            for (const auto& [model, titles] : models) {
                for (const mrw::CatalogueTitle& title : titles) {
                    if (title.titleText == text) return title.titleText;
                }
            }
        }
        return {};
    };
    for (const char* text : {"Shared Title", "Delta A321", "Private R44 G-OHEL", "FSLTL_RYR_B738 Ryanair"}) {
        const TitleView found = mrw::lf_findCatalogueTitle(text);
        EXPECT_EQ(found, text);
        EXPECT_EQ(found.data(), walk(text).data()) << text;
    }
    EXPECT_TRUE(mrw::lf_findCatalogueTitle("Not installed").empty());
    EXPECT_TRUE(mrw::lf_findCatalogueTitle("Delta A32").empty());
}

TEST_F(CatalogueBuildTest, FailedReadingBuildsNothing) {
    EXPECT_THROW(mrw::gf_processScannedLiveries(), mrw::UserErrorException);
    EXPECT_FALSE(mrw::g_liveriesProcessed.load());
    EXPECT_TRUE(mrw::g_catalogueTitles().empty());
}

}  // namespace
