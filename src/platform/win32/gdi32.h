#pragma once
// The GDI calls of our Win32 stand-in. They draw real pixels into 32-bit memory bitmaps (text
// with FreeType) and record every drawing call made during a paint in that window's display list.

#include "platform/win32/win32_types.h"

inline constexpr INT TRANSPARENT = 1;
inline constexpr INT OPAQUE = 2;
inline constexpr INT PS_SOLID = 0;
inline constexpr INT PS_NULL = 5;
inline constexpr DWORD SRCCOPY = 0x00CC0020;
inline constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

// Stock objects.
inline constexpr INT WHITE_BRUSH = 0;
inline constexpr INT BLACK_BRUSH = 4;
inline constexpr INT NULL_BRUSH = 5;
inline constexpr INT WHITE_PEN = 6;
inline constexpr INT BLACK_PEN = 7;
inline constexpr INT DC_BRUSH = 18;
inline constexpr INT DC_PEN = 19;

HBRUSH CreateSolidBrush(COLORREF color);
HPEN CreatePen(INT style, INT width, COLORREF color);
HGDIOBJ GetStockObject(INT object);
BOOL DeleteObject(HGDIOBJ object);

HDC CreateCompatibleDC(HDC hdc);
HBITMAP CreateCompatibleBitmap(HDC hdc, INT width, INT height);
BOOL DeleteDC(HDC hdc);
HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object);
INT SaveDC(HDC hdc);
BOOL RestoreDC(HDC hdc, INT savedState);

INT SetBkMode(HDC hdc, INT mode);
COLORREF SetBkColor(HDC hdc, COLORREF color);
COLORREF SetTextColor(HDC hdc, COLORREF color);
COLORREF SetDCBrushColor(HDC hdc, COLORREF color);

INT FillRect(HDC hdc, const RECT* rect, HBRUSH brush);
BOOL MoveToEx(HDC hdc, INT x, INT y, POINT* previous);
BOOL LineTo(HDC hdc, INT x, INT y);
BOOL TextOutW(HDC hdc, INT x, INT y, LPCWSTR text, INT length);
// The width and height TextOutW gives the text in the DC's font.
BOOL GetTextExtentPoint32W(HDC hdc, LPCWSTR text, INT length, SIZE* size);
BOOL BitBlt(HDC target, INT x, INT y, INT width, INT height, HDC source, INT sourceX, INT sourceY, DWORD rop);
