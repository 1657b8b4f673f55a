// Starting programs: the probe program is copied where a test wants it, started, and writes
// back where it ran, what command line it got and what it learnt about itself.
#include "win32/system/process.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "win32/system/environment.h"
#include "win32/system/owner.h"
#include "win32/system/strings.h"
#include "test_support.h"

namespace zelvo::win32 {
namespace {

using test::Exists;
using test::TempFolder;

std::string ProbeSource() { return test::TestProgramFolder() + "\\launch_probe.exe"; }

void CopyProbe(const std::string& to) {
  ASSERT_TRUE(CopyFileW(test::Extended(ProbeSource()).c_str(), test::Extended(to).c_str(), TRUE))
      << GetLastError();
}

// The probe's report "<program>.txt" in the folder it ran in, as key=value lines; empty when
// it did not appear within 30 seconds.
std::map<std::string, std::string> WaitForReport(const std::string& report_path) {
  for (int waited = 0; waited < 300 && !Exists(report_path); ++waited) Sleep(100);
  std::map<std::string, std::string> report;
  if (!Exists(report_path)) return report;
  const std::string text = test::ReadBytes(report_path);
  size_t start = 0;
  for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    const std::string line = text.substr(start, end - start);
    const size_t equals = line.find('=');
    report[line.substr(0, equals)] = line.substr(equals + 1);
  }
  return report;
}

TEST(ProcessLauncherTest, StartsTheProgramInItsFolderWithItsQuotedPath) {
  TempFolder temp;
  const std::string folder = temp.Path("起動 テスト");
  test::MakeFolder(folder);
  const std::string program = folder + "\\My Probe.exe";
  CopyProbe(program);

  EXPECT_TRUE(Win32ProcessLauncher().Start(program, folder));
  auto report = WaitForReport(program + ".txt");
  ASSERT_FALSE(report.empty()) << "the program did not run in its folder";
  EXPECT_EQ(report["current"], folder);
  EXPECT_EQ(report["command"], "\"" + program + "\"");
  EXPECT_EQ(report["folder"], folder);
  EXPECT_EQ(report["version"], "3.7");
  EXPECT_EQ(report.count("failure"), 0u) << report["failure"];
}

TEST(ProcessLauncherTest, AProgramAtADriveRootKeepsTheRootsBackslash) {
  const std::string program = "C:\\zelvo-probe-" + std::to_string(GetCurrentProcessId()) + "-" +
                              std::to_string(GetTickCount64()) + ".exe";
  CopyProbe(program);
  const bool started = Win32ProcessLauncher().Start(program, "C:\\");
  auto report = WaitForReport(program + ".txt");
  for (int attempt = 0; attempt < 50 && !DeleteFileW(Wide(program).c_str()); ++attempt) Sleep(100);
  DeleteFileW(Wide(program + ".txt").c_str());

  EXPECT_TRUE(started);
  ASSERT_FALSE(report.empty());
  EXPECT_EQ(report["folder"], "C:\\");
  EXPECT_EQ(report["current"], "C:\\");
}

TEST(ProcessLauncherTest, AProgramThatCannotStartGivesFalse) {
  TempFolder temp;
  Win32ProcessLauncher launcher;
  EXPECT_FALSE(launcher.Start(temp.Path("Missing.exe"), temp.Path()));
  // Named exactly: no search along PATH finds the system's own notepad.exe.
  EXPECT_FALSE(launcher.Start("notepad.exe", temp.Path()));
  test::WriteBytes(temp.Path("Text.exe"), "this is text, not a program");
  EXPECT_FALSE(launcher.Start(temp.Path("Text.exe"), temp.Path()));
  // The program exists but the folder to run it in does not.
  CopyProbe(temp.Path("probe.exe"));
  EXPECT_FALSE(launcher.Start(temp.Path("probe.exe"), temp.Path("Missing Folder")));
  Sleep(500);
  EXPECT_FALSE(Exists(temp.Path("probe.exe.txt")));
}

TEST(ElevatedStartTest, ArgumentsAreQuotedAsCommandLineToArgvReadsThem) {
  EXPECT_EQ(QuotedArguments({}), L"");
  EXPECT_EQ(QuotedArguments({"C:\\a.exe"}), L"\"C:\\a.exe\"");
  EXPECT_EQ(QuotedArguments({"C:\\Program Files\\b.exe", "\\\\server\\share\\c.lnk"}),
            L"\"C:\\Program Files\\b.exe\" \"\\\\server\\share\\c.lnk\"");
  // Backslashes count only before a quote: at the end of a folder they are doubled.
  EXPECT_EQ(QuotedArguments({"D:\\My Apps\\"}), L"\"D:\\My Apps\\\\\"");
  EXPECT_EQ(QuotedArguments({"a\"b"}), L"\"a\\\"b\"");
  EXPECT_EQ(QuotedArguments({"テスト.exe"}), L"\"テスト.exe\"");
}

TEST(ElevatedStartTest, StartsTheProgramElevatedInItsFolderWithItsArguments) {
  TempFolder temp;
  const std::string folder = temp.Path("昇格 テスト");
  test::MakeFolder(folder);
  const std::string program = folder + "\\My Probe.exe";
  CopyProbe(program);
  const std::vector<std::string> arguments = {"C:\\Program Files\\App\\app.exe", "D:\\a b\\",
                                              "\\\\server\\share\\x.lnk", "C:\\ツール\\y.exe"};

  // Asked to run elevated: the shell's "runas", the program by its path, in its folder.
  const std::wstring wide_program = Wide(program);
  const std::wstring wide_folder = Wide(folder);
  const std::wstring parameters = QuotedArguments(arguments);
  const SHELLEXECUTEINFOW start = ElevatedStart(wide_program, parameters, wide_folder);
  EXPECT_STREQ(start.lpVerb, L"runas");
  EXPECT_EQ(start.lpFile, wide_program.c_str());
  EXPECT_EQ(start.lpParameters, parameters.c_str());
  EXPECT_EQ(start.lpDirectory, wide_folder.c_str());
  EXPECT_EQ(start.nShow, SW_SHOWNORMAL);

  ASSERT_TRUE(StartElevated(wide_program, wide_folder, arguments));
  auto report = WaitForReport(program + ".txt");
  ASSERT_FALSE(report.empty()) << "the program did not run in its folder";
  EXPECT_EQ(report["current"], folder);
  EXPECT_EQ(report["folder"], folder);
  // The arguments as the program reads them back, after its own exact path.
  int count = 0;
  const LocalMemory<wchar_t**> argv(CommandLineToArgvW(Wide(report["command"]).c_str(), &count));
  ASSERT_TRUE(argv.Valid());
  ASSERT_EQ(count, 1 + static_cast<int>(arguments.size())) << report["command"];
  EXPECT_EQ(CompareStringOrdinal(argv.Get()[0], -1, wide_program.c_str(), -1, TRUE), CSTR_EQUAL)
      << report["command"];
  for (size_t i = 0; i < arguments.size(); ++i) EXPECT_EQ(Utf8(argv.Get()[i + 1]), arguments[i]);
}

}  // namespace
}  // namespace zelvo::win32
