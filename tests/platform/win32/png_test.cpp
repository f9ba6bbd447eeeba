#include "platform/win32/win32_fixture.h"

#include "support/test_support.h"

#include <algorithm>
#include <atomic>
#include <thread>

using namespace win32test;

namespace {

constexpr COLORREF kPanel = 0xFFCC99;

class PngTest : public Win32Test {
  protected:
    // A panel with the four kinds of control, coloured as the main window colours its edits.
    HWND createPanel() {
        setHandler([](HWND hwnd, UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
            HDC hdc = reinterpret_cast<HDC>(wParam);
            if (message == WM_ERASEBKGND) {
                HBRUSH panel = CreateSolidBrush(kPanel);
                RECT client{};
                GetClientRect(hwnd, &client);
                FillRect(hdc, &client, panel);
                DeleteObject(panel);
                return 1;
            }
            if (message == WM_CTLCOLOREDIT || message == WM_CTLCOLORSTATIC) {
                SetBkMode(hdc, OPAQUE);
                SetBkColor(hdc, kPanel);
                return reinterpret_cast<LRESULT>(GetStockObject(DC_BRUSH));
            }
            return std::nullopt;
        });
        HWND panel = createTestWindow();
        checkBox = createControl(panel, u"button", BS_CHECKBOX, 0x801E, RECT{20, 20, 32, 32});
        CheckDlgButton(panel, 0x801E, BST_CHECKED);
        edit = createControl(panel, u"Edit", WS_BORDER, 0x8047, RECT{20, 50, 120, 66});
        SetWindowTextW(edit, u"EHAM");
        combo =
            createControl(panel, u"ComboBox", WS_VSCROLL | CBS_DROPDOWNLIST, 0x8032, RECT{20, 80, 120, 280});
        for (const char16_t* item : {u"10", u"20", u"40"}) {
            SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        }
        SendMessageW(combo, CB_SETCURSEL, 2, 0);
        button = createControl(panel, u"button", BS_DEFPUSHBUTTON, 0x804F, RECT{20, 120, 100, 140}, u"Now");
        disabled =
            createControl(panel, u"button", BS_DEFPUSHBUTTON, 0x8046, RECT{120, 120, 210, 140}, u"Re-read");
        EnableWindow(disabled, FALSE);
        disabledEdit = createControl(panel, u"Edit", WS_BORDER, 0x803C, RECT{20, 160, 120, 176}, u"KLM123");
        EnableWindow(disabledEdit, FALSE);
        // A child wider than its parent is clipped at the parent's edge.
        createControl(panel, u"Edit", WS_BORDER, 0x8014, RECT{250, 20, 1450, 36});
        standin::pumpUntilIdle();
        return panel;
    }

    HWND checkBox = nullptr;
    HWND edit = nullptr;
    HWND combo = nullptr;
    HWND button = nullptr;
    HWND disabled = nullptr;
    HWND disabledEdit = nullptr;
};

TEST_F(PngTest, ScreenshotComposesTheWindowWithItsControls) {
    HWND panel = createPanel();
    mrwtest::TempDir dir;
    ASSERT_TRUE(standin::savePng(panel, dir / "panel.png"));
    std::optional<standin::Image> image = standin::readPng(dir / "panel.png");
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->width, 400);
    EXPECT_EQ(image->height, 300);

    EXPECT_EQ(image->at(5, 5), kPanel) << "the window's own erase";
    EXPECT_EQ(image->at(20, 20), 0x333333u) << "the check box's frame";
    EXPECT_EQ(image->at(21, 50), 0x7A7A7Au) << "the edit's border";
    EXPECT_EQ(image->at(22, 52), 0xFFFFFFu) << "the edit's field has the DC brush the parent returned";
    EXPECT_EQ(image->at(21, 81), 0xE1E1E1u) << "the combo's face";
    EXPECT_EQ(image->at(21, 110), kPanel) << "the closed combo box is 20 pixels high";
    EXPECT_EQ(image->at(20, 120), 0xD77800u) << "the default button's border";
    EXPECT_EQ(image->at(121, 121), 0xCCCCCCu) << "a disabled button is grey";
    EXPECT_EQ(image->at(399, 20), 0x7A7A7Au) << "the wide edit reaches the edge and is cut there";

    // Each edit asked its parent for its colours while it painted; a disabled one as static text.
    auto askedBy = [&](UINT message, HWND control) {
        std::vector<Received> asks = received(panel, message);
        return std::any_of(asks.begin(), asks.end(), [control](const Received& ask) {
            return reinterpret_cast<HWND>(ask.lParam) == control;
        });
    };
    EXPECT_TRUE(askedBy(WM_CTLCOLOREDIT, edit));
    EXPECT_FALSE(askedBy(WM_CTLCOLORSTATIC, edit));
    EXPECT_TRUE(askedBy(WM_CTLCOLORSTATIC, disabledEdit));
    EXPECT_EQ(image->at(22, 162), 0xFFFFFFu) << "the disabled edit also uses the returned brush";
    std::vector<standin::PaintOp> ops = standin::paintOps(edit);
    auto text = std::find_if(ops.begin(), ops.end(), [](const standin::PaintOp& op) {
        return op.kind == standin::PaintOpKind::TextOut;
    });
    ASSERT_NE(text, ops.end());
    EXPECT_EQ(text->text, u"EHAM");
    EXPECT_TRUE(text->opaque);
    EXPECT_EQ(text->background, kPanel);
}

TEST_F(PngTest, ScreenshotFromAnotherThreadWaitsForThePaint) {
    HWND panel = createPanel();
    mrwtest::TempDir dir;
    std::atomic<bool> done{false};
    bool saved = false;
    std::thread worker([&] {
        saved = standin::savePng(panel, dir / "worker.png");
        done = true;
    });
    EXPECT_TRUE(standin::pumpUntil([&] { return done.load(); }));
    worker.join();
    EXPECT_TRUE(saved);
    std::optional<standin::Image> image = standin::readPng(dir / "worker.png");
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->at(5, 5), kPanel);
}

TEST_F(PngTest, FailuresAreReported) {
    HWND panel = createPanel();
    mrwtest::TempDir dir;
    EXPECT_FALSE(standin::savePng(panel, dir / "missing" / "folder.png"));
    mrwtest::writeFile(dir / "not.png", "not a png");
    EXPECT_FALSE(standin::readPng(dir / "not.png").has_value());
    EXPECT_FALSE(standin::readPng(dir / "absent.png").has_value());
}

}  // namespace
