#pragma once
// What the livery choice has learned during the process: the livery titles the simulator refused to
// create and the model-and-airline texts of those refusals. Main worker only; no lock.
//
// Both sets hold their own copies of the texts, never views into the livery catalogue: they are
// never emptied while the process runs, and the catalogue may be emptied and rebuilt meanwhile.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>

namespace mrw {

// 64-bit FNV-1a over the text's bytes; transparent, so a set of strings is searched with a view.
struct Fnv1aTextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const {
        std::uint64_t h = 0xcbf29ce484222325ULL;
        for (char c : text) {
            h ^= static_cast<unsigned char>(c);
            h *= 0x100000001b3ULL;
        }
        return static_cast<std::size_t>(h);
    }
};

using TextSet = std::unordered_set<std::string, Fnv1aTextHash, std::equal_to<>>;

// Livery titles the simulator refused to create; livery matching never accepts one of them.
TextSet& g_failedTitles();
// "{model} {airline}" texts of the refused liveries (for example "B738 RYR"); listed by the matching
// summary.
TextSet& g_failedDesignations();

}  // namespace mrw
