#include "app/parking_controls.h"

#include <initializer_list>

#include "app/control_updates.h"
#include "app/main_window.h"
#include "config/parameter_catalogue.h"

namespace mrw {

namespace {

void lf_enableParkingControls(bool enable) {
    auto& settings = g_parameters();
    for (const ControlBinding* binding : std::initializer_list<const ControlBinding*>{
             &settings.parking_percentage, &settings.WEEK, &settings.PARK_SOFT, &settings.MAX_FIT_FL,
             &settings.MAX_PARK_SEL, &settings.MAX_LIVE_SEL, &settings.flushStaticButton,
             &settings.rereadButton})
        gf_enableControl(*binding, enable);
    if (!settings.INITIAL_LOAD_ONLY.current.load()) gf_enableControl(settings.nowButton, enable);
    g_nowButtonAllowed = true;
}

}  // namespace

void gf_disableParkingControls() {
    g_parkingUpdateRunning.exchange(true);
    lf_enableParkingControls(false);
}

void gf_enableParkingControls() {
    g_parkingUpdateRunning.exchange(false);
    g_mainWindow().minutesToParkingUpdate = 20;
    gf_invalidateControlPanel();
    lf_enableParkingControls(true);
}

}  // namespace mrw
