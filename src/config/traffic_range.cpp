#include "config/traffic_range.h"

#include <atomic>
#include <cmath>

#include "config/control_updates.h"
#include "config/parameter_catalogue.h"
#include "config/parameters_xml.h"
#include "foundation/geometry.h"
#include "foundation/message_line.h"
#include "foundation/thread_safety.h"

namespace mrw {

namespace {

Mutex& lf_inputsMutex() {
    static Mutex mutex;
    return mutex;
}

AutoRangeInputs& lf_inputs() {
    static AutoRangeInputs inputs;
    return inputs;
}

// The user's own RANGE: the value in parameters.xml. The automatic range is never saved, and the
// RANGE combo box (whose choice is saved at once) is disabled while AUTO_RANGE is on, so the file
// holds the user's choice; RANGE's current value may hold an automatic one.
std::int32_t lf_manualRange() {
    IntComboParameter& range = g_parameters().RANGE;
    pugi::xml_document document;
    if (gf_loadParametersDocument(document)) {
        if (const auto saved = gf_readIntParameter(document, range.name)) return range.clamp(*saved);
    }
    return range.defaultValue;
}

std::int32_t lf_rangeOfDistance(double distanceNm) {
    if (distanceNm <= 7.0) return 10;
    if (distanceNm >= 37.0) return 40;
    const auto k = static_cast<std::int32_t>(std::round(distanceNm));
    struct Step {
        std::int32_t from;
        std::int32_t range;
    };
    static constexpr Step kSteps[] = {{33, 35}, {28, 30}, {23, 25}, {19, 20}, {17, 18},
                                      {15, 16}, {13, 14}, {11, 12}, {9, 10}};
    for (const Step& step : kSteps)
        if (k >= step.from) return step.range;
    return 8;
}

std::optional<std::int32_t> lf_automaticRange(const AutoRangeInputs& inputs) {
    if (!inputs.userOnGround) return std::nullopt;
    if (*inputs.userOnGround) return 10;
    if (!inputs.userAltitudeFeet) return std::nullopt;
    auto& settings = g_parameters();
    if (*inputs.userAltitudeFeet > settings.AR_ABOVE_HEIGHT.current.load()) return 100;
    if (*inputs.userAltitudeFeet > settings.AIRP_HEIGHT.current.load()) return 40;
    const double distance = inputs.userPosition && inputs.firstParkAirport
                                ? gf_distanceNm(*inputs.userPosition, *inputs.firstParkAirport)
                                : 10000.0;
    return lf_rangeOfDistance(distance);
}

}  // namespace

void gf_setAutoRangeInputs(const AutoRangeInputs& inputs) {
    MutexLock lock(lf_inputsMutex());
    lf_inputs() = inputs;
}

AutoRangeInputs gf_autoRangeInputs() {
    MutexLock lock(lf_inputsMutex());
    return lf_inputs();
}

void gf_setRangeNm(std::int32_t nm) {
    auto& range = g_parameters().RANGE;
    range.current = range.clamp(nm);
    gf_selectChoice(range, nm);
    g_rangeNm = static_cast<double>(nm);
    g_rangeMeters = static_cast<std::uint32_t>(static_cast<std::int64_t>(nm) * 1852);
}

void gf_applyAutoRange() {
    auto& settings = g_parameters();
    const bool automatic = settings.AUTO_RANGE.current.load();
    if (automatic) {
        lf_autoRange();
    } else {
        gf_setRangeNm(lf_manualRange());
        gf_clearMessage();
    }
    gf_enableControl(settings.RANGE, !automatic);
}

void lf_autoRange() {
    if (const auto range = lf_automaticRange(gf_autoRangeInputs())) gf_setRangeNm(*range);
}

float gf_fitHoursOfIndex(std::int32_t halfHours) {
    struct Step {
        std::int32_t from;
        float hours;
    };
    static constexpr Step kSteps[] = {{44, 24.0f}, {38, 21.0f}, {32, 18.0f}, {26, 15.0f},
                                      {22, 12.0f}, {20, 11.0f}, {18, 10.0f}, {16, 9.0f},
                                      {14, 8.0f},  {12, 7.0f},  {10, 6.0f}};
    for (const Step& step : kSteps)
        if (halfHours >= step.from) return step.hours;
    if (halfHours >= 1) return static_cast<float>(halfHours + 1) / 2.0f;
    return 0.5f;
}

void gf_selectMaxFit() {
    auto& settings = g_parameters();
    const float hours = gf_fitHoursOfIndex(settings.MAX_FIT.current.load());
    settings.MAX_FIT_FL.current = hours;
    gf_selectChoice(settings.MAX_FIT_FL, hours);
}

}  // namespace mrw
