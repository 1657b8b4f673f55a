// Where the main window and its controls stand, and the font they draw with, at a DPI: the
// places of the control table (in twips) scaled, and the system's message font at that DPI (or
// a smaller one of its face where a line of it would not fit).
#pragma once

#include <windows.h>

#include "win32/window/controls.h"
#include "win32/system/owner.h"

namespace zelvo::win32 {

inline constexpr DWORD kMainWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
inline constexpr DWORD kMainWindowExStyle = WS_EX_ACCEPTFILES | WS_EX_CONTROLPARENT;

// The DPI of the monitor the window is on; the system's where Windows knows no other.
UINT DpiOf(HWND window);

// A length in twips as pixels at `dpi`.
int Scale(int twips, UINT dpi);

// The main window's outer rectangle around its client area at `dpi`, with its top-left corner
// at (x, y).
RECT MainWindowRect(UINT dpi, int x, int y);

// Where `control` stands in the main window's client area at `dpi`.
RECT ControlRect(Control control, UINT dpi);

// The system's UI font (the message font) at `dpi`; invalid when the system gives none.
UniqueFont CreateUiFont(UINT dpi);

// `font`'s face at the largest size whose cell (ascent and descent) is at most `height` pixels;
// invalid when `font` fits already, or when no size does.
UniqueFont CreateFontWithin(HFONT font, int height);

}  // namespace zelvo::win32
