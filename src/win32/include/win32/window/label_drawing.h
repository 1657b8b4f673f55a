// The owner-drawn labels of the main window: one centred line in a colour of their own.
#pragma once

#include <windows.h>

namespace zelvo::win32 {

// Draws the label of `item` in `font` and `colour`. A text a little too wide for the label is
// drawn in a slightly smaller font; one far too wide ends in an ellipsis.
void DrawLabel(const DRAWITEMSTRUCT& item, HFONT font, COLORREF colour);

}  // namespace zelvo::win32
