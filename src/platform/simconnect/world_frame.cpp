// One simulator frame of the world: frame events, due creations and removals, answers.
#include <cmath>
#include <cstring>

#include "platform/simconnect/facility_records.h"
#include "platform/simconnect/name_compare.h"
#include "platform/simconnect/world_state.h"

namespace standin {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDegToRad = kPi / 180.0;

double lf_distanceMeters(const SimObject& a, const SimObject& b) {
    return gf_distanceMeters(a.latitudeDeg, a.longitudeDeg, b.latitudeDeg, b.longitudeDeg);
}

double lf_between(double from, double to, double fraction) {
    return from + (to - from) * fraction;
}

}  // namespace

void World::runFrame() {
    ++frames;
    followRoute();
    for (auto& connection : connections) {
        const auto found = connection->subscriptions.find("FRAME");
        if (!connection->open || connection->quit || found == connection->subscriptions.end()) continue;
        auto record = SimRecord::make<SIMCONNECT_RECV_EVENT_FRAME>(SIMCONNECT_RECV_ID_EVENT_FRAME);
        auto& frame = record.as<SIMCONNECT_RECV_EVENT_FRAME>();
        frame.uGroupID = SIMCONNECT_UNUSED;
        frame.uEventID = found->second;
        frame.fFrameRate = static_cast<float>(config.frameRate);
        frame.fSimSpeed = 1.0f;
        send(*connection, std::move(record));
    }
    completeCreations();
    showTailNumbers();
    completeRemovals();
    const bool wholeSecond = frames % config.frameRate == 0;
    for (auto& connection : connections) {
        if (!connection->open || connection->quit) continue;
        answerOnce(*connection);
        answerByType(*connection);
        answerFacilities(*connection);
        if (wholeSecond) answerEverySecond(*connection);
    }
}

void World::followRoute() {
    if (route.empty()) return;
    const double now = static_cast<double>(frames) / config.frameRate;
    std::size_t next = 0;
    while (next < route.size() && route[next].atSeconds <= now)
        ++next;
    SimObject& user = userObject();
    const RoutePoint& from = route[next == 0 ? 0 : next - 1];
    const RoutePoint& to = next < route.size() ? route[next] : from;
    const double span = to.atSeconds - from.atSeconds;
    const double fraction = span > 0.0 ? std::clamp((now - from.atSeconds) / span, 0.0, 1.0) : 0.0;
    user.latitudeDeg = lf_between(from.latitudeDeg, to.latitudeDeg, fraction);
    user.longitudeDeg = lf_between(from.longitudeDeg, to.longitudeDeg, fraction);
    user.altitudeFeet = lf_between(from.altitudeFeet, to.altitudeFeet, fraction);
    user.indicatedAltitudeFeet = user.altitudeFeet;
    user.groundSpeedKnots = lf_between(from.groundSpeedKnots, to.groundSpeedKnots, fraction);
    user.headingRad = from.headingRad;
    user.onGround = from.onGround;
}

void World::completeCreations() {
    std::vector<PendingCreation> due;
    std::erase_if(creations, [&](PendingCreation& creation) {
        if (creation.dueFrame > frames) return false;
        due.push_back(std::move(creation));
        return true;
    });
    for (const PendingCreation& creation : due) {
        Connection* creator = connectionById(creation.connectionId);
        if (creation.title.empty() || refusedTitles.contains(creation.title)) {
            if (creator != nullptr)
                sendException(*creator, SIMCONNECT_EXCEPTION_CREATE_OBJECT_FAILED, creation.sendId, 1);
            continue;
        }
        if (objects.size() - 1 >= config.objectLimit) {
            if (creator != nullptr)
                sendException(*creator, SIMCONNECT_EXCEPTION_TOO_MANY_OBJECTS, creation.sendId, 0);
            continue;
        }
        SimObject object;
        object.kind = ObjectKind::Ai;
        object.title = creation.title;
        const DWORD latency = config.tailNumberLatencyFrames;
        if (latency == 0) object.atcId = creation.tailNumber;
        object.staticCgFeet = config.staticCgFeet;
        object.staticPitchRad = config.staticPitchRad;
        const SIMCONNECT_DATA_INITPOSITION& p = creation.position;
        object.latitudeDeg = p.Latitude;
        object.longitudeDeg = p.Longitude;
        object.altitudeFeet =
            p.OnGround != 0 ? groundFeetAt(p.Latitude, p.Longitude) + object.staticCgFeet : p.Altitude;
        object.indicatedAltitudeFeet = object.altitudeFeet;
        object.pitchRad = p.Pitch * kDegToRad;
        object.bankRad = p.Bank * kDegToRad;
        object.headingRad = p.Heading * kDegToRad;
        object.trueAirspeedKnots = p.Airspeed;
        object.groundSpeedKnots = p.Airspeed;
        const DWORD id = addObject(std::move(object));
        if (latency > 0) tailNumbers.push_back({id, creation.tailNumber, frames + latency});
    }
}

void World::showTailNumbers() {
    std::erase_if(tailNumbers, [this](const PendingTailNumber& pending) {
        if (pending.dueFrame > frames) return false;
        if (SimObject* object = findObject(pending.objectId)) object->atcId = pending.tailNumber;
        return true;
    });
}

void World::completeRemovals() {
    std::vector<PendingRemoval> due;
    std::erase_if(removals, [&](const PendingRemoval& removal) {
        if (removal.dueFrame > frames) return false;
        due.push_back(removal);
        return true;
    });
    for (const PendingRemoval& removal : due) {
        if (objects.contains(removal.objectId)) {
            removeObject(removal.objectId);
        } else if (Connection* remover = connectionById(removal.connectionId)) {
            sendException(*remover, SIMCONNECT_EXCEPTION_UNRECOGNIZED_ID, removal.sendId, 1);  // already gone
        }
    }
}

SimRecord World::objectData(SIMCONNECT_RECV_ID id, const DataRequest& request,
                            const std::vector<Datum>& definition, const SimObject& object, DWORD entry,
                            DWORD outOf) {
    std::vector<std::byte> data;
    gf_appendData(data, definition, object, variableContext(object));
    constexpr std::size_t kDataOffset = sizeof(SIMCONNECT_RECV_SIMOBJECT_DATA) - sizeof(DWORD);  // at dwData
    auto record = SimRecord::make<SIMCONNECT_RECV_SIMOBJECT_DATA>(id, kDataOffset + data.size());
    auto& header = record.as<SIMCONNECT_RECV_SIMOBJECT_DATA>();
    header.dwRequestID = request.requestId;
    header.dwObjectID = object.id;
    header.dwDefineID = request.defineId;
    header.dwFlags = 0;
    header.dwentrynumber = entry;
    header.dwoutof = outOf;
    header.dwDefineCount = static_cast<DWORD>(definition.size());
    std::memcpy(record.bytes() + kDataOffset, data.data(), data.size());
    return record;
}

void World::answerOnce(Connection& connection) {
    std::vector<DataRequest> requests;
    requests.swap(connection.once);
    for (const DataRequest& request : requests) {
        const auto definition = connection.definitions.find(request.defineId);
        const SimObject* object = findObject(request.objectId);
        if (object == nullptr || definition == connection.definitions.end()) {
            sendException(connection, SIMCONNECT_EXCEPTION_UNRECOGNIZED_ID, request.sendId, 3);
            continue;
        }
        send(connection,
             objectData(SIMCONNECT_RECV_ID_SIMOBJECT_DATA, request, definition->second, *object, 1, 1));
    }
}

void World::answerEverySecond(Connection& connection) {
    for (const DataRequest& request : connection.everySecond) {
        const auto definition = connection.definitions.find(request.defineId);
        const SimObject* object = findObject(request.objectId);
        if (object == nullptr || definition == connection.definitions.end()) continue;
        send(connection,
             objectData(SIMCONNECT_RECV_ID_SIMOBJECT_DATA, request, definition->second, *object, 1, 1));
    }
}

void World::answerByType(Connection& connection) {
    std::vector<TypeRequest> requests;
    requests.swap(connection.byType);
    const SimObject& user = userObject();
    for (const TypeRequest& request : requests) {
        const auto definition = connection.definitions.find(request.defineId);
        if (definition == connection.definitions.end()) continue;
        std::vector<const SimObject*> inRange;
        for (const auto& [id, object] : objects) {
            const bool wanted = request.userOnly ? object.kind == ObjectKind::User
                                                 : lf_distanceMeters(user, object) <= request.radiusMeters;
            if (wanted) inRange.push_back(&object);
        }
        const DataRequest answer{request.requestId, request.defineId, 0, 0};
        for (std::size_t i = 0; i < inRange.size(); ++i) {
            send(connection,
                 objectData(SIMCONNECT_RECV_ID_SIMOBJECT_DATA_BYTYPE, answer, definition->second, *inRange[i],
                            static_cast<DWORD>(i + 1), static_cast<DWORD>(inRange.size())));
        }
    }
}

void World::answerFacilities(Connection& connection) {
    if (holdFacilities) return;
    std::vector<FacilityRequest> requests;
    requests.swap(connection.facilityRequests);
    for (const FacilityRequest& request : requests) {
        const auto airport = airports.find(gf_upperName(request.icao));
        const auto definition = connection.facilityDefinitions.find(request.defineId);
        if (airport == airports.end() || definition == connection.facilityDefinitions.end()) {
            sendException(connection, SIMCONNECT_EXCEPTION_ERROR, request.sendId, 3);
            continue;
        }
        for (SimRecord& record : gf_facilityAnswer(definition->second, airport->second, request.requestId,
                                                   nextFacilityRecordId)) {
            send(connection, std::move(record));
        }
    }
}

}  // namespace standin
