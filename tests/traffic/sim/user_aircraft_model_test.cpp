#include <gtest/gtest.h>

#include <fmt/format.h>

#include "aircraft/ac_category.h"
#include "aircraft/aircraft_test_support.h"
#include "aircraft/code_tables.h"
#include "aircraft/wingspans.h"
#include "foundation/user_error_exception.h"
#include "foundation/window_model.h"
#include "traffic/sim/sim_dispatch_test_support.h"

namespace mrw {
namespace {

using mrwtest::RawRecord;
using mrwtest::textRecord;

constexpr double kLargestM = 39.9;  // A388

double nm(double metres) {
    return metres * kNmPerMetre;
}

class UserAircraftModelTest : public mrwtest::SimDispatchTest {
  protected:
    void SetUp() override {
        mrwtest::SimDispatchTest::SetUp();
        // Spans and categories of an earlier test's codes would belong to other models here.
        mrwtest::resetAircraftData();
        m_savedLargest = g_maxHalfWingspan.load();
        for (const auto& [model, metres] : kSpans)
            setSpan(model, nm(metres));
        g_maxHalfWingspan = nm(kLargestM);
    }
    void TearDown() override {
        for (const auto& [model, metres] : kSpans)
            setSpan(model, 0.0);
        g_maxHalfWingspan = m_savedLargest;
        mrwtest::resetAircraftData();
        mrwtest::SimDispatchTest::TearDown();
    }
    static void setSpan(std::string_view model, double halfSpanNm) {
        g_halfWingspans.at(gf_modelIndex(model)) = halfSpanNm;
    }
    void title(std::string_view text) {
        inject(textRecord(106, text, text.size() + 1));
        dispatch();
    }
    void model(std::string_view text) {
        inject(textRecord(107, text, 32));
        dispatch();
    }

    static constexpr std::pair<std::string_view, double> kSpans[] = {
        {"B738", 17.9}, {"A359", 32.3}, {"A320", 18.0},      {"B737", 17.2},
        {"E190", 14.3}, {"CRJ7", 11.7}, {"A388", kLargestM}, {"A321", 17.9}};
    double m_savedLargest = 0.0;
};

TEST_F(UserAircraftModelTest, TheModelRulesAndTheHalfSpanTheyGive) {
    struct Case {
        const char* title;
        const char* model;
        const char* report;  // the report line up to its half span
        double halfSpanM;
        bool known;
    };
    const double largest = kLargestM;
    for (const Case& c : {
             Case{"Boeing 737-800", "B738",
                  "SimConnect: User aircraft model: B738, half wing span: 17.9 meter", 17.9, true},
             Case{"Airbus", "A350-900", "SimConnect: User aircraft model: A359, half wing span: 32.3 meter",
                  32.3, true},
             Case{"Something", "ATCCOM.AC_MODEL B738.0.text",
                  "SimConnect: User aircraft model: B738, half wing span: 17.9 meter", 17.9, true},
             Case{"Something", "$$:B738", "SimConnect: User aircraft model: B738, half wing span: 17.9 meter",
                  17.9, true},
             Case{"PMDG DG 737-700 KLM", "737",
                  "SimConnect: User aircraft model: B737, half wing span: 17.2 meter", 17.2, true},
             Case{"Aerosoft A320 Lufthansa", "AIRBUS-A320",
                  "SimConnect: User aircraft model deduced from title: A320, half wing span: 18.0 meter",
                  18.0, true},
             Case{"Aerosoft A321", "AIRBUS-A321",
                  "SimConnect: User aircraft model deduced from title: A321, half wing span: 17.9 meter",
                  17.9, true},
             Case{"Aerosoft A330 Lufthansa", "AIRBUS-A330",
                  "SimConnect: User aircraft model: AIRBUS-A330, category: ", largest, false},
             Case{"Unknown", "ZZ9", "SimConnect: User aircraft model: ZZ9, category: ", largest, false},
             Case{"Airbus A380", "A388", "SimConnect: User aircraft model: A388, half wing span: 39.9 meter",
                  largest, true},
             Case{"Camera", "camerapod", "SimConnect: User aircraft model: camerapod\n", 14.3, true},
         }) {
        SCOPED_TRACE(c.model);
        mrwtest::resetSimClientState();
        title(c.title);
        model(c.model);
        EXPECT_NEAR(g_userHalfSpanNm.load(), nm(c.halfSpanM), 1e-12);
        EXPECT_EQ(g_mainWindow().userModelKnown.load(), c.known);
        EXPECT_NE(logText().find(c.report), std::string::npos)
            << logText().substr(logText().size() > 600 ? logText().size() - 600 : 0);
        EXPECT_EQ(message().starts_with("User aircraft wing span unknown, max is taken instead"), !c.known);
    }
}

TEST_F(UserAircraftModelTest, TheReportEndsWithTheCategory) {
    title("Boeing 737-800");
    model("B738");
    EXPECT_NE(logText().find(fmt::format("model raw: B738\n")), std::string::npos);
    EXPECT_NE(logText().find(fmt::format("SimConnect: User aircraft model: B738, half wing span: 17.9 meter, "
                                         "category: {}\n",
                                         gf_categoryName(gf_acCategory(gf_modelIndex("B738"))))),
              std::string::npos);
}

TEST_F(UserAircraftModelTest, AnEmptyModelTakesTheCrj7) {
    model("");
    EXPECT_EQ(g_mainWindow().userAircraftText.get(), "Unknown (encrypted?) aircraft");
    EXPECT_EQ(message(),
              "171: No model info from your user aircraft received in SimConnect, CRJ7 is taken instead");
    EXPECT_NEAR(g_userHalfSpanNm.load(), nm(11.7), 1e-12);
    EXPECT_EQ(logText().find("model raw"), std::string::npos);

    setSpan("CRJ7", 0.0);
    model("");
    EXPECT_NEAR(g_userHalfSpanNm.load(), nm(kLargestM), 1e-12);
}

TEST_F(UserAircraftModelTest, AModelTextFillingAllItsBytesEndsThere) {
    model(std::string(40, 'X'));  // no NUL in the 32 bytes
    EXPECT_NE(logText().find("model raw: " + std::string(32, 'X') + "\n"), std::string::npos);
}

}  // namespace
}  // namespace mrw
