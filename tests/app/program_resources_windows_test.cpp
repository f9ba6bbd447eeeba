// The resources every program of the product carries on Windows: the icon that the window class
// registers (title bar, task bar, Explorer) and the version that Explorer shows in the Details.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "foundation/version_data.h"

namespace {

TEST(ProgramResources, IconHundredHasTheSizesWindowsShows) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    for (const int size : {16, 32, 48, 256}) {
        SCOPED_TRACE(size);
        const HANDLE icon = LoadImageW(instance, MAKEINTRESOURCEW(100), IMAGE_ICON, size, size, 0);
        ASSERT_NE(icon, nullptr) << GetLastError();
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(static_cast<HICON>(icon), &info));
        BITMAP colour{};
        ASSERT_NE(GetObjectW(info.hbmColor, sizeof colour, &colour), 0);
        EXPECT_EQ(colour.bmWidth, size) << "drawn in this size, not scaled from another";
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(static_cast<HICON>(icon));
    }
}

// One text of the program's version resource, US English, Unicode.
std::wstring versionText(const std::wstring& name) {
    wchar_t file[MAX_PATH]{};
    EXPECT_NE(GetModuleFileNameW(nullptr, file, MAX_PATH), 0u);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(file, &ignored);
    if (size == 0) return L"<no version resource>";
    std::string block(size, '\0');
    EXPECT_TRUE(GetFileVersionInfoW(file, 0, size, block.data()));
    void* text = nullptr;
    UINT length = 0;
    const std::wstring key = L"\\StringFileInfo\\040904B0\\" + name;
    if (!VerQueryValueW(block.data(), key.c_str(), &text, &length) || length == 0) return L"<missing>";
    return std::wstring(static_cast<const wchar_t*>(text));
}

TEST(ProgramResources, TheVersionResourceNamesTheProductAndItsVersion) {
    const std::string text = mrw::g_programVersion.toString();  // ASCII digits and dots
    const std::wstring version(text.begin(), text.end());
    EXPECT_EQ(versionText(L"ProductName"), L"Merrowvale");
    EXPECT_EQ(versionText(L"ProductVersion"), version);
    EXPECT_EQ(versionText(L"FileVersion"), version);
}

}  // namespace
