#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fmt/format.h>

#include <set>
#include <string>
#include <vector>

#include "aircraft/aircraft_texts.h"
#include "aircraft/failed_liveries.h"
#include "aircraft/livery_catalogue.h"
#include "aircraft/livery_matching.h"
#include "catalogue_test_fixture.h"
#include "config/parameter_catalogue.h"

namespace {

using mrwtest::makeAircraft;
using ::testing::HasSubstr;

struct LiveCase {
    const char* name;
    const char* airline;
    const char* operatorCode;
    const char* model;
    bool cargo;
    const char* registration;
    const char* title;  // empty: no livery
    int step;           // -1 without a livery
};

class LiveMatchingTest : public mrwtest::CatalogueTest {
  protected:
    void SetUp() override {
        CatalogueTest::SetUp();
        buildCatalogue();
        mergeFixtureSpecials();
    }

    void expectCases(const std::vector<LiveCase>& cases) {
        for (const LiveCase& c : cases) {
            const auto countsBefore = mrw::g_matchStepCounts;
            mrw::AcProfile aircraft =
                makeAircraft(c.airline, c.operatorCode, c.model, c.cargo, c.registration);
            mrw::gf_matchLiveAcLivery(aircraft);
            EXPECT_EQ(aircraft.liveryTitle, c.title) << c.name;
            auto expectedCounts = countsBefore;
            if (c.step >= 0) ++expectedCounts[static_cast<std::size_t>(c.step)];
            EXPECT_EQ(mrw::g_matchStepCounts, expectedCounts) << c.name;
            if (c.step >= 0) {
                EXPECT_THAT(folder.logText(),
                            HasSubstr(fmt::format("          {} ={}= {}\n", mrw::gf_aircraftText(aircraft),
                                                  c.step, c.title)))
                    << c.name;
            }
        }
    }
};

TEST_F(LiveMatchingTest, EachStepAndFallbackWithoutRandom) {
    expectCases({
        {"unique registration", "AAL", "", "A321", false, "N103AA", "American Airlines A321 retro", 0},
        {"in-line registration", "AAL", "", "A321", false, "N101AA", "American Airlines A321 N101AA", 1},
        {"offline registration", "DLH", "", "A320", false, "D-AIZX", "Lufthansa A320 D-AIZA", 1},
        {"unknown registration goes on", "AAL", "", "A321", false, "N999XX", "American Airlines A321 N101AA",
         2},
        {"first title special: second", "DLH", "", "A320", false, "", "Lufthansa A320 D-AIZB", 2},
        {"cargo aircraft takes passenger livery", "AAL", "", "A321", true, "",
         "American Airlines A321 N101AA", 2},
        {"cargo aircraft takes cargo livery", "DLH", "", "B744", true, "", "Lufthansa Cargo B744", 2},
        {"passenger aircraft takes passenger livery", "DLH", "", "B744", false, "", "Lufthansa B744 D-ABVM",
         2},
        {"airline-and-operator key", "DAL", "SKW", "CRJ9", false, "", "Delta Connection CRJ9 N901XJ", 2},
        {"operator livery naming the airline", "DAL", "SKW", "E175", false, "", "SkyWest E175 Delta colors",
         2},
        {"airline livery naming the operator", "DAL", "SKW", "CRJ7", false, "", "Delta CRJ7 SkyWest", 2},
        {"any operator livery", "DAL", "SKW", "CRJ2", false, "", "SkyWest CRJ2", 2},
        {"any airline livery", "DAL", "SKW", "A321", false, "", "Delta A321", 2},
        {"similar model", "BAW", "", "A319", false, "", "British Airways A320", 3},
        {"private aircraft tries generic first", "PVT", "", "C172", false, "D-EFGH", "Generic C172", 4},
        {"generic, all titles special", "KLM", "", "B738", false, "", "Generic B738", 4},
        {"model pool by prefix", "ABC", "", "PA28", false, "HB-ABC", "Private PA28 HB-PQA", 5},
        {"rotorcraft pool by prefix", "ADA", "", "EC35", false, "D-HAAA", "Private EC35 D-HXAB", 5},
        {"business-jet pool without prefix match", "NJE", "", "C680", false, "CS-DXA", "Private C680 N680CS",
         5},
        {"pool of a similar model", "ABC", "", "C182", false, "OE-DEF", "Private C172 Red OE-KAB", 6},
        {"pool of the first light model", "ABC", "", "C150", false, "N150AB", "Private C172 Green N172SP", 6},
        {"light aircraft without registration", "ABC", "", "C150", false, "", "", -1},
        {"heavy aircraft never uses pools", "KLM", "", "B744", false, "PH-BFA", "", -1},
        {"passenger aircraft never takes cargo", "FDX", "", "B77L", false, "", "", -1},
    });
}

TEST_F(LiveMatchingTest, FsltlTitlesAreMarked) {
    mrw::AcProfile fsltl = makeAircraft("RYR", "", "B738", false, "");
    mrw::gf_matchLiveAcLivery(fsltl);
    EXPECT_EQ(fsltl.liveryTitle, "FSLTL_RYR_B738 Ryanair");
    EXPECT_TRUE(fsltl.fsltlLivery);

    mrw::AcProfile plain = makeAircraft("RYR", "", "B738", false, "EI-DCL");
    plain.fsltlLivery = true;
    mrw::gf_matchLiveAcLivery(plain);
    EXPECT_EQ(plain.liveryTitle, "Ryanair B738 EI-DCL");
    EXPECT_FALSE(plain.fsltlLivery);
}

// A private aircraft whose generic livery was refused: its own registration prefix, then another
// prefix of its group, then any private livery of its model.
TEST_F(LiveMatchingTest, RefusedTitlesAreSkippedStepByStep) {
    mrw::g_failedTitles().insert("Generic C172");
    mrw::g_failedTitles().insert("American Airlines A321 N101AA");
    expectCases({
        {"own prefix", "PVT", "", "C172", false, "D-EFGH", "Private C172 Blue D-EABC", 2},
        {"prefix of the group", "PVT", "", "C172", false, "HB-XYZ", "Private C172 Red OE-KAB", 2},
        {"prefix of one letter", "PVT", "", "C172", false, "N555AB", "Private C172 Green N172SP", 2},
        {"any private livery", "PVT", "", "C172", false, "G-ABCD", "Private C172 Alpha", 2},
        {"refused registration title", "AAL", "", "A321", false, "N101AA", "", -1},
    });
    // The refused title is met again at step 2 (the only non-special title of its list), and is not
    // retried there; the generic livery follows.
    mrw::g_failedTitles().insert("Lufthansa A320 D-AIZB");
    expectCases({{"refused registration and step 2, generic", "DLH", "", "A320", false, "D-AIZB",
                  "Generic A320", 4}});
}

// The refused titles outlive the catalogue they were taken from: emptied and rebuilt in the same
// process, the catalogue holds new texts, and the refusal still holds.
TEST_F(LiveMatchingTest, RefusedTitlesSurviveARebuildOfTheCatalogue) {
    mrw::AcProfile first = makeAircraft("DAL", "", "A321", false, "");
    mrw::gf_matchLiveAcLivery(first);
    ASSERT_EQ(first.liveryTitle, "Delta A321");
    mrw::g_failedTitles().insert(std::string(first.liveryTitle));

    mrw::gf_clearLiveryCatalogue();
    mrw::g_liveriesProcessed.store(false);
    buildCatalogue();

    mrw::AcProfile again = makeAircraft("DAL", "", "A321", false, "");
    mrw::gf_matchLiveAcLivery(again);
    EXPECT_TRUE(again.liveryTitle.empty()) << again.liveryTitle;
    EXPECT_TRUE(mrw::g_failedTitles().contains("Delta A321"));
}

TEST_F(LiveMatchingTest, MatchingDepthLimitsTheSteps) {
    struct Aircraft {
        const char* airline;
        const char* model;
        const char* registration;
        int depthNeeded;
    };
    const Aircraft aircraft[] = {
        {"AAL", "A321", "N101AA", 1},  // registration
        {"DLH", "A320", "", 2},        // airline and model
        {"BAW", "A319", "", 3},        // similar model
        {"KLM", "B738", "", 4},        // generic
        {"ABC", "PA28", "HB-ABC", 4},  // model pool
    };
    for (int depth = 1; depth <= 4; ++depth) {
        mrw::g_parameters().MATCHING_DEPTH.current.store(depth);
        for (const Aircraft& a : aircraft) {
            mrw::AcProfile profile = makeAircraft(a.airline, "", a.model, false, a.registration);
            mrw::gf_matchLiveAcLivery(profile);
            EXPECT_EQ(!profile.liveryTitle.empty(), depth >= a.depthNeeded)
                << "depth " << depth << " " << a.airline << " " << a.model;
        }
    }
}

// With RANDOM on only what holds for every draw is checked.
TEST_F(LiveMatchingTest, RandomChoicesStayWithinTheCandidates) {
    mrw::g_parameters().RANDOM.current.store(true);
    struct Candidates {
        const char* airline;
        const char* operatorCode;
        const char* model;
        const char* registration;
        std::set<std::string> titles;
    };
    const Candidates cases[] = {
        {"AAL", "", "A321", "", {"American Airlines A321 N101AA", "American Airlines A321 N102AA"}},
        {"DAL", "SKW", "CRJ9", "", {"Delta Connection CRJ9 N901XJ", "Delta Connection CRJ9 N902XJ"}},
        {"BAW", "", "A319", "", {"British Airways A320", "British Airways A321"}},
        {"ABC", "", "C182", "OE-DEF", {"Private C172 Red OE-KAB", "Private PA28 HB-PQA"}},
        {"PVT", "", "C172", "D-EFGH", {"Generic C172"}},
        {"RYR", "", "B738", "", {"FSLTL_RYR_B738 Ryanair", "Ryanair B738 EI-DCL"}},
    };
    int matches = 0;
    for (int round = 0; round < 50; ++round) {
        for (const Candidates& c : cases) {
            mrw::AcProfile aircraft = makeAircraft(c.airline, c.operatorCode, c.model, false, c.registration);
            mrw::gf_matchLiveAcLivery(aircraft);
            EXPECT_TRUE(c.titles.contains(std::string(aircraft.liveryTitle))) << aircraft.liveryTitle;
            EXPECT_EQ(aircraft.fsltlLivery, aircraft.liveryTitle.starts_with("FSLTL_"));
            ++matches;
        }
    }
    int counted = 0;
    for (const int n : mrw::g_matchStepCounts)
        counted += n;
    EXPECT_EQ(counted, matches);
}

}  // namespace
