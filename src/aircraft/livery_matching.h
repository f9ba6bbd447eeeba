#pragma once
// Livery matching: the choice of a livery title for a live or a static aircraft, in numbered steps
// from its registration down to any livery of a model of its category. MATCHING_DEPTH (1 to 4)
// limits how far it goes; RANDOM decides whether a choice among several titles is random or the
// first. Main worker only; reads the catalogue, the registration-code store and the similar-model
// tables without a lock (they do not change while a run is active).
//
// Steps: 0 unique registration, 1 registration, 2 airline and model, 3 similar model, 4 generic
// ("ZZZ", also the first try of a private aircraft), 5 the model's pool, 6 the pool of a similar
// model or of a model of the category.

#include <array>
#include <cstdint>

#include "aircraft/ac_profile.h"

namespace mrw {

class Stand;

inline constexpr int kMatchStepCount = 7;

// Accepted live matches per step since the process started; never reset. Main worker only.
inline std::array<std::int32_t, kMatchStepCount> g_matchStepCounts{};

// Sets liveryTitle to the chosen title, or leaves it empty when nothing matches. An accepted title
// is counted, logged, and sets fsltlLivery. For an aircraft without a title.
void gf_matchLiveAcLivery(AcProfile& aircraft);
// Keeps a title the aircraft already has; otherwise matches as above, without counting and without
// touching fsltlLivery, with the stand's cargo flag preferring cargo liveries for the generic tries.
// True with liveryTitle set; false (and a "no livery match" line) with it empty.
bool gf_matchStaticAcLivery(AcProfile& aircraft, const Stand& stand);

}  // namespace mrw
