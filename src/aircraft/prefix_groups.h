#pragma once
// Registration prefixes that belong together (for example 'PH' and 'D'), from the aircraft
// database's section prefixes.

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace mrw {

// Prefix -> the other prefixes of its group. Built once while the database is read; afterwards
// only gf_prefixGroup reorders a peer vector, on the main worker.
std::unordered_map<std::string, std::vector<std::string>>& g_prefixPeers();

// Builds g_prefixPeers from g_prefixGroups; a prefix in several groups keeps the entry whose text
// is first in byte order.
void gf_buildPrefixGroups();
// The other members of the prefix's group, or an empty vector. With RANDOM on the stored vector is
// shuffled in place first, so its order changes from call to call. Main worker only.
const std::vector<std::string>& gf_prefixGroup(std::string_view prefix);

}  // namespace mrw
