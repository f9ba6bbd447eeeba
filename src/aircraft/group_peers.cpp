#include "aircraft/group_peers.h"

#include "foundation/text_helpers.h"

#include <set>

namespace mrw {

std::vector<PeerEntry> gf_groupPeers(const CodeGroups& groups,
                                     const std::function<bool(const std::string&)>& isPeer) {
    std::set<std::string> texts;
    for (const auto& group : groups) {
        for (std::size_t i = 0; i < group.size(); ++i) {
            std::string text = group[i];
            for (std::size_t j = 0; j < group.size(); ++j) {
                if (j != i && isPeer(group[j])) text += "," + group[j];
            }
            if (text.find(',') != std::string::npos) texts.insert(std::move(text));
        }
    }
    std::vector<PeerEntry> entries;
    entries.reserve(texts.size());
    for (const auto& text : texts) {
        std::vector<std::string> parts = gf_splitComma(text);
        std::string member = std::move(parts.front());
        parts.erase(parts.begin());
        entries.emplace_back(std::move(member), std::move(parts));
    }
    return entries;
}

}  // namespace mrw
