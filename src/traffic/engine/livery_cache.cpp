#include "traffic/engine/livery_cache.h"

#include <fmt/format.h>

#include "aircraft/code_tables.h"
#include "foundation/log.h"
#include "foundation/message_line.h"
#include "foundation/run_state.h"
#include "foundation/user_error_exception.h"

namespace mrw {
std::optional<std::string> gf_cachedLiveryTitle(std::uint32_t hexid) {
    const auto cached = g_liveryOfHexid.find(hexid);
    if (cached == g_liveryOfHexid.end()) return std::nullopt;
    if (g_failedTitles().contains(cached->second)) {
        g_liveryOfHexid.erase(cached);
        return std::nullopt;
    }
    return cached->second;
}

void gf_liveryNotCreated(const AcProfile& profile) {
    if (!gf_stopping())
        gf_setMessage(
            fmt::format("{} '{}' could not be created by your Sim!", profile.callsign, profile.liveryTitle),
            true);
    g_failedTitles().emplace(profile.liveryTitle);
    g_failedDesignations().insert(fmt::format("{} {}", g_modelCodes().text(profile.designation.model),
                                              g_airlineCodes().text(profile.designation.airline)));
    if (g_failedTitles().size() < kFailedTitleLimit) return;
    constexpr std::string_view kTooMany = "There are too many liveries that could not be created!";
    gf_logLine(fmt::format("\n{}Error 81, {}\n", "===> ", kTooMany));
    throw UserErrorException(81, fmt::format("{}, see Log.txt", kTooMany));
}

void gf_clearNoMatch() {
    if (!g_noMatchSet.empty()) g_noMatchSet.clear();
}

void gf_logNoMatch() {
    if (g_noMatchSet.empty()) return;
    gf_logLine("\nNo match found for:");
    for (const std::string& key : g_noMatchSet)
        gf_logLine(key);
    gf_logLine("");
}

}  // namespace mrw
