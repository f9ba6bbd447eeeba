#pragma once
// Turning groups of codes (similar models, registration prefixes) into member -> peers entries.

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace mrw {

using CodeGroups = std::vector<std::vector<std::string>>;
using PeerEntry = std::pair<std::string, std::vector<std::string>>;

// For every member of every group: the member and the other members of its group (in group order)
// that `isPeer` accepts; members without such a peer give nothing. The entries come in ascending
// byte order of their texts "member,peer,peer..." with equal texts once, so that a caller that
// keeps the first entry of each member lets the text first in byte order win.
std::vector<PeerEntry> gf_groupPeers(const CodeGroups& groups,
                                     const std::function<bool(const std::string&)>& isPeer);

}  // namespace mrw
