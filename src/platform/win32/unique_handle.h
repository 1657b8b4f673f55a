// Owners for the kernel handles the adapters open: each closes its handle once, and none can be
// copied (a copy would close twice).
#pragma once

#include <windows.h>

#include <utility>

namespace zelvo::win32 {

template <class Traits>
class UniqueResource {
 public:
  using Type = typename Traits::Type;

  UniqueResource() = default;
  explicit UniqueResource(Type value) : value_(value) {}
  ~UniqueResource() { Close(); }

  UniqueResource(UniqueResource&& other) noexcept : value_(other.Release()) {}
  UniqueResource& operator=(UniqueResource&& other) noexcept {
    if (this != &other) {
      Close();
      value_ = other.Release();
    }
    return *this;
  }
  UniqueResource(const UniqueResource&) = delete;
  UniqueResource& operator=(const UniqueResource&) = delete;

  Type Get() const { return value_; }
  bool Valid() const { return value_ != Traits::Invalid(); }

  // Closes the handle now; false (with the thread's last error set) when closing failed, which
  // for a written file can be the first sign that the data did not reach the disk.
  bool Close() {
    if (!Valid()) return true;
    return Traits::Close(std::exchange(value_, Traits::Invalid()));
  }

 private:
  Type Release() { return std::exchange(value_, Traits::Invalid()); }

  Type value_ = Traits::Invalid();
};

// Files: CreateFileW reports failure as INVALID_HANDLE_VALUE.
struct FileHandleTraits {
  using Type = HANDLE;
  static Type Invalid() { return INVALID_HANDLE_VALUE; }
  static bool Close(Type handle) { return CloseHandle(handle) != FALSE; }
};

// Mutexes, processes, threads: failure is a null handle.
struct KernelHandleTraits {
  using Type = HANDLE;
  static Type Invalid() { return nullptr; }
  static bool Close(Type handle) { return CloseHandle(handle) != FALSE; }
};

// Directory searches of FindFirstFileExW.
struct FindHandleTraits {
  using Type = HANDLE;
  static Type Invalid() { return INVALID_HANDLE_VALUE; }
  static bool Close(Type handle) { return FindClose(handle) != FALSE; }
};

using UniqueFile = UniqueResource<FileHandleTraits>;
using UniqueHandle = UniqueResource<KernelHandleTraits>;
using UniqueFind = UniqueResource<FindHandleTraits>;

}  // namespace zelvo::win32
