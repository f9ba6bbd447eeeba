// The scripting and observation API of the simulated simulator.
#include "platform/simconnect/sim_world.h"

#include <cmath>

#include "platform/simconnect/name_compare.h"
#include "platform/simconnect/world_state.h"

namespace standin {
namespace {

// Runs a change under the world's lock.
template <class Change>
auto lf_locked(Change change) {
    World& world = gf_world();
    std::lock_guard lock(world.mutex);
    return change(world);
}

}  // namespace

void resetWorld(const SimWorldConfig& config) {
    stopFreeRunning();
    lf_locked([&](World& w) { w.reset(config); });
}

void startSimulator() {
    lf_locked([](World& w) { w.simulatorRunning = true; });
}

void quitSimulator() {
    lf_locked([](World& w) {
        w.simulatorRunning = false;
        for (auto& connection : w.connections) {
            if (!connection->open || connection->quit) continue;
            w.send(*connection, SimRecord::make<SIMCONNECT_RECV_QUIT>(SIMCONNECT_RECV_ID_QUIT));
            connection->quit = true;
        }
    });
}

void setFlightRunning(bool running) {
    lf_locked([&](World& w) {
        w.flightRunning = running;
        w.broadcastEvent("Sim", running ? 1 : 0);
    });
}

void loadFlight(const std::string& flightFile, bool asFilename) {
    lf_locked([&](World& w) { w.broadcastFlightLoaded(flightFile, asFilename); });
}

void setGroundElevation(double feet) {
    lf_locked([&](World& w) {
        w.groundFeet = feet;
        for (auto& [id, object] : w.objects)
            w.settle(object);
    });
}

void modifyUser(const std::function<void(SimObject&)>& change) {
    lf_locked([&](World& w) {
        SimObject& user = w.userObject();
        change(user);
        user.id = w.config.userObjectId;
        user.kind = ObjectKind::User;
    });
}

void setUserRoute(std::vector<RoutePoint> route) {
    lf_locked([&](World& w) { w.route = std::move(route); });
}

DWORD addForeignObject(SimObject object) {
    return lf_locked([&](World& w) {
        object.kind = ObjectKind::Foreign;
        return w.addObject(std::move(object));
    });
}

void removeObjectNow(DWORD objectId) {
    lf_locked([&](World& w) {
        if (objectId != w.config.userObjectId) w.removeObject(objectId);
    });
}

void refuseTitle(const std::string& title) {
    lf_locked([&](World& w) { w.refusedTitles.insert(title); });
}

void refuseFlightPlans(bool refuse) {
    lf_locked([&](World& w) { w.refuseFlightPlans = refuse; });
}

SimObject user() {
    return lf_locked([](World& w) { return w.userObject(); });
}

std::optional<SimObject> object(DWORD objectId) {
    return lf_locked([&](World& w) -> std::optional<SimObject> {
        const SimObject* found = w.findObject(objectId);
        return found != nullptr ? std::optional(*found) : std::nullopt;
    });
}

std::vector<SimObject> objects() {
    return lf_locked([](World& w) {
        std::vector<SimObject> all;
        for (const auto& [id, object] : w.objects)
            all.push_back(object);
        return all;
    });
}

void addAirport(FacilityAirport airport) {
    lf_locked([&](World& w) { w.airports[gf_upperName(airport.icao)] = std::move(airport); });
}

void holdFacilityAnswers(bool hold) {
    lf_locked([&](World& w) { w.holdFacilities = hold; });
}

void failNext(std::string_view function, HRESULT hr, int times) {
    lf_locked([&](World& w) {
        auto& results = w.failures[std::string(function)];
        for (int i = 0; i < times; ++i)
            results.push_back(hr);
    });
}

bool injectRecord(std::string_view clientName, const void* record, std::size_t size) {
    if (record == nullptr || size < sizeof(SIMCONNECT_RECV)) return false;
    return lf_locked([&](World& w) {
        for (auto it = w.connections.rbegin(); it != w.connections.rend(); ++it) {
            Connection& connection = **it;
            if (connection.name != clientName || !connection.open) continue;
            w.send(connection, SimRecord::copyOf(record, size));
            return true;
        }
        return false;
    });
}

std::vector<JournalEntry> journal(std::string_view clientName) {
    return lf_locked([&](World& w) {
        for (auto it = w.connections.rbegin(); it != w.connections.rend(); ++it) {
            if ((*it)->name == clientName)
                return std::vector<JournalEntry>((*it)->journal.begin(), (*it)->journal.end());
        }
        return std::vector<JournalEntry>{};
    });
}

std::uint64_t dispatchCount(std::string_view clientName) {
    return lf_locked([&](World& w) {
        for (auto it = w.connections.rbegin(); it != w.connections.rend(); ++it) {
            if ((*it)->name == clientName) return (*it)->dispatchCount;
        }
        return std::uint64_t{0};
    });
}

std::size_t openConnectionCount() {
    return lf_locked([](World& w) {
        std::size_t count = 0;
        for (const auto& connection : w.connections)
            count += connection->open ? 1 : 0;
        return count;
    });
}

}  // namespace standin
