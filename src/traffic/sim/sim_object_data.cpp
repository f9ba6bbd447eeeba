// Answers to the requests on one object: the static CG of an AI object, and the user aircraft's
// on-ground state and data.
#include <fmt/format.h>

#include "foundation/geometry.h"
#include "foundation/log.h"
#include "foundation/run_state.h"
#include "foundation/window_model.h"
#include "traffic/feed/realtraffic_link.h"
#include "traffic/model/sim_events.h"
#include "traffic/parking/stand_lookup.h"
#include "traffic/sim/sim_definitions.h"
#include "traffic/sim/sim_dispatch.h"
#include "traffic/sim/sim_dispatch_internal.h"

namespace mrw {
namespace {

constexpr double kTeleportNm = 10.0;
constexpr double kTeleportKnots = 1000.0;

// Simulator UTC of the previous answer to request 109; read only with a known g_prevUserPosition.
std::int64_t g_prevUserZulu = 0;

std::int64_t lf_floorDiv(std::int64_t a, std::int64_t b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

void lf_onStaticCg(const SIMCONNECT_RECV* pData, DWORD cbData) {
    struct StaticCgData {
        double cgFeet;
        double pitchRad;
    };
    if (!gf_recordCovers(pData, cbData, kObjectDataOffset + sizeof(StaticCgData))) return;
    const auto data = gf_objectData<StaticCgData>(pData);
    const auto* record = static_cast<const SIMCONNECT_RECV_SIMOBJECT_DATA*>(pData);
    gf_postSimEvent(SimEvent{record->dwObjectID, 0, 0, SimEventType::StaticCg, data.cgFeet, data.pitchRad});
}

void lf_onUserOnGround(const SIMCONNECT_RECV* pData, DWORD cbData) {
    if (!gf_recordCovers(pData, cbData, kObjectDataOffset + sizeof(std::int64_t))) return;
    if (gf_userPositionKnown(gf_userAcDataRecv())) {
        const auto onGround = static_cast<std::uint32_t>(gf_objectData<std::int64_t>(pData));
        g_userOnGround = onGround != 0;
        g_userDataReceived = true;
    }
    g_newSimSecond.exchange(true);
}

// A jump of more than 10 nm is a new flight, unless the simulator time between the two answers makes
// it a plausible flight (a long airports scan can hold the answers back for minutes).
bool lf_teleported(const Lalo& to, std::int64_t zulu) {
    if (!gf_userPositionKnown(g_prevUserPosition.latitude, g_prevUserPosition.longitude)) return false;
    if (!gf_userPositionKnown(to.latitude, to.longitude)) return false;
    const double distanceNm = gf_distanceNm(g_prevUserPosition, to);
    if (distanceNm <= kTeleportNm) return false;
    const std::int64_t seconds = zulu - g_prevUserZulu;
    if (seconds <= 0) return true;
    return distanceNm * 3600.0 / static_cast<double>(seconds) > kTeleportKnots;
}

void lf_showUserStand(const Lalo& position) {
    const std::string name = gf_standNameAt(position);
    if (name != g_userStandShown) {
        g_mainWindow().userStandText.set(name);
        gf_invalidateStatusBand();
    }
    g_userStandShown = name;
}

void lf_onUserAircraft(const SIMCONNECT_RECV* pData, DWORD cbData) {
    if (!gf_recordCovers(pData, cbData, kObjectDataOffset + sizeof(UserAcData))) return;
    UserAcData data = gf_objectData<UserAcData>(pData);
    if (data.altitudeFt < 0.0) data.altitudeFt = 0.0;
    gf_setUserAcDataRecv(data);
    const Lalo position{data.latitude, data.longitude};
    const std::int64_t zulu = gf_zuluEpochSeconds(data);
    if (lf_teleported(position, zulu)) {
        gf_logLine("Teleport");
        gf_stopWithReason(ExitReason::NewFlight, 0);
    }
    g_prevUserPosition = position;
    g_prevUserZulu = zulu;
    lf_showUserStand(position);
    if (g_rtProfessional.load()) g_simTimeEpoch.exchange(zulu);
    g_userObjectId = static_cast<const SIMCONNECT_RECV_SIMOBJECT_DATA*>(pData)->dwObjectID;
}

}  // namespace

std::int64_t gf_zuluEpochSeconds(const UserAcData& data) {
    const std::int64_t y = static_cast<std::int16_t>(data.zuluYear) - 1;
    const std::int64_t days =
        data.zuluDayOfYear + 365 * y + lf_floorDiv(y, 4) - lf_floorDiv(y, 100) + lf_floorDiv(y, 400) - 719163;
    return days * 86400 + data.zuluTime;
}

void gf_onSimObjectData(const SIMCONNECT_RECV* pData, DWORD cbData) {
    if (!gf_recordCovers(pData, cbData, kObjectDataOffset)) return;
    switch (static_cast<const SIMCONNECT_RECV_SIMOBJECT_DATA*>(pData)->dwRequestID) {
        case gf_simId(SimConnectRequestId::ObjectsInRange):  // one object asked for by its id
            gf_onObjectsInRange(pData, cbData);
            break;
        case gf_simId(SimConnectRequestId::StaticCg):
            lf_onStaticCg(pData, cbData);
            break;
        case gf_simId(SimConnectRequestId::UserTitle):
            gf_onUserTitle(pData, cbData);
            break;
        case gf_simId(SimConnectRequestId::UserModel):
            gf_onUserModel(pData, cbData);
            break;
        case gf_simId(SimConnectRequestId::UserOnGround):
            lf_onUserOnGround(pData, cbData);
            break;
        case gf_simId(SimConnectRequestId::UserAircraft):
            lf_onUserAircraft(pData, cbData);
            break;
        default:
            break;
    }
}

}  // namespace mrw
