#pragma once
// On Windows the window system is the real one. The product keeps its wide text as UTF-16 in
// char16_t, which is wchar_t's size and encoding here: these overloads take it where the product
// passes text to the W functions.

#include "platform/windows_types.h"

inline HWND CreateWindowExW(DWORD exStyle, const char16_t* className, const char16_t* windowName, DWORD style,
                            int x, int y, int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                            LPVOID param) {
    return CreateWindowExW(exStyle, reinterpret_cast<LPCWSTR>(className), reinterpret_cast<LPCWSTR>(windowName),
                           style, x, y, width, height, parent, menu, instance, param);
}

inline BOOL SetWindowTextW(HWND hwnd, const char16_t* text) {
    return SetWindowTextW(hwnd, reinterpret_cast<LPCWSTR>(text));
}

inline int GetWindowTextW(HWND hwnd, char16_t* buffer, int capacity) {
    return GetWindowTextW(hwnd, reinterpret_cast<LPWSTR>(buffer), capacity);
}

inline int LoadStringW(HINSTANCE instance, UINT id, char16_t* buffer, int capacity) {
    return LoadStringW(instance, id, reinterpret_cast<LPWSTR>(buffer), capacity);
}

inline BOOL TextOutW(HDC hdc, int x, int y, const char16_t* text, int length) {
    return TextOutW(hdc, x, y, reinterpret_cast<LPCWSTR>(text), length);
}

inline BOOL GetTextExtentPoint32W(HDC hdc, const char16_t* text, int length, SIZE* size) {
    return GetTextExtentPoint32W(hdc, reinterpret_cast<LPCWSTR>(text), length, size);
}
