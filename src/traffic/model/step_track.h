#pragma once
// The direction of a live aircraft's straight step per tick. The step is set once per leg, its
// direction asked for at every tick on the ground: it is kept with the step it was taken of, at the
// latitude where that step was first asked about (over a leg the latitude changes far too little to
// turn it by more than a hundredth of a degree). Main worker only.

#include <limits>

namespace mrw {

class StepTrack {
  public:
    // The direction (radians, [0, 2 pi)) of a step of latStep and lonStep degrees (not both 0)
    // taken at latDeg, or at the latitude of the step's first question. The kept answer inline: it
    // is asked for at every tick.
    double of(double latStep, double lonStep, double latDeg) {
        if (latStep == m_latStep && lonStep == m_lonStep) return m_trackRad;
        return taken(latStep, lonStep, latDeg);
    }

  private:
    // Takes and keeps the direction of a new step.
    double taken(double latStep, double lonStep, double latDeg);

    static constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

    double m_latStep = kNone;  // the step the direction is of; NaN: none yet
    double m_lonStep = kNone;
    double m_trackRad = 0.0;
};

}  // namespace mrw
