#include "platform/simconnect/client_events.h"

#include <array>
#include <string>

#include "platform/simconnect/name_compare.h"

namespace standin {
namespace {

void lf_setLight(SimObject& o, std::uint32_t bit, DWORD data) {
    o.lightMask = data != 0 ? (o.lightMask | bit) : (o.lightMask & ~bit);
}

struct ClientEvent {
    std::string_view name;
    void (*apply)(SimObject&, DWORD);
};

const std::array kEvents = {
    ClientEvent{"GEAR_SET", [](SimObject& o, DWORD d) { o.gearDown = d != 0; }},
    ClientEvent{"ENGINE_AUTO_START", [](SimObject& o, DWORD) { o.enginesRunning = true; }},
    ClientEvent{"ENGINE_AUTO_SHUTDOWN", [](SimObject& o, DWORD) { o.enginesRunning = false; }},
    ClientEvent{"THROTTLE_SET", [](SimObject& o, DWORD d) { o.throttle = d; }},
    ClientEvent{"FLAPS_SET", [](SimObject& o, DWORD d) { o.flaps = d; }},
    ClientEvent{"SPOILERS_SET", [](SimObject& o, DWORD d) { o.spoilers = d; }},
    ClientEvent{"NAV_LIGHTS_SET", [](SimObject& o, DWORD d) { lf_setLight(o, kLightNav, d); }},
    ClientEvent{"BEACON_LIGHTS_SET", [](SimObject& o, DWORD d) { lf_setLight(o, kLightBeacon, d); }},
    ClientEvent{"LANDING_LIGHTS_SET", [](SimObject& o, DWORD d) { lf_setLight(o, kLightLanding, d); }},
    ClientEvent{"TAXI_LIGHTS_SET", [](SimObject& o, DWORD d) { lf_setLight(o, kLightTaxi, d); }},
    ClientEvent{"STROBES_SET", [](SimObject& o, DWORD d) { lf_setLight(o, kLightStrobe, d); }},
    ClientEvent{"LOGO_LIGHTS_SET", [](SimObject& o, DWORD d) { lf_setLight(o, kLightLogo, d); }},
    ClientEvent{"CABIN_LIGHTS_SET", [](SimObject& o, DWORD d) { lf_setLight(o, kLightCabin, d); }},
    ClientEvent{"ALL_LIGHTS_TOGGLE", [](SimObject& o, DWORD) { o.lightMask ^= kAllLights; }},
    ClientEvent{"FREEZE_LATITUDE_LONGITUDE_SET", [](SimObject& o, DWORD d) { o.frozenLatLon = d != 0; }},
    ClientEvent{"FREEZE_ALTITUDE_SET", [](SimObject& o, DWORD d) { o.frozenAltitude = d != 0; }},
    ClientEvent{"FREEZE_ATTITUDE_SET", [](SimObject& o, DWORD d) { o.frozenAttitude = d != 0; }},
};

const ClientEvent* lf_find(std::string_view name) {
    for (const ClientEvent& event : kEvents) {
        if (gf_sameName(event.name, name)) return &event;
    }
    return nullptr;
}

}  // namespace

bool gf_isClientEvent(std::string_view simEvent) {
    return lf_find(simEvent) != nullptr;
}

void gf_applyClientEvent(SimObject& object, std::string_view simEvent, DWORD data) {
    const ClientEvent* event = lf_find(simEvent);
    if (event == nullptr) return;
    event->apply(object, data);
    object.events.push_back({std::string(event->name), data});
}

}  // namespace standin
