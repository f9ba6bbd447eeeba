#pragma once
// The simulation variables the world serves, and the encoding of data definitions.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/simconnect/sim_world.h"

namespace standin {

// What a variable's value depends on besides its object.
struct VariableContext {
    double groundFeet = 0.0;
    std::int64_t zuluSeconds = 0;  // simulator UTC, seconds since 1970
};

struct SimVariable {
    std::string_view name;
    std::string_view units;  // the one unit served; empty for text variables
    bool text = false;
    double (*number)(const SimObject&, const VariableContext&) = nullptr;
    std::string (*textValue)(const SimObject&) = nullptr;
    void (*set)(SimObject&, double) = nullptr;  // null: read-only
};

struct Datum {
    const SimVariable* variable = nullptr;
    SIMCONNECT_DATATYPE type = SIMCONNECT_DATATYPE_INVALID;
};

// Null when the world has no variable of that name.
const SimVariable* gf_findVariable(std::string_view name);
bool gf_unitsFit(const SimVariable& variable, const char* units);
bool gf_typeFits(const SimVariable& variable, SIMCONNECT_DATATYPE type);

// Bytes of one datum; 0 for a variable-length one (STRINGV).
std::size_t gf_datumSize(SIMCONNECT_DATATYPE type);
// The record size of a definition; 0 when it has a variable-length datum.
std::size_t gf_fixedSize(const std::vector<Datum>& definition);

void gf_appendData(std::vector<std::byte>& out, const std::vector<Datum>& definition, const SimObject& object,
                   const VariableContext& context);
// Writes one record of a fixed-size definition into the object; read-only variables are skipped,
// as the simulator ignores them.
void gf_applyData(SimObject& object, const std::vector<Datum>& definition, const std::byte* data);

// ZULU values of a UTC time.
struct ZuluDate {
    std::int64_t secondsOfDay = 0;
    std::int64_t dayOfYear = 0;  // 1 to 366
    std::int64_t year = 0;
};
ZuluDate gf_zuluDate(std::int64_t utcSeconds);

}  // namespace standin
