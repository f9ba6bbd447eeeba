#include "traffic/model/step_track.h"

#include <cmath>

#include "traffic/motion/motion_math.h"

namespace mrw {

double StepTrack::taken(double latStep, double lonStep, double latDeg) {
    const double east = lonStep * kMetresPerDegree * std::cos(latDeg * kRadPerDeg);
    const double north = latStep * kMetresPerDegree;
    m_trackRad = gf_wrap2pi(std::atan2(east, north));
    m_latStep = latStep;
    m_lonStep = lonStep;
    return m_trackRad;
}

}  // namespace mrw
