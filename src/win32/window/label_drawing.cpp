#include "win32/window/label_drawing.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "win32/system/owner.h"

namespace zelvo::win32 {
namespace {

// Below this ratio a text is hard to make out for anyone: a dark blue on black measures 1.3, a
// purple highlight on black 2.2. The highlights of Windows and of Wine on their own button face
// measure 3.9 and 2.8, and keep their colour.
constexpr double kLeastContrast = 2.5;

// A colour's relative luminance, from its sRGB channels.
double Luminance(COLORREF colour) {
  const auto linear = [](BYTE channel) {
    const double value = channel / 255.0;
    return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(GetRValue(colour)) + 0.7152 * linear(GetGValue(colour)) +
         0.0722 * linear(GetBValue(colour));
}

}  // namespace

LabelTheme CurrentLabelTheme() {
  HIGHCONTRASTW high_contrast{};
  high_contrast.cbSize = sizeof(high_contrast);
  const bool on =
      SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(high_contrast), &high_contrast, 0) &&
      (high_contrast.dwFlags & HCF_HIGHCONTRASTON);
  return {on, GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNTEXT)};
}

double ContrastRatio(COLORREF first, COLORREF second) {
  const double a = Luminance(first);
  const double b = Luminance(second);
  return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

COLORREF LabelTextColour(COLORREF own, const LabelTheme& theme) {
  // A high-contrast theme chose its colours for the user's eyes; the label's own are a design.
  if (theme.high_contrast || ContrastRatio(own, theme.face) < kLeastContrast) return theme.text;
  return own;
}

void DrawLabel(const DRAWITEMSTRUCT& item, HFONT font, COLORREF colour) {
  const HDC dc = item.hDC;
  FillRect(dc, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
  const int length = GetWindowTextLengthW(item.hwndItem);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(item.hwndItem, text.data(), length + 1)));
  SetTextColor(dc, colour);
  SetBkMode(dc, TRANSPARENT);

  const SelectedObject selected(dc, font);
  RECT needed = item.rcItem;
  const int width = item.rcItem.right - item.rcItem.left;
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &needed,
            DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
  const int needed_width = needed.right - needed.left;
  UniqueFont smaller;
  LOGFONTW shape{};
  if (needed_width > width && width > 0 && GetObjectW(font, sizeof(shape), &shape)) {
    constexpr int kSmallestPercent = 85;
    const int percent = std::max(kSmallestPercent, MulDiv(width, 100, needed_width) - 1);
    shape.lfHeight = shape.lfHeight * percent / 100;  // towards zero: at least a pixel smaller
    smaller.Reset(CreateFontIndirectW(&shape));
  }
  // Selected for the drawing only; the font put back first goes before its owner deletes it.
  const SelectedObject shrunk(dc, smaller ? smaller.Get() : font);
  RECT rect = item.rcItem;
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect,
            DT_CENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

}  // namespace zelvo::win32
