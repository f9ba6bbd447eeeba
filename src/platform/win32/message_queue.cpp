#include "platform/win32/message_queue.h"

#include "platform/win32/window_registry.h"

#include <chrono>
#include <iostream>

using namespace win32_internal;

namespace {

using Lock = std::unique_lock<std::mutex>;

// Runs every message sent to this thread by other threads; drops the lock around each call.
void lf_serveIncoming(Lock& lock, ThreadQueue& queue) {
    while (!queue.incoming.empty()) {
        std::shared_ptr<SentMessage> sent = queue.incoming.front();
        queue.incoming.pop_front();
        lock.unlock();
        LRESULT result = gf_callWindowProc(sent->hwnd, sent->message, sent->wParam, sent->lParam);
        lock.lock();
        sent->result = result;
        sent->done = true;
        sent->senderQueue->wake.notify_all();
    }
}

// With the mutex held: an invalid, visible window of this thread whose ancestors are visible.
HWND lf_windowToPaint(WindowSystem& system) {
    for (auto& [key, window] : system.windows) {
        if (!window.invalid || !window.visible || window.owner != std::this_thread::get_id()) continue;
        bool shown = true;
        for (HWND up = window.parent; up != nullptr && shown;) {
            Window* ancestor = gf_findWindow(system, up);
            shown = ancestor != nullptr && ancestor->visible;
            up = ancestor != nullptr ? ancestor->parent : nullptr;
        }
        if (shown) return window.handle;
    }
    return nullptr;
}

bool lf_takeReady(WindowSystem& system, ThreadQueue& queue, MSG& msg) {
    msg = MSG{};
    if (!queue.posted.empty()) {
        msg = queue.posted.front();
        queue.posted.pop_front();
        return true;
    }
    if (queue.quitPosted) {
        queue.quitPosted = false;
        msg.message = WM_QUIT;
        msg.wParam = static_cast<WPARAM>(queue.quitCode);
        return true;
    }
    if (HWND hwnd = lf_windowToPaint(system)) {
        msg.hwnd = hwnd;
        msg.message = WM_PAINT;
        return true;
    }
    return false;
}

// A cross-thread send that waits this long is reported once: in tests it means a missing pump.
constexpr auto kSendDiagnosticDelay = std::chrono::seconds(5);

}  // namespace

namespace win32_internal {

bool gf_nextMessage(MSG& msg, bool wait) {
    WindowSystem& system = g_windowSystem();
    Lock lock(system.mutex);
    std::shared_ptr<ThreadQueue> queue = gf_currentQueue(system);
    for (;;) {
        lf_serveIncoming(lock, *queue);
        if (lf_takeReady(system, *queue, msg)) return true;
        if (!wait) return false;
        queue->wake.wait(lock);
    }
}

}  // namespace win32_internal

BOOL GetMessageW(MSG* msg, HWND, UINT, UINT) {
    // The program's loop uses no window or message filter, so none is applied.
    if (msg == nullptr) return -1;
    gf_nextMessage(*msg, true);
    return msg->message == WM_QUIT ? FALSE : TRUE;
}

BOOL TranslateMessage(const MSG*) {
    // Input arrives as WM_CHAR already (the test API types characters), so nothing to translate.
    return FALSE;
}

LRESULT DispatchMessageW(const MSG* msg) {
    if (msg == nullptr || msg->hwnd == nullptr) return 0;
    return gf_callWindowProc(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

BOOL PostMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowSystem& system = g_windowSystem();
    std::lock_guard lock(system.mutex);
    Window* window = gf_findWindow(system, hwnd);
    if (window == nullptr) return FALSE;
    std::shared_ptr<ThreadQueue> queue = gf_queueOf(system, window->owner);
    if (!queue) return FALSE;
    queue->posted.push_back(MSG{hwnd, message, wParam, lParam, 0, {0, 0}});
    queue->wake.notify_all();
    return TRUE;
}

LRESULT SendMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowSystem& system = g_windowSystem();
    Lock lock(system.mutex);
    Window* window = gf_findWindow(system, hwnd);
    if (window == nullptr) return 0;
    if (window->owner == std::this_thread::get_id()) {
        WNDPROC proc = window->proc;
        lock.unlock();
        return proc == nullptr ? 0 : proc(hwnd, message, wParam, lParam);
    }
    std::shared_ptr<ThreadQueue> target = gf_queueOf(system, window->owner);
    if (!target) return 0;
    std::shared_ptr<ThreadQueue> own = gf_currentQueue(system);
    auto sent = std::make_shared<SentMessage>();
    *sent = SentMessage{hwnd, message, wParam, lParam, 0, false, own};
    target->incoming.push_back(sent);
    target->wake.notify_all();

    // While waiting, serve what other threads send to this one, as Win32 does: two threads that
    // send to each other do not deadlock.
    auto reportAt = std::chrono::steady_clock::now() + kSendDiagnosticDelay;
    bool reported = false;
    while (!sent->done) {
        lf_serveIncoming(lock, *own);
        if (sent->done) break;
        if (reported) {
            own->wake.wait(lock);
        } else if (own->wake.wait_until(lock, reportAt) == std::cv_status::timeout && !sent->done) {
            std::cerr << "win32 stand-in: SendMessageW 0x" << std::hex << message << std::dec
                      << " has waited 5 s for the window's thread (is it pumping?)\n";
            reported = true;
        }
    }
    return sent->result;
}

void PostQuitMessage(INT exitCode) {
    WindowSystem& system = g_windowSystem();
    std::lock_guard lock(system.mutex);
    std::shared_ptr<ThreadQueue> queue = gf_currentQueue(system);
    queue->quitPosted = true;
    queue->quitCode = exitCode;
}
