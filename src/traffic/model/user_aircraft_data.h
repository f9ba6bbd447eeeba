#pragma once
// The user aircraft as the SimConnect client learns it: its data (definition 403), its on-ground
// state and its half span. The client thread writes the received record and the flags; the main
// worker keeps its own copy of the record.

#include <atomic>
#include <cstdint>

#include "foundation/thread_safety.h"

namespace mrw {

struct UserAcData {
    double latitude = 0.0;  // degrees
    double longitude = 0.0;
    double pitch = 0.0;  // radians
    double bank = 0.0;
    double heading = 0.0;  // true
    double altitudeFt = 0.0;
    double indicatedAltitudeFt = 0.0;
    double altitudeAboveGroundFt = 0.0;
    double groundVelocityKt = 0.0;
    std::int64_t zuluTime = 0;       // seconds of the day
    std::int64_t zuluDayOfYear = 0;  // 1 to 366
    std::int64_t zuluYear = 0;
    std::int64_t lightStates = 0;  // mask
};
static_assert(sizeof(UserAcData) == 104);

// The last answer to request 109 (all zeros until the first). Written by the client thread and
// copied whole by the other threads, both under g_userAcDataRecvMutex, a leaf lock (nothing else is
// taken while it is held), so a copy never mixes two answers: use the two functions below.
inline Mutex g_userAcDataRecvMutex;
inline UserAcData g_userAcDataRecv GUARDED_BY(g_userAcDataRecvMutex);
UserAcData gf_userAcDataRecv() EXCLUDES(g_userAcDataRecvMutex);
void gf_setUserAcDataRecv(const UserAcData& data) EXCLUDES(g_userAcDataRecvMutex);

// The main worker's copy (g_userAcData = gf_getUserAcData()). Main worker only.
inline UserAcData g_userAcData;

// The user aircraft is on the ground (each simulator second).
inline std::atomic<bool> g_userOnGround{false};
// An on-ground answer arrived while the user position was known.
inline std::atomic<bool> g_userDataReceived{false};
// Half wing span of the user aircraft's model, nautical miles.
inline std::atomic<double> g_userHalfSpanNm{0.0};

// The user position is known once the latitude or the longitude is more than 0.0001 from 0.
bool gf_userPositionKnown(double latitude, double longitude);
bool gf_userPositionKnown(const UserAcData& data);

}  // namespace mrw
