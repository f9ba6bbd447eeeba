#pragma once
// What the livery choice has learned: the livery each live hexid got (so a re-created aircraft
// keeps it), the livery titles the simulator refused to create and the model-and-airline texts of
// those refusals, and the aircraft requests that found no livery. Main worker only; no lock.
//
// Every container holds its own copies of the texts, never views into the livery catalogue: the
// catalogue may be emptied and rebuilt while they still hold entries (the refusals are never
// emptied while the process runs).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "aircraft/failed_liveries.h"
#include "traffic/model/aircraft_records.h"

namespace mrw {

// 64-bit FNV-1a over the four bytes of a hexid, least significant first.
struct Fnv1aHexidHash {
    std::size_t operator()(std::uint32_t hexid) const {
        std::uint64_t h = 0xcbf29ce484222325ULL;
        for (int i = 0; i < 4; ++i) {
            h ^= (hexid >> (8 * i)) & 0xFFu;
            h *= 0x100000001b3ULL;
        }
        return static_cast<std::size_t>(h);
    }
};

using HexidLiveryMap = std::unordered_map<std::uint32_t, std::string, Fnv1aHexidHash>;

// The livery title each live hexid got. Emptied at the run end, every 86400 beats and by the engine
// reset.
inline HexidLiveryMap g_liveryOfHexid = [] {
    HexidLiveryMap map(8);
    map.max_load_factor(1.0f);
    return map;
}();
// Keys of the aircraft requests that found no livery; such a request is not matched again.
inline TextSet g_noMatchSet = [] {
    TextSet set(8);
    set.max_load_factor(1.0f);
    return set;
}();

// Refusals over the process life at which the run ends.
inline constexpr std::size_t kFailedTitleLimit = 20;

// The title cached for the hexid; none when there is none, or when the simulator has refused that
// title since (the entry is then forgotten, so the next spawn chooses anew).
std::optional<std::string> gf_cachedLiveryTitle(std::uint32_t hexid);

// The simulator refused to create the aircraft's livery: the message "{callsign} '{title}' could not
// be created by your Sim!" (not while the run is stopping), the title and the "{model} {airline}"
// text recorded. At the 20th distinct title: the error line and UserErrorException 81.
void gf_liveryNotCreated(const AcProfile& profile);

// Empties g_noMatchSet.
void gf_clearNoMatch();
// Writes g_noMatchSet to Log.txt under "No match found for:"; nothing when it is empty.
void gf_logNoMatch();

}  // namespace mrw
