#include <string_view>

#include <fmt/format.h>

#include "airports/airports_database.h"
#include "foundation/geometry.h"
#include "foundation/log.h"
#include "foundation/text_helpers.h"

namespace mrw {

namespace {

constexpr double kClosestAirportRangeNm = 5.0;
constexpr double kNoStandDistanceNm = 100.0;
constexpr double kMetresPerNm = 1852.0;

// Of two airports within range, the one whose nearest stand is nearer the position.
const Airport* lf_nearerByStands(const Airport& best, const Airport& neighbour, const Lalo& position,
                                 const NearestStandDistance& nearestStand) {
    gf_logLine(fmt::format("Airport {} is closest, neighbour is {}", best.code, neighbour.code));
    std::string bestStand;
    std::string neighbourStand;
    const double bestDistance = nearestStand(best.code, position, bestStand);
    const double neighbourDistance = nearestStand(neighbour.code, position, neighbourStand);
    if (neighbourDistance < bestDistance) {
        gf_logLine(fmt::format(
            "Airport {} is closest, but stand {} at neighbouring airport {} is closer at {:.0F} meters ...",
            best.code, neighbourStand, neighbour.code, neighbourDistance * kMetresPerNm));
        return &neighbour;
    }
    return &best;
}

}  // namespace

bool gf_isKnownAirport(FixedCode<4> code) {
    return g_knownAirportCodes.contains(code);
}

const Airport* gf_findAirport(FixedCode<4> code) {
    for (const auto& airport : g_airports) {
        if (airport.code == code) return &airport;
    }
    return nullptr;
}

const Airport* gf_closestAirport(const Lalo& position, const NearestStandDistance& nearestStand) {
    const Airport* best = nullptr;
    const Airport* neighbour = nullptr;
    double bestDistance = kNoStandDistanceNm;
    for (const auto& airport : g_airports) {
        const double distance = gf_distanceNm(position, airport.lalo());
        if (distance <= kClosestAirportRangeNm && distance < bestDistance) {
            if (best != nullptr) neighbour = best;
            best = &airport;
            bestDistance = distance;
        }
    }
    if (best == nullptr || neighbour == nullptr) return best;
    return lf_nearerByStands(*best, *neighbour, position, nearestStand);
}

IcaoCodeInText gf_icaoInText(std::string text) {
    for (char& c : text)
        c = gf_toUpperChar(c);
    // A group is a run of exactly four letters and digits between other characters or the text's
    // ends; one pass over the text (titles of thousands of codes stay linear).
    const auto isCodeChar = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); };
    IcaoCodeInText candidate;
    std::size_t position = 0;
    while (position < text.size()) {
        if (!isCodeChar(text[position])) {
            ++position;
            continue;
        }
        const std::size_t start = position;
        while (position < text.size() && isCodeChar(text[position]))
            ++position;
        if (position - start != 4) continue;
        const FixedCode<4> code(std::string_view(text).substr(start, 4));
        if (g_icaoAirportCodes.contains(code)) {
            if (gf_isKnownAirport(code)) return {code, true};
            candidate = {code, true};
        }
    }
    return candidate;
}

}  // namespace mrw
