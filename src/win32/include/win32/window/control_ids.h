// The main window's class name and its controls' ids, by which the end-to-end tests find them.
#pragma once

#include "win32/window/controls.h"

namespace zelvo::win32 {

inline constexpr wchar_t kMainWindowClass[] = L"ZelvoMainWindow";

constexpr int ControlId(Control control) { return ControlRowOf(control).id; }

}  // namespace zelvo::win32
