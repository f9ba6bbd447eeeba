#pragma once
// Live aircraft records and samples for the motion tests, and a reset of the engine state they use.

#include <cstdint>

#include "traffic/model/aircraft_records.h"

namespace mrw::test {

inline constexpr double kKlaxLat = 33.9425;
inline constexpr double kKlaxLon = -118.408;
inline constexpr double kKlaxElevationFt = 125.0;

// An "active" live aircraft of the category with the per-category profile values, at the position,
// heading north, on the ground or in the air by the altitude (0 = on the ground).
LiveAc gf_activeAircraft(AcCategory category, double lat, double lon, double altitudeFt = 0.0);

// A sample at the position; airborne when the altitude is above 0.
PositionSample gf_sample(double lat, double lon, std::int32_t dueTick, double groundSpeedKt = 0.0,
                         double altitudeFt = 0.0, double verticalRateFpm = 0.0);

// The point at a distance (metres) and bearing (degrees) from a position.
PositionSample gf_sampleAt(const PositionSample& from, double bearingDeg, double metres, std::int32_t dueTick,
                           double groundSpeedKt = 0.0, double altitudeFt = 0.0, double verticalRateFpm = 0.0);

// Empties the engine containers, stands and park airport, sets the engine tick and the parameters
// the motion code reads back to their defaults.
void gf_resetMotionState(std::int32_t tick = 100000);

// One engine tick of an active aircraft with samples, by the engine's own update (the next sample
// when the front one is due, the speeds, a step unless the front sample is stationary); its position
// update is dropped. The engine logs an exception thrown inside rather than passing it on.
void gf_updateActive(LiveAc& ac);

// Adds a stand to the park airport's list (number = its place) and returns its number.
std::int32_t gf_addParkStand(double lat, double lon, double headingDeg, double radiusMetres);

// Makes KLAX the park airport (elevation 125 ft).
void gf_setKlaxParkAirport();

}  // namespace mrw::test
