// Starting programs: the probe program is copied where a test wants it, started, and writes
// back where it ran, what command line it got and what it learnt about itself.
#include "win32/system/process.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "application/program_batch.h"
#include "model/hand_over.h"
#include "win32/system/environment.h"
#include "win32/system/file_system.h"
#include "win32/system/owner.h"
#include "win32/system/strings.h"
#include "test_support.h"

namespace zelvo::win32 {
namespace {

using test::Exists;
using test::TempFolder;

// This user's temporary folder, where hand-overs are written.
std::wstring TemporaryFolder() {
  std::wstring folder(MAX_PATH + 1, L'\0');
  folder.resize(GetTempPathW(static_cast<DWORD>(folder.size()), folder.data()));
  return folder;
}

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

  EXPECT_EQ(Win32ProcessLauncher().Start(program, folder), StartResult::Started);
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
  const StartResult started = Win32ProcessLauncher().Start(program, "C:\\");
  auto report = WaitForReport(program + ".txt");
  for (int attempt = 0; attempt < 50 && !DeleteFileW(Wide(program).c_str()); ++attempt) Sleep(100);
  DeleteFileW(Wide(program + ".txt").c_str());

  EXPECT_EQ(started, StartResult::Started);
  ASSERT_FALSE(report.empty());
  EXPECT_EQ(report["folder"], "C:\\");
  EXPECT_EQ(report["current"], "C:\\");
  // Its log's lock stood beside it, and went with it.
  EXPECT_EQ(report["first"], "yes");
  EXPECT_FALSE(Exists("C:\\zelvo.lock"));
}

TEST(ProcessLauncherTest, AProgramThatCannotStartIsRefused) {
  TempFolder temp;
  Win32ProcessLauncher launcher;
  EXPECT_EQ(launcher.Start(temp.Path("Missing.exe"), temp.Path()), StartResult::Refused);
  // Named exactly: no search along PATH finds the system's own notepad.exe.
  EXPECT_EQ(launcher.Start("notepad.exe", temp.Path()), StartResult::Refused);
  test::WriteBytes(temp.Path("Text.exe"), "this is text, not a program");
  EXPECT_EQ(launcher.Start(temp.Path("Text.exe"), temp.Path()), StartResult::Refused);
  // The program exists but the folder to run it in does not.
  CopyProbe(temp.Path("probe.exe"));
  EXPECT_EQ(launcher.Start(temp.Path("probe.exe"), temp.Path("Missing Folder")),
            StartResult::Refused);
  Sleep(500);
  EXPECT_FALSE(Exists(temp.Path("probe.exe.txt")));
}

TEST(ElevatedStartTest, ArgumentsAreQuotedAsZelvoReadsItsCommandLine) {
  // What one Zelvo writes on a command line, another reads back as it was: a folder ending in a
  // backslash included.
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"C:\\a.exe"},
      {"C:\\Program Files\\b.exe", "\\\\server\\share\\c.lnk"},
      {"D:\\a b\\", "D:\\My Apps\\", "E:\\"},
      {"テスト.exe", "C:\\x\\\\y.exe"},
  };
  for (const auto& arguments : cases) {
    const std::wstring line = L"zelvo.exe " + QuotedArguments(arguments);
    EXPECT_EQ(SplitArguments(ArgumentText(Utf8(line))), arguments) << Utf8(line);
  }
}

TEST(ElevatedStartTest, AnyBatchReachesTheElevatedProgramWholeAsPathsAnyAccountCanReach) {
  TempFolder temp;
  const std::string folder = temp.Path("昇格 テスト");
  test::MakeFolder(folder);
  const std::string program = folder + "\\My Probe.exe";
  CopyProbe(program);

  // Paths relative to this program's current folder, and on a drive that stands for a folder
  // (as a substituted or mapped drive does): the elevated program starts in its own folder,
  // maybe as another account, where neither would lead to the same file.
  Win32FileSystem files;
  const std::wstring current = Wide(temp.Path());
  wchar_t drive[] = L"Q:";
  for (; drive[0] > L'G' && GetLogicalDrives() & (1u << (drive[0] - L'A')); --drive[0]) {
  }
  ASSERT_TRUE(DefineDosDeviceW(0, drive, current.c_str())) << GetLastError();
  std::wstring old_current(MAX_PATH, L'\0');
  old_current.resize(GetCurrentDirectoryW(MAX_PATH, old_current.data()));
  ASSERT_TRUE(SetCurrentDirectoryW(current.c_str()));
  const std::string relative = files.PathForAnyAccount("apps\\relative.exe");
  const std::string on_drive = files.PathForAnyAccount(Utf8(drive) + "\\on drive.exe");
  SetCurrentDirectoryW(old_current.c_str());
  DefineDosDeviceW(DDD_REMOVE_DEFINITION, drive, nullptr);
  EXPECT_EQ(relative, temp.Path("apps\\relative.exe"));
  EXPECT_EQ(on_drive, temp.Path("on drive.exe"));

  // Far more than a command line could hold: 2,000 long paths, about 600,000 characters.
  HandOver hand_over;
  hand_over.log = {{"表示.exe", "C:\\ツール\\", "2026/12/07"}};
  hand_over.programs = {relative, on_drive, "D:\\a b\\"};
  for (int index = 0; index < 2000; ++index) {
    hand_over.programs.push_back("C:\\Program Files (x86)\\" + std::string(240, 'x') + "\\" +
                                 std::to_string(index) + ".exe");
  }

  // The program that starts it still owns the log of that folder: the elevated one waits.
  UniqueFile log_owner(CreateFileW(Wide(folder + "\\zelvo.lock").c_str(), DELETE, 0, nullptr,
                                   OPEN_ALWAYS, FILE_FLAG_DELETE_ON_CLOSE, nullptr));
  ASSERT_TRUE(log_owner.Valid()) << GetLastError();
  ASSERT_EQ(
      StartElevatedWith(Wide(program), Wide(folder), FormatHandOver(hand_over), nullptr).outcome,
      ElevatedStart::Started);
  Sleep(1500);
  EXPECT_FALSE(Exists(program + ".txt")) << "the elevated program did not wait for the log";
  log_owner.Close();
  auto report = WaitForReport(program + ".txt");
  ASSERT_FALSE(report.empty()) << "the program did not run";
  EXPECT_EQ(report["first"], "yes");
  EXPECT_EQ(report["current"], folder);
  ASSERT_TRUE(Exists(program + ".handover")) << "nothing was handed over";
  EXPECT_EQ(ParseHandOver(test::ReadBytes(program + ".handover")), hand_over);
  // Read once, and gone: the user's temporary folder keeps no hand-over.
  std::wstring temporary = TemporaryFolder();
  temporary.pop_back();  // its trailing backslash
  EXPECT_EQ(test::ListFolder(Utf8(temporary)).find(".handover"), std::string::npos);
}

TEST(ElevatedStartTest, AHandOverIsReadOnceAndAnythingElseIsLeftAsItIs) {
  const std::string bytes = FormatHandOver({{{"a.exe", "C:\\A\\", "2026/12/07"}}, "", {}});
  const std::wstring file = WriteHandOverFile(bytes);
  EXPECT_EQ(ReadHandOverFile(file), bytes);
  EXPECT_FALSE(Exists(Utf8(file))) << "the hand-over was left to be read again";
  EXPECT_EQ(test::FailureNumber([&] { ReadHandOverFile(file); }), ERROR_FILE_NOT_FOUND);

  // A file that is no hand-over is not read, and not deleted.
  TempFolder temp;
  const std::string other = temp.Path("notes.txt");
  test::WriteBytes(other, "2.20\r\n");
  EXPECT_EQ(test::FailureNumber([&] { ReadHandOverFile(Wide(other)); }), ERROR_INVALID_DATA);
  EXPECT_TRUE(Exists(other));
}

}  // namespace
}  // namespace zelvo::win32
