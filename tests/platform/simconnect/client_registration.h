#pragma once
// The traffic client's registration after it connects: its system events, data definitions, client
// events and notification group, in the client's order. The stand-in's tests use it as a realistic
// connection.

#include <vector>

#include "platform/simconnect/simconnect.h"

namespace simtest {

struct DatumRow {
    DWORD definition;
    const char* name;
    const char* units;
    SIMCONNECT_DATATYPE type;
};

inline const std::vector<DatumRow>& clientDatums() {
    constexpr auto F64 = SIMCONNECT_DATATYPE_FLOAT64;
    constexpr auto I64 = SIMCONNECT_DATATYPE_INT64;
    static const std::vector<DatumRow> datums = {
        {407, "TITLE", nullptr, SIMCONNECT_DATATYPE_STRINGV},
        {408, "ATC MODEL", nullptr, SIMCONNECT_DATATYPE_STRING32},
        {409, "SIM ON GROUND", "Bool", I64},
        {402, "Plane Latitude", "degree", F64},
        {402, "Plane Longitude", "degree", F64},
        {402, "Plane Pitch degrees", "radians", F64},
        {402, "Plane Bank degrees", "radians", F64},
        {402, "Plane Heading degrees true", "radians", F64},
        {402, "Plane Altitude", "feet", F64},
        {402, "Vertical Speed", "feet per second", F64},
        {402, "Airspeed True", "knots", F64},
        {403, "Plane Latitude", "degree", F64},
        {403, "Plane Longitude", "degree", F64},
        {403, "Plane Pitch degrees", "radians", F64},
        {403, "Plane Bank degrees", "radians", F64},
        {403, "Plane Heading degrees true", "radians", F64},
        {403, "Plane Altitude", "feet", F64},
        {403, "Indicated Altitude", "feet", F64},
        {403, "Plane Alt Above Ground", "feet", F64},
        {403, "Ground Velocity", "knots", F64},
        {403, "ZULU TIME", "Seconds", I64},
        {403, "ZULU DAY OF YEAR", "Number", I64},
        {403, "ZULU YEAR", "Number", I64},
        {403, "LIGHT STATES", "Mask", I64},
        {405, "Static CG to Ground", "feet", F64},
        {405, "Static Pitch", "radians", F64},
        {406, "Light On States", "Mask", I64},
        {404, "Plane Alt Above Ground", "feet", F64},
        {404, "Ground Altitude", "feet", F64},
        {404, "SIM ON GROUND", "Bool", I64},
        {404, "ATC ID", nullptr, SIMCONNECT_DATATYPE_STRING32},
        {401, "SPOILERS HANDLE POSITION", "percent", F64},
        {401, "GENERAL ENG THROTTLE LEVER POSITION:1", "percent", F64},
        {401, "GENERAL ENG THROTTLE LEVER POSITION:2", "percent", F64},
    };
    return datums;
}

struct EventRow {
    DWORD id;
    const char* name;
};

inline const std::vector<EventRow>& clientSystemEvents() {
    static const std::vector<EventRow> events = {
        {201, "Sim"}, {202, "ObjectAdded"}, {203, "ObjectRemoved"}, {205, "FlightLoaded"}, {204, "Frame"}};
    return events;
}

inline const std::vector<EventRow>& clientEvents() {
    static const std::vector<EventRow> events = {
        {219, "GEAR_SET"},
        {220, "ENGINE_AUTO_START"},
        {221, "ENGINE_AUTO_SHUTDOWN"},
        {222, "THROTTLE_SET"},
        {217, "FLAPS_SET"},
        {218, "SPOILERS_SET"},
        {207, "NAV_LIGHTS_SET"},
        {206, "BEACON_LIGHTS_SET"},
        {210, "LANDING_LIGHTS_SET"},
        {208, "TAXI_LIGHTS_SET"},
        {209, "STROBES_SET"},
        {212, "LOGO_LIGHTS_SET"},
        {211, "CABIN_LIGHTS_SET"},
        {213, "ALL_LIGHTS_TOGGLE"},
        {214, "FREEZE_LATITUDE_LONGITUDE_SET"},
        {215, "FREEZE_ALTITUDE_SET"},
        {216, "FREEZE_ATTITUDE_SET"},
    };
    return events;
}

inline const std::vector<DWORD>& clientGroupEvents() {
    static const std::vector<DWORD> events = {207, 206, 210, 208, 209, 212, 211, 213,
                                              217, 218, 219, 221, 222, 214, 215, 216};
    return events;
}

inline constexpr DWORD kGroup = 301;

inline void registerLikeTheClient(HANDLE h) {
    for (const EventRow& event : clientSystemEvents())
        SimConnect_SubscribeToSystemEvent(h, event.id, event.name);
    for (const DatumRow& datum : clientDatums()) {
        SimConnect_AddToDataDefinition(h, datum.definition, datum.name, datum.units, datum.type, 0.0f,
                                       SIMCONNECT_UNUSED);
    }
    for (const EventRow& event : clientEvents())
        SimConnect_MapClientEventToSimEvent(h, event.id, event.name);
    for (const DWORD event : clientGroupEvents())
        SimConnect_AddClientEventToNotificationGroup(h, kGroup, event, TRUE);
    SimConnect_SetNotificationGroupPriority(h, kGroup, SIMCONNECT_GROUP_PRIORITY_HIGHEST);
}

}  // namespace simtest
