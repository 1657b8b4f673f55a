// The file operations on the Win32 file API. Every path is made absolute and given the long
// path prefix (\\?\) before it reaches a call, so paths over 260 characters work.
#pragma once

#include <windows.h>

#include "platform/file_system.h"

namespace zelvo::win32 {

class Win32FileSystem : public FileSystem {
 public:
  FileFacts Look(const std::string& path) override;
  // A folder for administrators only gets an access list of its own (Administrators and the
  // system all rights, the user who runs the program to read), inherited by what it holds.
  ChangeResult MakeFolder(const std::string& path, NewFolder access) override;
  // A file whose name is still there after Windows said it was deleted was not: that is a
  // refusal.
  ChangeResult RemoveFile(const std::string& path) override;
  // The copy is made through the folder as opened once, without following a link: a folder
  // swapped for a link after it was looked at takes no copy.
  CopyResult CopyToNew(const std::string& from, const std::string& folder,
                       const std::string& name) override;
  FolderGuard GuardOf(const std::string& folder) override;
  std::string PathForAnyAccount(const std::string& path) override;
  // As on Windows, an existing hidden or system file is refused (ERROR_ACCESS_DENIED), also
  // under Wine, which would empty it.
  ChangeResult WriteFile(const std::string& path, std::string_view bytes) override;
  // As on Windows, a read-only file is refused (ERROR_ACCESS_DENIED), also under Wine, which
  // would move the new file over it.
  ChangeResult ReplaceAtomically(const std::string& path, std::string_view bytes) override;
  std::optional<std::string> ReadFile(const std::string& path, uint64_t at_most) override;
  OpenedProgram OpenProgram(const std::string& path) override;
  bool TouchLastWrite(const std::string& path) override;
};

}  // namespace zelvo::win32
