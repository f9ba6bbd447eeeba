// LiveryData: completeness, equality, the scan's order and the title claims of one scan.

#include "aircraft/code_tables.h"
#include "aircraft/liveries_scan_state.h"
#include "aircraft/livery_data.h"
#include "aircraft_test_support.h"

#include <gtest/gtest.h>

#include <list>
#include <thread>
#include <vector>

namespace {

using mrw::LiveryData;

LiveryData livery(std::string title, std::string_view airline, std::string_view op, std::string_view model,
                  std::string registration = {}) {
    LiveryData l;
    l.title = std::move(title);
    l.registration = std::move(registration);
    l.codes.airline = mrw::gf_airlineIndex(airline);
    l.codes.operatorAirline = op.empty() ? 0 : mrw::gf_airlineIndex(op);
    l.codes.model = mrw::gf_modelIndex(model);
    return l;
}

class LiveriesLiveryData : public ::testing::Test {
  protected:
    void SetUp() override {
        mrwtest::resetAircraftData();
        // Index 0 is the empty code, as the database reader seeds it.
        mrw::gf_airlineIndex("");
        mrw::gf_modelIndex("");
    }
    void TearDown() override { mrwtest::resetAircraftData(); }
};

TEST_F(LiveriesLiveryData, IncompleteAndEquality) {
    EXPECT_TRUE(LiveryData{}.isIncomplete());
    EXPECT_TRUE(livery("t", "", "", "B738").isIncomplete());
    EXPECT_TRUE(livery("t", "KLM", "", "").isIncomplete());
    EXPECT_FALSE(livery("t", "KLM", "", "B738").isIncomplete());

    LiveryData a = livery("t", "KLM", "", "B738", "PH-BXA");
    LiveryData b = a;
    b.codes.isCargo = 1;
    b.priority = 7;
    EXPECT_EQ(a, b);  // cargo and priority take no part
    b.registration = "PH-BXB";
    EXPECT_NE(a, b);
}

TEST_F(LiveriesLiveryData, OrderIsAirlineOperatorModelTitleByCodeText) {
    // Interned in an order unlike the texts' order, so that sorting by index would differ.
    std::list<LiveryData> list{
        livery("b", "KLM", "", "B738"), livery("z", "KLM", "TRA", "A320"), livery("a", "KLM", "", "B738"),
        livery("c", "KLM", "", "A320"), livery("x", "AAL", "", "B738"),    livery("y", "", "", "B738"),
    };
    mrw::gf_sortLiveries(list);
    std::vector<std::string> titles;
    for (const auto& l : list)
        titles.push_back(l.title);
    // Within KLM every livery without operator comes first, whatever its model.
    EXPECT_EQ(titles, (std::vector<std::string>{"y", "x", "c", "a", "b", "z"}));
}

TEST_F(LiveriesLiveryData, TitleIsClaimedOnlyByACompleteRecordAndOnlyOnce) {
    mrw::LiveriesScanState state({"Never"});
    const mrw::AcDesignation complete{mrw::gf_airlineIndex("KLM"), 0, mrw::gf_modelIndex("B738"), 0, 0};
    const mrw::AcDesignation noAirline{0, 0, mrw::gf_modelIndex("B738"), 0, 0};
    // An incomplete record leaves the title free for a later complete one.
    EXPECT_TRUE(mrw::gf_makeLiveryData(state, 1, noAirline, "KLM 1", "").isIncomplete());
    const LiveryData first = mrw::gf_makeLiveryData(state, 3, complete, "KLM 1", "PH-BXA");
    EXPECT_FALSE(first.isIncomplete());
    EXPECT_EQ(first.priority, 3);
    EXPECT_EQ(first.registration, "PH-BXA");
    EXPECT_TRUE(mrw::gf_makeLiveryData(state, 1, complete, "KLM 1", "").isIncomplete());
    EXPECT_TRUE(state.isDontUseTitle("Never"));
    EXPECT_FALSE(state.isDontUseTitle("KLM 1"));
}

TEST_F(LiveriesLiveryData, ConcurrentClaimsAndReportsLoseNothing) {
    mrw::LiveriesScanState state;
    std::atomic<int> claimed{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 500; ++i) {
                if (state.claimTitle("title " + std::to_string(i))) ++claimed;
                state.reports.addIncompleteSection("thread " + std::to_string(t) + " line " +
                                                   std::to_string(i));
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(claimed.load(), 500);
    const auto lines = state.reports.incompleteSectionLines.lines();
    EXPECT_EQ(lines.size(), 2000u);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "thread 2 line 499"), 1);
}

}  // namespace
