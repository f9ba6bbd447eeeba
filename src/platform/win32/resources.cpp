// The program's resources: the string table and dummy icon and cursor handles.

#include "platform/win32/user32.h"

#include <algorithm>
#include <string_view>

namespace {

// String 101 is the product name: the window class name and title.
std::u16string_view lf_findString(UINT id) {
    return id == 101 ? std::u16string_view(u"Merrowvale") : std::u16string_view();
}

}  // namespace

INT LoadStringW(HINSTANCE, UINT id, LPWSTR buffer, INT capacity) {
    std::u16string_view text = lf_findString(id);
    if (text.empty() || buffer == nullptr || capacity <= 0) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return 0;
    }
    std::size_t count = std::min<std::size_t>(text.size(), static_cast<std::size_t>(capacity) - 1);
    std::copy_n(text.begin(), count, buffer);
    buffer[count] = u'\0';
    return static_cast<INT>(count);
}

HICON LoadIconW(HINSTANCE, LPCWSTR name) {
    return reinterpret_cast<HICON>(reinterpret_cast<UINT_PTR>(name) | 0x10000);
}

HCURSOR LoadCursorW(HINSTANCE, LPCWSTR name) {
    return reinterpret_cast<HCURSOR>(reinterpret_cast<UINT_PTR>(name) | 0x20000);
}
