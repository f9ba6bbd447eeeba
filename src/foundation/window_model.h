#pragma once
// The window model: the state that the main window shows (its status, info and message bands and
// the counts and flags behind its lamps), written by every floor and read by the window to paint.
// It holds no window: a writer stores a field and then reports the change through the one
// notification below; the window, when it exists, observes it and repaints what shows the field.
//
// Sharing: other threads write these fields while the UI thread paints them. Numbers and flags are
// atomics, texts are GuardedTexts (the painter takes a copy), the park airport's code is an atomic
// four-byte value; only the message line has the mutex of its own (message_line.h).

#include <atomic>
#include <cstdint>
#include <string>

#include "foundation/fixed_code.h"
#include "foundation/guarded_text.h"
#include "foundation/log.h"
#include "foundation/reader_status.h"
#include "foundation/thread_safety.h"

namespace mrw {

class MainWindow {
  public:
    MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;
    virtual ~MainWindow() = default;

    // The message line: the normal text, the sticky error text and the second the normal text was
    // set (0 = none); changed only through the message-line functions. Log.txt's mutex may be taken
    // while it is held, never the other way round.
    Mutex messageMutex ACQUIRED_BEFORE(g_logMutex());

    std::string message GUARDED_BY(messageMutex);
    std::string errorMessage GUARDED_BY(messageMutex);

    GuardedText userAircraftText;        // the user aircraft's title or model (status band)
    GuardedText parkAirportText;         // the park airport's name (info band)
    GuardedText parkPublisherText;       // publisher of the park airport's file
    GuardedText parkQualityText;         // its quality factors, "qf: {}"
    GuardedText simulatorText;           // simulator name and version
    GuardedText realTrafficEditionText;  // "RT {} edition: {}"
    GuardedText userStandText;           // the user aircraft's stand
    GuardedText callsignObjectIdText;    // result of the callsign-to-object-id lookup

    // The park airport; the empty code means none and hides the info band's content.
    std::atomic<FixedCode<4>> parkAirportCode{FixedCode<4>{}};
    std::atomic<float> averageFitStatic{-1.0f};  // hours; -1 = none
    std::atomic<float> averageFitLive{-1.0f};

    std::atomic<std::uint64_t> liveCount{0};        // active live aircraft not parked, "live: {:3}"
    std::atomic<std::int32_t> simaddonCount{0};     // "# simaddon: {}"
    std::atomic<std::int32_t> thirdPartyCount{0};   // "# thirdp: {}"
    std::atomic<std::uint64_t> liveriesCount{0};    // "# liveries: {}"
    std::atomic<std::uint64_t> parkedLiveCount{0};  // "parked live: {:3}"
    std::atomic<std::uint64_t> staticCount{0};      // "static: {:3}"
    std::atomic<std::int32_t> standsCount{0};       // "# stands: {:3}"

    const std::int32_t infoRowY = 399;  // first info-band row; the second is 28 pixels lower
    std::atomic<std::int32_t> maxParkPercent{0};
    std::atomic<std::int32_t> qnh{0};      // hPa
    std::atomic<std::int32_t> maxPark{0};  // wanted parked aircraft; 0 = "no max park live"
    std::atomic<std::int32_t> minutesToParkingUpdate{0};
    // Seconds of the run, advanced once per simulator second by the main loop. Atomic because the
    // message line reads it from other threads.
    std::atomic<std::int32_t> secondsCounter{0};
    std::int32_t messageSecond GUARDED_BY(messageMutex) = 0;
    std::atomic<std::int32_t> updatesCount{0};  // "# updates: {:4}"
    std::atomic<std::uint64_t> pendingStaticCount{0};

    // The park airport's file is handmade: " (h)" in the info band.
    std::atomic<std::uint8_t> parkHandmade{0};
    std::atomic<bool> realTrafficNotStarted{true};  // the RealTraffic lamp is black
    std::atomic<bool> realTrafficReady{false};
    std::atomic<bool> parkFileOk{false};
    std::atomic<bool> simConnected{false};
    std::atomic<bool> simRunning{false};
    std::atomic<bool> userModelKnown{true};
    std::atomic<bool> softParking{false};
    std::atomic<bool> weekParking{false};
    std::atomic<bool> reservedStandFound{false};
    // Set last by the constructor; the process entry waits for it.
    std::atomic<bool> initialised{false};
    std::atomic<ReaderStatus> trafficReaderStatus{ReaderStatus::Stopped};
    std::atomic<ReaderStatus> weatherReaderStatus{ReaderStatus::Stopped};
};

// Built on first use and never destroyed: threads that outlive static destruction still use it.
MainWindow& g_mainWindow();

// Every field of the window model back at its start value: the object is built anew in place, so no
// field can be left out. Only while no other thread uses the model (a test between two others).
void gf_renewMainWindow();

// What changed in the model, as the window shows it.
enum class WindowChange : std::uint8_t {
    StatusBand,    // the status band's texts, counts or lamps
    ControlPanel,  // the control panel's painted content
    InfoBand,      // the info band (park airport, counts, fit)
    MessageLine,   // the message line's texts
};

// The one notification: the window registers its observer when it comes into being (any thread may
// then call it, so it must only invalidate or post); until then, and in programs without a window,
// changes go nowhere. Registering null stops the notifications.
using WindowModelObserver = void (*)(WindowChange change);
void gf_observeWindowModel(WindowModelObserver observer);
void gf_windowModelChanged(WindowChange change);

// The change of one band, by the names the writers use.
void gf_invalidateStatusBand();
void gf_invalidateControlPanel();
void gf_invalidateInfoBand();

}  // namespace mrw
