#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "aircraft/livery_catalogue.h"
#include "aircraft/livery_catalogue_internal.h"
#include "aircraft/livery_data.h"
#include "aircraft/regcode_store.h"
#include "aircraft/similar_models.h"
#include "catalogue_test_fixture.h"

namespace {

using ::testing::HasSubstr;
using ::testing::Not;

bool catalogueIsEmpty() {
    return mrw::g_catalogueTitles().empty() && mrw::g_airlineModelTitles()[0].empty() &&
           mrw::g_airlineModelTitles()[1].empty() && mrw::g_modelTitlePools()[0].empty() &&
           mrw::g_modelTitlePools()[1].empty() && mrw::g_lightModels().empty() &&
           mrw::g_buzjetModels().empty() && mrw::g_rotorcraftModels().empty() &&
           mrw::g_regcodeTitles().empty() && mrw::g_titleRegcodes().empty() &&
           mrw::g_specialTitles().empty() && mrw::g_uniqueRegcodes().empty() &&
           mrw::lf_findCatalogueTitle("Delta A321").empty();
}

class CatalogueClearTest : public mrwtest::CatalogueTest {};

TEST_F(CatalogueClearTest, EmptyingOnTheBuildingThreadIsImmediate) {
    buildCatalogue();
    mergeFixtureSpecials();
    ASSERT_FALSE(catalogueIsEmpty());

    mrw::gf_clearLiveryCatalogue();

    EXPECT_TRUE(catalogueIsEmpty());
    EXPECT_EQ(mrw::lf_randomLightModel(), 0);
    EXPECT_EQ(mrw::lf_randomBuzjetModel(), 0);
    EXPECT_EQ(mrw::lf_randomRotorcraftModel(), 0);
    // Kept for the next build of the process.
    EXPECT_FALSE(mrw::g_similarModels().empty());
}

// The check box asks from the UI thread while the main worker owns the catalogue: the request waits
// for the worker's safe point, and a rebuild in the same process then starts from an empty catalogue.
TEST_F(CatalogueClearTest, RequestFromAnotherThreadWaitsForTheSafePoint) {
    mrwtest::writeLiveriesScanned(mrwtest::fixtureLiveries());
    std::thread([] { mrw::gf_processScannedLiveries(); }).join();
    ASSERT_TRUE(mrw::g_liveriesProcessed.load());

    mrw::gf_clearLiveryCatalogue();  // this thread did not build it
    EXPECT_FALSE(catalogueIsEmpty());
    EXPECT_TRUE(mrw::g_liveriesProcessed.load());

    // The next start-up serves the request first and builds again instead of skipping.
    mrwtest::writeLiveriesScanned({{"AAA", "", "A320", false, "Alpha A320", ""}});
    std::thread([] { mrw::gf_processScannedLiveries(); }).join();
    EXPECT_THAT(folder.logText(), Not(HasSubstr("Processing scanned liveries skipped")));
    EXPECT_EQ(mrw::g_catalogueTitles().size(), 1u);
    EXPECT_TRUE(mrw::lf_findCatalogueTitle("Delta A321").empty());
    EXPECT_EQ(mrw::lf_findCatalogueTitle("Alpha A320"), "Alpha A320");

    // The run end serves a pending request too.
    mrw::gf_clearLiveryCatalogue();
    EXPECT_FALSE(catalogueIsEmpty());
    mrw::gf_serveCatalogueClearRequest();
    EXPECT_TRUE(mrw::g_catalogueTitles().empty());
    EXPECT_FALSE(mrw::g_liveriesProcessed.load());
}

// Requests arriving all through a build never touch the indexes under the builder's feet; the
// request filed before the build is served at its start, so the new build is complete.
TEST_F(CatalogueClearTest, RequestsDuringABuildAreDeferred) {
    // A main worker of an earlier run built the catalogue; a request of this thread is filed.
    mrwtest::writeLiveriesScanned(mrwtest::fixtureLiveries());
    std::thread([] { mrw::gf_processScannedLiveries(); }).join();
    mrw::gf_clearLiveryCatalogue();
    std::atomic<bool> built{false};
    std::thread worker([&built] {
        mrw::gf_processScannedLiveries();
        built.store(true);
    });
    int requests = 0;
    while (!built.load()) {
        mrw::gf_clearLiveryCatalogue();
        ++requests;
        std::this_thread::yield();
    }
    worker.join();
    EXPECT_GT(requests, 0);
    EXPECT_EQ(mrw::g_catalogueTitles().size(), 12u);
    // Whether a request of the loop came after the build's start depends on the scheduler: one that
    // surely does waits for the next safe point as well.
    mrw::gf_clearLiveryCatalogue();
    EXPECT_FALSE(catalogueIsEmpty());
    std::thread([] { mrw::gf_serveCatalogueClearRequest(); }).join();
    EXPECT_TRUE(catalogueIsEmpty());
}

}  // namespace
