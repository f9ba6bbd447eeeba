#include "aircraft/similar_models.h"
#include "aircraft/aircraft_database.h"
#include "aircraft/code_tables.h"
#include "aircraft/livery_catalogue.h"

#include "aircraft_test_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using mrw::CodeIndex;
using mrw::ModelList;
using ::testing::HasSubstr;
using ::testing::UnorderedElementsAre;

CodeIndex model(const char* code) {
    return mrw::gf_modelIndex(code);
}
CodeIndex airline(const char* code) {
    return mrw::gf_airlineIndex(code);
}

// One livery of the airline and model in the catalogue and in the model's pool of its row.
void addLivery(const char* airlineCode, const char* modelCode, bool cargo) {
    auto& titles = mrw::g_catalogueTitles()[airline(airlineCode)][model(modelCode)];
    titles.push_back({std::string(airlineCode) + " " + modelCode, cargo});
    mrw::g_modelTitlePools()[cargo ? 1 : 0][model(modelCode)].push_back("title");
}

class SimilarModelsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        mrwtest::resetAircraftData();
        mrw::gf_modelIndex("");
        mrw::gf_airlineIndex("");
    }
    void TearDown() override { mrwtest::resetAircraftData(); }
    mrwtest::LoggedProgramFolder folder;
};

TEST_F(SimilarModelsTest, GroupsKeepOnlyMembersWithLiveriesPerModelAndPerAirline) {
    mrw::g_similarTypeGroups() = {{"A319", "A320", "A321"}, {"B738"}, {"E170", "E175"}};
    addLivery("DLH", "A321", false);
    addLivery("AFR", "A320", true);  // a cargo pool counts as well

    mrw::gf_buildSimilarModels();

    const auto& similar = mrw::g_similarModels();
    EXPECT_EQ(similar.size(), 3u);
    EXPECT_EQ(similar.at(model("A319")), (ModelList{model("A320"), model("A321")}));
    EXPECT_EQ(similar.at(model("A320")), ModelList{model("A321")});
    EXPECT_EQ(similar.at(model("A321")), ModelList{model("A320")});
    // Members of larger groups are interned even without liveries; lone members give nothing.
    EXPECT_TRUE(mrw::g_modelCodes().find("E175").has_value());
    EXPECT_FALSE(similar.contains(model("B738")));
    EXPECT_FALSE(similar.contains(model("E170")));

    const auto& perAirline = mrw::g_airlineSimilarModels();
    ASSERT_TRUE(perAirline.contains(airline("DLH")));
    const auto& dlh = perAirline.at(airline("DLH"));
    EXPECT_EQ(dlh.size(), 2u);
    EXPECT_EQ(dlh.at(model("A319")), ModelList{model("A321")});
    EXPECT_EQ(dlh.at(model("A320")), ModelList{model("A321")});

    const auto& afr = perAirline.at(airline("AFR"));
    EXPECT_FALSE(afr.contains(model("A320")));  // AFR has A320 liveries of its own
    EXPECT_EQ(afr.at(model("A319")), ModelList{model("A320")});
    EXPECT_EQ(afr.at(model("A321")), ModelList{model("A320")});

    EXPECT_THAT(folder.logText(), HasSubstr("\n    3 similar model definitions\n"));
}

TEST_F(SimilarModelsTest, GroupWithoutOtherLiveriesAddsNothing) {
    mrw::g_similarTypeGroups() = {{"A319", "A320", "A321"}};
    addLivery("DLH", "B738", false);

    mrw::gf_buildSimilarModels();

    EXPECT_TRUE(mrw::g_similarModels().empty());
    EXPECT_TRUE(mrw::g_airlineSimilarModels().empty());
    EXPECT_THAT(folder.logText(), HasSubstr("    0 similar model definitions"));
}

TEST_F(SimilarModelsTest, RebuildAfterRescanKeepsEarlierEntries) {
    mrw::g_similarTypeGroups() = {{"A319", "A320", "A321"}};
    addLivery("DLH", "A321", false);
    mrw::gf_buildSimilarModels();

    // The catalogue is emptied and built again from a rescan that found only A319 liveries.
    mrw::g_catalogueTitles().clear();
    for (auto& pool : mrw::g_modelTitlePools())
        pool.clear();
    addLivery("DLH", "A319", false);
    mrw::gf_buildSimilarModels();

    const auto& similar = mrw::g_similarModels();
    EXPECT_EQ(similar.at(model("A319")), ModelList{model("A321")});  // kept from the first build
    EXPECT_EQ(similar.at(model("A320")), ModelList{model("A321")});  // kept from the first build
    EXPECT_EQ(similar.at(model("A321")), ModelList{model("A319")});  // new
    // DLH was entered by the first build and keeps that map.
    EXPECT_THAT(mrw::g_airlineSimilarModels().at(airline("DLH")),
                UnorderedElementsAre(::testing::Pair(model("A319"), ModelList{model("A321")}),
                                     ::testing::Pair(model("A320"), ModelList{model("A321")})));
}

}  // namespace
