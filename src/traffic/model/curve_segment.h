#pragma once
// The ground path of a taxiing live aircraft: a quadratic Bezier curve in metres east and north of
// its origin. Main worker only.

#include <limits>

#include "foundation/lalo.h"

namespace mrw {

struct CurveSegment {
    static constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

    Lalo origin;                  // P0: the aircraft's position when the curve was built
    double t0 = kNone;            // parameter at P0
    double endNorthM = 0.0;       // P2, metres north of the origin
    double endEastM = 0.0;        // P2, metres east of the origin
    double t1 = kNone;            // parameter at P2
    double controlEastM = kNone;  // P1; NaN in either control value = no curve
    double controlNorthM = kNone;

    bool exists() const { return controlEastM == controlEastM && controlNorthM == controlNorthM; }
    // Writes "no curve"; the other fields keep their values.
    void clear() { t0 = t1 = controlEastM = controlNorthM = kNone; }

    // The point and tangent heading (radians) at parameter t; false when there is no curve.
    bool positionAt(double t, Lalo& position, double& headingRad) const;
    // The step of t from t that moves about `metres` along the curve, finite where the curve's speed
    // per unit of t vanishes (a cusp).
    double stepForMetres(double t, double metres) const;
    // The length in metres from t0 to t1 (a sum of short chords).
    double lengthM() const;

  private:
    // Metres per degree of longitude at the origin, kept with the origin's latitude it is of: the
    // curve is laid once and asked for a point every tick. NaN: none yet.
    mutable double m_eastScaleLatitude = kNone;
    mutable double m_metresPerDegreeEast = 0.0;
};

}  // namespace mrw
