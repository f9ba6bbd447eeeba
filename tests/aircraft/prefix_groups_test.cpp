#include "aircraft/prefix_groups.h"
#include "aircraft/aircraft_database.h"
#include "config/parameter_catalogue.h"

#include "aircraft_test_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;

class PrefixGroupsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        mrwtest::resetAircraftData();
        randomWas = mrw::g_parameters().RANDOM.current.load();
    }
    void TearDown() override {
        mrw::g_parameters().RANDOM.current.store(randomWas);
        mrwtest::resetAircraftData();
    }
    bool randomWas = true;
};

TEST_F(PrefixGroupsTest, EachMemberMapsToTheOthersOfItsGroup) {
    mrw::g_parameters().RANDOM.current.store(false);
    mrw::g_prefixGroups() = {{"D", "PH"}, {"EI", "G", "M"}, {"N"}, {"D", "OE"}};
    mrw::gf_buildPrefixGroups();

    EXPECT_EQ(mrw::g_prefixPeers().size(), 6u);  // 'N' alone gives no entry
    EXPECT_THAT(mrw::gf_prefixGroup("PH"), ElementsAre("D"));
    EXPECT_THAT(mrw::gf_prefixGroup("EI"), ElementsAre("G", "M"));
    EXPECT_THAT(mrw::gf_prefixGroup("G"), ElementsAre("EI", "M"));
    EXPECT_THAT(mrw::gf_prefixGroup("M"), ElementsAre("EI", "G"));
    EXPECT_THAT(mrw::gf_prefixGroup("OE"), ElementsAre("D"));
    // 'D' is in two groups: the text 'D,OE' comes before 'D,PH' in byte order and wins.
    EXPECT_THAT(mrw::gf_prefixGroup("D"), ElementsAre("OE"));
    EXPECT_TRUE(mrw::gf_prefixGroup("N").empty());
    EXPECT_TRUE(mrw::gf_prefixGroup("XX").empty());
}

TEST_F(PrefixGroupsTest, RandomShufflesTheStoredPeersInPlace) {
    mrw::g_parameters().RANDOM.current.store(true);
    mrw::g_prefixGroups() = {{"A", "B", "C", "D"}};
    mrw::gf_buildPrefixGroups();

    std::set<std::vector<std::string>> orders;
    for (int i = 0; i < 200; ++i) {
        const auto& peers = mrw::gf_prefixGroup("A");
        EXPECT_THAT(peers, UnorderedElementsAre("B", "C", "D"));
        EXPECT_EQ(&peers, &mrw::g_prefixPeers().at("A"));  // the stored vector itself
        orders.insert(peers);
    }
    EXPECT_GT(orders.size(), 1u);

    mrw::g_parameters().RANDOM.current.store(false);
    const std::vector<std::string> before = mrw::gf_prefixGroup("A");
    EXPECT_EQ(mrw::gf_prefixGroup("A"), before);  // the order persists while RANDOM is off
}

}  // namespace
