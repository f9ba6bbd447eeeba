#include "app/status_painting.h"

#include <fmt/format.h>

#include <algorithm>
#include <climits>
#include <exception>
#include <string>
#include <string_view>
#include <unordered_set>

#include "airports/airports_scan.h"
#include "app/child_controls.h"
#include "app/main_window.h"
#include "config/parameter_catalogue.h"
#include "config/parameters_xml.h"
#include "foundation/text_encoding.h"
#include "foundation/text_helpers.h"
#include "foundation/thread_safety.h"
#include "foundation/version_data.h"
#include "traffic/parking/parking_controls.h"
#include "traffic/parking/static_parking.h"

namespace mrw {

namespace {

// Texts that failed to convert, so that each is logged once and not at every repaint. UI thread only.
bool lf_firstFailureOf(const std::string& text) {
    static std::unordered_set<std::string> logged;
    if (logged.size() > 100) logged.clear();  // bounded: a stream of new bad texts is still reported
    return logged.insert(text).second;
}

int lf_textWidth(HDC hdc, std::u16string_view text) {
    SIZE size{};
    GetTextExtentPoint32W(hdc, text.data(), static_cast<INT>(std::min<std::size_t>(text.size(), INT_MAX)),
                          &size);
    return size.cx;
}

bool lf_isLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit < 0xE000;
}

// The most units of the text, never half a surrogate pair, for which `fits` holds: from its start,
// or from its end.
template <typename Fits>
std::size_t lf_mostUnits(std::u16string_view text, bool fromEnd, Fits fits) {
    std::size_t low = 0;
    std::size_t high = text.size();
    while (low < high) {
        const std::size_t mid = (low + high + 1) / 2;
        if (fits(fromEnd ? text.substr(text.size() - mid) : text.substr(0, mid))) {
            low = mid;
        } else {
            high = mid - 1;
        }
    }
    const std::size_t cut = fromEnd ? text.size() - low : low;
    if (low > 0 && cut < text.size() && lf_isLowSurrogate(text[cut])) --low;
    return low;
}

// A text wider than maxWidth loses its middle to "...": its start says what happened, and its end
// is where a long path differs (the message line shows paths the user typed).
std::u16string lf_fitted(HDC hdc, std::u16string text, int maxWidth) {
    if (maxWidth == INT_MAX || lf_textWidth(hdc, text) <= maxWidth) return text;
    constexpr std::u16string_view kDots = u"...";
    const std::size_t head = lf_mostUnits(
        text, false, [&](std::u16string_view start) { return lf_textWidth(hdc, start) <= maxWidth * 2 / 5; });
    const std::u16string start = text.substr(0, head) + std::u16string(kDots);
    const std::u16string_view rest = std::u16string_view(text).substr(head);
    const std::size_t tail = lf_mostUnits(rest, true, [&](std::u16string_view end) {
        return lf_textWidth(hdc, start + std::u16string(end)) <= maxWidth;
    });
    return start + std::u16string(rest.substr(rest.size() - tail));
}

// Draws the text in the colour; a text wider than maxWidth loses its middle.
void lf_drawText(HDC hdc, int x, int y, const std::string& text, COLORREF colour, int maxWidth = INT_MAX) {
    const COLORREF previous = SetTextColor(hdc, colour);
    try {
        const std::u16string wide = lf_fitted(hdc, utf8_to_wide(text), maxWidth);
        const auto length = static_cast<INT>(std::min<std::size_t>(wide.size(), INT_MAX));
        TextOutW(hdc, x, y, wide.c_str(), length);
    } catch (const std::exception& e) {
        if (lf_firstFailureOf(text))
            gf_logLineUnlessClosing(fmt::format("TextOut utf8  to wide failed for '{}': {}", text, e.what()));
    }
    SetTextColor(hdc, previous);
}

void lf_fill(HDC hdc, const RECT& rect, HBRUSH brush) {
    FillRect(hdc, &rect, brush);
}

void lf_line(HDC hdc, int x1, int y1, int x2, int y2) {
    MoveToEx(hdc, x1, y1, nullptr);
    LineTo(hdc, x2, y2);
}

bool lf_readerShows(ReaderStatus status) {
    return status == ReaderStatus::Receiving || status == ReaderStatus::NothingNew;
}

// The Sim lamp: green while a flight runs with a known user aircraft, yellow while only connected.
COLORREF lf_simLampColour(const MainWindow& window, const std::string& userAircraft) {
    if (!window.simConnected) return kRed;
    return window.simRunning && !userAircraft.empty() ? kGreen : kYellow;
}

COLORREF lf_realTrafficLampColour(const MainWindow& window) {
    if (window.realTrafficNotStarted) return kBlack;
    if (window.realTrafficReady)
        return window.trafficReaderStatus == ReaderStatus::Receiving ? kGreen : kYellow;
    return kRed;
}

HBRUSH lf_brushOf(COLORREF colour) {
    switch (colour) {
        case kGreen:
            return g_mainWindowView().greenBrush;
        case kYellow:
            return g_mainWindowView().yellowBrush;
        case kRed:
            return g_mainWindowView().redBrush;
        default:
            return g_mainWindowView().blackBrush;
    }
}

// "# simaddon: 12" in green, or "# simaddon: ..." in yellow while none is counted.
void lf_drawAddonCount(HDC hdc, int x, std::string_view label, std::int32_t count) {
    if (count == 0) {
        lf_drawText(hdc, x, 91, fmt::format("{}: ...", label), kYellow);
    } else {
        lf_drawText(hdc, x, 91, fmt::format("{}: {}", label, count), kGreen);
    }
}

void lf_paintStatusArea(HDC hdc) {
    MainWindow& window = g_mainWindow();
    const std::string userAircraft = window.userAircraftText.get();
    const COLORREF simLamp = lf_simLampColour(window, userAircraft);
    lf_fill(hdc, RECT{397, 30, 426, 113}, lf_brushOf(simLamp));
    lf_drawText(hdc, 398, 63, "Sim", kGreen);
    if (window.simConnected) {
        std::string simulator = window.simulatorText.get();
        const std::string userStand = window.userStandText.get();
        if (!userStand.empty()) simulator += ", user stand " + userStand;
        lf_drawText(hdc, 5, 35, simulator, simLamp);
        lf_drawText(hdc, 5, 63, userAircraft, window.userModelKnown ? simLamp : kYellow);
    } else {
        lf_drawText(hdc, 5, 35, "MSFS", kGreen);
    }

    const std::uint64_t liveries = window.liveriesCount;
    if (liveries == 0) {
        lf_drawText(hdc, 5, 91, "# liveries: ...", kRed);
    } else {
        lf_drawText(hdc, 5, 91, fmt::format("# liveries: {}", liveries), kGreen);
    }
    lf_drawAddonCount(hdc, 141, "# simaddon", window.simaddonCount);
    lf_drawAddonCount(hdc, 278, "# thirdp", window.thirdPartyCount);

    lf_fill(hdc, RECT{425, 30, 454, 113}, lf_brushOf(lf_realTrafficLampColour(window)));
    lf_drawText(hdc, 430, 63, "RT", kGreen);
    if (window.realTrafficReady) {
        const ReaderStatus traffic = window.trafficReaderStatus;
        const ReaderStatus weather = window.weatherReaderStatus;
        lf_drawText(hdc, 458, 35, window.realTrafficEditionText.get(),
                    traffic == ReaderStatus::Receiving ? kGreen : kYellow);
        if (weather != ReaderStatus::Stopped)
            lf_drawText(hdc, 458, 63, "Weather", weather == ReaderStatus::Receiving ? kGreen : kYellow);
        if (traffic != ReaderStatus::Stopped)
            lf_drawText(hdc, 458, 91, "Traffic", traffic == ReaderStatus::Receiving ? kGreen : kYellow);
    }
    SelectObject(hdc, g_mainWindowView().blackPen);
    lf_line(hdc, 425, 29, 425, 112);
}

COLORREF lf_onOff(bool on, COLORREF whenOn, COLORREF whenOff) {
    return on ? whenOn : whenOff;
}

COLORREF lf_enabledColour(const ControlBinding& binding) {
    return binding.hwnd != nullptr && !IsWindowEnabled(binding.hwnd) ? kGrey : kBlack;
}

// "Max park (static+live):" and "Max live (park incl):": red when both limits are 0, yellow when
// only its own is.
COLORREF lf_limitColour(std::int32_t own, std::int32_t other) {
    if (own == 0 && other == 0) return kRed;
    return own == 0 ? kYellow : kBlack;
}

std::string lf_renewalText() {
    if (!g_parkFileLoaded || g_parkingUpdateRunning) return {};
    if (g_parameters().INITIAL_LOAD_ONLY.current) return "(no next ... )";
    const std::int32_t minutes = g_mainWindow().minutesToParkingUpdate;
    return minutes >= 1 && minutes <= 19 ? fmt::format("(next in {} min)", minutes) : std::string();
}

void lf_paintPanelCaptions(HDC hdc) {
    ParameterCatalogue& p = g_parameters();
    MainWindow& window = g_mainWindow();
    struct Caption {
        std::string text;
        int x;
        std::int32_t row;
        COLORREF colour;
    };
    const std::int32_t maxPark = p.MAX_PARK_SEL.current;
    const std::int32_t maxLive = p.MAX_LIVE_SEL.current;
    const bool autoRange = p.AUTO_RANGE.current;
    const std::string lookup = window.callsignObjectIdText.get();
    const bool showLookup = !lookup.empty() && !p.CALLSIGN_2_OBJECTID.current.empty();
    const Caption captions[] = {
        {"Meta:", 652, p.ALWAYS_ON_TOP.rowY, kBlack},
        {"Stay on top", 768, p.ALWAYS_ON_TOP.rowY, kBlack},
        {"Oid list", 672, p.OBJECTID_LIST.rowY, kBlack},
        {"Nav lights", 768, p.NAV_LIGHTS_WHILE_PARKED.rowY, kBlack},
        {"GUID changes", 768, p.GUID_CHANGES.rowY, lf_onOff(p.GUID_CHANGES.current, kBlack, kYellow)},
        {"Aerowinx", 672, p.AEROWINX.rowY, lf_onOff(p.AEROWINX.current, kYellow, kBlack)},
        {"Scan for liveries", 25, p.SCAN_LIVERIES.rowY, lf_onOff(p.SCAN_LIVERIES.current, kYellow, kBlack)},
        {"Automatic:", 237, p.LIG_AUTOMATIC.rowY, kBlack},
        {"Prioritize", 556, p.LIG_PRIORITIZE.rowY, kBlack},
        {"Scan for addon airports", 25, p.SCAN_AIRPORTS.rowY,
         lf_onOff(p.SCAN_AIRPORTS.current, kYellow, kBlack)},
        {g_tbloFileCount > 0 ? std::string(kTbloRequestText) : std::string(), 303, p.tbloZipButton.rowY,
         kYellow},
        {"Max aircraft matching depth", 5, p.MATCHING_DEPTH.rowY, kBlack},
        {"Optional:", 258, p.LIGHT_AIRCRAFT.rowY, kBlack},
        {"Light aircraft", 343, p.LIGHT_AIRCRAFT.rowY, lf_enabledColour(p.LIGHT_AIRCRAFT)},
        {"Helicopters", 450, p.HELICOPTERS.rowY, lf_enabledColour(p.HELICOPTERS)},
        {"FighterJets", 556, p.HIGH_PERF_AIRCRAFT.rowY, lf_enabledColour(p.HIGH_PERF_AIRCRAFT)},
        {"Traffic injection", 5, p.RANGE.rowY, kBlack},
        {"Radius:", 163, p.RANGE.rowY, kBlack},
        {"nm, or", 270, p.RANGE.rowY, kBlack},
        {"Auto radius", 343, p.AUTO_RANGE.rowY, kBlack},
        {"Ah:", 430, p.AR_ABOVE_HEIGHT.rowY, lf_onOff(autoRange, kBlack, kGrey)},
        {"ft", 536, p.AR_ABOVE_HEIGHT.rowY, lf_onOff(autoRange, kBlack, kGrey)},
        {"AirOnly", 592, p.AIRBORNE_ONLY.rowY, lf_onOff(p.AIRBORNE_ONLY.current, kYellow, kBlack)},
        {"Block callsign:", 5, p.BLOCK_CALLSIGN.rowY, kBlack},
        {showLookup ? lookup : std::string(), 476, p.CALLSIGN_2_OBJECTID.rowY, kBlack},
        {"Collision avoidance", 5, p.COLLISION_USER_GND.rowY, kBlack},
        {"User ground", 237, p.COLLISION_USER_GND.rowY, kBlack},
        {"User air", 343, p.COLLISION_USER_AIR.rowY, kBlack},
        {"Live X parked", 450, p.COLLISION_LIVE_PARKED_GND.rowY, kBlack},
        {"Airport parking", 5, p.MAX_PARK_SEL.rowY, lf_onOff(g_parkingUpdateRunning, kYellow, kBlack)},
        {"Max park (static+live):", 171, p.MAX_PARK_SEL.rowY, lf_limitColour(maxPark, maxLive)},
        {"Max live (park incl):", 401, p.MAX_LIVE_SEL.rowY, lf_limitColour(maxLive, maxPark)},
        {"Straight push backs only", 672, p.STRAIGHT_PBS_ONLY.rowY,
         lf_onOff(p.STRAIGHT_PBS_ONLY.current, kBlack, kGrey)},
        {"Destination:", 137, p.DESTINATION.rowY, kBlack},
        {"Range:", 303, p.AIRP_RANGE.rowY, kBlack},
        {"nm", 403, p.AIRP_RANGE.rowY, kBlack},
        {"Height above gnd:", 440, p.AIRP_HEIGHT.rowY, kBlack},
        {"ft", 646, p.AIRP_HEIGHT.rowY, kBlack},
        {lf_renewalText(), 5, p.AIRP_RANGE.rowY, kBlack},
        {"ILO", 25, p.INITIAL_LOAD_ONLY.rowY, lf_onOff(p.INITIAL_LOAD_ONLY.current, kYellow, kBlack)},
        {"Week", 91, p.WEEK.rowY, kBlack},
        {"Soft", 171, p.PARK_SOFT.rowY, kBlack},
        {"Target: ", 264, p.parking_percentage.rowY, kBlack},
        {"%", 378, p.parking_percentage.rowY, kBlack},
        {"Max fit:", 506, p.MAX_FIT_FL.rowY, kBlack},
        {"hrs", 632, p.MAX_FIT_FL.rowY, kBlack},
    };
    for (const Caption& caption : captions) {
        if (!caption.text.empty()) lf_drawText(hdc, caption.x, caption.row, caption.text, caption.colour);
    }
}

std::string lf_parkingModeText(const MainWindow& window) {
    const bool soft = window.softParking;
    const bool week = window.weekParking;
    if (soft && week) return "*WS*";
    if (soft) return "*S*";
    return week ? "*W*" : "";
}

void lf_paintInfoBand(HDC hdc) {
    MainWindow& window = g_mainWindow();
    const FixedCode<4> code = window.parkAirportCode;
    if (code.empty()) return;
    const int y = window.infoRowY;
    const bool fileOk = window.parkFileOk;
    lf_drawText(hdc, 5, y, code.str(), fileOk ? kGreen : kYellow);
    if (!fileOk) return;
    lf_drawText(hdc, 45, y,
                fmt::format(" {}, {}{}, wk={}", window.parkAirportText.get(), window.parkPublisherText.get(),
                            window.parkHandmade ? " (h)" : "", g_rtTrafficWeek),
                kGreen);
    lf_drawText(hdc, 370, y, lf_parkingModeText(window), kGreen);
    lf_drawText(hdc, 430, y, fmt::format("qf: {}", window.parkQualityText.get()), kGreen);
    const std::string reservedStand = g_userStandName.get();
    if (!reservedStand.empty()) {
        lf_drawText(hdc, 571, y, fmt::format("reserved stand: {}", reservedStand),
                    window.reservedStandFound ? kGreen : kRed);
    }
    lf_drawText(hdc, 748, y, fmt::format("# updates: {:4}", window.updatesCount.load()), kGreen);

    const int y2 = y + 28;
    lf_drawText(hdc, 5, y2, fmt::format("# stands: {:3}", window.standsCount.load()), kGreen);
    lf_drawText(hdc, 111, y2, fmt::format("parked live: {:3}", window.parkedLiveCount.load()), kGreen);
    const float fitLive = window.averageFitLive;
    if (fitLive > 0.0f)
        lf_drawText(hdc, 249, y2, fmt::format("average fit: {}", gf_numberText(fitLive)), kGreen);
    const std::int32_t maxPark = window.maxPark;
    if (maxPark > 0) {
        lf_drawText(hdc, 430, y2, fmt::format("static: {:3}", window.staticCount.load()), kGreen);
        const std::uint64_t pending = window.pendingStaticCount;
        if (pending != 0) lf_drawText(hdc, 500, y2, fmt::format(" ({})", pending), kYellow);
        const float fitStatic = window.averageFitStatic;
        if (!window.weekParking && fitStatic > 0.0f)
            lf_drawText(hdc, 571, y2, fmt::format("average fit: {}", gf_numberText(fitStatic)), kGreen);
    }
    lf_drawText(hdc, 708, y2,
                maxPark == 0 ? std::string("no max park live")
                             : fmt::format("max park: {:3} (={} %)", maxPark, window.maxParkPercent.load()),
                kGreen);
}

void lf_paintMessageLine(HDC hdc) {
    MainWindow& window = g_mainWindow();
    std::string error;
    std::string message;
    {
        MutexLock lock(window.messageMutex);
        error = window.errorMessage;
        message = window.message;
    }
    const RECT band{0, 448, 881, 477};
    // The text keeps a margin of 3 px on either side of the visible band (the client area).
    RECT client{0, 0, kWindowWidth, kWindowHeight};
    if (const HWND hwnd = g_mainWindowView().hwnd.load()) GetClientRect(hwnd, &client);
    const int room = std::min<int>(client.right, band.right) - 2 * 3;
    if (!error.empty()) {
        lf_fill(hdc, band, g_mainWindowView().redBrush);
        lf_drawText(hdc, 3, 455, error, kYellow, room);
    } else {
        lf_fill(hdc, band, g_mainWindowView().greenBrush);
        if (!message.empty()) lf_drawText(hdc, 3, 455, message, kYellow, room);
    }
}

void lf_paintBands(HDC hdc) {
    lf_fill(hdc, kTitleBandRect, g_mainWindowView().blackBrush);
    lf_fill(hdc, RECT{0, 28, 880, 112}, g_mainWindowView().blackBrush);
    lf_fill(hdc, kControlPanelRect, g_mainWindowView().panelBrush);
    lf_fill(hdc, kInfoBandRect, g_mainWindowView().blackBrush);
    lf_fill(hdc, RECT{0, 448, 880, 476}, g_mainWindowView().greenBrush);
    SelectObject(hdc, g_mainWindowView().whitePen);
    lf_line(hdc, 0, 28, 880, 28);
    lf_line(hdc, 0, 113, 880, 113);
    lf_line(hdc, 0, 449, 880, 449);
    lf_line(hdc, 0, 392, 880, 392);
    SetBkMode(hdc, TRANSPARENT);
    const VersionData& version = g_programVersion;
    lf_drawText(hdc, 3, 7, fmt::format("Version {}.{}.{}", version.major, version.minor, version.patch),
                kGreen);
    lf_drawText(hdc, 390, 7, "Merrowvale", kGreen);
    SelectObject(hdc, g_mainWindowView().blackPen);
    for (const LineSegment& line : g_mainWindowView().panelLines)
        lf_line(hdc, line.from.x, line.from.y, line.to.x, line.to.y);
    lf_line(hdc, 642, 140, 642, 308);
}

// The QNH and the live count beside the lamps, once RealTraffic is set up and the reader receives.
void lf_paintReaderValues(HDC hdc) {
    MainWindow& window = g_mainWindow();
    if (!window.realTrafficReady) return;
    if (lf_readerShows(window.weatherReaderStatus)) {
        const std::int32_t qnh = window.qnh;
        if (qnh > 0) lf_drawText(hdc, 642, 63, fmt::format("qnh: {:4}", qnh), kGreen);
    }
    if (lf_readerShows(window.trafficReaderStatus))
        lf_drawText(hdc, 642, 91, fmt::format("live: {:3}", window.liveCount.load()), kGreen);
}

}  // namespace

void lf_paintMainWindow(HDC hdc) {
    HDC memory = CreateCompatibleDC(hdc);
    HBITMAP bitmap = CreateCompatibleBitmap(hdc, kWindowWidth, kWindowHeight);
    HGDIOBJ previousBitmap = SelectObject(memory, bitmap);
    const INT saved = SaveDC(memory);
    lf_paintBands(memory);
    lf_paintStatusArea(memory);
    lf_paintReaderValues(memory);
    lf_paintPanelCaptions(memory);
    lf_paintInfoBand(memory);
    lf_paintMessageLine(memory);
    RestoreDC(memory, saved);
    BitBlt(hdc, 0, 0, kWindowWidth, kWindowHeight, memory, 0, 0, SRCCOPY);
    SelectObject(memory, previousBitmap);
    DeleteObject(bitmap);
    DeleteDC(memory);
}

}  // namespace mrw
