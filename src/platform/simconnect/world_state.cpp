#include "platform/simconnect/world_state.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/simconnect/name_compare.h"

namespace standin {

double gf_distanceMeters(double lat1Deg, double lon1Deg, double lat2Deg, double lon2Deg) {
    constexpr double kPi = 3.14159265358979323846;
    constexpr double kDegToRad = kPi / 180.0;
    // The sphere the program measures on (one minute of arc is one nautical mile), so that an
    // aircraft the program takes to be within its range is within the range asked for here too.
    constexpr double kEarthRadiusMeters = 10800.0 / kPi * 1852.0;
    const double lat1 = lat1Deg * kDegToRad;
    const double lat2 = lat2Deg * kDegToRad;
    const double dLat = lat2 - lat1;
    const double dLon = (lon2Deg - lon1Deg) * kDegToRad;
    const double h = std::sin(dLat / 2) * std::sin(dLat / 2) +
                     std::cos(lat1) * std::cos(lat2) * std::sin(dLon / 2) * std::sin(dLon / 2);
    return 2.0 * kEarthRadiusMeters * std::asin(std::min(1.0, std::sqrt(h)));
}

World& gf_world() {
    // Never destroyed: program threads may still call SimConnect while the process ends.
    static World* world = new World;
    return *world;
}

void World::reset(const SimWorldConfig& newConfig) {
    config = newConfig;
    if (config.frameRate == 0) config.frameRate = 1;
    simulatorRunning = false;
    flightRunning = config.flightRunning;
    groundFeet = config.groundElevationFeet;
    frames = 0;
    pendingSeconds = 0.0;
    connections.clear();
    objects.clear();
    creations.clear();
    removals.clear();
    tailNumbers.clear();
    refusedTitles.clear();
    refuseFlightPlans = false;
    route.clear();
    airports.clear();
    holdFacilities = false;
    nextFacilityRecordId = 1;
    failures.clear();
    nextObjectId = config.firstAiObjectId;

    SimObject user;
    user.id = config.userObjectId;
    user.kind = ObjectKind::User;
    user.title = "Generic Airliner";
    user.atcId = "N12345";
    user.atcModel = "A320";
    user.onGround = true;
    user.staticCgFeet = config.staticCgFeet;
    user.staticPitchRad = config.staticPitchRad;
    user.altitudeFeet = groundFeet;
    user.indicatedAltitudeFeet = groundFeet;
    objects[user.id] = user;
}

Connection* World::connectionById(DWORD id) {
    for (auto& connection : connections) {
        if (connection->id == id && connection->open) return connection.get();
    }
    return nullptr;
}

Connection* World::openConnection(HANDLE handle) {
    const auto id = reinterpret_cast<std::uintptr_t>(handle);
    return id == 0 || id > 0xFFFFFFFFu ? nullptr : connectionById(static_cast<DWORD>(id));
}

Connection* World::usable(HANDLE handle) {
    Connection* connection = openConnection(handle);
    return connection != nullptr && !connection->quit ? connection : nullptr;
}

HRESULT World::scriptedResult(const std::string& function) {
    const auto found = failures.find(function);
    if (found == failures.end() || found->second.empty()) return S_OK;
    const HRESULT result = found->second.front();
    found->second.pop_front();
    return result;
}

SimObject* World::findObject(DWORD objectId) {
    if (objectId == SIMCONNECT_OBJECT_ID_USER) objectId = config.userObjectId;
    const auto found = objects.find(objectId);
    return found == objects.end() ? nullptr : &found->second;
}

SimObject& World::userObject() {
    return objects.at(config.userObjectId);
}

double World::seconds() const {
    return static_cast<double>(frames) / config.frameRate + pendingSeconds;
}

VariableContext World::variableContext(const SimObject& object) const {
    return {groundFeetAt(object.latitudeDeg, object.longitudeDeg),
            config.zuluEpochSeconds + static_cast<std::int64_t>(std::floor(seconds()))};
}

double World::groundFeetAt(double latitudeDeg, double longitudeDeg) const {
    constexpr double kFeetPerMetre = 1.0 / 0.3048;
    double nearestNm = kAirportGroundNm;
    double ground = groundFeet;
    for (const auto& [code, airport] : airports) {
        const double nm =
            gf_distanceMeters(latitudeDeg, longitudeDeg, airport.latitudeDeg, airport.longitudeDeg) / 1852.0;
        if (nm <= nearestNm) {
            nearestNm = nm;
            ground = airport.altitudeM * kFeetPerMetre;
        }
    }
    return ground;
}

void World::settle(SimObject& object) const {
    constexpr double kContactFeet = 0.5;
    if (object.kind != ObjectKind::User) {
        const double ground = groundFeetAt(object.latitudeDeg, object.longitudeDeg);
        object.onGround = object.altitudeFeet - ground - object.staticCgFeet <= kContactFeet;
    }
}

void World::send(Connection& connection, SimRecord record) {
    if (connection.open) connection.waiting.push_back(std::move(record));
}

void World::sendException(Connection& connection, SIMCONNECT_EXCEPTION exception, DWORD sendId, DWORD index) {
    auto record = SimRecord::make<SIMCONNECT_RECV_EXCEPTION>(SIMCONNECT_RECV_ID_EXCEPTION);
    auto& data = record.as<SIMCONNECT_RECV_EXCEPTION>();
    data.dwException = exception;
    data.dwSendID = sendId;
    data.dwIndex = index;
    send(connection, std::move(record));
}

namespace {

template <class Record>
SimRecord lf_eventRecord(SIMCONNECT_RECV_ID id, DWORD eventId, DWORD data) {
    auto record = SimRecord::make<Record>(id);
    auto& event = record.template as<Record>();
    event.uGroupID = SIMCONNECT_UNUSED;
    event.uEventID = eventId;
    event.dwData = data;
    return record;
}

}  // namespace

void World::broadcastEvent(const std::string& systemEvent, DWORD data) {
    for (auto& connection : connections) {
        const auto found = connection->subscriptions.find(gf_upperName(systemEvent));
        if (connection->quit || found == connection->subscriptions.end()) continue;
        send(*connection,
             lf_eventRecord<SIMCONNECT_RECV_EVENT>(SIMCONNECT_RECV_ID_EVENT, found->second, data));
    }
}

void World::broadcastAddRemove(const std::string& systemEvent, DWORD objectId) {
    for (auto& connection : connections) {
        const auto found = connection->subscriptions.find(gf_upperName(systemEvent));
        if (connection->quit || found == connection->subscriptions.end()) continue;
        auto record = lf_eventRecord<SIMCONNECT_RECV_EVENT_OBJECT_ADDREMOVE>(
            SIMCONNECT_RECV_ID_EVENT_OBJECT_ADDREMOVE, found->second, objectId);
        record.as<SIMCONNECT_RECV_EVENT_OBJECT_ADDREMOVE>().eObjType = SIMCONNECT_SIMOBJECT_TYPE_AIRCRAFT;
        send(*connection, std::move(record));
    }
}

void World::broadcastFlightLoaded(const std::string& flightFile, bool asFilename) {
    for (auto& connection : connections) {
        const auto found = connection->subscriptions.find("FLIGHTLOADED");
        if (connection->quit || found == connection->subscriptions.end()) continue;
        if (!asFilename) {
            send(*connection,
                 lf_eventRecord<SIMCONNECT_RECV_EVENT>(SIMCONNECT_RECV_ID_EVENT, found->second, 0));
            continue;
        }
        auto record = lf_eventRecord<SIMCONNECT_RECV_EVENT_FILENAME>(SIMCONNECT_RECV_ID_EVENT_FILENAME,
                                                                     found->second, 0);
        auto& event = record.as<SIMCONNECT_RECV_EVENT_FILENAME>();
        std::strncpy(event.szFileName, flightFile.c_str(), sizeof event.szFileName - 1);
        send(*connection, std::move(record));
    }
}

DWORD World::addObject(SimObject object) {
    object.id = nextObjectId++;
    settle(object);
    const DWORD id = object.id;
    objects[id] = std::move(object);
    broadcastAddRemove("ObjectAdded", id);
    return id;
}

void World::removeObject(DWORD objectId) {
    if (objects.erase(objectId) == 0) return;
    for (auto& connection : connections) {
        std::erase_if(connection->everySecond,
                      [objectId](const DataRequest& r) { return r.objectId == objectId; });
    }
    broadcastAddRemove("ObjectRemoved", objectId);
}

}  // namespace standin
