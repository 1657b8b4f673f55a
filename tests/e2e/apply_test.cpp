// Applying the visual style through the real program: paths on its command line and files
// dropped on its window, every box on the way, the manifests and backup copies left on disk,
// and the list, detail boxes and status line that the user sees afterwards.
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "driver/driver.h"
#include "win32/window/control_ids.h"
#include "win32/system/strings.h"
#include "support.h"

namespace zelvo::e2e {
namespace {

namespace fs = std::filesystem;
using namespace zelvo::win32;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Optional;

fs::path ShortPath(const fs::path& path) {
  const DWORD size = Check(GetShortPathNameW(path.c_str(), nullptr, 0), "GetShortPathName");
  std::wstring short_path(size, L'\0');
  short_path.resize(
      Check(GetShortPathNameW(path.c_str(), short_path.data(), size), "GetShortPathName"));
  if (short_path == path.wstring()) throw DriverError("no short name: " + Text(path));
  return short_path;
}

std::optional<std::string> ManifestOf(const ToolFolder& folder, const fs::path& program) {
  return folder.ReadFile(program.wstring() + L".manifest");
}

TEST(ApplyFromCommandLine, QuotedProgramsAreAppliedInOrderAndLeftSelected) {
  ToolFolder folder;
  // A file that only looks like a program, and real 32-bit and 64-bit images: only the 64-bit
  // one gets the manifest for any processor.
  const fs::path beta = folder.WriteFile(L"apps\\Beta Tool.exe", kFakeProgram);
  const fs::path alpha = CopyInto(folder, PeImage(L"x86", L"plain"), L"apps\\alpha.exe");
  const fs::path gamma = CopyInto(folder, PeImage(L"x64", L"plain"), L"apps\\x64\\Gamma.exe");
  ZelvoProcess zelvo(folder, Quoted({beta, alpha, gamma}));
  const MainWindow window = zelvo.WaitForMainWindow();
  WaitForStatusLine(window, AppliedStatus("Gamma.exe"));
  EXPECT_TRUE(NoBoxAfterSync(zelvo, window));

  EXPECT_THAT(ManifestOf(folder, beta), Optional(X86Manifest()));
  EXPECT_THAT(ManifestOf(folder, alpha), Optional(X86Manifest()));
  EXPECT_THAT(ManifestOf(folder, gamma), Optional(AnyProcessorManifest()));
  EXPECT_EQ(X86Manifest().size(), 450u);
  EXPECT_EQ(AnyProcessorManifest().size(), 448u);

  // Sorted without regard to case; every entry of the batch selected, the last one current.
  EXPECT_THAT(window.Rows(ControlId(Control::lstLogName)),
              ElementsAre("alpha.exe", "Beta Tool.exe", "Gamma.exe"));
  EXPECT_THAT(window.SelectedRows(ControlId(Control::lstLogName)), ElementsAre(0, 1, 2));
  EXPECT_EQ(window.CaretRow(ControlId(Control::lstLogName)), 2);
  ExpectEntryShown(window, "Gamma.exe...", FolderOf(gamma), Today());

  CloseAndExpectLog(zelvo, window,
                    {{"alpha.exe", FolderOf(alpha), Today()},
                     {"Beta Tool.exe", FolderOf(beta), Today()},
                     {"Gamma.exe", FolderOf(gamma), Today()}});
}

TEST(ApplyFromCommandLine, UnquotedAndMixedQuoting) {
  struct Case {
    const char* what;
    std::wstring (*arguments)(const fs::path& one, const fs::path& two, const fs::path& spaced);
    std::vector<std::string> applied;  // in the order of the command line
  };
  const Case cases[] = {
      // Blanks in a row and a blank at the end name no empty path (no warning box).
      {"unquoted",
       [](const fs::path& one, const fs::path& two, const fs::path&) {
         return one.wstring() + L"  " + two.wstring() + L" ";
       },
       {"One.exe", "Two.exe"}},
      // As Explorer passes files dropped on the program's icon: quotes only where a space is.
      {"unquoted, then quoted with a space",
       [](const fs::path& one, const fs::path&, const fs::path& spaced) {
         return one.wstring() + L" \"" + spaced.wstring() + L"\"";
       },
       {"One.exe", "With Space.exe"}},
      {"quoted with a space, then unquoted",
       [](const fs::path&, const fs::path& two, const fs::path& spaced) {
         return L"\"" + spaced.wstring() + L"\" " + two.wstring();
       },
       {"With Space.exe", "Two.exe"}},
      // The manifest and the log take the long name, which is the one Windows looks for.
      {"a short 8.3 name",
       [](const fs::path& one, const fs::path&, const fs::path& spaced) {
         return one.wstring() + L" " + ShortPath(spaced).wstring();
       },
       {"One.exe", "With Space.exe"}},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    ToolFolder folder;
    ASSERT_EQ(folder.Root().wstring().find(L' '), std::wstring::npos);
    const fs::path one = folder.WriteFile(L"apps\\One.exe", kFakeProgram);
    const fs::path two = folder.WriteFile(L"apps\\Two.exe", kFakeProgram);
    const fs::path spaced = folder.WriteFile(L"apps\\With Space.exe", kFakeProgram);
    ZelvoProcess zelvo(folder, test.arguments(one, two, spaced));
    const MainWindow window = zelvo.WaitForMainWindow();
    WaitForStatusLine(window, AppliedStatus(test.applied.back()));
    EXPECT_TRUE(NoBoxAfterSync(zelvo, window));

    std::vector<Entry> entries;
    for (const auto& [path, name] : {std::pair{one, "One.exe"}, std::pair{two, "Two.exe"},
                                     std::pair{spaced, "With Space.exe"}}) {
      const bool applied =
          std::find(test.applied.begin(), test.applied.end(), name) != test.applied.end();
      EXPECT_EQ(ManifestOf(folder, path),
                applied ? std::optional<std::string>(X86Manifest()) : std::nullopt)
          << name;
      if (applied) entries.push_back({name, FolderOf(path), Today()});
    }
    // Nothing for the pieces of a path cut at its space.
    EXPECT_THAT(FolderListing(one.parent_path()), ::testing::UnorderedElementsAreArray([&] {
                  std::vector<std::string> names = {"One.exe", "Two.exe", "With Space.exe"};
                  for (const auto& name : test.applied) names.push_back(name + ".manifest");
                  return names;
                }()));
    EXPECT_THAT(window.SelectedRows(ControlId(Control::lstLogName)), ElementsAre(0, 1));
    CloseAndExpectLog(zelvo, window, entries);
  }
}

TEST(ApplyBoxes, NotAProgramIsAskedAboutAndAMissingOneIsWarnedOf) {
  ToolFolder folder;
  const fs::path readme = folder.WriteFile(L"apps\\readme.txt", "text");
  const fs::path script = folder.WriteFile(L"apps\\Script.cmd", "@echo off");
  // Typed in another case: the boxes and the list show the name as the disk stores it.
  const fs::path readme_typed = folder.Root() / L"APPS\\README.TXT";
  const fs::path gone = folder.Root() / L"apps\\Gone.exe";
  ZelvoProcess zelvo(folder, Quoted({readme_typed, gone, script}));
  const MainWindow window = zelvo.WaitForMainWindow();

  ExpectBoxAndAnswer(zelvo, NotAProgramQuestion("readme.txt"), Answer::No);
  // The next box stands once the status of the path before it is shown.
  EXPECT_TRUE(BoxShows(zelvo.WaitForBox(), MissingProgramWarning()));
  ExpectStatusLine(window, CancelledStatus("readme.txt"));
  zelvo.WaitForBox().Answer(Answer::Ok);
  EXPECT_TRUE(BoxShows(zelvo.WaitForBox(), NotAProgramQuestion("Script.cmd")));
  // Nothing stands at the path: the text begins with the fixed part's own space.
  ExpectStatusLine(window, expected::CancelledStatus(""));
  zelvo.WaitForBox().Answer(Answer::Yes);
  WaitForStatusLine(window, AppliedStatus("Script.cmd"));
  EXPECT_TRUE(NoBoxAfterSync(zelvo, window));

  EXPECT_THAT(FolderListing(readme.parent_path()),
              ElementsAre("Script.cmd", "Script.cmd.manifest", "readme.txt"));
  EXPECT_THAT(ManifestOf(folder, script), Optional(X86Manifest()));
  EXPECT_THAT(window.Rows(ControlId(Control::lstLogName)), ElementsAre("Script.cmd"));
  EXPECT_THAT(window.SelectedRows(ControlId(Control::lstLogName)), ElementsAre(0));
  ExpectEntryShown(window, "Script.cmd", FolderOf(script), Today());

  // The same by a drop: No leaves everything as it was, the selection cleared. The disabled
  // boxes still show the current row.
  window.DropFiles({readme});
  ExpectBoxAndAnswer(zelvo, NotAProgramQuestion("readme.txt"), Answer::No);
  EXPECT_TRUE(NoBoxAfterSync(zelvo, window));
  ExpectStatusLine(window, CancelledStatus("readme.txt"));
  EXPECT_FALSE(folder.Exists(readme.wstring() + L".manifest"));
  EXPECT_THAT(window.Rows(ControlId(Control::lstLogName)), ElementsAre("Script.cmd"));
  EXPECT_THAT(window.SelectedRows(ControlId(Control::lstLogName)), IsEmpty());
  ExpectViewDisabled(window, "Script.cmd", FolderOf(script), Today());

  CloseAndExpectLog(zelvo, window, {{"Script.cmd", FolderOf(script), Today()}});
  EXPECT_FALSE(folder.Exists(folder.Folder() / L"backup"));
}

TEST(ApplyBoxes, AnExistingManifestIsBackedUpAndNoBackupIsEverOverwritten) {
  ToolFolder folder;
  const fs::path first = folder.WriteFile(L"apps\\Setup.exe", kFakeProgram);
  folder.WriteFile(L"apps\\Setup.exe.manifest", "the user's own manifest");
  const fs::path second = folder.WriteFile(L"other\\Setup.exe", kFakeProgram);
  folder.WriteFile(L"other\\Setup.exe.manifest", "another program's manifest");
  const fs::path backup = folder.Folder() / L"backup";
  ZelvoProcess zelvo(folder, Quoted({first}));
  const MainWindow window = zelvo.WaitForMainWindow();

  // No: the old manifest stays, nothing is backed up or logged.
  ExpectBoxAndAnswer(zelvo, ReplaceManifestQuestion("Setup.exe"), Answer::No);
  WaitForStatusLine(window, CancelledStatus("Setup.exe"));
  EXPECT_TRUE(NoBoxAfterSync(zelvo, window));
  EXPECT_THAT(ManifestOf(folder, first), Optional(std::string("the user's own manifest")));
  EXPECT_FALSE(folder.Exists(backup));
  EXPECT_THAT(window.Rows(ControlId(Control::lstLogName)), IsEmpty());

  // Yes: the backup folder is made, the old manifest copied under its own name, then replaced.
  window.DropFiles({first});
  ExpectBoxAndAnswer(zelvo, ReplaceManifestQuestion("Setup.exe"), Answer::Yes);
  EXPECT_TRUE(NoBoxAfterSync(zelvo, window));
  ExpectStatusLine(window, AppliedStatus("Setup.exe"));
  EXPECT_THAT(ManifestOf(folder, first), Optional(X86Manifest()));
  EXPECT_THAT(FolderListing(backup), ElementsAre("Setup.exe.manifest"));
  EXPECT_THAT(folder.ReadFile(backup / L"Setup.exe.manifest"),
              Optional(std::string("the user's own manifest")));

  // Another program of the same name, then the first one again: every copy is kept, the later
  // ones under names that begin with the manifest's.
  window.DropFiles({second});
  ExpectBoxAndAnswer(zelvo, ReplaceManifestQuestion("Setup.exe"), Answer::Yes);
  EXPECT_TRUE(NoBoxAfterSync(zelvo, window));
  window.DropFiles({first});
  ExpectBoxAndAnswer(zelvo, ReplaceManifestQuestion("Setup.exe"), Answer::Yes);
  EXPECT_TRUE(NoBoxAfterSync(zelvo, window));
  EXPECT_THAT(ManifestOf(folder, second), Optional(X86Manifest()));
  EXPECT_THAT(ManifestOf(folder, first), Optional(X86Manifest()));
  EXPECT_THAT(FolderListing(backup),
              ElementsAre("Setup.exe.manifest", "Setup.exe.manifest.2", "Setup.exe.manifest.3"));
  EXPECT_THAT(folder.ReadFile(backup / L"Setup.exe.manifest"),
              Optional(std::string("the user's own manifest")));
  EXPECT_THAT(folder.ReadFile(backup / L"Setup.exe.manifest.2"),
              Optional(std::string("another program's manifest")));
  EXPECT_THAT(folder.ReadFile(backup / L"Setup.exe.manifest.3"), Optional(X86Manifest()));

  // Each application is an entry of its own.
  EXPECT_THAT(window.Rows(ControlId(Control::lstLogName)),
              ElementsAre("Setup.exe", "Setup.exe", "Setup.exe"));
  EXPECT_EQ(window.SelectedRows(ControlId(Control::lstLogName)).size(), 1u);
  ExpectEntryShown(window, "Setup.exe", FolderOf(first), Today());
}

TEST(ApplyBoxes, AShortcutIsFollowedToItsProgram) {
  ToolFolder folder;
  const fs::path foo = folder.WriteFile(L"apps\\Foo.exe", kFakeProgram);
  const fs::path bar = folder.WriteFile(L"apps\\Bar.exe", kFakeProgram);
  const fs::path foo_link = folder.Root() / L"links\\Foo Link.lnk";
  const fs::path bar_link = folder.Root() / L"links\\Bar.LNK";
  const fs::path gone_link = folder.Root() / L"links\\Gone.lnk";
  fs::create_directories(foo_link.parent_path());
  MakeShortcut(foo_link, foo);
  MakeShortcut(bar_link, bar);
  MakeShortcut(gone_link, folder.Root() / L"apps\\Gone.exe");

  // On the command line the status names the program the shortcut leads to. A shortcut that
  // is not there (a typo) is a missing program like any other, and the batch goes on.
  const fs::path typo_link = folder.Root() / L"links\\Fo Link.lnk";
  ZelvoProcess zelvo(folder, Quoted({typo_link, foo_link}));
  const MainWindow window = zelvo.WaitForMainWindow();
  ExpectBoxAndAnswer(zelvo, MissingProgramWarning(), Answer::Ok);
  ExpectBoxAndAnswer(zelvo, ShortcutNotice("Foo Link.lnk"), Answer::Ok);
  WaitForStatusLine(window, AppliedStatus("Foo.exe"));
  EXPECT_TRUE(NoBoxAfterSync(zelvo, window));
  EXPECT_THAT(ManifestOf(folder, foo), Optional(X86Manifest()));
  EXPECT_THAT(window.Rows(ControlId(Control::lstLogName)), ElementsAre("Foo.exe"));
  ExpectEntryShown(window, "Foo.exe", FolderOf(foo), Today());

  // Dropped, it names the shortcut itself; one whose program is gone is warned of.
  window.DropFiles({bar_link, gone_link});
  ExpectBoxAndAnswer(zelvo, ShortcutNotice("Bar.LNK"), Answer::Ok);
  ExpectBoxAndAnswer(zelvo, ShortcutNotice("Gone.lnk"), Answer::Ok);
  EXPECT_TRUE(BoxShows(zelvo.WaitForBox(), MissingProgramWarning()));
  ExpectStatusLine(window, AppliedStatus("Bar.LNK"));
  zelvo.WaitForBox().Answer(Answer::Ok);
  EXPECT_TRUE(NoBoxAfterSync(zelvo, window));
  ExpectStatusLine(window, CancelledStatus("Gone.lnk"));
  EXPECT_THAT(ManifestOf(folder, bar), Optional(X86Manifest()));
  EXPECT_THAT(FolderListing(foo_link.parent_path()),
              ElementsAre("Bar.LNK", "Foo Link.lnk", "Gone.lnk"));
  EXPECT_THAT(window.Rows(ControlId(Control::lstLogName)), ElementsAre("Bar.exe", "Foo.exe"));
  EXPECT_THAT(window.SelectedTexts(ControlId(Control::lstLogName)), ElementsAre("Bar.exe"));

  CloseAndExpectLog(zelvo, window,
                    {{"Bar.exe", FolderOf(bar), Today()}, {"Foo.exe", FolderOf(foo), Today()}});
}

TEST(ApplyBoxes, AProgramWithAnEmbeddedManifestIsAskedAbout) {
  ToolFolder folder;
  const fs::path themed = CopyInto(folder, PeImage(L"x64", L"cc6"), L"apps\\Themed.exe");
  const fs::path trusted = CopyInto(folder, PeImage(L"x86", L"trust_info"), L"apps\\Trusted.exe");
  const fs::path themed32 = CopyInto(folder, PeImage(L"x86", L"cc6"), L"apps\\Themed32.exe");
  const fs::path trusted64 =
      CopyInto(folder, PeImage(L"x64", L"trust_info"), L"apps\\Trusted64.exe");

  // No writes nothing.
  ZelvoProcess zelvo(folder, Quoted({themed, trusted}));
  const MainWindow window = zelvo.WaitForMainWindow();
  ExpectBoxAndAnswer(zelvo, EmbeddedThemedQuestion("Themed.exe"), Answer::No);
  ExpectBoxAndAnswer(zelvo, EmbeddedManifestQuestion("Trusted.exe"), Answer::No);
  WaitForStatusLine(window, CancelledStatus("Trusted.exe"));
  EXPECT_TRUE(NoBoxAfterSync(zelvo, window));
  EXPECT_THAT(FolderListing(themed.parent_path()),
              ElementsAre("Themed.exe", "Themed32.exe", "Trusted.exe", "Trusted64.exe"));
  EXPECT_THAT(window.Rows(ControlId(Control::lstLogName)), IsEmpty());

  // Yes writes the document for the image's processor.
  window.DropFiles({themed32, trusted64});
  ExpectBoxAndAnswer(zelvo, EmbeddedThemedQuestion("Themed32.exe"), Answer::Yes);
  ExpectBoxAndAnswer(zelvo, EmbeddedManifestQuestion("Trusted64.exe"), Answer::Yes);
  EXPECT_TRUE(NoBoxAfterSync(zelvo, window));
  ExpectStatusLine(window, AppliedStatus("Trusted64.exe"));
  EXPECT_THAT(ManifestOf(folder, themed32), Optional(X86Manifest()));
  EXPECT_THAT(ManifestOf(folder, trusted64), Optional(AnyProcessorManifest()));
  EXPECT_THAT(window.Rows(ControlId(Control::lstLogName)),
              ElementsAre("Themed32.exe", "Trusted64.exe"));

  // The question comes after the one about a file that is no program and before the one about
  // a manifest already there.
  const fs::path renamed = CopyInto(folder, PeImage(L"x64", L"cc6"), L"apps\\Themed.dat");
  folder.WriteFile(L"apps\\Themed.dat.manifest", "old");
  window.DropFiles({renamed});
  ExpectBoxAndAnswer(zelvo, NotAProgramQuestion("Themed.dat"), Answer::Yes);
  ExpectBoxAndAnswer(zelvo, EmbeddedThemedQuestion("Themed.dat"), Answer::Yes);
  ExpectBoxAndAnswer(zelvo, ReplaceManifestQuestion("Themed.dat"), Answer::Yes);
  EXPECT_TRUE(NoBoxAfterSync(zelvo, window));
  EXPECT_THAT(ManifestOf(folder, renamed), Optional(AnyProcessorManifest()));
  EXPECT_THAT(folder.ReadFile(folder.Folder() / L"backup\\Themed.dat.manifest"),
              Optional(std::string("old")));
}

TEST(Drops, OnTheWindowAndOnEveryVisibleControlApply) {
  ToolFolder folder;
  ZelvoProcess zelvo(folder);
  const MainWindow window = zelvo.WaitForMainWindow();
  const int targets[] = {0,
                         ControlId(Control::fraDropPoint),
                         ControlId(Control::lblDropPoint),
                         ControlId(Control::lblInformation),
                         ControlId(Control::fraLog),
                         ControlId(Control::lstLogName),
                         ControlId(Control::txtLogName),
                         ControlId(Control::txtLogData),
                         ControlId(Control::txtLogPath),
                         ControlId(Control::cmdReturn),
                         ControlId(Control::cmdDelLog),
                         ControlId(Control::cmdShell)};
  std::vector<Entry> entries;
  for (int target : targets) {
    SCOPED_TRACE(target);
    const std::string name = std::to_string(target) + ".exe";
    const fs::path program = folder.WriteFile(L"apps\\" + Wide(name), kFakeProgram);
    if (target == 0) {
      window.DropFiles({program});
    } else {
      window.DropFiles(target, {program});
    }
    EXPECT_TRUE(NoBoxAfterSync(zelvo, window));
    ExpectStatusLine(window, AppliedStatus(name));
    EXPECT_THAT(ManifestOf(folder, program), Optional(X86Manifest()));
    // Each drop starts a batch of its own: only its program stays selected.
    EXPECT_THAT(window.SelectedTexts(ControlId(Control::lstLogName)), ElementsAre(name));
    ExpectEntryShown(window, name, FolderOf(program), Today());
    entries.push_back({name, FolderOf(program), Today()});
  }
  EXPECT_EQ(window.Rows(ControlId(Control::lstLogName)).size(), std::size(targets));
  std::sort(entries.begin(), entries.end(),
            [](const Entry& a, const Entry& b) { return a.name < b.name; });
  CloseAndExpectLog(zelvo, window, entries);
}

TEST(Drops, SeveralFilesAreAppliedInTheirOrderAfterTheSelectionIsCleared) {
  ToolFolder folder;
  folder.WriteIni(IniWith({{"Old.exe", "C:\\Old\\", "2025/01/02"}}));
  const fs::path second = folder.WriteFile(L"apps\\b.exe", kFakeProgram);
  const fs::path first = folder.WriteFile(L"apps\\A.exe", kFakeProgram);
  const fs::path notes = folder.WriteFile(L"apps\\notes.txt", "notes");
  const fs::path gone = folder.Root() / L"apps\\gone.exe";
  // A program deeper than the old limit of 260 characters.
  fs::path deep_folder = folder.Root() / L"deep";
  while (deep_folder.wstring().size() < 300) deep_folder /= L"a-folder-with-a-long-name";
  const fs::path deep = folder.WriteFile(deep_folder / L"Deep.exe", kFakeProgram);
  ZelvoProcess zelvo(folder);
  const MainWindow window = zelvo.WaitForMainWindow();
  window.ClickRow(ControlId(Control::lstLogName), 0);
  ExpectEntryShown(window, "Old.exe", "C:\\Old\\", "2025/01/02");

  window.DropFiles(ControlId(Control::lstLogName), {first, notes, gone, deep, second});
  ExpectBoxAndAnswer(zelvo, NotAProgramQuestion("notes.txt"), Answer::No);
  EXPECT_TRUE(BoxShows(zelvo.WaitForBox(), MissingProgramWarning()));
  ExpectStatusLine(window, CancelledStatus("notes.txt"));
  zelvo.WaitForBox().Answer(Answer::Ok);
  EXPECT_TRUE(NoBoxAfterSync(zelvo, window));
  ExpectStatusLine(window, AppliedStatus("b.exe"));

  EXPECT_THAT(FolderListing(first.parent_path()),
              ElementsAre("A.exe", "A.exe.manifest", "b.exe", "b.exe.manifest", "notes.txt"));
  EXPECT_THAT(ManifestOf(folder, deep), Optional(X86Manifest()));
  EXPECT_THAT(window.Rows(ControlId(Control::lstLogName)),
              ElementsAre("A.exe", "b.exe", "Deep.exe", "Old.exe"));
  EXPECT_THAT(window.SelectedRows(ControlId(Control::lstLogName)), ElementsAre(0, 1, 2));
  EXPECT_EQ(window.CaretRow(ControlId(Control::lstLogName)), 1);
  ExpectEntryShown(window, "b.exe...", FolderOf(second), Today());

  // A drop that carries no file only clears the selection.
  window.DropFiles(ControlId(Control::txtLogPath), {});
  EXPECT_TRUE(NoBoxAfterSync(zelvo, window));
  EXPECT_THAT(window.SelectedRows(ControlId(Control::lstLogName)), IsEmpty());
  ExpectViewDisabled(window, "b.exe", FolderOf(second), Today());
  ExpectStatusLine(window, AppliedStatus("b.exe"));

  CloseAndExpectLog(zelvo, window,
                    {{"A.exe", FolderOf(first), Today()},
                     {"b.exe", FolderOf(second), Today()},
                     {"Deep.exe", FolderOf(deep), Today()},
                     {"Old.exe", "C:\\Old\\", "2025/01/02"}});
}

TEST(LogList, ShiftAndCtrlWithTheMouseAndShiftWithTheKeyboardShowTheCurrentRow) {
  ToolFolder folder;
  folder.WriteIni(IniWith({{"A.exe", "C:\\A\\", "2025/01/01"},
                           {"B.exe", "C:\\B\\", "2025/02/02"},
                           {"C.exe", "C:\\C\\", "2025/03/03"},
                           {"D.exe", "C:\\D\\", "2025/04/04"}}));
  ZelvoProcess zelvo(folder);
  const MainWindow window = zelvo.WaitForMainWindow();
  EXPECT_THAT(window.SelectedRows(ControlId(Control::lstLogName)), IsEmpty());
  ExpectViewDisabled(window);

  // The mouse.
  window.ClickRow(ControlId(Control::lstLogName), 1);
  EXPECT_THAT(window.SelectedRows(ControlId(Control::lstLogName)), ElementsAre(1));
  ExpectEntryShown(window, "B.exe", "C:\\B\\", "2025/02/02");
  window.ClickRow(ControlId(Control::lstLogName), 3, Keys::Shift);
  EXPECT_THAT(window.SelectedRows(ControlId(Control::lstLogName)), ElementsAre(1, 2, 3));
  ExpectEntryShown(window, "D.exe...", "C:\\D\\", "2025/04/04");
  window.ClickRow(ControlId(Control::lstLogName), 2, Keys::Control);
  EXPECT_THAT(window.SelectedRows(ControlId(Control::lstLogName)), ElementsAre(1, 3));
  // The current row is the one clicked last, selected or not.
  ExpectEntryShown(window, "C.exe...", "C:\\C\\", "2025/03/03");
  window.ClickRow(ControlId(Control::lstLogName), 1, Keys::Control);
  window.ClickRow(ControlId(Control::lstLogName), 3, Keys::Control);
  // Nothing selected: the boxes are disabled and still show the row clicked last.
  EXPECT_THAT(window.SelectedRows(ControlId(Control::lstLogName)), IsEmpty());
  ExpectViewDisabled(window, "D.exe", "C:\\D\\", "2025/04/04");
  window.ClickRow(ControlId(Control::lstLogName), 0, Keys::Control);
  EXPECT_THAT(window.SelectedRows(ControlId(Control::lstLogName)), ElementsAre(0));
  ExpectEntryShown(window, "A.exe", "C:\\A\\", "2025/01/01");

  // The keyboard: an arrow moves the selection, Shift extends it. (Wine's list box takes no
  // notice of Ctrl with the keyboard, so Ctrl is the mouse's alone here.)
  PressKey(window, ControlId(Control::lstLogName), VK_DOWN);
  EXPECT_THAT(window.SelectedRows(ControlId(Control::lstLogName)), ElementsAre(1));
  ExpectEntryShown(window, "B.exe", "C:\\B\\", "2025/02/02");
  PressKey(window, ControlId(Control::lstLogName), VK_DOWN, Keys::Shift);
  PressKey(window, ControlId(Control::lstLogName), VK_DOWN, Keys::Shift);
  EXPECT_THAT(window.SelectedRows(ControlId(Control::lstLogName)), ElementsAre(1, 2, 3));
  ExpectEntryShown(window, "D.exe...", "C:\\D\\", "2025/04/04");
  PressKey(window, ControlId(Control::lstLogName), VK_HOME);
  EXPECT_THAT(window.SelectedRows(ControlId(Control::lstLogName)), ElementsAre(0));
  ExpectEntryShown(window, "A.exe", "C:\\A\\", "2025/01/01");
  PressKey(window, ControlId(Control::lstLogName), VK_END, Keys::Shift);
  EXPECT_THAT(window.SelectedRows(ControlId(Control::lstLogName)), ElementsAre(0, 1, 2, 3));
  ExpectEntryShown(window, "D.exe...", "C:\\D\\", "2025/04/04");

  // A selection changes nothing on disk until the close, which keeps the order of the names.
  CloseAndExpectLog(zelvo, window,
                    {{"A.exe", "C:\\A\\", "2025/01/01"},
                     {"B.exe", "C:\\B\\", "2025/02/02"},
                     {"C.exe", "C:\\C\\", "2025/03/03"},
                     {"D.exe", "C:\\D\\", "2025/04/04"}});
}

}  // namespace
}  // namespace zelvo::e2e
