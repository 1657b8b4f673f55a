// Move-only owners of Win32 handles and GDI objects: one template, shaped like WIL's unique_any,
// and the aliases the driver uses.
#pragma once

#include <windows.h>

#include <utility>

namespace zelvo::e2e {

template <typename T, auto kClose>
class UniqueAny {
 public:
  UniqueAny() = default;
  explicit UniqueAny(T value) : value_(value) {}
  UniqueAny(UniqueAny&& other) noexcept : value_(std::exchange(other.value_, T{})) {}
  UniqueAny& operator=(UniqueAny&& other) noexcept {
    if (this != &other) {
      Reset();
      value_ = std::exchange(other.value_, T{});
    }
    return *this;
  }
  UniqueAny(const UniqueAny&) = delete;
  UniqueAny& operator=(const UniqueAny&) = delete;
  ~UniqueAny() { Reset(); }

  T Get() const { return value_; }
  explicit operator bool() const { return value_ != T{}; }
  void Reset(T value = T{}) {
    if (value_ != T{}) kClose(value_);
    value_ = value;
  }

 private:
  T value_{};
};

inline void CloseKernelHandle(HANDLE handle) { CloseHandle(handle); }
inline void DeleteGdiObject(HGDIOBJ object) { DeleteObject(object); }
inline void DeleteMemoryDc(HDC dc) { DeleteDC(dc); }
inline void ReleaseScreenDc(HDC dc) { ReleaseDC(nullptr, dc); }

using UniqueHandle = UniqueAny<HANDLE, &CloseKernelHandle>;
using UniqueBitmap = UniqueAny<HBITMAP, &DeleteGdiObject>;
using UniqueBrush = UniqueAny<HBRUSH, &DeleteGdiObject>;
using MemoryDc = UniqueAny<HDC, &DeleteMemoryDc>;
using ScreenDc = UniqueAny<HDC, &ReleaseScreenDc>;

// Selects an object into a DC for one scope and puts the previous one back.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;
  ~SelectedObject() { SelectObject(dc_, previous_); }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace zelvo::e2e
