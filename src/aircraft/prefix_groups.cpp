#include "aircraft/prefix_groups.h"

#include "aircraft/aircraft_database.h"
#include "aircraft/group_peers.h"
#include "config/random_helpers.h"

#include <cstdint>
#include <numeric>

namespace mrw {

namespace {

// Shuffles the texts with the permutation that gf_shuffle draws, so RANDOM gates it the same way.
void lf_shuffleTexts(std::vector<std::string>& texts) {
    std::vector<std::uint16_t> order(texts.size());
    std::iota(order.begin(), order.end(), std::uint16_t{0});
    gf_shuffle(order);
    std::vector<std::string> shuffled;
    shuffled.reserve(texts.size());
    for (const std::uint16_t i : order)
        shuffled.push_back(std::move(texts[i]));
    texts = std::move(shuffled);
}

}  // namespace

std::unordered_map<std::string, std::vector<std::string>>& g_prefixPeers() {
    static auto* peers = new std::unordered_map<std::string, std::vector<std::string>>();  // never destroyed
    return *peers;
}

void gf_buildPrefixGroups() {
    for (auto& [prefix, peers] : gf_groupPeers(g_prefixGroups(), [](const std::string&) { return true; })) {
        g_prefixPeers().try_emplace(std::move(prefix), std::move(peers));
    }
}

const std::vector<std::string>& gf_prefixGroup(std::string_view prefix) {
    static const auto* none = new std::vector<std::string>();  // never destroyed
    auto& peers = g_prefixPeers();
    const auto it = peers.find(std::string(prefix));
    if (it == peers.end()) return *none;
    lf_shuffleTexts(it->second);
    return it->second;
}

}  // namespace mrw
