#include "platform/win32/win32_fixture.h"

#include <atomic>
#include <string>
#include <thread>

using namespace win32test;

namespace {

class ControlsTest : public Win32Test {
  protected:
    void SetUp() override {
        Win32Test::SetUp();
        parent = createTestWindow();
    }

    // The notification codes that reached the parent from one control, in order.
    std::vector<WORD> notifications(HWND control) const {
        std::vector<WORD> codes;
        for (const Received& each : received(parent, WM_COMMAND)) {
            if (reinterpret_cast<HWND>(each.lParam) != control) continue;
            EXPECT_EQ(LOWORD(each.wParam), static_cast<WORD>(GetWindowLongPtrW(control, GWLP_ID)));
            codes.push_back(HIWORD(each.wParam));
        }
        return codes;
    }

    HWND parent = nullptr;
};

std::u16string lf_text(HWND hwnd) {
    char16_t buffer[256] = {};
    int read = GetWindowTextW(hwnd, buffer, 256);
    return std::u16string(buffer, static_cast<std::size_t>(read));
}

std::u16string lf_item(HWND combo, int index) {
    char16_t buffer[256] = {};
    LRESULT length =
        SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer));
    return length == CB_ERR ? u"<CB_ERR>" : std::u16string(buffer, static_cast<std::size_t>(length));
}

HWND lf_comboWith(HWND parent, std::initializer_list<const char16_t*> items) {
    HWND combo = createControl(parent, u"ComboBox", WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST, 0x8016,
                               RECT{10, 10, 185, 310});
    for (const char16_t* item : items)
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    return combo;
}

TEST_F(ControlsTest, ButtonClickNotifiesTheParentAndCheckBoxDoesNotToggleItself) {
    HWND button = createControl(parent, u"button", BS_DEFPUSHBUTTON, 0x804F, RECT{0, 0, 45, 20}, u"Now");
    HWND check = createControl(parent, u"button", BS_CHECKBOX, 0x8003, RECT{0, 30, 12, 42});

    ASSERT_TRUE(standin::click(button));
    EXPECT_EQ(notifications(button), (std::vector<WORD>{BN_CLICKED}));

    ASSERT_TRUE(standin::click(check));
    EXPECT_EQ(notifications(check), (std::vector<WORD>{BN_CLICKED}));
    EXPECT_EQ(IsDlgButtonChecked(parent, 0x8003), BST_UNCHECKED)
        << "BS_CHECKBOX leaves the mark to its owner";

    ASSERT_TRUE(CheckDlgButton(parent, 0x8003, BST_CHECKED));
    EXPECT_EQ(IsDlgButtonChecked(parent, 0x8003), BST_CHECKED);
    EXPECT_EQ(SendMessageW(check, BM_GETCHECK, 0, 0), static_cast<LRESULT>(BST_CHECKED));
    SendMessageW(check, BM_SETCHECK, BST_UNCHECKED, 0);
    EXPECT_EQ(IsDlgButtonChecked(parent, 0x8003), BST_UNCHECKED);
    EXPECT_EQ(notifications(check).size(), 1u) << "setting the mark notifies nobody";
}

TEST_F(ControlsTest, DisabledControlsIgnoreInjectedInput) {
    HWND button = createControl(parent, u"button", BS_DEFPUSHBUTTON, 0x8046, RECT{0, 0, 90, 20}, u"Re-read");
    HWND edit = createControl(parent, u"Edit", WS_BORDER, 0x803C, RECT{0, 30, 100, 46});
    HWND combo = lf_comboWith(parent, {u"10", u"20"});
    for (HWND control : {button, edit, combo})
        EnableWindow(control, FALSE);
    EXPECT_FALSE(standin::click(button));
    EXPECT_FALSE(standin::typeChars(edit, u"x"));
    EXPECT_FALSE(standin::selectComboItem(combo, 1));
    EXPECT_TRUE(received(parent, WM_COMMAND).empty());
    EXPECT_EQ(lf_text(edit), u"");
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), CB_ERR);

    EnableWindow(parent, FALSE);
    EnableWindow(button, TRUE);
    EXPECT_FALSE(standin::click(button)) << "a disabled parent takes no input for its children";
}

TEST_F(ControlsTest, EditTypingAndTextNotifyUpdateThenChange) {
    HWND edit = createControl(parent, u"Edit", WS_BORDER, 0x8047, RECT{0, 0, 50, 16});
    ASSERT_TRUE(standin::typeChars(edit, u"EHAX\bM"));
    EXPECT_EQ(lf_text(edit), u"EHAM");
    EXPECT_EQ(GetWindowTextLengthW(edit), 4);
    std::vector<WORD> codes = notifications(edit);
    ASSERT_EQ(codes.size(), 12u) << "six changes, two notifications each";
    EXPECT_EQ(codes[0], EN_UPDATE);
    EXPECT_EQ(codes[1], EN_CHANGE);

    clearReceived();
    standin::typeChars(edit, u"\r\t");
    EXPECT_TRUE(notifications(edit).empty()) << "control characters change nothing";
    EXPECT_EQ(lf_text(edit), u"EHAM");

    ASSERT_TRUE(SetWindowTextW(edit, u"LFPG"));
    EXPECT_EQ(lf_text(edit), u"LFPG");
    EXPECT_EQ(notifications(edit), (std::vector<WORD>{EN_UPDATE, EN_CHANGE}));

    char16_t small[3] = {u'?', u'?', u'?'};
    EXPECT_EQ(GetWindowTextW(edit, small, 3), 2) << "cut to the buffer with its terminator";
    EXPECT_EQ(std::u16string(small), u"LF");

    SetWindowTextW(edit, u"");
    EXPECT_TRUE(standin::typeChars(edit, u"\b"));
    EXPECT_EQ(GetWindowTextLengthW(edit), 0) << "backspace in an empty field does nothing";
}

// As on Windows: a field without ES_AUTOHSCROLL takes no more than fits its width; with it, any
// length, scrolled sideways so that the end (where the caret is) shows.
TEST_F(ControlsTest, OnlyAScrollingEditTakesTextLongerThanItself) {
    const std::u16string path = u"D:\\SteamLibrary\\steamapps\\common\\MicrosoftFlightSimulator\\Packages";
    HWND fixed = createControl(parent, u"Edit", WS_BORDER, 0x8047, RECT{0, 0, 100, 16});
    HWND scrolling = createControl(parent, u"Edit", WS_BORDER | ES_AUTOHSCROLL, 0x8048, RECT{0, 20, 100, 36});
    standin::typeChars(fixed, path);
    standin::typeChars(scrolling, path);
    // Each character is refused that would not fit; a narrower one after it may still fit.
    const std::u16string kept = lf_text(fixed);
    EXPECT_TRUE(kept.starts_with(u"D:\\Steam")) << "the start is kept";
    EXPECT_LT(kept.size(), path.size());
    EXPECT_EQ(lf_text(scrolling), path);

    standin::pumpUntilIdle();
    auto textX = [](HWND edit) {
        for (const standin::PaintOp& op : standin::paintOps(edit))
            if (op.kind == standin::PaintOpKind::TextOut) return op.point.x;
        return LONG{1000};
    };
    EXPECT_EQ(textX(fixed), 3);
    EXPECT_LT(textX(scrolling), 3) << "the text's start is scrolled out on the left";

    SetWindowTextW(scrolling, u"EHAM");
    standin::pumpUntilIdle();
    EXPECT_EQ(textX(scrolling), 3) << "a text that fits is not scrolled";
}

struct SelectCase {
    const char* name;
    WPARAM start;
    const char16_t* text;
    LRESULT result;
    int selectionAfter;
};

TEST_F(ControlsTest, SelectStringFindsTheFirstItemBeginningWithTheTextWithoutRegardToCase) {
    HWND combo = lf_comboWith(parent, {u"AIG, FSLTL, JF, MTL", u"AIG", u"AIG, FSLTL", u"FSLTL", u"Ämter"});
    const SelectCase cases[] = {
        {"a prefix picks the earlier, longer item", static_cast<WPARAM>(-1), u"AIG, FSLTL", 0, 0},
        {"case is ignored", static_cast<WPARAM>(-1), u"fsltl", 3, 3},
        {"case is ignored beyond ASCII", static_cast<WPARAM>(-1), u"äM", 4, 4},
        {"no match leaves the selection", static_cast<WPARAM>(-1), u"MTL", CB_ERR, 4},
        {"the search starts after the start index", 0, u"aig", 1, 1},
        {"and wraps to the top", 3, u"aig", 0, 0},
        {"the whole text must be a prefix", static_cast<WPARAM>(-1), u"AIG, FSLTL, JF, MTL, X", CB_ERR, 0},
    };
    for (const SelectCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SendMessageW(combo, CB_SELECTSTRING, c.start, reinterpret_cast<LPARAM>(c.text)), c.result);
        EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), c.selectionAfter);
    }
    EXPECT_TRUE(notifications(combo).empty()) << "programmatic selection notifies nobody";
}

TEST_F(ControlsTest, ComboBoxListMessages) {
    HWND combo = lf_comboWith(parent, {});
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), CB_ERR) << "a new list has no selection";
    EXPECT_EQ(SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"30")), 0);
    EXPECT_EQ(SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"10")), 1) << "no sorting";
    EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(lf_item(combo, 1), u"10");
    EXPECT_EQ(lf_item(combo, 2), u"<CB_ERR>");
    EXPECT_EQ(SendMessageW(combo, CB_GETLBTEXTLEN, 0, 0), 2);

    EXPECT_EQ(SendMessageW(combo, CB_SETCURSEL, 1, 0), 1);
    EXPECT_EQ(lf_text(combo), u"10") << "the window text of a drop-down list is its selected item";
    EXPECT_EQ(SendMessageW(combo, CB_SETCURSEL, 2, 0), CB_ERR);
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), CB_ERR)
        << "an index out of range clears the selection";
    EXPECT_EQ(lf_text(combo), u"");

    SendMessageW(combo, CB_SETCURSEL, 0, 0);
    EXPECT_EQ(SendMessageW(combo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(u"10")), CB_ERR);
    EXPECT_FALSE(SetWindowTextW(combo, u"10"));
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 0) << "setting the text changes nothing";

    EXPECT_EQ(SendMessageW(combo, CB_RESETCONTENT, 0, 0), CB_OKAY);
    EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), CB_ERR);
    EXPECT_TRUE(notifications(combo).empty());
}

TEST_F(ControlsTest, UserChoiceNotifiesSelectionChange) {
    HWND combo = lf_comboWith(parent, {u"2020", u"2024"});
    ASSERT_TRUE(standin::selectComboItem(combo, 1));
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(notifications(combo), (std::vector<WORD>{CBN_SELCHANGE}));
    EXPECT_FALSE(standin::selectComboItem(combo, -1));
    EXPECT_TRUE(standin::selectComboItem(combo, 5)) << "posted, but the control has no such item";
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(notifications(combo).size(), 1u);
}

TEST_F(ControlsTest, DropDownListIsAsHighAsItsFieldNotItsList) {
    HWND combo = lf_comboWith(parent, {u"1"});
    RECT rect{};
    ASSERT_TRUE(GetWindowRect(combo, &rect));
    EXPECT_EQ(rect.right - rect.left, 175);
    EXPECT_EQ(rect.bottom - rect.top, 20);
}

TEST_F(ControlsTest, ControlCallsFromAWorkerThreadWaitForTheOwner) {
    HWND combo = lf_comboWith(parent, {});
    HWND check = createControl(parent, u"button", BS_CHECKBOX, 0x801E, RECT{0, 0, 12, 12});
    std::atomic<bool> done{false};
    std::thread worker([&] {
        SendMessageW(combo, CB_RESETCONTENT, 0, 0);
        for (const char16_t* item : {u"A", u"B"})
            SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        SendMessageW(combo, CB_SETCURSEL, 1, 0);
        SendMessageW(check, BM_SETCHECK, BST_CHECKED, 0);
        EnableWindow(combo, FALSE);
        done = true;
    });
    EXPECT_TRUE(standin::pumpUntil([&] { return done.load(); }));
    worker.join();
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(IsDlgButtonChecked(parent, 0x801E), BST_CHECKED);
    EXPECT_FALSE(IsWindowEnabled(combo));
}

}  // namespace
