#include "support/test_window.h"

#include <gtest/gtest.h>

#include "platform/wide_text.h"

#include <mutex>
#include <set>
#include <string>

namespace mrwtest {

bool registerTestWindowClass(const char16_t* className, WNDPROC procedure) {
    static std::mutex mutex;
    static std::set<std::u16string> registered;
    std::lock_guard lock(mutex);
    if (registered.contains(className)) return true;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.lpszClassName = platform::asWide(className);
    if (RegisterClassExW(&windowClass) == 0) return false;
    registered.insert(className);
    return true;
}

HWND createTestWindow(const char16_t* className, WNDPROC procedure, DWORD style) {
    EXPECT_TRUE(registerTestWindowClass(className, procedure));
    return CreateWindowExW(0, className, u"", style, 0, 0, 880, 516, nullptr, nullptr, nullptr, nullptr);
}

}  // namespace mrwtest
