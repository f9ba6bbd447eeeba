#pragma once
// Internal: the process-wide state of the window system. One mutex guards the windows, the
// classes and every thread's message queue; window procedures are always called without it.

#include "platform/win32/display_list.h"
#include "platform/win32/user32.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace win32_internal {

struct WindowClass {
    std::u16string name;
    UINT style = 0;
    WNDPROC proc = nullptr;
    HBRUSH background = nullptr;
};

struct Window {
    HWND handle = nullptr;
    std::u16string className;
    WNDPROC proc = nullptr;
    HWND parent = nullptr;
    INT id = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    HBRUSH background = nullptr;
    std::thread::id owner;

    RECT rect{};  // screen coordinates for top-level windows, the parent's client area for children
    RECT normalRect{};
    INT showState = SW_SHOWNORMAL;
    bool visible = false;
    bool enabled = true;
    std::u16string text;

    bool invalid = false;
    RECT invalidRect{};
    bool eraseNeeded = false;
    HBITMAP surface = nullptr;
    std::vector<standin::PaintOp> lastPaint;
    std::uint64_t paintCount = 0;

    // Control state: a button's check, a combo box's items, selection and list height.
    UINT check = BST_UNCHECKED;
    std::vector<std::u16string> items;
    int selection = -1;
    int dropDownHeight = 0;
};

struct SentMessage;

struct ThreadQueue {
    std::condition_variable wake;
    std::deque<MSG> posted;
    std::deque<std::shared_ptr<SentMessage>> incoming;
    bool quitPosted = false;
    int quitCode = 0;
};

struct SentMessage {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    LRESULT result = 0;
    bool done = false;
    std::shared_ptr<ThreadQueue> senderQueue;
};

struct WindowSystem {
    std::mutex mutex;
    std::map<std::uintptr_t, Window> windows;  // by handle value: creation order
    std::uintptr_t nextHandle = 0x10;
    std::map<std::u16string, WindowClass> classes;  // by lower-case name
    std::map<std::thread::id, std::shared_ptr<ThreadQueue>> queues;
};

// Built on first use and never destroyed: static initialisers and exiting threads use it.
WindowSystem& g_windowSystem();

// With the mutex held: the live window of a handle, or null (and ERROR_INVALID_WINDOW_HANDLE).
Window* gf_findWindow(WindowSystem& system, HWND hwnd);
// With the mutex held: the calling thread's queue, made on first use.
std::shared_ptr<ThreadQueue> gf_currentQueue(WindowSystem& system);
// With the mutex held: the queue of a thread, or null when it has none.
std::shared_ptr<ThreadQueue> gf_queueOf(WindowSystem& system, std::thread::id thread);
// With the mutex held: removes a window and its children without any message (their owner
// thread ended, or a test clears the registry).
void gf_eraseWindowTree(WindowSystem& system, HWND hwnd);

std::u16string gf_lowerClassName(std::u16string_view name);
// With the mutex held: the class of a name, registering the built-in controls on first use.
const WindowClass* gf_findClass(WindowSystem& system, std::u16string_view name);

// A window's procedure called on the owner thread (without the mutex).
LRESULT gf_callWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// With the mutex held: adds a rectangle of the client area (all of it for null) to the window's
// invalid area and wakes its owner, which then gets WM_PAINT.
void gf_invalidateLocked(WindowSystem& system, Window& window, const RECT* rect, bool erase);

// With the mutex held: the window's origin in screen coordinates.
POINT gf_screenOrigin(WindowSystem& system, const Window& window);

}  // namespace win32_internal
