// Started by the launcher and environment tests: writes what it found about itself (whether
// another instance in its folder came first, its version, folders and command line) into
// "<its file name>.txt" in its current folder (and what it was handed, when it was started as
// administrator with a hand-over, into "<its file name>.handover"), then ends.
#include <windows.h>

#include <string>

#include "base/failure.h"
#include "win32/system/environment.h"
#include "win32/system/file_system.h"
#include "win32/system/strings.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  using namespace zelvo::win32;
  Win32Environment environment;
  std::string report;
  try {
    // Whether it owns its folder's log, as a Zelvo asks first.
    report += std::string("first=") + (environment.PreviousInstanceRunning() ? "no\n" : "yes\n");
    const zelvo::ProgramVersion version = environment.Version();
    report += "version=" + std::to_string(version.major) + "." + std::to_string(version.minor);
    report += "\nfolder=" + environment.ProgramFolder();
    report += "\ncommand=" + environment.CommandLine();
    std::wstring current(GetCurrentDirectoryW(0, nullptr), L'\0');
    current.resize(GetCurrentDirectoryW(static_cast<DWORD>(current.size()), current.data()));
    report += "\ncurrent=" + Utf8(current);
  } catch (const zelvo::Failure& failure) {
    report += "\nfailure=" + std::to_string(failure.Number());
  }
  report += "\n";

  std::wstring own(32768, L'\0');
  own.resize(GetModuleFileNameW(nullptr, own.data(), static_cast<DWORD>(own.size())));
  const std::string name = Utf8(own.substr(own.find_last_of(L'\\') + 1));
  // Written under another name first, so the test never reads half a report.
  Win32FileSystem files;
  // What another program handed it, as it was handed.
  if (const std::optional<std::string> hand_over = environment.TakeHandOver()) {
    (void)files.WriteFile(name + ".handover", *hand_over);
  }
  (void)files.WriteFile(name + ".part", report);
  MoveFileExW(Wide(name + ".part").c_str(), Wide(name + ".txt").c_str(), MOVEFILE_REPLACE_EXISTING);
  return 0;
}
