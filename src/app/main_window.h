#pragma once
// The one main-window object: the state that every subsystem writes and the window paints.

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

#include "config/guarded_text.h"
#include "config/parameter.h"
#include "foundation/fixed_code.h"
#include "platform/win32/user32.h"

namespace mrw {

// The main window's private messages.
inline constexpr UINT WM_APP_START_RUN = WM_APP + 1;        // start a new main worker
inline constexpr UINT WM_APP_QUIT = WM_APP + 2;             // save the position and end the loop
inline constexpr UINT WM_APP_MESSAGE_LINE = WM_APP + 0x60;  // repaint the message band

// The status band of the client area, which shows the counters: invalidated (with erase) after a
// counter changes.
inline constexpr RECT kStatusBandRect{0, 28, 880, 112};
// The control panel below it, with the check boxes, combo boxes and buttons of the settings.
inline constexpr RECT kControlPanelRect{0, 112, 880, 392};
// The info band below the panel: the park airport, its file, its stands and the parking counts.
inline constexpr RECT kInfoBandRect{0, 392, 880, 448};

class MainWindow {
  public:
    // The window's top-left corner in screen pixels, saved in parameters.xml; they lead the
    // registry of int settings.
    IntParameter mainWindowX{"MAIN_WINDOW_X", 400, -30000, 30000};
    IntParameter mainWindowY{"MAIN_WINDOW_Y", 20, -30000, 30000};

    // The message line: the normal text, the sticky error text and the second the normal text was
    // set (0 = none). Guarded by messageMutex; changed only through the message-line functions.
    std::mutex messageMutex;
    std::string message;
    std::string errorMessage;
    std::int32_t messageSecond = 0;

    // The main window; null until it exists. Written once by the UI thread, read by every thread
    // to post messages and invalidate bands.
    std::atomic<HWND> hwnd{nullptr};

    // Seconds of the run, advanced once per simulator second by the main loop. Atomic because the
    // message line reads it from other threads.
    std::atomic<std::int32_t> secondsCounter{0};

    // Status-band counters, written by the main worker and painted by the UI thread.
    std::atomic<std::int32_t> standsCount{0};     // "# stands: {:3}"
    std::atomic<std::int32_t> updatesCount{0};    // "# updates: {:4}"
    std::atomic<std::uint64_t> liveriesCount{0};  // "# liveries: {}"
    // Airport files of the airports scan: links and generated files of simulator airports
    // (airports/my_simaddon) and of third party scenery (airports/my_thirdparty).
    std::atomic<std::int32_t> simaddonCount{0};
    std::atomic<std::int32_t> thirdPartyCount{0};

    // The park airport's file as the info band shows it: its publisher (or "{} ({})" with the file's
    // version), its quality factors ("qf: {}") and whether it is handmade (" (h)"). Written by the
    // main worker, painted by the UI thread.
    GuardedText parkPublisherText;
    GuardedText parkQualityText;
    std::atomic<std::uint8_t> parkHandmade{0};

    // The park airport and static parking as the info band shows them. Written by the main worker
    // (the user's stand also by the SimConnect client), painted by the UI thread.
    std::atomic<FixedCode<4>> parkAirportCode{FixedCode<4>{}};  // the empty code = none
    GuardedText parkAirportText;                                // the airport name of its file
    GuardedText userStandText;                                  // the stand the user aircraft stands on
    std::atomic<bool> parkFileOk{false};
    std::atomic<bool> reservedStandFound{false};
    std::atomic<bool> softParking{false};
    std::atomic<bool> weekParking{false};
    std::atomic<std::int32_t> maxPark{0};
    std::atomic<std::int32_t> maxParkPercent{0};
    std::atomic<std::int32_t> minutesToParkingUpdate{0};
    std::atomic<float> averageFitStatic{-1.0f};  // hours; -1 = none
    std::atomic<float> averageFitLive{-1.0f};
};

// Built on first use and never destroyed: threads that outlive static destruction still use it.
MainWindow& g_mainWindow();

// Repaints the status band after a counter changed; nothing before the window exists.
void gf_invalidateStatusBand();
// Repaints the control panel after a control changed from the main worker.
void gf_invalidateControlPanel();
// Repaints the info band after the park airport or a parking count changed.
void gf_invalidateInfoBand();

}  // namespace mrw
