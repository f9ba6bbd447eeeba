#pragma once
// Learned airport files: the uses and per-airport settings that static parking learned at an
// airport, laid over the airport's own file when it is read again.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "airports/stand.h"

namespace mrw {

// True while the park airport's stands come from a handmade learned file. Main worker only.
inline bool g_handmade = false;

// Learned stands of the park airport's learned file that match no stand of its airport file, kept
// as learned (no position) so that the next save writes them back. Main worker only.
inline std::vector<Stand> g_unmatchedLearnedStands;
// Set when the learned file could not be merged completely: the learned file is then not rewritten
// from the partial result. Main worker only.
inline bool g_learnedStandsIncomplete = false;

// What the reader of the park airport's file found out about the file.
struct ApfInfo {
    std::string airportName;
    std::string publisher;
    std::int32_t altitude = 0;  // feet
};

// Lays the learned file over g_parkStands, the eight per-airport settings and g_handmade. Every
// failure is logged; what was merged before it stays. Learned stands that match no stand of the
// airport are kept aside (gf_unmatchedLearnedStands) so that the next save writes them back.
void lf_readLearned(const std::filesystem::path& path, const ApfInfo& info);

}  // namespace mrw
