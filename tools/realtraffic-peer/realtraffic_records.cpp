#include "tools/realtraffic-peer/realtraffic_records.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <numbers>
#include <optional>
#include <stdexcept>

#include <fmt/format.h>

namespace rtpeer {

namespace {

constexpr std::size_t kCurrentFieldCount = 44;
constexpr std::size_t kTimestampField = 14;
constexpr double kEarthRadiusNm = 10800.0 / std::numbers::pi;

std::vector<std::string> lf_split(std::string_view text) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t comma = text.find(','); comma != std::string_view::npos; comma = text.find(',', start)) {
        fields.emplace_back(text.substr(start, comma - start));
        start = comma + 1;
    }
    fields.emplace_back(text.substr(start));
    return fields;
}

std::string lf_join(const std::vector<std::string>& fields) {
    std::string text;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) text += ',';
        text += fields[i];
    }
    return text;
}

double lf_number(std::string_view text) {
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size()) {
        throw std::invalid_argument(fmt::format("not a number: '{}'", text));
    }
    return value;
}

}  // namespace

std::vector<RecordingEntry> readRecording(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) throw std::runtime_error(fmt::format("cannot read the recording {}", path.string()));
    std::vector<RecordingEntry> entries;
    std::optional<double> firstTime;
    double offset = 0.0;
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.starts_with("AITFC,") || line.starts_with("RTTFC,")) {
            const std::vector<std::string> fields = lf_split(line);
            if (fields.size() <= kTimestampField) continue;
            double time = 0.0;
            try {
                time = lf_number(fields[kTimestampField]);
            } catch (const std::invalid_argument&) {
                continue;
            }
            if (!firstTime) firstTime = time;
            offset = std::max(offset, time - *firstTime);  // a late record is sent in file order
            entries.push_back({false, offset, line});
        } else if (line.starts_with("{")) {
            entries.push_back({true, offset, line});
        }
    }
    return entries;
}

std::string currentTrafficRecord(std::string_view recorded, double timestamp) {
    std::vector<std::string> fields = lf_split(recorded);
    if (fields.size() < kCurrentFieldCount) {
        fields.resize(kCurrentFieldCount);
        fields[20] = "-1";  // true airspeed unknown
        fields[23] = "-1";  // roll unknown
    }
    fields[0] = "RTTFC";
    fields[kTimestampField] = fmt::format("{:.2f}", timestamp);
    return lf_join(fields);
}

GeneratedAircraft parseGeneratedAircraft(std::string_view text) {
    const std::vector<std::string> f = lf_split(text);
    if (f.size() != 12) {
        throw std::invalid_argument(fmt::format("an aircraft needs 12 fields, not {}: '{}'", f.size(), text));
    }
    GeneratedAircraft a;
    a.hexid = static_cast<std::uint32_t>(lf_number(f[0]));
    a.callsign = f[1];
    a.type = f[2];
    a.registration = f[3];
    a.origin = f[4];
    a.destination = f[5];
    a.lat = lf_number(f[6]);
    a.lon = lf_number(f[7]);
    a.altitudeFt = lf_number(f[8]);
    a.trackDeg = lf_number(f[9]);
    a.groundSpeedKt = lf_number(f[10]);
    a.verticalRateFpm = lf_number(f[11]);
    return a;
}

std::string generatedTrafficRecord(const GeneratedAircraft& aircraft, double elapsedSeconds,
                                   double timestamp) {
    // Great-circle destination from the start along the track.
    const double d = aircraft.groundSpeedKt * elapsedSeconds / 3600.0 / kEarthRadiusNm;
    const double track = aircraft.trackDeg * std::numbers::pi / 180.0;
    const double lat1 = aircraft.lat * std::numbers::pi / 180.0;
    const double lon1 = aircraft.lon * std::numbers::pi / 180.0;
    const double lat2 =
        std::asin(std::sin(lat1) * std::cos(d) + std::cos(lat1) * std::sin(d) * std::cos(track));
    double lon2 = lon1 + std::atan2(std::sin(track) * std::sin(d) * std::cos(lat1),
                                    std::cos(d) - std::sin(lat1) * std::sin(lat2));
    lon2 = std::remainder(lon2, 2.0 * std::numbers::pi);
    const double altitude =
        std::max(0.0, aircraft.altitudeFt + aircraft.verticalRateFpm * elapsedSeconds / 60.0);

    std::vector<std::string> f(kCurrentFieldCount);
    f[0] = "RTTFC";
    f[1] = std::to_string(aircraft.hexid);
    f[2] = fmt::format("{:.6f}", lat2 * 180.0 / std::numbers::pi);
    f[3] = fmt::format("{:.6f}", lon2 * 180.0 / std::numbers::pi);
    f[4] = fmt::format("{:.0f}", altitude);
    f[5] = fmt::format("{:.0f}", aircraft.verticalRateFpm);
    f[6] = altitude > 0.0 ? '1' : '0';  // a char: g++ 12 warns falsely on the literals
    f[7] = fmt::format("{:.1f}", aircraft.trackDeg);
    f[8] = fmt::format("{:.1f}", aircraft.groundSpeedKt);
    f[9] = aircraft.callsign;
    f[10] = aircraft.type;
    f[11] = aircraft.registration;
    f[12] = aircraft.origin;
    f[13] = aircraft.destination;
    f[14] = fmt::format("{:.2f}", timestamp);
    f[17] = "adsb_icao";
    f[20] = "-1";
    f[23] = "-1";
    f[25] = fmt::format("{:.1f}", aircraft.trackDeg);
    f[28] = "A3";
    return lf_join(f);
}

}  // namespace rtpeer
