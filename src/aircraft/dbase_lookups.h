#pragma once
// Questions to the aircraft database about registrations and codes. Read-only; safe from any
// thread once the database has been read.

#include "aircraft/ac_designation.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mrw {

// The forms under which a registration is looked up, in trial order: 'PHBXA' gives 'PH-BXA',
// 'P-HBXA', 'PHBXA'; a registration with a '-', beginning with 'N' or shorter than 5 gives itself.
std::vector<std::string> gf_registrationVariants(std::string_view registration);
// The designation of the first variant found in g_dbaseRecords; nothing for an empty registration.
std::optional<AcDesignation> gf_findDbaseRecord(std::string_view registration);
// The first registration of at most 5 characters (in record order) that occurs in the text.
std::optional<std::string> gf_findKeyInText(std::string_view text);

// Whether the code is in g_icaoModels / g_icaoAirlines (exact); false for the empty text.
bool gf_isKnownModel(std::string_view code);
bool gf_isKnownAirline(std::string_view code);

}  // namespace mrw
