#include "win32/process.h"

#include <windows.h>

#include "win32/paths.h"
#include "win32/owner.h"

namespace zelvo::win32 {

bool Win32ProcessLauncher::Start(const std::string& program_path,
                                 const std::string& working_folder) {
  // The program is named exactly (no search along PATH); its command line is its own path in
  // quotes, as the shell gives it, so a path with spaces stays one argument.
  const std::wstring program = ShellPath(ExtendedPath(program_path));
  std::wstring command_line = L"\"" + NormalPath(program) + L"\"";
  // A current folder cannot carry the \\?\ prefix.
  const std::wstring folder =
      working_folder.empty() ? std::wstring() : NormalPath(ExtendedPath(working_folder));

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(program.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &started)) {
    return false;
  }
  const UniqueHandle process(started.hProcess);
  const UniqueHandle thread(started.hThread);
  return true;
}

}  // namespace zelvo::win32
