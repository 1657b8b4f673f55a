// The texts of the main window's controls: given when set, read back at once by whoever asks the
// control, even when a batch sets them many times before anything is drawn.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "win32/common_controls.h"
#include "win32/control_ids.h"
#include "win32/main_window.h"
#include "win32/strings.h"

namespace zelvo::win32 {
namespace {

std::string TextOf(HWND control) {
  const auto length = static_cast<size_t>(SendMessageW(control, WM_GETTEXTLENGTH, 0, 0));
  std::wstring text(length + 1, L'\0');
  text.resize(static_cast<size_t>(
      SendMessageW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
  return Utf8(text);
}

void PaintEverything() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

struct MainWindowTextTest : ::testing::Test {
  CommonControls common_controls{ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  Win32MainWindow window{GetModuleHandleW(nullptr), SW_SHOWNORMAL, Texts::For("ja")};
  HWND Control(int id) const { return GetDlgItem(window.Handle(), id); }
};

TEST_F(MainWindowTextTest, EveryControlReadsTheTextItWasLastGiven) {
  window.Show();
  PaintEverything();
  for (int i = 0; i < 1000; ++i) {
    window.SetText(zelvo::Control::txtLogName, "p" + std::to_string(i) + ".exe...");
    window.SetText(zelvo::Control::txtLogPath, "C:\\Tools\\" + std::to_string(i) + "\\");
    window.SetText(zelvo::Control::txtLogData, "2026/12/07");
    window.SetText(zelvo::Control::lblInformation,
                   "p" + std::to_string(i) + ".exe に、XPスタイルを適用しました！");
  }
  EXPECT_EQ(TextOf(Control(ControlId(Control::txtLogName))), "p999.exe...");
  EXPECT_EQ(TextOf(Control(ControlId(Control::txtLogPath))), "C:\\Tools\\999\\");
  EXPECT_EQ(TextOf(Control(ControlId(Control::txtLogData))), "2026/12/07");
  EXPECT_EQ(TextOf(Control(ControlId(Control::lblInformation))),
            "p999.exe に、XPスタイルを適用しました！");

  // Emptied and disabled, as when the selection goes; drawn, and read again.
  window.SetText(zelvo::Control::txtLogName, "");
  window.SetEnabled(zelvo::Control::txtLogName, false);
  PaintEverything();
  EXPECT_EQ(TextOf(Control(ControlId(Control::txtLogName))), "");
  EXPECT_FALSE(IsWindowEnabled(Control(ControlId(Control::txtLogName))));
  window.SetText(zelvo::Control::frmMain, "Zelvoちゃん Version 2.20");
  EXPECT_EQ(TextOf(window.Handle()), "Zelvoちゃん Version 2.20");
}

TEST_F(MainWindowTextTest, ATextSetWhileHiddenIsThereWhenTheWindowIsShown) {
  window.SetText(zelvo::Control::lblInformation,
                 "この度は、Zelvoをダウンロードして頂きありがとうございます。");
  window.SetText(zelvo::Control::txtLogPath, "C:\\長いフォルダ\\");
  window.Show();
  PaintEverything();
  wchar_t shown[128] = {};
  // Another process reads the caption a label keeps without asking the label: it must be there
  // once the window has been drawn.
  InternalGetWindowText(Control(ControlId(Control::lblInformation)), shown, 128);
  EXPECT_EQ(Utf8(shown), "この度は、Zelvoをダウンロードして頂きありがとうございます。");
  EXPECT_EQ(TextOf(Control(ControlId(Control::txtLogPath))), "C:\\長いフォルダ\\");
}

}  // namespace
}  // namespace zelvo::win32
