// The list as the keyboard and the right mouse button reach it in the real window: Delete, Enter
// and Ctrl+A, and the context menu (right click, the menu key, Shift+F10) with the buttons'
// actions, the programs' folder and their paths.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "driver/driver.h"
#include "win32/system/strings.h"
#include "win32/window/control_ids.h"
#include "support.h"

namespace zelvo::e2e {
namespace {

namespace fs = std::filesystem;
using namespace zelvo::win32;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr int kList = ControlId(Control::lstLogName);

// Presses `key` in the program's context menu, and returns once the program has done what the
// menu asked (the menu closes before the program acts on it).
void PressInMenu(const ZelvoProcess& zelvo, const MainWindow& window, UINT key) {
  EXPECT_TRUE(zelvo.PressInMenu(key)) << "the menu stayed open";
  window.Sync();
}

TEST(ListKeys, DeleteEnterAndCtrlADoWhatTheButtonsAndAClickDo) {
  ToolFolder folder;
  const std::vector<Entry> entries = {{"Alpha.exe", "C:\\A\\", "2024/06/01"},
                                      {"Bravo.exe", "C:\\B\\", "2024/06/02"},
                                      {"Charlie.exe", "C:\\C\\", "2024/06/03"}};
  folder.WriteIni(IniWith(entries));
  ZelvoProcess zelvo(folder);
  const MainWindow window = zelvo.WaitForMainWindow();
  const std::string status = window.Text(ControlId(Control::lblInformation));

  // Nothing selected: the buttons are disabled, and so are their keys.
  for (UINT key : {VK_DELETE, VK_RETURN}) {
    PressKey(window, kList, key);
    EXPECT_TRUE(NoBoxAfterSync(zelvo, window)) << key;
  }
  EXPECT_EQ(window.Text(ControlId(Control::lblInformation)), status);

  // Ctrl+A selects every row; the details and the buttons follow as after a click.
  PressKey(window, kList, 'A', Keys::Control);
  EXPECT_THAT(window.SelectedRows(kList), ElementsAre(0, 1, 2));
  ExpectEntryShown(window, "Alpha.exe...", "C:\\A\\", "2024/06/01");

  PressKey(window, kList, VK_RETURN);
  ExpectBoxAndAnswer(zelvo, LaunchQuestion(3), Answer::No);
  EXPECT_TRUE(NoBoxAfterSync(zelvo, window));
  ExpectStatusLine(window, expected::kLaunchCancelled);

  PressKey(window, kList, VK_DELETE);
  ExpectBoxAndAnswer(zelvo, RemoveQuestion(3), Answer::No);
  EXPECT_TRUE(NoBoxAfterSync(zelvo, window));
  ExpectStatusLine(window, expected::kRemoveCancelled);
  EXPECT_THAT(window.SelectedRows(kList), ElementsAre(0, 1, 2));

  PressKey(window, kList, VK_DELETE);
  ExpectBoxAndAnswer(zelvo, RemoveQuestion(3), Answer::Yes);
  EXPECT_TRUE(NoBoxAfterSync(zelvo, window));
  ExpectStatusLine(window, expected::kRemoved);
  EXPECT_THAT(window.Rows(kList), IsEmpty());
  ExpectViewDisabled(window);
  CloseAndExpectLog(zelvo, window, {});
}

TEST(ListMenu, OffersTheButtonsActionsTheFolderAndThePathsOnTheSelection) {
  ToolFolder folder;
  // A folder of its own, so that no other Explorer window is taken for its own; a Japanese
  // name reaches the shell and the clipboard whole.
  const fs::path apps = folder.Root() / (L"ソフト " + std::to_wstring(GetCurrentProcessId()));
  const std::string apps_text = Text(apps) + "\\";
  const std::vector<Entry> entries = {
      {"Alpha.exe", apps_text, "2024/07/01"},
      {"Bravo.exe", apps_text, "2024/07/02"},
      {"Gone.exe", Text(folder.Root() / L"gone") + "\\", "2024/07/03"}};
  folder.WriteFile(apps / L"Alpha.exe", kFakeProgram);
  folder.WriteFile(apps / L"Bravo.exe", kFakeProgram);
  folder.WriteIni("\xEF\xBB\xBF" + IniWith(entries));  // UTF-8, as its mark says
  ZelvoProcess zelvo(folder);
  const MainWindow window = zelvo.WaitForMainWindow();

  // Nothing selected: every item is disabled, and choosing one does nothing.
  const std::string status = window.Text(ControlId(Control::lblInformation));
  PressKey(window, kList, VK_APPS);
  if (!zelvo.PressInMenu('M')) zelvo.PressInMenu(VK_ESCAPE);
  EXPECT_TRUE(NoBoxAfterSync(zelvo, window));
  EXPECT_EQ(window.Text(ControlId(Control::lblInformation)), status);

  // A right click on a row that is not selected selects it alone, as a left click would.
  window.RightClickRow(kList, 1);
  PressInMenu(zelvo, window, 'C');
  EXPECT_THAT(window.SelectedRows(kList), ElementsAre(1));
  ExpectEntryShown(window, "Bravo.exe", apps_text, "2024/07/02");
  EXPECT_EQ(ClipboardText(), apps_text + "Bravo.exe");
  ExpectStatusLine(window, expected::PathsCopied(1));

  // On a selected row it keeps the whole selection; Shift+F10 opens the same menu.
  window.ClickRow(kList, 0, Keys::Control);
  window.RightClickRow(kList, 1);
  PressInMenu(zelvo, window, VK_ESCAPE);
  EXPECT_THAT(window.SelectedRows(kList), ElementsAre(0, 1));
  PressKey(window, kList, VK_F10, Keys::Shift);
  PressInMenu(zelvo, window, 'C');
  EXPECT_EQ(ClipboardText(), apps_text + "Alpha.exe\r\n" + apps_text + "Bravo.exe");
  ExpectStatusLine(window, expected::PathsCopied(2));

  // The folder: Explorer shows it (Wine's Explorer shows the folder without selecting files).
  PressKey(window, kList, VK_APPS);
  PressInMenu(zelvo, window, 'F');
  const HWND explorer = WaitForFolderWindow(apps);
  EXPECT_NE(explorer, nullptr) << "Explorer did not show the folder";
  if (explorer) PostMessageW(explorer, WM_CLOSE, 0, 0);
  WaitForStatusLine(window, expected::FolderOpened("Alpha.exe"));

  // A program that is gone gets the launch's notice.
  window.RightClickRow(kList, 2);
  PressInMenu(zelvo, window, 'F');
  ExpectBoxAndAnswer(zelvo, NotFoundNotice("Gone.exe"), Answer::Ok);
  EXPECT_TRUE(NoBoxAfterSync(zelvo, window));

  // The buttons' actions, with their questions.
  const struct {
    UINT key;
    Message question;
    std::string_view cancelled;
  } actions[] = {
      {'R', RestoreQuestion(1), expected::kRestoreCancelled},
      {'M', RemoveQuestion(1), expected::kRemoveCancelled},
      {'S', LaunchQuestion(1), expected::kLaunchCancelled},
  };
  for (const auto& action : actions) {
    SCOPED_TRACE(std::string(action.cancelled));
    window.RightClickRow(kList, 2);
    PressInMenu(zelvo, window, action.key);
    ExpectBoxAndAnswer(zelvo, action.question, Answer::No);
    EXPECT_TRUE(NoBoxAfterSync(zelvo, window));
    ExpectStatusLine(window, action.cancelled);
  }
  EXPECT_THAT(window.Rows(kList), ElementsAre("Alpha.exe", "Bravo.exe", "Gone.exe"));
}

}  // namespace
}  // namespace zelvo::e2e
