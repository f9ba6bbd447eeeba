#pragma once
// One accepted RealTraffic traffic record, handed by value from the Traffic Reader thread to the
// engine through g_trafficReports.

#include <cstdint>

#include "traffic/model/aircraft_records.h"

namespace mrw {

struct TrafficReport {
    // The designation carries only the model index; the option callsigns are empty.
    AircraftIdentity identity;
    PositionSample sample;    // due 3000 ticks after receipt
    double reportTime = 0.0;  // the record's timestamp, seconds
    std::uint32_t hexid = 0;  // always above 10000
};

}  // namespace mrw
