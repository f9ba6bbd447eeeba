#include "config/parameter_registries.h"

#include "config/parameter_catalogue.h"

namespace mrw {

namespace {

// Each registry is built once, on first use, and never destroyed (see the header).
template <typename T, typename Fill>
const std::vector<T*>& lf_registry(Fill fill) {
    static const auto* registry = new std::vector<T*>(fill(g_parameters()));
    return *registry;
}

}  // namespace

const std::vector<BoolParameter*>& g_boolParameters() {
    return lf_registry<BoolParameter>(
        [](ParameterCatalogue& p) { return std::vector<BoolParameter*>{&p.RANDOM}; });
}

const std::vector<CheckBoxParameter*>& g_checkBoxParameters() {
    return lf_registry<CheckBoxParameter>([](ParameterCatalogue& p) {
        return std::vector<CheckBoxParameter*>{&p.ALWAYS_ON_TOP,
                                               &p.OBJECTID_LIST,
                                               &p.NAV_LIGHTS_WHILE_PARKED,
                                               &p.AEROWINX,
                                               &p.GUID_CHANGES,
                                               &p.SCAN_LIVERIES,
                                               &p.LIG_AUTOMATIC,
                                               &p.LIG_PRIORITIZE,
                                               &p.SCAN_AIRPORTS,
                                               &p.LIGHT_AIRCRAFT,
                                               &p.HELICOPTERS,
                                               &p.HIGH_PERF_AIRCRAFT,
                                               &p.AUTO_RANGE,
                                               &p.AIRBORNE_ONLY,
                                               &p.COLLISION_USER_GND,
                                               &p.COLLISION_USER_AIR,
                                               &p.COLLISION_LIVE_PARKED_GND,
                                               &p.STRAIGHT_PBS_ONLY,
                                               &p.INITIAL_LOAD_ONLY,
                                               &p.WEEK,
                                               &p.PARK_SOFT};
    });
}

const std::vector<IntParameter*>& g_intParameters() {
    return lf_registry<IntParameter>([](ParameterCatalogue& p) {
        return std::vector<IntParameter*>{&p.mainWindowX,
                                          &p.mainWindowY,
                                          &p.LAST_EPOCH_TIME,
                                          &p.CUSTOM_PARKING_PERCENTAGE,
                                          &p.HOLDING_THRESHOLD_METERS,
                                          &p.MAX_HOLDING_MINUTES,
                                          &p.MAX_FIT};
    });
}

const std::vector<IntComboParameter*>& g_intComboParameters() {
    return lf_registry<IntComboParameter>([](ParameterCatalogue& p) {
        return std::vector<IntComboParameter*>{&p.MATCHING_DEPTH, &p.RANGE,        &p.AR_ABOVE_HEIGHT,
                                               &p.MAX_PARK_SEL,   &p.MAX_LIVE_SEL, &p.AIRP_RANGE,
                                               &p.AIRP_HEIGHT};
    });
}

const std::vector<StringParameter*>& g_stringParameters() {
    return lf_registry<StringParameter>([](ParameterCatalogue& p) {
        std::vector<StringParameter*> list{&p.PROGRAM_VERSION, &p.MSFS_INSTALL_PATH, &p.PORT_NUMBER,
                                           &p.RT_IP_ADDRESS};
        for (auto& folder : p.lfolder)
            list.push_back(&folder);
        list.insert(list.end(), {&p.AIG_VERSION, &p.DBASE_VERSION, &p.AIRPORTS_VERSION, &p.LIV_SCAN_VERSION,
                                 &p.ADDONS_SCAN_VERSION, &p.DUDIDUDEVI24_VERSION, &p.MSFS_2024_INSTALL_PATH,
                                 &p.AI_PACKAGE_SELECTOR, &p.DESTINATION});
        return list;
    });
}

const std::vector<ControlParameter*>& g_controlStringParameters() {
    return lf_registry<ControlParameter>([](ParameterCatalogue& p) {
        return std::vector<ControlParameter*>{&p.BLOCK_CALLSIGN, &p.SIM_CHOICE};
    });
}

}  // namespace mrw
