#include "platform/simconnect/sim_world.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "client_registration.h"
#include "platform/simconnect/simconnect.h"
#include "received_records.h"
#include "support/test_support.h"

namespace {

using simtest::drain;
using simtest::Received;
using simtest::withId;

constexpr DWORD kUserId = 1;
constexpr DWORD kDataOffset = 40;

// The user aircraft record of definition 403.
struct UserAcData {
    double latitude, longitude, pitch, bank, heading, altitude, indicatedAltitude, altitudeAboveGround,
        groundVelocity;
    std::int64_t zuluTime, zuluDayOfYear, zuluYear, lightStates;
};
static_assert(sizeof(UserAcData) == 104);

// The in-range record of definition 404.
struct ObjectInRangeData {
    double altitudeAboveGround;
    double groundAltitude;
    std::int64_t onGround;
    char atcId[32];
};
static_assert(sizeof(ObjectInRangeData) == 56);

SIMCONNECT_DATA_INITPOSITION onGroundAt(double latitude, double longitude) {
    SIMCONNECT_DATA_INITPOSITION position{};
    position.Latitude = latitude;
    position.Longitude = longitude;
    position.Heading = 90.0;
    position.OnGround = 1;
    return position;
}

std::vector<std::string> functionsOf(const std::vector<standin::JournalEntry>& journal) {
    std::vector<std::string> functions;
    for (const auto& entry : journal)
        functions.push_back(entry.function);
    return functions;
}

// A world with the simulator running and the traffic client connected and registered.
class SimConnectTest : public ::testing::Test {
  protected:
    void SetUp() override { start({}); }
    void TearDown() override {
        if (handle_ != nullptr) SimConnect_Close(handle_);
        standin::resetWorld();
    }

    void start(const standin::SimWorldConfig& config) {
        if (handle_ != nullptr) SimConnect_Close(handle_);
        standin::resetWorld(config);
        standin::startSimulator();
        standin::modifyUser([](standin::SimObject& user) {
            user.latitudeDeg = 52.0;
            user.longitudeDeg = 4.5;
        });
        ASSERT_EQ(SimConnect_Open(&handle_, "Merrowvale", nullptr, 0, nullptr, 0), S_OK);
        simtest::registerLikeTheClient(handle_);
        drain(handle_);  // OPEN and the flight state
    }

    // Creates an AI aircraft, lets it appear and drains its ObjectAdded; returns its id.
    DWORD createAircraft(const char* tailNumber, SIMCONNECT_DATA_INITPOSITION position) {
        EXPECT_EQ(SimConnect_AICreateNonATCAircraft(handle_, "Airliner Blue", tailNumber, position, 104),
                  S_OK);
        standin::stepFrames(2);
        const auto added = withId(drain(handle_), SIMCONNECT_RECV_ID_EVENT_OBJECT_ADDREMOVE);
        EXPECT_EQ(added.size(), 1u);
        return added.empty() ? 0 : added[0].as<SIMCONNECT_RECV_EVENT_OBJECT_ADDREMOVE>().dwData;
    }

    std::vector<Received> objectsInRange(DWORD radiusMeters) {
        EXPECT_EQ(SimConnect_RequestDataOnSimObjectType(handle_, 101, 404, radiusMeters,
                                                        SIMCONNECT_SIMOBJECT_TYPE_AIRCRAFT),
                  S_OK);
        standin::stepFrames(1);
        return withId(drain(handle_), SIMCONNECT_RECV_ID_SIMOBJECT_DATA_BYTYPE);
    }

    HANDLE handle_ = nullptr;
};

TEST(SimConnectOpen, FailsWithoutASimulatorThenReportsTheConfiguredSimulator) {
    struct Case {
        const char* application;
        DWORD major, minor, buildMajor, buildMinor;
    };
    for (const Case& c : {Case{"KittyHawk", 11, 0, 282174, 999}, Case{"SunRise", 12, 1, 1009, 0}}) {
        standin::SimWorldConfig config;
        config.applicationName = c.application;
        config.versionMajor = c.major;
        config.versionMinor = c.minor;
        config.buildMajor = c.buildMajor;
        config.buildMinor = c.buildMinor;
        standin::resetWorld(config);
        HANDLE h = nullptr;
        EXPECT_LT(SimConnect_Open(&h, "Merrowvale", nullptr, 0, nullptr, 0), 0);
        standin::startSimulator();
        ASSERT_EQ(SimConnect_Open(&h, "Merrowvale", nullptr, 0, nullptr, 0), S_OK);
        const auto records = drain(h);
        ASSERT_EQ(records.size(), 1u);
        ASSERT_EQ(records[0].id(), SIMCONNECT_RECV_ID_OPEN);
        const auto& open = records[0].as<SIMCONNECT_RECV_OPEN>();
        EXPECT_STREQ(open.szApplicationName, c.application);
        EXPECT_EQ(open.dwApplicationVersionMajor, c.major);
        EXPECT_EQ(open.dwApplicationVersionMinor, c.minor);
        EXPECT_EQ(open.dwApplicationBuildMajor, c.buildMajor);
        EXPECT_EQ(open.dwApplicationBuildMinor, c.buildMinor);
        EXPECT_EQ(SimConnect_Close(h), S_OK);
    }
    standin::resetWorld();
}

TEST_F(SimConnectTest, TheClientRegistrationIsAcceptedAndJournalledInOrder) {
    EXPECT_TRUE(withId(drain(handle_), SIMCONNECT_RECV_ID_EXCEPTION).empty());
    const auto journal = standin::journal("Merrowvale");
    std::vector<std::string> expected = {"SimConnect_Open"};
    expected.insert(expected.end(), 5, "SimConnect_SubscribeToSystemEvent");
    expected.insert(expected.end(), 34, "SimConnect_AddToDataDefinition");
    expected.insert(expected.end(), 17, "SimConnect_MapClientEventToSimEvent");
    expected.insert(expected.end(), 16, "SimConnect_AddClientEventToNotificationGroup");
    expected.push_back("SimConnect_SetNotificationGroupPriority");
    EXPECT_EQ(functionsOf(journal), expected);
    for (std::size_t i = 0; i < simtest::clientDatums().size(); ++i) {
        const auto& arguments = journal[6 + i].arguments;
        EXPECT_EQ(arguments[0], std::to_string(simtest::clientDatums()[i].definition));
        EXPECT_EQ(arguments[1], simtest::clientDatums()[i].name);
    }
    for (const auto& entry : journal)
        EXPECT_EQ(entry.result, S_OK) << entry.function;
    EXPECT_EQ(journal.back().packetId, 73u);  // every call after the open sent one packet
}

TEST_F(SimConnectTest, WrongRegistrationsComeBackAsExceptionsWithTheirSendIds) {
    struct Case {
        std::function<HRESULT()> call;
        DWORD exception;
        DWORD index;
    };
    const std::vector<Case> cases = {
        {[&] { return SimConnect_AddToDataDefinition(handle_, 500, "NO SUCH VARIABLE", "feet"); },
         SIMCONNECT_EXCEPTION_NAME_UNRECOGNIZED, 2},
        {[&] { return SimConnect_AddToDataDefinition(handle_, 500, "Plane Altitude", "meters"); },
         SIMCONNECT_EXCEPTION_NAME_UNRECOGNIZED, 3},
        {[&] {
             return SimConnect_AddToDataDefinition(handle_, 500, "ATC ID", nullptr,
                                                   SIMCONNECT_DATATYPE_FLOAT64);
         },
         SIMCONNECT_EXCEPTION_NAME_UNRECOGNIZED, 4},
        {[&] { return SimConnect_SubscribeToSystemEvent(handle_, 250, "NoSuchEvent"); },
         SIMCONNECT_EXCEPTION_NAME_UNRECOGNIZED, 2},
        {[&] { return SimConnect_MapClientEventToSimEvent(handle_, 250, "NO_SUCH_EVENT"); },
         SIMCONNECT_EXCEPTION_NAME_UNRECOGNIZED, 2},
        {[&] { return SimConnect_RequestDataOnSimObject(handle_, 102, 499, 0, SIMCONNECT_PERIOD_ONCE); },
         SIMCONNECT_EXCEPTION_UNRECOGNIZED_ID, 2},
        {[&] { return SimConnect_RequestDataOnSimObject(handle_, 102, 405, 777, SIMCONNECT_PERIOD_ONCE); },
         SIMCONNECT_EXCEPTION_UNRECOGNIZED_ID, 3},
        {[&] { return SimConnect_AIReleaseControl(handle_, 777, 103); }, SIMCONNECT_EXCEPTION_UNRECOGNIZED_ID,
         1},
        {[&] { return SimConnect_AIRemoveObject(handle_, kUserId, 105); },
         SIMCONNECT_EXCEPTION_OPERATION_INVALID_FOR_OBJECT_TYPE, 1},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(cases[i].call(), S_OK) << "case " << i;  // the error is the simulator's, found later
        DWORD sendId = 0;
        ASSERT_EQ(SimConnect_GetLastSentPacketID(handle_, &sendId), S_OK);
        const auto exceptions = withId(drain(handle_), SIMCONNECT_RECV_ID_EXCEPTION);
        ASSERT_EQ(exceptions.size(), 1u) << "case " << i;
        EXPECT_EQ(exceptions[0].at<DWORD>(12), cases[i].exception) << "case " << i;
        EXPECT_EQ(exceptions[0].at<DWORD>(16), sendId) << "case " << i;
        EXPECT_EQ(exceptions[0].at<DWORD>(20), cases[i].index) << "case " << i;
    }
}

TEST_F(SimConnectTest, DispatchCountCountsTheCallsOfTheNewestConnectionOfAName) {
    EXPECT_EQ(standin::dispatchCount("Merrowvale"), 1u);  // the drain of SetUp
    drain(handle_);
    drain(handle_);
    EXPECT_EQ(standin::dispatchCount("Merrowvale"), 3u);
    EXPECT_EQ(standin::dispatchCount("Nobody"), 0u);

    SimConnect_Close(handle_);
    EXPECT_EQ(SimConnect_CallDispatch(handle_, simtest::collect, nullptr), E_FAIL);
    EXPECT_EQ(standin::dispatchCount("Merrowvale"), 3u);  // closed: no more calls reach it
    handle_ = nullptr;
    ASSERT_EQ(SimConnect_Open(&handle_, "Merrowvale", nullptr, 0, nullptr, 0), S_OK);
    EXPECT_EQ(standin::dispatchCount("Merrowvale"), 0u);  // the newest connection counts
}

TEST_F(SimConnectTest, SubscribingToSimReportsTheFlightState) {
    for (const bool running : {true, false}) {
        standin::SimWorldConfig config;
        config.flightRunning = running;
        start(config);
        EXPECT_EQ(SimConnect_SubscribeToSystemEvent(handle_, 201, "Sim"), S_OK);
        const auto events = withId(drain(handle_), SIMCONNECT_RECV_ID_EVENT);
        ASSERT_EQ(events.size(), 1u);
        EXPECT_EQ(events[0].as<SIMCONNECT_RECV_EVENT>().uEventID, 201u);
        EXPECT_EQ(events[0].as<SIMCONNECT_RECV_EVENT>().dwData, running ? 1u : 0u);
    }
    standin::setFlightRunning(true);
    const auto events = withId(drain(handle_), SIMCONNECT_RECV_ID_EVENT);
    ASSERT_EQ(events.size(), 1u);  // a second subscription replaces the first
    EXPECT_EQ(events[0].as<SIMCONNECT_RECV_EVENT>().dwData, 1u);
}

TEST_F(SimConnectTest, PerSecondRequestAnswersOnEveryWholeSimulatorSecond) {
    ASSERT_EQ(SimConnect_RequestDataOnSimObject(handle_, 108, 409, SIMCONNECT_OBJECT_ID_USER,
                                                SIMCONNECT_PERIOD_SECOND),
              S_OK);
    standin::step(3.5);
    const auto records = drain(handle_);
    const auto data = withId(records, SIMCONNECT_RECV_ID_SIMOBJECT_DATA);
    ASSERT_EQ(data.size(), 3u);
    for (const Received& record : data) {
        EXPECT_EQ(record.size(), kDataOffset + 8);
        EXPECT_EQ(record.as<SIMCONNECT_RECV_SIMOBJECT_DATA>().dwRequestID, 108u);
        EXPECT_EQ(record.as<SIMCONNECT_RECV_SIMOBJECT_DATA>().dwObjectID, kUserId);
        EXPECT_EQ(record.at<std::int64_t>(40), 1);  // the user stands on the ground
    }
    EXPECT_EQ(withId(records, SIMCONNECT_RECV_ID_EVENT_FRAME).size(), 105u);
    standin::step(0.5);
    EXPECT_EQ(withId(drain(handle_), SIMCONNECT_RECV_ID_SIMOBJECT_DATA).size(), 1u);  // at 4.0 s
}

TEST_F(SimConnectTest, UserAircraftDataRoundTrips) {
    standin::modifyUser([](standin::SimObject& user) {
        user.latitudeDeg = 52.30861;
        user.longitudeDeg = 4.76389;
        user.pitchRad = 0.05;
        user.bankRad = -0.1;
        user.headingRad = 1.5708;
        user.altitudeFeet = 1250.0;
        user.indicatedAltitudeFeet = 1200.0;
        user.groundSpeedKnots = 140.0;
        user.lightMask = standin::kLightNav | standin::kLightBeacon;
    });
    standin::setGroundElevation(50.0);
    standin::step(3661.0);  // 01:01:01 on the first day of 2025
    drain(handle_);
    ASSERT_EQ(SimConnect_RequestDataOnSimObject(handle_, 109, 403, SIMCONNECT_OBJECT_ID_USER,
                                                SIMCONNECT_PERIOD_ONCE),
              S_OK);
    EXPECT_TRUE(withId(drain(handle_), SIMCONNECT_RECV_ID_SIMOBJECT_DATA).empty())
        << "answers come with a frame";
    standin::stepFrames(1);
    const auto data = withId(drain(handle_), SIMCONNECT_RECV_ID_SIMOBJECT_DATA);
    ASSERT_EQ(data.size(), 1u);
    EXPECT_EQ(data[0].size(), kDataOffset + 104);
    EXPECT_EQ(data[0].as<SIMCONNECT_RECV_SIMOBJECT_DATA>().dwObjectID, kUserId);
    const auto user = data[0].at<UserAcData>(40);
    EXPECT_DOUBLE_EQ(user.latitude, 52.30861);
    EXPECT_DOUBLE_EQ(user.longitude, 4.76389);
    EXPECT_DOUBLE_EQ(user.pitch, 0.05);
    EXPECT_DOUBLE_EQ(user.bank, -0.1);
    EXPECT_DOUBLE_EQ(user.heading, 1.5708);
    EXPECT_DOUBLE_EQ(user.altitude, 1250.0);
    EXPECT_DOUBLE_EQ(user.indicatedAltitude, 1200.0);
    EXPECT_DOUBLE_EQ(user.altitudeAboveGround, 1200.0);
    EXPECT_DOUBLE_EQ(user.groundVelocity, 140.0);
    EXPECT_EQ(user.zuluTime, 3661);
    EXPECT_EQ(user.zuluDayOfYear, 1);
    EXPECT_EQ(user.zuluYear, 2025);
    EXPECT_EQ(user.lightStates, 3);
}

// Within 5 nm of an airport of the world the ground lies at its elevation; elsewhere it is flat.
TEST_F(SimConnectTest, TheGroundLiesAtTheElevationOfANearbyAirport) {
    standin::FacilityAirport airport;
    airport.icao = "LXHI";
    airport.latitudeDeg = 47.0;
    airport.longitudeDeg = 11.0;
    airport.altitudeM = 600.0;  // 1968.5 ft
    standin::addAirport(airport);
    standin::setGroundElevation(50.0);
    const struct {
        double latitude;
        double aboveGround;
    } cases[] = {{47.0, 2500.0 - 600.0 / 0.3048},
                 {47.08, 2500.0 - 600.0 / 0.3048},  // 4.8 nm north
                 {47.09, 2450.0}};                  // 5.4 nm north
    for (const auto& c : cases) {
        SCOPED_TRACE(c.latitude);
        standin::modifyUser([&c](standin::SimObject& user) {
            user.latitudeDeg = c.latitude;
            user.longitudeDeg = 11.0;
            user.altitudeFeet = 2500.0;
        });
        drain(handle_);
        ASSERT_EQ(SimConnect_RequestDataOnSimObject(handle_, 109, 403, SIMCONNECT_OBJECT_ID_USER,
                                                    SIMCONNECT_PERIOD_ONCE),
                  S_OK);
        standin::stepFrames(1);
        const auto data = withId(drain(handle_), SIMCONNECT_RECV_ID_SIMOBJECT_DATA);
        ASSERT_EQ(data.size(), 1u);
        EXPECT_NEAR(data[0].at<UserAcData>(40).altitudeAboveGround, c.aboveGround, 1e-6);
    }
}

TEST_F(SimConnectTest, ZuluDateFollowsTheCalendar) {
    struct Case {
        std::int64_t epoch;
        std::int64_t time, day, year;
    };
    for (const Case& c : {Case{1735689600 - 1, 86399, 366, 2024}, Case{951782400, 0, 60, 2000},  // 2000-02-29
                          Case{1735689600 + 364 * 86400 + 5, 5, 365, 2025}}) {
        standin::SimWorldConfig config;
        config.zuluEpochSeconds = c.epoch;
        start(config);
        SimConnect_RequestDataOnSimObject(handle_, 109, 403, 0, SIMCONNECT_PERIOD_ONCE);
        standin::stepFrames(1);
        const auto data = withId(drain(handle_), SIMCONNECT_RECV_ID_SIMOBJECT_DATA);
        ASSERT_EQ(data.size(), 1u);
        const auto user = data[0].at<UserAcData>(40);
        EXPECT_EQ(user.zuluTime, c.time) << c.epoch;
        EXPECT_EQ(user.zuluDayOfYear, c.day) << c.epoch;
        EXPECT_EQ(user.zuluYear, c.year) << c.epoch;
    }
}

TEST_F(SimConnectTest, ObjectsInRangeAreTheAircraftWithinTheRadius) {
    const auto foreign = [](const char* atcId, double latitude) {
        standin::SimObject object;
        object.atcId = atcId;
        object.latitudeDeg = latitude;
        object.longitudeDeg = 4.5;
        object.altitudeFeet = 3000.0;
        return standin::addForeignObject(object);
    };
    const DWORD near1 = foreign("AS-GEN", 52.01);  // about 1.1 km north
    const DWORD near2 = foreign("KLM123", 51.95);  // about 5.6 km south
    foreign("FAR1", 52.5);                         // about 56 km
    drain(handle_);
    const auto records = objectsInRange(10000);
    ASSERT_EQ(records.size(), 3u);
    std::vector<DWORD> ids;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const auto& header = records[i].as<SIMCONNECT_RECV_SIMOBJECT_DATA_BYTYPE>();
        EXPECT_EQ(header.dwRequestID, 101u);
        EXPECT_EQ(header.dwentrynumber, i + 1);
        EXPECT_EQ(header.dwoutof, 3u);
        ids.push_back(header.dwObjectID);
    }
    EXPECT_EQ(ids, (std::vector<DWORD>{kUserId, near1, near2}));
    EXPECT_STREQ(records[1].at<ObjectInRangeData>(40).atcId, "AS-GEN");
    EXPECT_STREQ(records[2].at<ObjectInRangeData>(40).atcId, "KLM123");
    EXPECT_DOUBLE_EQ(records[2].at<ObjectInRangeData>(40).altitudeAboveGround, 3000.0);
    EXPECT_EQ(records[2].at<ObjectInRangeData>(40).onGround, 0);
    EXPECT_EQ(objectsInRange(0).size(), 1u);  // only the user is within 0 m
}

TEST_F(SimConnectTest, CreatedAircraftAppearsAfterItsLatencyWithItsTailNumber) {
    ASSERT_EQ(
        SimConnect_AICreateNonATCAircraft(handle_, "Airliner Blue", "KLM1234", onGroundAt(52.001, 4.5), 104),
        S_OK);
    DWORD sendId = 0;
    ASSERT_EQ(SimConnect_GetLastSentPacketID(handle_, &sendId), S_OK);
    EXPECT_GT(sendId, 0u);
    EXPECT_TRUE(drain(handle_).empty());
    standin::stepFrames(1);
    EXPECT_TRUE(withId(drain(handle_), SIMCONNECT_RECV_ID_EVENT_OBJECT_ADDREMOVE).empty());
    standin::stepFrames(1);
    const auto added = withId(drain(handle_), SIMCONNECT_RECV_ID_EVENT_OBJECT_ADDREMOVE);
    ASSERT_EQ(added.size(), 1u);
    const auto& event = added[0].as<SIMCONNECT_RECV_EVENT_OBJECT_ADDREMOVE>();
    EXPECT_EQ(event.uEventID, 202u);
    EXPECT_EQ(event.eObjType, SIMCONNECT_SIMOBJECT_TYPE_AIRCRAFT);
    const DWORD id = event.dwData;
    EXPECT_GT(id, kUserId);

    const auto records = objectsInRange(5000);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[1].as<SIMCONNECT_RECV_SIMOBJECT_DATA_BYTYPE>().dwObjectID, id);
    const auto data = records[1].at<ObjectInRangeData>(40);
    EXPECT_STREQ(data.atcId, "KLM1234");
    EXPECT_EQ(data.onGround, 1);  // placed on the flat ground
    EXPECT_DOUBLE_EQ(data.altitudeAboveGround, 8.0);

    const auto object = standin::object(id);
    ASSERT_TRUE(object.has_value());
    EXPECT_EQ(object->title, "Airliner Blue");
    EXPECT_NEAR(object->headingRad, std::numbers::pi / 2, 1e-12);
}

TEST_F(SimConnectTest, RefusedTitleFailsWithTheSendIdOfItsCreation) {
    standin::refuseTitle("Unknown Livery");
    SimConnect_AICreateNonATCAircraft(handle_, "Airliner Blue", "A1", onGroundAt(52.0, 4.5), 104);
    ASSERT_EQ(SimConnect_AICreateNonATCAircraft(handle_, "Unknown Livery", "A2", onGroundAt(52.0, 4.5), 104),
              S_OK);
    DWORD sendId = 0;
    ASSERT_EQ(SimConnect_GetLastSentPacketID(handle_, &sendId), S_OK);
    standin::stepFrames(2);
    const auto records = drain(handle_);
    const auto exceptions = withId(records, SIMCONNECT_RECV_ID_EXCEPTION);
    ASSERT_EQ(exceptions.size(), 1u);
    const auto& exception = exceptions[0].as<SIMCONNECT_RECV_EXCEPTION>();
    EXPECT_EQ(exception.dwException, SIMCONNECT_EXCEPTION_CREATE_OBJECT_FAILED);
    EXPECT_EQ(exception.dwSendID, sendId);
    EXPECT_EQ(withId(records, SIMCONNECT_RECV_ID_EVENT_OBJECT_ADDREMOVE).size(), 1u);  // only the known title
}

TEST_F(SimConnectTest, CreationsBeyondTheObjectLimitFail) {
    standin::SimWorldConfig config;
    config.objectLimit = 1;
    start(config);
    createAircraft("ONE", onGroundAt(52.0, 4.5));
    SimConnect_AICreateNonATCAircraft(handle_, "Airliner Blue", "TWO", onGroundAt(52.0, 4.5), 104);
    standin::stepFrames(2);
    const auto exceptions = withId(drain(handle_), SIMCONNECT_RECV_ID_EXCEPTION);
    ASSERT_EQ(exceptions.size(), 1u);
    EXPECT_EQ(exceptions[0].as<SIMCONNECT_RECV_EXCEPTION>().dwException,
              SIMCONNECT_EXCEPTION_TOO_MANY_OBJECTS);
}

TEST_F(SimConnectTest, RemovedAircraftIsAnnouncedAndGone) {
    const DWORD id = createAircraft("KLM1234", onGroundAt(52.0, 4.5));
    ASSERT_EQ(SimConnect_AIRemoveObject(handle_, id, 105), S_OK);
    standin::stepFrames(1);
    const auto removed = withId(drain(handle_), SIMCONNECT_RECV_ID_EVENT_OBJECT_ADDREMOVE);
    ASSERT_EQ(removed.size(), 1u);
    EXPECT_EQ(removed[0].as<SIMCONNECT_RECV_EVENT_OBJECT_ADDREMOVE>().uEventID, 203u);
    EXPECT_EQ(removed[0].as<SIMCONNECT_RECV_EVENT_OBJECT_ADDREMOVE>().dwData, id);
    EXPECT_FALSE(standin::object(id).has_value());
    SimConnect_AIRemoveObject(handle_, id, 105);
    const auto exceptions = withId(drain(handle_), SIMCONNECT_RECV_ID_EXCEPTION);
    ASSERT_EQ(exceptions.size(), 1u);
    EXPECT_EQ(exceptions[0].as<SIMCONNECT_RECV_EXCEPTION>().dwException,
              SIMCONNECT_EXCEPTION_UNRECOGNIZED_ID);
}

TEST_F(SimConnectTest, ClientEventsAndDataChangeTheObject) {
    const DWORD id = createAircraft("KLM1234", onGroundAt(52.0, 4.5));
    struct Case {
        DWORD event;
        DWORD data;
    };
    for (const Case& c :
         {Case{217, 3072}, Case{207, 1}, Case{206, 1}, Case{206, 0}, Case{219, 0}, Case{220, 0},
          Case{222, 11468}, Case{218, 16383}, Case{214, 1}, Case{215, 1}, Case{216, 1}}) {
        EXPECT_EQ(SimConnect_TransmitClientEvent(handle_, id, c.event, c.data, simtest::kGroup, 0), S_OK);
    }
    EXPECT_EQ(SimConnect_AIReleaseControl(handle_, id, 103), S_OK);
    auto object = standin::object(id);
    ASSERT_TRUE(object.has_value());
    EXPECT_EQ(object->flaps, 3072u);
    EXPECT_EQ(object->lightMask, standin::kLightNav);
    EXPECT_FALSE(object->gearDown);
    EXPECT_TRUE(object->enginesRunning);
    EXPECT_EQ(object->throttle, 11468u);
    EXPECT_EQ(object->spoilers, 16383u);
    EXPECT_TRUE(object->frozenLatLon && object->frozenAltitude && object->frozenAttitude && object->released);
    ASSERT_EQ(object->events.size(), 11u);
    EXPECT_EQ(object->events[0].simEvent, "FLAPS_SET");
    EXPECT_EQ(object->events[0].data, 3072u);

    // A position update lifts it off the ground; the landing-roll write sets spoilers and throttles.
    const double position[8] = {52.01, 4.51, 0.05, -0.1, 1.0, 1500.0, 10.0, 160.0};
    EXPECT_EQ(SimConnect_SetDataOnSimObject(handle_, 402, id, 0, 0, 64, const_cast<double*>(position)), S_OK);
    const double spoilersThrottle[3] = {100.0, -100.0, -100.0};
    EXPECT_EQ(
        SimConnect_SetDataOnSimObject(handle_, 401, id, 0, 0, 24, const_cast<double*>(spoilersThrottle)),
        S_OK);
    object = standin::object(id);
    EXPECT_DOUBLE_EQ(object->latitudeDeg, 52.01);
    EXPECT_DOUBLE_EQ(object->altitudeFeet, 1500.0);
    EXPECT_DOUBLE_EQ(object->trueAirspeedKnots, 160.0);
    EXPECT_FALSE(object->onGround);
    EXPECT_DOUBLE_EQ(object->spoilersHandlePercent, 100.0);
    EXPECT_DOUBLE_EQ(object->throttleLever2Percent, -100.0);

    const double lowered[8] = {52.01, 4.51, 0.0, 0.0, 1.0, 8.2, 0.0, 0.0};  // within the contact margin
    SimConnect_SetDataOnSimObject(handle_, 402, id, 0, 0, 64, const_cast<double*>(lowered));
    EXPECT_TRUE(standin::object(id)->onGround);

    SimConnect_SetDataOnSimObject(handle_, 402, id, 0, 0, 48, const_cast<double*>(position));  // wrong size
    const auto exceptions = withId(drain(handle_), SIMCONNECT_RECV_ID_EXCEPTION);
    ASSERT_EQ(exceptions.size(), 1u);
    EXPECT_EQ(exceptions[0].as<SIMCONNECT_RECV_EXCEPTION>().dwException,
              SIMCONNECT_EXCEPTION_INVALID_DATA_SIZE);
}

TEST_F(SimConnectTest, FlightPlansAreAcceptedOnlyWhenReadable) {
    const DWORD id = createAircraft("KLM1234", onGroundAt(52.0, 4.5));
    mrwtest::TempDir folder;
    const auto plan = folder.path() / "123.pln";
    std::ofstream(plan) << "<SimBase.Document/>";
    struct Case {
        std::string path;
        bool refuseAll;
        bool accepted;
    };
    for (const Case& c :
         {Case{plan.string(), false, true}, Case{(folder.path() / "123").string(), false, true},
          Case{(folder.path() / "missing.pln").string(), false, false}, Case{plan.string(), true, false}}) {
        standin::refuseFlightPlans(c.refuseAll);
        EXPECT_EQ(SimConnect_AISetAircraftFlightPlan(handle_, id, c.path.c_str(), 110), S_OK);
        const auto exceptions = withId(drain(handle_), SIMCONNECT_RECV_ID_EXCEPTION);
        EXPECT_EQ(exceptions.empty(), c.accepted) << c.path;
        if (!exceptions.empty()) {
            EXPECT_EQ(exceptions[0].as<SIMCONNECT_RECV_EXCEPTION>().dwException,
                      SIMCONNECT_EXCEPTION_LOAD_FLIGHTPLAN_FAILED);
        }
        if (c.accepted) {
            EXPECT_EQ(standin::object(id)->flightPlanPath, c.path);
        }
    }
}

TEST_F(SimConnectTest, FlightLoadedComesAsEventOrWithItsFileName) {
    standin::loadFlight("C:/Flights/Next.FLT", false);
    standin::loadFlight("C:/Flights/Next.FLT", true);
    const auto records = drain(handle_);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].id(), SIMCONNECT_RECV_ID_EVENT);
    EXPECT_EQ(records[0].as<SIMCONNECT_RECV_EVENT>().uEventID, 205u);
    EXPECT_EQ(records[1].id(), SIMCONNECT_RECV_ID_EVENT_FILENAME);
    EXPECT_EQ(records[1].as<SIMCONNECT_RECV_EVENT_FILENAME>().uEventID, 205u);
    EXPECT_STREQ(records[1].as<SIMCONNECT_RECV_EVENT_FILENAME>().szFileName, "C:/Flights/Next.FLT");
}

TEST_F(SimConnectTest, UserFollowsItsRoute) {
    standin::setUserRoute(
        {{0.0, 52.0, 4.5, 0.0, 0.5, 0.0, true}, {10.0, 52.1, 4.6, 1000.0, 0.7, 150.0, false}});
    standin::step(5.0);
    auto user = standin::user();
    EXPECT_NEAR(user.latitudeDeg, 52.05, 1e-9);
    EXPECT_NEAR(user.altitudeFeet, 500.0, 1e-6);
    EXPECT_NEAR(user.groundSpeedKnots, 75.0, 1e-6);
    EXPECT_DOUBLE_EQ(user.headingRad, 0.5);
    EXPECT_TRUE(user.onGround);
    standin::step(20.0);
    user = standin::user();
    EXPECT_DOUBLE_EQ(user.latitudeDeg, 52.1);
    EXPECT_FALSE(user.onGround);
}

// An airport NAME longer than its 32-byte field reads back as its first 31 characters and the
// terminating zero.
TEST(SimConnectFacilities, LongAirportNameIsCutToItsField) {
    standin::resetWorld();
    standin::startSimulator();
    standin::FacilityAirport airport;
    airport.icao = "EHTS";
    airport.name = std::string(30, 'n') + "0123456789";  // 40 characters
    standin::addAirport(airport);
    HANDLE h = nullptr;
    ASSERT_EQ(SimConnect_Open(&h, "PARKING_DATA_RDR", nullptr, 0, nullptr, 0), S_OK);
    for (const char* item : {"OPEN AIRPORT", "NAME", "CLOSE AIRPORT"})
        SimConnect_AddToFacilityDefinition(h, 1001, item);
    ASSERT_EQ(SimConnect_RequestFacilityData(h, 1001, 2001, "EHTS", ""), S_OK);
    standin::stepFrames(1);
    auto records = drain(h);
    records.erase(records.begin());  // OPEN
    ASSERT_FALSE(records.empty());
    ASSERT_EQ(records[0].at<DWORD>(24), SIMCONNECT_FACILITY_DATA_AIRPORT);
    EXPECT_EQ(records[0].textAt(40), airport.name.substr(0, 31));
    SimConnect_Close(h);
}

// The facility reader's definition and the fields it reads at fixed offsets.
TEST(SimConnectFacilities, AirportHelipadsAndParkingsAtTheirOffsetsThenTheEnd) {
    standin::resetWorld();
    standin::startSimulator();
    standin::FacilityAirport airport;
    airport.icao = "EHTS";
    airport.name = "Test Field";
    airport.latitudeDeg = 52.3;
    airport.longitudeDeg = 4.76;
    airport.altitudeM = -3.5;
    airport.helipads = {{52.31, 4.77, -3.5, 90.0f, 20.0f, 20.0f, 1, 2}};
    airport.parkings = {{0x10003, 1, 7, 0, 12, 0, 180.0f, 24.5f, 30.0f, -40.0f},
                        {13, 1, 7, 0, 7, 0, 0.0f, 10.0f, 0.0f, 0.0f}};
    standin::addAirport(airport);

    HANDLE h = nullptr;
    ASSERT_EQ(SimConnect_Open(&h, "PARKING_DATA_RDR", nullptr, 0, nullptr, 0), S_OK);
    for (const char* item : {"OPEN AIRPORT",
                             "LATITUDE",
                             "LONGITUDE",
                             "ALTITUDE",
                             "NAME",
                             "N_HELIPADS",
                             "N_TAXI_PARKINGS",
                             "OPEN TAXI_PARKING",
                             "TYPE",
                             "TAXI_POINT_TYPE",
                             "NAME",
                             "SUFFIX",
                             "NUMBER",
                             "ORIENTATION",
                             "HEADING",
                             "RADIUS",
                             "BIAS_X",
                             "BIAS_Z",
                             "CLOSE TAXI_PARKING",
                             "OPEN HELIPAD",
                             "LATITUDE",
                             "LONGITUDE",
                             "ALTITUDE",
                             "HEADING",
                             "LENGTH",
                             "WIDTH",
                             "SURFACE",
                             "TYPE",
                             "CLOSE HELIPAD",
                             "CLOSE AIRPORT"}) {
        SimConnect_AddToFacilityDefinition(h, 1001, item);
    }
    ASSERT_EQ(SimConnect_RequestFacilityData(h, 1001, 2001, "EHTS", ""), S_OK);
    standin::stepFrames(1);
    auto records = drain(h);
    records.erase(records.begin());  // OPEN
    ASSERT_EQ(records.size(), 5u);

    const Received& top = records[0];
    EXPECT_EQ(top.at<DWORD>(8), SIMCONNECT_RECV_ID_FACILITY_DATA);
    EXPECT_EQ(top.at<DWORD>(12), 2001u);
    EXPECT_EQ(top.at<DWORD>(24), SIMCONNECT_FACILITY_DATA_AIRPORT);
    EXPECT_DOUBLE_EQ(top.at<double>(40), 52.3);
    EXPECT_DOUBLE_EQ(top.at<double>(48), 4.76);
    EXPECT_DOUBLE_EQ(top.at<double>(56), -3.5);
    EXPECT_EQ(top.textAt(64), "Test Field");
    EXPECT_EQ(top.at<std::int32_t>(96), 1);   // N_HELIPADS
    EXPECT_EQ(top.at<std::int32_t>(100), 2);  // N_TAXI_PARKINGS

    const Received& helipad = records[1];
    EXPECT_EQ(helipad.at<DWORD>(24), SIMCONNECT_FACILITY_DATA_HELIPAD);
    EXPECT_DOUBLE_EQ(helipad.at<double>(40), 52.31);
    EXPECT_DOUBLE_EQ(helipad.at<double>(48), 4.77);
    EXPECT_FLOAT_EQ(helipad.at<float>(64), 90.0f);
    EXPECT_FLOAT_EQ(helipad.at<float>(72), 20.0f);
    EXPECT_EQ(helipad.at<std::int32_t>(80), 2);

    for (int i : {2, 3})
        EXPECT_EQ(records[i].at<DWORD>(24), SIMCONNECT_FACILITY_DATA_TAXI_PARKING);
    const Received& parking = records[2];
    EXPECT_EQ(parking.at<std::int32_t>(40) & 0xFFFF, 3);
    EXPECT_EQ(parking.at<std::int32_t>(56), 12);
    EXPECT_FLOAT_EQ(parking.at<float>(64), 180.0f);
    EXPECT_FLOAT_EQ(parking.at<float>(68), 24.5f);
    EXPECT_FLOAT_EQ(parking.at<float>(72), 30.0f);
    EXPECT_FLOAT_EQ(parking.at<float>(76), -40.0f);
    EXPECT_EQ(records[3].at<std::int32_t>(40), 13);

    EXPECT_EQ(records[4].id(), SIMCONNECT_RECV_ID_FACILITY_DATA_END);
    EXPECT_EQ(records[4].at<DWORD>(12), 2001u);

    // An unknown code; a held answer waits until released.
    ASSERT_EQ(SimConnect_RequestFacilityData(h, 1001, 2001, "ZZZZ", ""), S_OK);
    DWORD sendId = 0;
    SimConnect_GetLastSentPacketID(h, &sendId);
    standin::stepFrames(1);
    records = drain(h);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].id(), SIMCONNECT_RECV_ID_EXCEPTION);
    EXPECT_EQ(records[0].at<DWORD>(16), sendId);
    standin::holdFacilityAnswers(true);
    SimConnect_RequestFacilityData(h, 1001, 2001, "ehts", "");
    standin::stepFrames(1);
    EXPECT_TRUE(drain(h).empty());
    standin::holdFacilityAnswers(false);
    standin::stepFrames(1);
    EXPECT_EQ(drain(h).size(), 5u);

    SimConnect_AddToFacilityDefinition(h, 1002, "LATITUDE");  // no section open
    EXPECT_EQ(withId(drain(h), SIMCONNECT_RECV_ID_EXCEPTION).size(), 1u);
    EXPECT_EQ(SimConnect_Close(h), S_OK);
    standin::resetWorld();
}

struct CallbackProbe {
    HANDLE handle = nullptr;
    DWORD objectId = 0;
    std::vector<DWORD> ids;
};

void releaseOnAdd(SIMCONNECT_RECV* record, DWORD, void* context) {
    auto& probe = *static_cast<CallbackProbe*>(context);
    probe.ids.push_back(record->dwID);
    if (record->dwID == SIMCONNECT_RECV_ID_EVENT_OBJECT_ADDREMOVE) {
        const auto* added = static_cast<SIMCONNECT_RECV_EVENT_OBJECT_ADDREMOVE*>(record);
        probe.objectId = added->dwData;
        SimConnect_AIReleaseControl(probe.handle, added->dwData, 103);
        SimConnect_TransmitClientEvent(probe.handle, added->dwData, 214, 1, simtest::kGroup, 0);
        SimConnect_AIReleaseControl(probe.handle, 9999, 103);  // its exception comes with the next dispatch
    }
}

TEST_F(SimConnectTest, CallbackMayCallBackIntoTheApi) {
    SimConnect_AICreateNonATCAircraft(handle_, "Airliner Blue", "KLM1", onGroundAt(52.0, 4.5), 104);
    standin::stepFrames(2);
    CallbackProbe probe;
    probe.handle = handle_;
    ASSERT_EQ(SimConnect_CallDispatch(handle_, releaseOnAdd, &probe), S_OK);
    EXPECT_EQ(probe.ids, (std::vector<DWORD>{SIMCONNECT_RECV_ID_EVENT_FRAME, SIMCONNECT_RECV_ID_EVENT_FRAME,
                                             SIMCONNECT_RECV_ID_EVENT_OBJECT_ADDREMOVE}));
    const auto object = standin::object(probe.objectId);
    ASSERT_TRUE(object.has_value());
    EXPECT_TRUE(object->released);
    EXPECT_TRUE(object->frozenLatLon);
    const auto journal = standin::journal("Merrowvale");
    EXPECT_EQ(journal[journal.size() - 3].function, "SimConnect_AIReleaseControl");
    EXPECT_EQ(journal[journal.size() - 3].arguments[0], std::to_string(probe.objectId));
    EXPECT_EQ(withId(drain(handle_), SIMCONNECT_RECV_ID_EXCEPTION).size(), 1u);
}

void throwOnFirst(SIMCONNECT_RECV*, DWORD, void*) {
    throw std::runtime_error("restart");
}

TEST_F(SimConnectTest, ExceptionFromTheCallbackPassesThroughAndKeepsTheRest) {
    standin::stepFrames(3);
    EXPECT_THROW(SimConnect_CallDispatch(handle_, throwOnFirst, nullptr), std::runtime_error);
    EXPECT_EQ(drain(handle_).size(), 2u);
}

TEST_F(SimConnectTest, ClosedUnknownAndQuitConnectionsFail) {
    HANDLE second = nullptr;
    ASSERT_EQ(SimConnect_Open(&second, "PARKING_DATA_RDR", nullptr, 0, nullptr, 0), S_OK);
    EXPECT_EQ(standin::openConnectionCount(), 2u);
    EXPECT_EQ(SimConnect_Close(second), S_OK);
    DWORD sendId = 0;
    EXPECT_LT(SimConnect_GetLastSentPacketID(second, &sendId), 0);
    EXPECT_LT(SimConnect_Close(second), 0);
    EXPECT_LT(SimConnect_AIReleaseControl(reinterpret_cast<HANDLE>(std::uintptr_t{0x7777}), 100, 103), 0);
    EXPECT_LT(SimConnect_CallDispatch(nullptr, simtest::collect, nullptr), 0);

    standin::quitSimulator();
    EXPECT_LT(SimConnect_RequestDataOnSimObject(handle_, 109, 403, 0, SIMCONNECT_PERIOD_ONCE), 0);
    const auto records = drain(handle_);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].id(), SIMCONNECT_RECV_ID_QUIT);
    EXPECT_LT(SimConnect_CallDispatch(handle_, simtest::collect, nullptr), 0);
    HANDLE again = nullptr;
    EXPECT_LT(SimConnect_Open(&again, "Merrowvale", nullptr, 0, nullptr, 0), 0);
}

TEST_F(SimConnectTest, ScriptedFailuresAndInjectedRecords) {
    standin::failNext("SimConnect_Open", E_FAIL, 2);
    HANDLE h = nullptr;
    EXPECT_EQ(SimConnect_Open(&h, "PARKING_DATA_RDR", nullptr, 0, nullptr, 0), E_FAIL);
    EXPECT_EQ(SimConnect_Open(&h, "PARKING_DATA_RDR", nullptr, 0, nullptr, 0), E_FAIL);
    EXPECT_EQ(SimConnect_Open(&h, "PARKING_DATA_RDR", nullptr, 0, nullptr, 0), S_OK);
    SimConnect_Close(h);

    standin::failNext("SimConnect_AICreateNonATCAircraft", static_cast<HRESULT>(0x80004005u));
    EXPECT_EQ(SimConnect_AICreateNonATCAircraft(handle_, "Airliner Blue", "X", onGroundAt(52, 4.5), 104),
              E_FAIL);
    EXPECT_EQ(standin::journal("Merrowvale").back().result, E_FAIL);
    DWORD before = 0;
    DWORD after = 0;
    SimConnect_GetLastSentPacketID(handle_, &before);
    EXPECT_EQ(SimConnect_AICreateNonATCAircraft(handle_, nullptr, "X", onGroundAt(52, 4.5), 104), E_FAIL);
    SimConnect_GetLastSentPacketID(handle_, &after);
    EXPECT_EQ(after, before) << "a call refused on the spot sends nothing";
    standin::stepFrames(2);
    EXPECT_TRUE(withId(drain(handle_), SIMCONNECT_RECV_ID_EVENT_OBJECT_ADDREMOVE).empty())
        << "nothing was sent";

    SIMCONNECT_RECV_EXCEPTION mismatch{};
    mismatch.dwID = SIMCONNECT_RECV_ID_EXCEPTION;
    mismatch.dwException = SIMCONNECT_EXCEPTION_VERSION_MISMATCH;
    mismatch.dwIndex = 7;
    ASSERT_TRUE(standin::injectRecord("Merrowvale", mismatch));
    EXPECT_FALSE(standin::injectRecord("Nobody", mismatch));
    const auto records = drain(handle_);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].as<SIMCONNECT_RECV_EXCEPTION>().dwException, SIMCONNECT_EXCEPTION_VERSION_MISMATCH);
    EXPECT_EQ(records[0].as<SIMCONNECT_RECV_EXCEPTION>().dwIndex, 7u);
}

TEST_F(SimConnectTest, JournalKeepsTheNewestCalls) {
    DWORD sendId = 0;
    for (int i = 0; i < 50010; ++i)
        SimConnect_GetLastSentPacketID(handle_, &sendId);
    const auto journal = standin::journal("Merrowvale");
    EXPECT_EQ(journal.size(), 50000u);
    EXPECT_EQ(journal.front().function, "SimConnect_GetLastSentPacketID");
}

}  // namespace
