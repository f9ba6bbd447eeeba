// The test driver of platform/win32/standin.h over the real Win32: the input a user gives, and
// pumping of the calling thread's queue, so that the same tests drive the real controls under Wine.

#include "platform/win32/standin.h"
#include "platform/win32/user32.h"
#include "support/win32_painting_windows.h"

#include <vector>

namespace {

// A window takes input when it and all its ancestors are enabled, as the stand-in has it.
bool lf_acceptsInput(HWND hwnd) {
    if (!IsWindow(hwnd)) return false;
    for (HWND each = hwnd; each != nullptr; each = GetAncestor(each, GA_PARENT)) {
        if (each == GetDesktopWindow()) break;
        if (!IsWindowEnabled(each)) return false;
    }
    return true;
}

bool lf_ownThread(HWND hwnd) {
    return GetWindowThreadProcessId(hwnd, nullptr) == GetCurrentThreadId();
}

// The input goes through the window's queue, so through the message loop and any subclass; on
// the window's own thread it is then handled before the call returns.
bool lf_postInput(HWND hwnd, const std::vector<MSG>& messages) {
    if (!lf_acceptsInput(hwnd)) return false;
    for (const MSG& msg : messages) {
        if (PostMessageW(msg.hwnd, msg.message, msg.wParam, msg.lParam) == 0) return false;
    }
    if (lf_ownThread(hwnd)) standin::pumpUntilIdle();
    return true;
}

MSG lf_message(HWND hwnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return MSG{hwnd, message, wParam, lParam, 0, {0, 0}};
}

// Puts a message taken out of the queue back at its end, to whom it was posted.
void lf_repost(const MSG& msg) {
    if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
    } else if (msg.hwnd == nullptr) {
        PostThreadMessageW(GetCurrentThreadId(), msg.message, msg.wParam, msg.lParam);
    } else {
        PostMessageW(msg.hwnd, msg.message, msg.wParam, msg.lParam);
    }
}

BOOL CALLBACK lf_collectWindow(HWND hwnd, LPARAM windows) {
    reinterpret_cast<std::vector<HWND>*>(windows)->push_back(hwnd);
    return TRUE;
}

}  // namespace

namespace standin {

// BM_CLICK presses and releases the button as the mouse does: the button itself toggles a check
// box and notifies its parent with BN_CLICKED.
bool click(HWND button) {
    return lf_postInput(button, {lf_message(button, BM_CLICK)});
}

// A user's choice: the selection changes, then the parent hears CBN_SELCHANGE from the control.
bool selectComboItem(HWND comboBox, int index) {
    if (index < 0 || index >= SendMessageW(comboBox, CB_GETCOUNT, 0, 0)) return false;
    HWND parent = GetParent(comboBox);
    WPARAM notification = MAKEWPARAM(GetDlgCtrlID(comboBox), CBN_SELCHANGE);
    return lf_postInput(comboBox,
                        {lf_message(comboBox, CB_SETCURSEL, static_cast<WPARAM>(index)),
                         lf_message(parent, WM_COMMAND, notification, reinterpret_cast<LPARAM>(comboBox))});
}

bool typeChars(HWND edit, std::u16string_view text) {
    std::vector<MSG> messages;
    for (char16_t c : text)
        messages.push_back(lf_message(edit, WM_CHAR, c, 1));
    return lf_postInput(edit, messages);
}

bool requestClose(HWND window) {
    if (!IsWindow(window)) return false;
    SendMessageW(window, WM_CLOSE, 0, 0);
    return true;
}

void pumpUntilIdle() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE) != 0) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));  // left for the real loop
            return;
        }
        TranslateMessage(&msg);
        mrwtest::dispatchRecordingPaints(msg);
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
        MsgWaitForMultipleObjectsEx(0, nullptr, 5, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
}

// Win32 has no count of the queue: the posted messages are taken out, counted and put back in
// their order. A timer's WM_TIMER is no posted message: taken out it is dropped, and the timer
// sends the next one a period later.
std::size_t pendingMessages() {
    std::vector<MSG> posted;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE | PM_QS_POSTMESSAGE) != 0) {
        if (msg.message != WM_TIMER) posted.push_back(msg);
    }
    std::size_t count = 0;
    for (const MSG& each : posted) {
        if (each.message != WM_QUIT) ++count;
        lf_repost(each);
    }
    return count;
}

// The real windows cannot go without their WM_DESTROY: the calling thread's top-level windows are
// destroyed, then whatever that posted (a WM_QUIT among it) is dropped.
void destroyAllWindows() {
    std::vector<HWND> windows;
    EnumThreadWindows(GetCurrentThreadId(), lf_collectWindow, reinterpret_cast<LPARAM>(&windows));
    for (HWND hwnd : windows) {
        if (IsWindow(hwnd)) DestroyWindow(hwnd);  // an owner takes its owned windows with it
    }
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE) != 0) {
    }
    mrwtest::forgetPaints();
}

}  // namespace standin
