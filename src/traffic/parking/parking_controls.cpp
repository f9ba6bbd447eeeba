#include "traffic/parking/parking_controls.h"

#include <initializer_list>

#include "config/control_updates.h"
#include "config/parameter_catalogue.h"
#include "foundation/window_model.h"

namespace mrw {

namespace {

// The controls an update disables, Now apart.
void lf_enableParkingSettings(bool enable) {
    auto& settings = g_parameters();
    for (const ControlBinding* binding : std::initializer_list<const ControlBinding*>{
             &settings.MAX_PARK_SEL, &settings.MAX_LIVE_SEL, &settings.parking_percentage, &settings.WEEK,
             &settings.PARK_SOFT, &settings.MAX_FIT_FL, &settings.flushStaticButton, &settings.rereadButton})
        gf_enableControl(*binding, enable);
}

void lf_enableNow(bool enable) {
    auto& settings = g_parameters();
    if (!settings.INITIAL_LOAD_ONLY.current.load()) gf_enableControl(settings.nowButton, enable);
    g_nowButtonAllowed = true;
}

}  // namespace

void gf_disableParkingControls() {
    g_parkingUpdateRunning.exchange(true);
    lf_enableParkingSettings(false);
    lf_enableNow(false);
    gf_invalidateControlPanel();  // the "Airport parking" caption turns yellow
}

void gf_enableParkingControls() {
    g_parkingUpdateRunning.exchange(false);
    g_mainWindow().minutesToParkingUpdate = 20;
    gf_invalidateControlPanel();
    lf_enableParkingSettings(true);
    lf_enableNow(true);
    gf_invalidateControlPanel();
}

void gf_enableNowButtonByOption() {
    auto& settings = g_parameters();
    gf_enableControl(settings.nowButton, !settings.INITIAL_LOAD_ONLY.current.load() && g_nowButtonAllowed);
}

}  // namespace mrw
