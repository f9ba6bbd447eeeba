#pragma once
// Half wingspans of the models, in nautical miles, taken from the aircraft database's section
// wingspans while it is read; read-only afterwards (the traffic engine asks for them).

#include "aircraft/code_table.h"

#include <array>
#include <atomic>
#include <cstddef>
#include <map>
#include <string>
#include <string_view>

#include <pugixml.hpp>

#include "foundation/geometry.h"

namespace mrw {

inline constexpr std::size_t kHalfWingspanCount = 2700;

// Indexed by model CodeIndex; 0 when the database gives none (also for models interned later).
inline std::array<double, kHalfWingspanCount> g_halfWingspans{};
// The largest half wingspan accepted from the database; 0 when there is none.
inline std::atomic<double> g_maxHalfWingspan{0.0};

// Model code -> half wingspan, the first element of each model; feeds g_halfWingspans.
std::map<std::string, double>& g_wingspanList();

// Reads the elements wingspan of the section into the list and the maximum, then fills the table.
void gf_readWingspansSection(const pugi::xml_node& section);
// Stores one half wingspan at the model's index; an index beyond the table is logged and skipped.
void gf_fillWingspans(std::string_view modelCode, double halfWingspan);
// The stored half wingspan; for an index beyond the table (logged) 35 metres in nautical miles.
double gf_halfWingspanNm(CodeIndex model);

}  // namespace mrw
