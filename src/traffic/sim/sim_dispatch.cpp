#include "traffic/sim/sim_dispatch.h"

#include <fmt/format.h>

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <iterator>

#include "foundation/log.h"
#include "foundation/message_line.h"
#include "foundation/run_state.h"
#include "foundation/simulator_choice.h"
#include "foundation/user_error_exception.h"
#include "foundation/window_model.h"
#include "traffic/model/sim_events.h"
#include "traffic/model/sim_queues.h"
#include "traffic/sim/creation_recognition.h"
#include "traffic/sim/sim_client.h"
#include "traffic/sim/sim_definitions.h"
#include "traffic/sim/sim_dispatch_internal.h"
#include "traffic/sim/sim_requests.h"

namespace mrw {
namespace {

void lf_onSimState(bool running) {
    g_simRunning.exchange(running);
    g_mainWindow().simRunning = running;
    gf_invalidateStatusBand();
}

// A new flight ends the run; before the user aircraft's data has come, it is the first flight being
// loaded and only logged.
void lf_onNewFlight() {
    if (!g_userDataReceived.load()) return;
    gf_reserveUserStand();
    gf_stopWithReason(ExitReason::NewFlight, 0);
}

void lf_onEvent(const SIMCONNECT_RECV* pData, DWORD cbData) {
    if (!gf_recordCovers(pData, cbData, sizeof(SIMCONNECT_RECV_EVENT))) return;
    const auto* event = static_cast<const SIMCONNECT_RECV_EVENT*>(pData);
    if (event->uEventID == Sim) {
        lf_onSimState(event->dwData == 1);
    } else if (event->uEventID == FlightLoaded) {
        gf_logLine("SimConnect: flight loaded event");
        lf_onNewFlight();
    }
}

void lf_onObjectAddRemove(const SIMCONNECT_RECV* pData, DWORD cbData) {
    if (!gf_recordCovers(pData, cbData, sizeof(SIMCONNECT_RECV_EVENT_OBJECT_ADDREMOVE))) return;
    const auto* event = static_cast<const SIMCONNECT_RECV_EVENT_OBJECT_ADDREMOVE*>(pData);
    if (event->eObjType != SIMCONNECT_SIMOBJECT_TYPE_AIRCRAFT) return;
    if (event->uEventID == ObjectAdded) {
        if (event->dwData > g_userObjectId.load()) {
            g_justAddedObjects.push_back(event->dwData);
            gf_askForCreatedObject(event->dwData);
        }
    } else if (event->uEventID == ObjectRemoved) {
        gf_takeFirst(g_justAddedObjects, [id = event->dwData](std::uint32_t added) { return added == id; });
        gf_postSimEvent(SimEvent{event->dwData, 0, 0, SimEventType::Removed, 0.0, 0.0});
    }
}

void lf_onFlightFile(const SIMCONNECT_RECV*, DWORD) {
    gf_logError("SimConnect: New file event");
    lf_onNewFlight();
}

bool lf_isNameCharacter(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u < 0x80 && (std::isalnum(u) != 0 || std::isspace(u) != 0);
}

// The simulator's name for the window; throws when it is not the chosen simulator.
std::string lf_simulatorName(const std::string& filtered) {
    const bool msfs2020 = g_msfs2020.load();
    if (filtered == "KittyHawk") {
        if (!msfs2020) throw UserErrorException(2024, "");
        return "MSFS 2020";
    }
    if (filtered == "SunRise") {
        if (msfs2020) throw UserErrorException(2024, "");
        return "MSFS 2024";
    }
    throw UserErrorException(77,
                             fmt::format("'{}' not being MSFS 2020 or MSFS 2024 connects ... ?", filtered));
}

// Exception 22: the creation with that send id failed.
void lf_onCreateFailed(DWORD sendId) {
    const auto failed =
        gf_takeFirst(g_pendingCreates, [sendId](const PendingCreate& p) { return p.sendId == sendId; });
    if (failed && failed->hexid != 0)
        gf_postSimEvent(SimEvent{0, failed->hexid, 0, SimEventType::CreateFailed, 0.0, 0.0});
}

}  // namespace

bool gf_recordCovers(const SIMCONNECT_RECV* pData, DWORD cbData, std::size_t size) {
    if (cbData >= size) return true;
    const DWORD id = cbData >= sizeof(SIMCONNECT_RECV) ? pData->dwID : 0;
    gf_logLine(fmt::format("! Short SimConnect record, dwID {}, {} bytes", id, cbData));
    return false;
}

std::string gf_recordText(const SIMCONNECT_RECV* pData, DWORD cbData, std::size_t offset,
                          std::size_t maxBytes) {
    if (cbData <= offset) return {};
    const char* text = reinterpret_cast<const char*>(pData) + offset;
    const std::size_t limit = std::min<std::size_t>(maxBytes, cbData - offset);
    return std::string(text, std::find(text, text + limit, '\0'));
}

void MRW_SIMCONNECT_CALL gf_onSimDispatch(SIMCONNECT_RECV* pData, DWORD cbData, void*) {
    if (pData == nullptr) return;
    if (!gf_recordCovers(pData, cbData, sizeof(SIMCONNECT_RECV))) return;
    switch (pData->dwID) {
        case SIMCONNECT_RECV_ID_EXCEPTION:
            gf_onSimException(pData, cbData);
            break;
        case SIMCONNECT_RECV_ID_OPEN:
            gf_onSimOpen(pData, cbData);
            break;
        case SIMCONNECT_RECV_ID_QUIT:
            lf_onSimState(false);
            break;
        case SIMCONNECT_RECV_ID_EVENT:
            lf_onEvent(pData, cbData);
            break;
        case SIMCONNECT_RECV_ID_EVENT_OBJECT_ADDREMOVE:
            lf_onObjectAddRemove(pData, cbData);
            break;
        case SIMCONNECT_RECV_ID_EVENT_FILENAME:
            lf_onFlightFile(pData, cbData);
            break;
        case SIMCONNECT_RECV_ID_EVENT_FRAME:
            gf_flushSimRequests();
            gf_followCreations();
            break;
        case SIMCONNECT_RECV_ID_SIMOBJECT_DATA:
            gf_onSimObjectData(pData, cbData);
            break;
        case SIMCONNECT_RECV_ID_SIMOBJECT_DATA_BYTYPE:
            gf_onObjectsInRange(pData, cbData);
            break;
        case SIMCONNECT_RECV_ID_ASSIGNED_OBJECT_ID:
        case SIMCONNECT_RECV_ID_CLIENT_DATA:
        case 27:
            break;
        default:
            gf_logLine(fmt::format("! Unknown Dispatch dwID {}", pData->dwID));
            break;
    }
}

void gf_onSimOpen(const SIMCONNECT_RECV* pData, DWORD cbData) {
    if (!gf_recordCovers(pData, cbData, sizeof(SIMCONNECT_RECV_OPEN))) return;
    const auto* open = static_cast<const SIMCONNECT_RECV_OPEN*>(pData);
    const std::string applicationName =
        gf_recordText(pData, cbData, sizeof(SIMCONNECT_RECV), sizeof open->szApplicationName);
    if (applicationName.empty()) {
        gf_logLine("! Simulator name empty?");
        return;
    }
    MainWindow& window = g_mainWindow();
    window.simConnected = true;
    gf_invalidateStatusBand();
    std::string filtered;
    std::copy_if(applicationName.begin(), applicationName.end(), std::back_inserter(filtered),
                 lf_isNameCharacter);
    const std::string text = fmt::format("{} ({}.{}.{}.{})", lf_simulatorName(filtered),
                                         open->dwApplicationVersionMajor, open->dwApplicationVersionMinor,
                                         open->dwApplicationBuildMajor, open->dwApplicationBuildMinor);
    gf_logLine(fmt::format("{} connected", text));
    window.simulatorText.set(text);
    gf_invalidateStatusBand();
    gf_clearMessage();
}

void gf_onSimException(const SIMCONNECT_RECV* pData, DWORD cbData) {
    if (!gf_recordCovers(pData, cbData, sizeof(SIMCONNECT_RECV_EXCEPTION))) return;
    const auto* exception = static_cast<const SIMCONNECT_RECV_EXCEPTION*>(pData);
    switch (exception->dwException) {
        case SIMCONNECT_EXCEPTION_UNRECOGNIZED_ID:
            if (gf_userPositionKnown(gf_userAcDataRecv()) && !gf_stopping())
                gf_logError("SIMCONNECT_EXCEPTION_UNRECOGNIZED_ID");
            break;
        case SIMCONNECT_EXCEPTION_VERSION_MISMATCH:
            throw UserErrorException(
                95, fmt::format("SimConnect Version Mismatch, dwIndex: {}", exception->dwIndex));
        case SIMCONNECT_EXCEPTION_TOO_MANY_OBJECTS:
            gf_setMessage("SimConnect: too many objects (max 1000)", true);
            break;
        case SIMCONNECT_EXCEPTION_INVALID_DATA_SIZE:
            gf_logLine("SIMCONNECT_EXCEPTION_INVALID_DATA_SIZE");
            break;
        case SIMCONNECT_EXCEPTION_CREATE_OBJECT_FAILED:
            lf_onCreateFailed(exception->dwSendID);
            break;
        case SIMCONNECT_EXCEPTION_LOAD_FLIGHTPLAN_FAILED:
            gf_logError("SimConnect exception: load flight plan failed");
            break;
        case SIMCONNECT_EXCEPTION_OPERATION_INVALID_FOR_OBJECT_TYPE:
            gf_logLine("SIMCONNECT_EXCEPTION_OPERATION_INVALID_FOR_OBJECT_TYPE");
            break;
        default:
            gf_logError(fmt::format("SIMCONNECT_EXCEPTION #{}", exception->dwException));
            break;
    }
}

}  // namespace mrw
