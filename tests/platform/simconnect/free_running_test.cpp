// A client on its own thread against the free-running world, as the demo and the whole-run tests
// use it: connect, create an AI aircraft, see it added, move it, remove it.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <set>
#include <thread>

#include "platform/simconnect/sim_world.h"
#include "platform/simconnect/simconnect.h"

namespace {

using namespace std::chrono_literals;

struct ClientState {
    std::mutex mutex;
    std::set<DWORD> added;
    std::set<DWORD> removed;
    std::atomic<int> frames{0};
    std::atomic<bool> open{false};
};

void onRecord(SIMCONNECT_RECV* record, DWORD, void* context) {
    auto& state = *static_cast<ClientState*>(context);
    switch (record->dwID) {
        case SIMCONNECT_RECV_ID_OPEN:
            state.open = true;
            break;
        case SIMCONNECT_RECV_ID_EVENT_FRAME:
            ++state.frames;
            break;
        case SIMCONNECT_RECV_ID_EVENT_OBJECT_ADDREMOVE: {
            const auto* event = static_cast<SIMCONNECT_RECV_EVENT_OBJECT_ADDREMOVE*>(record);
            std::lock_guard lock(state.mutex);
            (event->uEventID == 1 ? state.added : state.removed).insert(event->dwData);
            break;
        }
        default:
            break;
    }
}

bool contains(ClientState& state, const std::set<DWORD>& ids, DWORD id) {
    std::lock_guard lock(state.mutex);
    return ids.contains(id);
}

TEST(SimWorldFreeRunning, ClientCreatesMovesAndRemovesAnAircraft) {
    standin::SimWorldConfig config;
    config.frameRate = 60;
    standin::resetWorld(config);
    standin::startSimulator();
    standin::startFreeRunning();

    HANDLE h = nullptr;
    ASSERT_EQ(SimConnect_Open(&h, "Merrowvale", nullptr, 0, nullptr, 0), S_OK);
    SimConnect_SubscribeToSystemEvent(h, 1, "ObjectAdded");
    SimConnect_SubscribeToSystemEvent(h, 2, "ObjectRemoved");
    SimConnect_SubscribeToSystemEvent(h, 3, "Frame");
    for (const char* datum : {"Plane Latitude", "Plane Longitude"})
        SimConnect_AddToDataDefinition(h, 10, datum, "degree");

    ClientState state;
    std::jthread client([&](std::stop_token stop) {
        while (!stop.stop_requested()) {
            SimConnect_CallDispatch(h, onRecord, &state);
            std::this_thread::sleep_for(1ms);
        }
    });

    SIMCONNECT_DATA_INITPOSITION position{};
    position.Latitude = 52.0;
    position.Longitude = 4.5;
    position.Altitude = 2000.0;
    ASSERT_EQ(SimConnect_AICreateNonATCAircraft(h, "Airliner Blue", "KLM42", position, 104), S_OK);
    DWORD id = 0;
    ASSERT_TRUE(standin::waitUntil(
        [&] {
            std::lock_guard lock(state.mutex);
            if (!state.added.empty()) id = *state.added.begin();
            return id != 0;
        },
        10s));
    EXPECT_TRUE(state.open);

    double moved[2] = {52.1, 4.6};
    ASSERT_EQ(SimConnect_SetDataOnSimObject(h, 10, id, 0, 0, sizeof moved, moved), S_OK);
    ASSERT_TRUE(standin::waitUntil([&] { return standin::object(id)->latitudeDeg == 52.1; }, 10s));
    EXPECT_FALSE(standin::object(id)->onGround);

    ASSERT_EQ(SimConnect_AIRemoveObject(h, id, 105), S_OK);
    ASSERT_TRUE(standin::waitUntil([&] { return contains(state, state.removed, id); }, 10s));
    EXPECT_FALSE(standin::object(id).has_value());
    EXPECT_GT(state.frames.load(), 0);

    client.request_stop();
    client.join();
    EXPECT_EQ(SimConnect_Close(h), S_OK);
    standin::stopFreeRunning();
    const std::uint64_t frames = standin::frameCount();
    EXPECT_EQ(standin::frameCount(), frames) << "no frames after the stop";
    standin::resetWorld();
}

}  // namespace
