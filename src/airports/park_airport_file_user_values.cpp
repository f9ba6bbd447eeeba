// The user's own values of the eight per-airport settings, put back when static parking leaves the
// park airport whose learned file changed them.

#include "airports/park_airport_file.h"

#include "config/control_updates.h"
#include "config/parameter_catalogue.h"
#include "config/traffic_range.h"

namespace mrw {

namespace {

// Sets and saves a clamped int when the user's value differs; true when it did.
bool lf_restoreInt(IntParameter& setting, std::int32_t userValue) {
    if (setting.current.load() == userValue) return false;
    setting.current = setting.clamp(userValue);
    setting.save();
    return true;
}

void lf_restoreCheck(CheckBoxParameter& setting, bool userValue) {
    if (setting.current.load() == userValue) return;
    setting.current = userValue;
    setting.save();
    setting.showCheck();
}

}  // namespace

void gf_restoreUserParameters() {
    if (!g_userParameterValues) return;
    const UserParameterValues& user = *g_userParameterValues;
    auto& settings = g_parameters();
    if (lf_restoreInt(settings.MAX_LIVE_SEL, user.maxLiveSel))
        gf_selectChoice(settings.MAX_LIVE_SEL, settings.MAX_LIVE_SEL.current.load());
    if (lf_restoreInt(settings.MAX_FIT, user.maxFit)) gf_selectMaxFit();
    if (lf_restoreInt(settings.RANGE, user.range)) gf_setRangeNm(user.range);
    if (lf_restoreInt(settings.parking_percentage, user.parkingPercentage))
        gf_selectChoice(settings.parking_percentage, settings.parking_percentage.current.load());
    if (settings.AUTO_RANGE.current.load() != user.autoRange) {
        lf_restoreCheck(settings.AUTO_RANGE, user.autoRange);
        gf_enableControl(settings.RANGE, !user.autoRange);
        gf_enableControl(settings.AR_ABOVE_HEIGHT, user.autoRange);
    }
    lf_restoreCheck(settings.INITIAL_LOAD_ONLY, user.initialLoadOnly);
    lf_restoreCheck(settings.PARK_SOFT, user.parkSoft);
    lf_restoreCheck(settings.WEEK, user.week);
}

}  // namespace mrw
