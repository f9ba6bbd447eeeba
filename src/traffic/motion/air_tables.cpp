#include "traffic/motion/air_tables.h"

#include <unordered_map>

namespace mrw {

namespace {

using CategoryTable = std::unordered_map<AcCategory, double>;

CategoryTable lf_table(double light, double buzjets, double large, double heavy, double highPerf,
                       double rotorcraft) {
    return {{AcCategory::Light, light},       {AcCategory::Buzjets, buzjets},
            {AcCategory::Large, large},       {AcCategory::Heavy, heavy},
            {AcCategory::HighPerf, highPerf}, {AcCategory::Rotorcraft, rotorcraft}};
}

}  // namespace

double liftOffSpeedKt(AcCategory category) {
    static const CategoryTable table = lf_table(90, 110, 140, 150, 220, 0);
    return table.at(category);
}

double maxBankRad(AcCategory category) {
    static const CategoryTable table = lf_table(0.6981317007977318, 0.6108652381980153, 0.5235987755982988,
                                                0.3490658503988659, 1.5707963267948966, 1.3089969389957472);
    return table.at(category);
}

double maxBankRatePerTick(AcCategory category) {
    static const CategoryTable table =
        lf_table(0.0006108652381980154, 0.0004799655442984406, 0.00034906585039886593, 0.00026179938779914946,
                 0.0017453292519943294, 0.0010471975511965978);
    return table.at(category);
}

double maxPitchRatePerTick(AcCategory category) {
    static const CategoryTable table =
        lf_table(0.00017453292519943296, 0.000148352986419518, 0.00013089969389957473, 8.726646259971648e-05,
                 0.0005235987755982989, 0.0005235987755982989);
    return table.at(category);
}

}  // namespace mrw
