#include "airports/quality_factors.h"

#include <algorithm>
#include <bitset>
#include <cstdint>

#include <fmt/format.h>

#include "airports/park_airport_data.h"
#include "foundation/text_helpers.h"

namespace mrw {

namespace {

// A score is rated against 16000 points: 10000 for having a use at all, up to
// 4000 for their number, 700 for their weekdays and 1200 for their half hours.
constexpr std::int64_t kFullScore = 16000;

// The score of one stand for one kind of use (real = 1 or soft = 0); 0 when it
// has no such use.
std::int64_t lf_standScore(const Stand& stand, std::int32_t real) {
    std::int64_t uses = 0;
    std::int64_t halfHours = 0;
    std::bitset<8> days;
    for (const auto& option : stand.options) {
        if (option.sequence == 0 || option.real != real) continue;
        ++uses;
        halfHours += static_cast<std::int64_t>(option.halfHours.count());
        if (option.day >= 1 && option.day <= 7) days.set(static_cast<std::size_t>(option.day));
    }
    if (uses == 0) return 0;
    return std::min<std::int64_t>(20 * uses, 4000) + 10000 + 100 * static_cast<std::int64_t>(days.count()) +
           2 * std::min<std::int64_t>(halfHours, 600);
}

std::int32_t lf_factor(std::int64_t sum, std::int64_t ratedStands) {
    return std::clamp(gf_percent(sum, kFullScore * ratedStands), 0, 100);
}

}  // namespace

QualityFactors gf_qualityFactors() {
    const bool anyUse = std::any_of(g_parkStands.begin(), g_parkStands.end(),
                                    [](const Stand& s) { return !s.options.empty(); });
    if (!anyUse) return {-1, -1};
    std::int64_t ratedStands = 0;
    std::int64_t sumReal = 0;
    std::int64_t sumSoft = 0;
    for (const auto& stand : g_parkStands) {
        if (stand.heli || stand.type == 12) continue;
        ++ratedStands;
        sumReal += lf_standScore(stand, 1);
        sumSoft += lf_standScore(stand, 0);
    }
    if (ratedStands == 0) return {0, 0};
    return {lf_factor(sumReal, ratedStands), lf_factor(sumSoft, ratedStands)};
}

std::string gf_qualityFactorText() {
    const auto [real, soft] = g_qualityFactors;
    if (real < 0 && soft < 0) return "  ";
    if (real < 45) return fmt::format("{:2}/{:2}", real, soft);
    return fmt::format("{:2}", real);
}

}  // namespace mrw
