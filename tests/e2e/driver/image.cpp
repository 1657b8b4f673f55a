#include "driver/image.h"

#include <algorithm>
#include <fstream>
#include <map>

#include "driver/errors.h"
#include "win32/system/owner.h"
#include "win32/system/strings.h"

namespace zelvo::e2e {

Image::Image(int width, int height, std::vector<COLORREF> pixels)
    : width_(width), height_(height), pixels_(std::move(pixels)) {}

COLORREF Image::At(int x, int y) const {
  return pixels_.at(static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x));
}

size_t Image::Count(COLORREF colour) const {
  return static_cast<size_t>(std::count(pixels_.begin(), pixels_.end(), colour));
}

COLORREF Image::MostCommon() const {
  std::map<COLORREF, size_t> counts;
  for (COLORREF pixel : pixels_) ++counts[pixel];
  const auto most =
      std::max_element(counts.begin(), counts.end(),
                       [](const auto& a, const auto& b) { return a.second < b.second; });
  return most == counts.end() ? CLR_INVALID : most->first;
}

size_t Image::Differences(const Image& other) const {
  if (width_ != other.width_ || height_ != other.height_) {
    return std::max(pixels_.size(), other.pixels_.size());
  }
  size_t differences = 0;
  for (size_t i = 0; i < pixels_.size(); ++i) differences += pixels_[i] != other.pixels_[i];
  return differences;
}

void Image::SaveBmp(const std::filesystem::path& path) const {
  const size_t row_size = (static_cast<size_t>(width_) * 3 + 3) / 4 * 4;
  const size_t image_size = row_size * static_cast<size_t>(height_);
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{sizeof(info)};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof(file) + sizeof(info);
  file.bfSize = static_cast<DWORD>(file.bfOffBits + image_size);
  info.biWidth = width_;
  info.biHeight = height_;  // bottom-up
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  info.biSizeImage = static_cast<DWORD>(image_size);
  std::string data(image_size, '\0');
  for (int y = 0; y < height_; ++y) {
    char* row = data.data() + static_cast<size_t>(height_ - 1 - y) * row_size;
    for (int x = 0; x < width_; ++x) {
      const COLORREF pixel = At(x, y);
      row[x * 3] = static_cast<char>(GetBValue(pixel));
      row[x * 3 + 1] = static_cast<char>(GetGValue(pixel));
      row[x * 3 + 2] = static_cast<char>(GetRValue(pixel));
    }
  }
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(&file), sizeof(file));
  out.write(reinterpret_cast<const char*>(&info), sizeof(info));
  out.write(data.data(), static_cast<std::streamsize>(data.size()));
  out.close();
  if (!out) throw DriverError("cannot write " + win32::Utf8(path.wstring()));
}

namespace {

// Reads a 32-bit top-down copy of what the DC's selected bitmap holds.
Image ReadBitmap(HDC dc, HBITMAP bitmap, int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<DWORD> bgrx(static_cast<size_t>(width) * static_cast<size_t>(height));
  if (GetDIBits(dc, bitmap, 0, static_cast<UINT>(height), bgrx.data(), &info, DIB_RGB_COLORS) !=
      height) {
    ThrowLastError("GetDIBits");
  }
  std::vector<COLORREF> pixels(bgrx.size());
  for (size_t i = 0; i < bgrx.size(); ++i) {
    const DWORD pixel = bgrx[i];
    pixels[i] = RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
  }
  return Image(width, height, std::move(pixels));
}

}  // namespace

Image CaptureScreen(const RECT& area) {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  if (width <= 0 || height <= 0) throw DriverError("capture of an empty area");
  win32::ScreenDc screen(Check(GetDC(nullptr), "GetDC(screen)"));
  win32::MemoryDc memory(Check(CreateCompatibleDC(screen.Get()), "CreateCompatibleDC"));
  win32::UniqueGdiObject<HBITMAP> bitmap(
      Check(CreateCompatibleBitmap(screen.Get(), width, height), "CreateCompatibleBitmap"));
  {
    win32::SelectedObject selected(memory.Get(), bitmap.Get());
    Check(BitBlt(memory.Get(), 0, 0, width, height, screen.Get(), area.left, area.top, SRCCOPY),
          "BitBlt from the screen");
  }
  return ReadBitmap(memory.Get(), bitmap.Get(), width, height);
}

Image CaptureSettled(const RECT& area, Milliseconds timeout) {
  Image previous = CaptureScreen(area);
  Image current;
  const bool settled = WaitFor(
      [&] {
        current = CaptureScreen(area);
        if (current == previous) return true;
        previous = std::move(current);
        return false;
      },
      timeout);
  if (!settled) throw DriverError("the screen area kept changing");
  return current;
}

Image DrawIconImage(HICON icon, int width, int height, COLORREF background) {
  win32::ScreenDc screen(Check(GetDC(nullptr), "GetDC(screen)"));
  win32::MemoryDc memory(Check(CreateCompatibleDC(screen.Get()), "CreateCompatibleDC"));
  win32::UniqueGdiObject<HBITMAP> bitmap(
      Check(CreateCompatibleBitmap(screen.Get(), width, height), "CreateCompatibleBitmap"));
  {
    win32::SelectedObject selected(memory.Get(), bitmap.Get());
    win32::UniqueGdiObject<HBRUSH> brush(Check(CreateSolidBrush(background), "CreateSolidBrush"));
    RECT all{0, 0, width, height};
    FillRect(memory.Get(), &all, brush.Get());
    Check(DrawIconEx(memory.Get(), 0, 0, icon, width, height, 0, nullptr, DI_NORMAL), "DrawIconEx");
  }
  return ReadBitmap(memory.Get(), bitmap.Get(), width, height);
}

}  // namespace zelvo::e2e
