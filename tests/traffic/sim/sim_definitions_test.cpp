#include "traffic/sim/sim_definitions.h"

#include <gtest/gtest.h>

#include <cstring>

#include "foundation/run_state.h"
#include "platform/simconnect/client_registration.h"
#include "traffic/sim/sim_client.h"
#include "traffic/sim/sim_test_support.h"

namespace mrw {
namespace {

using Args = std::vector<std::string>;

std::vector<std::pair<std::string, Args>> callsOf(const std::vector<standin::JournalEntry>& journal) {
    std::vector<std::pair<std::string, Args>> calls;
    for (const auto& entry : journal)
        calls.emplace_back(entry.function, entry.arguments);
    return calls;
}

class SimDefinitionsTest : public mrwtest::SimClientTest {};

TEST_F(SimDefinitionsTest, EveryConnectionRegistersTheFullSetInOrder) {
    HANDLE reference = nullptr;
    ASSERT_EQ(SimConnect_Open(&reference, "Reference", nullptr, 0, nullptr, 0), S_OK);
    simtest::registerLikeTheClient(reference);
    auto expected = callsOf(standin::journal("Reference"));
    SimConnect_Close(reference);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(expected.front().first, "SimConnect_Open");
    expected.erase(expected.begin());
    ASSERT_EQ(expected.size(), 5u + 34u + 17u + 16u + 1u);

    for (int connection = 0; connection < 2; ++connection) {
        SCOPED_TRACE(connection);
        connect();  // a new world and connection: nothing is left of the earlier one
        auto journal = callsOf(standin::journal(mrwtest::kClientName));
        ASSERT_FALSE(journal.empty());
        EXPECT_EQ(journal.front().first, "SimConnect_Open");
        journal.erase(journal.begin());
        EXPECT_EQ(journal, expected);
    }
}

TEST_F(SimDefinitionsTest, DefinitionSixIsRegisteredAndNeverUsedOtherwise) {
    std::size_t datums = 0;
    for (const auto& call : standin::journal(mrwtest::kClientName)) {
        if (call.arguments.empty() || call.arguments[0] != "406") continue;
        EXPECT_EQ(call.function, "SimConnect_AddToDataDefinition");
        ++datums;
    }
    EXPECT_EQ(datums, 1u);
}

TEST_F(SimDefinitionsTest, UserAcDataIsAllZeroBeforeTheFirstAnswer) {
    const UserAcData data = gf_getUserAcData();
    const UserAcData zero{};
    EXPECT_EQ(std::memcmp(&data, &zero, sizeof data), 0);
    EXPECT_FALSE(gf_userPositionKnown(data));
    const auto requests = calls("SimConnect_RequestDataOnSimObject");
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].arguments[0], "109");
    EXPECT_EQ(requests[0].arguments[1], "403");
    EXPECT_EQ(requests[0].arguments[2], "0");
    EXPECT_EQ(requests[0].arguments[3], "1");
}

TEST_F(SimDefinitionsTest, WithTheErrorFlagNothingIsSentAndTheLastAnswerReturned) {
    UserAcData last;
    last.latitude = 52.3;
    last.groundVelocityKt = 12.0;
    gf_setUserAcDataRecv(last);
    g_simConnectError = true;
    const UserAcData data = gf_getUserAcData();
    EXPECT_TRUE(calls().empty());
    EXPECT_EQ(data.latitude, 52.3);
    EXPECT_EQ(data.groundVelocityKt, 12.0);
    EXPECT_TRUE(gf_userPositionKnown(data));
}

TEST_F(SimDefinitionsTest, AFailedUserPositionRequestEndsTheRun) {
    standin::failNext("SimConnect_RequestDataOnSimObject");
    gf_getUserAcData();
    EXPECT_NE(logText().find("==> SimConnect request user ac position fails"), std::string::npos);
    EXPECT_TRUE(g_simConnectError.load());
    EXPECT_EQ(g_exitReason.load(), ExitReason::SimConnectError);
}

TEST_F(SimDefinitionsTest, AFailedTitleRequestStillSendsTheModelRequest) {
    standin::failNext("SimConnect_RequestDataOnSimObject");
    gf_requestUserTitleAndModel();
    const auto requests = calls("SimConnect_RequestDataOnSimObject");
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].arguments[0], "106");
    EXPECT_LT(requests[0].result, 0);
    EXPECT_EQ(requests[1].arguments[0], "107");
    EXPECT_EQ(requests[1].arguments[1], "408");
    EXPECT_EQ(requests[1].result, S_OK);
    const std::string log = logText();
    EXPECT_NE(log.find("==> SimConnect request user ac title fails"), std::string::npos);
    EXPECT_EQ(log.find("SimConnect reques user ac model fails"), std::string::npos);
    EXPECT_EQ(log.find("SimConnect request error"), log.rfind("SimConnect request error"));  // once
    EXPECT_TRUE(g_simConnectError.load());
    EXPECT_EQ(g_exitReason.load(), ExitReason::SimConnectError);
    EXPECT_EQ(g_restartDelay.load(), 9);
}

TEST(UserPositionKnown, BeyondATenThousandthOfADegree) {
    struct Case {
        double lat, lon;
        bool known;
    };
    for (const Case& c : {Case{0.0, 0.0, false}, Case{0.0001, -0.0001, false}, Case{0.00011, 0.0, true},
                          Case{0.0, -0.00011, true}, Case{52.3, 4.7, true}}) {
        EXPECT_EQ(gf_userPositionKnown(c.lat, c.lon), c.known) << c.lat << ", " << c.lon;
    }
}

}  // namespace
}  // namespace mrw
