#include "platform/win32/window_registry.h"

#include "platform/win32/control_procs.h"
#include "platform/win32/gdi_internal.h"

#include <algorithm>

namespace win32_internal {

namespace {

// Ends a thread's part in the window system when the thread ends: senders waiting on it get 0,
// and its windows go away, as they do when a Win32 thread exits.
struct QueueRelease {
    ~QueueRelease() {
        WindowSystem& system = g_windowSystem();
        std::lock_guard lock(system.mutex);
        auto found = system.queues.find(std::this_thread::get_id());
        if (found == system.queues.end()) return;
        for (auto& sent : found->second->incoming) {
            sent->done = true;
            sent->senderQueue->wake.notify_all();
        }
        system.queues.erase(found);
        std::vector<HWND> owned;
        for (auto& [key, window] : system.windows) {
            if (window.owner == std::this_thread::get_id() && window.parent == nullptr)
                owned.push_back(window.handle);
        }
        for (HWND hwnd : owned)
            gf_eraseWindowTree(system, hwnd);
    }
};

void lf_registerBuiltIn(WindowSystem& system, std::u16string name, WNDPROC proc) {
    WindowClass windowClass;
    windowClass.name = name;
    windowClass.proc = proc;
    system.classes.emplace(gf_lowerClassName(name), windowClass);
}

}  // namespace

WindowSystem& g_windowSystem() {
    static auto* system = new WindowSystem();  // never destroyed: see the header
    return *system;
}

Window* gf_findWindow(WindowSystem& system, HWND hwnd) {
    auto found = system.windows.find(reinterpret_cast<std::uintptr_t>(hwnd));
    if (hwnd == nullptr || found == system.windows.end()) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    return &found->second;
}

std::shared_ptr<ThreadQueue> gf_currentQueue(WindowSystem& system) {
    auto& queue = system.queues[std::this_thread::get_id()];
    if (!queue) {
        queue = std::make_shared<ThreadQueue>();
        thread_local QueueRelease release;
        (void)release;
    }
    return queue;
}

std::shared_ptr<ThreadQueue> gf_queueOf(WindowSystem& system, std::thread::id thread) {
    auto found = system.queues.find(thread);
    return found == system.queues.end() ? nullptr : found->second;
}

void gf_eraseWindowTree(WindowSystem& system, HWND hwnd) {
    std::vector<HWND> children;
    for (auto& [key, window] : system.windows) {
        if (window.parent == hwnd) children.push_back(window.handle);
    }
    for (HWND child : children)
        gf_eraseWindowTree(system, child);
    auto found = system.windows.find(reinterpret_cast<std::uintptr_t>(hwnd));
    if (found == system.windows.end()) return;
    gf_deleteSurface(found->second.surface);
    system.windows.erase(found);
}

std::u16string gf_lowerClassName(std::u16string_view name) {
    std::u16string lower(name);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; });
    return lower;
}

const WindowClass* gf_findClass(WindowSystem& system, std::u16string_view name) {
    if (system.classes.empty()) {
        lf_registerBuiltIn(system, u"Button", gf_buttonProc);
        lf_registerBuiltIn(system, u"Edit", gf_editProc);
        lf_registerBuiltIn(system, u"ComboBox", gf_comboBoxProc);
    }
    auto found = system.classes.find(gf_lowerClassName(name));
    return found == system.classes.end() ? nullptr : &found->second;
}

LRESULT gf_callWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC proc = nullptr;
    {
        WindowSystem& system = g_windowSystem();
        std::lock_guard lock(system.mutex);
        if (Window* window = gf_findWindow(system, hwnd)) proc = window->proc;
    }
    return proc == nullptr ? 0 : proc(hwnd, message, wParam, lParam);
}

POINT gf_screenOrigin(WindowSystem& system, const Window& window) {
    POINT origin{window.rect.left, window.rect.top};
    if (window.parent != nullptr) {
        if (Window* parent = gf_findWindow(system, window.parent)) {
            POINT parentOrigin = gf_screenOrigin(system, *parent);
            origin.x += parentOrigin.x;
            origin.y += parentOrigin.y;
        }
    }
    return origin;
}

}  // namespace win32_internal
