#include <gtest/gtest.h>

#include <fmt/format.h>

#include <cmath>
#include <cstring>

#include "foundation/message_line.h"
#include "foundation/run_state.h"
#include "foundation/simulator_choice.h"
#include "foundation/user_error_exception.h"
#include "foundation/window_model.h"
#include "traffic/feed/realtraffic_link.h"
#include "traffic/model/sim_queues.h"
#include "traffic/sim/sim_client.h"
#include "traffic/sim/sim_dispatch_test_support.h"

namespace mrw {
namespace {

using mrwtest::RawRecord;
using mrwtest::textRecord;

SIMCONNECT_RECV_OPEN openRecord(const char* name) {
    SIMCONNECT_RECV_OPEN open{};
    std::strncpy(open.szApplicationName, name, sizeof open.szApplicationName - 1);
    open.dwApplicationVersionMajor = 11;
    open.dwApplicationVersionMinor = 0;
    open.dwApplicationBuildMajor = 282174;
    open.dwApplicationBuildMinor = 999;
    return open;
}

SIMCONNECT_RECV_EXCEPTION exceptionRecord(DWORD number, DWORD sendId = 0, DWORD index = 0) {
    SIMCONNECT_RECV_EXCEPTION exception{};
    exception.dwException = number;
    exception.dwSendID = sendId;
    exception.dwIndex = index;
    return exception;
}

SIMCONNECT_RECV_EVENT eventRecord(DWORD eventId, DWORD data) {
    SIMCONNECT_RECV_EVENT event{};
    event.uGroupID = SIMCONNECT_UNUSED;
    event.uEventID = eventId;
    event.dwData = data;
    return event;
}

SIMCONNECT_RECV_EVENT_OBJECT_ADDREMOVE addRemoveRecord(
    DWORD eventId, DWORD objectId, SIMCONNECT_SIMOBJECT_TYPE type = SIMCONNECT_SIMOBJECT_TYPE_AIRCRAFT) {
    SIMCONNECT_RECV_EVENT_OBJECT_ADDREMOVE event{};
    event.uGroupID = SIMCONNECT_UNUSED;
    event.uEventID = eventId;
    event.dwData = objectId;
    event.eObjType = type;
    return event;
}

RawRecord inRangeRecord(DWORD objectId, std::string_view atcId, double altitudeAboveGround,
                        double groundAltitude = 12.0, std::int64_t onGround = 0, DWORD requestId = 101) {
    ObjectInRangeData data;
    data.altitudeAboveGround = altitudeAboveGround;
    data.groundAltitude = groundAltitude;
    data.onGround = onGround;
    std::memcpy(data.atcId, atcId.data(), std::min(atcId.size(), sizeof data.atcId));
    return RawRecord::objectData(SIMCONNECT_RECV_ID_SIMOBJECT_DATA_BYTYPE, requestId, objectId,
                                 RawRecord::bytesOf(data));
}

UserAcData userAt(double lat, double lon, std::int64_t zuluTime = 36000) {
    UserAcData data;
    data.latitude = lat;
    data.longitude = lon;
    data.altitudeFt = 120.0;
    data.zuluTime = zuluTime;
    data.zuluDayOfYear = 100;
    data.zuluYear = 2025;
    return data;
}

RawRecord userRecord(const UserAcData& data, DWORD objectId = 1) {
    return RawRecord::objectData(SIMCONNECT_RECV_ID_SIMOBJECT_DATA, 109, objectId, RawRecord::bytesOf(data));
}

RawRecord onGroundRecord(std::int64_t onGround) {
    return RawRecord::objectData(SIMCONNECT_RECV_ID_SIMOBJECT_DATA, 108, 1, RawRecord::bytesOf(onGround));
}

class SimDispatchRecordsTest : public mrwtest::SimDispatchTest {
  protected:
    void TearDown() override {
        g_msfs2020 = true;
        g_rtProfessional = false;
        mrwtest::SimDispatchTest::TearDown();
    }
    void dispatchOne(const RawRecord& record) {
        inject(record);
        dispatch();
    }
    template <class Record>
    void dispatchOne(const Record& record, DWORD id) {
        dispatchOne(RawRecord::of(record, id));
    }
    bool logged(std::string_view text) const { return logText().find(text) != std::string::npos; }
};

// --- identification ---

TEST_F(SimDispatchRecordsTest, OpenNamesTheChosenSimulatorAndRefusesTheOther) {
    struct Case {
        const char* name;
        bool choose2020;
        const char* text;   // the simulator text, or empty when refused
        const char* error;  // the leading text of the exception, or empty
    };
    for (const Case& c :
         {Case{"KittyHawk", true, "MSFS 2020 (11.0.282174.999)", ""},
          Case{"Kitty-Hawk!", true, "MSFS 2020 (11.0.282174.999)", ""},
          Case{"SunRise", false, "MSFS 2024 (11.0.282174.999)", ""}, Case{"SunRise", true, "", "2024"},
          Case{"KittyHawk", false, "", "2024"},
          Case{"Sun Rise", false, "", "77: 'Sun Rise' not being MSFS 2020 or MSFS 2024 connects ... ?"},
          Case{"Sun Rise", true, "", "77: 'Sun Rise' not being MSFS 2020 or MSFS 2024 connects ... ?"}}) {
        SCOPED_TRACE(fmt::format("{} / {}", c.name, c.choose2020));
        mrwtest::resetSimClientState();
        gf_setMessage("Waiting for MSFS 2020 ...", false);
        g_msfs2020 = c.choose2020;
        inject(openRecord(c.name), SIMCONNECT_RECV_ID_OPEN);
        if (std::string_view(c.error).empty()) {
            dispatch();
            EXPECT_EQ(g_mainWindow().simulatorText.get(), c.text);
            EXPECT_TRUE(logged(fmt::format("{} connected", c.text)));
            EXPECT_TRUE(message().empty());
        } else {
            try {
                dispatch();
                ADD_FAILURE() << "no exception";
            } catch (const UserErrorException& e) {
                EXPECT_TRUE(std::string_view(e.what()).starts_with(c.error)) << e.what();
            }
            EXPECT_TRUE(g_mainWindow().simulatorText.empty());
        }
        EXPECT_TRUE(g_mainWindow().simConnected.load());
    }
}

TEST_F(SimDispatchRecordsTest, AnEmptySimulatorNameOnlyWritesItsLine) {
    dispatchOne(openRecord(""), SIMCONNECT_RECV_ID_OPEN);
    EXPECT_TRUE(logged("! Simulator name empty?"));
    EXPECT_FALSE(g_mainWindow().simConnected.load());
}

// --- exceptions ---

TEST_F(SimDispatchRecordsTest, ExceptionsAreLoggedOrShownByNumber) {
    struct Case {
        DWORD number;
        const char* line;
    };
    for (const Case& c : {Case{19, "\nSIMCONNECT_EXCEPTION_INVALID_DATA_SIZE\n"},
                          Case{23, "==> SimConnect exception: load flight plan failed"},
                          Case{24, "\nSIMCONNECT_EXCEPTION_OPERATION_INVALID_FOR_OBJECT_TYPE\n"},
                          Case{99, "==> SIMCONNECT_EXCEPTION #99"}}) {
        dispatchOne(exceptionRecord(c.number), SIMCONNECT_RECV_ID_EXCEPTION);
        EXPECT_TRUE(logged(c.line)) << c.number;
    }
    dispatchOne(exceptionRecord(11), SIMCONNECT_RECV_ID_EXCEPTION);
    EXPECT_EQ(message(), "SimConnect: too many objects (max 1000)");
    EXPECT_TRUE(logged("SimConnect: too many objects (max 1000)"));
    EXPECT_TRUE(takeEvents().empty());
}

TEST_F(SimDispatchRecordsTest, AnUnrecognisedIdIsLoggedOnlyWithAKnownPositionAndNoStop) {
    dispatchOne(exceptionRecord(3), SIMCONNECT_RECV_ID_EXCEPTION);
    EXPECT_FALSE(logged("SIMCONNECT_EXCEPTION_UNRECOGNIZED_ID"));
    gf_setUserAcDataRecv(userAt(52.0, 4.0));
    g_windowClosing = true;
    dispatchOne(exceptionRecord(3), SIMCONNECT_RECV_ID_EXCEPTION);
    EXPECT_FALSE(logged("SIMCONNECT_EXCEPTION_UNRECOGNIZED_ID"));
    g_windowClosing = false;
    dispatchOne(exceptionRecord(3), SIMCONNECT_RECV_ID_EXCEPTION);
    EXPECT_TRUE(logged("==> SIMCONNECT_EXCEPTION_UNRECOGNIZED_ID"));
}

TEST_F(SimDispatchRecordsTest, AVersionMismatchThrowsNumber95) {
    inject(exceptionRecord(5, 0, 3), SIMCONNECT_RECV_ID_EXCEPTION);
    try {
        dispatch();
        FAIL() << "no exception";
    } catch (const UserErrorException& e) {
        EXPECT_STREQ(e.what(), "95: SimConnect Version Mismatch, dwIndex: 3");
    }
}

TEST_F(SimDispatchRecordsTest, AFailedCreationReachesTheEngineWhenItsSendIdMatches) {
    g_pendingCreates = {{7, 20001, "KLM1"}, {8, 0, "ZERO"}, {9, 77, "STATIC1*"}};
    dispatchOne(exceptionRecord(22, 42), SIMCONNECT_RECV_ID_EXCEPTION);  // no such send id
    EXPECT_EQ(g_pendingCreates.size(), 3u);
    EXPECT_TRUE(takeEvents().empty());

    dispatchOne(exceptionRecord(22, 7), SIMCONNECT_RECV_ID_EXCEPTION);
    ASSERT_EQ(g_pendingCreates.size(), 2u);
    EXPECT_EQ(g_pendingCreates[0].sendId, 9u);  // the last one took its place
    const auto events = takeEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].type, SimEventType::CreateFailed);
    EXPECT_EQ(events[0].hexid, 20001);
    EXPECT_EQ(events[0].objectId, 0u);

    dispatchOne(exceptionRecord(22, 8), SIMCONNECT_RECV_ID_EXCEPTION);  // hexid 0: dropped silently
    EXPECT_EQ(g_pendingCreates.size(), 1u);
    EXPECT_TRUE(takeEvents().empty());
}

// --- message ids and flight state ---

TEST_F(SimDispatchRecordsTest, IgnoredAndUnknownMessageIds) {
    SIMCONNECT_RECV plain{};
    dispatchOne(plain, 27);
    dispatchOne(plain, 12);
    EXPECT_FALSE(logged("Unknown Dispatch"));
    dispatchOne(plain, 40);
    EXPECT_TRUE(logged("! Unknown Dispatch dwID 40"));
    gf_onSimDispatch(nullptr, 0, nullptr);  // does nothing
}

TEST_F(SimDispatchRecordsTest, TheFlightStateFollowsSimAndQuit) {
    dispatchOne(eventRecord(201, 1), SIMCONNECT_RECV_ID_EVENT);
    EXPECT_TRUE(g_simRunning.load());
    EXPECT_TRUE(g_mainWindow().simRunning.load());
    SIMCONNECT_RECV_QUIT quit{};
    dispatchOne(quit, SIMCONNECT_RECV_ID_QUIT);
    EXPECT_FALSE(g_simRunning.load());
    EXPECT_FALSE(g_mainWindow().simRunning.load());
    dispatchOne(eventRecord(201, 1), SIMCONNECT_RECV_ID_EVENT);
    dispatchOne(eventRecord(201, 0), SIMCONNECT_RECV_ID_EVENT);
    EXPECT_FALSE(g_simRunning.load());
    EXPECT_EQ(g_exitReason.load(), ExitReason::NotYetSet);
}

TEST_F(SimDispatchRecordsTest, ANewFlightEndsTheRunOnlyOnceTheUserDataHasCome) {
    for (const bool asFile : {false, true}) {
        SCOPED_TRACE(asFile);
        mrwtest::resetSimClientState();
        const auto record =
            asFile ? RawRecord::of(SIMCONNECT_RECV_EVENT_FILENAME{}, SIMCONNECT_RECV_ID_EVENT_FILENAME)
                   : RawRecord::of(eventRecord(205, 0), SIMCONNECT_RECV_ID_EVENT);
        dispatchOne(record);
        EXPECT_TRUE(logged(asFile ? "==> SimConnect: New file event" : "SimConnect: flight loaded event"));
        EXPECT_EQ(g_exitReason.load(), ExitReason::NotYetSet);  // the first flight being loaded
        g_userDataReceived = true;
        dispatchOne(record);
        EXPECT_EQ(g_exitReason.load(), ExitReason::NewFlight);
    }
}

// --- user aircraft ---

TEST_F(SimDispatchRecordsTest, OnGroundCountsOnlyWithAKnownPositionAndAlwaysBeatsTheSecond) {
    dispatchOne(onGroundRecord(1));
    EXPECT_TRUE(g_newSimSecond.exchange(false));
    EXPECT_FALSE(g_userDataReceived.load());
    EXPECT_FALSE(g_userOnGround.load());

    gf_setUserAcDataRecv(userAt(52.0, 4.0));
    dispatchOne(onGroundRecord(1));
    EXPECT_TRUE(g_newSimSecond.exchange(false));
    EXPECT_TRUE(g_userDataReceived.load());
    EXPECT_TRUE(g_userOnGround.load());
    dispatchOne(onGroundRecord(std::int64_t{1} << 32));  // only the low 32 bits count
    EXPECT_FALSE(g_userOnGround.load());
}

TEST_F(SimDispatchRecordsTest, TheUserRecordIsKeptWithItsObjectIdAndSimulatorTime) {
    UserAcData data = userAt(52.0, 4.0);
    data.altitudeFt = -30.0;
    data.groundVelocityKt = 1.5;
    dispatchOne(userRecord(data, 7));
    const UserAcData kept = gf_userAcDataRecv();
    EXPECT_EQ(kept.latitude, 52.0);
    EXPECT_EQ(kept.altitudeFt, 0.0);  // never below the ground
    EXPECT_EQ(kept.groundVelocityKt, 1.5);
    EXPECT_EQ(g_userObjectId.load(), 7u);
    EXPECT_EQ(g_simTimeEpoch.load(), 0);  // only for the professional edition

    g_rtProfessional = true;
    dispatchOne(userRecord(data, 7));
    // 2025, day 100 = 2025-04-10, 10:00:00 UTC.
    EXPECT_EQ(g_simTimeEpoch.load(), 1744279200);
}

TEST(ZuluEpoch, ProlepticGregorianDaysSince1970) {
    struct Case {
        std::int64_t year, day, time, epoch;
    };
    for (const Case& c :
         {Case{1970, 1, 0, 0}, Case{2000, 60, 0, 951782400}, Case{2024, 366, 86399, 1735689599},
          Case{2025, 1, 0, 1735689600}, Case{1969, 365, 3600, -82800}}) {
        UserAcData data;
        data.zuluYear = c.year;
        data.zuluDayOfYear = c.day;
        data.zuluTime = c.time;
        EXPECT_EQ(gf_zuluEpochSeconds(data), c.epoch) << c.year << "/" << c.day;
    }
}

TEST_F(SimDispatchRecordsTest, ATeleportIsAJumpOfMoreThanTenMilesFasterThanAnAircraft) {
    struct Case {
        const char* name;
        bool previousKnown;
        double milesNorth;
        std::int64_t seconds;
        bool newFlight;
        std::int64_t start = 36000;  // seconds into day 100 of the first answer
    };
    // An answer at the given seconds after the start of day 100: later days past midnight.
    const auto answerAt = [](double lat, std::int64_t seconds) {
        UserAcData data = userAt(lat, 4.0, seconds % 86400);
        data.zuluDayOfYear = static_cast<decltype(data.zuluDayOfYear)>(100 + seconds / 86400);
        return userRecord(data);
    };
    const double degreesPerMile = 1.0 / 60.0;
    for (const Case& c :
         {Case{"11 nm in 1 s", true, 11.0, 1, true}, Case{"11 nm in 120 s", true, 11.0, 120, false},
          Case{"first answer", false, 11.0, 1, false}, Case{"9 nm in 1 s", true, 9.0, 1, false},
          Case{"no time between", true, 11.0, 0, true}, Case{"time back", true, 11.0, -5, true},
          Case{"40 nm in 120 s", true, 40.0, 120, true},
          Case{"11 nm in 120 s across midnight", true, 11.0, 120, false, 86340}}) {
        SCOPED_TRACE(c.name);
        mrwtest::resetSimClientState();
        if (c.previousKnown) dispatchOne(answerAt(52.0, c.start));
        dispatchOne(answerAt(52.0 + c.milesNorth * degreesPerMile, c.start + c.seconds));
        EXPECT_EQ(g_exitReason.load() == ExitReason::NewFlight, c.newFlight);
        EXPECT_NEAR(g_prevUserPosition.latitude, 52.0 + c.milesNorth * degreesPerMile, 1e-12);
    }
}

TEST_F(SimDispatchRecordsTest, TheTitleIsShownOnceAndCutAt48Characters) {
    const std::string title(60, 'T');
    dispatchOne(textRecord(106, title, title.size() + 1));
    EXPECT_EQ(g_userTitle, title.substr(0, 48));
    EXPECT_EQ(g_mainWindow().userAircraftText.get(), title.substr(0, 48));
    dispatchOne(textRecord(106, title, title.size() + 1));
    const std::string log = logText();
    EXPECT_EQ(log.find("SimConnect: User aircraft title: "), log.rfind("SimConnect: User aircraft title: "));

    dispatchOne(textRecord(106, "", 4));
    EXPECT_TRUE(logged("! Title of your aircraft is empty?"));
    EXPECT_EQ(g_userTitle, title.substr(0, 48));
    // A title without its NUL ends with the record.
    dispatchOne(textRecord(106, "Cessna 172", 10));
    EXPECT_EQ(g_userTitle, "Cessna 172");
}

// --- objects in range ---

class ObjectsInRangeTest : public SimDispatchRecordsTest {
  protected:
    void SetUp() override {
        SimDispatchRecordsTest::SetUp();
        g_userObjectId = 2;
    }
    void announce(DWORD objectId) {
        dispatchOne(addRemoveRecord(202, objectId), SIMCONNECT_RECV_ID_EVENT_OBJECT_ADDREMOVE);
    }
};

TEST_F(ObjectsInRangeTest, AircraftNearTheGroundAreReported) {
    struct Case {
        DWORD objectId;
        const char* atcId;
        double altitude;
        bool reported;
    };
    for (const Case& c : {Case{500, "DLH12", 100.0, true}, Case{500, "DLH12", 2500.0, true},
                          Case{500, "DLH12", 2600.0, false}, Case{500, "STATIC1*", 0.0, false},
                          Case{500, "", 0.0, false}, Case{2, "USER", 0.0, false}, Case{1, "LOW", 0.0, false},
                          Case{500, "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456", 10.0, true}}) {
        SCOPED_TRACE(fmt::format("{} {} {}", c.objectId, c.atcId, c.altitude));
        dispatchOne(inRangeRecord(c.objectId, c.atcId, c.altitude, 33.0, 1));
        const auto events = takeEvents();
        ASSERT_EQ(events.size(), c.reported ? 1u : 0u);
        if (!c.reported) continue;
        EXPECT_EQ(events[0].objectId, c.objectId);
        EXPECT_EQ(events[0].type, SimEventType::InRange);
        EXPECT_EQ(events[0].hexid, 1);
        EXPECT_EQ(events[0].value1, 33.0);
        EXPECT_EQ(events[0].value2, c.altitude);
    }
    // Answers to other requests are not in-range data.
    dispatchOne(inRangeRecord(500, "DLH12", 10.0, 0.0, 0, 102));
    EXPECT_TRUE(takeEvents().empty());
}

TEST_F(ObjectsInRangeTest, AForeignAircraftJustAddedIsLoggedOnceThenReported) {
    announce(2);  // not above the user aircraft: never announced
    EXPECT_TRUE(g_justAddedObjects.empty());
    announce(600);
    dispatchOne(inRangeRecord(600, "N123AB", 100.0, 12.0, 1));
    EXPECT_TRUE(
        logged("just spawned, but not by Merrowvale, oid: 600, callsign 'N123AB', altaboveGnd:100 ft, "
               "onground:1, gnd_alt:12 ft"));
    EXPECT_TRUE(takeEvents().empty());
    EXPECT_TRUE(g_justAddedObjects.empty());
    dispatchOne(inRangeRecord(600, "N123AB", 100.0, 12.0, 1));
    EXPECT_EQ(takeEvents().size(), 1u);
}

TEST_F(ObjectsInRangeTest, SimulatorTrafficIsNotedOnlyOnce) {
    announce(601);
    announce(602);
    dispatchOne(inRangeRecord(601, "AS-GEN", 1500.0, 10.0, 0));
    dispatchOne(inRangeRecord(602, "AS-GEN", 900.0, 10.0, 0));
    const std::string log = logText();
    const std::string note =
        "==> \nSpawned by Asobo, oid: 601, callsign AS-GEN, altaboveGnd:1500 ft, onground:0, "
        "gnd_alt:10 ft\nThis message will be logged only once...\n";
    EXPECT_NE(log.find(note), std::string::npos);
    EXPECT_EQ(log.find("Spawned by Asobo"), log.rfind("Spawned by Asobo"));
    EXPECT_TRUE(takeEvents().empty());
}

TEST_F(ObjectsInRangeTest, ACreationIsRecognisedByItsCallsignEvenAfterAnEmptyFirstAtcId) {
    g_pendingCreates = {{5, 20001, "KLM1"}};
    announce(700);
    dispatchOne(inRangeRecord(700, "", 800.0));  // the tail number is not set yet
    EXPECT_EQ(g_justAddedObjects, std::vector<std::uint32_t>{700});
    EXPECT_EQ(g_pendingCreates.size(), 1u);
    EXPECT_TRUE(takeEvents().empty());

    dispatchOne(inRangeRecord(700, "KLM1", 800.0));
    EXPECT_TRUE(g_justAddedObjects.empty());
    EXPECT_TRUE(g_pendingCreates.empty());
    const auto released = calls("SimConnect_AIReleaseControl");
    ASSERT_EQ(released.size(), 1u);
    EXPECT_EQ(released[0].arguments, (std::vector<std::string>{"700", "103"}));
    ASSERT_EQ(g_clientEvents.size(), 3u);
    EXPECT_EQ(g_clientEvents[0].eventId, FREEZE_LATITUDE_LONGITUDE_SET);
    EXPECT_EQ(g_clientEvents[1].eventId, FREEZE_ALTITUDE_SET);
    EXPECT_EQ(g_clientEvents[2].eventId, FREEZE_ATTITUDE_SET);
    for (const ClientEventRequest& e : g_clientEvents) {
        EXPECT_EQ(e.objectId, 700u);
        EXPECT_EQ(e.data, 1u);
    }
    const auto events = takeEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].type, SimEventType::LiveCreated);
    EXPECT_EQ(events[0].objectId, 700u);
    EXPECT_EQ(events[0].hexid, 20001);
    EXPECT_EQ(events[0].value2, 800.0);
}

TEST_F(ObjectsInRangeTest, TwoCreationsOfOneCallsignAreTakenInOrder) {
    g_pendingCreates = {{5, 20001, "KLM1"}, {6, 77, "KLM1"}};
    announce(800);
    announce(801);
    dispatchOne(inRangeRecord(800, "KLM1", 0.0));
    dispatchOne(inRangeRecord(801, "KLM1", 0.0));
    const auto events = takeEvents();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].hexid, 20001);
    EXPECT_EQ(events[0].type, SimEventType::LiveCreated);
    EXPECT_EQ(events[1].hexid, 77);
    EXPECT_EQ(events[1].objectId, 801u);
    EXPECT_EQ(events[1].type, SimEventType::StaticCreated);
    EXPECT_EQ(events[1].value2, 0.0);
}

TEST_F(ObjectsInRangeTest, CreationsUpToNumber10000AreStaticAboveLive) {
    g_pendingCreates = {{5, 10000, "STAT1"}, {6, 10001, "LIVE1"}};
    announce(810);
    announce(811);
    dispatchOne(inRangeRecord(810, "STAT1", 0.0));
    dispatchOne(inRangeRecord(811, "LIVE1", 0.0));
    const auto events = takeEvents();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].hexid, 10000);
    EXPECT_EQ(events[0].type, SimEventType::StaticCreated);
    EXPECT_EQ(events[1].hexid, 10001);
    EXPECT_EQ(events[1].type, SimEventType::LiveCreated);
}

TEST_F(ObjectsInRangeTest, ARemovedObjectIsReportedAndNoLongerAnnounced) {
    announce(900);
    dispatchOne(addRemoveRecord(203, 900), SIMCONNECT_RECV_ID_EVENT_OBJECT_ADDREMOVE);
    EXPECT_TRUE(g_justAddedObjects.empty());
    dispatchOne(addRemoveRecord(203, 1), SIMCONNECT_RECV_ID_EVENT_OBJECT_ADDREMOVE);  // any id
    dispatchOne(addRemoveRecord(203, 901, SIMCONNECT_SIMOBJECT_TYPE_USER),
                SIMCONNECT_RECV_ID_EVENT_OBJECT_ADDREMOVE);
    const auto events = takeEvents();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].type, SimEventType::Removed);
    EXPECT_EQ(events[0].objectId, 900u);
    EXPECT_EQ(events[1].objectId, 1u);
}

TEST_F(SimDispatchRecordsTest, StaticCgReachesTheEngine) {
    const double cg[2] = {8.5, -0.02};
    dispatchOne(RawRecord::objectData(SIMCONNECT_RECV_ID_SIMOBJECT_DATA, 102, 345,
                                      std::string_view(reinterpret_cast<const char*>(cg), sizeof cg)));
    const auto events = takeEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].type, SimEventType::StaticCg);
    EXPECT_EQ(events[0].objectId, 345u);
    EXPECT_EQ(events[0].value1, 8.5);
    EXPECT_EQ(events[0].value2, -0.02);
}

// --- short records ---

TEST_F(SimDispatchRecordsTest, EveryRecordOneByteShortIsLoggedAndSkipped) {
    gf_setUserAcDataRecv(userAt(52.0, 4.0));
    g_pendingCreates = {{7, 20001, "KLM1"}};
    g_justAddedObjects = {700};
    const double cg[2] = {8.5, -0.02};
    struct Case {
        const char* name;
        RawRecord record;
    };
    const std::vector<Case> cases = {
        {"open", RawRecord::of(openRecord("KittyHawk"), SIMCONNECT_RECV_ID_OPEN)},
        {"exception 5", RawRecord::of(exceptionRecord(5), SIMCONNECT_RECV_ID_EXCEPTION)},
        {"exception 22", RawRecord::of(exceptionRecord(22, 7), SIMCONNECT_RECV_ID_EXCEPTION)},
        {"sim event", RawRecord::of(eventRecord(201, 1), SIMCONNECT_RECV_ID_EVENT)},
        {"object added", RawRecord::of(addRemoveRecord(202, 800), SIMCONNECT_RECV_ID_EVENT_OBJECT_ADDREMOVE)},
        {"static cg", RawRecord::objectData(SIMCONNECT_RECV_ID_SIMOBJECT_DATA, 102, 345,
                                            std::string_view(reinterpret_cast<const char*>(cg), sizeof cg))},
        {"title header", RawRecord::objectData(SIMCONNECT_RECV_ID_SIMOBJECT_DATA, 106, 1, "")},
        {"model", textRecord(107, "B738", 32)},
        {"on ground", onGroundRecord(1)},
        {"user aircraft", userRecord(userAt(53.0, 5.0), 9)},
        {"in range", inRangeRecord(700, "KLM1", 0.0)},
        {"header", RawRecord::of(SIMCONNECT_RECV{}, SIMCONNECT_RECV_ID_QUIT)},
    };
    g_simRunning = true;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RawRecord cut = c.record.shortened(1);
        if (cut.size() < sizeof(SIMCONNECT_RECV))  // no connection delivers that: straight to the callback
            EXPECT_NO_THROW(gf_onSimDispatch(&cut.header(), static_cast<DWORD>(cut.size()), nullptr));
        else
            EXPECT_NO_THROW(dispatchOne(cut));
        EXPECT_TRUE(logged(fmt::format("! Short SimConnect record, dwID {}, {} bytes\n",
                                       cut.size() >= sizeof(SIMCONNECT_RECV) ? cut.id() : 0, cut.size())));
    }
    EXPECT_FALSE(g_mainWindow().simConnected.load());
    EXPECT_TRUE(g_simRunning.load());
    EXPECT_FALSE(g_newSimSecond.load());
    EXPECT_EQ(g_userObjectId.load(), 2u);
    EXPECT_EQ(gf_userAcDataRecv().latitude, 52.0);
    EXPECT_EQ(g_pendingCreates.size(), 1u);
    EXPECT_EQ(g_justAddedObjects, std::vector<std::uint32_t>{700});
    EXPECT_TRUE(g_userTitle.empty());
    EXPECT_TRUE(takeEvents().empty());
}

}  // namespace
}  // namespace mrw
