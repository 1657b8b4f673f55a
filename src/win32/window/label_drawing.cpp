#include "win32/window/label_drawing.h"

#include <algorithm>
#include <string>

#include "win32/system/owner.h"

namespace zelvo::win32 {

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
