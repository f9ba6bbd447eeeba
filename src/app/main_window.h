#pragma once
// The one main-window object: the state that every subsystem writes and the window paints.
//
// Sharing: other threads write these fields while the UI thread paints them. Numbers and flags are
// atomics, texts are GuardedTexts (the painter takes a copy), the park airport's code is an atomic
// four-byte value; only the message line has the mutex of its own (message_line.h). A writer stores
// and then invalidates the band that shows the field.

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>

#include "config/guarded_text.h"
#include "config/parameter.h"
#include "foundation/fixed_code.h"
#include "platform/win32/win32.h"
#include "traffic/feed/reader_status.h"

namespace mrw {

// The product's name: the window's class and title, and the name in the window's texts.
inline constexpr std::string_view kProductName = "Merrowvale";

// The main window's private messages.
inline constexpr UINT WM_APP_START_RUN = WM_APP + 1;        // start a new main worker
inline constexpr UINT WM_APP_QUIT = WM_APP + 2;             // save the position and end the loop
inline constexpr UINT WM_APP_MESSAGE_LINE = WM_APP + 0x60;  // repaint the message band

// The window has no frame of its own: the client area is the whole 880 x 516 window.
inline constexpr int kWindowWidth = 880;
inline constexpr int kWindowHeight = 516;

// The five painted bands, as writers invalidate them. The status and message bands reach one pixel
// further (113, 477) because the paint fills them that far.
inline constexpr RECT kTitleBandRect{0, 0, 880, 28};
inline constexpr RECT kStatusBandRect{0, 28, 880, 113};
inline constexpr RECT kControlPanelRect{0, 112, 880, 392};
inline constexpr RECT kInfoBandRect{0, 392, 880, 448};
inline constexpr RECT kMessageBandRect{0, 448, 880, 477};

// The colours of the window (0x00BBGGRR).
inline constexpr COLORREF kGreen = 0x32CD32;
inline constexpr COLORREF kYellow = 0x00FFFF;
inline constexpr COLORREF kRed = 0x0000FF;
inline constexpr COLORREF kBlack = 0x000000;
inline constexpr COLORREF kGrey = 0xA0A0A0;
inline constexpr COLORREF kPanelBlue = 0xFFCC99;
inline constexpr COLORREF kWhite = 0xFFFFFF;

struct LineSegment {
    POINT from;
    POINT to;
};

class MainWindow {
  public:
    MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;
    virtual ~MainWindow() = default;

    // The window's top-left corner in screen pixels, saved in parameters.xml; they lead the
    // registry of int settings.
    IntParameter mainWindowX{"MAIN_WINDOW_X", 400, -30000, 30000};
    IntParameter mainWindowY{"MAIN_WINDOW_Y", 20, -30000, 30000};

    HBRUSH redBrush = nullptr;     // red lamps, error message line
    HBRUSH panelBrush = nullptr;   // the control panel
    HBRUSH blackBrush = nullptr;   // title, status and info bands, the black RealTraffic lamp
    HBRUSH greenBrush = nullptr;   // normal message line, green lamps
    HBRUSH yellowBrush = nullptr;  // yellow lamps
    HPEN blackPen = nullptr;       // panel grid, lamp divider
    HPEN whitePen = nullptr;       // band separators

    // The horizontal grid of the control panel.
    const std::array<LineSegment, 7> panelLines{{{{0, 140}, {880, 140}},
                                                 {{0, 168}, {642, 168}},
                                                 {{0, 196}, {642, 196}},
                                                 {{0, 224}, {642, 224}},
                                                 {{0, 252}, {642, 252}},
                                                 {{0, 280}, {642, 280}},
                                                 {{0, 308}, {880, 308}}}};

    // The message line: the normal text, the sticky error text and the second the normal text was
    // set (0 = none). Guarded by messageMutex; changed only through the message-line functions.
    std::mutex messageMutex;

    // The main window; null until it exists. Written once by the UI thread, read by every thread
    // to post messages and invalidate bands.
    std::atomic<HWND> hwnd{nullptr};

    std::string message;
    std::string errorMessage;

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
    std::int32_t messageSecond = 0;             // messageMutex
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

// Invalidate one band of the main window (with erase); nothing before the window exists.
void gf_invalidateStatusBand();
void gf_invalidateControlPanel();
void gf_invalidateInfoBand();

// Recounts the active live aircraft (parked and not) and the static aircraft and repaints only the
// bands whose counts changed. Main worker only: it walks the engine's lists.
void lf_refreshCounters();

}  // namespace mrw
