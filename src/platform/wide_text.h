#pragma once
// The product keeps wide text as UTF-16 in char16_t. The platform's wide characters are char16_t
// in our stand-ins and wchar_t (also UTF-16) on Windows: these views pass text between the two.

#include "platform/windows_types.h"

namespace platform {

inline LPCWSTR asWide(const char16_t* text) {
    return reinterpret_cast<LPCWSTR>(text);
}

inline const char16_t* asUtf16(LPCWSTR text) {
    return reinterpret_cast<const char16_t*>(text);
}

}  // namespace platform
