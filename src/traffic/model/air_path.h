#pragma once
// The way of a live aircraft in the air from where it is to its next sample: two circular arcs (a
// piece that does not turn is straight) that leave along its heading, pass through the sample and
// arrive there along a chosen heading. The nose follows the tangent of the way, so it always points
// along the track flown, and the bank is that of the arc. Main worker only.

#include <array>
#include <limits>

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
    // Moves the aircraft `metres` on along the way from where it is (flownM): its new position, the
    // track there, and how far the track turned on the step (radians, positive right). It gives what
    // positionAt gives, but steps each arc by turning the direction of flight through the arc's angle
    // rather than taking sines and cosines of the heading: a tick moves every aircraft in the air.
    void advance(double metres, Lalo& position, double& trackRad, double& turnedRad);

    // The angle (radians) of a coordinated bank whose tangent is `tanBank`: worked out
    // again only when that changes by more than a millionth, which along an arc flown at a steady
    // pace it does not.
    double coordinatedBank(double tanBank);

    double flownM = 0.0;   // how far along the way the aircraft is
    double stepM = 0.0;    // how far it moves per tick
    double crabRad = 0.0;  // the angle the nose is to hold off the way on this leg (into the wind)

  private:
    // The arc at a distance along the way, and the distance along that arc (its end at most).
    const AirArc& arcAt(double metres, double& alongM) const;
    // Puts the aircraft at the start of arc m_arc, or at the way's end when no arc is left.
    void enterArc(std::size_t arc);

    Lalo m_origin;
    double m_metresPerDegreeEast = 111120.0;  // at the origin's latitude (a minute is a mile)
    std::array<AirArc, 2> m_arcs{};
    bool m_exists = false;
    // Where advance has brought the aircraft: the arc (2 beyond the end, straight on), how far along
    // it, the point in metres east and north of the origin and the direction of flight there.
    std::size_t m_arc = 0;
    double m_alongM = 0.0;
    double m_heading = 0.0;  // at the start of the arc, or along the straight beyond the end
    double m_eastM = 0.0;
    double m_northM = 0.0;
    double m_dirEast = 0.0;                                       // sine of the track
    double m_dirNorth = 1.0;                                      // cosine of the track
    double m_tanBank = std::numeric_limits<double>::quiet_NaN();  // of the last coordinatedBank
    double m_bank = 0.0;
};

}  // namespace mrw
