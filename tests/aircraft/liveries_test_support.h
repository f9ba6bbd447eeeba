#pragma once
// Helpers of the liveries-scan tests: a small aircraft database and livery records.

#include "aircraft/livery_data.h"

#include <initializer_list>
#include <string>
#include <string_view>

namespace mrwtest {

// Empties the aircraft data and seeds a small database: the models A320 B738 B744 C172, the
// airlines KLM DLH EZY ZZZ PVT TRA, the Heavy model B744, the fix B73H -> B738, and the
// registrations PH-BXA (KLM B738), D-ABYA (DLH, operator TRA, B744, cargo) and N172AB (no airline,
// C172).
void seedLiveriesDatabase();

mrw::LiveryData makeLivery(std::string title, std::string_view airline, std::string_view operatorAirline,
                           std::string_view model, std::string registration = {}, bool cargo = false);

}  // namespace mrwtest
