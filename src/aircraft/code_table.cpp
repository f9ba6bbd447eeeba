#include "aircraft/code_table.h"

#include "foundation/log.h"

#include <fmt/format.h>

#include <mutex>

namespace mrw {

std::optional<CodeIndex> CodeTable::find(std::string_view code) const {
    std::shared_lock lock(mutex);
    const auto it = positions.find(code);
    if (it == positions.end()) return std::nullopt;
    return it->second;
}

CodeIndex CodeTable::intern(std::string_view code) {
    return internText(code, false);
}

CodeIndex CodeTable::internFromNetwork(std::string_view code) {
    return internText(code, true);
}

CodeIndex CodeTable::internText(std::string_view code, bool fromNetwork) {
    if (const auto index = find(code)) return *index;
    bool networkLimit = false;
    {
        std::unique_lock lock(mutex);
        // Another thread may have appended the same text between the two locks.
        if (const auto it = positions.find(code); it != positions.end()) return it->second;
        networkLimit = fromNetwork && networkCodes >= kMaxNetworkCodes;
        if (!networkLimit && texts.size() < kMaxCodes) {
            const auto index = static_cast<CodeIndex>(texts.size());
            positions.emplace(texts.emplace_back(code), index);
            if (fromNetwork) ++networkCodes;
            return index;
        }
    }
    if (networkLimit) {
        if (!networkLimitReported.exchange(true)) {
            gf_logError(
                fmt::format("The {} code table takes no more new codes from the network ({} came): "
                            "'{}' and later new ones are taken as unknown",
                            name, kMaxNetworkCodes, code.substr(0, 16)));
        }
    } else if (!fullReported.exchange(true)) {
        gf_logError(fmt::format("The {} code table is full ({} codes): '{}' and later new codes are ignored",
                                name, kMaxCodes, code));
    }
    return 0;
}

const std::string& CodeTable::text(CodeIndex index) const {
    static const auto* empty = new std::string();  // never destroyed: detached threads may print codes
    std::shared_lock lock(mutex);
    return index < texts.size() ? texts[index] : *empty;
}

std::size_t CodeTable::size() const {
    std::shared_lock lock(mutex);
    return texts.size();
}

void CodeTable::resetForTests() {
    std::unique_lock lock(mutex);
    positions.clear();
    texts.clear();
    loaded.store(false);
    fullReported.store(false);
    networkCodes = 0;
    networkLimitReported.store(false);
}

}  // namespace mrw
