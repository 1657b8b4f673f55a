// Counts the file system calls that the program's own code makes, by the path each one names:
// the entries of the test program's import table for a few kernel32 functions are pointed at
// counting stand-ins for the life of the object. The adapters are linked into the test program,
// so their calls go through that table; Windows' own DLLs keep calling the real functions.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace zelvo::test {

class PathCallCounter {
 public:
  PathCallCounter();
  ~PathCallCounter();
  PathCallCounter(const PathCallCounter&) = delete;
  PathCallCounter& operator=(const PathCallCounter&) = delete;

  // How often `function` ("GetFullPathNameW", "FindFirstFileExW", "CreateFileW",
  // "GetFileAttributesW", "GetFileAttributesExW") was called with a path that ends with
  // `name`, in any letter case (a search pattern or a \\?\ form of the path counts too). A
  // function the program does not import is never called by it, and counts 0.
  int Count(const std::string& function, const std::wstring& name) const;

  // Every call counted, as "function path", in order.
  const std::vector<std::wstring>& Calls() const { return calls_; }

 private:
  friend struct Hooks;
  void Record(const char* function, const wchar_t* path);

  std::vector<std::wstring> calls_;
  std::map<std::string, void*> originals_;
};

}  // namespace zelvo::test
