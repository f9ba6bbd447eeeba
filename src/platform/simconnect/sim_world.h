#pragma once
// The simulated simulator behind our SimConnect layer, and its scripting and observation API for
// tests and the demo. One world per process, shared by every open connection.
//
// Time: the world has no clock of its own. step() advances it by whole frames (frameRate per simulator
// second); each frame sends Frame events, completes creations and removals whose latency has run
// out, answers the requests made before it, and on every whole simulator second answers the
// per-second requests. Tests step by hand, so the message order is deterministic; the demo lets a
// thread step it in real time (startFreeRunning).
//
// Threads: every function here and every SimConnect call may be used from any thread. The
// SimConnect_CallDispatch callback runs outside the world's lock and may call back into it; records
// produced meanwhile are delivered by the next CallDispatch.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/simconnect/simconnect.h"

namespace standin {

struct SimWorldConfig {
    std::string applicationName = "KittyHawk";  // "KittyHawk" is the 2020 simulator, "SunRise" the 2024 one
    DWORD versionMajor = 11;
    DWORD versionMinor = 0;
    DWORD buildMajor = 282174;
    DWORD buildMinor = 999;
    DWORD userObjectId = 1;
    DWORD firstAiObjectId = 100;  // AI ids count up from here (large values give hexadecimal-looking ids)
    DWORD frameRate = 30;         // frames per simulator second
    DWORD createLatencyFrames = 2;
    DWORD removeLatencyFrames = 1;
    // Frames after a creation before the new object reports its tail number as its ATC ID (empty
    // until then), as the simulator's may.
    DWORD tailNumberLatencyFrames = 0;
    std::size_t objectLimit = 1000;  // AI objects; one more gives exception TOO_MANY_OBJECTS
    double staticCgFeet = 8.0;       // of every AI object: height of its reference point when on the ground
    double staticPitchRad = 0.012;
    std::int64_t zuluEpochSeconds = 1735689600;  // simulator UTC at world time 0 (2025-01-01 00:00:00)
    double groundElevationFeet = 0.0;            // the flat ground
    bool flightRunning = true;                   // the state sent on a subscription to "Sim"
};

// Bits of "LIGHT STATES".
inline constexpr std::uint32_t kLightNav = 0x1;
inline constexpr std::uint32_t kLightBeacon = 0x2;
inline constexpr std::uint32_t kLightLanding = 0x4;
inline constexpr std::uint32_t kLightTaxi = 0x8;
inline constexpr std::uint32_t kLightStrobe = 0x10;
inline constexpr std::uint32_t kLightLogo = 0x100;
inline constexpr std::uint32_t kLightCabin = 0x200;
inline constexpr std::uint32_t kAllLights = 0x31F;

struct ClientEventRecord {
    std::string simEvent;  // the simulator's event name, e.g. "FLAPS_SET"
    DWORD data = 0;
};

enum class ObjectKind { User, Ai, Foreign };

// One simulated aircraft. Angles in radians, altitudes in feet, speeds in knots.
struct SimObject {
    DWORD id = 0;
    ObjectKind kind = ObjectKind::Ai;
    std::string title;
    std::string atcId;  // an AI object reports its tail number
    std::string atcModel;
    double latitudeDeg = 0.0;
    double longitudeDeg = 0.0;
    double altitudeFeet = 0.0;
    double indicatedAltitudeFeet = 0.0;
    double pitchRad = 0.0;
    double bankRad = 0.0;
    double headingRad = 0.0;
    double verticalSpeedFps = 0.0;
    double trueAirspeedKnots = 0.0;
    double groundSpeedKnots = 0.0;
    bool onGround = false;  // scripted for the user; for other objects set by the ground model
    std::uint32_t lightMask = 0;
    bool released = false;
    bool frozenLatLon = false;
    bool frozenAltitude = false;
    bool frozenAttitude = false;
    bool enginesRunning = false;
    bool gearDown = true;
    DWORD flaps = 0;
    DWORD spoilers = 0;
    DWORD throttle = 0;
    double spoilersHandlePercent = 0.0;
    double throttleLever1Percent = 0.0;
    double throttleLever2Percent = 0.0;
    double staticCgFeet = 0.0;
    double staticPitchRad = 0.0;
    std::string flightPlanPath;
    std::vector<ClientEventRecord> events;  // every client event applied, in order
};

// A point of the user's scripted route; between points the position, altitude and ground speed are
// interpolated, heading and on-ground come from the earlier point.
struct RoutePoint {
    double atSeconds = 0.0;  // world time
    double latitudeDeg = 0.0;
    double longitudeDeg = 0.0;
    double altitudeFeet = 0.0;
    double headingRad = 0.0;
    double groundSpeedKnots = 0.0;
    bool onGround = true;
};

struct FacilityHelipad {
    double latitudeDeg = 0.0;
    double longitudeDeg = 0.0;
    double altitudeM = 0.0;
    float headingDeg = 0.0f;
    float lengthM = 0.0f;
    float widthM = 0.0f;
    std::int32_t surface = 0;
    std::int32_t type = 0;
};

struct FacilityParking {
    std::int32_t type = 0;
    std::int32_t taxiPointType = 0;
    std::int32_t name = 0;
    std::int32_t suffix = 0;
    std::int32_t number = 0;
    std::int32_t orientation = 0;
    float headingDeg = 0.0f;
    float radiusM = 0.0f;
    float biasXM = 0.0f;  // metres east of the airport's reference point
    float biasZM = 0.0f;  // metres north
};

struct FacilityAirport {
    std::string icao;
    std::string name;
    double latitudeDeg = 0.0;
    double longitudeDeg = 0.0;
    double altitudeM = 0.0;
    std::vector<FacilityHelipad> helipads;
    std::vector<FacilityParking> parkings;
};

// One SimConnect call as the world saw it. Arguments are rendered as text in call order (numbers in
// decimal, a null text as "null"); CallDispatch is not journalled.
struct JournalEntry {
    std::string function;  // e.g. "SimConnect_AIReleaseControl"
    std::vector<std::string> arguments;
    HRESULT result = S_OK;
    DWORD packetId = 0;  // 0 for calls that send nothing
};

// --- world life ---
// Back to a fresh world with no simulator running: every handle becomes invalid, objects, airports,
// scripted failures and journals are dropped. Stops free running first.
void resetWorld(const SimWorldConfig& config = {});
// The simulator process starts (SimConnect_Open succeeds from now on) / quits (QUIT to every
// connection, after which calls on them fail; CallDispatch still delivers what was waiting).
void startSimulator();
void quitSimulator();

// --- time ---
void step(double seconds);  // runs every frame that falls within the interval
void stepFrames(std::uint64_t frames);
double worldSeconds();
std::uint64_t frameCount();
// A thread steps the world in real time at the configured frame rate until stopFreeRunning.
void startFreeRunning();
void stopFreeRunning();
// Calls the predicate after every step until it holds (true) or the time-out passes (false). The
// predicate runs outside the world's lock and may use this API.
bool waitUntil(const std::function<bool()>& predicate, std::chrono::milliseconds timeout);

// --- flight ---
void setFlightRunning(bool running);  // "Sim" event with 1 or 0
// A new flight is loaded: FlightLoaded as an EVENT, or as an EVENT_FILENAME carrying the file name.
void loadFlight(const std::string& flightFile, bool asFilename);
void setGroundElevation(double feet);

// --- objects ---
// The change runs under the world's lock: it must not call this API.
void modifyUser(const std::function<void(SimObject&)>& change);
void setUserRoute(std::vector<RoutePoint> route);
DWORD addForeignObject(SimObject object);  // announced with ObjectAdded at once; returns its id
void removeObjectNow(DWORD objectId);      // ObjectRemoved at once
void refuseTitle(const std::string& title);
void refuseFlightPlans(bool refuse);  // every flight plan then fails with LOAD_FLIGHTPLAN_FAILED
SimObject user();
std::optional<SimObject> object(DWORD objectId);
std::vector<SimObject> objects();  // in id order

// --- facilities ---
void addAirport(FacilityAirport airport);
void holdFacilityAnswers(bool hold);  // requests stay unanswered while held

// --- faults and raw records ---
// The next `times` calls of the named SimConnect function (e.g. "SimConnect_Open") fail with hr.
void failNext(std::string_view function, HRESULT hr = E_FAIL, int times = 1);
// Appends a record to the waiting records of the newest connection with that client name.
// Returns false when there is no open connection of that name.
bool injectRecord(std::string_view clientName, const void* record, std::size_t size);
template <class Record>
bool injectRecord(std::string_view clientName, Record record) {
    record.dwSize = static_cast<DWORD>(sizeof(Record));
    return injectRecord(clientName, &record, sizeof(Record));
}

// --- observation ---
// Journal of the newest connection with that client name, closed ones included (its newest 50000 calls).
std::vector<JournalEntry> journal(std::string_view clientName);
// SimConnect_CallDispatch calls on the newest connection with that client name (closed ones
// included), counted whether or not records were waiting; 0 when there is none.
std::uint64_t dispatchCount(std::string_view clientName);
std::size_t openConnectionCount();

}  // namespace standin
