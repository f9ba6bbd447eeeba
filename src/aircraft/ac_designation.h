#pragma once
// The designation of one aircraft: airline, operating airline and model as code-table indexes, plus
// the cargo and the from-database bytes. Copied and compared whole as one small value.

#include "aircraft/code_table.h"

#include <cstdint>

namespace mrw {

struct AcDesignation {
    CodeIndex airline = 0;          // in g_airlineCodes (0 = none)
    CodeIndex operatorAirline = 0;  // in g_airlineCodes: the airline that operates it for `airline`
    CodeIndex model = 0;            // in g_modelCodes (0 = none)
    std::uint8_t isCargo = 0;       // 1 for a cargo aircraft or cargo livery
    std::uint8_t fromDbase = 0;     // 1 when taken from the aircraft database (texts show a '.')

    friend bool operator==(const AcDesignation&, const AcDesignation&) = default;
};

}  // namespace mrw
