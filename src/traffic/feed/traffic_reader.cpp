#include "traffic/feed/traffic_reader.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <numbers>
#include <stdexcept>
#include <utility>

#include <fmt/format.h>

#include "aircraft/aircraft_texts.h"
#include "aircraft/code_tables.h"
#include "config/parameter_catalogue.h"
#include "foundation/geometry.h"
#include "foundation/log.h"
#include "foundation/network_text.h"
#include "foundation/text_helpers.h"
#include "foundation/thread_safety.h"
#include "foundation/window_model.h"
#include "traffic/feed/traffic_record_checks.h"
#include "traffic/model/engine_containers.h"
#include "traffic/model/main_loop_state.h"

namespace mrw {

namespace {

// The record's fields that the program reads.
enum Field : std::size_t {
    kHexid = 1,
    kLat = 2,
    kLon = 3,
    kAltitude = 4,
    kVerticalRate = 5,
    kTrack = 7,
    kGroundSpeed = 8,
    kCallsign = 9,
    kType = 10,
    kRegistration = 11,
    kOrigin = 12,
    kDestination = 13,
    kTimestamp = 14,
    kSource = 17,
    kTrueAirspeed = 20,
    kRoll = 23,
    kTrueHeading = 25,
    kEmitterCategory = 28,
};

constexpr std::size_t kReservedFields = 64;
constexpr std::int32_t kReportDelayTicks = 3000;
constexpr std::uint32_t kLastStaticNumber = 10000;
constexpr std::size_t kMaxRegistrationLength = 12;
constexpr std::size_t kMaxOddRouteHexids = 4096;
constexpr double kNearZeroDeg = 0.0001;
constexpr double kParkAirportRadiusNm = 5.0;
constexpr double kDegToRad = std::numbers::pi / 180.0;
constexpr double kRadToDeg = 57.29577951308232;

// A finite number at the start of the text (from_chars general format; what follows is ignored).
// "nan", "inf" and values out of range give nothing.
std::optional<double> lf_number(std::string_view text) {
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || !std::isfinite(value)) return std::nullopt;
    return value;
}

// A number field whose format error is "{name}:{text}".
double lf_namedNumber(std::string_view text, std::string_view name) {
    if (const auto value = lf_number(text)) return *value;
    throw std::runtime_error(fmt::format("{}:{}", name, gf_quotedNetworkText(text)));
}

// A number field whose format error is the message followed directly by the field's text.
double lf_number(std::string_view text, std::string_view message) {
    if (const auto value = lf_number(text)) return *value;
    throw std::runtime_error(fmt::format("{}{}", message, gf_quotedNetworkText(text)));
}

// "adsb_icao", optionally after a one-letter provider code and '_' ("F_adsb_icao").
bool lf_isAdsbSource(std::string_view source) {
    constexpr std::string_view kAdsb = "adsb_icao";
    if (source == kAdsb) return true;
    if (source.size() != kAdsb.size() + 2 || source.substr(2) != kAdsb || source[1] != '_') return false;
    const char provider = source[0];
    return (provider >= 'A' && provider <= 'Z') || (provider >= 'a' && provider <= 'z');
}

std::uint32_t lf_hexid(std::string_view text) {
    std::uint32_t hexid = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), hexid);
    if (error != std::errc{})
        throw std::runtime_error(fmt::format("hexid incorrect{}", gf_quotedNetworkText(text)));
    return hexid;
}

// The true airspeed to assume when the record has none.
double lf_defaultTrueAirspeed(double altitudeFt) {
    if (altitudeFt <= 2000.0) return 180.0;
    if (altitudeFt <= 5000.0) return 220.0;
    if (altitudeFt <= 10000.0) return 250.0;
    if (altitudeFt <= 20000.0) return 350.0;
    return 430.0;
}

// Bounded, so that memory stays flat whatever arrives: a text longer than a real callsign is none,
// and a flood of made-up callsigns stops at kMaxCollectedCallsigns.
void lf_collectCallsign(std::string_view field) {
    std::string callsign = gf_trim(field);
    if (callsign == "null" || callsign.empty() || callsign.size() > kMaxCallsignLength ||
        callsign.find('@') != std::string::npos) {
        return;
    }
    MutexLock lock(TrafficReader::callsignsMutex);
    if (TrafficReader::callsigns.size() < TrafficReader::kMaxCollectedCallsigns)
        TrafficReader::callsigns.insert(std::move(callsign));
}

bool lf_isRouteCode(std::string_view text) {
    if (text.size() != 3) return false;
    for (const char c : text) {
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))) return false;
    }
    return true;
}

}  // namespace

TrafficReader::TrafficReader() {
    fields.reserve(kReservedFields);
}

void TrafficReader::onDatagram(std::string_view datagram) {
    if (datagram.find(" VEH") != std::string_view::npos) return;
    fields.clear();
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = datagram.find(',', start);
        if (comma == std::string_view::npos) break;
        fields.push_back(datagram.substr(start, comma - start));
        start = comma + 1;
    }
    fields.push_back(datagram.substr(start));
    m_record = datagram;
    processLineSub();
}

void TrafficReader::onStopped() {
    g_mainWindow().trafficReaderStatus = ReaderStatus::Stopped;
    gf_invalidateStatusBand();
    gf_logLine("Traffic Reader has stopped");
}

void TrafficReader::processLineSub() {
    // Parked-traffic records, the older short form and buffer records carry fewer fields: dropped
    // before any field is read.
    if (fields.size() < kFieldCount) return;
    try {
        processFields();
    } catch (const std::exception& e) {
        m_errorLines.write(fmt::format("exception in processLineSub: {}", e.what()));
    }
}

void TrafficReader::processFields() {
    const double reportTime = lf_namedNumber(fields[kTimestamp], "timestamp");
    // The time stamp becomes the program's clock: one off the calendar would stop it.
    if (!gf_isCalendarTime(reportTime))
        throw std::runtime_error(fmt::format("timestamp out of range: {}", reportTime));
    trafficTime = reportTime;

    PositionSample sample;
    sample.lat = lf_namedNumber(fields[kLat], "lat");
    sample.lon = lf_namedNumber(fields[kLon], "lon");
    const Lalo position{sample.lat, sample.lon};
    if (!(sample.lat >= -90.0 && sample.lat <= 90.0 && sample.lon >= -180.0 && sample.lon <= 180.0) ||
        (std::fabs(sample.lat) <= kNearZeroDeg && std::fabs(sample.lon) <= kNearZeroDeg)) {
        throw std::runtime_error(fmt::format("invalid lalo: {}", lf_laloText(position)));
    }
    if (gf_distanceNm(referencePosition.load(), position) > g_rangeNm.load()) return;

    // Older records carry blanks around the registration and callsign (" N835AN").
    AircraftIdentity identity;
    const std::string registration = gf_trim(fields[kRegistration]);
    if (registration.size() > kMaxRegistrationLength) return;
    if (registration != "null") identity.registration = registration;

    if (collectCallsigns.load()) lf_collectCallsign(fields[kCallsign]);

    if (!gf_isRealAircraft(fields[kType], fields[kEmitterCategory])) return;

    if (lf_isAdsbSource(fields[kSource])) {
        const double heading = lf_namedNumber(fields[kTrueHeading], "trueheading");
        if (heading > 360.0) throw std::runtime_error(fmt::format("trueheading: {:.2f}", heading));
        if (heading == 0.0) {
            sample.headingRad = 2.0 * std::numbers::pi;
        } else if (heading > 0.0) {
            sample.headingRad = heading * kDegToRad;
        }
        sample.headingFromAdsb = sample.headingRad.has_value();
    }

    const std::uint32_t hexid = lf_hexid(fields[kHexid]);
    if (hexid <= kLastStaticNumber) return;

    sample.groundSpeedKt = gf_withinLimit(lf_namedNumber(fields[kGroundSpeed], "gs"), kGroundSpeedLimit);
    const auto altitude = lf_number(fields[kAltitude]);
    if (!altitude) {
        throw std::runtime_error(fmt::format("altitude {} incorrect, from: {}",
                                             gf_quotedNetworkText(fields[kAltitude]),
                                             gf_quotedNetworkText(m_record)));
    }
    sample.altitudeFt = gf_withinLimit(*altitude, kAltitudeLimit);
    if (!gf_checkAirborne(sample, groundElevation.load(), qnh.load())) return;
    sample.airborne = sample.altitudeFt > 0.0;

    if (!acceptCallsign(identity)) return;
    if (identity.registration.empty() && identity.callsign.empty()) return;
    if (!sample.airborne) {
        const auto park = parkAirport.load();
        if (!park || gf_distanceNm(park->position, position) > kParkAirportRadiusNm) return;
    }

    sample.trackDeg = fields[kTrack].empty()
                          ? 0.0
                          : gf_withinLimit(lf_number(fields[kTrack], "track incorrect "), kTrackLimit);
    if (sample.trackDeg == 0.0 && sample.headingRad) sample.trackDeg = *sample.headingRad * kRadToDeg;
    sample.verticalRateFpm = gf_withinLimit(lf_namedNumber(fields[kVerticalRate], "vs"), kVerticalRateLimit);
    identity.origin = routeCode(fields[kOrigin], hexid);
    identity.destination = routeCode(fields[kDestination], hexid);

    if (sample.airborne) {
        const double roll = lf_namedNumber(fields[kRoll], "roll");
        if (roll != -1.0 && roll != 0.0) sample.rollRad = -roll * kDegToRad;
    }
    sample.trueAirspeedKt =
        gf_withinLimit(lf_number(fields[kTrueAirspeed], "TAS incorrect"), kTrueAirspeedLimit);
    if (sample.trueAirspeedKt == -1.0) sample.trueAirspeedKt = lf_defaultTrueAirspeed(sample.altitudeFt);

    sample.stationary = false;
    sample.dueTick = g_engineTick.load() + kReportDelayTicks;
    queueReport(TrafficReport{std::move(identity), sample, reportTime, hexid}, fields[kType]);
}

// The type is interned only here, for a record that is accepted, and within the model table's
// bound for network codes: made-up types in dropped records would fill the table for nothing.
void TrafficReader::queueReport(TrafficReport report, std::string_view type) {
    std::size_t dropped = 0;
    {
        MutexLock lock(g_trafficMutex);
        if (!g_injectionActive) return;
        report.identity.designation.model = gf_networkModelIndex(type);
        for (; g_trafficReports.size() >= kMaxTrafficReports; ++dropped)
            g_trafficReports.pop_front();
        g_trafficReports.push_back(std::move(report));
    }
    if (dropped > 0) {
        m_queueFullLines.write(
            fmt::format("The traffic queue is full ({} reports): the oldest gave way", kMaxTrafficReports));
    }
}

bool TrafficReader::acceptCallsign(AircraftIdentity& identity) const {
    static constexpr std::array<std::string_view, 6> rejected = {"ERARMTR0", "ERARMTR1", "AIRPORT1",
                                                                 "00000000", "TR852",    "TEST"};
    std::string callsign = gf_trim(fields[kCallsign]);
    if (callsign == "null") callsign.clear();
    if (callsign.find('@') != std::string::npos) {
        identity.callsign.clear();
        return true;
    }
    if (std::find(rejected.begin(), rejected.end(), callsign) != rejected.end()) return false;
    identity.callsign = std::move(callsign);
    return true;
}

// "null" and the empty field mean no route. Any other text that is no 3-letter code gives no code
// either, and the aircraft is kept: such records are common (4-letter codes, odd texts), so the
// oddity is logged once per aircraft and run.
FixedCode<3> TrafficReader::routeCode(std::string_view text, std::uint32_t hexid) {
    if (text.empty() || text == "null") return {};
    if (lf_isRouteCode(text)) return FixedCode<3>(text);
    bool first = false;
    {
        MutexLock lock(m_oddRouteMutex);
        // Bounded: a flood of made-up hexids must not grow the set or the log without end.
        if (m_oddRouteHexids.size() < kMaxOddRouteHexids) first = m_oddRouteHexids.insert(hexid).second;
    }
    if (first) {
        gf_logLine(fmt::format("hexid {}: route code '{}' is no 3-letter code, taken as none", hexid,
                               gf_quotedNetworkText(text)));
    }
    return {};
}

void TrafficReader::resetStartValues() {
    qnh = 1013;
    trafficTime = 0.0;
    {
        MutexLock lock(callsignsMutex);
        callsigns.clear();
    }
    MutexLock lock(m_oddRouteMutex);
    m_oddRouteHexids.clear();
}

void lf_takeCollectedCallsigns() {
    g_liveCallsigns.clear();
    TrafficReader::collectCallsigns.exchange(false);
    MutexLock lock(TrafficReader::callsignsMutex);
    g_liveCallsigns.max_load_factor(TrafficReader::callsigns.max_load_factor());
    g_liveCallsigns.insert(TrafficReader::callsigns.begin(), TrafficReader::callsigns.end());
    TrafficReader::callsigns.clear();
}

std::string lf_laloText(Lalo position) {
    return fmt::format("{:.6f},{:.6f}", position.latitude, position.longitude);
}

}  // namespace mrw
