// What the Win32 adapter tests share: a fresh temporary folder per test, and plain Win32 file
// calls to set up and inspect files without going through the adapter under test.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/error_trap.h"
#include "base/failure.h"
#include "platform/window.h"

namespace zelvo::test {

// Runs `action` and returns the Failure it throws, or none.
template <class Action>
std::optional<Failure> FailureOf(Action&& action) {
  try {
    action();
  } catch (const Failure& failure) {
    return failure;
  }
  return std::nullopt;
}

// The number of the Failure that `action` throws (0 when it throws none).
template <class Action>
int32_t FailureNumber(Action&& action) {
  const std::optional<Failure> failure = FailureOf(action);
  return failure ? failure->Number() : 0;
}

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

// Gives a folder an access list of its own (in SDDL) for the life of the object, then lets
// everyone do everything in it again. Wine applies such a list to the folder's permission bits,
// which hold only for a user who is not root (the *Unprivileged* tests).
class FolderAccess {
 public:
  FolderAccess(std::string folder, const wchar_t* sddl);
  ~FolderAccess();
  FolderAccess(const FolderAccess&) = delete;
  FolderAccess& operator=(const FolderAccess&) = delete;

  // Read, list and pass through, but not change anything in it.
  static constexpr wchar_t kWriteProtected[] = L"D:P(A;;0x1200a9;;;WD)";
  // Pass through and read attributes, but not list or change.
  static constexpr wchar_t kPassThroughOnly[] = L"D:P(A;;0x1000a0;;;WD)";

 private:
  std::string folder_;
};

// A trap for code where no failure is expected: each report fails the test.
class UnexpectedFailures : public ErrorReporter {
 public:
  std::string DescribeFailure(int32_t number) override { return std::to_string(number); }
  void ReportError(std::string_view source, const Failure& failure) override;
};

// A window that shows nothing, for the program's logic on the real system without its window.
class QuietView : public MainView {
 public:
  void SetCaption(const std::string&) override {}
  void Show() override {}
  void ShowEntry(const std::string&, const std::string&, const std::string&) override {}
  void EnableActions(bool) override {}
  void ShowStatus(const std::string&) override {}
  ListBox& Rows() override { return rows_; }
  void Close(int exit_code) override { closed = exit_code; }

  std::optional<int> closed;

 private:
  class NoRows : public ListBox {
   public:
    void ResetRows(const std::vector<std::string_view>&) override {}
    void InsertRow(size_t, std::string_view) override {}
    void RemoveRow(size_t) override {}
    void SetSelected(size_t, bool) override {}
    void SetAllSelected(bool) override {}
    void SetCurrentRow(std::optional<size_t>) override {}
    ListSelection UserSelection() override { return {}; }
  } rows_;
};

}  // namespace zelvo::test
