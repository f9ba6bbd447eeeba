// The reset between runs is complete: after a run that leaves every kind of state behind, the same
// traffic gives the simulator and the log exactly what it gave a fresh engine.

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "engine_harness.h"
#include "traffic/model/engine_containers.h"
#include "traffic/model/main_loop_state.h"
#include "traffic/model/sim_events.h"
#include "traffic/model/sim_queues.h"
#include "traffic/parking/parking_plan.h"
#include "traffic/parking/static_parking.h"
#include "traffic/sim/creation_recognition.h"
#include "traffic/sim/sim_dispatch.h"
#include "traffic/sim/sim_requests.h"

namespace mrwtest {
namespace {

// What one scenario showed: the SimConnect calls the simulator received (function and arguments),
// the objects it then held, and the lines written to Log.txt.
struct Seen {
    std::vector<std::string> calls;
    std::vector<std::string> objects;
    std::string log;
};

class EngineResetTest : public EngineHarness {
  protected:
    static mrw::Stand stand(std::int32_t number, const std::string& id, double lat, double lon) {
        mrw::Stand s({}, id, lat, lon, 0.0, 90.0, 9, false, false, false);
        s.number = number;
        return s;
    }

    static mrw::CreateRequest staticRequest(const std::string& callsign, int number, double lat, double lon) {
        mrw::CreateRequest request;
        request.initPosition.Latitude = lat;
        request.initPosition.Longitude = lon;
        request.initPosition.OnGround = 1;
        request.callsign = callsign;
        request.title = "Lufthansa A320 D-AIZA";
        request.hexid = number;
        return request;
    }

    // Engine ticks, each followed by the client's flush of the queues and 10 ms of the world.
    void runWithFlush(int ticks) {
        for (int i = 0; i < ticks; ++i) {
            runTicks(1);
            mrw::gf_flushSimRequests();
        }
    }

    // The ticks count from a multiple of 100, so that the periodic requests fall alike in every run.
    void alignToHundred() {
        while (mrw::g_engineTick.load() % 100 != 0)
            runTicks(1);
    }

    // A live aircraft taxiing towards the park airport's stand, and a static aircraft created at
    // the other stand.
    Seen firstScenario() {
        alignToHundred();
        const std::size_t callsBefore = standin::journal("Merrowvale").size();
        const std::size_t logBefore = folder.logText().size();
        mrw::g_parkStands = {stand(1, "A1", 50.01, 8.51), stand(2, "A2", 50.012, 8.512)};
        feed({.hexid = 0x3C0001,
              .callsign = "DLH1",
              .lat = 50.008,
              .lon = 8.508,
              .groundSpeedKt = 12,
              .trackDeg = 45,
              .reportTime = 10});
        feed({.hexid = 0x3C0001,
              .callsign = "DLH1",
              .lat = 50.0095,
              .lon = 8.5095,
              .groundSpeedKt = 8,
              .trackDeg = 45,
              .reportTime = 20});
        mrw::StaticAc parking;
        parking.hexid = 2;
        parking.callsign = "DLH7*";
        parking.standNumber = 2;
        parking.simState = mrw::SimState::Adding2Sim;
        mrw::g_staticAcs.push_back(parking);
        mrw::g_staticCreateQueue.push_back(staticRequest("DLH7*", 2, 50.012, 8.512));
        runWithFlush(3200);
        standin::step(0.5);
        Seen seen;
        const std::vector<standin::JournalEntry> journal = standin::journal("Merrowvale");
        for (std::size_t i = callsBefore; i < journal.size(); ++i) {
            std::string call = journal[i].function;
            for (const std::string& argument : journal[i].arguments)
                call += " " + argument;
            seen.calls.push_back(call);
        }
        for (const standin::SimObject& object : standin::objects())
            seen.objects.push_back(std::to_string(object.id) + " " + object.title + " " + object.atcId);
        seen.log = folder.logText().substr(logBefore);
        return seen;
    }

    // Leaves state of every group behind: a livery respawn under way, a removal arranged during a
    // creation, a static-parking renewal half done, reports waiting at a closed intake, events and
    // requests the simulator client has not handled yet.
    void dirtyScenario() {
        mrw::LiveAc& creating = addActive({.hexid = 0x3C0011, .callsign = "AAL11"}, 0);
        creating.simState = mrw::SimState::Adding2Sim;
        mrw::g_addingStack.push_back(0x3C0011);
        runTicks(1);
        live(0x3C0011)->removeAircraftFromSim();
        addActive({.hexid = 0x3C0010, .callsign = "AAL10", .altitudeFt = 9000}, 900).liveryRespawn();
        mrw::g_parkingPlan.assign(2, mrw::ParkingPlanEntry{});
        mrw::g_staticCreateQueue.push_back(staticRequest("KLM3*", 3, 50.02, 8.52));
        {
            std::lock_guard lock(mrw::g_trafficMutex);
            mrw::g_injectionActive = false;
        }
        feed({.hexid = 0x3C0012, .callsign = "BAW12", .groundSpeedKt = 10, .reportTime = 30});
        feed({.hexid = 0x3C0012, .callsign = "BAW12", .lon = 8.601, .groundSpeedKt = 10, .reportTime = 40});
        mrw::gf_postSimEvent({555, 2, 0, mrw::SimEventType::StaticCreated, 0, 0});
        {
            std::lock_guard lock(mrw::g_simConnectMutex);
            mrw::g_removeRequests.push_back(901);
            mrw::g_createRequests.push_back(staticRequest("KLM4*", 4, 50.03, 8.53));
            mrw::g_clientEvents.push_back({900, 0, 0});
            std::swap(mrw::g_positionUpdatesIn, mrw::g_positionUpdatesOut);
            mrw::g_positionUpdatesOut->push_back({});
        }
        mrw::g_pendingCreates.push_back({7, 0x3C0011, "AAL11", {}});
        mrw::g_justAddedObjects.push_back(902);
        mrw::g_givenUpCreations.push_back({"DLH1", {}});
        mrw::g_createdObjects.push_back({903, 0x3C0010, 5, 0});
        mrw::g_removedGhosts.push_back("DLH1");
        mrw::g_liveCallsigns.insert("DLH1");
        mrw::g_inSimHexids.insert(0x3C0001);
    }
};

TEST_F(EngineResetTest, ARunAfterTheResetSeesWhatAFreshEngineSees) {
    const Seen fresh = firstScenario();
    ASSERT_EQ(fresh.objects.size(), 3u) << "the user aircraft, the live and the static aircraft";
    ASSERT_FALSE(fresh.log.empty());

    resetEngineThroughOwners();
    startWorld();
    dirtyScenario();
    resetEngineThroughOwners();
    startWorld();

    const Seen again = firstScenario();
    EXPECT_EQ(again.calls, fresh.calls);
    EXPECT_EQ(again.objects, fresh.objects);
    EXPECT_EQ(again.log, fresh.log);
}

}  // namespace
}  // namespace mrwtest
