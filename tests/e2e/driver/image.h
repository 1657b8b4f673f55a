// Pixels read from the screen: to compare icons, check colours and save screenshots.
#pragma once

#include <windows.h>

#include <cstddef>
#include <filesystem>
#include <ostream>
#include <vector>

#include "driver/wait.h"

namespace zelvo::e2e {

// Top-down rows of COLORREF values (0x00BBGGRR, as RGB() makes them).
class Image {
 public:
  Image() = default;
  Image(int width, int height, std::vector<COLORREF> pixels);

  int Width() const { return width_; }
  int Height() const { return height_; }
  COLORREF At(int x, int y) const;
  size_t Count(COLORREF colour) const;
  COLORREF MostCommon() const;
  // Pixels that differ between two images of the same size (all of them for another size).
  size_t Differences(const Image& other) const;
  bool operator==(const Image& other) const = default;

  // An uncompressed 24-bit bottom-up BMP, as every viewer and ImageMagick read it.
  void SaveBmp(const std::filesystem::path& path) const;

  // How GoogleTest shows an image in a failure.
  friend void PrintTo(const Image& image, std::ostream* out) {
    *out << image.width_ << " x " << image.height_ << " image";
  }

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<COLORREF> pixels_;
};

// The area of the screen (screen coordinates) as it is now.
Image CaptureScreen(const RECT& area);
// The area once two captures in a row agree: the program has finished painting it.
Image CaptureSettled(const RECT& area, Milliseconds timeout = kTimeout);
// An icon drawn as a static control draws it: stretched to the size, over a background.
Image DrawIconImage(HICON icon, int width, int height, COLORREF background);

}  // namespace zelvo::e2e
