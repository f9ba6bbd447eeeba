#include "traffic/model/air_path.h"

#include <algorithm>
#include <cmath>

#include "traffic/motion/motion_math.h"

namespace mrw {

namespace {

// Metres per degree of latitude on the globe of the great-circle functions (a minute is a mile).
constexpr double kPathMetresPerDegree = 60 * kMetresPerNm;
// An arc turning by less than this (radians) is flown straight.
constexpr double kStraightRad = 1e-9;
// An arc whose end lies farther off its start heading than this would nearly close a circle.
constexpr double kWidestOffRad = 0.95 * kPi;

struct Vec {
    double east = 0.0;
    double north = 0.0;
};

Vec lf_direction(double heading) {
    return {std::sin(heading), std::cos(heading)};
}

double lf_metresPerDegreeEast(double latitude) {
    return std::cos(latitude * kRadPerDeg) * kPathMetresPerDegree;
}

double lf_dot(Vec a, Vec b) {
    return a.east * b.east + a.north * b.north;
}

// The point and heading at a distance along an arc.
void lf_along(const AirArc& arc, double metres, Vec& at, double& heading) {
    const double k = arc.curvature;
    heading = arc.startHeading + k * metres;
    if (std::fabs(k * metres) < kStraightRad) {
        at = {arc.startEastM + arc.startSin * metres, arc.startNorthM + arc.startCos * metres};
        return;
    }
    at = {arc.startEastM + (arc.startCos - std::cos(heading)) / k,
          arc.startNorthM + (std::sin(heading) - arc.startSin) / k};
}

// The arc from a point along a heading through another point (it turns by twice the angle between
// the heading and the chord); false when the end lies too far behind the start heading.
bool lf_arcTo(Vec from, double heading, Vec to, AirArc& arc) {
    const Vec chord{to.east - from.east, to.north - from.north};
    const double length = std::hypot(chord.east, chord.north);
    arc = AirArc(from.east, from.north, heading, 0.0, length);
    if (length == 0) return true;
    const double off = gf_wrapPi(std::atan2(chord.east, chord.north) - heading);
    if (std::fabs(off) > kWidestOffRad) return false;
    if (std::fabs(off) < kStraightRad) return true;
    arc.curvature = 2 * std::sin(off) / length;
    arc.lengthM = 2 * off / arc.curvature;
    return true;
}

// The distance of the joint's control points from both ends of a biarc with equal tangent lengths:
// the root of denom d^2 + 2 (v.t) d - v.v = 0, t the sum of the end tangents, denom 2 (1 - t0.t1).
double lf_tangentLength(Vec v, Vec t0, Vec t1) {
    const Vec t{t0.east + t1.east, t0.north + t1.north};
    const double b = lf_dot(v, t);
    const double vv = lf_dot(v, v);
    const double denom = 2 * (1 - lf_dot(t0, t1));
    if (denom < 1e-12) return b > 0 ? vv / (2 * b) : -1.0;
    return (-b + std::sqrt(b * b + denom * vv)) / denom;
}

// Below this angle (radians) a turn's sine and cosine are taken from their series: a tick's step
// on an arc turns by far less, and the series is then exact to the last bit or two.
constexpr double kSeriesLimitRad = 0.05;

// Turns a direction (sine and cosine of its heading) by an angle, positive clockwise.
void lf_turn(double& dirEast, double& dirNorth, double angle) {
    double sinA = 0;
    double cosA = 0;
    if (std::fabs(angle) < kSeriesLimitRad) {
        const double a2 = angle * angle;
        sinA = angle * (1 - a2 / 6 * (1 - a2 / 20));
        cosA = 1 - a2 / 2 * (1 - a2 / 12 * (1 - a2 / 30));
    } else {
        sinA = std::sin(angle);
        cosA = std::cos(angle);
    }
    const double east = dirEast * cosA + dirNorth * sinA;
    dirNorth = dirNorth * cosA - dirEast * sinA;
    dirEast = east;
}

// The chord of an arc over its length (sin(x/2) / (x/2)), x the angle the arc turns by.
double lf_chordShare(double angle) {
    if (std::fabs(angle) >= kSeriesLimitRad) return std::sin(angle / 2) / (angle / 2);
    const double h2 = angle * angle / 4;
    return 1 - h2 / 6 * (1 - h2 / 20);
}

}  // namespace

AirArc::AirArc(double eastM, double northM, double heading, double curvatureInvM, double length)
    : startEastM(eastM),
      startNorthM(northM),
      startHeading(heading),
      startSin(std::sin(heading)),
      startCos(std::cos(heading)),
      curvature(curvatureInvM),
      lengthM(length) {}

AirPath AirPath::between(Lalo from, double headingRad, Lalo to, double arrivalRad) {
    AirPath path;
    path.m_origin = from;
    path.m_metresPerDegreeEast = lf_metresPerDegreeEast(from.latitude);
    const Vec end{
        gf_wrapPi((to.longitude - from.longitude) * kRadPerDeg) * kDegPerRad * path.m_metresPerDegreeEast,
        (to.latitude - from.latitude) * kPathMetresPerDegree};
    const Vec t0 = lf_direction(headingRad);
    const Vec t1 = lf_direction(arrivalRad);
    const double d = lf_tangentLength(end, t0, t1);
    if (!(d > 0 && std::isfinite(d))) return path;
    const Vec joint{(t0.east * d + end.east - t1.east * d) / 2,
                    (t0.north * d + end.north - t1.north * d) / 2};
    if (!lf_arcTo({0, 0}, headingRad, joint, path.m_arcs[0])) return path;
    Vec at;
    double jointHeading = 0;
    lf_along(path.m_arcs[0], path.m_arcs[0].lengthM, at, jointHeading);
    if (!lf_arcTo(joint, jointHeading, end, path.m_arcs[1])) return path;
    path.m_exists = true;
    path.enterArc(0);
    return path;
}

AirPath AirPath::turning(Lalo from, double headingRad, double curvature, double lengthM) {
    AirPath path;
    path.m_origin = from;
    path.m_metresPerDegreeEast = lf_metresPerDegreeEast(from.latitude);
    path.m_arcs[0] = AirArc(0.0, 0.0, headingRad, curvature, lengthM);
    Vec end;
    double endHeading = 0;
    lf_along(path.m_arcs[0], lengthM, end, endHeading);
    path.m_arcs[1] = AirArc(end.east, end.north, endHeading, 0.0, 0.0);
    path.m_exists = true;
    path.enterArc(0);
    return path;
}

double AirPath::sharpestCurvature() const {
    return std::max(std::fabs(m_arcs[0].curvature), std::fabs(m_arcs[1].curvature));
}

const AirArc& AirPath::arcAt(double metres, double& alongM) const {
    if (metres <= m_arcs[0].lengthM) {
        alongM = metres;
        return m_arcs[0];
    }
    alongM = std::min(metres - m_arcs[0].lengthM, m_arcs[1].lengthM);
    return m_arcs[1];
}

void AirPath::positionAt(double metres, Lalo& position, double& headingRad) const {
    double along = 0;
    const AirArc& arc = arcAt(metres, along);
    Vec at;
    lf_along(arc, along, at, headingRad);
    const double beyond = metres - lengthM();
    if (beyond > 0) {
        const Vec d = lf_direction(headingRad);
        at = {at.east + d.east * beyond, at.north + d.north * beyond};
    }
    headingRad = gf_wrap2pi(headingRad);
    position.latitude = m_origin.latitude + at.north / kPathMetresPerDegree;
    position.longitude = m_origin.longitude + at.east / m_metresPerDegreeEast;
}

void AirPath::enterArc(std::size_t arc) {
    m_arc = arc;
    m_alongM = 0;
    Vec at;
    if (arc < m_arcs.size()) {
        const AirArc& a = m_arcs[arc];
        at = {a.startEastM, a.startNorthM};
        m_heading = a.startHeading;
        m_dirEast = a.startSin;
        m_dirNorth = a.startCos;
    } else {
        const AirArc& last = m_arcs.back();
        lf_along(last, last.lengthM, at, m_heading);
        m_dirEast = std::sin(m_heading);
        m_dirNorth = std::cos(m_heading);
    }
    m_eastM = at.east;
    m_northM = at.north;
}

void AirPath::advance(double metres, Lalo& position, double& trackRad, double& turnedRad) {
    flownM += metres;
    turnedRad = 0;
    double left = metres;
    while (m_arc < m_arcs.size() && left >= m_arcs[m_arc].lengthM - m_alongM) {
        // The rest of this arc, then the next from its own exact start, so no rounding carries over.
        const AirArc& arc = m_arcs[m_arc];
        left -= arc.lengthM - m_alongM;
        turnedRad += arc.curvature * (arc.lengthM - m_alongM);
        enterArc(m_arc + 1);
    }
    const double k = m_arc < m_arcs.size() ? m_arcs[m_arc].curvature : 0.0;
    const double angle = k * left;
    lf_turn(m_dirEast, m_dirNorth, angle / 2);
    const double chord = left * lf_chordShare(angle);
    m_eastM += m_dirEast * chord;
    m_northM += m_dirNorth * chord;
    lf_turn(m_dirEast, m_dirNorth, angle / 2);
    m_alongM += left;
    turnedRad += angle;
    trackRad = gf_wrap2pi(m_heading + k * m_alongM);
    position.latitude = m_origin.latitude + m_northM / kPathMetresPerDegree;
    position.longitude = m_origin.longitude + m_eastM / m_metresPerDegreeEast;
}

double AirPath::coordinatedBank(double tanBank) {
    // A tolerance relative to the last value: the pace is worked out anew every tick and differs in
    // its last bits.
    constexpr double kSameShare = 1e-6;
    if (!(std::fabs(tanBank - m_tanBank) <= kSameShare * std::fabs(m_tanBank))) {
        m_tanBank = tanBank;
        m_bank = std::atan(tanBank);
    }
    return m_bank;
}

}  // namespace mrw
