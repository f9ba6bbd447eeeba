#pragma once
// The user aircraft as the SimConnect client learns it: its data (definition 403), its on-ground
// state and its half span. The client thread writes the received record and the flags; the main
// worker keeps its own copy of the record.

#include <atomic>
#include <cstdint>

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
    std::int64_t zuluTime = 0;
    std::int64_t zuluDayOfYear = 0;
    std::int64_t zuluYear = 0;
    std::int64_t lightStates = 0;
};
static_assert(sizeof(UserAcData) == 104);

// The last answer of the simulator (client thread) and the main worker's copy.
inline UserAcData g_userAcDataRecv;
inline UserAcData g_userAcData;

// The user aircraft is on the ground (each simulator second).
inline std::atomic<bool> g_userOnGround{false};
// An on-ground answer arrived while the user position was known.
inline std::atomic<bool> g_userDataReceived{false};
// Half wing span of the user aircraft's model, nautical miles.
inline std::atomic<double> g_userHalfSpanNm{0.0};

}  // namespace mrw
