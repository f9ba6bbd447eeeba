#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fmt/format.h>

#include <string>
#include <vector>

#include "aircraft/aircraft_texts.h"
#include "aircraft/failed_liveries.h"
#include "aircraft/livery_matching.h"
#include "airports/stand.h"
#include "catalogue_test_fixture.h"
#include "config/parameter_catalogue.h"

namespace {

using mrwtest::makeAircraft;
using ::testing::HasSubstr;

mrw::Stand makeStand(const char* id, bool cargo) {
    return mrw::Stand({}, id, 52.3, 4.76, 0.0, 40.0, 0, cargo, false, false);
}

class StaticMatchingTest : public mrwtest::CatalogueTest {
  protected:
    void SetUp() override {
        CatalogueTest::SetUp();
        buildCatalogue();
        mergeFixtureSpecials();
    }
};

TEST_F(StaticMatchingTest, StepsAndTheStandsCargoFlag) {
    struct Case {
        const char* name;
        const char* airline;
        const char* model;
        bool cargo;
        const char* registration;
        bool cargoStand;
        const char* title;
        const char* step;
    };
    const Case cases[] = {
        {"registration", "AAL", "A321", false, "N101AA", false, "American Airlines A321 N101AA", "1"},
        {"unique registration", "AAL", "A321", false, "N103AA", true, "American Airlines A321 retro", "0"},
        {"passenger aircraft on a cargo stand", "AAL", "A321", false, "", true,
         "American Airlines A321 N101AA", "2"},
        {"private aircraft on a cargo stand", "PVT", "B738", false, "", true, "Generic B738 Freighter", "4"},
        {"private aircraft on a passenger stand", "PVT", "B738", false, "", false, "Generic B738", "4"},
        {"generic on a cargo stand", "KLM", "B738", false, "", true, "Generic B738 Freighter", "4"},
        {"generic on a passenger stand", "KLM", "B738", false, "", false, "Generic B738", "4"},
        {"similar model", "BAW", "A319", false, "", true, "British Airways A320", "3"},
        {"model pool stays passenger on a cargo stand", "ABC", "PA28", false, "HB-ABC", true,
         "Private PA28 HB-PQA", "5"},
        {"pool of a similar model", "ABC", "C182", false, "OE-DEF", false, "Private C172 Red OE-KAB", "6"},
    };
    for (const Case& c : cases) {
        mrw::AcProfile aircraft = makeAircraft(c.airline, "", c.model, c.cargo, c.registration);
        EXPECT_TRUE(mrw::gf_matchStaticAcLivery(aircraft, makeStand("A12", c.cargoStand))) << c.name;
        EXPECT_EQ(aircraft.liveryTitle, c.title) << c.name;
        EXPECT_FALSE(aircraft.fsltlLivery) << c.name;
        EXPECT_THAT(folder.logText(), HasSubstr(fmt::format("          {} ={}= {}\n",
                                                            mrw::gf_aircraftText(aircraft), c.step, c.title)))
            << c.name;
    }
    // Static matches are not counted.
    for (const int n : mrw::g_matchStepCounts)
        EXPECT_EQ(n, 0);
}

TEST_F(StaticMatchingTest, KeptTitleNoMatchAndRefusedTitles) {
    mrw::AcProfile kept = makeAircraft("AAL", "", "A321", false, "N101AA");
    kept.liveryTitle = "Delta A321";
    EXPECT_TRUE(mrw::gf_matchStaticAcLivery(kept, makeStand("A1", false)));
    EXPECT_EQ(kept.liveryTitle, "Delta A321");
    EXPECT_THAT(folder.logText(),
                HasSubstr(fmt::format("          {} =s= Delta A321\n", mrw::gf_aircraftText(kept))));

    mrw::AcProfile heavy = makeAircraft("KLM", "", "B744", false, "PH-BFA", "KLM685");
    EXPECT_FALSE(mrw::gf_matchStaticAcLivery(heavy, makeStand("E17", false)));
    EXPECT_TRUE(heavy.liveryTitle.empty());
    EXPECT_THAT(folder.logText(), HasSubstr(fmt::format("E17     : {} no livery match ...\n",
                                                        mrw::gf_callsignRegDesignationText(heavy))));

    // A refused title gives way to the next step: FSLTL first in its list, then the generic one.
    mrw::g_failedTitles().insert("FSLTL_RYR_B738 Ryanair");
    mrw::AcProfile ryanair = makeAircraft("RYR", "", "B738", false, "");
    EXPECT_TRUE(mrw::gf_matchStaticAcLivery(ryanair, makeStand("B2", false)));
    EXPECT_EQ(ryanair.liveryTitle, "Generic B738");
    EXPECT_FALSE(ryanair.fsltlLivery);
}

TEST_F(StaticMatchingTest, DepthOneTriesOnlyTheRegistration) {
    mrw::g_parameters().MATCHING_DEPTH.current.store(1);
    mrw::AcProfile registered = makeAircraft("AAL", "", "A321", false, "N102AA");
    EXPECT_TRUE(mrw::gf_matchStaticAcLivery(registered, makeStand("A1", false)));
    EXPECT_EQ(registered.liveryTitle, "American Airlines A321 N102AA");

    mrw::AcProfile unregistered = makeAircraft("AAL", "", "A321", false, "N555ZZ", "AAL100");
    EXPECT_FALSE(mrw::gf_matchStaticAcLivery(unregistered, makeStand("A2", false)));
    EXPECT_THAT(folder.logText(), HasSubstr(fmt::format("A2      : {} no livery match ...\n",
                                                        mrw::gf_callsignRegDesignationText(unregistered))));
}

}  // namespace
