// The log file on a real disk in code page 932: Japanese names are written as exact Shift-JIS
// bytes (a trail byte may be a backslash) and read back, and a name Shift-JIS cannot hold makes
// the file UTF-8.
#include <windows.h>

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "application/error_report.h"
#include "application/log_file.h"
#include "model/log_model.h"
#include "application/log_view.h"
#include "win32/system/clock.h"
#include "win32/system/file_system.h"
#include "win32/system/process.h"
#include "win32/system/shell.h"
#include "win32/system/shortcuts.h"
#include "win32/system/text_codec.h"
#include "test_support.h"

namespace zelvo::test {
namespace {

class RecordedDialogs : public Dialogs {
 public:
  Answer Show(const Message& message) override {
    shown.push_back(message);
    return Answer::Ok;
  }
  std::vector<Message> shown;
};

class QuietEnvironment : public Environment {
 public:
  ProgramVersion Version() override { return {2, 20}; }
  bool PreviousInstanceRunning() override { return false; }
  std::string ProgramFolder() override { return {}; }
  std::string CommandLine() override { return {}; }
  bool Elevated() override { return false; }
  ElevatedStart StartElevated(std::string_view) override { return {ElevatedStart::Declined, {}}; }
  std::optional<std::string> TakeHandOver() override { return std::nullopt; }
  std::string DescribeFailure(int32_t number) override { return std::to_string(number); }
};

std::string Lines(std::initializer_list<std::string_view> lines) {
  std::string text;
  for (auto line : lines) text.append(line).append("\r\n");
  return text;
}

struct LogFileCp932Test : ::testing::Test {
  TempFolder temp;
  win32::Win32FileSystem files;
  win32::Win32AnsiCodePage code_page;
  win32::Win32Collator collator;
  RecordedDialogs dialogs;
  QuietEnvironment environment;
  QuietView view;
  const Texts& texts = Texts::For("ja");
  win32::Win32Shortcuts shortcuts;
  win32::Win32Clock clock;
  win32::Win32ProcessLauncher launcher;
  win32::Win32Shell shell;
  win32::Win32Clipboard clipboard;
  Platform platform{dialogs,  files,    shortcuts, clock, environment, code_page,
                    collator, launcher, view,      texts, shell,       clipboard};
  ErrorReport report{dialogs, texts, environment};
  ErrorTrap trap{report};
  LogModel log{collator};
  LogView log_view{log, view, trap};
  LogFile log_file{platform, log, log_view, trap, temp.Path() + "\\", "2.20"};

  bool Load() {
    return trap.Guard("(test)", [&] { log_file.LoadListData(); });
  }
  bool Save() {
    return trap.Guard("(test)", [&] { log_file.SaveListData(); });
  }

  std::string Ini() const { return temp.Path("zelvo.ini"); }

  void SetUp() override { ASSERT_EQ(GetACP(), 932u); }

  // The entries in visible order, as name|folder|date.
  std::vector<std::string> Entries() const {
    std::vector<std::string> entries;
    for (size_t row = 0; row < log.Count(); ++row) {
      const LogEntry* entry = log.InItemData(log.Key(row));
      entries.push_back(entry->name + "|" + entry->folder + "|" + entry->date);
    }
    return entries;
  }
};

TEST_F(LogFileCp932Test, JapaneseNamesAreWrittenAsShiftJisAndReadBack) {
  log.Add({"ゼルボ.exe", "C:\\ツール\\表示\\", "2026/12/07"});
  log.Add({"A.exe", "C:\\A\\", "2026/12/06"});
  ASSERT_TRUE(Save());
  EXPECT_EQ(ReadBytes(Ini()),
            Lines({"2.20", "A.exe", "C:\\A\\", "2026/12/06", "\x83\x5B\x83\x8B\x83\x7B.exe",
                   "C:\\\x83\x63\x81\x5B\x83\x8B\\\x95\x5C\x8E\xA6\\", "2026/12/07", ""}));

  ASSERT_TRUE(Load());
  EXPECT_EQ(Entries(), (std::vector<std::string>{"A.exe|C:\\A\\|2026/12/06",
                                                 "ゼルボ.exe|C:\\ツール\\表示\\|2026/12/07"}));
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_EQ(ListFolder(temp.Path()), "zelvo.ini");
}

TEST_F(LogFileCp932Test, AShiftJisFileFromEarlierReads) {
  WriteBytes(Ini(),
             Lines({"2.20", "\x95\x5C\x8E\xA6.exe", "D:\\\x95\x5C\x8E\xA6\\", "2005/03/09", ""}));
  ASSERT_TRUE(Load());
  EXPECT_EQ(Entries(), std::vector<std::string>{"表示.exe|D:\\表示\\|2005/03/09"});
}

TEST_F(LogFileCp932Test, AHalfCharacterBeforeALineEndKeepsTheLines) {
  // 0x95 starts a two-byte character; the carriage return after it is still a line end.
  WriteBytes(Ini(), Lines({"2.20", "\x95", "D:\\\x95\x5C\x8E\xA6\\", "2005/03/09", "A.exe",
                           "C:\\A\\", "2005/03/10", ""}));
  ASSERT_TRUE(Load());
  // The half character reads as the code page's default character (a symbol: it sorts first).
  EXPECT_EQ(Entries(),
            (std::vector<std::string>{"・|D:\\表示\\|2005/03/09", "A.exe|C:\\A\\|2005/03/10"}));
}

TEST_F(LogFileCp932Test, ANameShiftJisCannotHoldMakesTheFileUtf8) {
  log.Add({"게임.exe", "C:\\ゲーム\\", "2026/12/07"});
  ASSERT_TRUE(Save());
  EXPECT_EQ(ReadBytes(Ini()),
            "\xEF\xBB\xBF" + Lines({"2.20", "게임.exe", "C:\\ゲーム\\", "2026/12/07", ""}));
  ASSERT_TRUE(Load());
  EXPECT_EQ(Entries(), std::vector<std::string>{"게임.exe|C:\\ゲーム\\|2026/12/07"});
}

TEST_F(LogFileCp932Test, AnotherVersionsFileIsKeptBesideTheNewOne) {
  const std::string old_file = Lines({"2.10", "\x95\x5C\x8E\xA6.exe", "D:\\", "2005/03/09", ""});
  WriteBytes(Ini(), old_file);
  ASSERT_TRUE(Load());
  EXPECT_EQ(log.Count(), 0u);
  ASSERT_TRUE(Save());
  EXPECT_EQ(ReadBytes(Ini()), "2.20\r\n\r\n");
  EXPECT_EQ(ReadBytes(temp.Path("zelvo.ini.2.10.bak")), old_file);
  EXPECT_TRUE(dialogs.shown.empty());
}

}  // namespace
}  // namespace zelvo::test
