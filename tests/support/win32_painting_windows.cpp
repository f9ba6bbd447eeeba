// The painting side of the test driver over the real Win32: the paints the driver's pump
// dispatches are counted, and the TextOut calls made during each are kept as the window's display
// list; pixels come from the window's surface on the screen.

#include "support/win32_painting_windows.h"

#include "platform/win32/standin.h"
#include "platform/win32/user32.h"

#include <cstring>
#include <map>
#include <mutex>

namespace {

using TextOutFunction = BOOL(WINAPI*)(HDC, int, int, LPCWSTR, int);

TextOutFunction g_realTextOut = nullptr;
// The display list of the paint being dispatched on this thread, if any.
thread_local std::vector<standin::PaintOp>* t_recording = nullptr;

struct WindowPaints {
    std::uint64_t count = 0;
    std::vector<standin::PaintOp> lastOps;
};
// The test thread's windows; the driver's pump runs on it.
std::map<HWND, WindowPaints> g_paints;

BOOL WINAPI lf_recordingTextOut(HDC hdc, int x, int y, LPCWSTR text, int length) {
    if (t_recording != nullptr) {
        standin::PaintOp op;
        op.kind = standin::PaintOpKind::TextOut;
        op.dc = hdc;
        op.point = POINT{x, y};
        op.color = GetTextColor(hdc);
        op.text.assign(reinterpret_cast<const char16_t*>(text), static_cast<std::size_t>(length));
        op.opaque = GetBkMode(hdc) == OPAQUE;
        op.background = GetBkColor(hdc);
        t_recording->push_back(std::move(op));
    }
    return g_realTextOut(hdc, x, y, text, length);
}

// Points the program's import of gdi32's TextOutW at the recorder: the product's own calls pass
// through it, the system's drawing of controls does not.
void lf_hookTextOut() {
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    const auto real = reinterpret_cast<ULONG_PTR>(GetProcAddress(GetModuleHandleW(L"gdi32.dll"), "TextOutW"));
    for (auto* library = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         library->Name != 0; ++library) {
        for (auto* thunk = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->FirstThunk);
             thunk->u1.Function != 0; ++thunk) {
            if (thunk->u1.Function != real) continue;
            DWORD protection = 0;
            VirtualProtect(&thunk->u1.Function, sizeof thunk->u1.Function, PAGE_READWRITE, &protection);
            g_realTextOut = reinterpret_cast<TextOutFunction>(real);
            thunk->u1.Function = reinterpret_cast<ULONG_PTR>(&lf_recordingTextOut);
            VirtualProtect(&thunk->u1.Function, sizeof thunk->u1.Function, protection, &protection);
        }
    }
}

// The window's client area as it is on the screen now.
std::optional<standin::Image> lf_capture(HWND window) {
    RECT client{};
    if (!IsWindow(window) || !GetClientRect(window, &client)) return std::nullopt;
    const int width = client.right;
    const int height = client.bottom;
    if (width <= 0 || height <= 0) return std::nullopt;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC source = GetDC(window);
    HDC memory = CreateCompatibleDC(source);
    HBITMAP bitmap = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    const bool copied = BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY) != 0;
    std::optional<standin::Image> image;
    if (copied && bits != nullptr) {
        image.emplace();
        image->width = width;
        image->height = height;
        const auto* pixels = static_cast<const std::uint32_t*>(bits);  // 0x00RRGGBB
        image->pixels.reserve(static_cast<std::size_t>(width) * height);
        for (std::size_t i = 0; i < static_cast<std::size_t>(width) * height; ++i)
            image->pixels.push_back(RGB((pixels[i] >> 16) & 0xFF, (pixels[i] >> 8) & 0xFF, pixels[i] & 0xFF));
    }
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, source);
    return image;
}

}  // namespace

namespace mrwtest {

void dispatchRecordingPaints(const MSG& msg) {
    static std::once_flag hooked;
    std::call_once(hooked, lf_hookTextOut);
    if (msg.message != WM_PAINT || msg.hwnd == nullptr) {
        DispatchMessageW(&msg);
        return;
    }
    std::vector<standin::PaintOp> ops;
    t_recording = &ops;
    DispatchMessageW(&msg);
    t_recording = nullptr;
    WindowPaints& paints = g_paints[msg.hwnd];
    ++paints.count;
    paints.lastOps = std::move(ops);
}

void forgetPaints() {
    g_paints.clear();
}

}  // namespace mrwtest

namespace standin {

std::vector<PaintOp> paintOps(HWND window) {
    auto found = g_paints.find(window);
    if (!IsWindow(window) || found == g_paints.end()) return {};
    return found->second.lastOps;
}

std::uint64_t paintCount(HWND window) {
    auto found = g_paints.find(window);
    if (!IsWindow(window) || found == g_paints.end()) return 0;
    return found->second.count;
}

COLORREF pixel(HWND window, int x, int y) {
    std::optional<Image> image = lf_capture(window);
    if (!image || x < 0 || y < 0 || x >= image->width || y >= image->height) return CLR_INVALID;
    return image->at(x, y);
}

// On the window's own thread the repaint goes through the driver's pump, so that it is counted
// and recorded as any other.
std::optional<Image> renderWindow(HWND window) {
    if (!IsWindow(window)) return std::nullopt;
    if (GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId()) {
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        pumpUntilIdle();
    } else {
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
    return lf_capture(window);
}

}  // namespace standin
