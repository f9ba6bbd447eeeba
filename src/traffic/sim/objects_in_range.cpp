// The aircraft within the range radius (request 101, and its answers for one object asked by id):
// recognition of the objects the program created, and the other aircraft near the ground reported
// to the engine.
#include <fmt/format.h>

#include <algorithm>
#include <cstddef>

#include "foundation/log.h"
#include "foundation/text_helpers.h"
#include "foundation/thread_safety.h"
#include "traffic/model/sim_events.h"
#include "traffic/model/sim_queues.h"
#include "traffic/sim/creation_recognition.h"
#include "traffic/sim/sim_client.h"
#include "traffic/sim/sim_definitions.h"
#include "traffic/sim/sim_dispatch.h"
#include "traffic/sim/sim_dispatch_internal.h"

namespace mrw {
namespace {

constexpr double kReportedHeightFt = 2500.0;
constexpr int kHighestStaticNumber = 10000;

// The object is ours: the engine moves it, so the AI lets go of it and it is frozen in place.
void lf_takeOver(std::uint32_t objectId, int hexid, double altitudeAboveGround) {
    {
        MutexLock lock(g_simConnectMutex);
        SimConnect_AIReleaseControl(g_simConnect.load(), objectId,
                                    gf_simId(SimConnectRequestId::ReleaseControl));
        for (const SimConnectEventId freeze :
             {FREEZE_LATITUDE_LONGITUDE_SET, FREEZE_ALTITUDE_SET, FREEZE_ATTITUDE_SET})
            g_clientEvents.push_back(ClientEventRequest{objectId, freeze, 1});
    }
    if (hexid > kHighestStaticNumber)
        gf_postSimEvent(SimEvent{objectId, hexid, 0, SimEventType::LiveCreated, 0.0, altitudeAboveGround});
    else
        gf_postSimEvent(SimEvent{objectId, hexid, 0, SimEventType::StaticCreated, 0.0, 0.0});
}

void lf_logForeign(std::uint32_t objectId, const std::string& atcId, const ObjectInRangeData& data) {
    if (atcId == "AS-GEN") {
        if (g_asGenLogged) return;
        g_asGenLogged = true;
        gf_logError(
            fmt::format("\nSpawned by Asobo, oid: {}, callsign AS-GEN, altaboveGnd:{:.0f} ft, onground:{}, "
                        "gnd_alt:{:.0f} ft\nThis message will be logged only once...\n",
                        gf_idText(objectId), data.altitudeAboveGround, data.onGround, data.groundAltitude));
        return;
    }
    gf_logLine(fmt::format(
        "just spawned, but not by {}, oid: {}, callsign '{}', altaboveGnd:{:.0f} ft, onground:{}, "
        "gnd_alt:{:.0f} ft",
        "Merrowvale", gf_idText(objectId), atcId, data.altitudeAboveGround, data.onGround,
        data.groundAltitude));
}

// An object just announced by ObjectAdded. It stays announced until it shows an ATC ID: a
// creation's tail number may not be set yet in its first in-range data.
void lf_onJustAdded(std::uint32_t objectId, const std::string& atcId, const ObjectInRangeData& data) {
    if (atcId.empty()) return;
    gf_takeFirst(g_justAddedObjects, [objectId](std::uint32_t added) { return added == objectId; });
    const auto pending =
        gf_takeFirst(g_pendingCreates, [&atcId](const PendingCreate& p) { return p.callsign == atcId; });
    if (pending && pending->hexid != 0)
        lf_takeOver(objectId, pending->hexid, data.altitudeAboveGround);
    else if (!gf_removeIfGivenUp(objectId, atcId))
        lf_logForeign(objectId, atcId, data);
}

}  // namespace

void gf_onObjectsInRange(const SIMCONNECT_RECV* pData, DWORD cbData) {
    if (!gf_recordCovers(pData, cbData, kObjectDataOffset + sizeof(ObjectInRangeData))) return;
    const auto* record = static_cast<const SIMCONNECT_RECV_SIMOBJECT_DATA*>(pData);
    if (record->dwRequestID != gf_simId(SimConnectRequestId::ObjectsInRange)) return;
    const std::uint32_t objectId = record->dwObjectID;
    if (objectId <= g_userObjectId.load()) return;
    const auto data = gf_objectData<ObjectInRangeData>(pData);
    const std::string atcId = gf_recordText(
        pData, cbData, kObjectDataOffset + offsetof(ObjectInRangeData, atcId), sizeof data.atcId);
    if (std::find(g_justAddedObjects.begin(), g_justAddedObjects.end(), objectId) !=
        g_justAddedObjects.end()) {
        lf_onJustAdded(objectId, atcId, data);
        return;
    }
    if (data.altitudeAboveGround > kReportedHeightFt || atcId.empty() || atcId.ends_with('*')) return;
    gf_postSimEvent(SimEvent{objectId, static_cast<std::int32_t>(data.onGround), 0, SimEventType::InRange,
                             data.groundAltitude, data.altitudeAboveGround});
}

}  // namespace mrw
