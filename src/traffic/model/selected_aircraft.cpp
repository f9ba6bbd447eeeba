#include "traffic/model/selected_aircraft.h"

#include <algorithm>
#include <string>
#include <vector>

#include "config/control_updates.h"
#include "config/parameter_catalogue.h"
#include "foundation/window_model.h"
#include "traffic/model/engine_containers.h"

namespace mrw {

void gf_clearSelectedAc() {
    g_selectedObjectId.store(0);
    g_mainWindow().callsignObjectIdText.set("");
    gf_invalidateControlPanel();
    ParameterCatalogue& p = g_parameters();
    g_callsignChoices().replace({""});
    p.CALLSIGN_2_OBJECTID.current.set("");
    p.CALLSIGN_2_OBJECTID.fillCombo();
    gf_enableControl(p.CALLSIGN_2_OBJECTID, false);
    gf_enableControl(p.blockButton, false);
}

bool lf_refreshSelectableAcs() {
    std::vector<std::string> callsigns;
    for (const LiveAc& aircraft : g_liveAcs)
        if (aircraft.simState == SimState::Active && aircraft.phase != FlightPhase::Parked)
            callsigns.push_back(aircraft.callsign);
    std::sort(callsigns.begin(), callsigns.end());
    const bool any = !callsigns.empty();
    ParameterCatalogue& p = g_parameters();
    p.CALLSIGN_2_OBJECTID.current.set(any ? callsigns.front() : std::string{});
    g_callsignChoices().replace(std::move(callsigns));
    p.CALLSIGN_2_OBJECTID.fillCombo();
    gf_enableControl(p.CALLSIGN_2_OBJECTID, any);
    gf_enableControl(p.blockButton, any && !gf_controlEnabled(p.unblockButton));
    return any;
}

}  // namespace mrw
