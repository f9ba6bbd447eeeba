#pragma once
// The steps of the stand choice for live aircraft, for the tests. Main worker only.

#include <cstdint>
#include <string>

#include "airports/stand.h"
#include "foundation/lalo.h"
#include "traffic/model/aircraft_records.h"

namespace mrw {

// Search radius of a taxiing aircraft, and of one after a landing or born on the ground.
inline constexpr double kTaxiSearchNm = 0.010799136069114472;   // 20 m
inline constexpr double kBirthSearchNm = 0.029697624190064796;  // 55 m

// The nearest stand within the radius that takes the aircraft (or, too small, lies within 20 m);
// with `wide`, else a stand within 85 m with a real use of this aircraft. Never a helipad for a
// fixed-wing aircraft nor a stand for a rotorcraft. Other aircraft are not looked at.
Stand* lf_findStand(const Lalo& position, const LiveAc& aircraft, double searchRadiusNm, bool wide);
// Another live aircraft standing on the stand: true when the newcomer may take the stand (the other
// one is removed when it has to go).
bool lf_resolveStandConflict(std::int32_t standNumber, const std::string& callsign);
// Removes a live aircraft at the adjacent stand that the parking aircraft would touch.
void lf_removeAdjacentColliders(std::int32_t adjacentNumber, const LiveAc& aircraft, const Stand& stand);
// False when a live aircraft at the adjacent stand would touch the aircraft on the stand.
bool lf_checkStand(std::int32_t adjacentNumber, const LiveAc& aircraft, const Stand& stand);
// Removes (or withdraws) the static aircraft on the stand, and those next to it that would touch.
void lf_makeWay(const LiveAc& aircraft, const Stand& stand);
void lf_makeWayAtExcludedStand(const LiveAc& aircraft, std::int32_t adjacentNumber, const Stand& stand);

}  // namespace mrw
