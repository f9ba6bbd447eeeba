// The SimConnect functions: each checks its handle, applies a scripted failure, journals itself and
// hands its work to the world. Problems the simulator finds come back as exception records.
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "platform/simconnect/client_events.h"
#include "platform/simconnect/facility_records.h"
#include "platform/simconnect/name_compare.h"
#include "platform/simconnect/simconnect.h"
#include "platform/simconnect/world_state.h"

namespace standin {
namespace {

std::string lf_text(const char* text) {
    return text == nullptr ? "null" : text;
}
std::string lf_number(std::uint64_t number) {
    return std::to_string(number);
}
std::string lf_number(double number) {
    return std::to_string(number);
}

// Whether the call sends a packet to the simulator (and so gets a packet id).
enum class Sends { No, Yes };

// Runs one call on a usable connection under the world's lock. The body gets the call's packet id.
template <class Body>
HRESULT lf_call(HANDLE handle, const char* function, std::vector<std::string> arguments, Sends sends,
                Body body) {
    World& world = gf_world();
    std::lock_guard lock(world.mutex);
    Connection* connection = world.usable(handle);
    if (connection == nullptr) return E_FAIL;
    HRESULT result = world.scriptedResult(function);
    DWORD packetId = 0;
    if (SUCCEEDED(result)) {
        if (sends == Sends::Yes) packetId = ++connection->lastPacketId;
        result = body(world, *connection, packetId);
        if (FAILED(result) && packetId != 0) {  // refused on the spot: nothing was sent
            --connection->lastPacketId;
            packetId = 0;
        }
    }
    connection->journalCall({function, std::move(arguments), result, packetId});
    return result;
}

// A flight plan may be named with or without its .pln extension.
bool lf_readable(const std::string& path) {
    for (const std::string& candidate : {path, path + ".pln"}) {
        std::error_code error;
        if (std::filesystem::is_regular_file(candidate, error) && std::ifstream(candidate).good())
            return true;
    }
    return false;
}

// Object checks shared by the calls that act on one AI object; false when an exception was sent.
bool lf_aiObjectFits(World& world, Connection& connection, DWORD objectId, DWORD sendId) {
    const SimObject* object = world.findObject(objectId);
    if (object == nullptr) {
        world.sendException(connection, SIMCONNECT_EXCEPTION_UNRECOGNIZED_ID, sendId, 1);
        return false;
    }
    if (object->kind == ObjectKind::User) {
        world.sendException(connection, SIMCONNECT_EXCEPTION_OPERATION_INVALID_FOR_OBJECT_TYPE, sendId, 1);
        return false;
    }
    return true;
}

const char* const kSystemEvents[] = {"Sim", "ObjectAdded", "ObjectRemoved", "Frame", "FlightLoaded"};

bool lf_isSystemEvent(const char* name) {
    for (const char* known : kSystemEvents) {
        if (gf_sameName(known, name)) return true;
    }
    return false;
}

}  // namespace
}  // namespace standin

using standin::Connection;
using standin::Sends;
using standin::World;

HRESULT MRW_SIMCONNECT_CALL SimConnect_Open(HANDLE* phSimConnect, LPCSTR szName, HANDLE hWnd, DWORD UserEventWin32,
                        HANDLE hEventHandle, DWORD ConfigIndex) {
    World& world = standin::gf_world();
    std::lock_guard lock(world.mutex);
    const HRESULT scripted = world.scriptedResult("SimConnect_Open");
    if (FAILED(scripted)) return scripted;
    if (!world.simulatorRunning || phSimConnect == nullptr || szName == nullptr || hWnd != nullptr)
        return E_FAIL;
    auto connection = std::make_unique<Connection>();
    connection->id = world.nextConnectionId++;
    connection->name = szName;
    connection->journalCall(
        {"SimConnect_Open",
         {szName, "null", standin::lf_number(std::uint64_t{UserEventWin32}),
          hEventHandle == nullptr ? "null" : "handle", standin::lf_number(std::uint64_t{ConfigIndex})},
         S_OK,
         0});
    auto record = standin::SimRecord::make<SIMCONNECT_RECV_OPEN>(SIMCONNECT_RECV_ID_OPEN);
    auto& open = record.as<SIMCONNECT_RECV_OPEN>();
    std::strncpy(open.szApplicationName, world.config.applicationName.c_str(),
                 sizeof open.szApplicationName - 1);
    open.dwApplicationVersionMajor = world.config.versionMajor;
    open.dwApplicationVersionMinor = world.config.versionMinor;
    open.dwApplicationBuildMajor = world.config.buildMajor;
    open.dwApplicationBuildMinor = world.config.buildMinor;
    world.send(*connection, std::move(record));
    *phSimConnect = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(connection->id));
    world.connections.push_back(std::move(connection));
    return S_OK;
}

HRESULT MRW_SIMCONNECT_CALL SimConnect_Close(HANDLE hSimConnect) {
    World& world = standin::gf_world();
    std::lock_guard lock(world.mutex);
    Connection* connection = world.openConnection(hSimConnect);
    if (connection == nullptr) return E_FAIL;
    // A scripted failure is reported, but the connection closes all the same: the caller drops it.
    const HRESULT result = world.scriptedResult("SimConnect_Close");
    connection->journalCall({"SimConnect_Close", {}, result, 0});
    connection->open = false;
    connection->waiting.clear();
    return result;
}

HRESULT MRW_SIMCONNECT_CALL SimConnect_CallDispatch(HANDLE hSimConnect, DispatchProc pfcnDispatch, void* pContext) {
    World& world = standin::gf_world();
    std::size_t count = 0;
    {
        std::lock_guard lock(world.mutex);
        Connection* connection = world.openConnection(hSimConnect);
        if (connection == nullptr || pfcnDispatch == nullptr) return E_FAIL;
        ++connection->dispatchCount;
        const HRESULT scripted = world.scriptedResult("SimConnect_CallDispatch");
        if (FAILED(scripted)) return scripted;
        if (connection->quit && connection->waiting.empty()) return E_FAIL;
        count = connection->waiting.size();
    }
    // Only the records waiting now: what the callbacks cause is delivered by the next call. Each record
    // leaves the queue before its callback runs, so a callback that throws leaves the rest waiting.
    for (std::size_t i = 0; i < count; ++i) {
        std::optional<standin::SimRecord> record;
        {
            std::lock_guard lock(world.mutex);
            Connection* connection = world.openConnection(hSimConnect);
            if (connection == nullptr || connection->waiting.empty()) break;
            record.emplace(std::move(connection->waiting.front()));
            connection->waiting.pop_front();
        }
        pfcnDispatch(record->header(), record->size(), pContext);
    }
    return S_OK;
}

HRESULT MRW_SIMCONNECT_CALL SimConnect_GetLastSentPacketID(HANDLE hSimConnect, DWORD* pdwSendID) {
    return standin::lf_call(hSimConnect, "SimConnect_GetLastSentPacketID", {}, Sends::No,
                            [&](World&, Connection& c, DWORD) {
                                if (pdwSendID == nullptr) return E_FAIL;
                                *pdwSendID = c.lastPacketId;
                                return S_OK;
                            });
}

HRESULT MRW_SIMCONNECT_CALL SimConnect_SubscribeToSystemEvent(HANDLE hSimConnect, SIMCONNECT_CLIENT_EVENT_ID EventID,
                                          LPCSTR SystemEventName) {
    using namespace standin;
    return lf_call(hSimConnect, "SimConnect_SubscribeToSystemEvent",
                   {lf_number(std::uint64_t{EventID}), lf_text(SystemEventName)}, Sends::Yes,
                   [&](World& w, Connection& c, DWORD packet) {
                       if (SystemEventName == nullptr) return E_FAIL;
                       if (!lf_isSystemEvent(SystemEventName)) {
                           w.sendException(c, SIMCONNECT_EXCEPTION_NAME_UNRECOGNIZED, packet, 2);
                           return S_OK;
                       }
                       const std::string name = gf_upperName(SystemEventName);
                       c.subscriptions[name] = EventID;
                       // The flight state right away, so that a client can tell whether a flight runs.
                       if (name == "SIM") {
                           auto record = SimRecord::make<SIMCONNECT_RECV_EVENT>(SIMCONNECT_RECV_ID_EVENT);
                           auto& event = record.as<SIMCONNECT_RECV_EVENT>();
                           event.uGroupID = SIMCONNECT_UNUSED;
                           event.uEventID = EventID;
                           event.dwData = w.flightRunning ? 1 : 0;
                           w.send(c, std::move(record));
                       }
                       return S_OK;
                   });
}

HRESULT MRW_SIMCONNECT_CALL SimConnect_AddToDataDefinition(HANDLE hSimConnect, SIMCONNECT_DATA_DEFINITION_ID DefineID,
                                       LPCSTR DatumName, LPCSTR UnitsName, SIMCONNECT_DATATYPE DatumType,
                                       float fEpsilon, DWORD DatumID) {
    using namespace standin;
    return lf_call(
        hSimConnect, "SimConnect_AddToDataDefinition",
        {lf_number(std::uint64_t{DefineID}), lf_text(DatumName), lf_text(UnitsName),
         lf_number(std::uint64_t{DatumType}), lf_number(double{fEpsilon}), lf_number(std::uint64_t{DatumID})},
        Sends::Yes, [&](World& w, Connection& c, DWORD packet) {
            if (DatumName == nullptr) return E_FAIL;
            const SimVariable* variable = gf_findVariable(DatumName);
            const DWORD badArgument = variable == nullptr                  ? 2
                                      : !gf_unitsFit(*variable, UnitsName) ? 3
                                      : !gf_typeFits(*variable, DatumType) ? 4
                                                                           : 0;
            if (badArgument != 0) {
                w.sendException(c, SIMCONNECT_EXCEPTION_NAME_UNRECOGNIZED, packet, badArgument);
            } else {
                c.definitions[DefineID].push_back({variable, DatumType});
            }
            return S_OK;
        });
}

HRESULT MRW_SIMCONNECT_CALL SimConnect_MapClientEventToSimEvent(HANDLE hSimConnect, SIMCONNECT_CLIENT_EVENT_ID EventID,
                                            LPCSTR EventName) {
    using namespace standin;
    return lf_call(hSimConnect, "SimConnect_MapClientEventToSimEvent",
                   {lf_number(std::uint64_t{EventID}), lf_text(EventName)}, Sends::Yes,
                   [&](World& w, Connection& c, DWORD packet) {
                       if (EventName == nullptr) return E_FAIL;
                       if (gf_isClientEvent(EventName)) {
                           c.mappedEvents[EventID] = gf_upperName(EventName);
                       } else {
                           w.sendException(c, SIMCONNECT_EXCEPTION_NAME_UNRECOGNIZED, packet, 2);
                       }
                       return S_OK;
                   });
}

HRESULT MRW_SIMCONNECT_CALL SimConnect_AddClientEventToNotificationGroup(HANDLE hSimConnect,
                                                     SIMCONNECT_NOTIFICATION_GROUP_ID GroupID,
                                                     SIMCONNECT_CLIENT_EVENT_ID EventID, BOOL bMaskable) {
    using namespace standin;
    return lf_call(hSimConnect, "SimConnect_AddClientEventToNotificationGroup",
                   {lf_number(std::uint64_t{GroupID}), lf_number(std::uint64_t{EventID}),
                    lf_number(std::uint64_t(bMaskable != FALSE))},
                   Sends::Yes, [&](World& w, Connection& c, DWORD packet) {
                       if (c.mappedEvents.contains(EventID)) {
                           c.groups[GroupID].insert(EventID);
                       } else {
                           w.sendException(c, SIMCONNECT_EXCEPTION_UNRECOGNIZED_ID, packet, 2);
                       }
                       return S_OK;
                   });
}

HRESULT MRW_SIMCONNECT_CALL SimConnect_SetNotificationGroupPriority(HANDLE hSimConnect, SIMCONNECT_NOTIFICATION_GROUP_ID GroupID,
                                                DWORD uPriority) {
    using namespace standin;
    return lf_call(hSimConnect, "SimConnect_SetNotificationGroupPriority",
                   {lf_number(std::uint64_t{GroupID}), lf_number(std::uint64_t{uPriority})}, Sends::Yes,
                   [&](World& w, Connection& c, DWORD packet) {
                       if (c.groups.contains(GroupID)) {
                           c.groupPriorities[GroupID] = uPriority;
                       } else {
                           w.sendException(c, SIMCONNECT_EXCEPTION_UNRECOGNIZED_ID, packet, 1);
                       }
                       return S_OK;
                   });
}

HRESULT MRW_SIMCONNECT_CALL SimConnect_RequestDataOnSimObject(HANDLE hSimConnect, SIMCONNECT_DATA_REQUEST_ID RequestID,
                                          SIMCONNECT_DATA_DEFINITION_ID DefineID,
                                          SIMCONNECT_OBJECT_ID ObjectID, SIMCONNECT_PERIOD Period,
                                          SIMCONNECT_DATA_REQUEST_FLAG Flags, DWORD origin, DWORD interval,
                                          DWORD limit) {
    using namespace standin;
    return lf_call(
        hSimConnect, "SimConnect_RequestDataOnSimObject",
        {lf_number(std::uint64_t{RequestID}), lf_number(std::uint64_t{DefineID}),
         lf_number(std::uint64_t{ObjectID}), lf_number(std::uint64_t{Period}),
         lf_number(std::uint64_t{Flags}), lf_number(std::uint64_t{origin}),
         lf_number(std::uint64_t{interval}), lf_number(std::uint64_t{limit})},
        Sends::Yes, [&](World& w, Connection& c, DWORD packet) {
            const SimObject* object = w.findObject(ObjectID);
            const DWORD badArgument = !c.definitions.contains(DefineID) ? 2
                                      : object == nullptr               ? 3
                                      : Period != SIMCONNECT_PERIOD_ONCE && Period != SIMCONNECT_PERIOD_SECOND
                                          ? 4
                                      : Flags != 0 || origin != 0 || interval != 0 || limit != 0 ? 5
                                                                                                 : 0;
            if (badArgument != 0) {
                w.sendException(c, SIMCONNECT_EXCEPTION_UNRECOGNIZED_ID, packet, badArgument);
                return S_OK;
            }
            const DataRequest request{RequestID, DefineID, object->id, packet};
            if (Period == SIMCONNECT_PERIOD_ONCE) {
                c.once.push_back(request);
            } else {
                // A new request with the same id replaces the earlier one.
                std::erase_if(c.everySecond, [&](const DataRequest& r) { return r.requestId == RequestID; });
                c.everySecond.push_back(request);
            }
            return S_OK;
        });
}

HRESULT MRW_SIMCONNECT_CALL SimConnect_RequestDataOnSimObjectType(HANDLE hSimConnect, SIMCONNECT_DATA_REQUEST_ID RequestID,
                                              SIMCONNECT_DATA_DEFINITION_ID DefineID, DWORD dwRadiusMeters,
                                              SIMCONNECT_SIMOBJECT_TYPE type) {
    using namespace standin;
    return lf_call(
        hSimConnect, "SimConnect_RequestDataOnSimObjectType",
        {lf_number(std::uint64_t{RequestID}), lf_number(std::uint64_t{DefineID}),
         lf_number(std::uint64_t{dwRadiusMeters}), lf_number(std::uint64_t{type})},
        Sends::Yes, [&](World& w, Connection& c, DWORD packet) {
            const bool knownType =
                type == SIMCONNECT_SIMOBJECT_TYPE_AIRCRAFT || type == SIMCONNECT_SIMOBJECT_TYPE_USER;
            if (!c.definitions.contains(DefineID) || !knownType) {
                w.sendException(c, SIMCONNECT_EXCEPTION_UNRECOGNIZED_ID, packet, knownType ? 2 : 4);
            } else {
                c.byType.push_back(
                    {RequestID, DefineID, dwRadiusMeters, type == SIMCONNECT_SIMOBJECT_TYPE_USER});
            }
            return S_OK;
        });
}

HRESULT MRW_SIMCONNECT_CALL SimConnect_SetDataOnSimObject(HANDLE hSimConnect, SIMCONNECT_DATA_DEFINITION_ID DefineID,
                                      SIMCONNECT_OBJECT_ID ObjectID, SIMCONNECT_DATA_SET_FLAG Flags,
                                      DWORD ArrayCount, DWORD cbUnitSize, void* pDataSet) {
    using namespace standin;
    return lf_call(hSimConnect, "SimConnect_SetDataOnSimObject",
                   {lf_number(std::uint64_t{DefineID}), lf_number(std::uint64_t{ObjectID}),
                    lf_number(std::uint64_t{Flags}), lf_number(std::uint64_t{ArrayCount}),
                    lf_number(std::uint64_t{cbUnitSize})},
                   Sends::Yes, [&](World& w, Connection& c, DWORD packet) {
                       if (pDataSet == nullptr) return E_FAIL;
                       const auto definition = c.definitions.find(DefineID);
                       SimObject* object = w.findObject(ObjectID);
                       if (definition == c.definitions.end() || object == nullptr) {
                           w.sendException(c, SIMCONNECT_EXCEPTION_UNRECOGNIZED_ID, packet, object ? 1 : 2);
                           return S_OK;
                       }
                       const std::size_t size = gf_fixedSize(definition->second);
                       if (size == 0 || size != cbUnitSize || ArrayCount > 1) {
                           w.sendException(c, SIMCONNECT_EXCEPTION_INVALID_DATA_SIZE, packet,
                                           ArrayCount > 1 ? 4 : 5);
                           return S_OK;
                       }
                       gf_applyData(*object, definition->second, static_cast<const std::byte*>(pDataSet));
                       w.settle(*object);
                       return S_OK;
                   });
}

HRESULT MRW_SIMCONNECT_CALL SimConnect_TransmitClientEvent(HANDLE hSimConnect, SIMCONNECT_OBJECT_ID ObjectID,
                                       SIMCONNECT_CLIENT_EVENT_ID EventID, DWORD dwData,
                                       SIMCONNECT_NOTIFICATION_GROUP_ID GroupID,
                                       SIMCONNECT_EVENT_FLAG Flags) {
    using namespace standin;
    return lf_call(hSimConnect, "SimConnect_TransmitClientEvent",
                   {lf_number(std::uint64_t{ObjectID}), lf_number(std::uint64_t{EventID}),
                    lf_number(std::uint64_t{dwData}), lf_number(std::uint64_t{GroupID}),
                    lf_number(std::uint64_t{Flags})},
                   Sends::Yes, [&](World& w, Connection& c, DWORD packet) {
                       const auto mapped = c.mappedEvents.find(EventID);
                       SimObject* object = w.findObject(ObjectID);
                       if (mapped == c.mappedEvents.end() || object == nullptr) {
                           w.sendException(c, SIMCONNECT_EXCEPTION_UNRECOGNIZED_ID, packet, object ? 2 : 1);
                       } else {
                           gf_applyClientEvent(*object, mapped->second, dwData);
                       }
                       return S_OK;
                   });
}

HRESULT MRW_SIMCONNECT_CALL SimConnect_AICreateNonATCAircraft(HANDLE hSimConnect, LPCSTR szContainerTitle, LPCSTR szTailNumber,
                                          SIMCONNECT_DATA_INITPOSITION InitPos,
                                          SIMCONNECT_DATA_REQUEST_ID RequestID) {
    using namespace standin;
    const std::string position = lf_number(InitPos.Latitude) + ";" + lf_number(InitPos.Longitude) + ";" +
                                 lf_number(InitPos.Altitude) + ";" + lf_number(InitPos.Heading) + ";" +
                                 lf_number(std::uint64_t{InitPos.OnGround});
    return lf_call(
        hSimConnect, "SimConnect_AICreateNonATCAircraft",
        {lf_text(szContainerTitle), lf_text(szTailNumber), position, lf_number(std::uint64_t{RequestID})},
        Sends::Yes, [&](World& w, Connection& c, DWORD packet) {
            if (szContainerTitle == nullptr || szTailNumber == nullptr) return E_FAIL;
            w.creations.push_back({c.id, packet, szContainerTitle, szTailNumber, InitPos,
                                   w.frames + w.config.createLatencyFrames});
            return S_OK;
        });
}

HRESULT MRW_SIMCONNECT_CALL SimConnect_AIRemoveObject(HANDLE hSimConnect, SIMCONNECT_OBJECT_ID ObjectID,
                                  SIMCONNECT_DATA_REQUEST_ID RequestID) {
    using namespace standin;
    return lf_call(
        hSimConnect, "SimConnect_AIRemoveObject",
        {lf_number(std::uint64_t{ObjectID}), lf_number(std::uint64_t{RequestID})}, Sends::Yes,
        [&](World& w, Connection& c, DWORD packet) {
            if (lf_aiObjectFits(w, c, ObjectID, packet)) {
                w.removals.push_back({c.id, packet, ObjectID, w.frames + w.config.removeLatencyFrames});
            }
            return S_OK;
        });
}

HRESULT MRW_SIMCONNECT_CALL SimConnect_AIReleaseControl(HANDLE hSimConnect, SIMCONNECT_OBJECT_ID ObjectID,
                                    SIMCONNECT_DATA_REQUEST_ID RequestID) {
    using namespace standin;
    return lf_call(hSimConnect, "SimConnect_AIReleaseControl",
                   {lf_number(std::uint64_t{ObjectID}), lf_number(std::uint64_t{RequestID})}, Sends::Yes,
                   [&](World& w, Connection& c, DWORD packet) {
                       if (lf_aiObjectFits(w, c, ObjectID, packet)) w.findObject(ObjectID)->released = true;
                       return S_OK;
                   });
}

HRESULT MRW_SIMCONNECT_CALL SimConnect_AISetAircraftFlightPlan(HANDLE hSimConnect, SIMCONNECT_OBJECT_ID ObjectID,
                                           LPCSTR szFlightPlanPath, SIMCONNECT_DATA_REQUEST_ID RequestID) {
    using namespace standin;
    return lf_call(
        hSimConnect, "SimConnect_AISetAircraftFlightPlan",
        {lf_number(std::uint64_t{ObjectID}), lf_text(szFlightPlanPath), lf_number(std::uint64_t{RequestID})},
        Sends::Yes, [&](World& w, Connection& c, DWORD packet) {
            if (szFlightPlanPath == nullptr) return E_FAIL;
            if (!lf_aiObjectFits(w, c, ObjectID, packet)) return S_OK;
            if (w.refuseFlightPlans || !lf_readable(szFlightPlanPath)) {
                w.sendException(c, SIMCONNECT_EXCEPTION_LOAD_FLIGHTPLAN_FAILED, packet, 2);
            } else {
                w.findObject(ObjectID)->flightPlanPath = szFlightPlanPath;
            }
            return S_OK;
        });
}

HRESULT MRW_SIMCONNECT_CALL SimConnect_AddToFacilityDefinition(HANDLE hSimConnect, SIMCONNECT_DATA_DEFINITION_ID DefineID,
                                           LPCSTR FieldName) {
    using namespace standin;
    return lf_call(hSimConnect, "SimConnect_AddToFacilityDefinition",
                   {lf_number(std::uint64_t{DefineID}), lf_text(FieldName)}, Sends::Yes,
                   [&](World& w, Connection& c, DWORD packet) {
                       if (FieldName == nullptr) return E_FAIL;
                       std::vector<std::string>& items = c.facilityDefinitions[DefineID];
                       if (gf_facilityItemFits(items, FieldName)) {
                           items.emplace_back(FieldName);
                       } else {
                           w.sendException(c, SIMCONNECT_EXCEPTION_NAME_UNRECOGNIZED, packet, 2);
                       }
                       return S_OK;
                   });
}

HRESULT MRW_SIMCONNECT_CALL SimConnect_RequestFacilityData(HANDLE hSimConnect, SIMCONNECT_DATA_DEFINITION_ID DefineID,
                                       SIMCONNECT_DATA_REQUEST_ID RequestID, LPCSTR ICAO, LPCSTR Region) {
    using namespace standin;
    return lf_call(hSimConnect, "SimConnect_RequestFacilityData",
                   {lf_number(std::uint64_t{DefineID}), lf_number(std::uint64_t{RequestID}), lf_text(ICAO),
                    lf_text(Region)},
                   Sends::Yes, [&](World& w, Connection& c, DWORD packet) {
                       if (ICAO == nullptr) return E_FAIL;
                       if (!c.facilityDefinitions.contains(DefineID)) {
                           w.sendException(c, SIMCONNECT_EXCEPTION_UNRECOGNIZED_ID, packet, 1);
                       } else {
                           c.facilityRequests.push_back({DefineID, RequestID, ICAO, packet});
                       }
                       return S_OK;
                   });
}
