// The end-to-end driver proven against the fixture window (fixtures/fixture.cpp), which writes
// every event it receives to report.txt: what the driver reads must be what the program shows,
// and what it does must reach the program as a user's action would.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "driver/driver.h"
#include "win32/window/control_ids.h"
#include "win32/system/strings.h"

namespace zelvo::e2e {
namespace {

using namespace zelvo::win32;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Optional;

Program Fixture() { return {E2E_FIXTURE_EXE, L"ZelvoE2eFixture"}; }

std::vector<std::string> Report(const ToolFolder& folder) {
  std::vector<std::string> lines;
  std::istringstream report(folder.ReadFile(folder.Folder() / L"report.txt").value_or(""));
  for (std::string line; std::getline(report, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

bool Reported(const ToolFolder& folder, const std::string& line) {
  const std::vector<std::string> lines = Report(folder);
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

bool WaitForReport(const ToolFolder& folder, const std::string& line) {
  return WaitFor([&] { return Reported(folder, line); });
}

std::vector<std::string> ReportedSelections(const ToolFolder& folder) {
  std::vector<std::string> lines;
  for (const std::string& line : Report(folder)) {
    if (line.rfind("selchange", 0) == 0) lines.push_back(line);
  }
  return lines;
}

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(DriverProcess, RunsACopyInItsOwnFolderAndGivesItsExitCode) {
  ToolFolder folder(Fixture());
  const std::string ini = "2.20\r\nA.exe\r\nC:\\A\\\r\n2024/01/02\r\n\r\n";
  folder.WriteIni(ini);
  ZelvoProcess fixture(folder, L"/exit:7");
  const MainWindow window = fixture.WaitForMainWindow();

  std::wstring image(32768, L'\0');
  DWORD size = static_cast<DWORD>(image.size());
  ASSERT_TRUE(QueryFullProcessImageNameW(fixture.Handle(), 0, image.data(), &size));
  image.resize(size);
  EXPECT_EQ(CompareStringOrdinal(image.c_str(), -1, folder.ProgramPath().c_str(), -1, TRUE),
            CSTR_EQUAL);
  EXPECT_EQ(folder.ProgramPath().parent_path(), folder.Folder());
  EXPECT_THAT(folder.ReadIni(), Optional(ini));
  EXPECT_EQ(fixture.ExitCode(), std::nullopt);

  window.Close();
  EXPECT_THAT(fixture.WaitForExit(), Optional(7u));
  EXPECT_FALSE(fixture.Running());
}

TEST(DriverProcess, EndsTheProgramAndRemovesItsFolderWithTheTest) {
  std::filesystem::path root;
  win32::UniqueHandle process;
  {
    ToolFolder folder(Fixture());
    root = folder.Root();
    folder.WriteFile(L"apps\\readonly.txt", "x");
    SetFileAttributesW((root / L"apps\\readonly.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    ZelvoProcess fixture(folder);
    fixture.WaitForMainWindow();
    process.Reset(OpenProcess(SYNCHRONIZE, FALSE, fixture.Id()));
    ASSERT_TRUE(process);
  }
  EXPECT_EQ(WaitForSingleObject(process.Get(), 0), WAIT_OBJECT_0);
  EXPECT_FALSE(std::filesystem::exists(root));
}

TEST(DriverProcess, TellsAtOnceWhenTheProgramEndsWithoutItsWindow) {
  ToolFolder folder(Fixture());
  ZelvoProcess fixture(folder, L"/nowindow /exit:3");
  const auto started = GetTickCount64();
  try {
    fixture.WaitForMainWindow();
    ADD_FAILURE() << "a window was found";
  } catch (const DriverError& error) {
    EXPECT_THAT(error.what(), HasSubstr("ended with exit code 3"));
  }
  EXPECT_LT(GetTickCount64() - started, static_cast<ULONGLONG>(kTimeout.count()));
  EXPECT_THROW(fixture.WaitForBox(), DriverError);
  EXPECT_THAT(fixture.ExitCode(), Optional(3u));
}

TEST(DriverProcess, TwoProgramsFromOneFolderRunApartOnScreen) {
  ToolFolder folder(Fixture());
  ZelvoProcess first(folder);
  ZelvoProcess second(folder);
  const MainWindow one = first.WaitForMainWindow();
  const MainWindow two = second.WaitForMainWindow();
  EXPECT_NE(first.Id(), second.Id());
  EXPECT_NE(one.Handle(), two.Handle());
  RECT a{}, b{}, both{};
  GetWindowRect(one.Handle(), &a);
  GetWindowRect(two.Handle(), &b);
  EXPECT_FALSE(IntersectRect(&both, &a, &b)) << "windows of two programs overlap";
}

TEST(DriverWindow, ReadsCaptionTextsStatesAndLayout) {
  ToolFolder folder(Fixture());
  ZelvoProcess fixture(folder);
  const MainWindow window = fixture.WaitForMainWindow();

  EXPECT_EQ(window.Caption(), "Fixture ちゃん");
  EXPECT_EQ(window.Text(ControlId(Control::lblDropPoint)), "ココにドロップしてください。");
  EXPECT_EQ(window.Text(ControlId(Control::fraLog)), "一覧");
  EXPECT_EQ(window.Text(ControlId(Control::cmdReturn)), "箱を出す");
  EXPECT_EQ(window.Text(ControlId(Control::lblInformation)), "");
  EXPECT_EQ(window.Text(ControlId(Control::txtLogPath)), "隠れています");

  EXPECT_TRUE(window.IsEnabled(ControlId(Control::cmdReturn)));
  EXPECT_FALSE(window.IsEnabled(ControlId(Control::cmdDelLog)));
  EXPECT_TRUE(window.IsVisible(ControlId(Control::cmdDelLog)));
  EXPECT_FALSE(window.IsVisible(ControlId(Control::txtLogPath)));

  EXPECT_EQ(window.ControlClass(ControlId(Control::lstLogName)), "ListBox");
  EXPECT_EQ(window.ControlClass(ControlId(Control::txtLogName)), "Edit");
  EXPECT_EQ(window.ControlClass(ControlId(Control::lblDropPoint)), "Static");
  EXPECT_EQ(window.Style(ControlId(Control::fraLog)) & BS_TYPEMASK,
            static_cast<DWORD>(BS_GROUPBOX));
  EXPECT_TRUE(window.Style(ControlId(Control::txtLogName)) & ES_READONLY);

  const SIZE client = window.ClientSize();
  EXPECT_EQ(client.cx, 400);
  EXPECT_EQ(client.cy, 300);
  EXPECT_TRUE(SameRect(window.Rect(ControlId(Control::lstLogName)), RECT{16, 96, 216, 180}));
  EXPECT_TRUE(SameRect(window.Rect(ControlId(Control::cmdDelLog)), RECT{144, 252, 264, 282}));

  EXPECT_THAT(window.ControlOrder(),
              ElementsAre(ControlId(Control::fraDropPoint), ControlId(Control::lblDropPoint),
                          ControlId(Control::lblInformation), ControlId(Control::fraLog),
                          ControlId(Control::lstLogName), ControlId(Control::txtLogName),
                          ControlId(Control::txtLogPath), ControlId(Control::cmdReturn),
                          ControlId(Control::cmdDelLog)));

  EXPECT_FALSE(window.HasControl(4242));
  EXPECT_THROW(window.Text(4242), DriverError);
}

TEST(DriverWindow, ReadsToolTipsFromTheProgramsToolTipControl) {
  ToolFolder folder(Fixture());
  ZelvoProcess fixture(folder);
  const MainWindow window = fixture.WaitForMainWindow();

  EXPECT_THAT(window.ToolTip(ControlId(Control::lstLogName)),
              Optional(std::string("ソフトが一覧されます。")));
  EXPECT_THAT(window.ToolTip(ControlId(Control::txtLogName)),
              Optional(std::string("名前が表示されます。")));
  EXPECT_THAT(window.ToolTip(ControlId(Control::cmdReturn)),
              Optional(std::string("次の箱を出します。")));
  EXPECT_THAT(window.ToolTip(ControlId(Control::cmdDelLog)), Optional(std::string()));
  EXPECT_EQ(window.ToolTip(ControlId(Control::lblDropPoint)), std::nullopt);
}

TEST(DriverWindow, ReadsColoursFromTheScreen) {
  ToolFolder folder(Fixture());
  ZelvoProcess fixture(folder, L"/rows:Alpha|Beta");
  const MainWindow window = fixture.WaitForMainWindow();
  const COLORREF dark_blue = RGB(0, 0, 128);
  const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);

  const Image label = window.CaptureControl(ControlId(Control::lblDropPoint));
  EXPECT_EQ(label.Width(), 368);
  EXPECT_EQ(label.Height(), 18);
  EXPECT_EQ(label.MostCommon(), GetSysColor(COLOR_BTNFACE));
  EXPECT_GT(label.Count(dark_blue), 20u);
  EXPECT_EQ(label.Count(highlight), 0u);

  window.ClickRow(ControlId(Control::lstLogName), 0);
  ASSERT_EQ(window.Text(ControlId(Control::lblInformation)), "1 件選択");
  const Image status = window.CaptureControl(ControlId(Control::lblInformation));
  EXPECT_GT(status.Count(highlight), 10u);
  EXPECT_EQ(status.Count(dark_blue), 0u);
}

TEST(DriverList, ClicksSelectRowsAsAUserDoes) {
  ToolFolder folder(Fixture());
  ZelvoProcess fixture(folder, L"/rows:a|b|c|d|e|f|g|h|i|j");
  const MainWindow window = fixture.WaitForMainWindow();
  EXPECT_THAT(window.Rows(ControlId(Control::lstLogName)),
              ElementsAre("a", "b", "c", "d", "e", "f", "g", "h", "i", "j"));
  EXPECT_THAT(window.SelectedRows(ControlId(Control::lstLogName)), IsEmpty());

  // Each click is handled when ClickRow returns: the program's reaction reads at once.
  window.ClickRow(ControlId(Control::lstLogName), 1);
  EXPECT_THAT(window.SelectedRows(ControlId(Control::lstLogName)), ElementsAre(1));
  EXPECT_EQ(window.CaretRow(ControlId(Control::lstLogName)), 1);
  EXPECT_EQ(window.Text(ControlId(Control::txtLogName)), "b");
  EXPECT_THAT(window.FocusedControl(), Optional(ControlId(Control::lstLogName)));

  window.ClickRow(ControlId(Control::lstLogName), 3, Keys::Control);
  EXPECT_THAT(window.SelectedRows(ControlId(Control::lstLogName)), ElementsAre(1, 3));
  // Shift extends from the last row clicked without it, and drops the rest.
  window.ClickRow(ControlId(Control::lstLogName), 5, Keys::Shift);
  EXPECT_THAT(window.SelectedRows(ControlId(Control::lstLogName)), ElementsAre(3, 4, 5));
  EXPECT_EQ(window.CaretRow(ControlId(Control::lstLogName)), 5);
  EXPECT_EQ(window.Text(ControlId(Control::txtLogName)), "f");
  window.ClickRow(ControlId(Control::lstLogName), 3, Keys::Control);
  EXPECT_THAT(window.SelectedRows(ControlId(Control::lstLogName)), ElementsAre(4, 5));

  // Row 9 lies below the visible part of the list.
  window.ClickRow(ControlId(Control::lstLogName), 9);
  EXPECT_THAT(window.SelectedTexts(ControlId(Control::lstLogName)), ElementsAre("j"));
  EXPECT_EQ(window.Text(ControlId(Control::txtLogName)), "j");

  // One notification per click, with the selection the program saw at that moment.
  EXPECT_THAT(ReportedSelections(folder),
              ElementsAre("selchange 1 caret 1", "selchange 1 3 caret 3", "selchange 3 4 5 caret 5",
                          "selchange 4 5 caret 3", "selchange 9 caret 9"));
  // The fence leaves nothing behind.
  EXPECT_EQ(
      SendMessageW(window.Control(ControlId(Control::lstLogName)), LB_GETHORIZONTALEXTENT, 0, 0),
      0);

  EXPECT_THROW(window.ClickRow(ControlId(Control::lstLogName), 10), DriverError);
  EXPECT_THROW(window.Click(ControlId(Control::cmdDelLog)), DriverError);
}

TEST(DriverBoxes, ReadsEveryIconButtonSetAndDefaultAndAnswers) {
  ToolFolder folder(Fixture());
  ZelvoProcess fixture(
      folder,
      L"\"/box:0x40|Zelvoちゃん|XPスタイルを適用しました。\" "
      L"\"/box:0x124|元に戻す - 処理の確認|2 個のソフトを元に戻しますか？\\n本当に？\" "
      L"\"/box:0x30|警告|見つかりません。\" "
      L"\"/box:0x14|エラー|止まります。\\n\\n番号: 5\"");
  const MainWindow window = fixture.WaitForMainWindow();

  window.Click(ControlId(Control::cmdReturn));
  ExpectBoxAndAnswer(
      fixture, Notice("XPスタイルを適用しました。", "Zelvoちゃん", Icon::Information), Answer::Ok);
  EXPECT_TRUE(WaitForReport(folder, "answer 1"));

  window.Click(ControlId(Control::cmdReturn));
  const MessageBoxWindow question = fixture.WaitForBox();
  EXPECT_TRUE(BoxShows(question, Question("2 個のソフトを元に戻しますか？\r\n本当に？",
                                          "元に戻す - 処理の確認", DefaultButton::Second)));
  EXPECT_THAT(question.Buttons(), ElementsAre(IDYES, IDNO));
  EXPECT_THAT(question.DefaultButton(), Optional(IDNO));
  question.Answer(Answer::No);
  EXPECT_TRUE(WaitForReport(folder, "answer 7"));

  window.Click(ControlId(Control::cmdReturn));
  ExpectBoxAndAnswer(fixture, Notice("見つかりません。", "警告", Icon::Warning), Answer::Ok);

  window.Click(ControlId(Control::cmdReturn));
  const MessageBoxWindow stop = fixture.WaitForBox();
  EXPECT_THAT(stop.ReadIcon(), Optional(Icon::Stop));
  EXPECT_THAT(stop.DefaultButton(), Optional(IDYES));
  EXPECT_EQ(stop.Text(), "止まります。\r\n\r\n番号: 5");
  stop.Answer(Answer::Yes);
  EXPECT_TRUE(WaitForReport(folder, "answer 6"));
  EXPECT_EQ(fixture.FindBox(), std::nullopt);
}

TEST(DriverBoxes, AMismatchNamesEveryDifference) {
  ToolFolder folder(Fixture());
  ZelvoProcess fixture(folder, L"\"/startbox:0x40|題|本文\\n二行目\" /nowindow");
  const MessageBoxWindow box = fixture.WaitForBox();

  const ::testing::AssertionResult result =
      BoxShows(box, Question("本文", "題名", DefaultButton::Second));
  EXPECT_FALSE(result);
  const std::string message = result.message();
  EXPECT_THAT(message, HasSubstr("text: shown \"本文\\r\\n二行目\", expected \"本文\""));
  EXPECT_THAT(message, HasSubstr("title: shown \"題\", expected \"題名\""));
  EXPECT_THAT(message, HasSubstr("buttons: shown OK, expected Yes/No"));
  EXPECT_THAT(message, HasSubstr("default button: shown OK, expected No"));
  EXPECT_THAT(message, HasSubstr("icon: shown information, expected question"));
  EXPECT_TRUE(BoxShows(box, Notice("本文\r\n二行目", "題", Icon::Information)));
  box.Answer(Answer::Ok);
  EXPECT_TRUE(fixture.WaitForExit().has_value());
}

TEST(DriverBoxes, FindsABoxShownBeforeAnyWindow) {
  ToolFolder folder(Fixture());
  ZelvoProcess fixture(folder,
                       L"\"/startbox:0x30|Zelvoちゃん|既にZelvoちゃんは起動されています。\" "
                       L"/nowindow /exit:0");
  ExpectBoxAndAnswer(fixture,
                     Notice("既にZelvoちゃんは起動されています。", "Zelvoちゃん", Icon::Warning),
                     Answer::Ok);
  EXPECT_THAT(fixture.WaitForExit(), Optional(0u));
  EXPECT_TRUE(Reported(folder, "answer 1"));
}

TEST(DriverClose, ClosesAsTheCloseBoxAltF4AndWmCloseDo) {
  struct Way {
    void (MainWindow::*close)() const;
    std::vector<std::string> events;
  };
  const Way ways[] = {
      {&MainWindow::Close, {"shown", "close", "destroy"}},
      {&MainWindow::CloseBySystemCommand, {"shown", "syscommand close", "close", "destroy"}},
      {&MainWindow::PressAltF4, {"shown", "syscommand close", "close", "destroy"}},
  };
  for (const Way& way : ways) {
    ToolFolder folder(Fixture());
    ZelvoProcess fixture(folder, L"/exit:5");
    const MainWindow window = fixture.WaitForMainWindow();
    (window.*way.close)();
    EXPECT_THAT(fixture.WaitForExit(), Optional(5u));
    EXPECT_EQ(Report(folder), way.events);
  }
}

TEST(DriverClose, LogsOffAsWindowsDoes) {
  ToolFolder folder(Fixture());
  ZelvoProcess fixture(folder);
  const MainWindow window = fixture.WaitForMainWindow();
  EXPECT_TRUE(window.LogOff());
  EXPECT_TRUE(fixture.WaitForExit().has_value());
  const std::string logoff = std::to_string(static_cast<LPARAM>(ENDSESSION_LOGOFF));
  EXPECT_THAT(Report(folder), ElementsAre("shown", "queryendsession " + logoff,
                                          "endsession 1 " + logoff, "destroy"));
}

TEST(DriverDrops, DeliversPathsToTheWindowAndItsControls) {
  ToolFolder folder(Fixture());
  ZelvoProcess fixture(folder);
  const MainWindow window = fixture.WaitForMainWindow();
  const std::wstring long_path =
      L"C:\\" + std::wstring(150, L'長') + L"\\" + std::wstring(150, L'x') + L".exe";

  window.DropFiles({L"C:\\a b\\x.exe", L"C:\\ツール\\y.lnk"});
  EXPECT_TRUE(WaitForReport(folder, "drop 0 0,0 1 2 C:\\a b\\x.exe|C:\\ツール\\y.lnk"));
  // On a control, at the centre of its client area.
  const auto centre = [&](int id) {
    RECT client{};
    GetClientRect(window.Control(id), &client);
    return std::to_string(client.right / 2) + "," + std::to_string(client.bottom / 2);
  };
  window.DropFiles(ControlId(Control::lstLogName), {long_path});
  EXPECT_TRUE(WaitForReport(
      folder, "drop 1005 " + centre(ControlId(Control::lstLogName)) + " 1 1 " + Utf8(long_path)));
  // The program's DragFinish cannot free the block (Wine says ERROR_INVALID_HANDLE) and goes on.
  EXPECT_TRUE(Reported(folder, "dragfinish 6"));
  window.DropFiles(ControlId(Control::txtLogName), {L"C:\\z.exe"});
  EXPECT_TRUE(WaitForReport(
      folder, "drop 1006 " + centre(ControlId(Control::txtLogName)) + " 1 1 C:\\z.exe"));
  EXPECT_TRUE(fixture.Running());
}

TEST(DriverDrops, DropsAtAPointWhereTheShellWould) {
  ToolFolder folder(Fixture());
  ZelvoProcess fixture(folder);
  const MainWindow window = fixture.WaitForMainWindow();
  const auto centre = [&](int id) {
    const RECT rect = window.Rect(id);
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  };

  EXPECT_EQ(window.DropFilesAt(centre(ControlId(Control::lstLogName)), {L"C:\\1.exe"}),
            ControlId(Control::lstLogName));
  EXPECT_EQ(window.DropFilesAt(centre(ControlId(Control::txtLogName)), {L"C:\\2.exe"}),
            ControlId(Control::txtLogName));
  // A disabled button, and a label and frame that let the mouse through: the window gets it.
  EXPECT_EQ(window.DropFilesAt(centre(ControlId(Control::cmdDelLog)), {L"C:\\3.exe"}), 0);
  EXPECT_EQ(window.DropFilesAt(centre(ControlId(Control::lblDropPoint)), {L"C:\\4.exe"}), 0);
  window.Sync();
  std::vector<std::string> drops;
  for (const std::string& line : Report(folder)) {
    if (line.rfind("drop ", 0) == 0) drops.push_back(line.substr(0, line.find(' ', 5)));
  }
  EXPECT_THAT(drops, ElementsAre("drop 1005", "drop 1006", "drop 0", "drop 0"));
}

// The pixels of a 24-bit bottom-up BMP file, checking its headers on the way.
Image ReadBmp(const std::string& file) {
  BITMAPFILEHEADER header{};
  BITMAPINFOHEADER info{};
  if (file.size() < sizeof(header) + sizeof(info)) {
    ADD_FAILURE() << "a BMP file of " << file.size() << " bytes";
    return {};
  }
  std::memcpy(&header, file.data(), sizeof(header));
  std::memcpy(&info, file.data() + sizeof(header), sizeof(info));
  EXPECT_EQ(header.bfType, 0x4D42);
  EXPECT_EQ(header.bfSize, file.size());
  EXPECT_EQ(info.biBitCount, 24);
  EXPECT_EQ(info.biCompression, static_cast<DWORD>(BI_RGB));
  // Rows of blue, green, red, each padded to four bytes, the bottom row first.
  const size_t row_size = (static_cast<size_t>(info.biWidth) * 3 + 3) / 4 * 4;
  if (header.bfOffBits + row_size * static_cast<size_t>(info.biHeight) > file.size()) {
    ADD_FAILURE() << "the BMP file is shorter than its pixels";
    return {};
  }
  std::vector<COLORREF> pixels;
  for (int y = 0; y < info.biHeight; ++y) {
    const auto* row = reinterpret_cast<const unsigned char*>(
        file.data() + header.bfOffBits + static_cast<size_t>(info.biHeight - 1 - y) * row_size);
    for (int x = 0; x < info.biWidth; ++x) {
      pixels.push_back(RGB(row[x * 3 + 2], row[x * 3 + 1], row[x * 3]));
    }
  }
  return Image(info.biWidth, info.biHeight, std::move(pixels));
}

TEST(DriverScreenshot, SavesTheWindowAsA24BitBmp) {
  ToolFolder folder(Fixture());
  ZelvoProcess fixture(folder, L"/rows:Alpha|Beta");
  const MainWindow window = fixture.WaitForMainWindow();

  // The window as a whole, frame included; not a blank capture.
  const std::filesystem::path screenshot = folder.Root() / L"window.bmp";
  window.SaveScreenshot(screenshot);
  const Image saved = ReadBmp(folder.ReadFile(screenshot).value_or(""));
  RECT frame{};
  GetWindowRect(window.Handle(), &frame);
  EXPECT_EQ(saved.Width(), frame.right - frame.left);
  EXPECT_EQ(saved.Height(), frame.bottom - frame.top);
  EXPECT_GT(saved.Count(GetSysColor(COLOR_BTNFACE)), 1000u);
  EXPECT_GT(saved.Count(RGB(0, 0, 128)), 20u);

  // Every pixel in its place, in rows padded to four bytes, compared with the very image saved:
  // two captures may differ, as the caption changes colour when another test's window takes
  // the focus.
  const Image shown = window.Capture();
  ASSERT_NE(shown.Width() % 4, 0) << "a width that needs no padding proves less";
  const std::filesystem::path capture = folder.Root() / L"capture.bmp";
  shown.SaveBmp(capture);
  EXPECT_EQ(ReadBmp(folder.ReadFile(capture).value_or("")), shown);
}

}  // namespace
}  // namespace zelvo::e2e
