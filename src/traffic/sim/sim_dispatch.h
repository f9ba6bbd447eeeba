#pragma once
// The SimConnect dispatch: every message of the connection arrives in gf_onSimDispatch, on the
// client thread. It identifies the simulator, reacts to SimConnect exceptions, follows the flight
// state, keeps the user aircraft's data, recognises the AI objects the program created, reports
// other aircraft near the ground, and flushes the outbound queues on every frame.
//
// Every handler checks that the message's size covers the record it reads; a short record is
// logged ("! Short SimConnect record, dwID {}, {} bytes") and skipped.

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "foundation/lalo.h"
#include "platform/simconnect/simconnect.h"
#include "traffic/model/sim_queues.h"

namespace mrw {

// The user aircraft's simulator object id, from every answer to request 109; 2 until the first
// answer. Only objects with a greater id are moved, removed, recognised or reported. Written by the
// client thread, read by the main worker (removals, selections).
inline std::atomic<std::uint32_t> g_userObjectId{2};

// The rest (and the flags of user_aircraft_data.h) is written on the client thread. The main worker
// reads the atomics; the others are client-thread only (the run reset changes them while no client
// thread runs).
inline Lalo g_prevUserPosition;                  // of the previous answer to request 109
inline std::string g_userTitle;                  // at most 48 characters
inline std::string g_userStandShown;             // stand name last shown for the user aircraft
inline std::atomic<bool> g_newSimSecond{false};  // set on every answer to request 108
// Simulator UTC in seconds since 1970-01-01, kept only for RealTraffic's professional edition.
inline std::atomic<std::int64_t> g_simTimeEpoch{0};
// Ids announced by ObjectAdded and not yet seen in the in-range data with an ATC ID.
inline auto& g_justAddedObjects = g_simQueues.justAddedObjects;
inline bool g_asGenLogged = false;  // the note on simulator-generated traffic was written this run

// The callback handed to SimConnect_CallDispatch. A null message does nothing. Throws
// UserErrorException 2024, 77, 95 or 73, which the client thread handles.
void MRW_SIMCONNECT_CALL gf_onSimDispatch(SIMCONNECT_RECV* pData, DWORD cbData, void* pContext);

// The handlers; each takes the message and its size in bytes.
void gf_onSimOpen(const SIMCONNECT_RECV* pData, DWORD cbData);
void gf_onSimException(const SIMCONNECT_RECV* pData, DWORD cbData);
void gf_onSimObjectData(const SIMCONNECT_RECV* pData, DWORD cbData);
void gf_onUserTitle(const SIMCONNECT_RECV* pData, DWORD cbData);
void gf_onUserModel(const SIMCONNECT_RECV* pData, DWORD cbData);
void gf_onObjectsInRange(const SIMCONNECT_RECV* pData, DWORD cbData);

// Keeps the stand the user aircraft stands on free at the current park airport: called on
// FlightLoaded, on a new flight file and when the client thread ends.
void gf_reserveUserStand();

}  // namespace mrw
