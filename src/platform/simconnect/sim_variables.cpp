#include "platform/simconnect/sim_variables.h"

#include <array>
#include <cmath>
#include <cstring>

#include "platform/simconnect/name_compare.h"

namespace standin {
namespace {

using Context = VariableContext;

double lf_altitudeAboveGround(const SimObject& o, const Context& c) {
    return o.altitudeFeet - c.groundFeet;
}

const std::array kVariables = {
    SimVariable{"Plane Latitude", "degree", false,
                [](const SimObject& o, const Context&) { return o.latitudeDeg; }, nullptr,
                [](SimObject& o, double v) { o.latitudeDeg = v; }},
    SimVariable{"Plane Longitude", "degree", false,
                [](const SimObject& o, const Context&) { return o.longitudeDeg; }, nullptr,
                [](SimObject& o, double v) { o.longitudeDeg = v; }},
    SimVariable{"Plane Pitch degrees", "radians", false,
                [](const SimObject& o, const Context&) { return o.pitchRad; }, nullptr,
                [](SimObject& o, double v) { o.pitchRad = v; }},
    SimVariable{"Plane Bank degrees", "radians", false,
                [](const SimObject& o, const Context&) { return o.bankRad; }, nullptr,
                [](SimObject& o, double v) { o.bankRad = v; }},
    SimVariable{"Plane Heading degrees true", "radians", false,
                [](const SimObject& o, const Context&) { return o.headingRad; }, nullptr,
                [](SimObject& o, double v) { o.headingRad = v; }},
    SimVariable{"Plane Altitude", "feet", false,
                [](const SimObject& o, const Context&) { return o.altitudeFeet; }, nullptr,
                [](SimObject& o, double v) { o.altitudeFeet = v; }},
    SimVariable{"Vertical Speed", "feet per second", false,
                [](const SimObject& o, const Context&) { return o.verticalSpeedFps; }, nullptr,
                [](SimObject& o, double v) { o.verticalSpeedFps = v; }},
    SimVariable{"Airspeed True", "knots", false,
                [](const SimObject& o, const Context&) { return o.trueAirspeedKnots; }, nullptr,
                [](SimObject& o, double v) { o.trueAirspeedKnots = v; }},
    SimVariable{"Indicated Altitude", "feet", false,
                [](const SimObject& o, const Context&) { return o.indicatedAltitudeFeet; }, nullptr, nullptr},
    SimVariable{"Plane Alt Above Ground", "feet", false, lf_altitudeAboveGround, nullptr, nullptr},
    SimVariable{"Ground Velocity", "knots", false,
                [](const SimObject& o, const Context&) { return o.groundSpeedKnots; }, nullptr, nullptr},
    SimVariable{"Ground Altitude", "feet", false,
                [](const SimObject&, const Context& c) { return c.groundFeet; }, nullptr, nullptr},
    SimVariable{"SIM ON GROUND", "Bool", false,
                [](const SimObject& o, const Context&) { return o.onGround ? 1.0 : 0.0; }, nullptr, nullptr},
    SimVariable{"ZULU TIME", "Seconds", false,
                [](const SimObject&, const Context& c) {
                    return static_cast<double>(gf_zuluDate(c.zuluSeconds).secondsOfDay);
                },
                nullptr, nullptr},
    SimVariable{"ZULU DAY OF YEAR", "Number", false,
                [](const SimObject&, const Context& c) {
                    return static_cast<double>(gf_zuluDate(c.zuluSeconds).dayOfYear);
                },
                nullptr, nullptr},
    SimVariable{"ZULU YEAR", "Number", false,
                [](const SimObject&, const Context& c) {
                    return static_cast<double>(gf_zuluDate(c.zuluSeconds).year);
                },
                nullptr, nullptr},
    SimVariable{"LIGHT STATES", "Mask", false,
                [](const SimObject& o, const Context&) { return static_cast<double>(o.lightMask); }, nullptr,
                nullptr},
    SimVariable{"Light On States", "Mask", false,
                [](const SimObject& o, const Context&) { return static_cast<double>(o.lightMask); }, nullptr,
                nullptr},
    SimVariable{"Static CG to Ground", "feet", false,
                [](const SimObject& o, const Context&) { return o.staticCgFeet; }, nullptr, nullptr},
    SimVariable{"Static Pitch", "radians", false,
                [](const SimObject& o, const Context&) { return o.staticPitchRad; }, nullptr, nullptr},
    SimVariable{"SPOILERS HANDLE POSITION", "percent", false,
                [](const SimObject& o, const Context&) { return o.spoilersHandlePercent; }, nullptr,
                [](SimObject& o, double v) { o.spoilersHandlePercent = v; }},
    SimVariable{"GENERAL ENG THROTTLE LEVER POSITION:1", "percent", false,
                [](const SimObject& o, const Context&) { return o.throttleLever1Percent; }, nullptr,
                [](SimObject& o, double v) { o.throttleLever1Percent = v; }},
    SimVariable{"GENERAL ENG THROTTLE LEVER POSITION:2", "percent", false,
                [](const SimObject& o, const Context&) { return o.throttleLever2Percent; }, nullptr,
                [](SimObject& o, double v) { o.throttleLever2Percent = v; }},
    SimVariable{"ATC ID", "", true, nullptr, [](const SimObject& o) { return o.atcId; }, nullptr},
    SimVariable{"TITLE", "", true, nullptr, [](const SimObject& o) { return o.title; }, nullptr},
    SimVariable{"ATC MODEL", "", true, nullptr, [](const SimObject& o) { return o.atcModel; }, nullptr},
};

void lf_appendBytes(std::vector<std::byte>& out, const void* value, std::size_t size) {
    const auto* bytes = static_cast<const std::byte*>(value);
    out.insert(out.end(), bytes, bytes + size);
}

}  // namespace

const SimVariable* gf_findVariable(std::string_view name) {
    for (const SimVariable& variable : kVariables) {
        if (gf_sameName(variable.name, name)) return &variable;
    }
    return nullptr;
}

bool gf_unitsFit(const SimVariable& variable, const char* units) {
    if (variable.text) return units == nullptr || *units == '\0';
    return units != nullptr && gf_sameName(variable.units, units);
}

bool gf_typeFits(const SimVariable& variable, SIMCONNECT_DATATYPE type) {
    if (variable.text) return type == SIMCONNECT_DATATYPE_STRING32 || type == SIMCONNECT_DATATYPE_STRINGV;
    return type == SIMCONNECT_DATATYPE_FLOAT64 || type == SIMCONNECT_DATATYPE_INT64;
}

std::size_t gf_datumSize(SIMCONNECT_DATATYPE type) {
    switch (type) {
        case SIMCONNECT_DATATYPE_INT64:
        case SIMCONNECT_DATATYPE_FLOAT64:
            return 8;
        case SIMCONNECT_DATATYPE_STRING32:
            return 32;
        default:
            return 0;
    }
}

std::size_t gf_fixedSize(const std::vector<Datum>& definition) {
    std::size_t size = 0;
    for (const Datum& datum : definition) {
        const std::size_t datumSize = gf_datumSize(datum.type);
        if (datumSize == 0) return 0;
        size += datumSize;
    }
    return size;
}

void gf_appendData(std::vector<std::byte>& out, const std::vector<Datum>& definition, const SimObject& object,
                   const VariableContext& context) {
    for (const Datum& datum : definition) {
        const SimVariable& variable = *datum.variable;
        if (variable.text) {
            const std::string text = variable.textValue(object);
            if (datum.type == SIMCONNECT_DATATYPE_STRINGV) {
                lf_appendBytes(out, text.c_str(), text.size() + 1);
            } else {
                char fixed[32] = {};
                std::memcpy(fixed, text.data(), std::min(text.size(), sizeof fixed - 1));
                lf_appendBytes(out, fixed, sizeof fixed);
            }
        } else if (datum.type == SIMCONNECT_DATATYPE_INT64) {
            const auto value = static_cast<std::int64_t>(std::llround(variable.number(object, context)));
            lf_appendBytes(out, &value, sizeof value);
        } else {
            const double value = variable.number(object, context);
            lf_appendBytes(out, &value, sizeof value);
        }
    }
}

void gf_applyData(SimObject& object, const std::vector<Datum>& definition, const std::byte* data) {
    for (const Datum& datum : definition) {
        const SimVariable& variable = *datum.variable;
        if (variable.set != nullptr) {
            double value = 0.0;
            if (datum.type == SIMCONNECT_DATATYPE_INT64) {
                std::int64_t number = 0;
                std::memcpy(&number, data, sizeof number);
                value = static_cast<double>(number);
            } else {
                std::memcpy(&value, data, sizeof value);
            }
            variable.set(object, value);
        }
        data += gf_datumSize(datum.type);
    }
}

ZuluDate gf_zuluDate(std::int64_t utcSeconds) {
    const std::int64_t days = utcSeconds >= 0 ? utcSeconds / 86400 : (utcSeconds - 86399) / 86400;
    ZuluDate date;
    date.secondsOfDay = utcSeconds - days * 86400;
    // Civil date from the day count since 1970-01-01 (proleptic Gregorian, eras of 400 years).
    const std::int64_t z = days + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t dayOfEra = z - era * 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYearFromMarch = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t monthFromMarch = (5 * dayOfYearFromMarch + 2) / 153;
    const std::int64_t month = monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9;
    date.year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    const std::int64_t y = date.year - 1;
    const std::int64_t januaryFirst =
        365 * y + y / 4 - y / 100 + y / 400 - 719162;  // days since 1970 of Jan 1
    date.dayOfYear = days - januaryFirst + 1;
    return date;
}

}  // namespace standin
