#include "win32/window/window_layout.h"

#include <optional>

#include "win32/system/module.h"

namespace zelvo::win32 {
namespace {

constexpr int kTwipsPerInch = 1440;

// The DPI functions of Windows 10, looked up at run time so that the program still starts on
// Windows 7.
using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using SystemParametersInfoForDpiFunction = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);

int SystemDpi() {
  const ScreenDc screen(GetDC(nullptr));
  return screen ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
}

}  // namespace

UINT DpiOf(HWND window) {
  static const auto get_dpi =
      SystemFunction<GetDpiForWindowFunction>(L"user32.dll", "GetDpiForWindow");
  if (get_dpi) {
    if (const UINT dpi = get_dpi(window)) return dpi;
  }
  const int dpi = SystemDpi();
  return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

int Scale(int twips, UINT dpi) { return MulDiv(twips, static_cast<int>(dpi), kTwipsPerInch); }

RECT MainWindowRect(UINT dpi, int x, int y) {
  const ControlRow& client = ControlRowOf(Control::frmMain);
  RECT rect{0, 0, Scale(client.width, dpi), Scale(client.height, dpi)};
  static const auto adjust =
      SystemFunction<AdjustWindowRectExForDpiFunction>(L"user32.dll", "AdjustWindowRectExForDpi");
  if (!adjust || !adjust(&rect, kMainWindowStyle, FALSE, kMainWindowExStyle, dpi)) {
    AdjustWindowRectEx(&rect, kMainWindowStyle, FALSE, kMainWindowExStyle);
  }
  OffsetRect(&rect, x - rect.left, y - rect.top);
  return rect;
}

RECT ControlRect(Control control, UINT dpi) {
  const ControlRow& row = ControlRowOf(control);
  int left = row.left;
  int top = row.top;
  if (row.container != Control::frmMain) {
    // A control inside a frame is placed relative to the frame's top-left corner.
    const ControlRow& frame = ControlRowOf(row.container);
    left += frame.left;
    top += frame.top;
  }
  const int x = Scale(left, dpi);
  const int y = Scale(top, dpi);
  return {x, y, x + Scale(row.width, dpi), y + Scale(row.height, dpi)};
}

UniqueFont CreateUiFont(UINT dpi) {
  static const auto for_dpi = SystemFunction<SystemParametersInfoForDpiFunction>(
      L"user32.dll", "SystemParametersInfoForDpi");
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (for_dpi && for_dpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi)) {
    return UniqueFont(CreateFontIndirectW(&metrics.lfMessageFont));
  }
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) return {};
  if (const int system_dpi = SystemDpi(); system_dpi > 0) {
    metrics.lfMessageFont.lfHeight =
        MulDiv(metrics.lfMessageFont.lfHeight, static_cast<int>(dpi), system_dpi);
  }
  return UniqueFont(CreateFontIndirectW(&metrics.lfMessageFont));
}

namespace {

// The font's metrics on the screen; nullopt when they cannot be measured.
std::optional<TEXTMETRICW> MetricsOf(HDC screen, HFONT font) {
  const SelectedObject selected(screen, font);
  TEXTMETRICW metrics{};
  if (!GetTextMetricsW(screen, &metrics)) return std::nullopt;
  return metrics;
}

int CellHeight(const TEXTMETRICW& metrics) { return metrics.tmAscent + metrics.tmDescent; }

}  // namespace

UniqueFont CreateFontWithin(HFONT font, int height) {
  LOGFONTW face{};
  const ScreenDc screen(GetDC(nullptr));
  if (!screen || !GetObjectW(font, sizeof(face), &face)) return {};
  const std::optional<TEXTMETRICW> metrics = MetricsOf(screen.Get(), font);
  if (!metrics || CellHeight(*metrics) <= height) return {};
  // Smaller by the em (the cell without its internal leading), a pixel at a time: a cell height
  // asked for directly (a positive lfHeight) may come out a pixel taller.
  for (int em = metrics->tmHeight - metrics->tmInternalLeading - 1; em > 0; --em) {
    face.lfHeight = -em;
    UniqueFont smaller(CreateFontIndirectW(&face));
    if (!smaller) return {};
    const std::optional<TEXTMETRICW> fitted = MetricsOf(screen.Get(), smaller.Get());
    if (fitted && CellHeight(*fitted) <= height) return smaller;
  }
  return {};
}

}  // namespace zelvo::win32
