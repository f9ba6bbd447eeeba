#include "traffic/engine/aircraft_records.h"

namespace mrw {

// Moves the aircraft on to the next sample: it jumps to it.
void LiveAc::nextPosMain() {
    if (samples.size() > 1) samples.pop_front();
    const PositionSample& front = samples.front();
    simPosition.lat = front.lat;
    simPosition.lon = front.lon;
    simPosition.altitudeFt = front.altitudeFt;
}

void LiveAc::stepTick() {}

void LiveAc::decodeExisting(PositionSample& sample) {
    samples.push_back(sample);
}

}  // namespace mrw
