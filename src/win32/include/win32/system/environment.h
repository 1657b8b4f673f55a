// What the running program learns about itself from Windows: its version resource, its file,
// its command line, its rights, and whether another copy runs on the same tool folder.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/environment.h"
#include "win32/system/owner.h"

namespace zelvo::win32 {

// The user's display language as Windows names it ("ja-JP", "en-US"); empty when Windows
// cannot name it.
std::string DisplayLanguage();

// This user's private object namespace, open for the life of the object: objects named in it
// are out of reach of other users' programs. Where Windows has none (Wine), the object is
// invalid and names stay in the session's namespace.
class UserNamespace {
 public:
  UserNamespace();
  UserNamespace(const UserNamespace&) = delete;
  UserNamespace& operator=(const UserNamespace&) = delete;

  bool Valid() const { return namespace_.Valid(); }
  // The full name of the object `name` in the namespace.
  std::wstring Name(const std::wstring& name) const { return std::wstring(kAlias) + L"\\" + name; }

 private:
  static constexpr wchar_t kAlias[] = L"Zelvo";
  static BOOL DeleteBoundary(HANDLE boundary) {
    DeleteBoundaryDescriptor(boundary);
    return TRUE;
  }
  static BOOL CloseNamespace(HANDLE name_space) { return ClosePrivateNamespace(name_space, 0); }

  Owner<NullIsInvalid<HANDLE, &DeleteBoundary>> boundary_;
  Owner<NullIsInvalid<HANDLE, &CloseNamespace>> namespace_;
};

class Win32Environment : public Environment {
 public:
  // Throws Failure when the program has no version resource.
  ProgramVersion Version() override;

  // The first call takes the log's lock file (where the tool folder can be written) and the
  // tool folder's instance mutex, and holds them for the life of the object (the program keeps
  // them for the life of the process); later calls repeat the answer.
  bool PreviousInstanceRunning() override;
  bool Elevated() override;
  // The hand-over goes in a file of the user's (WriteHandOverFile), named on the new
  // program's command line after "/handover".
  ElevatedStart StartElevated(std::string_view hand_over) override;
  std::optional<std::string> TakeHandOver() override;

  // The window Windows' consent prompt belongs to.
  void SetOwner(HWND owner) { owner_ = owner; }

  std::string ProgramFolder() override;
  // Of a program started with a hand-over: its own name alone.
  std::string CommandLine() override;
  std::string DescribeFailure(int32_t number) override;

 private:
  // One try at the log's lock and the instance mutex; false when another Zelvo holds either.
  bool TryClaim();
  // The program file's extended path (ProgramPath), looked up once.
  const std::wstring& OwnPath();
  // The hand-over file named on the command line, or "" for none, read from it once.
  const std::wstring& HandOverPath();

  HWND owner_ = nullptr;
  UniqueFile log_lock_;
  // Declared before the mutex named in it, so that it outlives the mutex.
  std::optional<UserNamespace> namespace_;
  UniqueHandle instance_mutex_;
  std::optional<bool> previous_instance_;
  bool hand_over_taken_ = false;
  std::wstring own_path_;
  std::optional<std::wstring> hand_over_path_;
};

// The file version (major, minor) in the VERSIONINFO resource of `module`; null means the
// running program. Reads the resource directly, without version.dll. Throws Failure when the
// module has no version resource.
ProgramVersion ReadVersionResource(HMODULE module);

// The running program file's extended path (\\?\...), every component in its stored long form.
std::wstring ProgramPath();

// The name of the mutex that marks a running copy of the program in `tool_folder`: per session,
// and per folder, so copies in two folders do not stop each other. The folder is named by what
// every path to it shares, its volume's serial number and its file id: another spelling, a
// linked folder or junction, or a substituted drive all give the same name. Throws Failure
// when the folder cannot be opened.
std::wstring InstanceMutexName(std::wstring_view tool_folder);

// `arguments` as one command line text, each in double quotes, backslashes as they stand: as
// Zelvo reads its own command line (no path holds a quote).
std::wstring QuotedArguments(const std::vector<std::string>& arguments);

// Starts `program` as administrator in `folder` (Windows asks the user over `owner`), handing
// it `hand_over` in a file of the user's, named on its command line after "/handover".
ElevatedStart StartElevatedWith(const std::wstring& program, const std::wstring& folder,
                                std::string_view hand_over, HWND owner);

// Writes `hand_over` to a new file in the user's temporary folder that only the user may change
// (an administrator may read and delete it), and gives its path.
std::wstring WriteHandOverFile(std::string_view hand_over);

// The hand-over in the file at `path`, which is deleted once read. Throws Failure when it cannot
// be read, and ERROR_INVALID_DATA (deleting nothing) when it is no plain file of one name or
// does not begin with kHandOverMark.
std::string ReadHandOverFile(const std::wstring& path);

}  // namespace zelvo::win32
