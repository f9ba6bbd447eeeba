#pragma once
// Every setting and push button of the program, each with its default, limits or choices and the
// control it is shown in.
//
// Construction on first use: all the objects are members of one ParameterCatalogue, built the first
// time g_parameters() is called and never destroyed (detached threads may still read settings while
// the process exits). No static initialiser of another file can therefore see a setting before it
// exists.
//
// Use: g_parameters().RANDOM.current, g_parameters().RANGE.current, ... ; texts through
// g_parameters().SIM_CHOICE.current.get().

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "config/control_parameters.h"
#include "config/parameter.h"

namespace mrw {

struct ParameterCatalogue {
    // Saved settings, in the order of their registries and members; that is the element order of a
    // parameters.xml written whole.

    // Registry 1: bools without a control.
    BoolParameter RANDOM{"RANDOM", true};

    // Registry 2: check boxes.
    CheckBoxParameter ALWAYS_ON_TOP{"ALWAYS_ON_TOP", false, 0x8003, 147};
    CheckBoxParameter OBJECTID_LIST{"OBJECTID_LIST", false, 0x8007, 175};
    CheckBoxParameter NAV_LIGHTS_WHILE_PARKED{"NAV_LIGHTS_WHILE_PARKED", true, 0x8006, 175};
    CheckBoxParameter AEROWINX{"AEROWINX", false, 0x8008, 203};
    CheckBoxParameter GUID_CHANGES{"GUID_CHANGES", true, 0x8005, 203};
    CheckBoxParameter SCAN_LIVERIES{"SCAN_LIVERIES", true, 0x801E, 147};
    CheckBoxParameter LIG_AUTOMATIC{"LIG_AUTOMATIC", true, 0x801F, 147};
    CheckBoxParameter LIG_PRIORITIZE{"LIG_PRIORITIZE", true, 0x8020, 147};
    CheckBoxParameter SCAN_AIRPORTS{"SCAN_AIRPORTS", true, 0x8022, 175};
    CheckBoxParameter LIGHT_AIRCRAFT{"LIGHT_AIRCRAFT", true, 0x8029, 203};
    CheckBoxParameter HELICOPTERS{"HELICOPTERS", true, 0x802A, 203};
    CheckBoxParameter HIGH_PERF_AIRCRAFT{"HIGH_PERF_AIRCRAFT", true, 0x802B, 203};
    CheckBoxParameter AUTO_RANGE{"AUTO_RANGE", true, 0x8033, 231};
    CheckBoxParameter AIRBORNE_ONLY{"AIRBORNE_ONLY", false, 0x8035, 231};
    CheckBoxParameter COLLISION_USER_GND{"COLLISION_USER_GND", true, 0x8042, 287};
    CheckBoxParameter COLLISION_USER_AIR{"COLLISION_USER_AIR", true, 0x8041, 287};
    CheckBoxParameter COLLISION_LIVE_PARKED_GND{"COLLISION_LIVE_PARKED_GND", false, 0x8043, 287};
    CheckBoxParameter STRAIGHT_PBS_ONLY{"STRAIGHT_PBS_ONLY", false, 0x8057, 315};
    CheckBoxParameter INITIAL_LOAD_ONLY{"INITIAL_LOAD_ONLY", false, 0x8053, 371};
    CheckBoxParameter WEEK{"WEEK", false, 0x8055, 371};
    CheckBoxParameter PARK_SOFT{"PARK_SOFT", false, 0x8054, 371};

    // Registry 3: ints without a control. The main window's top-left corner in screen pixels leads it.
    IntParameter mainWindowX{"MAIN_WINDOW_X", 400, -30000, 30000};
    IntParameter mainWindowY{"MAIN_WINDOW_Y", 20, -30000, 30000};
    IntParameter LAST_EPOCH_TIME{"LAST_EPOCH_TIME:", 0, 0, 2147483647};  // the key ends with a colon
    IntParameter CUSTOM_PARKING_PERCENTAGE{"CUSTOM_PARKING_PERCENTAGE", -1, -1, 100};
    IntParameter HOLDING_THRESHOLD_METERS{"HOLDING_THRESHOLD_METERS", 250, 10, 4000};
    IntParameter MAX_HOLDING_MINUTES{"MAX_HOLDING_MINUTES", 20, 1, 60};
    IntParameter MAX_FIT{"MAX_FIT", 47, 0, 47};

    // Registry 4: int combo boxes.
    IntComboParameter MATCHING_DEPTH{"MATCHING_DEPTH", 4, {1, 2, 3, 4}, 0x8028, 203};
    IntComboParameter RANGE{"RANGE",
                            40,
                            {2, 3, 4, 5, 6, 8, 10, 12, 14, 16, 18, 20, 25, 30, 35, 40, 50, 65, 80, 100},
                            0x8032,
                            231};
    IntComboParameter AR_ABOVE_HEIGHT{
        "AR_ABOVE_HEIGHT",
        48000,
        {18000, 21000, 24000, 27000, 30000, 33000, 36000, 39000, 42000, 45000, 48000},
        0x8034,
        231};
    IntComboParameter MAX_PARK_SEL{"MAX_PARK_SEL", 500, {0, 10, 25, 50, 75, 100, 500}, 0x8050, 315};
    IntComboParameter MAX_LIVE_SEL{"MAX_LIVE_SEL", 500, {0, 10, 25, 50, 75, 100, 500}, 0x8051, 315};
    IntComboParameter AIRP_RANGE{"AIRP_RANGE", 20, {5, 10, 15, 20, 25, 30}, 0x8048, 343};
    IntComboParameter AIRP_HEIGHT{"AIRP_HEIGHT",
                                  18000,
                                  {2000, 4000, 6000, 8000, 10000, 12000, 14000, 16000, 18000, 36000, 48000},
                                  0x8049,
                                  343};

    // Registry 5: texts; a load or save-all refreshes no control for these, even the two with one.
    StringParameter PROGRAM_VERSION{"PROGRAM_VERSION", ""};
    StringParameter MSFS_INSTALL_PATH{"MSFS_INSTALL_PATH", ""};
    StringParameter PORT_NUMBER{"PORT_NUMBER", "10747"};
    StringParameter RT_IP_ADDRESS{"RT_IP_ADDRESS", "127.0.0.1"};
    // The manual livery folders "lfolder0" to "lfolder9", scanned in this order.
    std::array<StringParameter, 10> lfolder{StringParameter{"lfolder0", ""}, StringParameter{"lfolder1", ""},
                                            StringParameter{"lfolder2", ""}, StringParameter{"lfolder3", ""},
                                            StringParameter{"lfolder4", ""}, StringParameter{"lfolder5", ""},
                                            StringParameter{"lfolder6", ""}, StringParameter{"lfolder7", ""},
                                            StringParameter{"lfolder8", ""}, StringParameter{"lfolder9", ""}};
    StringParameter AIG_VERSION{"AIG_VERSION", ""};
    StringParameter DBASE_VERSION{"DBASE_VERSION", ""};
    StringParameter AIRPORTS_VERSION{"AIRPORTS_VERSION", ""};
    StringParameter LIV_SCAN_VERSION{"LIV_SCAN_VERSION", ""};
    StringParameter ADDONS_SCAN_VERSION{"ADDONS_SCAN_VERSION", ""};
    StringParameter DUDIDUDEVI24_VERSION{"DUDIDUDEVI24_VERSION", ""};
    StringParameter MSFS_2024_INSTALL_PATH{"MSFS_2024_INSTALL_PATH", ""};
    StringComboParameter AI_PACKAGE_SELECTOR;  // built in the constructor from g_aiPackageOrderings()
    ControlParameter DESTINATION{"DESTINATION", "", 0x8047, 343};

    // Registry 6: texts whose control a load or save-all refreshes.
    ControlParameter BLOCK_CALLSIGN{"BLOCK_CALLSIGN", "", 0x803C, 259};
    StringComboParameter SIM_CHOICE{"SIM_CHOICE", "MSFS 2020", {"MSFS 2020", "MSFS 2024"}, 0x8015, 119};

    // Settings in no registry: never loaded or saved whole.
    ControlParameter ALL_INSTALL_PATH{"ALL_INSTALL_PATH", "", 0x8014, 119};
    FloatComboParameter MAX_FIT_FL{"MAX_FIT_FL",
                                   24.0f,
                                   {0.5f, 1.0f, 1.5f, 2.0f, 2.5f,  3.0f,  3.5f,  4.0f,  4.5f,  5.0f,
                                    6.0f, 7.0f, 8.0f, 9.0f, 10.0f, 12.0f, 15.0f, 18.0f, 21.0f, 24.0f},
                                   0x8056,
                                   371};
    IntComboParameter parking_percentage{
        "parking_percentage",
        30,
        {0, 5, 10, 15, 20, 25, 30, 35, 40, 45, 50, 55, 60, 65, 70, 75, 80, 85, 90, 95, 100},
        0x8052,
        371};
    // The callsigns offered by CALLSIGN_2_OBJECTID; one empty text at start, refilled by the engine.
    std::shared_ptr<SharedChoices> callsignChoices =
        std::make_shared<SharedChoices>(std::vector<std::string>{""});
    SharedComboParameter CALLSIGN_2_OBJECTID{"CALLSIGN_2_OBJECTID", "", callsignChoices, 0x803F, 259};

    // Push buttons; never saved.
    PushButton tbloZipButton{"tblo.zip", 0x8024, 175};
    PushButton unblockButton{"Unblock", 0x803D, 257};
    PushButton csToOidButton{"cs->oid:", 0x803E, 257};
    PushButton blockButton{"Block", 0x8040, 257};
    PushButton nowButton{"Now", 0x804F, 313};
    PushButton rereadButton{"Re-read", 0x8046, 341};
    PushButton flushStaticButton{"Flush static", 0x8059, 369};

    ParameterCatalogue();
    ParameterCatalogue(const ParameterCatalogue&) = delete;
    ParameterCatalogue& operator=(const ParameterCatalogue&) = delete;
};

// The one catalogue, built on first use and never destroyed.
ParameterCatalogue& g_parameters();

// The 64 orderings of the AI packages offered by AI_PACKAGE_SELECTOR: for 4, 3, 2 and 1 packages,
// the subsets in combination order, each in all its orderings ("AIG, FSLTL, JF, MTL" first, "MTL" last).
const std::vector<std::string>& g_aiPackageOrderings();

// The shared list behind CALLSIGN_2_OBJECTID.
SharedChoices& g_callsignChoices();

// The traffic range: RANGE's current value in nautical miles and in metres (x 1852), kept in step by
// the code that sets the range and read without a lock by the readers.
inline std::atomic<double> g_rangeNm{40.0};
inline std::atomic<std::uint32_t> g_rangeMeters{74080};

// The names of the eight settings that an airport file may set for its airport, in the order
// RANGE, AUTO_RANGE, INITIAL_LOAD_ONLY, PARK_SOFT, parking_percentage, MAX_FIT, WEEK, MAX_LIVE_SEL.
const std::array<const std::string*, 8>& g_apfParameterNames();

}  // namespace mrw
