#pragma once
// Reading the park airport's file for static parking (found, downloaded when archived, its learned
// file laid over it, its stands numbered with their overlaps), the user's own values of the eight
// per-airport settings around it, and the nearest stand of another airport's file. Main worker only.

#include <cstdint>
#include <optional>
#include <string>

#include "airports/learned_airport_files.h"
#include "foundation/fixed_code.h"
#include "foundation/lalo.h"

namespace mrw {

// The user's own values of the eight settings that an airport's learned file may change, taken
// before the learned file is read and put back when static parking leaves the airport.
struct UserParameterValues {
    std::int32_t maxLiveSel = 0;
    std::int32_t maxFit = 0;
    std::int32_t range = 0;
    std::int32_t parkingPercentage = 0;
    bool autoRange = false;
    bool initialLoadOnly = false;
    bool parkSoft = false;
    bool week = false;
};
// Empty until the first park airport's file is read.
inline std::optional<UserParameterValues> g_userParameterValues;

// Reads the park airport's file named by the reference (gf_apfFileName) into g_parkStands and info;
// the empty text on success, else the text to show. Throws UserErrorException 65 (no altitude), 93
// and 94 (bad stand ids) with the stands read so far left in g_parkStands.
std::string gf_readApf(const std::string& reference, ApfInfo& info);

// Puts back each of the user's own values that differs from the current one, saving it.
void gf_restoreUserParameters();

// Empties g_parkStands (its capacity stays) and forgets the learned stands kept aside.
void gf_clearStands();

// The distance in nautical miles from the position to the nearest stand of the airport's file, with
// that stand's id in `standId`; 100 (the id untouched) when there is no file, no stand within 100 nm
// or any failure.
double gf_readDestApfForClosestStand(FixedCode<4> code, const Lalo& position, std::string& standId);

}  // namespace mrw
