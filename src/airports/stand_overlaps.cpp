#include "airports/stand_overlaps.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <unordered_map>

#include "foundation/geometry.h"

namespace mrw {

namespace {

// Twice the earth radius in nautical miles, as the distance function uses it.
constexpr double kEarthDiameterNm = 6875.493541569878;
// No real stand comes near this radius; larger (or non-finite) radii are compared with every stand.
constexpr double kLargeRadiusNm = 0.5;

bool lf_overlap(const Stand& p, const Stand& q) {
    return p.radius + q.radius > 1.1 * gf_distanceNm({p.latitude, p.longitude}, {q.latitude, q.longitude});
}

// A point on the unit sphere: its chord distance to another is never more than the arc, so cells
// of the largest overlap distance (as a chord) hold every overlapping pair in neighbouring cells,
// near the poles and across the date line alike.
std::array<double, 3> lf_unitVector(const Stand& stand) {
    const double lat = stand.latitude * std::numbers::pi / 180.0;
    const double lon = stand.longitude * std::numbers::pi / 180.0;
    return {std::cos(lat) * std::cos(lon), std::cos(lat) * std::sin(lon), std::sin(lat)};
}

using Cell = std::array<std::int64_t, 3>;

struct CellHash {
    std::size_t operator()(const Cell& cell) const {
        std::uint64_t hash = 1469598103934665603ULL;
        for (const std::int64_t v : cell)
            hash = (hash ^ static_cast<std::uint64_t>(v)) * 1099511628211ULL;
        return static_cast<std::size_t>(hash);
    }
};

bool lf_isLarge(const Stand& stand) {
    return !(stand.radius <= kLargeRadiusNm);
}

}  // namespace

void gf_findStandOverlaps(std::vector<Stand>& stands) {
    for (Stand& stand : stands)
        stand.overlaps.clear();
    std::vector<std::size_t> large;
    double maxRadius = 0;
    for (std::size_t i = 0; i < stands.size(); ++i) {
        if (lf_isLarge(stands[i])) {
            large.push_back(i);
        } else {
            maxRadius = std::max(maxRadius, stands[i].radius);
        }
    }
    // A distance below 2 * maxRadius / 1.1 nm, as a chord of the unit sphere, with a margin for rounding.
    const double cellSize = std::max(2.0 * (2.0 * maxRadius / 1.1) / kEarthDiameterNm * 1.001, 1e-12);
    std::unordered_map<Cell, std::vector<std::size_t>, CellHash> cells;
    std::vector<Cell> cellOf(stands.size());
    for (std::size_t i = 0; i < stands.size(); ++i) {
        if (lf_isLarge(stands[i])) continue;
        const std::array<double, 3> v = lf_unitVector(stands[i]);
        for (std::size_t axis = 0; axis < 3; ++axis)
            cellOf[i][axis] = static_cast<std::int64_t>(std::floor(v[axis] / cellSize));
        cells[cellOf[i]].push_back(i);
    }
    for (std::size_t i = 0; i < stands.size(); ++i) {
        Stand& p = stands[i];
        const auto consider = [&](std::size_t j) {
            if (j != i && lf_overlap(p, stands[j])) p.overlaps.push_back(stands[j].number);
        };
        if (lf_isLarge(p)) {
            for (std::size_t j = 0; j < stands.size(); ++j)
                consider(j);
        } else {
            for (std::int64_t dx = -1; dx <= 1; ++dx)
                for (std::int64_t dy = -1; dy <= 1; ++dy)
                    for (std::int64_t dz = -1; dz <= 1; ++dz) {
                        const auto found =
                            cells.find({cellOf[i][0] + dx, cellOf[i][1] + dy, cellOf[i][2] + dz});
                        if (found == cells.end()) continue;
                        for (const std::size_t j : found->second)
                            consider(j);
                    }
            for (const std::size_t j : large)
                consider(j);
        }
        std::sort(p.overlaps.begin(), p.overlaps.end());
        p.overlaps.shrink_to_fit();
    }
}

}  // namespace mrw
