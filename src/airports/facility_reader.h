#pragma once
// Reading an airport's stands from the simulator's facility data, over a SimConnect connection of
// its own ("PARKING_DATA_RDR"). The connection is opened by the first read of a scan and closed by
// the scan at its end. Main worker only.
//
// Each read uses a request id of its own, so records of an earlier read that failed are never taken
// for the current airport; a read ends when its end record arrives, when the time-out passes or
// when the run is stopping (the caller then tries the BGL file).

#include <chrono>
#include <functional>
#include <string_view>
#include <vector>

#include "airports/airport_file.h"
#include "airports/stand.h"

namespace mrw {

// Reads one airport into the file (name, altitude, stands; Facilities set); true when the data
// arrived, also with no stands. Throws UserErrorException 111 "restart" when the simulator answers
// the request with an exception record.
bool gf_readFacilityStands(std::string_view code, AirportFile& file, int& helipadCount);
// Adds facility definition 1001 to the open connection.
void gf_defineParkingFacility();
// Gives every stand its id: helipads "helipad1", "helipad2", ...; parkings their number, repeated
// numbers followed by a, b, ... z, aa, ab, ...
void gf_nameStands(std::vector<Stand>& stands, int& helipadCount);
// Closes the connection when it is open and marks it closed.
void gf_closeFacilityConnection();
bool gf_facilityConnectionOpen();

// How a read waits for its records: the longest wait for the end record, and what runs between
// two dispatch calls (a 1 ms sleep).
struct FacilityWait {
    std::chrono::milliseconds timeout{10000};
    std::function<void()> pause;
};
// Tests shorten the time-out and step the simulated simulator instead of sleeping; an empty pause
// restores the sleep.
void gf_setFacilityWaitForTests(FacilityWait wait);

}  // namespace mrw
