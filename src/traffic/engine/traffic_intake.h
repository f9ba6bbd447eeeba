#pragma once
// The intake of RealTraffic's reports into the live aircraft. Main worker, g_trafficMutex held.

#include "traffic/model/traffic_report.h"

namespace mrw {

// A report of a known hexid adds a sample (unless thinned out); a new hexid may become a LiveAc.
void lf_takeTrafficReport(TrafficReport& report);
// For a new hexid: the database's designation for a listed registration; only a listed model goes on.
void lf_checkNewModel(TrafficReport& report);
// The category and altitude filters; appends the new LiveAc.
void lf_newLiveAc(TrafficReport& report);

}  // namespace mrw
