// Input injection and pumping of the test API.

#include "platform/win32/control_procs.h"
#include "platform/win32/message_queue.h"
#include "platform/win32/standin.h"
#include "platform/win32/window_registry.h"

using namespace win32_internal;

namespace {

// With the mutex held: the window takes input when it and all its ancestors are enabled.
bool lf_acceptsInput(WindowSystem& system, HWND hwnd, bool* ownThread) {
    Window* window = gf_findWindow(system, hwnd);
    if (window == nullptr) return false;
    *ownThread = window->owner == std::this_thread::get_id();
    for (Window* each = window; each != nullptr;
         each = each->parent ? gf_findWindow(system, each->parent) : nullptr) {
        if (!each->enabled) return false;
    }
    return true;
}

bool lf_postInput(HWND hwnd, const std::vector<MSG>& messages) {
    bool ownThread = false;
    {
        WindowSystem& system = g_windowSystem();
        std::lock_guard lock(system.mutex);
        if (!lf_acceptsInput(system, hwnd, &ownThread)) return false;
    }
    for (const MSG& msg : messages)
        PostMessageW(hwnd, msg.message, msg.wParam, msg.lParam);
    if (ownThread) standin::pumpUntilIdle();
    return true;
}

MSG lf_message(UINT message, WPARAM wParam = 0) {
    return MSG{nullptr, message, wParam, 0, 0, {0, 0}};
}

}  // namespace

namespace standin {

bool click(HWND button) {
    return lf_postInput(button, {lf_message(WM_LBUTTONDOWN), lf_message(WM_LBUTTONUP)});
}

bool selectComboItem(HWND comboBox, int index) {
    if (index < 0) return false;
    return lf_postInput(comboBox, {lf_message(kChooseItemMessage, static_cast<WPARAM>(index))});
}

bool typeChars(HWND edit, std::u16string_view text) {
    std::vector<MSG> messages;
    for (char16_t c : text)
        messages.push_back(lf_message(WM_CHAR, c));
    return lf_postInput(edit, messages);
}

bool requestClose(HWND window) {
    if (!IsWindow(window)) return false;
    SendMessageW(window, WM_CLOSE, 0, 0);
    return true;
}

void pumpUntilIdle() {
    MSG msg;
    while (gf_nextMessage(msg, false)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<INT>(msg.wParam));  // left for the real loop
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

bool pumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        pumpUntilIdle();
        if (condition()) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        // Sleep until something arrives for this thread, but look at the condition regularly:
        // other threads may make it true without sending anything here.
        WindowSystem& system = g_windowSystem();
        std::unique_lock lock(system.mutex);
        std::shared_ptr<ThreadQueue> queue = gf_currentQueue(system);
        if (queue->posted.empty() && queue->incoming.empty()) {
            queue->wake.wait_for(lock, std::chrono::milliseconds(5));
        }
    }
}

std::size_t pendingMessages() {
    WindowSystem& system = g_windowSystem();
    std::lock_guard lock(system.mutex);
    return gf_currentQueue(system)->posted.size();
}

void destroyAllWindows() {
    WindowSystem& system = g_windowSystem();
    std::lock_guard lock(system.mutex);
    std::vector<HWND> topLevel;
    for (auto& [key, window] : system.windows) {
        if (window.parent == nullptr) topLevel.push_back(window.handle);
    }
    for (HWND hwnd : topLevel)
        gf_eraseWindowTree(system, hwnd);
    std::shared_ptr<ThreadQueue> queue = gf_currentQueue(system);
    queue->posted.clear();
    queue->quitPosted = false;
}

}  // namespace standin
