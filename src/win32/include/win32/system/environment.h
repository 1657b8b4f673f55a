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

  // The first call takes the tool folder's instance mutex and holds it for the life of the
  // object (the program keeps it for the life of the process); later calls repeat the answer.
  bool PreviousInstanceRunning() override;
  bool Elevated() override;
  bool RestartElevated(const std::vector<std::string>& arguments) override;

  std::string ProgramFolder() override;
  std::string CommandLine() override;
  std::string DescribeFailure(int32_t number) override;

 private:
  // Declared before the mutex named in it, so that it outlives the mutex.
  std::optional<UserNamespace> namespace_;
  UniqueHandle instance_mutex_;
  std::optional<bool> previous_instance_;
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

// `arguments` as one command line text, each in double quotes by the rules that
// CommandLineToArgvW reads back (a backslash doubled before a quote and at the end).
std::wstring QuotedArguments(const std::vector<std::string>& arguments);

// How a program is asked to start elevated: ShellExecuteExW's "runas", with `parameters`, in
// `folder`, shown normally. The texts must outlive the result.
SHELLEXECUTEINFOW ElevatedStart(const std::wstring& program, const std::wstring& parameters,
                                const std::wstring& folder);

// Starts `program` elevated, in `folder`, with `arguments`. False when the user declined the
// elevation; throws Failure when Windows could not start it.
bool StartElevated(const std::wstring& program, const std::wstring& folder,
                   const std::vector<std::string>& arguments);

}  // namespace zelvo::win32
