#pragma once
// The facility reader's dispatch, for its tests.

#include <cstdint>
#include <string>
#include <vector>

#include "airports/stand.h"
#include "platform/simconnect/simconnect.h"

namespace mrw {

// The state of one read; the dispatch callback fills it, the reader acts on it afterwards.
struct FacilityReadContext {
    std::string code;
    DWORD requestId = 0;
    DWORD sendId = 0;  // packet id of the request; 0 when unknown (then any exception record counts)
    double latitude = 0.0;
    double longitude = 0.0;
    double altitudeFeet = 0.0;
    std::string name;
    std::vector<Stand> stands;
    bool done = false;
    bool failed = false;  // the simulator answered with an exception record
};

void MRW_SIMCONNECT_CALL gf_onFacilityDispatch(SIMCONNECT_RECV* record, DWORD size, void* context);
// One facility-data record of the context's request; a record too short for its fields throws
// std::length_error.
void onRecvFacilityData(FacilityReadContext& context, const SIMCONNECT_RECV_FACILITY_DATA& record,
                        DWORD size);

}  // namespace mrw
