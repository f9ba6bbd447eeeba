#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "aircraft/aircraft_database.h"
#include "aircraft/code_tables.h"
#include "config/parameter_catalogue.h"
#include "engine_harness.h"
#include "foundation/network_text.h"
#include "traffic/engine/livery_cache.h"
#include "traffic/engine/traffic_intake.h"
#include "traffic/model/engine_containers.h"
#include "traffic/model/sim_events.h"
#include "traffic/model/sim_queues.h"
#include "traffic/parking/static_parking.h"

namespace mrwtest {
namespace {

class IdentityChangesTest : public EngineHarness {
  protected:
    void TearDown() override {
        mrw::g_dbaseRecords().clear();
        EngineHarness::TearDown();
    }

    mrw::LiveAc& flying(const ReportSpec& spec) {
        mrw::LiveAc& aircraft = addActive(spec, 321);
        aircraft.liveryTitle = "American Airlines A321 N101AA";
        return aircraft;
    }
};

struct RouteCase {
    const char* name;
    const char* origin;
    const char* destination;
    const char* reportOrigin;
    const char* reportDestination;
    const char* parkIata;
    bool guidChanges;
    bool respawns;
    const char* finalOrigin;
    const char* finalDestination;
};

TEST_F(IdentityChangesTest, RouteChanges) {
    const std::vector<RouteCase> cases{
        {"new route", "JFK", "LAX", "LAX", "JFK", "", true, true, "LAX", "JFK"},
        {"new route, GUID_CHANGES off", "JFK", "LAX", "LAX", "JFK", "", false, false, "LAX", "JFK"},
        {"filled in destination", "JFK", "", "", "LAX", "", true, true, "JFK", "LAX"},
        {"return to the park airport", "LAX", "JFK", "SFO", "LAX", "LAX", true, false, "LAX", "JFK"},
        {"same route", "JFK", "LAX", "JFK", "LAX", "", true, false, "JFK", "LAX"},
        {"only the destination differs", "JFK", "LAX", "JFK", "SFO", "", true, false, "JFK", "LAX"},
    };
    for (const RouteCase& c : cases) {
        mrw::g_liveAcs.clear();
        mrw::g_parameters().GUID_CHANGES.current.store(c.guidChanges);
        mrw::g_parkAirport.iata = c.parkIata[0] ? mrw::FixedCode<3>(c.parkIata) : mrw::FixedCode<3>();
        mrw::LiveAc& aircraft = flying({.hexid = 0x560001,
                                        .callsign = "AAL100",
                                        .origin = c.origin,
                                        .destination = c.destination,
                                        .altitudeFt = 20000});
        const mrw::TrafficReport report = makeReport({.hexid = 0x560001,
                                                      .callsign = "AAL100",
                                                      .origin = c.reportOrigin,
                                                      .destination = c.reportDestination,
                                                      .altitudeFt = 20000});
        EXPECT_EQ(aircraft.respawnOnChange(report), !c.respawns) << c.name;
        EXPECT_EQ(aircraft.simState == mrw::SimState::LiveryRespawn, c.respawns) << c.name;
        EXPECT_EQ(aircraft.origin.view(), std::string_view(c.finalOrigin)) << c.name;
        EXPECT_EQ(aircraft.destination.view(), std::string_view(c.finalDestination)) << c.name;
    }
}

TEST_F(IdentityChangesTest, CallsignChangesAndGhosts) {
    mrw::LiveAc& aircraft = flying({.hexid = 0x560010, .callsign = "AAL100", .altitudeFt = 20000});
    aircraft.optionCallsign2 = "AA100";
    const mrw::TrafficReport ghost = makeReport({.hexid = 0x560010,
                                                 .callsign = "AAL100_",
                                                 .origin = "JFK",
                                                 .destination = "LAX",
                                                 .altitudeFt = 20000});
    EXPECT_FALSE(aircraft.respawnOnChange(ghost)) << "a ghost of a live aircraft";
    EXPECT_EQ(aircraft.simState, mrw::SimState::Active);
    EXPECT_TRUE(aircraft.origin.empty()) << "the ghost's route is not merged";
    EXPECT_EQ(aircraft.callsign, "AAL100");

    mrw::LiveAc& liveGhost = addActive({.hexid = 0x560011, .callsign = "ABC12_", .altitudeFt = 20000}, 322);
    static_cast<void>(liveGhost);
    const mrw::TrafficReport renamed =
        makeReport({.hexid = 0x560010, .callsign = "ABC12", .altitudeFt = 20000});
    EXPECT_FALSE(live(0x560010)->respawnOnChange(renamed));
    const mrw::LiveAc& after = *live(0x560010);
    EXPECT_EQ(after.callsign, "ABC12");
    EXPECT_EQ(after.optionCallsign, "ABC12");
    EXPECT_TRUE(after.optionCallsign2.empty());
    EXPECT_EQ(after.simState, mrw::SimState::LiveryRespawn);
    EXPECT_EQ(live(0x560011)->simState, mrw::SimState::RemovingFromSim) << "the live ghost ABC12_ goes";
    EXPECT_EQ(mrw::g_removedGhosts, (std::vector<std::string>{"ABC12_"}));
}

TEST_F(IdentityChangesTest, NothingChangesDuringTakeOffApproachOrPushback) {
    const mrw::TrafficReport report = makeReport(
        {.hexid = 0x560020, .callsign = "NEW1", .origin = "AAA", .destination = "BBB", .altitudeFt = 2000});
    for (int situation = 0; situation < 4; ++situation) {
        mrw::g_liveAcs.clear();
        mrw::LiveAc& aircraft = flying({.hexid = 0x560020, .callsign = "AAL5", .altitudeFt = 2000});
        if (situation == 0) aircraft.takeOffRoll = true;
        if (situation == 1) aircraft.approaching = true;
        if (situation == 2) aircraft.phase = mrw::FlightPhase::PushingBack;
        if (situation == 3) aircraft.streamEndState = 2;
        EXPECT_TRUE(aircraft.respawnOnChange(report)) << situation;
        EXPECT_EQ(aircraft.callsign, "AAL5") << situation;
        EXPECT_TRUE(aircraft.origin.empty()) << situation;
    }
}

TEST_F(IdentityChangesTest, BufferedAircraftMergesTheReport) {
    mrw::TrafficReport first = makeReport({.hexid = 0x560030, .callsign = "", .origin = "FRA"});
    mrw::lf_takeTrafficReport(first);
    const mrw::TrafficReport second =
        makeReport({.hexid = 0x560030, .callsign = "DLH9", .registration = "D-AIZB", .destination = "MUC"});
    EXPECT_TRUE(live(0x560030)->respawnOnChange(second));
    const mrw::LiveAc& merged = *live(0x560030);
    EXPECT_EQ(merged.callsign, "DLH9");
    EXPECT_EQ(merged.registration, "D-AIZB");
    EXPECT_EQ(merged.origin.view(), "FRA");
    EXPECT_EQ(merged.destination.view(), "MUC");
}

TEST_F(IdentityChangesTest, NewRegistrationOfAnotherAirlineResetsTheLiveryAndLearnsUnderTheNewRegistration) {
    const mrw::AcDesignation klm{mrw::gf_airlineIndex("KLM"), 0, mrw::gf_modelIndex("B738"), 0, 1};
    mrw::g_dbaseRecords() = {{"PH-BXA", klm}};
    mrw::Stand stand({}, "D4", 50.05, 8.6, 0, 40, 9, false, false, false);
    stand.number = 1;
    mrw::g_parkStands = {stand};
    mrw::LiveAc& aircraft = addActive({.hexid = 0x560040,
                                       .callsign = "TRA123",
                                       .registration = "PH-HZA",
                                       .airline = "TRA",
                                       .model = "B738"},
                                      323);
    aircraft.phase = mrw::FlightPhase::Parked;
    aircraft.standNumber = 1;
    aircraft.liveryTitle = "Generic B738";
    mrw::g_liveryOfHexid[0x560040] = "Generic B738";
    const mrw::TrafficReport report =
        makeReport({.hexid = 0x560040, .callsign = "KLM1234", .registration = "PH-BXA", .model = "B738"});
    EXPECT_FALSE(aircraft.respawnOnChange(report));
    EXPECT_EQ(aircraft.designation, klm);
    EXPECT_EQ(aircraft.registration, "PH-BXA");
    EXPECT_TRUE(aircraft.liveryTitle.empty());
    EXPECT_FALSE(mrw::g_liveryOfHexid.contains(0x560040));
    ASSERT_EQ(mrw::g_parkStands[0].options.size(), 1u);
    EXPECT_EQ(mrw::g_parkStands[0].options[0].registration, "PH-BXA");
    EXPECT_EQ(mrw::g_parkStands[0].options[0].designation, klm);
}

TEST_F(IdentityChangesTest, RegistrationFillsInAndChecksTheRegcodeLivery) {
    mrw::LiveAc& aircraft = flying(
        {.hexid = 0x560050, .callsign = "AAL100", .airline = "AAL", .model = "A321", .altitudeFt = 20000});
    const mrw::TrafficReport same =
        makeReport({.hexid = 0x560050, .callsign = "AAL100", .registration = "", .altitudeFt = 20000});
    EXPECT_TRUE(aircraft.respawnOnChange(same)) << "nothing new";
    const mrw::TrafficReport withRegistration =
        makeReport({.hexid = 0x560050, .callsign = "AAL100", .registration = "N999XX", .altitudeFt = 20000});
    EXPECT_TRUE(aircraft.respawnOnChange(withRegistration)) << "an unlisted registration keeps the livery";
    EXPECT_EQ(aircraft.registration, "N999XX");
    EXPECT_EQ(aircraft.simState, mrw::SimState::Active);
}

// An aircraft whose callsign cannot be used (longer than eight characters) is created under its
// registration; the reports that go on carrying that callsign change nothing: no respawn, and no log
// line holds the long callsign whole.
TEST_F(IdentityChangesTest, AnUnusableCallsignFliesUnderTheRegistrationWithoutRespawns) {
    std::uint32_t objectId = 800;
    for (const std::string& callsign : {std::string("DLH4ABCDE"), std::string(10000, 'Q')}) {
        SCOPED_TRACE(callsign.size());
        const std::uint32_t hexid = 0x570000 + objectId;
        std::vector<std::string> created;
        ReportSpec spec{.hexid = hexid,
                        .callsign = callsign,
                        .registration = "D-AIZA",
                        .altitudeFt = 12000,
                        .groundSpeedKt = 300,
                        .trackDeg = 90};
        for (int report = 0; report < 60; ++report) {
            feed(spec);
            for (int tick = 0; tick < 300; ++tick) {  // 3 s: 0.25 nm at 300 kt
                runTicks(1);
                std::vector<mrw::CreateRequest> requests;
                {
                    std::lock_guard lock(mrw::g_simConnectMutex);
                    requests.swap(mrw::g_createRequests);
                }
                // The simulator creates what is asked for.
                for (const mrw::CreateRequest& request : requests) {
                    created.push_back(request.callsign);
                    mrw::gf_postSimEvent({++objectId, static_cast<std::int32_t>(hexid), 0,
                                          mrw::SimEventType::LiveCreated, 0, 12000});
                }
            }
            spec.lon += 0.0065;
            spec.reportTime += 3;
        }
        EXPECT_EQ(created, std::vector<std::string>{"D-AIZA"});
        ASSERT_NE(live(hexid), nullptr);
        EXPECT_EQ(live(hexid)->simState, mrw::SimState::Active);
        EXPECT_EQ(live(hexid)->callsign, "D-AIZA");
        const std::string log = folder.logText();
        EXPECT_EQ(log.find(" respawns"), std::string::npos) << log.substr(0, 3000);
        std::size_t longest = 0;
        for (std::size_t start = 0, end = 0; start < log.size(); start = end + 1) {
            end = std::min(log.find('\n', start), log.size());
            longest = std::max(longest, end - start);
        }
        EXPECT_LT(longest, 2 * mrw::kMaxQuotedBytes);
    }
}

}  // namespace
}  // namespace mrwtest
