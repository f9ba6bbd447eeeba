#pragma once
// The way of a live aircraft in the air from where it is to its next sample: two circular arcs (a
// piece that does not turn is straight) that leave along its heading, pass through the sample and
// arrive there along a chosen heading. The nose follows the tangent of the way, so it always points
// along the track flown, and the bank is that of the arc. Main worker only.

#include <array>

#include "foundation/lalo.h"

namespace mrw {

// A piece of constant curvature, in metres east and north of the way's origin; headings in radians
// clockwise from north, curvature in 1/m (positive: turning right). The start heading's sine and
// cosine are kept with it: the aircraft's point on the arc needs them every tick.
struct AirArc {
    AirArc() = default;
    AirArc(double eastM, double northM, double heading, double curvatureInvM, double length);

    double startEastM = 0.0;
    double startNorthM = 0.0;
    double startHeading = 0.0;
    double startSin = 0.0;
    double startCos = 1.0;
    double curvature = 0.0;
    double lengthM = 0.0;
};

class AirPath {
  public:
    // The way from `from`, heading `headingRad`, to `to`, arriving along `arrivalRad`; none when no
    // two arcs join them (the arrival heading turned half round from the way there, for instance).
    static AirPath between(Lalo from, double headingRad, Lalo to, double arrivalRad);

    // The way from `from`, heading `headingRad`, along one arc of the curvature and length.
    static AirPath turning(Lalo from, double headingRad, double curvature, double lengthM);

    bool exists() const { return m_exists; }
    void clear() { *this = AirPath{}; }
    double lengthM() const { return m_arcs[0].lengthM + m_arcs[1].lengthM; }
    // The largest curvature on the way (1/m), 0 when it is straight.
    double sharpestCurvature() const;
    // The point and heading at a distance along the way; beyond its end the way goes on straight.
    void positionAt(double metres, Lalo& position, double& headingRad) const;
    // The heading alone, as positionAt gives it.
    double headingAt(double metres) const;

    double flownM = 0.0;   // how far along the way the aircraft is
    double stepM = 0.0;    // how far it moves per tick
    double crabRad = 0.0;  // the angle the nose is to hold off the way on this leg (into the wind)

  private:
    // The arc at a distance along the way, and the distance along that arc (its end at most).
    const AirArc& arcAt(double metres, double& alongM) const;

    Lalo m_origin;
    double m_metresPerDegreeEast = 111120.0;  // at the origin's latitude (a minute is a mile)
    std::array<AirArc, 2> m_arcs{};
    bool m_exists = false;
};

}  // namespace mrw
