// The file operations on the Win32 file API. Every path is made absolute and given the long
// path prefix (\\?\) before it reaches a call, so paths over 260 characters work.
#pragma once

#include <windows.h>

#include "platform/file_system.h"

namespace zelvo::win32 {

class Win32FileSystem : public FileSystem {
 public:
  std::string StoredName(const std::string& path) override;
  std::string LongPath(const std::string& path) override;
  bool IsFolder(const std::string& path) override;
  // A folder for administrators only gets an access list of its own (Administrators and the
  // system all rights, the user who runs the program to read), inherited by what it holds.
  void MakeFolder(const std::string& path, NewFolder access) override;
  void RemoveFile(const std::string& path) override;
  CopyResult CopyToNew(const std::string& from, const std::string& to) override;
  // As on Windows, an existing hidden or system file is refused (ERROR_ACCESS_DENIED), also
  // under Wine, which would empty it.
  void WriteFile(const std::string& path, std::string_view bytes) override;
  // As on Windows, a read-only file is refused (ERROR_ACCESS_DENIED), also under Wine, which
  // would move the new file over it.
  void ReplaceAtomically(const std::string& path, std::string_view bytes) override;
  std::optional<std::string> ReadFile(const std::string& path, uint64_t at_most) override;
  std::string ReadRange(const std::string& path, uint64_t offset, uint32_t length) override;
};

}  // namespace zelvo::win32
