#pragma once
// The main window on the window floor: its messages, geometry, colours, the window handle and GDI
// objects. The state it shows is the window model (foundation/window_model.h), which the lower
// floors write; the view observes the model's changes and repaints.

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>

#include "foundation/version_data.h"
#include "foundation/window_model.h"
#include "platform/win32/win32.h"

namespace mrw {

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

// What the window floor adds to the window model: the window itself and its GDI objects.
class MainWindowView {
  public:
    MainWindowView();
    MainWindowView(const MainWindowView&) = delete;
    MainWindowView& operator=(const MainWindowView&) = delete;
    virtual ~MainWindowView() = default;

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

    // The main window; null until it exists. Written once by the UI thread, read by every thread
    // to post messages and invalidate bands.
    std::atomic<HWND> hwnd{nullptr};
};

// Built on first use and never destroyed: threads that outlive static destruction still use it.
// Building it registers the window's observer of the window model: a band change invalidates the
// band (with erase), a message-line change posts WM_APP_MESSAGE_LINE; nothing while hwnd is null.
// It registers the window's display of the settings' values in their controls too.
MainWindowView& g_mainWindowView();

// Recounts the active live aircraft (parked and not) and the static aircraft and repaints only the
// bands whose counts changed. Main worker only: it walks the engine's lists.
void lf_refreshCounters();

}  // namespace mrw
