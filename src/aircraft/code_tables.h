#pragma once
// The two process-wide code tables (airline and operator codes; model codes) and interning into them.
// The aircraft database reader seeds both once per process; everything else interns and looks up.

#include "aircraft/code_table.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace mrw {

// Created on first use and never destroyed: detached threads (liveries-scan workers, the Traffic
// Reader) intern codes until the process ends.
CodeTable& g_airlineCodes();
CodeTable& g_modelCodes();

// Wrong model code -> correct model code, filled by the aircraft database reader (section fixes)
// before any other thread interns model codes; read-only afterwards.
std::map<std::string, std::string>& g_modelFixes();

// The index of an airline or operator code in g_airlineCodes, interned when new.
CodeIndex gf_airlineIndex(std::string_view code);
// The index of a model code in g_modelCodes, interned when new. Once the table is loaded, a code
// that g_modelFixes corrects to a code already in the table gives the correct code's index, and the
// wrong code is not entered.
CodeIndex gf_modelIndex(std::string_view code);
// As gf_modelIndex, for a type from a traffic record: a new code is interned within the table's
// bound for codes from the network (CodeTable::internFromNetwork).
CodeIndex gf_networkModelIndex(std::string_view code);
// The correct code that g_modelFixes gives for a wrong code (exact key match), or nothing.
std::optional<std::string> gf_fixedModelCode(std::string_view code);

}  // namespace mrw
