#include "support/main_window_reset.h"

#include <mutex>

#include "foundation/window_model.h"

namespace mrwtest {

void resetMainWindowState() {
    mrw::MainWindow& w = mrw::g_mainWindow();
    {
        std::lock_guard lock(w.messageMutex);
        w.message.clear();
        w.errorMessage.clear();
        w.messageSecond = 0;
    }
    for (mrw::GuardedText* text :
         {&w.userAircraftText, &w.parkAirportText, &w.parkPublisherText, &w.parkQualityText, &w.simulatorText,
          &w.realTrafficEditionText, &w.userStandText, &w.callsignObjectIdText})
        text->set({});
    w.parkAirportCode = mrw::FixedCode<4>{};
    w.averageFitStatic = -1.0F;
    w.averageFitLive = -1.0F;
    for (auto* count :
         {&w.liveCount, &w.liveriesCount, &w.parkedLiveCount, &w.staticCount, &w.pendingStaticCount})
        *count = 0;
    for (auto* number : {&w.simaddonCount, &w.thirdPartyCount, &w.standsCount, &w.maxParkPercent, &w.qnh,
                         &w.maxPark, &w.minutesToParkingUpdate, &w.secondsCounter, &w.updatesCount})
        *number = 0;
    w.parkHandmade = 0;
    w.realTrafficNotStarted = true;
    w.userModelKnown = true;
    for (auto* flag : {&w.realTrafficReady, &w.parkFileOk, &w.simConnected, &w.simRunning, &w.softParking,
                       &w.weekParking, &w.reservedStandFound})
        *flag = false;
    w.trafficReaderStatus = mrw::ReaderStatus::Stopped;
    w.weatherReaderStatus = mrw::ReaderStatus::Stopped;
}

}  // namespace mrwtest
