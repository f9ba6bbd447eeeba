#include "traffic/sim/creation_recognition.h"

#include <fmt/format.h>

#include "foundation/log.h"
#include "foundation/text_helpers.h"
#include "foundation/thread_safety.h"
#include "traffic/model/sim_events.h"
#include "traffic/model/sim_queues.h"
#include "traffic/sim/sim_client.h"
#include "traffic/sim/sim_definitions.h"
#include "traffic/sim/sim_dispatch.h"
#include "traffic/sim/sim_dispatch_internal.h"
#include "traffic/sim/sim_requests.h"

namespace mrw {
namespace {

// A tail number may show only some time after the creation: waiting objects are asked again.
constexpr std::chrono::seconds kAskAgainTime{1};

SteadyTime g_lastAsked{};

bool lf_creationsToFollow() {
    return !g_pendingCreates.empty() || !g_givenUpCreations.empty();
}

void lf_giveUp(const PendingCreate& creation, SteadyTime now) {
    gf_logLine(
        fmt::format("{} not recognised within {} s: given up", creation.callsign, kRecognitionTime.count()));
    g_givenUpCreations.push_back({creation.callsign, now});
    if (creation.hexid != 0)
        gf_postSimEvent(SimEvent{0, creation.hexid, 0, SimEventType::CreateFailed, 0.0, 0.0});
}

}  // namespace

void gf_askForCreatedObject(std::uint32_t objectId) {
    if (!lf_creationsToFollow() || g_simConnectError.load()) return;
    MutexLock lock(g_simConnectMutex);
    gf_checkSimRequest(
        SimConnect_RequestDataOnSimObject(g_simConnect.load(), gf_simId(SimConnectRequestId::ObjectsInRange),
                                          ObjectInRange, objectId, SIMCONNECT_PERIOD_ONCE),
        "SimConnect request ac data fails");
}

void gf_followCreations() {
    if (!lf_creationsToFollow()) return;
    const SteadyTime now = gf_steadyNow();
    std::erase_if(g_givenUpCreations,
                  [now](const GivenUpCreation& given) { return now - given.at >= kRecognitionTime; });
    std::vector<PendingCreate> givenUp;
    std::erase_if(g_pendingCreates, [&](PendingCreate& pending) {
        if (now - pending.sentAt < kRecognitionTime) return false;
        givenUp.push_back(std::move(pending));
        return true;
    });
    for (const PendingCreate& creation : givenUp)
        lf_giveUp(creation, now);
    if (givenUp.empty() && now - g_lastAsked < kAskAgainTime) return;
    g_lastAsked = now;
    for (const std::uint32_t objectId : g_justAddedObjects)
        gf_askForCreatedObject(objectId);
}

bool gf_removeIfGivenUp(std::uint32_t objectId, const std::string& atcId) {
    const auto givenUp = gf_takeFirst(
        g_givenUpCreations, [&atcId](const GivenUpCreation& given) { return given.callsign == atcId; });
    if (!givenUp) return false;
    gf_logLine(fmt::format("{} shown after it was given up, oid: {}: removed", atcId, gf_idText(objectId)));
    MutexLock lock(g_simConnectMutex);
    gf_removeAiObject(objectId);
    return true;
}

}  // namespace mrw
