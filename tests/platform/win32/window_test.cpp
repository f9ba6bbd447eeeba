#include "platform/win32/win32_fixture.h"

#include <string>

using namespace win32test;

namespace {

class WindowTest : public Win32Test {};

std::u16string lf_text(HWND hwnd) {
    int length = GetWindowTextLengthW(hwnd);
    std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
    int read = GetWindowTextW(hwnd, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(read));
    return text;
}

// The subclass of an edit field, as the program installs it: Enter is consumed, everything
// else goes to the previous procedure.
WNDPROC g_previousEditProc = nullptr;
std::vector<UINT> g_subclassSaw;

LRESULT lf_enterCatcher(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CHAR) g_subclassSaw.push_back(static_cast<UINT>(wParam));
    if (message == WM_CHAR && wParam == 13) return 0;
    return CallWindowProcW(g_previousEditProc, hwnd, message, wParam, lParam);
}

TEST_F(WindowTest, SubclassSeesTypedCharactersFirstAndForwardsTheRest) {
    HWND parent = createTestWindow();
    HWND edit = createControl(parent, u"Edit", WS_BORDER, 0x8047, RECT{10, 10, 60, 26});
    g_subclassSaw.clear();
    g_previousEditProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&lf_enterCatcher)));
    ASSERT_NE(g_previousEditProc, nullptr);
    EXPECT_EQ(GetWindowLongPtrW(edit, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&lf_enterCatcher));

    ASSERT_TRUE(standin::typeChars(edit, u"eh\ram"));
    EXPECT_EQ(g_subclassSaw, (std::vector<UINT>{u'e', u'h', 13, u'a', u'm'}));
    EXPECT_EQ(lf_text(edit), u"eham") << "the consumed Enter never reached the edit control";

    // Restoring the previous procedure removes the subclass.
    SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_previousEditProc));
    standin::typeChars(edit, u"\r!");
    EXPECT_EQ(g_subclassSaw.size(), 5u);
    EXPECT_EQ(lf_text(edit), u"eham!");
}

TEST_F(WindowTest, GetDlgItemFindsChildrenOfThatParentOnly) {
    HWND first = createTestWindow();
    HWND second = createTestWindow();
    HWND button = createControl(first, u"button", BS_DEFPUSHBUTTON, 0x8024, RECT{0, 0, 80, 20}, u"tblo.zip");
    createControl(second, u"button", BS_DEFPUSHBUTTON, 0x8046, RECT{0, 0, 80, 20}, u"Re-read");
    EXPECT_EQ(GetDlgItem(first, 0x8024), button);
    EXPECT_EQ(GetParent(button), first);
    EXPECT_EQ(GetWindowLongPtrW(button, GWLP_ID), 0x8024);
    SetLastError(0);
    EXPECT_EQ(GetDlgItem(first, 0x8046), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_CONTROL_ID_NOT_FOUND);
    EXPECT_EQ(GetDlgItem(nullptr, 0x8024), nullptr);
    EXPECT_EQ(lf_text(button), u"tblo.zip");
}

TEST_F(WindowTest, ClassesAreFoundWithoutRegardToCaseAndRegisteredOnce) {
    HWND parent = createTestWindow();
    for (const char16_t* name : {u"button", u"BUTTON", u"edit", u"Edit", u"combobox", u"ComboBox"}) {
        EXPECT_NE(createControl(parent, name, 0, 1, RECT{0, 0, 10, 10}), nullptr);
    }
    SetLastError(0);
    EXPECT_EQ(createControl(parent, u"Static", 0, 1, RECT{0, 0, 10, 10}), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_CANNOT_FIND_WND_CLASS);
    EXPECT_EQ(CreateWindowExW(0, u"button", u"", WS_CHILD, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr),
              nullptr)
        << "a child needs a parent";

    WNDCLASSEXW again{};
    again.cbSize = sizeof again;
    again.lpfnWndProc = &DefWindowProcW;
    again.lpszClassName = u"mrwtestwindow";
    EXPECT_EQ(RegisterClassExW(&again), 0);
    EXPECT_EQ(GetLastError(), ERROR_CLASS_ALREADY_EXISTS);
}

TEST_F(WindowTest, EnableWindowReportsThePreviousStateAndNotifiesChanges) {
    HWND hwnd = createTestWindow();
    EXPECT_TRUE(IsWindowEnabled(hwnd));
    EXPECT_FALSE(EnableWindow(hwnd, FALSE)) << "it was enabled";
    EXPECT_FALSE(IsWindowEnabled(hwnd));
    EXPECT_TRUE(EnableWindow(hwnd, FALSE)) << "it was disabled";
    EXPECT_TRUE(EnableWindow(hwnd, TRUE));
    std::vector<Received> enables = received(hwnd, WM_ENABLE);
    ASSERT_EQ(enables.size(), 2u) << "only real changes send WM_ENABLE";
    EXPECT_EQ(enables[0].wParam, 0u);
    EXPECT_EQ(enables[1].wParam, 1u);
}

TEST_F(WindowTest, DestroyNotifiesParentThenChildrenAndCloseDefaultsToDestroy) {
    HWND parent = createTestWindow();
    HWND child = CreateWindowExW(0, testClassName(), u"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(9)), nullptr, nullptr);
    clearReceived();
    ASSERT_TRUE(standin::requestClose(parent)) << "the default procedure destroys on WM_CLOSE";
    std::vector<HWND> destroyed;
    for (const Received& each : received()) {
        if (each.message == WM_DESTROY) destroyed.push_back(each.hwnd);
    }
    EXPECT_EQ(destroyed, (std::vector<HWND>{parent, child}));
    EXPECT_FALSE(IsWindow(parent));
    EXPECT_FALSE(IsWindow(child));
}

TEST_F(WindowTest, ClosingAWindowThatHandlesCloseKeepsIt) {
    HWND hwnd = createTestWindow();
    setHandler([](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_CLOSE) return 0;
        return std::nullopt;
    });
    ASSERT_TRUE(standin::requestClose(hwnd));
    EXPECT_TRUE(IsWindow(hwnd));
    EXPECT_EQ(received(hwnd, WM_CLOSE).size(), 1u);
}

TEST_F(WindowTest, PositionAndPlacement) {
    HWND hwnd = createTestWindow();  // 400 x 300 at (10, 20)
    HWND child = createControl(hwnd, u"button", BS_CHECKBOX, 3, RECT{5, 7, 17, 19});
    RECT rect{};
    ASSERT_TRUE(GetWindowRect(child, &rect));
    EXPECT_EQ(rect.left, 15);
    EXPECT_EQ(rect.top, 27);
    EXPECT_EQ(rect.right, 27);

    struct Move {
        const char* name;
        INT x, y, cx, cy;
        UINT flags;
        RECT expected;
    };
    const Move moves[] = {
        {"move only", -832, 40, 1, 1, SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOSIZE, RECT{-832, 40, -432, 340}},
        {"size only", 0, 0, 880, 516, SWP_NOMOVE | SWP_NOZORDER, RECT{-832, 40, 48, 556}},
        {"z-order only", 9, 9, 9, 9, SWP_NOMOVE | SWP_NOSIZE, RECT{-832, 40, 48, 556}},
    };
    for (const Move& move : moves) {
        SCOPED_TRACE(move.name);
        ASSERT_TRUE(SetWindowPos(hwnd, HWND_TOPMOST, move.x, move.y, move.cx, move.cy, move.flags));
        ASSERT_TRUE(GetWindowRect(hwnd, &rect));
        EXPECT_EQ(rect.left, move.expected.left);
        EXPECT_EQ(rect.top, move.expected.top);
        EXPECT_EQ(rect.right, move.expected.right);
        EXPECT_EQ(rect.bottom, move.expected.bottom);
    }
    EXPECT_TRUE(GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) << "only the move said SWP_NOZORDER";
    SetWindowPos(hwnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_FALSE(GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
    RECT client{};
    ASSERT_TRUE(GetClientRect(hwnd, &client));
    EXPECT_EQ(client.right, 880) << "no frame: the client area is the whole window";
    EXPECT_EQ(client.bottom, 516);

    WINDOWPLACEMENT placement{};
    EXPECT_FALSE(GetWindowPlacement(hwnd, &placement)) << "the length must be set";
    placement.length = sizeof placement;
    ASSERT_TRUE(GetWindowPlacement(hwnd, &placement));
    EXPECT_EQ(placement.showCmd, static_cast<UINT>(SW_SHOWNORMAL));
    EXPECT_EQ(placement.rcNormalPosition.left, -832);

    ShowWindow(hwnd, SW_SHOWMINIMIZED);
    ASSERT_TRUE(GetWindowRect(hwnd, &rect));
    EXPECT_EQ(rect.left, -32000) << "a minimized window sits off-screen";
    ASSERT_TRUE(GetWindowPlacement(hwnd, &placement));
    EXPECT_EQ(placement.showCmd, static_cast<UINT>(SW_SHOWMINIMIZED));
    EXPECT_EQ(placement.rcNormalPosition.left, -832) << "the normal position survives";
    EXPECT_EQ(placement.rcNormalPosition.bottom, 556);

    ShowWindow(hwnd, SW_RESTORE);
    ASSERT_TRUE(GetWindowRect(hwnd, &rect));
    EXPECT_EQ(rect.left, -832);
}

TEST_F(WindowTest, StringResourceHoldsTheProductName) {
    char16_t buffer[100];
    EXPECT_EQ(LoadStringW(nullptr, 101, buffer, 100), 10);
    EXPECT_EQ(std::u16string(buffer), u"Merrowvale");
    EXPECT_EQ(LoadStringW(nullptr, 101, buffer, 4), 3) << "cut to the buffer, with its terminator";
    EXPECT_EQ(std::u16string(buffer), u"Mer");
    EXPECT_EQ(LoadStringW(nullptr, 102, buffer, 100), 0);
    EXPECT_NE(LoadCursorW(nullptr, IDC_ARROW), nullptr);
    EXPECT_NE(LoadIconW(nullptr, MAKEINTRESOURCEW(100)), nullptr);
}

}  // namespace
