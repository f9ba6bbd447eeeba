// The catalogue build's failure half-way, made with a dangling link (MinGW makes no symlinks).
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "aircraft/livery_catalogue.h"
#include "aircraft/livery_catalogue_internal.h"
#include "aircraft/regcode_store.h"
#include "catalogue_test_fixture.h"
#include "foundation/file_names.h"

namespace {

class CatalogueBuildPosixTest : public mrwtest::CatalogueTest {};

// An error half-way (the report folder cannot be made) leaves no half-built catalogue behind.
TEST_F(CatalogueBuildPosixTest, ErrorAfterTheCatalogueWasBuiltEmptiesIt) {
    std::vector<mrwtest::FixtureLivery> liveries = mrwtest::fixtureLiveries();
    liveries.push_back({"KLM", "", "B738", false, "KLM B738 clash", "N101AA"});
    std::filesystem::create_directories(mrw::g_outputFolder);
    std::filesystem::create_symlink("missing-target", mrw::g_errorsFolder);  // a dangling link

    EXPECT_THROW(buildCatalogue(liveries), std::filesystem::filesystem_error);

    EXPECT_FALSE(mrw::g_liveriesProcessed.load());
    EXPECT_TRUE(mrw::g_catalogueTitles().empty());
    EXPECT_TRUE(mrw::g_airlineModelTitles()[0].empty());
    EXPECT_TRUE(mrw::g_regcodeTitles().empty());
    EXPECT_TRUE(mrw::lf_findCatalogueTitle("Delta A321").empty());
}

}  // namespace
