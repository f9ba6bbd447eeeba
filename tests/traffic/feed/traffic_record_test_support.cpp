#include "traffic/feed/traffic_record_test_support.h"

#include <mutex>

#include "aircraft/code_tables.h"
#include "config/parameter_catalogue.h"
#include "traffic/feed/traffic_reader.h"
#include "traffic/model/engine_containers.h"
#include "traffic/model/main_loop_state.h"

namespace mrwtest {

namespace {

mrw::TrafficReader& lf_reader() {
    static mrw::TrafficReader reader;
    return reader;
}

}  // namespace

std::string TrafficRecord::text() const {
    std::string text;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (i > 0) text += ',';
        text += field[i];
    }
    return text;
}

TrafficReaderState::TrafficReaderState() {
    reset();
}

TrafficReaderState::~TrafficReaderState() {
    reset();
}

void TrafficReaderState::reset() {
    using mrw::TrafficReader;
    mrw::g_modelCodes().resetForTests();
    mrw::gf_modelIndex("");
    {
        const std::lock_guard lock(mrw::g_trafficMutex);
        mrw::g_trafficIntake.renew();
        mrw::g_injectionActive = true;
    }
    mrw::g_rangeNm = 40.0;
    mrw::g_parameters().AIRBORNE_ONLY.current = false;
    TrafficReader::referencePosition.store(mrw::Lalo{kKlaxLat, kKlaxLon});
    TrafficReader::parkAirport.store(std::nullopt);
    TrafficReader::groundElevation.reset();
    TrafficReader::userAltitudes.store({});
    TrafficReader::collectCallsigns = false;
    mrw::g_liveCallsigns.clear();
    lf_reader().resetStartValues();
}

void TrafficReaderState::setKlaxParkAirport() {
    mrw::TrafficReader::parkAirport.store(mrw::ParkAirportRef{{kKlaxLat, kKlaxLon}, kKlaxElevationFt});
    mrw::TrafficReader::groundElevation.store(kKlaxElevationFt);
}

std::optional<mrw::TrafficReport> parseRecord(const std::string& datagram) {
    lf_reader().resetErrorLines();
    lf_reader().onDatagram(datagram);
    const std::lock_guard lock(mrw::g_trafficMutex);
    if (mrw::g_trafficReports.empty()) return std::nullopt;
    mrw::TrafficReport report = std::move(mrw::g_trafficReports.front());
    mrw::g_trafficReports.pop_front();
    return report;
}

}  // namespace mrwtest
