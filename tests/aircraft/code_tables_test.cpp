#include "aircraft/code_tables.h"
#include "aircraft/ac_category.h"
#include "aircraft/ac_designation.h"
#include "aircraft/code_table.h"

#include "aircraft_test_support.h"

#include <fmt/format.h>
#include <gmock/gmock.h>
#include <stdexcept>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

using mrw::AcCategory;
using mrw::CodeIndex;
using mrw::CodeTable;
using ::testing::HasSubstr;

class CodeTablesTest : public ::testing::Test {
  protected:
    void SetUp() override { mrwtest::resetAircraftData(); }
    void TearDown() override { mrwtest::resetAircraftData(); }
};

TEST(CodeTableTest, InternsEachTextOnceAndKeepsCaseAndBlanks) {
    CodeTable table("test");
    EXPECT_EQ(table.intern(""), 0);
    EXPECT_EQ(table.intern("KLM"), 1);
    EXPECT_EQ(table.intern("klm"), 2);   // case differs: another code
    EXPECT_EQ(table.intern(" KLM"), 3);  // stored exactly as given
    EXPECT_EQ(table.intern("KLM"), 1);
    EXPECT_EQ(table.size(), 4u);
    EXPECT_EQ(table.text(2), "klm");
    EXPECT_EQ(table.text(3), " KLM");
    EXPECT_EQ(table.find("klm"), CodeIndex{2});
    EXPECT_EQ(table.find("DLH"), std::nullopt);
    EXPECT_EQ(table.text(4), "");  // an index the table does not hold
}

TEST(CodeTableTest, FullTableRefusesNewCodesAndLogsOnce) {
    mrwtest::LoggedProgramFolder folder;
    CodeTable table("model");
    for (std::size_t i = 0; i < CodeTable::kMaxCodes; ++i) {
        ASSERT_EQ(table.intern(fmt::format("C{}", i)), static_cast<CodeIndex>(i));
    }
    EXPECT_EQ(table.intern("NEW1"), 0);  // no wrap to a used index
    EXPECT_EQ(table.intern("NEW2"), 0);
    EXPECT_EQ(table.size(), CodeTable::kMaxCodes);
    EXPECT_EQ(table.find("NEW1"), std::nullopt);
    EXPECT_EQ(table.intern("C65535"), 65535);  // known codes are still found
    EXPECT_EQ(table.text(65535), "C65535");

    const std::string log = folder.logText();
    EXPECT_THAT(log, HasSubstr("==> The model code table is full (65536 codes): 'NEW1'"));
    EXPECT_EQ(log.find("NEW2"), std::string::npos);
}

TEST(CodeTableTest, ThreadsInterningTheSameNewCodesAgreeAndTextsStayValid) {
    CodeTable table("airline");
    table.intern("");
    const std::string& first = table.text(table.intern("KLM"));

    constexpr int kThreads = 6;
    constexpr int kCodes = 2000;
    std::vector<std::vector<CodeIndex>> seen(kThreads, std::vector<CodeIndex>(kCodes));
    std::atomic<int> ready{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            ready.fetch_add(1);
            while (ready.load() < kThreads)
                std::this_thread::yield();  // start together
            for (int i = 0; i < kCodes; ++i) {
                // Each thread walks the codes in its own order so that appends really collide.
                const int step = (i + t * 337) % kCodes;
                const int code = t % 2 == 0 ? step : kCodes - 1 - step;
                seen[t][code] = table.intern(fmt::format("X{:04}", code));
                ASSERT_EQ(table.text(seen[t][code]), fmt::format("X{:04}", code));
            }
        });
    }
    for (auto& thread : threads)
        thread.join();

    EXPECT_EQ(table.size(), 2u + kCodes);
    for (int t = 1; t < kThreads; ++t)
        EXPECT_EQ(seen[t], seen[0]);
    for (int i = 0; i < kCodes; ++i)
        EXPECT_EQ(table.find(fmt::format("X{:04}", i)), seen[0][i]);
    EXPECT_EQ(first, "KLM");  // the reference taken before the table grew
}

TEST_F(CodeTablesTest, ModelFixAppliesOnlyOnceLoadedAndOnlyToAKnownCode) {
    mrw::g_modelFixes() = {{"B73X", "B738"}, {"A3XX", "A388"}};
    EXPECT_EQ(mrw::gf_modelIndex(""), 0);
    const CodeIndex b738 = mrw::gf_modelIndex("B738");

    // Not loaded yet: no fix, the wrong code is entered as it is.
    EXPECT_EQ(mrw::gf_modelIndex("A3XX"), 2);

    mrw::g_modelCodes().setLoaded();
    const std::size_t size = mrw::g_modelCodes().size();
    EXPECT_EQ(mrw::gf_modelIndex("B73X"), b738);
    EXPECT_EQ(mrw::g_modelCodes().find("B73X"), std::nullopt);
    EXPECT_EQ(mrw::g_modelCodes().size(), size);
    EXPECT_EQ(mrw::gf_modelIndex("A3XX"), 2);  // already entered before: kept

    mrw::g_modelFixes()["C25X"] = "C25Z";  // the correct code is not in the table
    EXPECT_EQ(mrw::gf_modelIndex("C25X"), size);
    EXPECT_EQ(mrw::g_modelCodes().text(static_cast<CodeIndex>(size)), "C25X");

    EXPECT_EQ(mrw::gf_fixedModelCode("B73X"), "B738");
    EXPECT_EQ(mrw::gf_fixedModelCode("b73x"), std::nullopt);
}

TEST_F(CodeTablesTest, ThreadsInterningModelsWithFixesAgree) {
    mrw::gf_modelIndex("");
    const CodeIndex b738 = mrw::gf_modelIndex("B738");
    mrw::g_modelFixes() = {{"B73X", "B738"}};
    mrw::g_modelCodes().setLoaded();

    constexpr int kThreads = 4;
    constexpr int kCodes = 500;
    std::vector<std::vector<CodeIndex>> seen(kThreads, std::vector<CodeIndex>(kCodes + 1));
    std::atomic<int> ready{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            ready.fetch_add(1);
            while (ready.load() < kThreads)
                std::this_thread::yield();
            for (int i = 0; i < kCodes; ++i)
                seen[t][i] = mrw::gf_modelIndex(fmt::format("T{:03}", i));
            seen[t][kCodes] = mrw::gf_modelIndex("B73X");
        });
    }
    for (auto& thread : threads)
        thread.join();

    for (int t = 1; t < kThreads; ++t)
        EXPECT_EQ(seen[t], seen[0]);
    EXPECT_EQ(seen[0][kCodes], b738);
    EXPECT_EQ(mrw::g_modelCodes().find("B73X"), std::nullopt);
    EXPECT_EQ(mrw::g_modelCodes().size(), 2u + kCodes);
}

TEST_F(CodeTablesTest, AirlineInterningHasNoFixStep) {
    mrw::g_modelFixes() = {{"KLX", "KLM"}};
    mrw::g_airlineCodes().setLoaded();
    const CodeIndex klm = mrw::gf_airlineIndex("KLM");
    EXPECT_NE(mrw::gf_airlineIndex("KLX"), klm);
    EXPECT_EQ(mrw::g_airlineCodes().text(mrw::gf_airlineIndex("KLX")), "KLX");
}

TEST_F(CodeTablesTest, CategoryFollowsTheOrderOfTheSets) {
    ASSERT_EQ(mrw::gf_modelIndex(""), 0);
    const CodeIndex a320 = mrw::gf_modelIndex("A320");
    const CodeIndex b744 = mrw::gf_modelIndex("B744");
    const CodeIndex c25a = mrw::gf_modelIndex("C25A");
    const CodeIndex conc = mrw::gf_modelIndex("CONC");
    const CodeIndex ec35 = mrw::gf_modelIndex("EC35");
    const CodeIndex both = mrw::gf_modelIndex("LGHV");      // large and heavy
    const CodeIndex rotHeavy = mrw::gf_modelIndex("MI26");  // heavy and rotorcraft
    const CodeIndex c172 = mrw::gf_modelIndex("C172");
    mrw::g_largeModelSet() = {a320, both};
    mrw::g_heavyModelSet() = {b744, both, rotHeavy};
    mrw::g_buzjetModelSet() = {c25a};
    mrw::g_highPerfModelSet() = {conc};
    mrw::g_rotorcraftModelSet() = {ec35, rotHeavy};

    const std::vector<std::pair<std::string, AcCategory>> cases{
        {"A320", AcCategory::Large},    {"B744", AcCategory::Heavy},      {"C25A", AcCategory::Buzjets},
        {"CONC", AcCategory::HighPerf}, {"EC35", AcCategory::Rotorcraft}, {"LGHV", AcCategory::Large},
        {"MI26", AcCategory::Heavy},    {"C172", AcCategory::Light},      {"", AcCategory::Light},
    };
    for (const auto& [code, category] : cases) {
        EXPECT_EQ(mrw::gf_acCategoryOfCode(code), category) << code;
    }
    EXPECT_EQ(mrw::gf_acCategory(c172), AcCategory::Light);
    EXPECT_EQ(mrw::gf_acCategory(0), AcCategory::Light);

    // A code not yet in the table is interned and is Light.
    EXPECT_EQ(mrw::gf_acCategoryOfCode("PC12"), AcCategory::Light);
    EXPECT_TRUE(mrw::g_modelCodes().find("PC12").has_value());
}

TEST(AcCategoryTest, NamesAndDesignationValue) {
    EXPECT_EQ(mrw::gf_categoryName(AcCategory::Light), "Light");
    EXPECT_EQ(mrw::gf_categoryName(AcCategory::Buzjets), "Buzjets");
    EXPECT_EQ(mrw::gf_categoryName(AcCategory::Large), "Large");
    EXPECT_EQ(mrw::gf_categoryName(AcCategory::Heavy), "Heavy");
    EXPECT_EQ(mrw::gf_categoryName(AcCategory::HighPerf), "HighPerf");
    EXPECT_EQ(mrw::gf_categoryName(AcCategory::Rotorcraft), "Rotorcraft");
    EXPECT_THROW(mrw::gf_categoryName(static_cast<AcCategory>(mrw::kAcCategoryCount)), std::out_of_range);

    static_assert(sizeof(mrw::AcDesignation) == 8);
    const mrw::AcDesignation a{1, 2, 3, 1, 1};
    mrw::AcDesignation b = a;
    EXPECT_EQ(a, b);
    b.fromDbase = 0;
    EXPECT_NE(a, b);
}

}  // namespace
