// Our SimConnect_* functions on Windows: each forwards to the function of the same name in the
// SimConnect.dll bound at run time, or fails with E_FAIL when none can be bound.
#include <string_view>

#include "platform/simconnect/simconnect.h"
#include "platform/windows/simconnect/bound_functions.h"

namespace {

using platform::kSimConnectFunctions;

consteval std::size_t lf_index(std::string_view name) {
    for (std::size_t i = 0; i < kSimConnectFunctions.size(); ++i) {
        if (name == kSimConnectFunctions[i]) return i;
    }
    throw "not a bound SimConnect function";  // a compile error: consteval
}

// The bound function, binding first when nothing is bound yet (a caller other than the run, such as
// a test, may call before the run's binding).
platform::SimConnectProc lf_bound(std::size_t index) {
    platform::SimConnectProc bound = platform::g_boundFunctions[index].load(std::memory_order_acquire);
    if (bound == nullptr && platform::bindProgramSimConnect().bound)
        bound = platform::g_boundFunctions[index].load(std::memory_order_acquire);
    return bound;
}

template <auto Function, std::size_t Index, class... Args>
HRESULT lf_forward(Args... args) {
    const platform::SimConnectProc bound = lf_bound(Index);
    if (bound == nullptr) return E_FAIL;
    return reinterpret_cast<decltype(Function)>(bound)(args...);
}

}  // namespace

#define MRW_FORWARD(name, ...) lf_forward<&name, lf_index(#name)>(__VA_ARGS__)

HRESULT MRW_SIMCONNECT_CALL SimConnect_Open(HANDLE* phSimConnect, LPCSTR szName, HANDLE hWnd,
                                            DWORD UserEventWin32, HANDLE hEventHandle, DWORD ConfigIndex) {
    return MRW_FORWARD(SimConnect_Open, phSimConnect, szName, hWnd, UserEventWin32, hEventHandle,
                       ConfigIndex);
}

HRESULT MRW_SIMCONNECT_CALL SimConnect_Close(HANDLE hSimConnect) {
    return MRW_FORWARD(SimConnect_Close, hSimConnect);
}

HRESULT MRW_SIMCONNECT_CALL SimConnect_CallDispatch(HANDLE hSimConnect, DispatchProc pfcnDispatch,
                                                    void* pContext) {
    return MRW_FORWARD(SimConnect_CallDispatch, hSimConnect, pfcnDispatch, pContext);
}

HRESULT MRW_SIMCONNECT_CALL SimConnect_GetLastSentPacketID(HANDLE hSimConnect, DWORD* pdwSendID) {
    return MRW_FORWARD(SimConnect_GetLastSentPacketID, hSimConnect, pdwSendID);
}

HRESULT MRW_SIMCONNECT_CALL SimConnect_SubscribeToSystemEvent(HANDLE hSimConnect,
                                                              SIMCONNECT_CLIENT_EVENT_ID EventID,
                                                              LPCSTR SystemEventName) {
    return MRW_FORWARD(SimConnect_SubscribeToSystemEvent, hSimConnect, EventID, SystemEventName);
}

HRESULT MRW_SIMCONNECT_CALL SimConnect_AddToDataDefinition(HANDLE hSimConnect,
                                                           SIMCONNECT_DATA_DEFINITION_ID DefineID,
                                                           LPCSTR DatumName, LPCSTR UnitsName,
                                                           SIMCONNECT_DATATYPE DatumType, float fEpsilon,
                                                           DWORD DatumID) {
    return MRW_FORWARD(SimConnect_AddToDataDefinition, hSimConnect, DefineID, DatumName, UnitsName, DatumType,
                       fEpsilon, DatumID);
}

HRESULT MRW_SIMCONNECT_CALL SimConnect_MapClientEventToSimEvent(HANDLE hSimConnect,
                                                                SIMCONNECT_CLIENT_EVENT_ID EventID,
                                                                LPCSTR EventName) {
    return MRW_FORWARD(SimConnect_MapClientEventToSimEvent, hSimConnect, EventID, EventName);
}

HRESULT MRW_SIMCONNECT_CALL
SimConnect_AddClientEventToNotificationGroup(HANDLE hSimConnect, SIMCONNECT_NOTIFICATION_GROUP_ID GroupID,
                                             SIMCONNECT_CLIENT_EVENT_ID EventID, BOOL bMaskable) {
    return MRW_FORWARD(SimConnect_AddClientEventToNotificationGroup, hSimConnect, GroupID, EventID,
                       bMaskable);
}

HRESULT MRW_SIMCONNECT_CALL SimConnect_SetNotificationGroupPriority(HANDLE hSimConnect,
                                                                    SIMCONNECT_NOTIFICATION_GROUP_ID GroupID,
                                                                    DWORD uPriority) {
    return MRW_FORWARD(SimConnect_SetNotificationGroupPriority, hSimConnect, GroupID, uPriority);
}

HRESULT MRW_SIMCONNECT_CALL SimConnect_RequestDataOnSimObject(
    HANDLE hSimConnect, SIMCONNECT_DATA_REQUEST_ID RequestID, SIMCONNECT_DATA_DEFINITION_ID DefineID,
    SIMCONNECT_OBJECT_ID ObjectID, SIMCONNECT_PERIOD Period, SIMCONNECT_DATA_REQUEST_FLAG Flags, DWORD origin,
    DWORD interval, DWORD limit) {
    return MRW_FORWARD(SimConnect_RequestDataOnSimObject, hSimConnect, RequestID, DefineID, ObjectID, Period,
                       Flags, origin, interval, limit);
}

HRESULT MRW_SIMCONNECT_CALL SimConnect_RequestDataOnSimObjectType(HANDLE hSimConnect,
                                                                  SIMCONNECT_DATA_REQUEST_ID RequestID,
                                                                  SIMCONNECT_DATA_DEFINITION_ID DefineID,
                                                                  DWORD dwRadiusMeters,
                                                                  SIMCONNECT_SIMOBJECT_TYPE type) {
    return MRW_FORWARD(SimConnect_RequestDataOnSimObjectType, hSimConnect, RequestID, DefineID,
                       dwRadiusMeters, type);
}

HRESULT MRW_SIMCONNECT_CALL SimConnect_SetDataOnSimObject(HANDLE hSimConnect,
                                                          SIMCONNECT_DATA_DEFINITION_ID DefineID,
                                                          SIMCONNECT_OBJECT_ID ObjectID,
                                                          SIMCONNECT_DATA_SET_FLAG Flags, DWORD ArrayCount,
                                                          DWORD cbUnitSize, void* pDataSet) {
    return MRW_FORWARD(SimConnect_SetDataOnSimObject, hSimConnect, DefineID, ObjectID, Flags, ArrayCount,
                       cbUnitSize, pDataSet);
}

HRESULT MRW_SIMCONNECT_CALL SimConnect_TransmitClientEvent(HANDLE hSimConnect, SIMCONNECT_OBJECT_ID ObjectID,
                                                           SIMCONNECT_CLIENT_EVENT_ID EventID, DWORD dwData,
                                                           SIMCONNECT_NOTIFICATION_GROUP_ID GroupID,
                                                           SIMCONNECT_EVENT_FLAG Flags) {
    return MRW_FORWARD(SimConnect_TransmitClientEvent, hSimConnect, ObjectID, EventID, dwData, GroupID,
                       Flags);
}

HRESULT MRW_SIMCONNECT_CALL SimConnect_AICreateNonATCAircraft(HANDLE hSimConnect, LPCSTR szContainerTitle,
                                                              LPCSTR szTailNumber,
                                                              SIMCONNECT_DATA_INITPOSITION InitPos,
                                                              SIMCONNECT_DATA_REQUEST_ID RequestID) {
    return MRW_FORWARD(SimConnect_AICreateNonATCAircraft, hSimConnect, szContainerTitle, szTailNumber,
                       InitPos, RequestID);
}

HRESULT MRW_SIMCONNECT_CALL SimConnect_AIRemoveObject(HANDLE hSimConnect, SIMCONNECT_OBJECT_ID ObjectID,
                                                      SIMCONNECT_DATA_REQUEST_ID RequestID) {
    return MRW_FORWARD(SimConnect_AIRemoveObject, hSimConnect, ObjectID, RequestID);
}

HRESULT MRW_SIMCONNECT_CALL SimConnect_AIReleaseControl(HANDLE hSimConnect, SIMCONNECT_OBJECT_ID ObjectID,
                                                        SIMCONNECT_DATA_REQUEST_ID RequestID) {
    return MRW_FORWARD(SimConnect_AIReleaseControl, hSimConnect, ObjectID, RequestID);
}

HRESULT MRW_SIMCONNECT_CALL SimConnect_AISetAircraftFlightPlan(HANDLE hSimConnect,
                                                               SIMCONNECT_OBJECT_ID ObjectID,
                                                               LPCSTR szFlightPlanPath,
                                                               SIMCONNECT_DATA_REQUEST_ID RequestID) {
    return MRW_FORWARD(SimConnect_AISetAircraftFlightPlan, hSimConnect, ObjectID, szFlightPlanPath,
                       RequestID);
}

HRESULT MRW_SIMCONNECT_CALL SimConnect_AddToFacilityDefinition(HANDLE hSimConnect,
                                                               SIMCONNECT_DATA_DEFINITION_ID DefineID,
                                                               LPCSTR FieldName) {
    return MRW_FORWARD(SimConnect_AddToFacilityDefinition, hSimConnect, DefineID, FieldName);
}

HRESULT MRW_SIMCONNECT_CALL SimConnect_RequestFacilityData(HANDLE hSimConnect,
                                                           SIMCONNECT_DATA_DEFINITION_ID DefineID,
                                                           SIMCONNECT_DATA_REQUEST_ID RequestID, LPCSTR ICAO,
                                                           LPCSTR Region) {
    return MRW_FORWARD(SimConnect_RequestFacilityData, hSimConnect, DefineID, RequestID, ICAO, Region);
}
