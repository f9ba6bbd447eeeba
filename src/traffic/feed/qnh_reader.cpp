#include "traffic/feed/qnh_reader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <exception>
#include <optional>
#include <stdexcept>
#include <string>

#include <fmt/format.h>
#include <gsl/narrow>
#include <nlohmann/json.hpp>

#include "foundation/log.h"
#include "foundation/network_text.h"
#include "foundation/window_model.h"
#include "traffic/feed/network_input.h"
#include "traffic/feed/traffic_reader.h"
#include "traffic/model/engine_containers.h"

namespace mrw {

namespace {

constexpr std::int32_t kStandardQnh = 1013;
constexpr std::int32_t kMinQnh = 900;
constexpr std::int32_t kMaxQnh = 1100;
// hPa per hundredth of an inch of mercury.
constexpr double kHpaPerHundredthInHg = 0.33865307;

// The decimal integer at the start of the text; nothing when there is none or it overflows an int.
std::optional<std::int32_t> lf_leadingInt(const std::string& text) {
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{}) return std::nullopt;
    return value;
}

// A QNH number: rounded to the nearest integer after conversion to single precision. Range-checked
// as a double first: a float or int conversion of a value out of range is undefined behaviour.
std::int32_t lf_roundedQnh(double value) {
    if (!gf_intOfNetworkNumber(value)) throw std::range_error("QNH out of range");
    const auto rounded = gf_intOfNetworkNumber(std::round(static_cast<float>(value)));
    if (!rounded) throw std::range_error("QNH out of range");
    return *rounded;
}

void lf_publishQnh(QnhReader& reader, std::int32_t qnh) {
    reader.qnh = qnh;
    TrafficReader::qnh = qnh;
    g_qnh.exchange(qnh);
    MainWindow& window = g_mainWindow();
    window.qnh = qnh;
    ReaderStatus nothingNew = ReaderStatus::NothingNew;
    window.weatherReaderStatus.compare_exchange_strong(nothingNew, ReaderStatus::Receiving);
    gf_invalidateStatusBand();
}

}  // namespace

// The QNH member as an int, or nothing after its log line.
std::optional<std::int32_t> QnhReader::qnhValue(const nlohmann::json& member, std::string_view datagram) {
    if (member.is_number_integer()) {
        return member.is_number_unsigned() ? gsl::narrow<std::int32_t>(member.get<std::uint64_t>())
                                           : gsl::narrow<std::int32_t>(member.get<std::int64_t>());
    }
    if (member.is_number_float()) return lf_roundedQnh(member.get<double>());
    if (member.is_string()) {
        const std::string& text = member.get_ref<const std::string&>();
        if (const auto value = lf_leadingInt(text)) return value;
        m_errorLines.write(fmt::format("QNH string parse error: {} in {}", gf_quotedNetworkText(text),
                                       gf_quotedNetworkText(datagram)),
                           true);
        return std::nullopt;
    }
    m_errorLines.write(fmt::format("no QNH {}", gf_quotedNetworkText(datagram)));
    return std::nullopt;
}

void QnhReader::onDatagram(std::string_view datagram) {
    try {
        const nlohmann::json weather = nlohmann::json::parse(datagram);
        if (!weather.is_object()) throw std::runtime_error("the datagram is not a JSON object");
        const auto member = weather.find("QNH");
        if (member == weather.end()) {
            m_errorLines.write(fmt::format("no QNH {}", gf_quotedNetworkText(datagram)));
            return;
        }
        auto value = qnhValue(*member, datagram);
        if (!value) return;
        std::int32_t q = *value;
        if (q > kMaxQnh) q = gsl::narrow<std::int32_t>(std::round(q * kHpaPerHundredthInHg));
        q = std::clamp(q, kMinQnh, kMaxQnh);
        if (q != qnh.load() || q == kStandardQnh) lf_publishQnh(*this, q);
    } catch (const std::exception& e) {
        m_errorLines.write(fmt::format("Exception {}, in {}", gf_quotedNetworkText(e.what()),
                                       gf_quotedNetworkText(datagram)));
    }
}

void QnhReader::onStopped() {
    gf_logLine("QNH Reader has stopped");
}

}  // namespace mrw
