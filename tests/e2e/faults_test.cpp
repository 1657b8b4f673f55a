// Faults and bad input on the real program: files it may not write or read, a folder it may not
// write, a full disk, a kill in the middle of a save, damaged log files and odd targets. Each
// case shows one clear box or message and leaves the program's files consistent.
#include <windows.h>

#include <sddl.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "driver/driver.h"
#include "win32/window/control_ids.h"
#include "win32/system/strings.h"
#include "win32/system/win32_error.h"
#include "support.h"

namespace zelvo::e2e {
namespace {

namespace fs = std::filesystem;
using namespace zelvo::win32;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Optional;

const std::string kOldManifest = "<!-- the manifest the user had -->\r\n";
const std::vector<Entry> kEarlier = {{"Earlier.exe", "C:\\Apps\\", "2024/05/06"}};

std::string Cancelled(const std::string& name) { return name + expected::CancelledStatus(""); }
std::string Applied(const std::string& name) { return name + expected::AppliedStatus(""); }

void SetAttributes(const fs::path& path, DWORD attributes) {
  Check(SetFileAttributesW(path.c_str(), attributes), "SetFileAttributes " + Text(path));
}

DWORD Attributes(const fs::path& path) { return GetFileAttributesW(path.c_str()); }

// The names in a folder, sorted; empty when there is no such folder.
std::vector<std::string> Listing(const fs::path& folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& item : fs::directory_iterator(folder, error)) {
    names.push_back(Text(item.path().filename()));
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<std::string> ToolFiles(const ToolFolder& folder) { return Listing(folder.Folder()); }

// Waits until start-up has ended with the main window, a box or the end of the program.
void WaitForStart(const ZelvoProcess& zelvo) {
  WaitFor([&] { return zelvo.FindBox() || zelvo.FindMainWindow() || !zelvo.Running(); },
          kStartTimeout);
}

// Start-up reached the window with no box on the way, and none is waiting after it.
MainWindow StartedQuietly(const ZelvoProcess& zelvo) {
  WaitForStart(zelvo);
  if (const auto box = zelvo.FindBox()) throw DriverError("a box at start: " + box->Describe());
  const MainWindow window = zelvo.WaitForMainWindow();
  window.Sync();
  if (const auto box = zelvo.FindBox()) throw DriverError("a box at start: " + box->Describe());
  return window;
}

// The one report of a failure: answered, then the program ends by itself with exit code 1.
void ExpectOneReportAndTheEnd(const ZelvoProcess& zelvo, const std::string& source, DWORD number) {
  ExpectBoxAndAnswer(zelvo, ErrorReport(source, number), Answer::Ok);
  const std::optional<DWORD> exit_code = zelvo.WaitForExit();
  if (!exit_code) {
    const auto box = zelvo.FindBox();
    FAIL() << (box ? "a second box: " + box->Describe() : "the program goes on after the report");
  }
  EXPECT_EQ(*exit_code, 1u);
}

// A program to apply, and an old manifest beside it.
struct Target {
  fs::path program;
  fs::path manifest;
};
Target ProgramWithManifest(const ToolFolder& folder, const std::wstring& name = L"Foo.exe") {
  const fs::path program = folder.WriteFile(fs::path(L"apps") / name, kFakeProgram);
  const fs::path manifest = folder.WriteFile(program.wstring() + L".manifest", kOldManifest);
  return {program, manifest};
}

// ---------------------------------------------------------------------------------------------
// The manifest and the backup folder.

TEST(Faults, AManifestHeldOpenWithoutSharingStopsTheBackupAndStaysAsItWas) {
  ToolFolder folder;
  folder.WriteIni(IniWith(kEarlier));
  const fs::path first = folder.WriteFile(L"apps\\First.exe", kFakeProgram);
  const Target target = ProgramWithManifest(folder);
  // Another program has the manifest open and lets nobody else in.
  win32::UniqueFile held(CreateFileW(target.manifest.c_str(), GENERIC_READ, 0, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_NE(held.Get(), INVALID_HANDLE_VALUE);

  ZelvoProcess zelvo(folder, Quoted({first, target.program}));
  ExpectBoxAndAnswer(zelvo, ReplaceManifestQuestion("Foo.exe"), Answer::Yes);
  ExpectOneReportAndTheEnd(zelvo, "BackupManifest()", ERROR_SHARING_VIOLATION);
  held.Close();

  // The backup folder was made before the copy failed; it holds nothing.
  EXPECT_THAT(Listing(folder.Folder() / L"backup"), IsEmpty());
  EXPECT_THAT(folder.ReadFile(target.manifest), Optional(kOldManifest));
  // The program applied before the failure keeps its manifest and its entry.
  EXPECT_THAT(folder.ReadFile(first.wstring() + L".manifest"), Optional(X86Manifest()));
  EXPECT_THAT(
      folder.ReadIni(),
      Optional(IniWith({kEarlier[0], {"First.exe", Text(first.parent_path()) + "\\", Today()}})));
  EXPECT_THAT(ToolFiles(folder), ElementsAre("backup", "zelvo.exe", "zelvo.ini"));
}

TEST(Faults, AManifestHeldOpenForReadingIsBackedUpAndTheWriteIsReported) {
  ToolFolder folder;
  folder.WriteIni(IniWith(kEarlier));
  const Target target = ProgramWithManifest(folder);
  // A reader that lets others read, but not write.
  win32::UniqueFile held(CreateFileW(target.manifest.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_NE(held.Get(), INVALID_HANDLE_VALUE);

  ZelvoProcess zelvo(folder, Quoted({target.program}));
  ExpectBoxAndAnswer(zelvo, ReplaceManifestQuestion("Foo.exe"), Answer::Yes);
  // The new manifest cannot take the place of a file open without leave to delete it.
  ExpectOneReportAndTheEnd(zelvo, "ApplyZelvo()", ERROR_ACCESS_DENIED);
  held.Close();
  EXPECT_THAT(Listing(target.program.parent_path()), ElementsAre("Foo.exe", "Foo.exe.manifest"));

  EXPECT_THAT(folder.ReadFile(folder.Folder() / L"backup\\Foo.exe.manifest"),
              Optional(kOldManifest));
  EXPECT_THAT(folder.ReadFile(target.manifest), Optional(kOldManifest));
  EXPECT_THAT(folder.ReadIni(), Optional(IniWith(kEarlier)));
}

TEST(Faults, AFileNamedBackupStopsTheBackupAndEveryFileStaysAsItWas) {
  ToolFolder folder;
  folder.WriteIni(IniWith(kEarlier));
  const std::string notes = "the user's own file, not a folder\r\n";
  folder.WriteFile(folder.Folder() / L"backup", notes);
  const fs::path first = folder.WriteFile(L"apps\\First.exe", kFakeProgram);
  const Target target = ProgramWithManifest(folder);

  ZelvoProcess zelvo(folder, Quoted({first, target.program}));
  ExpectBoxAndAnswer(zelvo, ReplaceManifestQuestion("Foo.exe"), Answer::Yes);
  ExpectOneReportAndTheEnd(zelvo, "BackupManifest()", ERROR_ALREADY_EXISTS);

  EXPECT_THAT(folder.ReadFile(folder.Folder() / L"backup"), Optional(notes));
  EXPECT_THAT(folder.ReadFile(target.manifest), Optional(kOldManifest));
  EXPECT_THAT(folder.ReadFile(first.wstring() + L".manifest"), Optional(X86Manifest()));
  EXPECT_THAT(
      folder.ReadIni(),
      Optional(IniWith({kEarlier[0], {"First.exe", Text(first.parent_path()) + "\\", Today()}})));
  EXPECT_THAT(ToolFiles(folder), ElementsAre("backup", "zelvo.exe", "zelvo.ini"));
}

// ---------------------------------------------------------------------------------------------
// The log file at close.

TEST(Faults, AReadOnlyLogFileIsReportedAtCloseAndKeptWhole) {
  ToolFolder folder;
  const std::string old_log = IniWith(kEarlier);
  folder.WriteIni(old_log);
  const fs::path ini = folder.Folder() / L"zelvo.ini";
  SetAttributes(ini, FILE_ATTRIBUTE_READONLY);
  const fs::path program = folder.WriteFile(L"apps\\Foo.exe", kFakeProgram);

  ZelvoProcess zelvo(folder, Quoted({program}));
  const MainWindow window = zelvo.WaitForMainWindow();
  EXPECT_THAT(window.Rows(ControlId(Control::lstLogName)), ElementsAre("Earlier.exe", "Foo.exe"));
  window.Close();
  ExpectOneReportAndTheEnd(zelvo, "SaveListData()", ERROR_ACCESS_DENIED);

  EXPECT_THAT(folder.ReadIni(), Optional(old_log));
  EXPECT_TRUE(Attributes(ini) & FILE_ATTRIBUTE_READONLY);
  EXPECT_THAT(ToolFiles(folder), ElementsAre("zelvo.exe", "zelvo.ini"));
  // The manifest is there; only its entry could not be kept, and the user was told.
  EXPECT_THAT(folder.ReadFile(program.wstring() + L".manifest"), Optional(X86Manifest()));
}

TEST(Faults, AHiddenOrSystemLogFileIsNotSeenAndNotReplaced) {
  for (const DWORD attribute : {FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_SYSTEM}) {
    SCOPED_TRACE(attribute == FILE_ATTRIBUTE_HIDDEN ? "hidden" : "system");
    ToolFolder folder;
    const std::string old_log = IniWith(kEarlier);
    folder.WriteIni(old_log);
    const fs::path ini = folder.Folder() / L"zelvo.ini";
    SetAttributes(ini, attribute);

    // Like a missing log: the greeting, no entries. The save at close is refused, which keeps
    // the file that this run did not read.
    ZelvoProcess zelvo(folder);
    const MainWindow window = StartedQuietly(zelvo);
    EXPECT_EQ(window.Text(ControlId(Control::lblInformation)), expected::kGreeting);
    EXPECT_THAT(window.Rows(ControlId(Control::lstLogName)), IsEmpty());
    window.Close();
    ExpectOneReportAndTheEnd(zelvo, "SaveListData()", ERROR_ACCESS_DENIED);
    EXPECT_THAT(folder.ReadIni(), Optional(old_log));
    EXPECT_TRUE(Attributes(ini) & attribute);
    EXPECT_THAT(ToolFiles(folder), ElementsAre("zelvo.exe", "zelvo.ini"));
  }
}

TEST(Faults, AFolderNamedLikeTheLogFileIsNotSeenAndNotReplaced) {
  ToolFolder folder;
  const fs::path inside = folder.WriteFile(folder.Folder() / L"zelvo.ini\\notes.txt", "kept");
  ZelvoProcess zelvo(folder);
  const MainWindow window = StartedQuietly(zelvo);
  EXPECT_EQ(window.Text(ControlId(Control::lblInformation)), expected::kGreeting);
  window.Close();
  ExpectOneReportAndTheEnd(zelvo, "SaveListData()", ERROR_ACCESS_DENIED);
  EXPECT_THAT(folder.ReadFile(inside), Optional(std::string("kept")));
  EXPECT_THAT(ToolFiles(folder), ElementsAre("zelvo.exe", "zelvo.ini"));
}

// ---------------------------------------------------------------------------------------------
// Damaged log files: each starts without a box, shows what can be read, and is saved whole at
// close; a file whose entries could not all be taken is kept beside the new one.

struct DamagedLog {
  const char* name;
  std::string bytes;
  std::vector<std::string> rows;  // what the list shows
  std::string saved;              // zelvo.ini after the close
  const char* kept;               // the copy of the old file, nullptr for none
};

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

const Entry kA = {"A.exe", "C:\\A\\", "2024/01/02"};
const Entry kB = {"B.exe", "C:\\B\\", "2024/03/04"};
const std::string kEmptyLog = IniWith({});
const std::string kLongName = std::string(100000, 'N') + ".exe";
const std::string kLongFolder = "C:\\" + std::string(100000, 'F') + "\\";

std::vector<DamagedLog> DamagedLogs() {
  const std::string complete = IniWith({kB, kA});
  const std::string before_b = "2.20\r\nB.exe\r\nC:\\B\\\r\n2024/03/04\r\n";
  return {
      {"ZeroBytes", "", {}, kEmptyLog, nullptr},
      {"CutAfterAName", before_b + "A.exe\r\n", {"B.exe"}, IniWith({kB}), "damaged"},
      {"CutInsideAName", before_b + "A.e", {"B.exe"}, IniWith({kB}), "damaged"},
      {"CutAfterAFolder", before_b + "A.exe\r\nC:\\A\\\r\n", {"B.exe"}, IniWith({kB}), "damaged"},
      {"AnEntryCutByAnEmptyLine",
       before_b + "A.exe\r\n\r\n2024/01/02\r\n\r\n",
       {"B.exe"},
       IniWith({kB}),
       "damaged"},
      {"BareLineFeeds", Replaced(complete, "\r\n", "\n"), {}, kEmptyLog, "bare-lf"},
      {"BareLineFeedsAfterTheVersion",
       "2.20\r\n" + Replaced(IniWith({kB, kA}).substr(6), "\r\n", "\n"),
       {},
       kEmptyLog,
       "damaged"},
      {"NoFinalEmptyLine",
       before_b + "A.exe\r\nC:\\A\\\r\n2024/01/02\r\n",
       {"A.exe", "B.exe"},
       IniWith({kA, kB}),
       nullptr},
      {"NoFinalLineEnd",
       before_b + "A.exe\r\nC:\\A\\\r\n2024/01/02",
       {"A.exe", "B.exe"},
       IniWith({kA, kB}),
       nullptr},
      // 0x85 0x40 is no character of code page 932, nor is 0x81 before a space; Windows reads
      // each as its default character "・". The file is kept, since its own bytes are lost.
      {"BytesNotInTheCodePage",
       IniWith({{"Bad\x85\x40Name.exe", "C:\\\xA0\xFD\xFF\\", "2024/01/02"},
                {"Lead\x81 Trail.exe", "C:\\L\\", "2024/01/02"}}),
       {"Bad・Name.exe", "Lead・Trail.exe"},
       IniWith({{"Bad\x81\x45Name.exe", "C:\\\xA0\xFD\xFF\\", "2024/01/02"},
                {"Lead\x81\x45Trail.exe", "C:\\L\\", "2024/01/02"}}),
       "damaged"},
      {"VeryLongLines",
       IniWith({{kLongName, kLongFolder, "2024/01/02"}}),
       {kLongName},
       IniWith({{kLongName, kLongFolder, "2024/01/02"}}),
       nullptr},
  };
}

// Its name only: the bytes would make test names too long to read.
void PrintTo(const DamagedLog& log, std::ostream* out) { *out << log.name; }

class DamagedLogFile : public ::testing::TestWithParam<DamagedLog> {};

TEST_P(DamagedLogFile, StartsQuietlyShowsWhatCanBeReadAndIsSavedWhole) {
  const DamagedLog& log = GetParam();
  ToolFolder folder;
  folder.WriteIni(log.bytes);

  ZelvoProcess zelvo(folder);
  const MainWindow window = StartedQuietly(zelvo);
  EXPECT_EQ(window.Rows(ControlId(Control::lstLogName)), log.rows);
  // The file was there: no greeting, no message.
  EXPECT_EQ(window.Text(ControlId(Control::lblInformation)), "");
  if (!log.rows.empty()) {
    // The first row can be chosen and shows its whole name.
    window.ClickRow(ControlId(Control::lstLogName), 0);
    EXPECT_EQ(window.Text(ControlId(Control::txtLogName)), log.rows[0]);
  }
  window.Close();
  EXPECT_THAT(zelvo.WaitForExit(), Optional(0u));

  EXPECT_THAT(folder.ReadIni(), Optional(log.saved));
  std::vector<std::string> files = {"zelvo.exe", "zelvo.ini"};
  if (log.kept) {
    const std::string copy = std::string("zelvo.ini.") + log.kept + ".bak";
    files.push_back(copy);
    EXPECT_THAT(folder.ReadFile(folder.Folder() / copy), Optional(log.bytes));
  }
  std::sort(files.begin(), files.end());
  EXPECT_EQ(ToolFiles(folder), files);
}

INSTANTIATE_TEST_SUITE_P(Faults, DamagedLogFile, ::testing::ValuesIn(DamagedLogs()),
                         [](const auto& test) { return std::string(test.param.name); });

// ---------------------------------------------------------------------------------------------
// Targets that name no ordinary file, or name one in an unusual way.

// The program's answer to a target that it cannot use: the missing-program warning, the
// cancelled status line, nothing written and nothing logged.
void ExpectMissingPrograms(const ToolFolder& folder, const std::vector<fs::path>& targets,
                           const std::string& status) {
  ZelvoProcess zelvo(folder, Quoted(targets));
  for (size_t i = 0; i < targets.size(); ++i) {
    ExpectBoxAndAnswer(zelvo, MissingProgramWarning(), Answer::Ok);
  }
  const MainWindow window = zelvo.WaitForMainWindow();
  window.Sync();
  EXPECT_FALSE(zelvo.FindBox());
  EXPECT_EQ(window.Text(ControlId(Control::lblInformation)), status);
  EXPECT_THAT(window.Rows(ControlId(Control::lstLogName)), IsEmpty());
  window.Close();
  EXPECT_THAT(zelvo.WaitForExit(), Optional(0u));
  EXPECT_THAT(folder.ReadIni(), Optional(kEmptyLog));
}

TEST(Faults, WildcardsInATargetFindNoProgram) {
  ToolFolder folder;
  const fs::path program = folder.WriteFile(L"apps\\Foo.exe", kFakeProgram);
  const fs::path apps = program.parent_path();
  ExpectMissingPrograms(folder, {apps / L"*.exe", apps / L"Fo?.exe"}, Cancelled(""));
  EXPECT_THAT(Listing(apps), ElementsAre("Foo.exe"));
}

TEST(Faults, FoldersHiddenAndSystemFilesAreMissingPrograms) {
  ToolFolder folder;
  const fs::path apps = folder.Root() / L"apps";
  fs::create_directories(apps / L"Folder.exe");
  const fs::path hidden = folder.WriteFile(apps / L"Hidden.exe", kFakeProgram);
  const fs::path system = folder.WriteFile(apps / L"System.exe", kFakeProgram);
  SetAttributes(hidden, FILE_ATTRIBUTE_HIDDEN);
  SetAttributes(system, FILE_ATTRIBUTE_SYSTEM);

  ExpectMissingPrograms(folder, {apps / L"Folder.exe", hidden, system}, Cancelled(""));
  EXPECT_THAT(Listing(apps), ElementsAre("Folder.exe", "Hidden.exe", "System.exe"));
  EXPECT_THAT(Listing(apps / L"Folder.exe"), IsEmpty());
  EXPECT_TRUE(Attributes(hidden) & FILE_ATTRIBUTE_HIDDEN);
  EXPECT_TRUE(Attributes(system) & FILE_ATTRIBUTE_SYSTEM);
}

TEST(Faults, AHiddenManifestIsNotSeenAndTheRefusedWriteLeavesItWhole) {
  ToolFolder folder;
  folder.WriteIni(IniWith(kEarlier));
  const Target target = ProgramWithManifest(folder);
  SetAttributes(target.manifest, FILE_ATTRIBUTE_HIDDEN);

  // No question and no backup: the program does not see the manifest, and writing over a
  // hidden file is refused.
  ZelvoProcess zelvo(folder, Quoted({target.program}));
  ExpectOneReportAndTheEnd(zelvo, "ApplyZelvo()", ERROR_ACCESS_DENIED);
  EXPECT_THAT(folder.ReadFile(target.manifest), Optional(kOldManifest));
  EXPECT_TRUE(Attributes(target.manifest) & FILE_ATTRIBUTE_HIDDEN);
  EXPECT_THAT(folder.ReadIni(), Optional(IniWith(kEarlier)));
  EXPECT_THAT(ToolFiles(folder), ElementsAre("zelvo.exe", "zelvo.ini"));
}

TEST(Faults, AShortNameIsAppliedUnderTheLongName) {
  ToolFolder folder;
  const fs::path program =
      folder.WriteFile(L"Long Folder Name\\Long Program Name.exe", kFakeProgram);
  const DWORD size = GetShortPathNameW(program.c_str(), nullptr, 0);
  ASSERT_NE(size, 0u) << "no short names here";
  std::wstring short_path(size, L'\0');
  short_path.resize(GetShortPathNameW(program.c_str(), short_path.data(), size));
  ASSERT_NE(short_path, program.wstring()) << "no short names here";
  ASSERT_EQ(short_path.find(L' '), std::wstring::npos) << Text(short_path);

  ZelvoProcess zelvo(folder, short_path);
  const MainWindow window = zelvo.WaitForMainWindow();
  window.Sync();
  EXPECT_FALSE(zelvo.FindBox());
  EXPECT_EQ(window.Text(ControlId(Control::lblInformation)), Applied("Long Program Name.exe"));
  EXPECT_THAT(window.Rows(ControlId(Control::lstLogName)), ElementsAre("Long Program Name.exe"));
  EXPECT_EQ(window.Text(ControlId(Control::txtLogPath)), Text(program.parent_path()) + "\\");
  window.Close();
  EXPECT_THAT(zelvo.WaitForExit(), Optional(0u));
  // Windows looks for the manifest under the long name only.
  EXPECT_THAT(Listing(program.parent_path()),
              ElementsAre("Long Program Name.exe", "Long Program Name.exe.manifest"));
  EXPECT_THAT(
      folder.ReadIni(),
      Optional(IniWith({{"Long Program Name.exe", Text(program.parent_path()) + "\\", Today()}})));
}

// A folder path of more than 260 characters under `root`.
fs::path DeepFolder(const fs::path& root) {
  fs::path deep = root;
  for (int level = 0; deep.wstring().size() <= 300; ++level) {
    deep /= L"level" + std::to_wstring(level) + L"-" + std::wstring(40, L'x');
  }
  return deep;
}

TEST(Faults, TargetsDeeperThan260CharactersAreAppliedAndLogged) {
  ToolFolder folder;
  const fs::path deep = DeepFolder(folder.Root());
  const fs::path program = folder.WriteFile(deep / L"Deep.exe", kFakeProgram);
  const Target with_manifest = ProgramWithManifest(folder, deep.wstring() + L"\\Old.exe");
  ASSERT_GT(program.wstring().size(), 260u);

  ZelvoProcess zelvo(folder, Quoted({program, with_manifest.program}));
  ExpectBoxAndAnswer(zelvo, ReplaceManifestQuestion("Old.exe"), Answer::Yes);
  const MainWindow window = zelvo.WaitForMainWindow();
  window.Sync();
  EXPECT_FALSE(zelvo.FindBox());
  EXPECT_EQ(window.Text(ControlId(Control::lblInformation)), Applied("Old.exe"));
  EXPECT_THAT(window.Rows(ControlId(Control::lstLogName)), ElementsAre("Deep.exe", "Old.exe"));
  window.Close();
  EXPECT_THAT(zelvo.WaitForExit(), Optional(0u));

  EXPECT_THAT(folder.ReadFile(program.wstring() + L".manifest"), Optional(X86Manifest()));
  EXPECT_THAT(folder.ReadFile(with_manifest.manifest), Optional(X86Manifest()));
  EXPECT_THAT(folder.ReadFile(folder.Folder() / L"backup\\Old.exe.manifest"),
              Optional(kOldManifest));
  const std::string where = Text(deep) + "\\";
  EXPECT_THAT(folder.ReadIni(),
              Optional(IniWith({{"Deep.exe", where, Today()}, {"Old.exe", where, Today()}})));
}

TEST(Faults, AUncPathThatCannotBeReachedIsAMissingProgram) {
  ToolFolder folder;
  const fs::path program = folder.WriteFile(L"apps\\Foo.exe", kFakeProgram);
  // The same file through the administrative share: Wine has no file sharing, so the path
  // cannot be reached, as with a server that is switched off.
  std::wstring local = program.wstring();
  ASSERT_EQ(local.substr(1, 2), L":\\");
  const fs::path unc = L"\\\\localhost\\" + local.substr(0, 1) + L"$" + local.substr(2);
  ExpectMissingPrograms(folder, {unc, L"\\\\?\\UNC" + unc.wstring().substr(1)}, Cancelled(""));
  EXPECT_THAT(Listing(program.parent_path()), ElementsAre("Foo.exe"));
}

// ---------------------------------------------------------------------------------------------
// A kill in the middle of the save.

// The temporary file that the save of this process writes before it replaces the log: named
// after the process, so that a leftover of another run is never taken for it.
bool Saving(const ZelvoProcess& zelvo, const fs::path& tool_folder) {
  const std::wstring pattern = L"zelvo.ini." + std::to_wstring(zelvo.Id()) + L"*.tmp";
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW((tool_folder / pattern).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  return true;
}

TEST(Faults, AKillDuringTheSaveLeavesTheOldOrTheNewLogNeverAMix) {
  // A large log in reverse order: the save writes it sorted, so the new file is as long as the
  // old one but differs all through. Long folders make it take a while to write, few rows make
  // it quick to load.
  constexpr int kCount = 10000;
  const std::string deep = "C:\\Programs\\" + std::string(300, 'x') + "\\";
  std::vector<Entry> entries;
  for (int i = 0; i < kCount; ++i) {
    char name[32];
    wsprintfA(name, "P%06d", i);
    entries.push_back({std::string(name) + ".exe", deep + name + "\\", "2024/01/02"});
  }
  const std::string sorted = IniWith(entries);
  std::reverse(entries.begin(), entries.end());
  const std::string reversed = IniWith(entries);

  ToolFolder folder;
  const fs::path tool = folder.Folder();
  int killed_while_saving = 0;
  int old_logs = 0;
  int new_logs = 0;
  std::vector<std::string> leftovers;
  for (int delay_ms : {0, 0, 1, 2, 5, 10, 20, 50}) {
    SCOPED_TRACE("kill " + std::to_string(delay_ms) + " ms after the save began");
    folder.WriteIni(reversed);
    ZelvoProcess zelvo(folder);
    const MainWindow window = zelvo.WaitForMainWindow();
    window.Close();
    // Watch without pauses: the save takes a few milliseconds.
    const ULONGLONG deadline = GetTickCount64() + kTimeout.count();
    while (!Saving(zelvo, tool) && zelvo.Running() && GetTickCount64() < deadline) {
    }
    if (delay_ms > 0) Sleep(static_cast<DWORD>(delay_ms));
    if (Saving(zelvo, tool)) ++killed_while_saving;
    TerminateProcess(zelvo.Handle(), 9);
    ASSERT_TRUE(zelvo.WaitForExit().has_value());

    const std::optional<std::string> log = folder.ReadIni();
    ASSERT_TRUE(log.has_value());
    EXPECT_TRUE(*log == reversed || *log == sorted)
        << "a mix of " << log->size() << " bytes, starting " << log->substr(0, 40);
    (*log == sorted ? new_logs : old_logs) += 1;
    // What a kill leaves behind is at most the unfinished temporary file, which later runs
    // ignore.
    leftovers.push_back("zelvo.ini." + std::to_string(zelvo.Id()) + ".tmp");
    for (const std::string& name : ToolFiles(folder)) {
      if (name == "zelvo.exe" || name == "zelvo.ini") continue;
      EXPECT_THAT(leftovers, ::testing::Contains(name));
    }
  }
  EXPECT_GT(killed_while_saving, 0)
      << "no kill came during a save; old logs " << old_logs << ", new logs " << new_logs;

  // The next run reads the whole log and saves it, the leftovers notwithstanding.
  ZelvoProcess zelvo(folder);
  const MainWindow window = StartedQuietly(zelvo);
  EXPECT_EQ(Send(window.Control(ControlId(Control::lstLogName)), LB_GETCOUNT), kCount);
  window.Close();
  EXPECT_THAT(zelvo.WaitForExit(kStartTimeout), Optional(0u));
  EXPECT_THAT(folder.ReadIni(), Optional(sorted));
}

// ---------------------------------------------------------------------------------------------
// Run as a user whose permission bits hold: Wine run as root writes into read-only files and
// folders whatever they say.

// Whether this user may write into a file that is marked read-only.
bool ReadOnlyHolds(const ToolFolder& folder) {
  const fs::path probe = folder.WriteFile(L"read-only probe", "x");
  SetAttributes(probe, FILE_ATTRIBUTE_READONLY);
  const win32::UniqueFile written(CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return written.Get() == INVALID_HANDLE_VALUE && GetLastError() == ERROR_ACCESS_DENIED;
}

TEST(FaultsUnprivileged, AReadOnlyManifestIsBackedUpAndTheRefusedWriteIsReportedOnce) {
  ToolFolder folder;
  ASSERT_TRUE(ReadOnlyHolds(folder)) << "this user writes into read-only files: run the test "
                                        "through wine-run-unprivileged";
  folder.WriteIni(IniWith(kEarlier));
  const fs::path first = folder.WriteFile(L"apps\\First.exe", kFakeProgram);
  const Target target = ProgramWithManifest(folder);
  SetAttributes(target.manifest, FILE_ATTRIBUTE_READONLY);

  ZelvoProcess zelvo(folder, Quoted({first, target.program}));
  ExpectBoxAndAnswer(zelvo, ReplaceManifestQuestion("Foo.exe"), Answer::Yes);
  ExpectOneReportAndTheEnd(zelvo, "ApplyZelvo()", ERROR_ACCESS_DENIED);

  EXPECT_THAT(folder.ReadFile(target.manifest), Optional(kOldManifest));
  EXPECT_TRUE(Attributes(target.manifest) & FILE_ATTRIBUTE_READONLY);
  // The backup was made before the write was refused, and stays.
  EXPECT_THAT(folder.ReadFile(folder.Folder() / L"backup\\Foo.exe.manifest"),
              Optional(kOldManifest));
  EXPECT_THAT(folder.ReadFile(first.wstring() + L".manifest"), Optional(X86Manifest()));
  EXPECT_THAT(
      folder.ReadIni(),
      Optional(IniWith({kEarlier[0], {"First.exe", Text(first.parent_path()) + "\\", Today()}})));
}

// Lets everybody read and list a folder but nobody write into it, as an access control list on
// Windows does; Wine turns the list into the folder's permission bits. Undone at the end.
// A folder with an access list of its own for the life of the object; then everyone may do
// everything in it again.
class FolderAccess {
 public:
  // Read, list and pass through, but change nothing.
  static constexpr wchar_t kWriteProtected[] = L"D:P(A;;0x1200a9;;;WD)";
  // Pass through and read attributes, but neither list nor change.
  static constexpr wchar_t kPassThroughOnly[] = L"D:P(A;;0x1000a0;;;WD)";

  FolderAccess(fs::path folder, const wchar_t* sddl) : folder_(std::move(folder)) {
    SetAccess(sddl);
  }
  FolderAccess(const FolderAccess&) = delete;
  FolderAccess& operator=(const FolderAccess&) = delete;
  ~FolderAccess() {
    try {
      SetAccess(L"D:P(A;;FA;;;WD)");
    } catch (const DriverError&) {
      // The folder then stays behind in the temporary folder: a destructor cannot report.
    }
  }

  // Whether a new file in the folder is refused (the folder is write-protected for this user).
  bool Holds() const {
    const win32::UniqueFile created(CreateFileW((folder_ / L"write probe").c_str(), GENERIC_WRITE,
                                                0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                                nullptr));
    return created.Get() == INVALID_HANDLE_VALUE && GetLastError() == ERROR_ACCESS_DENIED;
  }

 private:
  // Wine 8 applies a list given to SetFileSecurity to the folder's permission bits, but not one
  // given to SetNamedSecurityInfo.
  void SetAccess(const wchar_t* sddl) const {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    Check(ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &descriptor,
                                                               nullptr),
          "ConvertStringSecurityDescriptorToSecurityDescriptor");
    const BOOL set = SetFileSecurityW(folder_.c_str(), DACL_SECURITY_INFORMATION, descriptor);
    const DWORD error = GetLastError();
    LocalFree(descriptor);
    if (!set) ThrowError("SetFileSecurity " + Text(folder_), error);
  }

  fs::path folder_;
};

TEST(FaultsUnprivileged, AToolFolderThatCannotBeWrittenIsReportedAtCloseAndTheLogKeptWhole) {
  ToolFolder folder;
  const std::string old_log = IniWith(kEarlier);
  folder.WriteIni(old_log);
  const fs::path program = folder.WriteFile(L"apps\\Foo.exe", kFakeProgram);
  const FolderAccess protection(folder.Folder(), FolderAccess::kWriteProtected);
  ASSERT_TRUE(protection.Holds()) << "this user writes into a write-protected folder: run the "
                                     "test through wine-run-unprivileged";

  ZelvoProcess zelvo(folder, Quoted({program}));
  const MainWindow window = zelvo.WaitForMainWindow();
  EXPECT_THAT(window.Rows(ControlId(Control::lstLogName)), ElementsAre("Earlier.exe", "Foo.exe"));
  window.Close();
  ExpectOneReportAndTheEnd(zelvo, "SaveListData()", ERROR_ACCESS_DENIED);

  EXPECT_THAT(folder.ReadIni(), Optional(old_log));
  EXPECT_THAT(ToolFiles(folder), ElementsAre("zelvo.exe", "zelvo.ini"));
  EXPECT_THAT(folder.ReadFile(program.wstring() + L".manifest"), Optional(X86Manifest()));
}

TEST(FaultsUnprivileged, ABackupIntoAToolFolderThatCannotBeWrittenStopsBeforeTheManifest) {
  ToolFolder folder;
  const std::string old_log = IniWith(kEarlier);
  folder.WriteIni(old_log);
  const Target target = ProgramWithManifest(folder);
  const FolderAccess protection(folder.Folder(), FolderAccess::kWriteProtected);
  ASSERT_TRUE(protection.Holds());

  ZelvoProcess zelvo(folder, Quoted({target.program}));
  const MainWindow window = zelvo.WaitForMainWindow();
  ExpectBoxAndAnswer(zelvo, ReplaceManifestQuestion("Foo.exe"), Answer::Yes);
  // The backup folder cannot be made, for want of rights: Wine runs every program elevated, so
  // this is the warning, naming Zelvo's own folder, and the program is not applied. The log
  // cannot be saved at the end.
  ExpectBoxAndAnswer(zelvo,
                     expected::RefusedWarning(win32::Utf8(folder.Folder().wstring()),
                                              win32::DescribeError(ERROR_ACCESS_DENIED),
                                              expected::kApplyFailedTitle),
                     Answer::Ok);
  WaitForStatusLine(window, expected::RefusedStatus("Foo.exe"));
  EXPECT_TRUE(NoBoxAfterSync(zelvo, window));
  window.Close();
  ExpectOneReportAndTheEnd(zelvo, "SaveListData()", ERROR_ACCESS_DENIED);

  EXPECT_THAT(folder.ReadFile(target.manifest), Optional(kOldManifest));
  EXPECT_THAT(folder.ReadIni(), Optional(old_log));
  EXPECT_THAT(ToolFiles(folder), ElementsAre("zelvo.exe", "zelvo.ini"));
}

TEST(FaultsUnprivileged, AProgramFolderThatRefusesChangesIsWarnedOfAndTheBatchGoesOn) {
  ToolFolder folder;
  folder.WriteIni(IniWith(kEarlier));
  const Target locked = ProgramWithManifest(folder, L"Locked.exe");
  const fs::path free = folder.WriteFile(L"free\\Free.exe", kFakeProgram);
  const FolderAccess protection(locked.program.parent_path(), FolderAccess::kWriteProtected);
  ASSERT_TRUE(protection.Holds());

  ZelvoProcess zelvo(folder, Quoted({locked.program, free}));
  const MainWindow window = zelvo.WaitForMainWindow();
  ExpectBoxAndAnswer(zelvo, ReplaceManifestQuestion("Locked.exe"), Answer::Yes);
  // Elevated already (Wine runs every program so): the warning naming the program's folder, with
  // Windows' reason; no report.
  ExpectBoxAndAnswer(zelvo,
                     expected::RefusedWarning(win32::Utf8(locked.program.parent_path().wstring()),
                                              win32::DescribeError(ERROR_ACCESS_DENIED),
                                              expected::kApplyFailedTitle),
                     Answer::Ok);
  WaitForStatusLine(window, AppliedStatus("Free.exe"));
  EXPECT_TRUE(NoBoxAfterSync(zelvo, window));
  EXPECT_THAT(window.Rows(ControlId(Control::lstLogName)), ElementsAre("Earlier.exe", "Free.exe"));

  // Nothing lost: the old manifest whole, its backup kept, no cut manifest or leftover file.
  EXPECT_THAT(folder.ReadFile(locked.manifest), Optional(kOldManifest));
  EXPECT_THAT(folder.ReadFile(folder.Folder() / L"backup" / L"Locked.exe.manifest"),
              Optional(kOldManifest));
  EXPECT_THAT(FolderListing(locked.program.parent_path()),
              ElementsAre("Locked.exe", "Locked.exe.manifest"));
  CloseAndExpectLog(zelvo, window, {kEarlier[0], {"Free.exe", FolderOf(free), Today()}});
}

TEST(FaultsUnprivileged, AFolderThatCanBePassedButNotListedHoldsProgramsAndTheTool) {
  // The tool and the program lie below a folder this user may pass through but not list, as
  // below C:\\Documents and Settings or many shared folders.
  ToolFolder folder(ZelvoProgram(), L"locked\\tool");
  folder.WriteIni(IniWith(kEarlier));
  const fs::path program = folder.WriteFile(L"locked\\apps\\Foo.exe", kFakeProgram);
  const FolderAccess pass_only(folder.Root() / L"locked", FolderAccess::kPassThroughOnly);
  std::error_code listing;
  fs::directory_iterator(folder.Root() / L"locked", listing);
  ASSERT_TRUE(listing) << "this user lists a folder it may only pass through";

  ZelvoProcess zelvo(folder, Quoted({program}));
  const MainWindow window = zelvo.WaitForMainWindow();
  WaitForStatusLine(window, AppliedStatus("Foo.exe"));
  EXPECT_TRUE(NoBoxAfterSync(zelvo, window));
  EXPECT_THAT(window.Rows(ControlId(Control::lstLogName)), ElementsAre("Earlier.exe", "Foo.exe"));
  EXPECT_THAT(folder.ReadFile(program.wstring() + L".manifest"), Optional(X86Manifest()));
  CloseAndExpectLog(zelvo, window, {kEarlier[0], {"Foo.exe", FolderOf(program), Today()}});
}

// ---------------------------------------------------------------------------------------------
// A full disk: a small file system of the test's own, mounted for it (see on-small-disk.sh).

// The small file system's folder, or the reason there is none.
struct SmallDisk {
  std::optional<fs::path> folder;
  std::string refused;
};

std::wstring Environment(const wchar_t* name) {
  const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
  if (size == 0) return {};
  std::wstring value(size, L'\0');
  value.resize(GetEnvironmentVariableW(name, value.data(), size));
  return value;
}

SmallDisk FindSmallDisk() {
  const std::wstring folder = Environment(L"ZELVO_SMALL_DISK");
  if (!folder.empty()) return {fs::path(folder), {}};
  const std::wstring refused = Environment(L"ZELVO_SMALL_DISK_REFUSED");
  return {std::nullopt, refused.empty() ? "no small file system was mounted for this test (run it "
                                          "through tests/e2e/on-small-disk.sh)"
                                        : Utf8(refused)};
}

// A folder outside the test's temporary folder, removed with what it holds when the test ends.
class RemovedAtTheEnd {
 public:
  explicit RemovedAtTheEnd(fs::path folder) : folder_(std::move(folder)) {}
  RemovedAtTheEnd(const RemovedAtTheEnd&) = delete;
  RemovedAtTheEnd& operator=(const RemovedAtTheEnd&) = delete;
  ~RemovedAtTheEnd() {
    std::error_code ignored;  // a destructor cannot report; the file system goes with the test
    fs::remove_all(folder_, ignored);
  }

 private:
  fs::path folder_;
};

// Fills the file system of `folder` up with one file, until the system says it is full.
void FillUp(const fs::path& folder) {
  const win32::UniqueFile filler(CreateFileW((folder / L"filler").c_str(), GENERIC_WRITE, 0,
                                             nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_NE(filler.Get(), INVALID_HANDLE_VALUE);
  const std::string block(4096, 'f');
  for (;;) {
    DWORD written = 0;
    if (!WriteFile(filler.Get(), block.data(), static_cast<DWORD>(block.size()), &written,
                   nullptr) ||
        written < block.size()) {
      break;
    }
  }
  ULARGE_INTEGER free_bytes{};
  ASSERT_TRUE(GetDiskFreeSpaceExW(folder.c_str(), &free_bytes, nullptr, nullptr));
  ASSERT_LT(free_bytes.QuadPart, 4096u) << "the disk is not full";
}

TEST(FaultsSmallDisk, AFullDiskAtCloseIsReportedAndTheOldLogStaysWhole) {
  const SmallDisk disk = FindSmallDisk();
  if (!disk.folder) GTEST_SKIP() << disk.refused;
  ToolFolder folder(ZelvoProgram(), (*disk.folder / L"tool").wstring());
  const RemovedAtTheEnd remove_tool_folder(folder.Folder());
  std::vector<Entry> entries;
  for (int i = 0; i < 100; ++i) {
    entries.push_back({"Program" + std::to_string(i) + ".exe", "C:\\Apps\\", "2024/01/02"});
  }
  const std::string old_log = IniWith(entries);
  folder.WriteIni(old_log);
  const fs::path program = folder.WriteFile(L"apps\\Foo.exe", kFakeProgram);
  FillUp(*disk.folder);

  ZelvoProcess zelvo(folder, Quoted({program}));
  const MainWindow window = zelvo.WaitForMainWindow();
  EXPECT_EQ(window.Text(ControlId(Control::lblInformation)), Applied("Foo.exe"));
  window.Close();
  ExpectOneReportAndTheEnd(zelvo, "SaveListData()", ERROR_DISK_FULL);
  EXPECT_THAT(folder.ReadIni(), Optional(old_log));
  EXPECT_THAT(ToolFiles(folder), ElementsAre("zelvo.exe", "zelvo.ini"));

  // With room again, the next run reads the old log whole and saves it.
  ASSERT_TRUE(DeleteFileW((*disk.folder / L"filler").c_str()));
  ZelvoProcess again(folder);
  const MainWindow window_again = StartedQuietly(again);
  EXPECT_EQ(window_again.Rows(ControlId(Control::lstLogName)).size(), entries.size());
  window_again.Close();
  EXPECT_THAT(again.WaitForExit(), Optional(0u));
  std::sort(entries.begin(), entries.end(),
            [](const Entry& a, const Entry& b) { return a.name < b.name; });
  EXPECT_THAT(folder.ReadIni(), Optional(IniWith(entries)));
}

TEST(FaultsSmallDisk, AFullDiskWhileWritingAManifestLeavesNoCutOneAndTheOldOneWhole) {
  const SmallDisk disk = FindSmallDisk();
  if (!disk.folder) GTEST_SKIP() << disk.refused;
  ToolFolder folder;
  folder.WriteIni(IniWith(kEarlier));
  const fs::path fresh = folder.WriteFile(*disk.folder / L"Fresh.exe", kFakeProgram);
  const Target old = ProgramWithManifest(folder, (*disk.folder / L"Old.exe").wstring());
  FillUp(*disk.folder);

  // A cut manifest beside a program would stop it from starting: there is none.
  {
    ZelvoProcess zelvo(folder, Quoted({fresh}));
    ExpectOneReportAndTheEnd(zelvo, "ApplyZelvo()", ERROR_DISK_FULL);
  }
  EXPECT_THAT(Listing(*disk.folder),
              ElementsAre("Fresh.exe", "Old.exe", "Old.exe.manifest", "filler"));
  // The old manifest is backed up and then kept whole, not emptied for a write that fails.
  {
    ZelvoProcess zelvo(folder, Quoted({old.program}));
    ExpectBoxAndAnswer(zelvo, ReplaceManifestQuestion("Old.exe"), Answer::Yes);
    ExpectOneReportAndTheEnd(zelvo, "ApplyZelvo()", ERROR_DISK_FULL);
  }
  EXPECT_THAT(folder.ReadFile(old.manifest), Optional(kOldManifest));
  EXPECT_THAT(folder.ReadFile(folder.Folder() / L"backup\\Old.exe.manifest"),
              Optional(kOldManifest));
  EXPECT_THAT(Listing(*disk.folder),
              ElementsAre("Fresh.exe", "Old.exe", "Old.exe.manifest", "filler"));
  EXPECT_THAT(folder.ReadIni(), Optional(IniWith(kEarlier)));
}

}  // namespace
}  // namespace zelvo::e2e
