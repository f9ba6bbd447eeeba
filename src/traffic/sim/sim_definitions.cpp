#include "traffic/sim/sim_definitions.h"

#include "foundation/log.h"
#include "foundation/thread_safety.h"
#include "traffic/model/sim_queues.h"
#include "traffic/sim/sim_client.h"

namespace mrw {
namespace {

struct Datum {
    SimConnectDefinitionId definition;
    const char* name;
    const char* units;  // null: none
    SIMCONNECT_DATATYPE type;
};

constexpr auto kFloat64 = SIMCONNECT_DATATYPE_FLOAT64;
constexpr auto kInt64 = SIMCONNECT_DATATYPE_INT64;

// Definitions in registration order, datums in record order.
constexpr Datum kDatums[] = {
    {UserTitle, "TITLE", nullptr, SIMCONNECT_DATATYPE_STRINGV},
    {UserModel, "ATC MODEL", nullptr, SIMCONNECT_DATATYPE_STRING32},
    {UserOnGround, "SIM ON GROUND", "Bool", kInt64},
    {AiPosition, "Plane Latitude", "degree", kFloat64},
    {AiPosition, "Plane Longitude", "degree", kFloat64},
    {AiPosition, "Plane Pitch degrees", "radians", kFloat64},
    {AiPosition, "Plane Bank degrees", "radians", kFloat64},
    {AiPosition, "Plane Heading degrees true", "radians", kFloat64},
    {AiPosition, "Plane Altitude", "feet", kFloat64},
    {AiPosition, "Vertical Speed", "feet per second", kFloat64},
    {AiPosition, "Airspeed True", "knots", kFloat64},
    {UserAircraft, "Plane Latitude", "degree", kFloat64},
    {UserAircraft, "Plane Longitude", "degree", kFloat64},
    {UserAircraft, "Plane Pitch degrees", "radians", kFloat64},
    {UserAircraft, "Plane Bank degrees", "radians", kFloat64},
    {UserAircraft, "Plane Heading degrees true", "radians", kFloat64},
    {UserAircraft, "Plane Altitude", "feet", kFloat64},
    {UserAircraft, "Indicated Altitude", "feet", kFloat64},
    {UserAircraft, "Plane Alt Above Ground", "feet", kFloat64},
    {UserAircraft, "Ground Velocity", "knots", kFloat64},
    {UserAircraft, "ZULU TIME", "Seconds", kInt64},
    {UserAircraft, "ZULU DAY OF YEAR", "Number", kInt64},
    {UserAircraft, "ZULU YEAR", "Number", kInt64},
    {UserAircraft, "LIGHT STATES", "Mask", kInt64},
    {StaticCg, "Static CG to Ground", "feet", kFloat64},
    {StaticCg, "Static Pitch", "radians", kFloat64},
    {LightOnStates, "Light On States", "Mask", kInt64},
    {ObjectInRange, "Plane Alt Above Ground", "feet", kFloat64},
    {ObjectInRange, "Ground Altitude", "feet", kFloat64},
    {ObjectInRange, "SIM ON GROUND", "Bool", kInt64},
    {ObjectInRange, "ATC ID", nullptr, SIMCONNECT_DATATYPE_STRING32},
    {SpoilersThrottle, "SPOILERS HANDLE POSITION", "percent", kFloat64},
    {SpoilersThrottle, "GENERAL ENG THROTTLE LEVER POSITION:1", "percent", kFloat64},
    {SpoilersThrottle, "GENERAL ENG THROTTLE LEVER POSITION:2", "percent", kFloat64},
};

struct NamedEvent {
    SimConnectEventId id;
    const char* name;
};

constexpr NamedEvent kSystemEvents[] = {
    {Sim, "Sim"},
    {ObjectAdded, "ObjectAdded"},
    {ObjectRemoved, "ObjectRemoved"},
    {FlightLoaded, "FlightLoaded"},
    {Frame, "Frame"},
};

constexpr NamedEvent kClientEvents[] = {
    {GEAR_SET, "GEAR_SET"},
    {ENGINE_AUTO_START, "ENGINE_AUTO_START"},
    {ENGINE_AUTO_SHUTDOWN, "ENGINE_AUTO_SHUTDOWN"},
    {THROTTLE_SET, "THROTTLE_SET"},
    {FLAPS_SET, "FLAPS_SET"},
    {SPOILERS_SET, "SPOILERS_SET"},
    {NAV_LIGHTS_SET, "NAV_LIGHTS_SET"},
    {BEACON_LIGHTS_SET, "BEACON_LIGHTS_SET"},
    {LANDING_LIGHTS_SET, "LANDING_LIGHTS_SET"},
    {TAXI_LIGHTS_SET, "TAXI_LIGHTS_SET"},
    {STROBES_SET, "STROBES_SET"},
    {LOGO_LIGHTS_SET, "LOGO_LIGHTS_SET"},
    {CABIN_LIGHTS_SET, "CABIN_LIGHTS_SET"},
    {ALL_LIGHTS_TOGGLE, "ALL_LIGHTS_TOGGLE"},
    {FREEZE_LATITUDE_LONGITUDE_SET, "FREEZE_LATITUDE_LONGITUDE_SET"},
    {FREEZE_ALTITUDE_SET, "FREEZE_ALTITUDE_SET"},
    {FREEZE_ATTITUDE_SET, "FREEZE_ATTITUDE_SET"},
};

// ENGINE_AUTO_START stays outside the group.
constexpr SimConnectEventId kGroupEvents[] = {
    NAV_LIGHTS_SET,
    BEACON_LIGHTS_SET,
    LANDING_LIGHTS_SET,
    TAXI_LIGHTS_SET,
    STROBES_SET,
    LOGO_LIGHTS_SET,
    CABIN_LIGHTS_SET,
    ALL_LIGHTS_TOGGLE,
    FLAPS_SET,
    SPOILERS_SET,
    GEAR_SET,
    ENGINE_AUTO_SHUTDOWN,
    THROTTLE_SET,
    FREEZE_LATITUDE_LONGITUDE_SET,
    FREEZE_ALTITUDE_SET,
    FREEZE_ATTITUDE_SET,
};

HRESULT lf_requestUserData(SimConnectRequestId request, SimConnectDefinitionId definition,
                           SIMCONNECT_PERIOD period) {
    return SimConnect_RequestDataOnSimObject(g_simConnect.load(), gf_simId(request), definition,
                                             SIMCONNECT_OBJECT_ID_USER, period);
}

}  // namespace

void gf_addToEventGroup(SimConnectEventId event) {
    SimConnect_AddClientEventToNotificationGroup(g_simConnect.load(), AiCommands, event, TRUE);
}

void gf_defineSimData() {
    const HANDLE handle = g_simConnect.load();
    for (const NamedEvent& event : kSystemEvents)
        SimConnect_SubscribeToSystemEvent(handle, event.id, event.name);
    for (const Datum& datum : kDatums) {
        SimConnect_AddToDataDefinition(handle, datum.definition, datum.name, datum.units, datum.type, 0.0f,
                                       SIMCONNECT_UNUSED);
    }
    for (const NamedEvent& event : kClientEvents)
        SimConnect_MapClientEventToSimEvent(handle, event.id, event.name);
    for (const SimConnectEventId event : kGroupEvents)
        gf_addToEventGroup(event);
    SimConnect_SetNotificationGroupPriority(handle, AiCommands, SIMCONNECT_GROUP_PRIORITY_HIGHEST);
}

bool gf_checkSimRequest(HRESULT result, std::string_view failureText) {
    if (SUCCEEDED(result)) return true;
    gf_logError(failureText);
    gf_simRequestError();
    return false;
}

UserAcData gf_getUserAcData() {
    if (!g_simConnectError.load()) {
        MutexLock lock(g_simConnectMutex);
        gf_checkSimRequest(
            lf_requestUserData(SimConnectRequestId::UserAircraft, UserAircraft, SIMCONNECT_PERIOD_ONCE),
            "SimConnect request user ac position fails");
    }
    return gf_userAcDataRecv();
}

void gf_requestUserTitleAndModel() {
    MutexLock lock(g_simConnectMutex);
    gf_checkSimRequest(lf_requestUserData(SimConnectRequestId::UserTitle, UserTitle, SIMCONNECT_PERIOD_ONCE),
                       "SimConnect request user ac title fails");
    gf_checkSimRequest(lf_requestUserData(SimConnectRequestId::UserModel, UserModel, SIMCONNECT_PERIOD_ONCE),
                       "SimConnect reques user ac model fails");
}

}  // namespace mrw
