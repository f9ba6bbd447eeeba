// RealTraffic's traffic datagrams as the Traffic Reader takes them, with the intake open, every
// position in range and a park airport, so that a record can go all the way to the queue.
#include <mutex>

#include "config/parameter_catalogue.h"
#include "fuzz_support.h"
#include "traffic/feed/traffic_reader.h"
#include "traffic/model/engine_containers.h"
#include "traffic/model/main_loop_state.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static mrw::TrafficReader& reader = []() -> mrw::TrafficReader& {
        mrwfuzz::enterProgramFolder();
        mrw::g_rangeNm = 100000.0;
        mrw::TrafficReader::referencePosition.store(mrw::Lalo{33.9425, -118.4081});
        mrw::TrafficReader::parkAirport.store(mrw::ParkAirportRef{{33.9425, -118.4081}, 125.0});
        mrw::TrafficReader::groundElevation.store(125.0);
        mrw::TrafficReader::collectCallsigns = true;
        const std::lock_guard lock(mrw::g_trafficMutex);
        mrw::g_injectionActive = true;
        return *new mrw::TrafficReader();  // never destroyed, as the program's reader
    }();
    reader.onDatagram(mrwfuzz::asText(data, size));
    return 0;
}
