#include "foundation/message_line.h"

#include "foundation/log.h"
#include "foundation/thread_safety.h"
#include "foundation/window_model.h"

#include <fmt/format.h>

#include <algorithm>

namespace mrw {

void gf_setMessage(std::string_view text, bool log) {
    MainWindow& window = g_mainWindow();
    {
        MutexLock lock(window.messageMutex);
        if (!window.errorMessage.empty()) return;
        window.message = std::string(text);
        window.messageSecond = text.empty() ? 0 : std::max<std::int32_t>(1, window.secondsCounter.load());
    }
    if (log && !text.empty()) gf_logLine(text);
    gf_windowModelChanged(WindowChange::MessageLine);
}

void gf_clearMessage() {
    gf_setMessage({}, false);
}

void gf_setErrorMessage(std::string_view text) {
    MainWindow& window = g_mainWindow();
    {
        MutexLock lock(window.messageMutex);
        window.message.clear();
        window.messageSecond = 0;
        window.errorMessage = std::string(text);
        gf_logLine(fmt::format("Error {}", text));
    }
    gf_windowModelChanged(WindowChange::MessageLine);
}

void gf_clearErrorMessage() {
    MainWindow& window = g_mainWindow();
    {
        MutexLock lock(window.messageMutex);
        window.errorMessage.clear();
    }
    gf_windowModelChanged(WindowChange::MessageLine);
}

}  // namespace mrw
