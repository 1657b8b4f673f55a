// The texts of the main window's controls: given when set, read back at once by whoever asks the
// control, even when a batch sets them many times before anything is drawn; the fixed English
// texts whole in their controls, and the text boxes' lines whole, at 96 and 144 DPI.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "win32/window/common_controls.h"
#include "win32/window/control_ids.h"
#include "win32/window/main_window.h"
#include "win32/system/strings.h"
#include "test_support.h"

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
  test::UnexpectedFailures reporter;
  ErrorTrap trap{reporter};
  CommonControls common_controls{ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  Win32MainWindow window{GetModuleHandleW(nullptr), SW_SHOWNORMAL, Texts::For("ja"), trap};
  HWND Control(int id) const { return GetDlgItem(window.Handle(), id); }
};

TEST_F(MainWindowTextTest, EveryControlReadsTheTextItWasLastGiven) {
  window.Show();
  PaintEverything();
  for (int i = 0; i < 1000; ++i) {
    window.ShowEntry("p" + std::to_string(i) + ".exe...", "C:\\Tools\\" + std::to_string(i) + "\\",
                     "2026/12/07");
    window.ShowStatus("p" + std::to_string(i) + ".exe に、XPスタイルを適用しました！");
  }
  EXPECT_EQ(TextOf(Control(ControlId(Control::txtLogName))), "p999.exe...");
  EXPECT_EQ(TextOf(Control(ControlId(Control::txtLogPath))), "C:\\Tools\\999\\");
  EXPECT_EQ(TextOf(Control(ControlId(Control::txtLogData))), "2026/12/07");
  EXPECT_EQ(TextOf(Control(ControlId(Control::lblInformation))),
            "p999.exe に、XPスタイルを適用しました！");

  // Emptied and disabled, as when the selection goes; drawn, and read again.
  window.ShowEntry("", "", "");
  window.EnableActions(false);
  PaintEverything();
  for (const auto control : {Control::txtLogName, Control::txtLogPath, Control::txtLogData}) {
    EXPECT_EQ(TextOf(this->Control(ControlId(control))), "");
  }
  for (const auto control : {Control::txtLogName, Control::txtLogPath, Control::txtLogData,
                             Control::cmdReturn, Control::cmdDelLog, Control::cmdShell}) {
    EXPECT_FALSE(IsWindowEnabled(this->Control(ControlId(control))));
  }
  window.SetCaption("Zelvoちゃん Version 2.20");
  EXPECT_EQ(TextOf(window.Handle()), "Zelvoちゃん Version 2.20");
}

TEST_F(MainWindowTextTest, ATextSetWhileHiddenIsThereWhenTheWindowIsShown) {
  window.ShowStatus("この度は、Zelvoをダウンロードして頂きありがとうございます。");
  window.ShowEntry("", "C:\\長いフォルダ\\", "");
  window.Show();
  PaintEverything();
  wchar_t shown[128] = {};
  // Another process reads the caption a label keeps without asking the label: it must be there
  // once the window has been drawn.
  InternalGetWindowText(Control(ControlId(Control::lblInformation)), shown, 128);
  EXPECT_EQ(Utf8(shown), "この度は、Zelvoをダウンロードして頂きありがとうございます。");
  EXPECT_EQ(TextOf(Control(ControlId(Control::txtLogPath))), "C:\\長いフォルダ\\");
}

// The width a control leaves its text: a button its edges, a frame the gap before its caption.
int RoomForText(ControlKind kind, const RECT& client, UINT dpi) {
  const int width = client.right - client.left;
  switch (kind) {
    case ControlKind::Button:
      return width - 2 * MulDiv(4, static_cast<int>(dpi), 96);
    case ControlKind::Frame:
      return width - 2 * MulDiv(8, static_cast<int>(dpi), 96);
    default:
      return width;
  }
}

// Tells the window it is now on a monitor of `dpi`, as Windows does when it is moved there.
void MoveToDpi(HWND window, UINT dpi) {
  RECT suggested{};
  GetWindowRect(window, &suggested);
  SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

// Runs `measure` on a device context of `control` that holds the control's font.
template <class Measure>
void WithFontOf(HWND control, Measure measure) {
  const HDC dc = GetDC(control);
  const HGDIOBJ old =
      SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
  measure(dc);
  SelectObject(dc, old);
  ReleaseDC(control, dc);
}

// The English texts are new to the window's layout. (The Japanese drop label, in Wine's wider
// stand-in for the Japanese UI font, is shrunk to fit as the status line is.)
TEST(MainWindowFitTest, EveryFixedTextFitsItsControlAtEachDpi) {
  test::UnexpectedFailures reporter;
  ErrorTrap trap{reporter};
  CommonControls common_controls{ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  for (const char* language : {"en"}) {
    const Texts& texts = Texts::For(language);
    Win32MainWindow window{GetModuleHandleW(nullptr), SW_SHOWNORMAL, texts, trap};
    for (const UINT dpi : {96u, 144u}) {
      MoveToDpi(window.Handle(), dpi);
      for (const ControlRow& row : kControlRows) {
        if (row.text == TextId::None) continue;
        SCOPED_TRACE(std::string(language) + " " + std::to_string(dpi) + " DPI " +
                     std::string(row.name));
        const HWND control = GetDlgItem(window.Handle(), row.id);
        const std::wstring text = Wide(texts.Get(row.text));
        SIZE size{};
        WithFontOf(control, [&](HDC dc) {
          GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        });
        RECT client{};
        GetClientRect(control, &client);
        EXPECT_LE(size.cx, RoomForText(row.kind, client, dpi)) << "the text is cut";
        EXPECT_LE(size.cy, client.bottom - client.top) << "the text is cut";
        // At 144 DPI the font grows with the control: a text drawn at 96 DPI size fits anyway.
        if (dpi == 144) {
          EXPECT_GE(size.cy, 15) << "the font did not follow the DPI";
        }
      }
    }
  }
}

// The name, folder and date boxes are one line of text 270 twips high with a client edge: the
// edit box lays its line out in its formatting rectangle, which stays inside that edge and cuts
// whatever of the font's cell lies below it (the descenders of p and g).
TEST(MainWindowFitTest, EveryTextBoxShowsItsTextWholeAtEachDpi) {
  test::UnexpectedFailures reporter;
  ErrorTrap trap{reporter};
  CommonControls common_controls{ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  const struct {
    const char* language;
    const char* name;
    const char* folder;
  } entries[] = {
      {"ja", "設定ツール.exe...", "C:\\Program Files\\業務用ソフト\\"},
      {"en", "Spy Program.exe...", "C:\\Program Files\\Typography\\"},
  };
  for (const auto& entry : entries) {
    Win32MainWindow window{GetModuleHandleW(nullptr), SW_SHOWNORMAL, Texts::For(entry.language),
                           trap};
    window.ShowEntry(entry.name, entry.folder, "2026/12/07");
    std::map<Control, int> cell_at_96;
    for (const UINT dpi : {96u, 144u}) {
      MoveToDpi(window.Handle(), dpi);
      for (const ControlRow& row : kControlRows) {
        if (row.kind != ControlKind::TextBox) continue;
        SCOPED_TRACE(std::string(entry.language) + " " + std::to_string(dpi) + " DPI " +
                     std::string(row.name));
        const HWND control = GetDlgItem(window.Handle(), row.id);
        TEXTMETRICW metrics{};
        WithFontOf(control, [&](HDC dc) { GetTextMetricsW(dc, &metrics); });
        RECT room{};
        SendMessageW(control, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&room));
        const int cell = metrics.tmAscent + metrics.tmDescent;
        EXPECT_LE(cell, room.bottom - room.top) << "the text is cut";
        if (dpi == 96) {
          cell_at_96[row.control] = cell;
        } else {
          EXPECT_GT(cell, cell_at_96[row.control]) << "the font did not follow the DPI";
        }
      }
    }
  }
}

}  // namespace
}  // namespace zelvo::win32
