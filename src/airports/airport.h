#pragma once
// One record of the airports database, and the text the program shows for an airport.

#include <cstdint>
#include <string>

#include "foundation/fixed_code.h"
#include "foundation/lalo.h"

namespace mrw {

// The IATA code of an airport that has none.
inline const FixedCode<3> g_noIataCode{"XXX"};

struct Airport {
    FixedCode<4> code;  // ICAO code, the key of the database; empty = no airport
    FixedCode<3> iata;  // g_noIataCode when the airport has none
    double latitude = 0.0;
    double longitude = 0.0;
    float altitude = 0.0F;  // feet
    // Stand-data code: 0 = the maker's archive holds no stock airport file for this airport; 1 or
    // more = it holds one (the value also picks the default parking percentage).
    std::int32_t s = 0;

    Lalo lalo() const { return {latitude, longitude}; }
};

// "EHAM (AMS)"; "EHAM" without IATA code; "? (AMS)" for an empty ICAO code.
std::string gf_airportLabel(const Airport& airport);

}  // namespace mrw
