#include "traffic/engine/engine_limits.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "config/parameter_catalogue.h"
#include "engine_harness.h"
#include "foundation/file_names.h"
#include "foundation/simulator_choice.h"
#include "foundation/text_encoding.h"
#include "foundation/window_model.h"
#include "support/test_support.h"
#include "traffic/engine/engine_tick.h"
#include "traffic/model/engine_containers.h"
#include "traffic/parking/parked_limit.h"

namespace mrwtest {
namespace {

class EngineLimitsTest : public EngineHarness {
  protected:
    // An active live aircraft `nm` nautical miles north of the user.
    mrw::LiveAc& liveAt(std::uint32_t hexid, double nm, std::uint32_t objectId) {
        return addActive({.hexid = hexid,
                          .callsign = "AAL" + std::to_string(hexid % 1000),
                          .lat = kUserLat + nm / 60.0,
                          .lon = kUserLon,
                          .altitudeFt = 5000},
                         objectId);
    }

    mrw::LiveAc& parkedLive(std::uint32_t hexid, std::int64_t parkedSeconds, std::uint32_t objectId) {
        mrw::LiveAc& aircraft =
            addActive({.hexid = hexid, .callsign = "KLM" + std::to_string(hexid % 1000)}, objectId);
        aircraft.phase = mrw::FlightPhase::Parked;
        aircraft.parkedAt = (wallClockSeconds - parkedSeconds) * 10'000'000;
        return aircraft;
    }

    static mrw::StaticAc& staticAt(std::uint32_t number, mrw::WeekSlot since, std::uint32_t objectId) {
        mrw::StaticAc aircraft;
        aircraft.hexid = number;
        aircraft.callsign = "STAT" + std::to_string(number) + "*";
        aircraft.parkedSince = since;
        aircraft.simState = mrw::SimState::Active;
        aircraft.objectId = objectId;
        return mrw::g_staticAcs.emplace_back(std::move(aircraft));
    }

    static std::vector<std::uint32_t> removing() {
        std::vector<std::uint32_t> hexids;
        for (const auto& a : mrw::g_liveAcs)
            if (a.simState == mrw::SimState::RemovingFromSim) hexids.push_back(a.hexid);
        for (const auto& a : mrw::g_staticAcs)
            if (a.simState == mrw::SimState::RemovingFromSim) hexids.push_back(a.hexid);
        return hexids;
    }
};

TEST_F(EngineLimitsTest, FarthestLiveAircraft) {
    struct Case {
        const char* name;
        double d;
        bool noneRemoved;
        std::vector<std::uint32_t> removed;
    };
    for (const Case& c :
         std::vector<Case>{{"the farthest", -1, false, {0x500003}},
                           {"beyond d + 0.1, within 0.1 of the farthest", 20, false, {0x500002}},
                           {"all within d + 0.1", 29.96, true, {}}}) {
        mrw::g_liveAcs.clear();
        liveAt(0x500001, 10, 301);
        liveAt(0x500002, 30, 302);
        liveAt(0x500003, 30.05, 303);
        EXPECT_EQ(mrw::gf_removeFarthestLiveAc(c.d), c.noneRemoved) << c.name;
        EXPECT_EQ(removing(), c.removed) << c.name;
    }
}

TEST_F(EngineLimitsTest, MaxParkRemovesTheLongestParkedLiveAndTheEarliestStatic) {
    for (bool initialLoadOnly : {false, true}) {
        mrw::g_engineContainers.renew();
        mrw::g_parameters().INITIAL_LOAD_ONLY.current.store(initialLoadOnly);
        mrw::g_mainWindow().maxPark.store(5);
        for (std::uint32_t i = 0; i < 5; ++i)
            parkedLive(0x510000 + i, 100 * (i + 1), 400 + i);
        staticAt(1, {7, 40}, 501);
        staticAt(2, {1, 2}, 502);
        mrw::lf_enforceMaxPark(true);
        std::vector<std::uint32_t> expected{0x510004, 2};
        if (initialLoadOnly) expected = {2};
        EXPECT_EQ(removing(), expected) << "INITIAL_LOAD_ONLY " << initialLoadOnly;
    }
    mrw::g_mainWindow().maxPark.store(0);
}

TEST_F(EngineLimitsTest, MaxParkIsReachedNotExceededWithoutRemovals) {
    struct Case {
        const char* name;
        std::uint32_t parked;
        std::uint32_t statics;
        bool extra;
        std::vector<std::uint32_t> removed;
    };
    for (const Case& c : std::vector<Case>{
             {"5 parked live", 5, 0, false, {}},
             {"4 parked live and one to come", 4, 0, true, {}},
             {"4 parked live and a static", 4, 1, false, {}},
             {"4 parked live, a static and one to come", 4, 1, true, {1}},
             {"5 parked live and one to come", 5, 0, true, {0x540004}},
         }) {
        mrw::g_engineContainers.renew();
        mrw::g_mainWindow().maxPark.store(5);
        for (std::uint32_t i = 0; i < c.parked; ++i)
            parkedLive(0x540000 + i, 100 * (i + 1), 400 + i);
        for (std::uint32_t i = 1; i <= c.statics; ++i)
            staticAt(i, {1, static_cast<int>(i)}, 500 + i);
        mrw::lf_enforceMaxPark(c.extra);
        EXPECT_EQ(removing(), c.removed) << c.name;
    }
    mrw::g_mainWindow().maxPark.store(0);
}

TEST_F(EngineLimitsTest, LongestParkedLiveAircraftAreRemovedOnRequest) {
    parkedLive(0x520001, 100, 601);
    parkedLive(0x520002, 50, 602);
    addActive({.hexid = 0x520003, .callsign = "KLM9"}, 603);
    mrw::lf_removeLiveParkedAt(3);
    EXPECT_EQ(removing(), (std::vector<std::uint32_t>{0x520001, 0x520002}));
    std::vector<mrw::ParkedLive> parked;
    mrw::lf_collectParkedLive(parked);
    EXPECT_TRUE(parked.empty());
}

TEST_F(EngineLimitsTest, TaxiingPastAStaticOfItsOwnCallsignLeavesIt) {
    mrw::StaticAc& own = staticAt(3, {1, 1}, 701);
    own.callsign = "KLM1";
    own.standPosition = {50.05, 8.60};
    own.halfSpanNm = 0.01;
    mrw::StaticAc& other = staticAt(4, {1, 1}, 702);
    other.standPosition = {50.05, 8.60};
    other.halfSpanNm = 0.01;
    mrw::LiveAc& taxiing = addActive({.hexid = 0x530001, .callsign = "KLM1"}, 703);
    taxiing.halfSpanNm = 0.01;
    taxiing.removeStaticInWay();
    EXPECT_EQ(removing(), (std::vector<std::uint32_t>{4}));
    EXPECT_EQ(taxiing.clearCheckPosition, (mrw::Lalo{50.05, 8.60}));
}

TEST_F(EngineLimitsTest, ObjectIdListHoldsTheActiveLiveAircraft) {
    std::filesystem::create_directories(mrw::g_infoFolder);
    mrw::LiveAc& parked = addActive({.hexid = 0x540001,
                                     .callsign = "DLH4AB",
                                     .registration = "D-AIBA",
                                     .airline = "DLH",
                                     .model = "A319"},
                                    123);
    parked.phase = mrw::FlightPhase::Parked;
    addActive({.hexid = 0x540002, .callsign = "BAW1", .model = "A320", .altitudeFt = 9000}, 124);
    mrw::LiveAc& buffered = addActive({.hexid = 0x540003, .callsign = "BAW2"}, 0);
    buffered.simState = mrw::SimState::Buffer;
    mrw::lf_writeObjectIdList();
    EXPECT_EQ(readFile(mrw::g_objectIdListFile),
              "123;DLH4AB;D-AIBA;DLH;A319;GND;PARKED\n124;BAW1;;DLH;A320;AIR;\n");
    mrw::g_msfs2020.store(false);
    mrw::g_liveAcs.erase(mrw::g_liveAcs.begin() + 1, mrw::g_liveAcs.end());
    mrw::lf_writeObjectIdList();
    EXPECT_EQ(readFile(mrw::g_objectIdListFile), "7b;DLH4AB;D-AIBA;DLH;A319;GND;PARKED\n");
}

TEST_F(EngineLimitsTest, FailedObjectIdListWriteIsLogged) {
    mrw::lf_writeObjectIdList();
    // The path as the system writes it (backslashes on Windows).
    EXPECT_NE(folder.logText().find("Failed to write " + mrw::path_to_utf8(mrw::g_objectIdListFile)),
              std::string::npos);
}

}  // namespace
}  // namespace mrwtest
