#include "airports/airport.h"

namespace mrw {

std::string gf_airportLabel(const Airport& airport) {
    std::string label = airport.code.empty() ? std::string("?") : airport.code.str();
    if (airport.iata != g_noIataCode) label += " (" + airport.iata.str() + ")";
    return label;
}

}  // namespace mrw
