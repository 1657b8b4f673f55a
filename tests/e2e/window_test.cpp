// The real window at start: its caption, every control with its text, tool tip, state, place,
// colours and tab order, and the screenshot that README.md shows.
#include <windows.h>

#include <algorithm>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "driver/driver.h"
#include "win32/window/control_ids.h"
#include "win32/window/label_drawing.h"
#include "support.h"

namespace zelvo::e2e {
namespace {

using namespace zelvo::win32;
using ::testing::ElementsAre;
using ::testing::Optional;

// The layout in twips: 15 twips are a pixel at 96 DPI. Controls inside a frame are placed from
// the frame's corner.
struct Place {
  int id;
  int frame;  // 0: the window
  int left, top, width, height;
};
constexpr Place kLayout[] = {
    {ControlId(Control::fraDropPoint), 0, 120, 120, 5415, 1095},
    {ControlId(Control::lblDropPoint), ControlId(Control::fraDropPoint), 120, 360, 5175, 255},
    {ControlId(Control::lblInformation), ControlId(Control::fraDropPoint), 120, 720, 5175, 255},
    {ControlId(Control::fraLog), 0, 120, 1320, 5415, 3615},
    {ControlId(Control::lstLogName), ControlId(Control::fraLog), 240, 360, 4935, 1695},
    {ControlId(Control::txtLogName), ControlId(Control::fraLog), 240, 2160, 3375, 270},
    {ControlId(Control::txtLogPath), ControlId(Control::fraLog), 240, 2520, 4935, 270},
    {ControlId(Control::cmdDelLog), 0, 2040, 4200, 1575, 495},
    {ControlId(Control::cmdShell), 0, 3720, 4200, 1575, 495},
    {ControlId(Control::cmdReturn), 0, 360, 4200, 1575, 495},
    {ControlId(Control::txtLogData), ControlId(Control::fraLog), 3720, 2160, 1455, 270},
};

RECT ExpectedRect(const Place& place) {
  int left = place.left;
  int top = place.top;
  for (const auto& frame : kLayout) {
    if (frame.id == place.frame) {
      left += frame.left;
      top += frame.top;
    }
  }
  return {left / 15, top / 15, (left + place.width) / 15, (top + place.height) / 15};
}

std::string Describe(const RECT& rect) {
  return "{" + std::to_string(rect.left) + "," + std::to_string(rect.top) + "," +
         std::to_string(rect.right) + "," + std::to_string(rect.bottom) + "}";
}

TEST(Window, StartsWithItsCaptionTextsToolTipsAndDisabledControls) {
  ToolFolder folder;
  ZelvoProcess zelvo(folder);
  const MainWindow window = zelvo.WaitForMainWindow();

  EXPECT_EQ(window.Caption(), expected::Caption("2.20"));
  ExpectStartTextsAndToolTips(window, &expected::StartText, &expected::ToolTip);
  // A first run greets the user in the status line, whose tool tip says the same.
  const std::string greeting(expected::kGreeting);
  EXPECT_EQ(window.Text(ControlId(Control::lblInformation)), greeting);
  EXPECT_THAT(window.ToolTip(ControlId(Control::lblInformation)), Optional(greeting));
  EXPECT_EQ(window.ToolTip(ControlId(Control::lblDropPoint)), std::nullopt);

  for (int id : {ControlId(Control::cmdReturn), ControlId(Control::cmdDelLog),
                 ControlId(Control::cmdShell), ControlId(Control::txtLogName),
                 ControlId(Control::txtLogData), ControlId(Control::txtLogPath)}) {
    EXPECT_FALSE(window.IsEnabled(id)) << id;
  }
  for (int id : {ControlId(Control::txtLogName), ControlId(Control::txtLogData),
                 ControlId(Control::txtLogPath)}) {
    EXPECT_EQ(window.Text(id), "") << id;
    EXPECT_EQ(window.ControlClass(id), "Edit");
    EXPECT_TRUE(window.Style(id) & ES_READONLY) << id;
  }
  EXPECT_TRUE(window.Rows(ControlId(Control::lstLogName)).empty());
  EXPECT_EQ(window.ControlClass(ControlId(Control::lstLogName)), "ListBox");
  EXPECT_TRUE(window.Style(ControlId(Control::lstLogName)) & LBS_EXTENDEDSEL);
  EXPECT_FALSE(window.Style(ControlId(Control::lstLogName)) &
               LBS_SORT);  // the program keeps the order
  for (int id : {ControlId(Control::fraDropPoint), ControlId(Control::fraLog)}) {
    EXPECT_EQ(window.Style(id) & BS_TYPEMASK, static_cast<DWORD>(BS_GROUPBOX));
  }
}

TEST(Window, LaysOutEveryControlInTwipsAtNinetySixDpi) {
  ToolFolder folder;
  ZelvoProcess zelvo(folder);
  const MainWindow window = zelvo.WaitForMainWindow();

  const SIZE client = window.ClientSize();
  EXPECT_EQ(client.cx, 5655 / 15);
  EXPECT_EQ(client.cy, 5055 / 15);
  for (const auto& place : kLayout) {
    EXPECT_EQ(Describe(window.Rect(place.id)), Describe(ExpectedRect(place))) << place.id;
  }
  // The buttons line up with the edges of the name list.
  EXPECT_EQ(window.Rect(ControlId(Control::cmdReturn)).left,
            window.Rect(ControlId(Control::lstLogName)).left);
  EXPECT_EQ(window.Rect(ControlId(Control::cmdShell)).right,
            window.Rect(ControlId(Control::lstLogName)).right);
}

// The focused control; when another test's window took the activation meanwhile, the window is
// activated again first, as a user would click its caption, and gives the keyboard back.
std::optional<int> FocusedAfterActivation(const MainWindow& window) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    if (const std::optional<int> id = window.FocusedControl()) return id;
    SetForegroundWindow(window.Handle());
    window.Sync();
  }
  return window.FocusedControl();
}

TEST(Window, TabMovesThroughTheControlsInTheirOrder) {
  ToolFolder folder;
  folder.WriteIni(IniWith({{"A.exe", "C:\\A\\", "2026/01/01"}}));
  ZelvoProcess zelvo(folder);
  const MainWindow window = zelvo.WaitForMainWindow();

  std::vector<int> tab_stops;
  for (int id : window.ControlOrder()) {
    if (window.Style(id) & WS_TABSTOP) tab_stops.push_back(id);
  }
  EXPECT_THAT(tab_stops, ElementsAre(ControlId(Control::lstLogName), ControlId(Control::txtLogName),
                                     ControlId(Control::txtLogPath), ControlId(Control::cmdDelLog),
                                     ControlId(Control::cmdShell), ControlId(Control::cmdReturn),
                                     ControlId(Control::txtLogData)));

  // With an entry selected every control takes the focus in turn, and Tab wraps around.
  window.ClickRow(ControlId(Control::lstLogName), 0);
  ASSERT_THAT(window.FocusedControl(), Optional(ControlId(Control::lstLogName)));
  std::vector<int> visited;
  for (int step = 0; step < 7; ++step) {
    const HWND focused = window.Control(FocusedAfterActivation(window).value_or(0));
    Post(focused, WM_KEYDOWN, VK_TAB, 0);
    Post(focused, WM_KEYUP, VK_TAB, 0xC0000001);
    window.Sync();
    visited.push_back(FocusedAfterActivation(window).value_or(0));
  }
  EXPECT_THAT(visited, ElementsAre(ControlId(Control::txtLogName), ControlId(Control::txtLogPath),
                                   ControlId(Control::cmdDelLog), ControlId(Control::cmdShell),
                                   ControlId(Control::cmdReturn), ControlId(Control::txtLogData),
                                   ControlId(Control::lstLogName)));
}

size_t CountBluish(const Image& image) {
  size_t count = 0;
  for (int y = 0; y < image.Height(); ++y) {
    for (int x = 0; x < image.Width(); ++x) {
      const COLORREF pixel = image.At(x, y);
      const int red = GetRValue(pixel), green = GetGValue(pixel), blue = GetBValue(pixel);
      if (blue >= 96 && red < 96 && green < 96 && blue - std::max(red, green) >= 48) ++count;
    }
  }
  return count;
}

TEST(Window, GivesTheKeyboardBackToItsControlWhenActivatedAgain) {
  ToolFolder folder;
  folder.WriteIni(IniWith({{"Tool.exe", "C:\\Tools\\", "2026/12/01"}}));
  ZelvoProcess zelvo(folder);
  const MainWindow window = zelvo.WaitForMainWindow();
  window.ClickRow(ControlId(Control::lstLogName), 0);

  // After a message box: the button that opened it has the keyboard again.
  window.Click(ControlId(Control::cmdDelLog));
  ExpectBoxAndAnswer(zelvo, RemoveQuestion(1), Answer::No);
  window.Sync();
  EXPECT_THAT(FocusedAfterActivation(window), Optional(ControlId(Control::cmdDelLog)));

  // After another window was active: the control that had it.
  Post(window.Control(ControlId(Control::cmdDelLog)), WM_KEYDOWN, VK_TAB, 0);
  Post(window.Control(ControlId(Control::cmdDelLog)), WM_KEYUP, VK_TAB, 0xC0000001);
  window.Sync();
  ASSERT_THAT(window.FocusedControl(),
              Optional(GetDlgCtrlID(GetNextDlgTabItem(
                  window.Handle(), window.Control(ControlId(Control::cmdDelLog)), FALSE))));
  const int had_focus = *window.FocusedControl();
  const HWND other = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0,
                                     0, 50, 50, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(other, nullptr);
  SetForegroundWindow(other);
  for (int round = 0; round < 20 && GetForegroundWindow() != other; ++round) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    Sleep(10);
  }
  EXPECT_NE(GetForegroundWindow(), window.Handle());
  DestroyWindow(other);
  SetForegroundWindow(window.Handle());
  window.Sync();
  EXPECT_THAT(FocusedAfterActivation(window), Optional(had_focus));
}

TEST(Window, LabelsAndDetailBoxesHaveTheirColours) {
  ToolFolder folder;
  ZelvoProcess zelvo(folder);
  const MainWindow window = zelvo.WaitForMainWindow();
  const COLORREF face = GetSysColor(COLOR_BTNFACE);

  const Image drop_label = window.CaptureControl(ControlId(Control::lblDropPoint));
  EXPECT_EQ(drop_label.MostCommon(), face);
  // The text is smoothed, so only its darkest pixels are exactly dark blue: count the clearly
  // blue ones, which grey or black text would not give.
  EXPECT_GT(CountBluish(drop_label), 40u);

  const Image status = window.CaptureControl(ControlId(Control::lblInformation));
  EXPECT_GT(status.Count(GetSysColor(COLOR_HIGHLIGHT)), 20u);
  EXPECT_EQ(status.Count(RGB(0, 0, 128)), 0u);

  for (int id : {ControlId(Control::txtLogName), ControlId(Control::txtLogData),
                 ControlId(Control::txtLogPath)}) {
    EXPECT_EQ(window.CaptureControl(id).MostCommon(), face) << id;
  }
}

// The list and the detail boxes have no visible label; a screen reader, another program, asks
// each for its accessible object and reads its name.
TEST(Window, ScreenReadersNameTheListAndTheDetailBoxes) {
  ToolFolder folder;
  ZelvoProcess zelvo(folder);
  const MainWindow window = zelvo.WaitForMainWindow();
  ExpectAccessibleNames(window, &expected::AccessibleName);
}

// In a high-contrast theme the labels' own colours (dark blue, the highlight) would vanish on the
// black face: they take the theme's text colour, read off the screen.
TEST(Window, LabelsStayReadableInAHighContrastTheme) {
  const HighContrastColours theme;
  ToolFolder folder;
  ZelvoProcess zelvo(folder);
  const MainWindow window = zelvo.WaitForMainWindow();
  ASSERT_EQ(window.Text(ControlId(Control::lblInformation)), expected::kGreeting);

  for (int id : {ControlId(Control::lblDropPoint), ControlId(Control::lblInformation)}) {
    const Image label = window.CaptureControl(id);
    const COLORREF face = label.MostCommon();
    EXPECT_EQ(face, RGB(0, 0, 0)) << id;
    // The text is smoothed: count its pixels that stand out from the face as WCAG asks of text.
    size_t readable = 0;
    for (int y = 0; y < label.Height(); ++y) {
      for (int x = 0; x < label.Width(); ++x)
        readable += ContrastRatio(label.At(x, y), face) >= 4.5;
    }
    EXPECT_GT(readable, 40u) << id;
  }
}

TEST(Window, ScreenshotWithAnEntrySelected) { SaveScreenshotWithAnEntrySelected(ZELVO_SCREENSHOT); }

}  // namespace
}  // namespace zelvo::e2e
