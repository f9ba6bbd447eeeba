#pragma once
// Our SimConnect interface: the functions, receive records and constants the traffic engine and the
// facility reader use, with the simulator's names, declared from the SDK's documented facts. On
// Linux every call talks to the in-process simulated simulator (standin::SimWorld, sim_world.h), so
// the whole engine runs there; on Windows the calls go to the SimConnect.dll bound at run time
// (simconnect_library.h), the simulator's own or our simulated one built as that DLL.
//
// The records are packed to single bytes, as documented, and the functions have C names (the DLL's
// export names) and the documented __stdcall convention, which 64-bit Windows folds into its one
// calling convention. The layouts below are checked by size and offset: dwID at 8, an exception's
// number, send id and index at 12, 16 and 20, object data and facility fields at 40.

#include <cstddef>
#include <cstdint>

#include "platform/windows_types.h"

#if defined(_WIN32) && !defined(_WIN64)
#define MRW_SIMCONNECT_CALL __stdcall
#else
#define MRW_SIMCONNECT_CALL
#endif

using SIMCONNECT_OBJECT_ID = DWORD;
using SIMCONNECT_DATA_DEFINITION_ID = DWORD;
using SIMCONNECT_DATA_REQUEST_ID = DWORD;
using SIMCONNECT_CLIENT_EVENT_ID = DWORD;
using SIMCONNECT_NOTIFICATION_GROUP_ID = DWORD;
using SIMCONNECT_DATA_REQUEST_FLAG = DWORD;
using SIMCONNECT_DATA_SET_FLAG = DWORD;
using SIMCONNECT_EVENT_FLAG = DWORD;

inline constexpr DWORD SIMCONNECT_UNUSED = 0xFFFFFFFFu;
inline constexpr SIMCONNECT_OBJECT_ID SIMCONNECT_OBJECT_ID_USER = 0;
inline constexpr DWORD SIMCONNECT_GROUP_PRIORITY_HIGHEST = 1;
inline constexpr SIMCONNECT_DATA_REQUEST_FLAG SIMCONNECT_DATA_REQUEST_FLAG_DEFAULT = 0;
inline constexpr SIMCONNECT_DATA_SET_FLAG SIMCONNECT_DATA_SET_FLAG_DEFAULT = 0;
inline constexpr SIMCONNECT_EVENT_FLAG SIMCONNECT_EVENT_FLAG_DEFAULT = 0;

enum SIMCONNECT_RECV_ID : DWORD {
    SIMCONNECT_RECV_ID_NULL = 0,
    SIMCONNECT_RECV_ID_EXCEPTION = 1,
    SIMCONNECT_RECV_ID_OPEN = 2,
    SIMCONNECT_RECV_ID_QUIT = 3,
    SIMCONNECT_RECV_ID_EVENT = 4,
    SIMCONNECT_RECV_ID_EVENT_OBJECT_ADDREMOVE = 5,
    SIMCONNECT_RECV_ID_EVENT_FILENAME = 6,
    SIMCONNECT_RECV_ID_EVENT_FRAME = 7,
    SIMCONNECT_RECV_ID_SIMOBJECT_DATA = 8,
    SIMCONNECT_RECV_ID_SIMOBJECT_DATA_BYTYPE = 9,
    SIMCONNECT_RECV_ID_ASSIGNED_OBJECT_ID = 12,
    SIMCONNECT_RECV_ID_CLIENT_DATA = 16,
    SIMCONNECT_RECV_ID_FACILITY_DATA = 28,
    SIMCONNECT_RECV_ID_FACILITY_DATA_END = 29,
};

enum SIMCONNECT_DATATYPE : DWORD {
    SIMCONNECT_DATATYPE_INVALID = 0,
    SIMCONNECT_DATATYPE_INT64 = 2,
    SIMCONNECT_DATATYPE_FLOAT64 = 4,
    SIMCONNECT_DATATYPE_STRING32 = 6,
    SIMCONNECT_DATATYPE_STRINGV = 11,
};

enum SIMCONNECT_PERIOD : DWORD {
    SIMCONNECT_PERIOD_ONCE = 1,
    SIMCONNECT_PERIOD_SECOND = 4,
};

enum SIMCONNECT_SIMOBJECT_TYPE : DWORD {
    SIMCONNECT_SIMOBJECT_TYPE_USER = 0,
    SIMCONNECT_SIMOBJECT_TYPE_AIRCRAFT = 2,
};

enum SIMCONNECT_EXCEPTION : DWORD {
    SIMCONNECT_EXCEPTION_NONE = 0,
    // A request the simulator could not serve (for example facility data of an unknown airport code).
    SIMCONNECT_EXCEPTION_ERROR = 1,
    SIMCONNECT_EXCEPTION_UNRECOGNIZED_ID = 3,
    SIMCONNECT_EXCEPTION_VERSION_MISMATCH = 5,
    SIMCONNECT_EXCEPTION_NAME_UNRECOGNIZED = 7,
    SIMCONNECT_EXCEPTION_TOO_MANY_OBJECTS = 11,
    SIMCONNECT_EXCEPTION_INVALID_DATA_SIZE = 19,
    SIMCONNECT_EXCEPTION_CREATE_OBJECT_FAILED = 22,
    SIMCONNECT_EXCEPTION_LOAD_FLIGHTPLAN_FAILED = 23,
    SIMCONNECT_EXCEPTION_OPERATION_INVALID_FOR_OBJECT_TYPE = 24,
};

// The `Type` of a facility-data record.
enum SIMCONNECT_FACILITY_DATA_TYPE : DWORD {
    SIMCONNECT_FACILITY_DATA_AIRPORT = 0,
    SIMCONNECT_FACILITY_DATA_HELIPAD = 4,
    SIMCONNECT_FACILITY_DATA_TAXI_PARKING = 15,
};

#pragma pack(push, 1)

struct SIMCONNECT_RECV {
    DWORD dwSize;  // bytes of the whole record
    DWORD dwVersion;
    DWORD dwID;  // a SIMCONNECT_RECV_ID
};

struct SIMCONNECT_RECV_EXCEPTION : SIMCONNECT_RECV {
    DWORD dwException;  // a SIMCONNECT_EXCEPTION
    DWORD dwSendID;     // packet id of the call that failed (SimConnect_GetLastSentPacketID)
    DWORD dwIndex;      // 1-based position of the offending argument after the handle, or 0
};

struct SIMCONNECT_RECV_OPEN : SIMCONNECT_RECV {
    char szApplicationName[256];
    DWORD dwApplicationVersionMajor;
    DWORD dwApplicationVersionMinor;
    DWORD dwApplicationBuildMajor;
    DWORD dwApplicationBuildMinor;
    DWORD dwSimConnectVersionMajor;
    DWORD dwSimConnectVersionMinor;
    DWORD dwSimConnectBuildMajor;
    DWORD dwSimConnectBuildMinor;
    DWORD dwReserved1;
    DWORD dwReserved2;
};

struct SIMCONNECT_RECV_QUIT : SIMCONNECT_RECV {};

struct SIMCONNECT_RECV_EVENT : SIMCONNECT_RECV {
    DWORD uGroupID;  // SIMCONNECT_UNUSED for system events
    DWORD uEventID;
    DWORD dwData;
};

struct SIMCONNECT_RECV_EVENT_OBJECT_ADDREMOVE : SIMCONNECT_RECV_EVENT {
    SIMCONNECT_SIMOBJECT_TYPE eObjType;
};

struct SIMCONNECT_RECV_EVENT_FILENAME : SIMCONNECT_RECV_EVENT {
    char szFileName[260];
    DWORD dwFlags;
};

struct SIMCONNECT_RECV_EVENT_FRAME : SIMCONNECT_RECV_EVENT {
    float fFrameRate;
    float fSimSpeed;
};

struct SIMCONNECT_RECV_SIMOBJECT_DATA : SIMCONNECT_RECV {
    DWORD dwRequestID;
    DWORD dwObjectID;
    DWORD dwDefineID;
    DWORD dwFlags;
    DWORD dwentrynumber;  // 1-based number of this record among the answers to one by-type request
    DWORD dwoutof;        // count of records of that answer
    DWORD dwDefineCount;  // datums in the definition
    DWORD dwData;         // first word of the data, which runs to dwSize
};

struct SIMCONNECT_RECV_SIMOBJECT_DATA_BYTYPE : SIMCONNECT_RECV_SIMOBJECT_DATA {};

struct SIMCONNECT_RECV_ASSIGNED_OBJECT_ID : SIMCONNECT_RECV {
    DWORD dwRequestID;
    DWORD dwObjectID;
};

// One record of a facility-data answer: the airport, or one of its helipads or taxi parkings. The
// defined items of that section follow from byte 40 in definition order, packed: LATITUDE,
// LONGITUDE and ALTITUDE are doubles, the airport's NAME is 32 characters, every other item is a
// 32-bit int or float.
struct SIMCONNECT_RECV_FACILITY_DATA : SIMCONNECT_RECV {
    DWORD UserRequestId;
    DWORD UniqueRequestId;
    DWORD ParentUniqueRequestId;
    DWORD Type;  // a SIMCONNECT_FACILITY_DATA_TYPE
    DWORD IsListItem;
    DWORD ItemIndex;
    DWORD ListSize;
    DWORD Data;  // first word of the items
};

struct SIMCONNECT_RECV_FACILITY_DATA_END : SIMCONNECT_RECV {
    DWORD RequestId;
};

struct SIMCONNECT_DATA_INITPOSITION {
    double Latitude;   // degrees
    double Longitude;  // degrees
    double Altitude;   // feet
    double Pitch;      // degrees
    double Bank;       // degrees
    double Heading;    // degrees
    DWORD OnGround;    // 1 places the object on the ground
    DWORD Airspeed;    // knots
};

#pragma pack(pop)

// The documented layouts. offsetof on records that extend SIMCONNECT_RECV is conditionally supported;
// g++ and MinGW give the plain byte offset.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
static_assert(sizeof(SIMCONNECT_RECV) == 12 && offsetof(SIMCONNECT_RECV, dwID) == 8);
static_assert(sizeof(SIMCONNECT_RECV_EXCEPTION) == 24 &&
              offsetof(SIMCONNECT_RECV_EXCEPTION, dwException) == 12 &&
              offsetof(SIMCONNECT_RECV_EXCEPTION, dwSendID) == 16 &&
              offsetof(SIMCONNECT_RECV_EXCEPTION, dwIndex) == 20);
static_assert(sizeof(SIMCONNECT_RECV_OPEN) == 308 &&
              offsetof(SIMCONNECT_RECV_OPEN, szApplicationName) == 12 &&
              offsetof(SIMCONNECT_RECV_OPEN, dwApplicationVersionMajor) == 268 &&
              offsetof(SIMCONNECT_RECV_OPEN, dwApplicationBuildMinor) == 280);
static_assert(sizeof(SIMCONNECT_RECV_QUIT) == 12);
static_assert(sizeof(SIMCONNECT_RECV_EVENT) == 24 && offsetof(SIMCONNECT_RECV_EVENT, uGroupID) == 12 &&
              offsetof(SIMCONNECT_RECV_EVENT, uEventID) == 16 &&
              offsetof(SIMCONNECT_RECV_EVENT, dwData) == 20);
static_assert(sizeof(SIMCONNECT_RECV_EVENT_OBJECT_ADDREMOVE) == 28 &&
              offsetof(SIMCONNECT_RECV_EVENT_OBJECT_ADDREMOVE, eObjType) == 24);
static_assert(sizeof(SIMCONNECT_RECV_EVENT_FILENAME) == 288 &&
              offsetof(SIMCONNECT_RECV_EVENT_FILENAME, szFileName) == 24 &&
              offsetof(SIMCONNECT_RECV_EVENT_FILENAME, dwFlags) == 284);
static_assert(sizeof(SIMCONNECT_RECV_EVENT_FRAME) == 32 &&
              offsetof(SIMCONNECT_RECV_EVENT_FRAME, fFrameRate) == 24 &&
              offsetof(SIMCONNECT_RECV_EVENT_FRAME, fSimSpeed) == 28);
static_assert(sizeof(SIMCONNECT_RECV_SIMOBJECT_DATA) == 44 &&
              offsetof(SIMCONNECT_RECV_SIMOBJECT_DATA, dwRequestID) == 12 &&
              offsetof(SIMCONNECT_RECV_SIMOBJECT_DATA, dwObjectID) == 16 &&
              offsetof(SIMCONNECT_RECV_SIMOBJECT_DATA, dwDefineID) == 20 &&
              offsetof(SIMCONNECT_RECV_SIMOBJECT_DATA, dwentrynumber) == 28 &&
              offsetof(SIMCONNECT_RECV_SIMOBJECT_DATA, dwoutof) == 32 &&
              offsetof(SIMCONNECT_RECV_SIMOBJECT_DATA, dwData) == 40);
static_assert(sizeof(SIMCONNECT_RECV_SIMOBJECT_DATA_BYTYPE) == 44);
static_assert(sizeof(SIMCONNECT_RECV_ASSIGNED_OBJECT_ID) == 20 &&
              offsetof(SIMCONNECT_RECV_ASSIGNED_OBJECT_ID, dwObjectID) == 16);
static_assert(sizeof(SIMCONNECT_RECV_FACILITY_DATA) == 44 &&
              offsetof(SIMCONNECT_RECV_FACILITY_DATA, UserRequestId) == 12 &&
              offsetof(SIMCONNECT_RECV_FACILITY_DATA, Type) == 24 &&
              offsetof(SIMCONNECT_RECV_FACILITY_DATA, ListSize) == 36 &&
              offsetof(SIMCONNECT_RECV_FACILITY_DATA, Data) == 40);
static_assert(sizeof(SIMCONNECT_RECV_FACILITY_DATA_END) == 16 &&
              offsetof(SIMCONNECT_RECV_FACILITY_DATA_END, RequestId) == 12);
static_assert(sizeof(SIMCONNECT_DATA_INITPOSITION) == 56 &&
              offsetof(SIMCONNECT_DATA_INITPOSITION, Heading) == 40 &&
              offsetof(SIMCONNECT_DATA_INITPOSITION, OnGround) == 48 &&
              offsetof(SIMCONNECT_DATA_INITPOSITION, Airspeed) == 52);
#pragma GCC diagnostic pop

// Called by SimConnect_CallDispatch once for each waiting record, on the caller's thread.
using DispatchProc = void(MRW_SIMCONNECT_CALL*)(SIMCONNECT_RECV* pData, DWORD cbData, void* pContext);

// Every function returns S_OK or a negative HRESULT (E_FAIL on a closed or unknown handle, when no
// simulator runs, or for arguments it cannot take). Errors found by the simulator arrive later as
// SIMCONNECT_RECV_EXCEPTION records carrying the call's packet id.
// hWnd is a window handle on Windows; our simulated simulator takes only a null one.
extern "C" {

HRESULT MRW_SIMCONNECT_CALL SimConnect_Open(HANDLE* phSimConnect, LPCSTR szName, HANDLE hWnd,
                                            DWORD UserEventWin32, HANDLE hEventHandle, DWORD ConfigIndex);
HRESULT MRW_SIMCONNECT_CALL SimConnect_Close(HANDLE hSimConnect);
HRESULT MRW_SIMCONNECT_CALL SimConnect_CallDispatch(HANDLE hSimConnect, DispatchProc pfcnDispatch,
                                                    void* pContext);
HRESULT MRW_SIMCONNECT_CALL SimConnect_GetLastSentPacketID(HANDLE hSimConnect, DWORD* pdwSendID);

HRESULT MRW_SIMCONNECT_CALL SimConnect_SubscribeToSystemEvent(HANDLE hSimConnect,
                                                              SIMCONNECT_CLIENT_EVENT_ID EventID,
                                                              LPCSTR SystemEventName);
HRESULT MRW_SIMCONNECT_CALL
SimConnect_AddToDataDefinition(HANDLE hSimConnect, SIMCONNECT_DATA_DEFINITION_ID DefineID, LPCSTR DatumName,
                               LPCSTR UnitsName, SIMCONNECT_DATATYPE DatumType = SIMCONNECT_DATATYPE_FLOAT64,
                               float fEpsilon = 0, DWORD DatumID = SIMCONNECT_UNUSED);
HRESULT MRW_SIMCONNECT_CALL SimConnect_MapClientEventToSimEvent(HANDLE hSimConnect,
                                                                SIMCONNECT_CLIENT_EVENT_ID EventID,
                                                                LPCSTR EventName);
HRESULT MRW_SIMCONNECT_CALL
SimConnect_AddClientEventToNotificationGroup(HANDLE hSimConnect, SIMCONNECT_NOTIFICATION_GROUP_ID GroupID,
                                             SIMCONNECT_CLIENT_EVENT_ID EventID, BOOL bMaskable = FALSE);
HRESULT MRW_SIMCONNECT_CALL SimConnect_SetNotificationGroupPriority(HANDLE hSimConnect,
                                                                    SIMCONNECT_NOTIFICATION_GROUP_ID GroupID,
                                                                    DWORD uPriority);

HRESULT MRW_SIMCONNECT_CALL SimConnect_RequestDataOnSimObject(
    HANDLE hSimConnect, SIMCONNECT_DATA_REQUEST_ID RequestID, SIMCONNECT_DATA_DEFINITION_ID DefineID,
    SIMCONNECT_OBJECT_ID ObjectID, SIMCONNECT_PERIOD Period, SIMCONNECT_DATA_REQUEST_FLAG Flags = 0,
    DWORD origin = 0, DWORD interval = 0, DWORD limit = 0);
HRESULT MRW_SIMCONNECT_CALL SimConnect_RequestDataOnSimObjectType(HANDLE hSimConnect,
                                                                  SIMCONNECT_DATA_REQUEST_ID RequestID,
                                                                  SIMCONNECT_DATA_DEFINITION_ID DefineID,
                                                                  DWORD dwRadiusMeters,
                                                                  SIMCONNECT_SIMOBJECT_TYPE type);
HRESULT MRW_SIMCONNECT_CALL SimConnect_SetDataOnSimObject(HANDLE hSimConnect,
                                                          SIMCONNECT_DATA_DEFINITION_ID DefineID,
                                                          SIMCONNECT_OBJECT_ID ObjectID,
                                                          SIMCONNECT_DATA_SET_FLAG Flags, DWORD ArrayCount,
                                                          DWORD cbUnitSize, void* pDataSet);
HRESULT MRW_SIMCONNECT_CALL SimConnect_TransmitClientEvent(HANDLE hSimConnect, SIMCONNECT_OBJECT_ID ObjectID,
                                                           SIMCONNECT_CLIENT_EVENT_ID EventID, DWORD dwData,
                                                           SIMCONNECT_NOTIFICATION_GROUP_ID GroupID,
                                                           SIMCONNECT_EVENT_FLAG Flags);

HRESULT MRW_SIMCONNECT_CALL SimConnect_AICreateNonATCAircraft(HANDLE hSimConnect, LPCSTR szContainerTitle,
                                                              LPCSTR szTailNumber,
                                                              SIMCONNECT_DATA_INITPOSITION InitPos,
                                                              SIMCONNECT_DATA_REQUEST_ID RequestID);
HRESULT MRW_SIMCONNECT_CALL SimConnect_AIRemoveObject(HANDLE hSimConnect, SIMCONNECT_OBJECT_ID ObjectID,
                                                      SIMCONNECT_DATA_REQUEST_ID RequestID);
HRESULT MRW_SIMCONNECT_CALL SimConnect_AIReleaseControl(HANDLE hSimConnect, SIMCONNECT_OBJECT_ID ObjectID,
                                                        SIMCONNECT_DATA_REQUEST_ID RequestID);
HRESULT MRW_SIMCONNECT_CALL SimConnect_AISetAircraftFlightPlan(HANDLE hSimConnect,
                                                               SIMCONNECT_OBJECT_ID ObjectID,
                                                               LPCSTR szFlightPlanPath,
                                                               SIMCONNECT_DATA_REQUEST_ID RequestID);

HRESULT MRW_SIMCONNECT_CALL SimConnect_AddToFacilityDefinition(HANDLE hSimConnect,
                                                               SIMCONNECT_DATA_DEFINITION_ID DefineID,
                                                               LPCSTR FieldName);
HRESULT MRW_SIMCONNECT_CALL SimConnect_RequestFacilityData(HANDLE hSimConnect,
                                                           SIMCONNECT_DATA_DEFINITION_ID DefineID,
                                                           SIMCONNECT_DATA_REQUEST_ID RequestID, LPCSTR ICAO,
                                                           LPCSTR Region = "");

}  // extern "C"
