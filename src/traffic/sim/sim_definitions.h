#pragma once
// The fixed numbers of everything the program exchanges with the simulator (data definitions,
// requests, system and client events, the notification group), the records received on those
// definitions, and the registration that runs once after every successful connection.

#include <cstdint>
#include <string_view>

#include "platform/simconnect/simconnect.h"
#include "traffic/model/user_aircraft_data.h"

namespace mrw {

enum SimConnectDefinitionId : std::uint32_t {
    SpoilersThrottle = 401,  // spoilers handle and throttle levers of an AI object
    AiPosition = 402,        // position and attitude of an AI object (PositionUpdate)
    UserAircraft = 403,      // UserAcData
    ObjectInRange = 404,     // ObjectInRangeData
    StaticCg = 405,          // static CG height and pitch of an AI object
    LightOnStates = 406,     // registered, never requested or written
    UserTitle = 407,
    UserModel = 408,
    UserOnGround = 409,
};

// Requests 102, 106, 107 and 109 carry the names of the definitions they read; the scoped names
// keep the two enumerations apart.
enum class SimConnectRequestId : std::uint32_t {
    ObjectsInRange = 101,
    StaticCg = 102,
    ReleaseControl = 103,
    CreateAi = 104,
    RemoveAi = 105,
    UserTitle = 106,
    UserModel = 107,
    UserOnGround = 108,
    UserAircraft = 109,
    FlightPlan = 110,  // SimConnect_AISetAircraftFlightPlan of a live aircraft
};

// System events (201 to 205) and client events (206 to 222) share one numbering; each client
// event bears the simulator's own event name.
enum SimConnectEventId : std::uint32_t {
    Sim = 201,
    ObjectAdded = 202,
    ObjectRemoved = 203,
    Frame = 204,
    FlightLoaded = 205,
    BEACON_LIGHTS_SET = 206,
    NAV_LIGHTS_SET = 207,
    TAXI_LIGHTS_SET = 208,
    STROBES_SET = 209,
    LANDING_LIGHTS_SET = 210,
    CABIN_LIGHTS_SET = 211,
    LOGO_LIGHTS_SET = 212,
    ALL_LIGHTS_TOGGLE = 213,
    FREEZE_LATITUDE_LONGITUDE_SET = 214,
    FREEZE_ALTITUDE_SET = 215,
    FREEZE_ATTITUDE_SET = 216,
    FLAPS_SET = 217,
    SPOILERS_SET = 218,
    GEAR_SET = 219,
    ENGINE_AUTO_START = 220,  // the only client event outside group 301
    ENGINE_AUTO_SHUTDOWN = 221,
    THROTTLE_SET = 222,
};

enum SimConnectGroupId : std::uint32_t {
    AiCommands = 301,  // the notification group of the client events, highest priority
};

// The id as SimConnect takes it.
constexpr DWORD gf_simId(SimConnectRequestId id) {
    return static_cast<DWORD>(id);
}

// One aircraft within the range radius (definition 404).
struct ObjectInRangeData {
    double altitudeAboveGround = 0.0;  // feet
    double groundAltitude = 0.0;       // feet
    std::int64_t onGround = 0;         // 0 or 1
    char atcId[32] = {};               // the callsign shown to air traffic control; may fill all 32 bytes
};
static_assert(sizeof(ObjectInRangeData) == 56);

// Registers the system events, data definitions, client events and the notification group on
// g_simConnect; runs on the client thread right after a successful open, before the first dispatch.
// The results are not examined: a rejected registration shows up later as a SimConnect exception.
void gf_defineSimData();
// Adds the client event to group 301, maskable.
void gf_addToEventGroup(SimConnectEventId event);

// Unless the SimConnect error flag is set, sends request 109 under g_simConnectMutex; in every
// case returns a copy of the last answer (each call returns the answer to an earlier request).
UserAcData gf_getUserAcData();
// Under g_simConnectMutex sends request 106, then request 107 even when 106 failed.
void gf_requestUserTitleAndModel();

// After a SimConnect request: a negative result writes the failure text as an error line and
// calls gf_simRequestError. True when the request succeeded.
bool gf_checkSimRequest(HRESULT result, std::string_view failureText);

}  // namespace mrw
