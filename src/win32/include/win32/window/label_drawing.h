// The owner-drawn labels of the main window: one centred line in a colour of their own, or in
// the theme's text colour where their own would not be read.
#pragma once

#include <windows.h>

namespace zelvo::win32 {

// What a label's colour is chosen against: whether Windows' high contrast is on, the face the
// labels lie on (COLOR_BTNFACE) and the theme's text colour on it (COLOR_BTNTEXT).
struct LabelTheme {
  bool high_contrast;
  COLORREF face;
  COLORREF text;
};

// The theme as Windows has it now.
LabelTheme CurrentLabelTheme();

// The contrast ratio of two colours as WCAG defines it: 1 for the same, 21 for black and white.
double ContrastRatio(COLORREF first, COLORREF second);

// The colour a label whose own colour is `own` is drawn in: its own, unless high contrast is on
// or its own can hardly be told from the face (a dark blue on the black of a dark theme), then
// the theme's text colour.
COLORREF LabelTextColour(COLORREF own, const LabelTheme& theme);

// Draws the label of `item` in `font` and `colour`. A text a little too wide for the label is
// drawn in a slightly smaller font; one far too wide ends in an ellipsis.
void DrawLabel(const DRAWITEMSTRUCT& item, HFONT font, COLORREF colour);

}  // namespace zelvo::win32
