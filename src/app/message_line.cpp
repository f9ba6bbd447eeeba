#include "app/message_line.h"

#include "app/main_window.h"
#include "foundation/log.h"

#include <fmt/format.h>

#include <algorithm>
#include <mutex>

namespace mrw {

namespace {

// Asks the window to repaint the message line; goes nowhere until the window exists.
void lf_postMessageLine() {
    HWND hwnd = g_mainWindow().hwnd.load();
    if (hwnd != nullptr) PostMessageW(hwnd, WM_APP_MESSAGE_LINE, 0, 0);
}

}  // namespace

void gf_setMessage(std::string_view text, bool log) {
    MainWindow& window = g_mainWindow();
    {
        std::lock_guard lock(window.messageMutex);
        if (!window.errorMessage.empty()) return;
        window.message = std::string(text);
        window.messageSecond = text.empty() ? 0 : std::max<std::int32_t>(1, window.secondsCounter.load());
    }
    if (log && !text.empty()) gf_logLine(text);
    lf_postMessageLine();
}

void gf_clearMessage() {
    gf_setMessage({}, false);
}

void gf_setErrorMessage(std::string_view text) {
    MainWindow& window = g_mainWindow();
    {
        std::lock_guard lock(window.messageMutex);
        window.message.clear();
        window.messageSecond = 0;
        window.errorMessage = std::string(text);
        gf_logLine(fmt::format("Error {}", text));
    }
    lf_postMessageLine();
}

void gf_clearErrorMessage() {
    MainWindow& window = g_mainWindow();
    {
        std::lock_guard lock(window.messageMutex);
        window.errorMessage.clear();
    }
    lf_postMessageLine();
}

}  // namespace mrw
