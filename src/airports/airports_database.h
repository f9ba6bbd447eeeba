#pragma once
// The airports database (input/airports.enc): the airports RealTraffic supports and where static
// aircraft may be parked, sorted by code, and the lookups on it. Written only by gf_readAirports
// during a run start on the main worker, read without a lock afterwards.

#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

#include <pugixml.hpp>

#include "airports/airport.h"
#include "foundation/fixed_code.h"
#include "foundation/lalo.h"

namespace mrw {

// Sorted by code (byte order); duplicate codes are kept.
inline std::vector<Airport> g_airports;
// The codes of g_airports.
inline std::unordered_set<FixedCode<4>> g_knownAirportCodes{8};
// The codes of input/ICAO_airports.txt, filled and emptied by the airports scan.
inline std::unordered_set<FixedCode<4>> g_icaoAirportCodes{8};

// Reads the database once per process (a failed read is tried again at the next call); whether
// g_airports holds at least one airport. Throws UserErrorException 88 when the file cannot be read.
bool gf_readAirports();
// Checks one <ap> element and appends its airport; a bad element costs only that airport.
void gf_readAirport(const pugi::xml_node& ap, FixedCode<4> code);

bool gf_isKnownAirport(FixedCode<4> code);
// The first record with the code, or null.
const Airport* gf_findAirport(FixedCode<4> code);

// The distance in nautical miles from a position to the nearest stand of an airport's file, with
// that stand's id in `standId`; 100 when the airport has no file or no stand. Static parking passes
// gf_readDestApfForClosestStand.
using NearestStandDistance =
    std::function<double(FixedCode<4> code, const Lalo& position, std::string& standId)>;

// The airport within 5 nm closest to the position, or null. When an airport closer than an earlier
// one in database order is found, the earlier one is its neighbour, and the neighbour wins when one
// of its stands is nearer than any stand of the closest airport.
const Airport* gf_closestAirport(const Lalo& position, const NearestStandDistance& nearestStand);

struct IcaoCodeInText {
    FixedCode<4> code;
    bool found = false;
};
// A code of input/ICAO_airports.txt inside a package or path text: the first one that is also in
// the database, else the last one seen.
IcaoCodeInText gf_icaoInText(std::string text);

}  // namespace mrw
