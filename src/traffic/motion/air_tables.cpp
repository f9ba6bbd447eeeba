#include "traffic/motion/air_tables.h"

#include <stdexcept>
#include <string>

#include "traffic/model/category_tables.h"

namespace mrw {

namespace {

// Indexed by category, as the profile tables: the motion asks several times per aircraft and tick.
// Lift-off ground speed in kt.
constexpr CategoryTable<double> kLiftOffSpeedKt = {90, 110, 140, 150, 220, 0};
// 40, 35, 30, 20, 90 and 75 degrees.
constexpr CategoryTable<double> kMaxBankRad = {0.6981317007977318, 0.6108652381980153, 0.5235987755982988,
                                               0.3490658503988659, 1.5707963267948966, 1.3089969389957472};
// 0.035, 0.0275, 0.02, 0.015, 0.1 and 0.06 degrees per tick.
constexpr CategoryTable<double> kMaxBankRatePerTick = {0.0006108652381980154,  0.0004799655442984406,
                                                       0.00034906585039886593, 0.00026179938779914946,
                                                       0.0017453292519943294,  0.0010471975511965978};
// 0.01, 0.0085, 0.0075, 0.005, 0.03 and 0.03 degrees per tick.
constexpr CategoryTable<double> kMaxPitchRatePerTick = {0.00017453292519943296, 0.000148352986419518,
                                                        0.00013089969389957473, 8.726646259971648e-05,
                                                        0.0005235987755982989,  0.0005235987755982989};

double lf_entry(const CategoryTable<double>& table, AcCategory category) {
    const std::size_t slot = gf_categorySlot(category);
    if (slot >= table.size())
        throw std::out_of_range("air tables: no category " + std::to_string(static_cast<int>(category)));
    return table[slot];
}

}  // namespace

double liftOffSpeedKt(AcCategory category) {
    return lf_entry(kLiftOffSpeedKt, category);
}

double maxBankRad(AcCategory category) {
    return lf_entry(kMaxBankRad, category);
}

double maxBankRatePerTick(AcCategory category) {
    return lf_entry(kMaxBankRatePerTick, category);
}

double maxPitchRatePerTick(AcCategory category) {
    return lf_entry(kMaxPitchRatePerTick, category);
}

}  // namespace mrw
