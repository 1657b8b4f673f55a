// What the running program learns about itself from Windows: its version resource, its file,
// its command line, and whether another copy of the same program file runs.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "platform/environment.h"
#include "win32/owner.h"

namespace zelvo::win32 {

class Win32Environment : public Environment {
 public:
  // Throws Failure when the program has no version resource.
  ProgramVersion Version() override;

  // The first call takes this program file's instance mutex and holds it for the life of the
  // object (the program keeps it for the life of the process); later calls repeat the answer.
  bool PreviousInstanceRunning() override;

  std::string ProgramFolder() override;
  std::string CommandLine() override;
  std::string DescribeFailure(int32_t number) override;
  [[noreturn]] void EndNow(int exit_code) override;

 private:
  UniqueHandle instance_mutex_;
  std::optional<bool> previous_instance_;
};

// The file version (major, minor) in the VERSIONINFO resource of `module`; null means the
// running program. Reads the resource directly, without version.dll. Throws Failure when the
// module has no version resource.
ProgramVersion ReadVersionResource(HMODULE module);

// The running program file's extended path (\\?\...), every component in its stored long form.
std::wstring ProgramPath();

// The name of the mutex that marks a running copy of the program file at `program_path`:
// per session, and per file, so copies in two folders do not stop each other. Letter case
// does not matter, as it does not for the file system.
std::wstring InstanceMutexName(std::wstring_view program_path);

}  // namespace zelvo::win32
