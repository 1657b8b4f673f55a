// Zelvo on a Windows whose display language is English (these tests run with
// ZELVO_LOCALE=en_US.UTF-8, and the program inherits the driver's locale): the window at start,
// one apply with each kind of box, a restore and an error report, all in English with no
// Japanese character; and the screenshot of the English window that README.md shows.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "driver/driver.h"
#include "win32/window/control_ids.h"
#include "win32/system/win32_error.h"
#include "support.h"

namespace zelvo::e2e {
namespace {

namespace fs = std::filesystem;
namespace english = expected::english;
using namespace zelvo::win32;
using ::testing::ElementsAre;
using ::testing::Optional;

// Whether a text the user sees is free of anything but plain English (no byte beyond ASCII).
::testing::AssertionResult PlainEnglish(std::string_view text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) > 0x7F) {
      return ::testing::AssertionFailure() << "not plain English: " << text;
    }
  }
  return ::testing::AssertionSuccess();
}

class English : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(PRIMARYLANGID(GetUserDefaultUILanguage()), LANG_ENGLISH)
        << "run with ZELVO_LOCALE=en_US.UTF-8";
  }
  // The box comes as given, in plain English, and is answered.
  void ExpectEnglishBox(const ZelvoProcess& zelvo, const Message& box, Answer answer) {
    EXPECT_TRUE(PlainEnglish(box.text + box.title));
    ExpectBoxAndAnswer(zelvo, box, answer);
  }
};

TEST_F(English, TheWindowAtStart) {
  ToolFolder folder;
  ZelvoProcess zelvo(folder);
  const MainWindow window = zelvo.WaitForMainWindow();

  EXPECT_EQ(window.Caption(), english::Caption("2.20"));
  ExpectStartTextsAndToolTips(window, &english::StartText, &english::ToolTip);
  WaitForStatusLine(window, english::kGreeting);
}

TEST_F(English, ScreenReadersNameTheListAndTheDetailBoxes) {
  ToolFolder folder;
  ZelvoProcess zelvo(folder);
  const MainWindow window = zelvo.WaitForMainWindow();
  ExpectAccessibleNames(window, &english::AccessibleName);
}

TEST_F(English, ApplyWithEachKindOfBox) {
  ToolFolder folder;
  const fs::path program = folder.WriteFile(L"apps\\Caf\u00e9.exe", kFakeProgram);
  const fs::path link = folder.Root() / L"links\\Foo Link.lnk";
  fs::create_directories(link.parent_path());
  MakeShortcut(link, program);
  const fs::path notes = folder.WriteFile(L"apps\\Notes.txt", "not a program");

  ZelvoProcess zelvo(folder, Quoted({folder.Root() / L"apps\\Gone.exe", notes, link}));
  ExpectEnglishBox(zelvo, english::MissingProgramWarning(), Answer::Ok);
  ExpectEnglishBox(zelvo, english::NotAProgramQuestion("Notes.txt"), Answer::No);
  ExpectEnglishBox(zelvo, english::ShortcutNotice("Foo Link.lnk"), Answer::Ok);
  const MainWindow window = zelvo.WaitForMainWindow();
  WaitForStatusLine(window, english::AppliedStatus("Caf\u00e9.exe"));
  EXPECT_THAT(window.Rows(ControlId(Control::lstLogName)), ElementsAre("Caf\u00e9.exe"));
  EXPECT_THAT(folder.ReadFile(program.wstring() + L".manifest"), Optional(X86Manifest()));
  // The log is written as on a Japanese system, in the system's code page: 1252 here.
  CloseAndExpectLog(zelvo, window, {{"Caf\xE9.exe", FolderOf(program), Today()}});
}

TEST_F(English, RestoreAsksAndSaysWhenItIsDone) {
  ToolFolder folder;
  const fs::path program = folder.WriteFile(L"apps\\Foo.exe", kFakeProgram);
  const fs::path manifest = folder.WriteFile(program.wstring() + L".manifest", X86Manifest());
  folder.WriteIni(IniWith({{"Foo.exe", FolderOf(program), "2026/12/01"}}));
  ZelvoProcess zelvo(folder);
  const MainWindow window = zelvo.WaitForMainWindow();

  window.ClickRow(ControlId(Control::lstLogName), 0);
  window.Click(ControlId(Control::cmdReturn));
  ExpectEnglishBox(zelvo, english::RestoreQuestion(1), Answer::Yes);
  WaitForStatusLine(window, english::kRestoreDone);
  EXPECT_FALSE(folder.Exists(manifest));
  CloseAndExpectLog(zelvo, window, {});
}

TEST_F(English, AnUnexpectedErrorIsReportedInEnglish) {
  ToolFolder folder;
  folder.WriteFile(folder.Folder() / L"backup", "a file where the backup folder would be");
  const fs::path program = folder.WriteFile(L"apps\\Foo.exe", kFakeProgram);
  folder.WriteFile(program.wstring() + L".manifest", "old");

  ZelvoProcess zelvo(folder, Quoted({program}));
  ExpectEnglishBox(zelvo, english::ReplaceManifestQuestion("Foo.exe"), Answer::Yes);
  // Windows' own description is in English too.
  const Message report = english::ErrorReport("BackupManifest()", ERROR_ALREADY_EXISTS,
                                              DescribeError(ERROR_ALREADY_EXISTS));
  ExpectEnglishBox(zelvo, report, Answer::Ok);
  EXPECT_THAT(zelvo.WaitForExit(), Optional(1u));
}

TEST_F(English, ScreenshotWithAnEntrySelected) {
  SaveScreenshotWithAnEntrySelected(ZELVO_SCREENSHOT_ENGLISH);
}

}  // namespace
}  // namespace zelvo::e2e
