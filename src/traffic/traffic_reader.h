#pragma once
// The reader of RealTraffic's traffic datagrams (the Traffic Reader thread).

#include <atomic>

namespace mrw {

class TrafficReader {
  public:
    // Time stamp (seconds since 1970, UTC) of the newest accepted traffic record; 0 until the first
    // record of the run. Written by the Traffic Reader thread, read by the traffic clock elsewhere.
    static inline std::atomic<double> trafficTime{0.0};
};

}  // namespace mrw
