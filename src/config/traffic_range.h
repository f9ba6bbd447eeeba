#pragma once
// The traffic range in force (RANGE in nautical miles and metres), the automatic range of
// AUTO_RANGE, and the two forms of the static-parking fit window (MAX_FIT in half hours, MAX_FIT_FL
// in hours). Called from the UI thread and the main worker.

#include <cstdint>
#include <optional>

#include "foundation/lalo.h"

namespace mrw {

// What the automatic range needs of the running flight: the user aircraft's on-ground state,
// altitude and position, and the first listed park airport. The traffic engine provides them; each
// stays unknown until it does.
struct AutoRangeInputs {
    std::optional<bool> userOnGround;
    std::optional<double> userAltitudeFeet;
    std::optional<Lalo> userPosition;
    std::optional<Lalo> firstParkAirport;
};
void gf_setAutoRangeInputs(const AutoRangeInputs& inputs);
AutoRangeInputs gf_autoRangeInputs();

// RANGE := n clamped to its limits, its combo entry selected when n is a choice; g_rangeNm and
// g_rangeMeters take n unchanged. Nothing is saved.
void gf_setRangeNm(std::int32_t nm);
// On: sets the automatic range. Off: sets the user's own range again (RANGE as parameters.xml holds
// it) and clears the message line. The RANGE combo box is enabled exactly when
// AUTO_RANGE is off.
void gf_applyAutoRange();
// The automatic range from the inputs; while the user aircraft's state is unknown the range stays.
void lf_autoRange();

// The hours that a MAX_FIT value of half hours stands for (0.5 to 24).
float gf_fitHoursOfIndex(std::int32_t halfHours);
// MAX_FIT_FL := the hours of MAX_FIT, selected in its combo box when they are one of its choices.
void gf_selectMaxFit();

}  // namespace mrw
