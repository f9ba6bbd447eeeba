#pragma once
// The liveries the simulator refused to create, which livery matching never chooses again and the
// matching summary lists. Written by the traffic engine's livery cache (main worker only; no lock);
// never emptied while the process runs.

#include <cstddef>
#include <cstdint>
#include <functional>
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
