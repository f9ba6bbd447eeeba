#include "platform/win32/win32_fixture.h"

namespace win32test {

namespace {

struct Journal {
    std::mutex mutex;
    std::vector<Received> messages;
    Handler handler;
};

Journal& lf_journal() {
    static auto* journal = new Journal();
    return *journal;
}

LRESULT lf_testProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Handler handler;
    {
        Journal& journal = lf_journal();
        std::lock_guard lock(journal.mutex);
        journal.messages.push_back(Received{hwnd, message, wParam, lParam, std::this_thread::get_id()});
        handler = journal.handler;
    }
    if (handler) {
        if (std::optional<LRESULT> result = handler(hwnd, message, wParam, lParam)) return *result;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

const char16_t* testClassName() {
    static const bool registered = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = lf_testProc;
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        windowClass.lpszClassName = u"MrwTestWindow";
        return RegisterClassExW(&windowClass) != 0;
    }();
    EXPECT_TRUE(registered);
    return u"MrwTestWindow";
}

std::vector<Received> received() {
    Journal& journal = lf_journal();
    std::lock_guard lock(journal.mutex);
    return journal.messages;
}

std::vector<Received> received(HWND hwnd, UINT message) {
    std::vector<Received> matching;
    for (const Received& each : received()) {
        if (each.hwnd == hwnd && each.message == message) matching.push_back(each);
    }
    return matching;
}

void clearReceived() {
    Journal& journal = lf_journal();
    std::lock_guard lock(journal.mutex);
    journal.messages.clear();
}

void setHandler(Handler handler) {
    Journal& journal = lf_journal();
    std::lock_guard lock(journal.mutex);
    journal.handler = std::move(handler);
}

HWND createTestWindow() {
    return CreateWindowExW(0, testClassName(), u"Test", WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 10, 20, 400,
                           300, nullptr, nullptr, nullptr, nullptr);
}

HWND createControl(HWND parent, const char16_t* className, DWORD style, int id, RECT rect,
                   const char16_t* text) {
    return CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, rect.left, rect.top,
                           rect.right - rect.left, rect.bottom - rect.top, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
}

void Win32Test::SetUp() {
    testClassName();
    standin::destroyAllWindows();
    standin::resetMonitors();
    setHandler(nullptr);
    clearReceived();
}

void Win32Test::TearDown() {
    standin::destroyAllWindows();
    setHandler(nullptr);
    clearReceived();
}

}  // namespace win32test
