#include "platform/system/native_calls.h"

#include "platform/system/message_box.h"
#include "platform/windows/wide_conversion.h"
#include "platform/windows_types.h"

#include <shellapi.h>
#include <timeapi.h>

namespace platform::native {

bool isProcessElevated() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    const bool read = GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size) != 0;
    CloseHandle(token);
    return read && elevation.TokenIsElevated != 0;
}

int openFolder(const std::filesystem::path& folder) {
    const HINSTANCE result = ShellExecuteW(nullptr, L"open", folder.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return static_cast<int>(reinterpret_cast<INT_PTR>(result));
}

int showWarningMessageBox(std::string_view text, std::string_view caption) {
    return MessageBoxW(nullptr, utf8ToWide(text).c_str(), utf8ToWide(caption).c_str(),
                       MB_OK | MB_ICONWARNING);
}

unsigned beginTimerPeriod(unsigned milliseconds) {
    return timeBeginPeriod(milliseconds);
}

unsigned endTimerPeriod(unsigned milliseconds) {
    return timeEndPeriod(milliseconds);
}

bool tryWriteInFolder(const std::filesystem::path& folder) {
    const std::filesystem::path file = folder / L".write_test.tmp";
    HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    const char zero = 0;
    DWORD written = 0;
    const bool wrote = WriteFile(handle, &zero, 1, &written, nullptr) != 0 && written == 1;
    return CloseHandle(handle) != 0 && wrote;
}

}  // namespace platform::native
