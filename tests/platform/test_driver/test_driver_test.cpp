// The test driver's input and pumping, on the stand-in (Linux) and on the real Win32 (Windows): the
// same expectations hold for both, so the tests of the product mean the same on both.

#include <gtest/gtest.h>

#include "platform/win32/gdi32.h"
#include "platform/win32/standin.h"
#include "platform/win32/user32.h"
#include "support/test_support.h"
#include "support/test_window.h"

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr UINT kNoted = WM_APP + 7;
constexpr int kControlId = 41;

// What the driver's window heard: its posted notes in order and its children's notifications.
struct Heard {
    std::vector<WPARAM> notes;
    std::vector<WPARAM> commands;  // WM_COMMAND's wParam: the control id and the notification
    int closes = 0;
};
Heard g_heard;

constexpr COLORREF kFill = RGB(200, 30, 40);
constexpr COLORREF kInk = RGB(10, 220, 90);
const RECT kFilled{20, 40, 120, 90};

// A red block and a green word on black.
void lf_paint(HWND hwnd) {
    PAINTSTRUCT paint;
    HDC hdc = BeginPaint(hwnd, &paint);
    RECT client{};
    GetClientRect(hwnd, &client);
    FillRect(hdc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    HBRUSH brush = CreateSolidBrush(kFill);
    FillRect(hdc, &kFilled, brush);
    DeleteObject(brush);
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, kInk);
    TextOutW(hdc, 200, 50, u"Merrow", 6);
    EndPaint(hwnd, &paint);
}

LRESULT lf_listeningProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case kNoted:
            g_heard.notes.push_back(wParam);
            return 0;
        case WM_COMMAND:
            g_heard.commands.push_back(wParam);
            return 0;
        case WM_CLOSE:
            ++g_heard.closes;
            break;
        case WM_PAINT:
            lf_paint(hwnd);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

class TestDriver : public ::testing::Test {
  protected:
    void SetUp() override {
        g_heard = Heard{};
        window = mrwtest::createTestWindow(u"MrwDriverWindow", lf_listeningProc);
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override { standin::destroyAllWindows(); }

    HWND child(const char16_t* className, DWORD style) const {
        HWND control =
            CreateWindowExW(0, className, u"", WS_CHILD | WS_VISIBLE | style, 10, 10, 200, 24, window,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kControlId)), nullptr, nullptr);
        EXPECT_NE(control, nullptr);
        return control;
    }
    HWND comboWithThreeItems() const {
        HWND combo = child(u"COMBOBOX", CBS_DROPDOWNLIST);
        for (const char16_t* item : {u"one", u"two", u"three"})
            SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        return combo;
    }

    HWND window = nullptr;
};

// The next message of the thread's loop, with a note posted from another thread a while later so
// that the wait ends: a WM_QUIT left in the queue comes at once.
MSG lf_nextMessageOrNote(HWND window) {
    std::thread waker([window] {
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        PostMessageW(window, kNoted, 0, 0);
    });
    MSG msg{};
    GetMessageW(&msg, nullptr, 0, 0);
    waker.join();
    standin::pumpUntilIdle();
    return msg;
}

WPARAM lf_notification(int code) {
    return MAKEWPARAM(kControlId, code);
}

TEST_F(TestDriver, PumpingRunsThePostedMessagesInOrderAndLeavesTheQuitForTheLoop) {
    for (WPARAM note : {1, 2, 3})
        PostMessageW(window, kNoted, note, 0);
    EXPECT_EQ(standin::pendingMessages(), 3u);
    EXPECT_EQ(standin::pendingMessages(), 3u) << "counting keeps them";
    PostQuitMessage(5);
    standin::pumpUntilIdle();
    EXPECT_EQ(g_heard.notes, (std::vector<WPARAM>{1, 2, 3}));
    EXPECT_EQ(standin::pendingMessages(), 0u);

    MSG msg = lf_nextMessageOrNote(window);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT)) << "the quit waits for the real loop";
    EXPECT_EQ(msg.wParam, 5u);
}

TEST_F(TestDriver, PumpUntilWaitsForAnotherThreadAndGivesUpAtTheTimeOut) {
    std::atomic<bool> done = false;
    std::thread other([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        PostMessageW(window, kNoted, 9, 0);
        done = true;
    });
    EXPECT_TRUE(standin::pumpUntil([&] { return !g_heard.notes.empty(); }));
    other.join();
    EXPECT_TRUE(done.load());

    EXPECT_FALSE(standin::pumpUntil([] { return false; }, std::chrono::milliseconds(50)));
}

TEST_F(TestDriver, RequestCloseSendsTheCloseAndRefusesAStaleWindow) {
    EXPECT_TRUE(standin::requestClose(window));
    EXPECT_EQ(g_heard.closes, 1);
    EXPECT_FALSE(IsWindow(window)) << "the default handling destroys the window";
    EXPECT_FALSE(standin::requestClose(window));
    EXPECT_EQ(g_heard.closes, 1);
}

TEST_F(TestDriver, DestroyAllWindowsRemovesTheWindowsAndTheQueue) {
    HWND button = child(u"BUTTON", BS_PUSHBUTTON);
    HWND second = mrwtest::createTestWindow(u"MrwDriverWindow", lf_listeningProc);
    PostMessageW(window, kNoted, 1, 0);
    PostQuitMessage(0);
    standin::destroyAllWindows();
    for (HWND each : {window, button, second})
        EXPECT_FALSE(IsWindow(each));
    EXPECT_EQ(standin::pendingMessages(), 0u);
    HWND next = mrwtest::createTestWindow(u"MrwDriverWindow", lf_listeningProc);
    EXPECT_EQ(lf_nextMessageOrNote(next).message, kNoted) << "no quit is left to end the next test's loop";
}

TEST_F(TestDriver, ClickNotifiesTheParent) {
    for (DWORD style : {BS_PUSHBUTTON, BS_DEFPUSHBUTTON, BS_CHECKBOX}) {
        g_heard.commands.clear();
        HWND button = child(u"BUTTON", style);
        EXPECT_TRUE(standin::click(button)) << style;
        EXPECT_EQ(g_heard.commands, (std::vector<WPARAM>{lf_notification(BN_CLICKED)})) << style;
        DestroyWindow(button);
    }
}

TEST_F(TestDriver, AClickedCheckBoxLeavesItsCheckToTheParent) {
    HWND checkBox = child(u"BUTTON", BS_CHECKBOX);
    EXPECT_TRUE(standin::click(checkBox));
    EXPECT_EQ(SendMessageW(checkBox, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    SendMessageW(checkBox, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_TRUE(standin::click(checkBox));
    EXPECT_EQ(SendMessageW(checkBox, BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(TestDriver, InputIsRefusedByADisabledOrStaleControl) {
    HWND button = child(u"BUTTON", BS_PUSHBUTTON);
    EnableWindow(button, FALSE);
    EXPECT_FALSE(standin::click(button));
    EnableWindow(button, TRUE);
    EnableWindow(window, FALSE);
    EXPECT_FALSE(standin::click(button)) << "a disabled parent takes its controls' input too";
    EnableWindow(window, TRUE);
    DestroyWindow(button);
    EXPECT_FALSE(standin::click(button));
    standin::pumpUntilIdle();
    EXPECT_TRUE(g_heard.commands.empty());
}

TEST_F(TestDriver, SelectComboItemChoosesAsAUserDoes) {
    HWND combo = comboWithThreeItems();
    EXPECT_TRUE(standin::selectComboItem(combo, 2));
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(g_heard.commands, (std::vector<WPARAM>{lf_notification(CBN_SELCHANGE)}));

    EnableWindow(combo, FALSE);
    EXPECT_FALSE(standin::selectComboItem(combo, 0));
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(g_heard.commands.size(), 1u);
}

TEST_F(TestDriver, SelectComboItemOutsideTheListChangesNothing) {
    HWND combo = comboWithThreeItems();
    ASSERT_TRUE(standin::selectComboItem(combo, 1));
    g_heard.commands.clear();
    for (int index : {-1, 3}) {
        standin::selectComboItem(combo, index);
        EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 1) << index;
    }
    EXPECT_TRUE(g_heard.commands.empty());
}

TEST_F(TestDriver, PaintsAreCountedWithTheirTextsAndPixels) {
    ShowWindow(window, SW_SHOW);
    standin::pumpUntilIdle();
    const std::uint64_t paints = standin::paintCount(window);
    standin::pumpUntilIdle();
    EXPECT_EQ(standin::paintCount(window), paints) << "nothing invalid, nothing painted";
    InvalidateRect(window, nullptr, TRUE);
    standin::pumpUntilIdle();
    EXPECT_EQ(standin::paintCount(window), paints + 1);

    std::vector<standin::PaintOp> texts;
    for (const standin::PaintOp& op : standin::paintOps(window)) {
        if (op.kind == standin::PaintOpKind::TextOut) texts.push_back(op);
    }
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, u"Merrow");
    EXPECT_EQ(texts[0].point.x, 200);
    EXPECT_EQ(texts[0].point.y, 50);
    EXPECT_EQ(texts[0].color, kInk);

    const std::optional<standin::Image> image = standin::renderWindow(window);
    ASSERT_TRUE(image);
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(image->width, client.right);
    EXPECT_EQ(image->height, client.bottom);
    EXPECT_EQ(image->at(kFilled.left, kFilled.top), kFill);
    EXPECT_EQ(image->at(kFilled.right - 1, kFilled.bottom - 1), kFill);
    EXPECT_EQ(image->at(kFilled.right, kFilled.bottom), RGB(0, 0, 0));
    EXPECT_EQ(standin::pixel(window, kFilled.left, kFilled.top), kFill);
    EXPECT_EQ(standin::pixel(window, -1, 0), CLR_INVALID);
    EXPECT_EQ(standin::pixel(window, client.right, 0), CLR_INVALID);

    DestroyWindow(window);
    EXPECT_EQ(standin::paintCount(window), 0u) << "a stale window";
    EXPECT_TRUE(standin::paintOps(window).empty());
    EXPECT_FALSE(standin::renderWindow(window));
}

TEST_F(TestDriver, APictureOfTheWindowReadsBackAsItWasRendered) {
    ShowWindow(window, SW_SHOW);
    mrwtest::TempDir folder;
    const std::filesystem::path file = folder / "window.png";
    ASSERT_TRUE(standin::savePng(window, file));
    const std::optional<standin::Image> read = standin::readPng(file);
    const std::optional<standin::Image> rendered = standin::renderWindow(window);
    ASSERT_TRUE(read);
    ASSERT_TRUE(rendered);
    EXPECT_EQ(read->width, rendered->width);
    EXPECT_EQ(read->height, rendered->height);
    EXPECT_EQ(read->pixels, rendered->pixels);
    EXPECT_EQ(read->at(kFilled.left, kFilled.top), kFill);

    EXPECT_FALSE(standin::readPng(folder / "missing.png"));
    EXPECT_FALSE(standin::savePng(window, folder / "no such folder" / "window.png"));
    DestroyWindow(window);
    EXPECT_FALSE(standin::savePng(window, folder / "stale.png"));
}

TEST_F(TestDriver, TypeCharsEntersTheTextIntoAnEdit) {
    HWND edit = child(u"EDIT", 0);
    EXPECT_TRUE(standin::typeChars(edit, u"EGLL ü"));
    char16_t text[32] = {};
    GetWindowTextW(edit, text, 32);
    EXPECT_EQ(std::u16string(text), u"EGLL ü");

    EnableWindow(edit, FALSE);
    EXPECT_FALSE(standin::typeChars(edit, u"X"));
    GetWindowTextW(edit, text, 32);
    EXPECT_EQ(std::u16string(text), u"EGLL ü");
}

}  // namespace
