#include "traffic/sim/aircraft_commands.h"

#include <array>
#include <initializer_list>
#include <random>

#include "config/parameter_catalogue.h"
#include "config/random_helpers.h"
#include "foundation/log.h"
#include "foundation/thread_safety.h"
#include "traffic/model/sim_queues.h"
#include "traffic/sim/sim_definitions.h"

namespace mrw {
namespace {

constexpr std::array<std::uint32_t, 5> kThrottleValues = {0, 4914, 8191, 11468, 16383};
constexpr std::array<std::uint32_t, 5> kFlapsValues = {0, 3072, 10240, 16383, 0};
constexpr std::uint32_t kSpoilersExtended = 16383;

struct EventValue {
    SimConnectEventId event;
    std::uint32_t data;
};

// One hold of the mutex, so the events of one command stay together in the queue.
void lf_queue(std::uint32_t objectId, std::initializer_list<EventValue> events) {
    MutexLock lock(g_simConnectMutex);
    for (const EventValue& e : events)
        g_clientEvents.push_back(ClientEventRequest{objectId, e.event, e.data});
}

bool lf_isRotorcraft(const StaticAc& aircraft) {
    return aircraft.category == AcCategory::Rotorcraft;
}

// A parked aircraft's cabin is lit, but never at a cargo stand, and with RANDOM on one in ten stays
// dark.
std::uint32_t lf_parkedCabinLights(bool standCargo) {
    if (standCargo) return 0;
    if (!g_parameters().RANDOM.current) return 1;
    std::uniform_int_distribution<int> draw(0, 9);
    return draw(g_threadRandomEngine()) <= 8 ? 1 : 0;
}

}  // namespace

void gf_startEngines(std::uint32_t objectId) {
    lf_queue(objectId, {{ENGINE_AUTO_START, 0}});
}

void gf_shutDownEngines(std::uint32_t objectId) {
    lf_queue(objectId, {{ENGINE_AUTO_SHUTDOWN, 0}});
}

void gf_setLights(std::uint32_t objectId, const LightSet& lights) {
    lf_queue(objectId, {{NAV_LIGHTS_SET, lights.nav},
                        {BEACON_LIGHTS_SET, lights.beacon},
                        {LANDING_LIGHTS_SET, lights.landing},
                        {TAXI_LIGHTS_SET, lights.taxi},
                        {STROBES_SET, lights.strobes},
                        {LOGO_LIGHTS_SET, lights.logo},
                        {CABIN_LIGHTS_SET, lights.cabin}});
}

void gf_setNavLights(std::uint32_t objectId, std::uint32_t value) {
    lf_queue(objectId, {{NAV_LIGHTS_SET, value}});
}

void gf_setCabinLights(std::uint32_t objectId, std::uint32_t value) {
    lf_queue(objectId, {{CABIN_LIGHTS_SET, value}});
}

void gf_setFlaps(StaticAc& aircraft, std::int32_t flapsIndex) {
    if (flapsIndex == aircraft.flapsIndex || lf_isRotorcraft(aircraft)) return;
    if (flapsIndex < 0 || flapsIndex >= static_cast<std::int32_t>(kFlapsValues.size()))
        gf_logError("gf_setFlaps: invalid flaps index");
    else
        lf_queue(aircraft.objectId, {{FLAPS_SET, kFlapsValues[static_cast<std::size_t>(flapsIndex)]}});
    aircraft.flapsIndex = flapsIndex;
}

void StaticAc::setSpoilers(bool extended) const {
    if (lf_isRotorcraft(*this)) return;
    lf_queue(objectId, {{SPOILERS_SET, extended ? kSpoilersExtended : 0}});
}

void StaticAc::setGear(bool down) const {
    if (lf_isRotorcraft(*this)) return;
    lf_queue(objectId, {{GEAR_SET, down ? 1u : 0u}});
}

void StaticAc::setThrottle(std::int32_t index) {
    if (index == throttleIndex) return;
    if (index >= 0 && index < static_cast<std::int32_t>(kThrottleValues.size()))
        lf_queue(objectId, {{THROTTLE_SET, kThrottleValues[static_cast<std::size_t>(index)]}});
    throttleIndex = index;
}

void StaticAc::setUpParked() {
    setThrottle(0);
    gf_setFlaps(*this, 0);
    gf_shutDownEngines(objectId);
    LightSet lights;
    lights.nav = g_parameters().NAV_LIGHTS_WHILE_PARKED.current ? 1 : 0;
    lights.logo = 1;
    lights.cabin = lf_parkedCabinLights(standCargo);
    gf_setLights(objectId, lights);
}

}  // namespace mrw
