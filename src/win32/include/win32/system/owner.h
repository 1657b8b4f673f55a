// The one owner of everything the program opens or creates through Windows: a kernel handle, a
// file, a directory search, a module, a GDI object, a device context, memory from LocalAlloc or
// GlobalAlloc, a drop, a menu. Each is closed once, and none can be copied (a copy would close
// twice). The traits say what an invalid value is and how the resource is closed.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <utility>

namespace zelvo::win32 {

template <class Traits>
class Owner {
 public:
  using Type = typename Traits::Type;

  Owner() = default;
  explicit Owner(Type value) : value_(value) {}
  ~Owner() { Close(); }

  Owner(Owner&& other) noexcept : value_(other.Release()) {}
  Owner& operator=(Owner&& other) noexcept {
    if (this != &other) {
      Close();
      value_ = other.Release();
    }
    return *this;
  }
  Owner(const Owner&) = delete;
  Owner& operator=(const Owner&) = delete;

  Type Get() const { return value_; }
  bool Valid() const { return value_ != Traits::Invalid(); }
  explicit operator bool() const { return Valid(); }

  // Closes what is owned now; false (with the thread's last error set) when closing failed,
  // which for a written file can be the first sign that the data did not reach the disk.
  bool Close() {
    if (!Valid()) return true;
    return Traits::Close(std::exchange(value_, Traits::Invalid()));
  }

  // Closes what is owned, and owns `value` instead.
  void Reset(Type value) {
    Close();
    value_ = value;
  }

  // Gives up ownership without closing.
  Type Release() { return std::exchange(value_, Traits::Invalid()); }

 private:
  Type value_ = Traits::Invalid();
};

// Handles that are null when invalid, and the function that closes them.
template <class Handle, auto kClose>
struct NullIsInvalid {
  using Type = Handle;
  static Type Invalid() { return nullptr; }
  static bool Close(Type value) { return kClose(value) != FALSE; }
};

// Files and directory searches report failure as INVALID_HANDLE_VALUE.
template <auto kClose>
struct MinusOneIsInvalid {
  using Type = HANDLE;
  static Type Invalid() { return INVALID_HANDLE_VALUE; }
  static bool Close(Type value) { return kClose(value) != FALSE; }
};

inline BOOL DeleteGdiObject(HGDIOBJ object) { return DeleteObject(object); }
inline BOOL ReleaseScreenDc(HDC dc) { return ReleaseDC(nullptr, dc); }
inline BOOL FreeLocal(HLOCAL memory) { return LocalFree(memory) == nullptr; }
inline BOOL FreeGlobal(HGLOBAL memory) { return GlobalFree(memory) == nullptr; }

inline BOOL FinishDrop(HDROP drop) {
  DragFinish(drop);
  return TRUE;
}

// Files of CreateFileW.
using UniqueFile = Owner<MinusOneIsInvalid<&CloseHandle>>;
// Directory searches of FindFirstFileExW.
using UniqueFind = Owner<MinusOneIsInvalid<&FindClose>>;
// Mutexes, processes, threads, tokens.
using UniqueHandle = Owner<NullIsInvalid<HANDLE, &CloseHandle>>;
// Modules of LoadLibraryExW.
using UniqueModule = Owner<NullIsInvalid<HMODULE, &FreeLibrary>>;
// Fonts, bitmaps, brushes.
template <class Object>
using UniqueGdiObject = Owner<NullIsInvalid<Object, &DeleteGdiObject>>;
using UniqueFont = UniqueGdiObject<HFONT>;
// A device context of CreateCompatibleDC, and the screen's of GetDC(nullptr).
using MemoryDc = Owner<NullIsInvalid<HDC, &DeleteDC>>;
using ScreenDc = Owner<NullIsInvalid<HDC, &ReleaseScreenDc>>;
// Memory that a function allocated with LocalAlloc for its caller (FormatMessageW, ...).
template <class Pointer>
using LocalMemory = Owner<NullIsInvalid<Pointer, &FreeLocal>>;
// The file list of a WM_DROPFILES.
using UniqueDrop = Owner<NullIsInvalid<HDROP, &FinishDrop>>;
// Memory from GlobalAlloc, as the clipboard takes it.
using UniqueGlobal = Owner<NullIsInvalid<HGLOBAL, &FreeGlobal>>;
// A menu that no window owns (a context menu).
using UniqueMenu = Owner<NullIsInvalid<HMENU, &DestroyMenu>>;

// An object selected into a device context for one scope; the one before it is put back.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~SelectedObject() { SelectObject(dc_, previous_); }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace zelvo::win32
