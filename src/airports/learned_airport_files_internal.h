#pragma once
// For tests: merging one stand of a learned file into a stand of the airport file.

#include <string_view>

#include <pugixml.hpp>

#include "airports/stand.h"

namespace mrw {

struct LearnedStand {
    std::string_view id;  // as written, not trimmed
    pugi::xml_node parkpos;
    bool older = false;  // written before 11.10.0: its uses are not merged
};

// Applies the learned radius and cargo changes and adds the learned uses that the stand does not hold
// already; false, changing nothing, when the ids differ.
bool lf_mergeLearnedStand(const LearnedStand& learned, Stand& stand);

}  // namespace mrw
