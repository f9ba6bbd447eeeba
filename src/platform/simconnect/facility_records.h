#pragma once
// Facility definitions (items such as "OPEN AIRPORT", "LATITUDE", "CLOSE AIRPORT") and the records
// of a facility-data answer.

#include <string>
#include <string_view>
#include <vector>

#include "platform/simconnect/sim_record.h"
#include "platform/simconnect/sim_world.h"

namespace standin {

// Whether `item` may follow the items already in a definition: a field of the open section, the
// opening of a section allowed there, or the closing of the open section.
bool gf_facilityItemFits(const std::vector<std::string>& items, std::string_view item);

// The answer to one request: the airport record, one per helipad, one per taxi parking (each only
// when its section is defined), then the end record. `nextUniqueId` numbers the records.
std::vector<SimRecord> gf_facilityAnswer(const std::vector<std::string>& items,
                                         const FacilityAirport& airport, DWORD requestId,
                                         DWORD& nextUniqueId);

}  // namespace standin
