#include "win32/system/process.h"

#include "win32/system/paths.h"
#include "win32/system/security.h"
#include "win32/system/win32_error.h"

namespace zelvo::win32 {

bool ProcessElevated() {
  const UniqueHandle token = OwnToken();
  TOKEN_ELEVATION elevation{};
  DWORD size = 0;
  if (!GetTokenInformation(token.Get(), TokenElevation, &elevation, sizeof(elevation), &size)) {
    ThrowLastError();
  }
  return elevation.TokenIsElevated != 0;
}

UniqueHandle ShellToken(bool* shell_found) {
  const HWND shell = GetShellWindow();
  if (shell_found) *shell_found = shell != nullptr;
  if (!shell) return {};
  DWORD shell_process_id = 0;
  GetWindowThreadProcessId(shell, &shell_process_id);
  if (shell_process_id == 0) return {};
  const UniqueHandle shell_process(
      OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, shell_process_id));
  if (!shell_process) return {};
  HANDLE token = nullptr;
  if (!OpenProcessToken(shell_process.Get(), TOKEN_DUPLICATE, &token)) return {};
  const UniqueHandle shell_token(token);
  HANDLE primary = nullptr;
  constexpr DWORD kAccess = TOKEN_QUERY | TOKEN_DUPLICATE | TOKEN_ASSIGN_PRIMARY |
                            TOKEN_ADJUST_DEFAULT | TOKEN_ADJUST_SESSIONID;
  if (!DuplicateTokenEx(shell_token.Get(), kAccess, nullptr, SecurityImpersonation, TokenPrimary,
                        &primary)) {
    return {};
  }
  return UniqueHandle(primary);
}

StartResult Win32ProcessLauncher::Start(const std::string& program_path,
                                        const std::string& working_folder,
                                        bool even_as_administrator) {
  // The program is named exactly (no search along PATH); its command line is its own path in
  // quotes, as the shell gives it, so a path with spaces stays one argument.
  const std::wstring program = ShellPath(ExtendedPath(program_path));
  std::wstring command_line = L"\"" + NormalPath(program) + L"\"";
  // A current folder cannot carry the \\?\ prefix.
  const std::wstring folder =
      working_folder.empty() ? std::wstring() : NormalPath(ExtendedPath(working_folder));
  const wchar_t* current = folder.empty() ? nullptr : folder.c_str();

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION started{};
  // An elevated Zelvo does not pass its rights on: what it starts is named by the log, which
  // any program of the user may edit. A shell whose token cannot be had belongs to another
  // account than Zelvo's (an administrator's name and password typed at Windows' prompt): the
  // program would run as that administrator, only if the user agrees. With no shell at all (a
  // session without Explorer, and Wine) there are no other rights to give it.
  const bool elevated = ProcessElevated();
  bool shell_found = false;
  const UniqueHandle user_token = elevated ? ShellToken(&shell_found) : UniqueHandle();
  if (elevated && shell_found && !user_token && !even_as_administrator) {
    return StartResult::WouldRunElevated;
  }
  const BOOL ok =
      user_token
          ? CreateProcessWithTokenW(user_token.Get(), 0, program.c_str(), command_line.data(), 0,
                                    nullptr, current, &startup, &started)
          : CreateProcessW(program.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0,
                           nullptr, current, &startup, &started);
  if (!ok) return StartResult::Refused;
  const UniqueHandle process(started.hProcess);
  const UniqueHandle thread(started.hThread);
  return StartResult::Started;
}

}  // namespace zelvo::win32
