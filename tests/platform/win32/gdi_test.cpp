#include "platform/win32/win32_fixture.h"

#include <algorithm>

using namespace win32test;

namespace {

constexpr COLORREF kRed = 0x0000FF;
constexpr COLORREF kYellow = 0x00FFFF;
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kGreen = 0x32CD32;
constexpr COLORREF kBlue = 0xFFCC99;

class GdiTest : public Win32Test {
  protected:
    void TearDown() override {
        standin::setFontFile("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
        Win32Test::TearDown();
    }

    // Paints `draw` into a memory bitmap and copies it to the window, as the program paints.
    HWND paintWith(const std::function<void(HDC)>& draw) {
        setHandler([draw](HWND hwnd, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
            if (message == WM_ERASEBKGND) return 1;
            if (message != WM_PAINT) return std::nullopt;
            PAINTSTRUCT paint;
            HDC hdc = BeginPaint(hwnd, &paint);
            HDC memory = CreateCompatibleDC(hdc);
            HBITMAP bitmap = CreateCompatibleBitmap(hdc, 400, 300);
            HGDIOBJ old = SelectObject(memory, bitmap);
            draw(memory);
            BitBlt(hdc, 0, 0, 400, 300, memory, 0, 0, SRCCOPY);
            SelectObject(memory, old);
            DeleteObject(bitmap);
            DeleteDC(memory);
            EndPaint(hwnd, &paint);
            return 0;
        });
        HWND hwnd = createTestWindow();
        standin::pumpUntilIdle();
        return hwnd;
    }
};

// Whether some pixel of the area has the colour (text is anti-aliased: its core is exact).
bool lf_hasColour(HWND hwnd, RECT area, COLORREF color) {
    std::optional<standin::Image> image = standin::renderWindow(hwnd);
    if (!image) return false;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (image->at(x, y) == color) return true;
        }
    }
    return false;
}

TEST_F(GdiTest, FillsLinesAndTextReachThePixelsAndTheDisplayList) {
    HBRUSH red = CreateSolidBrush(kRed);
    HPEN white = CreatePen(PS_SOLID, 1, kWhite);
    HWND hwnd = paintWith([&](HDC dc) {
        RECT band{0, 0, 400, 28};
        FillRect(dc, &band, red);
        HGDIOBJ oldPen = SelectObject(dc, white);
        MoveToEx(dc, 0, 50, nullptr);
        LineTo(dc, 10, 50);
        MoveToEx(dc, 20, 60, nullptr);
        LineTo(dc, 20, 70);
        SelectObject(dc, oldPen);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, kYellow);
        TextOutW(dc, 3, 7, u"Version 12.6.0", 14);
    });

    EXPECT_EQ(standin::pixel(hwnd, 0, 0), kRed);
    EXPECT_EQ(standin::pixel(hwnd, 399, 27), kRed) << "right and bottom are exclusive";
    EXPECT_EQ(standin::pixel(hwnd, 399, 28), 0x000000u) << "a new bitmap is black";
    EXPECT_EQ(standin::pixel(hwnd, 0, 50), kWhite);
    EXPECT_EQ(standin::pixel(hwnd, 9, 50), kWhite);
    EXPECT_EQ(standin::pixel(hwnd, 10, 50), 0x000000u) << "a line leaves out its end point";
    EXPECT_EQ(standin::pixel(hwnd, 20, 69), kWhite);
    EXPECT_EQ(standin::pixel(hwnd, 20, 70), 0x000000u);
    EXPECT_TRUE(lf_hasColour(hwnd, RECT{3, 7, 120, 24}, kYellow));
    EXPECT_FALSE(lf_hasColour(hwnd, RECT{0, 30, 400, 300}, kYellow)) << "the text stays in its band";
    EXPECT_EQ(standin::pixel(hwnd, 400, 0), CLR_INVALID);

    std::vector<standin::PaintOp> ops = standin::paintOps(hwnd);
    ASSERT_EQ(ops.size(), 7u);
    EXPECT_EQ(ops[0].kind, standin::PaintOpKind::FillRect);
    EXPECT_EQ(ops[0].rect.right, 400);
    EXPECT_EQ(ops[0].rect.bottom, 28);
    EXPECT_EQ(ops[0].color, kRed);
    EXPECT_EQ(ops[1].kind, standin::PaintOpKind::MoveTo);
    EXPECT_EQ(ops[2].kind, standin::PaintOpKind::LineTo);
    EXPECT_EQ(ops[2].rect.left, 0);
    EXPECT_EQ(ops[2].rect.top, 50);
    EXPECT_EQ(ops[2].rect.right, 10);
    EXPECT_EQ(ops[2].color, kWhite);
    const standin::PaintOp& text = ops[5];
    EXPECT_EQ(text.kind, standin::PaintOpKind::TextOut);
    EXPECT_EQ(text.point.x, 3);
    EXPECT_EQ(text.point.y, 7);
    EXPECT_EQ(text.text, u"Version 12.6.0");
    EXPECT_EQ(text.color, kYellow);
    EXPECT_FALSE(text.opaque);
    EXPECT_EQ(ops[6].kind, standin::PaintOpKind::BitBlt);
    EXPECT_NE(ops[6].dc, ops[0].dc) << "the copy goes to the paint DC";
    DeleteObject(red);
    DeleteObject(white);
}

TEST_F(GdiTest, OpaqueTextFillsItsCellAndStateIsSavedAndRestored) {
    COLORREF previousText = CLR_INVALID;
    COLORREF restoredText = CLR_INVALID;
    INT previousMode = 0;
    HWND hwnd = paintWith([&](HDC dc) {
        int saved = SaveDC(dc);
        previousText = SetTextColor(dc, kYellow);
        SetBkColor(dc, kBlue);
        TextOutW(dc, 50, 100, u"..", 2);
        RestoreDC(dc, saved);
        restoredText = SetTextColor(dc, kGreen);
        previousMode = SetBkMode(dc, TRANSPARENT);
        HGDIOBJ brush = GetStockObject(DC_BRUSH);
        RECT area{200, 200, 210, 210};
        FillRect(dc, &area, static_cast<HBRUSH>(brush));
    });
    EXPECT_EQ(previousText, 0x000000u) << "text starts black";
    EXPECT_EQ(restoredText, 0x000000u) << "RestoreDC brings the saved colour back";
    EXPECT_EQ(previousMode, OPAQUE) << "the background mode starts opaque";
    EXPECT_EQ(standin::pixel(hwnd, 50, 100), kBlue) << "an opaque text cell has the background colour";
    EXPECT_EQ(standin::pixel(hwnd, 205, 205), kWhite) << "the DC brush starts white";
    std::vector<standin::PaintOp> ops = standin::paintOps(hwnd);
    ASSERT_GE(ops.size(), 1u);
    EXPECT_TRUE(ops[0].opaque);
    EXPECT_EQ(ops[0].background, kBlue);
}

TEST_F(GdiTest, WithoutTheFontTextIsDrawnAsBoxes) {
    standin::setFontFile("/nonexistent/font.ttf");
    HWND hwnd = paintWith([](HDC dc) {
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, kGreen);
        TextOutW(dc, 100, 100, u"AB", 2);
    });
    // Each character is a box outline in a 7 x 14 cell.
    EXPECT_EQ(standin::pixel(hwnd, 101, 102), kGreen);
    EXPECT_EQ(standin::pixel(hwnd, 105, 111), kGreen);
    EXPECT_EQ(standin::pixel(hwnd, 108, 102), kGreen) << "the second cell starts 7 pixels on";
    EXPECT_EQ(standin::pixel(hwnd, 103, 106), 0x000000u) << "boxes are hollow";
}

TEST_F(GdiTest, ObjectCallsOnStaleHandlesFail) {
    HBRUSH brush = CreateSolidBrush(kRed);
    EXPECT_TRUE(DeleteObject(brush));
    EXPECT_FALSE(DeleteObject(brush));
    EXPECT_TRUE(DeleteObject(GetStockObject(BLACK_BRUSH))) << "stock objects survive deletion";
    EXPECT_NE(GetStockObject(BLACK_BRUSH), nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_TRUE(DeleteDC(dc));
    RECT area{0, 0, 1, 1};
    EXPECT_EQ(FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))), 0);
    EXPECT_EQ(SetTextColor(dc, kRed), CLR_INVALID);
    EXPECT_EQ(SelectObject(dc, GetStockObject(BLACK_BRUSH)), nullptr);
    EXPECT_FALSE(TextOutW(dc, 0, 0, u"x", 1));
    EXPECT_EQ(CreateCompatibleBitmap(nullptr, 0, 10), nullptr);
}

TEST_F(GdiTest, EraseUsesTheClassBackgroundAndPaintIsOnlyForTheInvalidArea) {
    HWND hwnd = createTestWindow();  // the test class has a black background
    standin::pumpUntilIdle();
    std::vector<standin::PaintOp> ops = standin::paintOps(hwnd);
    ASSERT_EQ(ops.size(), 1u) << "the first paint erased with the class brush";
    EXPECT_EQ(ops[0].color, 0x000000u);

    PAINTSTRUCT seen{};
    setHandler([&seen](HWND window, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message != WM_PAINT) return std::nullopt;
        BeginPaint(window, &seen);
        EndPaint(window, &seen);
        return 0;
    });
    RECT band{0, 250, 880, 276};
    InvalidateRect(hwnd, &band, FALSE);
    RECT other{0, 240, 10, 245};
    InvalidateRect(hwnd, &other, FALSE);
    clearReceived();
    standin::pumpUntilIdle();
    EXPECT_EQ(seen.rcPaint.top, 240);
    EXPECT_EQ(seen.rcPaint.bottom, 276);
    EXPECT_EQ(seen.rcPaint.right, 400) << "clipped to the client area";
    EXPECT_FALSE(seen.fErase);
    EXPECT_EQ(received(hwnd, WM_PAINT).size(), 1u) << "invalidations merge into one paint";
    EXPECT_TRUE(received(hwnd, WM_ERASEBKGND).empty()) << "no erase was asked for";
}

}  // namespace
