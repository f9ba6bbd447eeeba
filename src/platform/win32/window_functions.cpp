// Classes, window creation and destruction, and window lookup.

#include "platform/win32/control_procs.h"
#include "platform/win32/window_registry.h"

using namespace win32_internal;

namespace {

using Lock = std::unique_lock<std::mutex>;

std::u16string lf_text(LPCWSTR text) {
    return text == nullptr ? std::u16string() : std::u16string(text);
}

bool lf_isDropDownList(const std::u16string& className, DWORD style) {
    return gf_lowerClassName(className) == u"combobox" && (style & 0x3) == CBS_DROPDOWNLIST;
}

// With the mutex held: enters the new window; returns its handle and procedure.
Window& lf_addWindow(WindowSystem& system, const WindowClass& windowClass, const CREATESTRUCTW& create,
                     HWND parent) {
    HWND hwnd = reinterpret_cast<HWND>(system.nextHandle);
    system.nextHandle += 4;
    Window& window = system.windows[reinterpret_cast<std::uintptr_t>(hwnd)];
    window.handle = hwnd;
    window.className = windowClass.name;
    window.proc = windowClass.proc;
    window.background = windowClass.background;
    window.parent = parent;
    window.id = (create.style & WS_CHILD) ? static_cast<INT>(reinterpret_cast<INT_PTR>(create.hMenu)) : 0;
    window.style = static_cast<DWORD>(create.style);
    window.exStyle = create.dwExStyle;
    window.owner = std::this_thread::get_id();
    int height = create.cy;
    if (lf_isDropDownList(windowClass.name, window.style)) {
        // The height given is that of the open list; the window itself is the closed field.
        window.dropDownHeight = create.cy;
        height = kComboFieldHeight;
    } else {
        window.text = lf_text(create.lpszName);
    }
    window.rect = RECT{create.x, create.y, create.x + create.cx, create.y + height};
    window.normalRect = window.rect;
    window.visible = (window.style & WS_VISIBLE) != 0;
    window.enabled = (window.style & WS_DISABLED) == 0;
    window.invalid = true;
    window.invalidRect = RECT{0, 0, create.cx, height};
    window.eraseNeeded = true;
    return window;
}

}  // namespace

ATOM RegisterClassExW(const WNDCLASSEXW* windowClass) {
    if (windowClass == nullptr || windowClass->lpszClassName == nullptr ||
        windowClass->lpfnWndProc == nullptr) {
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return 0;
    }
    WindowSystem& system = g_windowSystem();
    std::lock_guard lock(system.mutex);
    std::u16string name = windowClass->lpszClassName;
    if (gf_findClass(system, name) != nullptr) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    WindowClass entry{name, windowClass->style, windowClass->lpfnWndProc, windowClass->hbrBackground};
    system.classes.emplace(gf_lowerClassName(name), entry);
    return static_cast<ATOM>(0xC000 + system.classes.size());
}

HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, INT x, INT y,
                     INT width, INT height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
    CREATESTRUCTW create{param,      instance,  menu,   parent, height, width, y, x, static_cast<LONG>(style),
                         windowName, className, exStyle};
    HWND hwnd = nullptr;
    {
        WindowSystem& system = g_windowSystem();
        std::lock_guard lock(system.mutex);
        const WindowClass* windowClass = className == nullptr ? nullptr : gf_findClass(system, className);
        if (windowClass == nullptr) {
            SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
            return nullptr;
        }
        if (parent != nullptr && gf_findWindow(system, parent) == nullptr) return nullptr;
        if ((style & WS_CHILD) && parent == nullptr) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return nullptr;
        }
        gf_currentQueue(system);  // the creating thread owns the window and needs a queue
        hwnd = lf_addWindow(system, *windowClass, create, parent).handle;
    }
    if (SendMessageW(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    return hwnd;
}

BOOL DestroyWindow(HWND hwnd) {
    std::vector<HWND> tree;
    {
        WindowSystem& system = g_windowSystem();
        std::lock_guard lock(system.mutex);
        Window* window = gf_findWindow(system, hwnd);
        if (window == nullptr || window->owner != std::this_thread::get_id()) return FALSE;
        // WM_DESTROY goes to the window first, then to its children.
        tree.push_back(hwnd);
        for (std::size_t i = 0; i < tree.size(); ++i) {
            for (auto& [key, other] : system.windows) {
                if (other.parent == tree[i]) tree.push_back(other.handle);
            }
        }
    }
    for (HWND each : tree)
        SendMessageW(each, WM_DESTROY, 0, 0);
    WindowSystem& system = g_windowSystem();
    std::lock_guard lock(system.mutex);
    gf_eraseWindowTree(system, hwnd);
    return TRUE;
}

BOOL IsWindow(HWND hwnd) {
    WindowSystem& system = g_windowSystem();
    std::lock_guard lock(system.mutex);
    return gf_findWindow(system, hwnd) != nullptr ? TRUE : FALSE;
}

HWND GetDlgItem(HWND parent, INT id) {
    WindowSystem& system = g_windowSystem();
    std::lock_guard lock(system.mutex);
    if (gf_findWindow(system, parent) == nullptr) return nullptr;
    for (auto& [key, window] : system.windows) {
        if (window.parent == parent && window.id == id) return window.handle;
    }
    SetLastError(ERROR_CONTROL_ID_NOT_FOUND);
    return nullptr;
}

HWND FindWindowW(LPCWSTR className, LPCWSTR windowName) {
    WindowSystem& system = g_windowSystem();
    std::lock_guard lock(system.mutex);
    for (auto& [key, window] : system.windows) {
        if (window.parent != nullptr) continue;
        if (className != nullptr && gf_lowerClassName(window.className) != gf_lowerClassName(className))
            continue;
        if (windowName != nullptr && window.text != windowName) continue;
        return window.handle;
    }
    return nullptr;
}

HWND GetParent(HWND hwnd) {
    WindowSystem& system = g_windowSystem();
    std::lock_guard lock(system.mutex);
    Window* window = gf_findWindow(system, hwnd);
    return window == nullptr ? nullptr : window->parent;
}

LONG_PTR SetWindowLongPtrW(HWND hwnd, INT index, LONG_PTR value) {
    WindowSystem& system = g_windowSystem();
    std::lock_guard lock(system.mutex);
    Window* window = gf_findWindow(system, hwnd);
    if (window == nullptr) return 0;
    LONG_PTR previous = 0;
    switch (index) {
        case GWLP_WNDPROC:
            if (value == 0) return 0;
            previous = reinterpret_cast<LONG_PTR>(window->proc);
            window->proc = reinterpret_cast<WNDPROC>(value);
            break;
        case GWLP_ID:
            previous = window->id;
            window->id = static_cast<INT>(value);
            break;
        case GWL_STYLE:
            previous = static_cast<LONG_PTR>(window->style);
            window->style = static_cast<DWORD>(value);
            break;
        default:
            return 0;
    }
    return previous;
}

LONG_PTR GetWindowLongPtrW(HWND hwnd, INT index) {
    WindowSystem& system = g_windowSystem();
    std::lock_guard lock(system.mutex);
    Window* window = gf_findWindow(system, hwnd);
    if (window == nullptr) return 0;
    switch (index) {
        case GWLP_WNDPROC:
            return reinterpret_cast<LONG_PTR>(window->proc);
        case GWLP_ID:
            return window->id;
        case GWL_STYLE:
            return static_cast<LONG_PTR>(window->style);
        case GWL_EXSTYLE:
            return static_cast<LONG_PTR>(window->exStyle);
        default:
            return 0;
    }
}

LRESULT CallWindowProcW(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return proc == nullptr ? 0 : proc(hwnd, message, wParam, lParam);
}
