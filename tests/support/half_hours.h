#pragma once

#include <cstddef>
#include <initializer_list>

#include "foundation/half_hour_set.h"

namespace mrwtest {

// The half-hour set of the given slots.
inline mrw::HalfHourSet slots(std::initializer_list<int> list) {
    mrw::HalfHourSet set;
    for (int slot : list) set.set(static_cast<std::size_t>(slot));
    return set;
}

}  // namespace mrwtest
