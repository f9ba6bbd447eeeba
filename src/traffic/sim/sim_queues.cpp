#include "traffic/model/sim_queues.h"

#include <fmt/format.h>

#include "foundation/log.h"
#include "foundation/message_line.h"
#include "foundation/text_helpers.h"
#include "foundation/thread_safety.h"
#include "foundation/time_texts.h"
#include "traffic/sim/sim_client.h"
#include "traffic/sim/sim_definitions.h"
#include "traffic/sim/sim_dispatch.h"
#include "traffic/sim/sim_requests.h"

namespace mrw {
namespace {

constexpr std::size_t kReservedRequests = 256;

void lf_emptyQueues() REQUIRES(g_simConnectMutex) {
    g_positionUpdatesOut->clear();
    g_clientEvents.clear();
    g_createRequests.clear();
    g_removeRequests.clear();
}

// Objects not above the user aircraft (the user aircraft itself among them, and id 0) are never
// moved nor commanded: client events to them are left out too, so no client event ever moves the
// user aircraft.
bool lf_isAiObject(std::uint32_t objectId) {
    return objectId > g_userObjectId.load();
}

void lf_sendPositionUpdates(HANDLE handle) REQUIRES(g_simConnectMutex) {
    for (PositionUpdate& update : *g_positionUpdatesOut) {
        if (!lf_isAiObject(update.objectId)) continue;
        SimConnect_SetDataOnSimObject(handle, AiPosition, update.objectId, SIMCONNECT_DATA_SET_FLAG_DEFAULT,
                                      0, sizeof(SimPosition), &update.position);
    }
    g_positionUpdatesOut->clear();
}

void lf_releaseControl(HANDLE handle, std::uint32_t objectId) {
    SimConnect_AIReleaseControl(handle, objectId, gf_simId(SimConnectRequestId::ReleaseControl));
}

// FLAPS_SET goes between two releases of AI control, so the AI pilot cannot take the flaps back.
void lf_sendClientEvents(HANDLE handle) REQUIRES(g_simConnectMutex) {
    for (const ClientEventRequest& event : g_clientEvents) {
        if (!lf_isAiObject(event.objectId)) continue;
        const bool flaps = event.eventId == FLAPS_SET;
        if (flaps) lf_releaseControl(handle, event.objectId);
        const HRESULT result = SimConnect_TransmitClientEvent(
            handle, event.objectId, event.eventId, event.data, AiCommands, SIMCONNECT_EVENT_FLAG_DEFAULT);
        if (FAILED(result)) {
            gf_setMessage(fmt::format("SimConnect TransmitClientEvent: {} fails", event.eventId), true);
            continue;
        }
        if (flaps) lf_releaseControl(handle, event.objectId);
    }
    g_clientEvents.clear();
}

}  // namespace

void CreateRequest::queue() const {
    MutexLock lock(g_simConnectMutex);
    g_createRequests.push_back(*this);
}

void gf_resetSimQueues() {
    {
        MutexLock lock(g_simConnectMutex);
        for (std::vector<PositionUpdate>& buffer : g_positionUpdateBuffers)
            buffer.reserve(kReservedRequests);
        g_createRequests.reserve(kReservedRequests);
        g_removeRequests.reserve(kReservedRequests);
    }
    g_pendingCreates.reserve(kReservedRequests);
    g_justAddedObjects.reserve(kReservedRequests);
    g_simConnectError.exchange(false);
}

void SimQueues::renew() {
    *this = SimQueues{};
    positionUpdatesIn = &positionUpdateBuffers[0];
    positionUpdatesOut = &positionUpdateBuffers[1];
}

void gf_flushSimRequests() {
    if (!g_simConnectMutex.try_lock()) return;
    MutexLock lock(g_simConnectMutex, std::adopt_lock);
    if (g_simConnectError.load()) {
        lf_emptyQueues();
        return;
    }
    const HANDLE handle = g_simConnect.load();
    lf_sendPositionUpdates(handle);
    lf_sendClientEvents(handle);
    for (const CreateRequest& request : g_createRequests)
        gf_createAiAircraft(request);
    g_createRequests.clear();
    for (const std::uint32_t objectId : g_removeRequests)
        gf_removeAiObject(objectId);
    g_removeRequests.clear();
}

void gf_createAiAircraft(const CreateRequest& request) {
    const HANDLE handle = g_simConnect.load();
    const HRESULT result =
        SimConnect_AICreateNonATCAircraft(handle, request.title.c_str(), request.callsign.c_str(),
                                          request.initPosition, gf_simId(SimConnectRequestId::CreateAi));
    if (FAILED(result)) {
        gf_logError(
            fmt::format("! Simcon call to create ac in sim failed, hexid:{}, liv: '{}', callsign: {})",
                        request.hexid, request.title, request.callsign));
        gf_simRequestError();
        return;
    }
    DWORD sendId = 0;
    if (FAILED(SimConnect_GetLastSentPacketID(handle, &sendId))) gf_logError("GetLastSentPacketID");
    g_pendingCreates.push_back(PendingCreate{sendId, request.hexid, request.callsign, gf_steadyNow()});
}

void gf_removeAiObject(std::uint32_t objectId) {
    if (!lf_isAiObject(objectId)) {
        gf_logError(fmt::format("SimConnect call to remove ac with objectid {}", gf_idText(objectId)));
        return;
    }
    if (FAILED(SimConnect_AIRemoveObject(g_simConnect.load(), objectId,
                                         gf_simId(SimConnectRequestId::RemoveAi)))) {
        gf_logError(fmt::format("{} !SimConnect call to remove AI ac from sim failed, id {}?",
                                gf_utcTimeOfDay(), gf_idText(objectId)));
        gf_simRequestError();
    }
}

}  // namespace mrw
