#include "traffic/model/sim_queues.h"

#include <gtest/gtest.h>

#include <fmt/format.h>

#include <condition_variable>
#include <mutex>
#include <thread>

#include "foundation/run_state.h"
#include "foundation/simulator_choice.h"
#include "traffic/sim/sim_client.h"
#include "traffic/sim/sim_definitions.h"
#include "traffic/sim/sim_dispatch.h"
#include "traffic/sim/sim_requests.h"
#include "traffic/sim/sim_test_support.h"

namespace mrw {
namespace {

using Args = std::vector<std::string>;

PositionUpdate update(std::uint32_t objectId, double lat) {
    PositionUpdate u;
    u.position.lat = lat;
    u.position.lon = 4.5;
    u.objectId = objectId;
    return u;
}

CreateRequest request(int hexid, std::string callsign, std::string title) {
    CreateRequest r;
    r.initPosition.Latitude = 52.0;
    r.initPosition.Longitude = 4.5;
    r.initPosition.Altitude = 2000.0;
    r.callsign = std::move(callsign);
    r.title = std::move(title);
    r.hexid = hexid;
    return r;
}

class SimQueuesTest : public mrwtest::SimClientTest {
  protected:
    // An AI object of the world, created by hand through the client's own path.
    std::uint32_t createObject(const std::string& callsign) {
        {
            std::lock_guard lock(g_simConnectMutex);
            gf_createAiAircraft(request(20000, callsign, "Airliner Blue"));
        }
        standin::stepFrames(3);
        for (const standin::SimObject& object : standin::objects()) {
            if (object.atcId == callsign) return object.id;
        }
        ADD_FAILURE() << "not created: " << callsign;
        return 0;
    }
};

TEST_F(SimQueuesTest, PositionUpdatesGoOnlyToObjectsAboveTheUserAircraft) {
    g_userObjectId = 5;
    *g_positionUpdatesOut = {update(0, 1.0), update(5, 2.0), update(4, 3.0), update(6, 52.25),
                             update(150, 52.5)};
    gf_flushSimRequests();

    const auto sent = calls("SimConnect_SetDataOnSimObject");
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].arguments, (Args{"402", "6", "0", "0", "64"}));
    EXPECT_EQ(sent[1].arguments, (Args{"402", "150", "0", "0", "64"}));
    EXPECT_TRUE(g_positionUpdatesOut->empty());
}

TEST_F(SimQueuesTest, PositionUpdatesMoveTheObjectWithTheFirst64Bytes) {
    g_userObjectId = 1;
    const std::uint32_t id = createObject("KLM42");
    ASSERT_NE(id, 0u);
    PositionUpdate u = update(id, 52.3);
    u.position.altitudeFt = 3000.0;
    u.position.heading = 1.5;
    g_positionUpdatesOut->push_back(u);
    gf_flushSimRequests();
    const auto object = standin::object(id);
    ASSERT_TRUE(object);
    EXPECT_DOUBLE_EQ(object->latitudeDeg, 52.3);
    EXPECT_DOUBLE_EQ(object->altitudeFeet, 3000.0);
    EXPECT_DOUBLE_EQ(object->headingRad, 1.5);
}

TEST_F(SimQueuesTest, FlapsGoBetweenTwoReleasesAndAFailedEventOnlyShowsItsMessage) {
    g_userObjectId = 1;
    g_clientEvents = {{200, FLAPS_SET, 3072}, {200, GEAR_SET, 0}, {0, GEAR_SET, 1}};
    gf_flushSimRequests();
    std::vector<std::string> order;
    for (const auto& call : calls())
        order.push_back(call.function + " " + call.arguments[0] + " " + call.arguments[1]);
    EXPECT_EQ(order, (std::vector<std::string>{
                         "SimConnect_AIReleaseControl 200 103", "SimConnect_TransmitClientEvent 200 217",
                         "SimConnect_AIReleaseControl 200 103", "SimConnect_TransmitClientEvent 200 219"}));
    EXPECT_EQ(calls("SimConnect_TransmitClientEvent")[0].arguments, (Args{"200", "217", "3072", "301", "0"}));
    EXPECT_TRUE(g_clientEvents.empty());

    markJournal();
    standin::failNext("SimConnect_TransmitClientEvent");
    g_clientEvents = {{200, FLAPS_SET, 0}, {200, ENGINE_AUTO_START, 0}};
    gf_flushSimRequests();
    EXPECT_EQ(calls("SimConnect_AIReleaseControl").size(), 1u);
    ASSERT_EQ(calls("SimConnect_TransmitClientEvent").size(), 2u);
    EXPECT_EQ(calls("SimConnect_TransmitClientEvent")[1].arguments, (Args{"200", "220", "0", "301", "0"}));
    EXPECT_EQ(message(), "SimConnect TransmitClientEvent: 217 fails");
    EXPECT_NE(logText().find("SimConnect TransmitClientEvent: 217 fails"), std::string::npos);
    EXPECT_FALSE(g_simConnectError.load());
    EXPECT_FALSE(g_stopRequested.load());
}

TEST_F(SimQueuesTest, CreationsAreRememberedWithTheirSendId) {
    request(20001, "DLH4AB", "Airliner Red").queue();
    request(77, "STATIC1*", "Airliner Green").queue();
    ASSERT_EQ(g_createRequests.size(), 2u);
    gf_flushSimRequests();

    const auto created = calls("SimConnect_AICreateNonATCAircraft");
    ASSERT_EQ(created.size(), 2u);
    EXPECT_EQ(created[0].arguments[0], "Airliner Red");
    EXPECT_EQ(created[0].arguments[1], "DLH4AB");
    EXPECT_EQ(created[0].arguments[3], "104");
    ASSERT_EQ(g_pendingCreates.size(), 2u);
    EXPECT_EQ(g_pendingCreates[0].sendId, created[0].packetId);
    EXPECT_EQ(g_pendingCreates[0].hexid, 20001);
    EXPECT_EQ(g_pendingCreates[0].callsign, "DLH4AB");
    EXPECT_EQ(g_pendingCreates[1].sendId, created[1].packetId);
    EXPECT_NE(g_pendingCreates[0].sendId, g_pendingCreates[1].sendId);
    EXPECT_TRUE(g_createRequests.empty());
}

TEST_F(SimQueuesTest, ACreationWhoseSendIdCannotBeReadIsKeptWithSendIdZero) {
    standin::failNext("SimConnect_GetLastSentPacketID");
    request(20001, "DLH4AB", "Airliner Red").queue();
    gf_flushSimRequests();
    ASSERT_EQ(g_pendingCreates.size(), 1u);
    EXPECT_EQ(g_pendingCreates[0].sendId, 0u);
    EXPECT_NE(logText().find("==> GetLastSentPacketID"), std::string::npos);
    EXPECT_FALSE(g_simConnectError.load());
}

TEST_F(SimQueuesTest, AFailedCreationEndsTheRunAndIsNotRemembered) {
    standin::failNext("SimConnect_AICreateNonATCAircraft");
    request(20001, "DLH4AB", "Airliner Red").queue();
    gf_flushSimRequests();
    EXPECT_TRUE(g_pendingCreates.empty());
    EXPECT_NE(logText().find("! Simcon call to create ac in sim failed, hexid:20001, liv: 'Airliner Red', "
                             "callsign: DLH4AB)"),
              std::string::npos);
    EXPECT_TRUE(g_simConnectError.load());
    EXPECT_EQ(g_exitReason.load(), ExitReason::SimConnectError);
    EXPECT_EQ(g_restartDelay.load(), 9);
    EXPECT_EQ(message(), "SimConnect request error");
}

TEST_F(SimQueuesTest, RemovalsOfLowIdsAreRefusedAndAFailedRemovalEndsTheRun) {
    g_userObjectId = 1;
    const std::uint32_t id = createObject("KLM42");
    markJournal();
    g_removeRequests = {0, 1, id};
    gf_flushSimRequests();
    const auto removed = calls("SimConnect_AIRemoveObject");
    ASSERT_EQ(removed.size(), 1u);
    EXPECT_EQ(removed[0].arguments, (Args{std::to_string(id), "105"}));
    EXPECT_NE(logText().find("==> SimConnect call to remove ac with objectid 0"), std::string::npos);
    EXPECT_NE(logText().find("==> SimConnect call to remove ac with objectid 1"), std::string::npos);
    EXPECT_TRUE(g_removeRequests.empty());
    EXPECT_FALSE(g_simConnectError.load());

    // The 2024 simulator's ids are shown in hexadecimal.
    g_msfs2020 = false;
    g_userObjectId = 30;
    g_removeRequests = {26};
    gf_flushSimRequests();
    g_msfs2020 = true;
    g_userObjectId = 1;
    EXPECT_NE(logText().find("==> SimConnect call to remove ac with objectid 1a\n"), std::string::npos);
    EXPECT_EQ(calls("SimConnect_AIRemoveObject").size(), 1u);

    standin::failNext("SimConnect_AIRemoveObject");
    g_removeRequests = {id};
    gf_flushSimRequests();
    EXPECT_NE(logText().find(fmt::format("!SimConnect call to remove AI ac from sim failed, id {}?", id)),
              std::string::npos);
    EXPECT_TRUE(g_simConnectError.load());
    EXPECT_EQ(g_exitReason.load(), ExitReason::SimConnectError);
}

TEST_F(SimQueuesTest, AfterASimConnectErrorAFrameOnlyEmptiesTheQueues) {
    g_userObjectId = 1;
    g_simConnectError = true;
    *g_positionUpdatesOut = {update(200, 1.0)};
    g_clientEvents = {{200, GEAR_SET, 1}};
    request(20001, "DLH4AB", "Airliner Red").queue();
    g_removeRequests = {200};
    gf_flushSimRequests();
    EXPECT_TRUE(calls().empty());
    EXPECT_TRUE(g_positionUpdatesOut->empty());
    EXPECT_TRUE(g_clientEvents.empty());
    EXPECT_TRUE(g_createRequests.empty());
    EXPECT_TRUE(g_removeRequests.empty());
    EXPECT_TRUE(g_pendingCreates.empty());
}

TEST_F(SimQueuesTest, ABusyMutexLeavesEverythingForTheNextFrame) {
    g_userObjectId = 1;
    *g_positionUpdatesOut = {update(200, 1.0)};
    g_clientEvents = {{200, GEAR_SET, 1}};
    request(20001, "DLH4AB", "Airliner Red").queue();

    std::mutex m;
    std::condition_variable cv;
    bool held = false;
    bool release = false;
    std::thread holder([&] {
        std::lock_guard simLock(g_simConnectMutex);
        std::unique_lock lock(m);
        held = true;
        cv.notify_all();
        cv.wait(lock, [&] { return release; });
    });
    {
        std::unique_lock lock(m);
        cv.wait(lock, [&] { return held; });
    }
    gf_flushSimRequests();
    {
        std::lock_guard lock(m);
        release = true;
    }
    cv.notify_all();
    holder.join();

    EXPECT_TRUE(calls().empty());
    EXPECT_EQ(g_positionUpdatesOut->size(), 1u);
    EXPECT_EQ(g_clientEvents.size(), 1u);
    EXPECT_EQ(g_createRequests.size(), 1u);

    gf_flushSimRequests();
    EXPECT_EQ(calls("SimConnect_SetDataOnSimObject").size(), 1u);
    EXPECT_EQ(calls("SimConnect_TransmitClientEvent").size(), 1u);
    EXPECT_EQ(calls("SimConnect_AICreateNonATCAircraft").size(), 1u);
}

TEST_F(SimQueuesTest, ResetPreparesTheQueuesAndClearsTheErrorFlag) {
    g_simConnectError = true;
    gf_resetSimQueues();
    EXPECT_FALSE(g_simConnectError.load());
    EXPECT_GE(g_positionUpdateBuffers[0].capacity(), 256u);
    EXPECT_GE(g_positionUpdateBuffers[1].capacity(), 256u);
    EXPECT_GE(g_createRequests.capacity(), 256u);
    EXPECT_GE(g_removeRequests.capacity(), 256u);
    EXPECT_GE(g_pendingCreates.capacity(), 256u);
    EXPECT_GE(g_justAddedObjects.capacity(), 256u);
}

}  // namespace
}  // namespace mrw
