#pragma once
// The per-category performance tables that gf_makeAcProfile copies into a profile, indexed by
// AcCategory (Light, Buzjets, Large, Heavy, HighPerf, Rotorcraft); every category has its entry.

#include <array>
#include <cstdint>
#include <numbers>

#include "aircraft/ac_category.h"

namespace mrw {

template <typename T>
using CategoryTable = std::array<T, kAcCategoryCount>;

// Heading change per tick, held in radians (0.15, 0.10, 0.07, 0.05, 0.10, 0.20 degrees).
inline constexpr CategoryTable<double> g_turnRatePerTick = {
    0.15 * std::numbers::pi / 180.0, 0.10 * std::numbers::pi / 180.0, 0.07 * std::numbers::pi / 180.0,
    0.05 * std::numbers::pi / 180.0, 0.10 * std::numbers::pi / 180.0, 0.20 * std::numbers::pi / 180.0};
inline constexpr CategoryTable<std::int32_t> g_flareTicks = {250, 300, 400, 450, 150, 100};
inline constexpr CategoryTable<std::int32_t> g_touchdownTicks = {250, 300, 350, 450, 150, 100};
inline constexpr CategoryTable<std::int32_t> g_rotationTicks = {100, 200, 200, 250, 100, 100};
inline constexpr CategoryTable<std::int32_t> g_climbPitchTicks = {200, 250, 300, 400, 200, 100};
// Degrees, negative = nose up.
inline constexpr CategoryTable<double> g_rotationPitchDeg = {-9.0, -8.0, -6.0, -5.0, -6.0, -20.0};
inline constexpr CategoryTable<double> g_climbPitchDeg = {-15.0, -18.0, -16.5, -12.5, -20.0, -30.0};

// How fast the speed may change, in m/s2: accelerating and decelerating in the air, accelerating on
// the ground (taxi and take-off roll) and braking on the ground (roll-out and stops).
struct SpeedChangeLimits {
    double airAccel = 0.0;
    double airDecel = 0.0;
    double groundAccel = 0.0;
    double groundBrake = 0.0;
};
inline constexpr CategoryTable<SpeedChangeLimits> g_speedChangeLimits = {{
    {1.0, 1.5, 2.0, 3.0},  // Light: a piston single, 0 to 60 kt in about 15 s on the runway
    {1.5, 2.0, 2.5, 3.0},  // Buzjets: a business jet, light and powerful, speed brakes
    {1.2, 1.5, 2.2, 3.0},  // Large: a narrow-body airliner, speed brakes, autobrake high
    {1.0, 1.2, 1.8, 2.5},  // Heavy: a wide-body airliner, slower to speed up and stop
    {5.0, 5.0, 5.0, 4.0},  // HighPerf: a fighter or aerobatic aircraft, thrust near its weight
    {2.0, 2.5, 2.0, 2.5},  // Rotorcraft: a helicopter tilts its rotor to speed up or slow down
}};

constexpr std::size_t gf_categorySlot(AcCategory category) {
    return static_cast<std::size_t>(category);
}

}  // namespace mrw
