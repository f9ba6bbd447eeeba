#pragma once
// A test window class whose procedure records every message it gets and may hand it to the
// test's own handler, and a fixture that starts and ends each test with no windows.

#include "platform/win32/standin.h"
#include "platform/win32/win32.h"

#include <gtest/gtest.h>

#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace win32test {

struct Received {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    std::thread::id thread;
};

using Handler = std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)>;

// Messages received by windows of the test class (all threads), in order.
std::vector<Received> received();
// Only the messages of one kind, for one window.
std::vector<Received> received(HWND hwnd, UINT message);
void clearReceived();
// The handler of the test class; a message it leaves (nullopt) goes to DefWindowProcW.
void setHandler(Handler handler);

// The registered name of the test class.
const char16_t* testClassName();
// A top-level window of the test class, visible, 400 x 300 at (10, 20).
HWND createTestWindow();
// A control of a built-in class as a child of `parent`.
HWND createControl(HWND parent, const char16_t* className, DWORD style, int id, RECT rect,
                   const char16_t* text = u"");

class Win32Test : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
};

}  // namespace win32test
