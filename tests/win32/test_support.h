// What the Win32 adapter tests share: a fresh temporary folder per test, and plain Win32 file
// calls to set up and inspect files without going through the adapter under test.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace zelvo::test {

// A new folder under the user's temporary folder, unique to this process and object, removed
// with everything in it (read-only and hidden files too) when the object goes.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder's full path, without a trailing backslash.
  const std::string& Path() const { return path_; }
  // The folder's path followed by "\" and `name`.
  std::string Path(std::string_view name) const;

 private:
  std::string path_;
};

// The \\?\ form of a UTF-8 path, for the test's own Win32 calls.
std::wstring Extended(const std::string& path);

void WriteBytes(const std::string& path, std::string_view bytes);
std::string ReadBytes(const std::string& path);
bool Exists(const std::string& path);
void MakeFolder(const std::string& path);
void AddAttributes(const std::string& path, DWORD attributes);

// The names in a folder, "." and ".." left out, sorted.
std::string ListFolder(const std::string& path);

// The folder of the running test program (win32_tests.exe), without a trailing backslash.
std::string TestProgramFolder();

}  // namespace zelvo::test
