// The log file's bytes as LoadListData reads them and SaveListData writes them, through the
// fake file system (Latin-1 stands in for the ANSI code page).
#include "application/log_file.h"

#include <initializer_list>

#include <gtest/gtest.h>

#include "application/error_report.h"
#include "fakes/rig.h"
#include "model/log_file_format.h"
#include "texts.h"

namespace zelvo::testing {
namespace {

constexpr char kPath[] = "C:\\Tools\\zelvo.ini";
using expected::kGreeting;

// Lines each followed by CR LF.
std::string Lines(std::initializer_list<std::string_view> lines) {
  std::string text;
  for (auto line : lines) text.append(line).append("\r\n");
  return text;
}

struct LogFileTest : ::testing::Test {
  Rig rig;
  Journal& journal = rig.journal;
  FakeDialogs& dialogs = rig.dialogs;
  FakeFileSystem& files = rig.files;
  LogModel& log = rig.log;

  // Loads or saves as the program does, in an event: false when a failure was reported.
  bool Load() {
    return rig.Event([&] { rig.log_file.LoadListData(); });
  }
  bool Save() {
    return rig.Event([&] { rig.log_file.SaveListData(); });
  }

  // Loads `content` as zelvo.ini; the load must succeed without a word to the user.
  void LoadQuietly(const std::string& content) {
    files.AddFile(kPath, content);
    ASSERT_TRUE(Load());
    EXPECT_TRUE(journal.empty()) << journal.front();
  }

  // The entries in visible order as name|folder|date|key.
  std::vector<std::string> Shown() const {
    std::vector<std::string> shown;
    for (size_t row = 0; row < log.Count(); ++row) {
      const LogEntry* entry = log.InItemData(log.Key(row));
      shown.push_back(log.Name(row) + "|" + entry->folder + "|" + entry->date + "|" +
                      std::to_string(log.Key(row)));
    }
    return shown;
  }

  std::string Saved() const { return files.Find(kPath)->content; }

  std::vector<std::string> FileNamesInTools() const {
    std::vector<std::string> names;
    for (const FakeFile* file : files.FilesIn("C:\\Tools")) names.push_back(file->path);
    return names;
  }

  void ExpectReport(const std::string& source, int32_t code) {
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0], ReportOf(source, Win32Failure(code)));
  }
};

TEST_F(LogFileTest, FirstRunGreetsAndTheSaveCreatesTheFile) {
  ASSERT_TRUE(Load());
  EXPECT_EQ(log.Count(), 0u);
  EXPECT_EQ(journal, Journal{StatusEntry(kGreeting)});
  EXPECT_EQ(rig.view.status, kGreeting);
  EXPECT_TRUE(dialogs.shown.empty());

  ASSERT_TRUE(Save());
  EXPECT_EQ(Saved(), "2.20\r\n\r\n");
  EXPECT_EQ(FileNamesInTools(), std::vector<std::string>{kPath});
}

TEST_F(LogFileTest, AFolderNamedLikeTheFileCountsAsNoFile) {
  files.AddFolder(kPath);
  ASSERT_TRUE(Load());
  EXPECT_EQ(journal, Journal{StatusEntry(kGreeting)});
  // It cannot be replaced either: reported, nothing lost.
  EXPECT_FALSE(Save());
  ExpectReport("SaveListData()", 5);
}

TEST_F(LogFileTest, EntriesGetKeysInFileOrderAndAreSavedInVisibleOrder) {
  LoadQuietly(Lines({"2.20", "b.exe", "C:\\B\\", "2026/01/02", "A.exe", "C:\\A\\", "2026/01/01",
                     "c.exe", "C:\\C\\", "2026/01/03", ""}));
  EXPECT_EQ(Shown(),
            (std::vector<std::string>{"A.exe|C:\\A\\|2026/01/01|1", "b.exe|C:\\B\\|2026/01/02|0",
                                      "c.exe|C:\\C\\|2026/01/03|2"}));
  EXPECT_FALSE(log.CurrentRow());
  EXPECT_EQ(log.SelectedCount(), 0u);

  // An entry added now takes the count plus one; one removed leaves the others their keys.
  const size_t added = log.Add({"a.exe", "C:\\New\\", "2026/12/07"});
  EXPECT_EQ(log.Key(added), 4);
  log.SetSelected(0, true);  // A.exe, key 1
  log.RemoveSelected();
  EXPECT_EQ(Shown(),
            (std::vector<std::string>{"a.exe|C:\\New\\|2026/12/07|4", "b.exe|C:\\B\\|2026/01/02|0",
                                      "c.exe|C:\\C\\|2026/01/03|2"}));

  // Count + 1 is 4 again, held by a.exe: the next entry takes a key nobody holds.
  const size_t next = log.Add({"d.exe", "C:\\D\\", "2026/12/08"});
  for (int32_t held : {0, 2, 4}) EXPECT_NE(log.Key(next), held);

  ASSERT_TRUE(Save());
  EXPECT_EQ(Saved(),
            Lines({"2.20", "a.exe", "C:\\New\\", "2026/12/07", "b.exe", "C:\\B\\", "2026/01/02",
                   "c.exe", "C:\\C\\", "2026/01/03", "d.exe", "C:\\D\\", "2026/12/08", ""}));
  EXPECT_EQ(FileNamesInTools(), std::vector<std::string>{kPath});

  // Read back, the keys follow the saved (alphabetical) order.
  ASSERT_TRUE(Load());
  EXPECT_EQ(Shown(),
            (std::vector<std::string>{"a.exe|C:\\New\\|2026/12/07|0", "b.exe|C:\\B\\|2026/01/02|1",
                                      "c.exe|C:\\C\\|2026/01/03|2", "d.exe|C:\\D\\|2026/12/08|3"}));
}

TEST_F(LogFileTest, TheSameNameInTwoFoldersKeepsEachFolderAndDate) {
  LoadQuietly(Lines(
      {"2.20", "Foo.exe", "C:\\One\\", "2026/01/01", "Foo.exe", "D:\\Two\\", "2026/02/02", ""}));
  log.Add({"foo.exe", "E:\\Three\\", "2026/12/07"});
  ASSERT_TRUE(Save());
  const std::string expected =
      Lines({"2.20", "Foo.exe", "C:\\One\\", "2026/01/01", "Foo.exe", "D:\\Two\\", "2026/02/02",
             "foo.exe", "E:\\Three\\", "2026/12/07", ""});
  EXPECT_EQ(Saved(), expected);
  ASSERT_TRUE(Load());
  ASSERT_TRUE(Save());
  EXPECT_EQ(Saved(), expected);
}

TEST_F(LogFileTest, AnEmptyLogRoundTrips) {
  LoadQuietly("2.20\r\n\r\n");
  EXPECT_EQ(log.Count(), 0u);
  ASSERT_TRUE(Save());
  EXPECT_EQ(Saved(), "2.20\r\n\r\n");
  EXPECT_EQ(FileNamesInTools(), std::vector<std::string>{kPath});
}

TEST_F(LogFileTest, LineEnds) {
  // CR alone ends a line; an LF after a CR belongs to it; an LF alone is text; the last date
  // line may end the file without a line end; a name of spaces is a name.
  LoadQuietly("2.20\rA\nB.exe\r\nC:\\A\\\r2026/01/01\r\n   \rC:\\S\\\r2026/01/02");
  EXPECT_EQ(Shown(), (std::vector<std::string>{"   |C:\\S\\|2026/01/02|1",
                                               "A\nB.exe|C:\\A\\|2026/01/01|0"}));
  ASSERT_TRUE(Save());
  EXPECT_EQ(Saved(), Lines({"2.20", "   ", "C:\\S\\", "2026/01/02", "A\nB.exe", "C:\\A\\",
                            "2026/01/01", ""}));
  EXPECT_EQ(FileNamesInTools(), std::vector<std::string>{kPath});
}

TEST_F(LogFileTest, NamesThatFitTheCodePageAreWrittenInIt) {
  log.Add({"Café.exe", "C:\\Jeux\\Été\\", "2026/12/07"});
  ASSERT_TRUE(Save());
  EXPECT_EQ(Saved(), Lines({"2.20", "Caf\xE9.exe", "C:\\Jeux\\\xC9t\xE9\\", "2026/12/07", ""}));
  ASSERT_TRUE(Load());
  EXPECT_EQ(Shown(), std::vector<std::string>{"Café.exe|C:\\Jeux\\Été\\|2026/12/07|0"});
}

TEST_F(LogFileTest, ANameTheCodePageCannotHoldTurnsTheWholeFileToUtf8) {
  log.Add({"Café.exe", "C:\\Jeux\\", "2026/12/07"});
  log.Add({"Łódź.exe", "C:\\게임\\", "2026/12/07"});
  ASSERT_TRUE(Save());
  EXPECT_EQ(Saved(), "\xEF\xBB\xBF" + Lines({"2.20", "Café.exe", "C:\\Jeux\\", "2026/12/07",
                                             "Łódź.exe", "C:\\게임\\", "2026/12/07", ""}));
  ASSERT_TRUE(Load());
  EXPECT_EQ(Shown(), (std::vector<std::string>{"Café.exe|C:\\Jeux\\|2026/12/07|0",
                                               "Łódź.exe|C:\\게임\\|2026/12/07|1"}));
  EXPECT_EQ(FileNamesInTools(), std::vector<std::string>{kPath});
}

TEST_F(LogFileTest, AnotherVersionsFileIsIgnoredAndKeptBesideTheNewOne) {
  const std::string old_file = Lines({"2.10", "Old.exe", "C:\\Old\\", "2020/01/01", ""});
  LoadQuietly(old_file);
  EXPECT_EQ(log.Count(), 0u);

  log.Add({"New.exe", "C:\\New\\", "2026/12/07"});
  ASSERT_TRUE(Save());
  EXPECT_EQ(Saved(), Lines({"2.20", "New.exe", "C:\\New\\", "2026/12/07", ""}));
  ASSERT_NE(files.Find("C:\\Tools\\zelvo.ini.2.10.bak"), nullptr);
  EXPECT_EQ(files.Find("C:\\Tools\\zelvo.ini.2.10.bak")->content, old_file);

  // The next run loads the new file and keeps no further copy.
  ASSERT_TRUE(Load());
  ASSERT_TRUE(Save());
  EXPECT_EQ(files.FilesIn("C:\\Tools").size(), 2u);
}

TEST_F(LogFileTest, AnEarlierCopyIsNeverOverwritten) {
  files.AddFile("C:\\Tools\\zelvo.ini.2.10.bak", "first");
  files.AddFile("C:\\Tools\\zelvo.ini.2.10-2.bak", "second").hidden = true;
  LoadQuietly("2.10\r\nthird\r\n");
  ASSERT_TRUE(Save());
  EXPECT_EQ(files.Find("C:\\Tools\\zelvo.ini.2.10.bak")->content, "first");
  EXPECT_EQ(files.Find("C:\\Tools\\zelvo.ini.2.10-2.bak")->content, "second");
  ASSERT_NE(files.Find("C:\\Tools\\zelvo.ini.2.10-3.bak"), nullptr);
  EXPECT_EQ(files.Find("C:\\Tools\\zelvo.ini.2.10-3.bak")->content, "2.10\r\nthird\r\n");
}

TEST_F(LogFileTest, ABareLineFeedFileIsOneLineAndIsKept) {
  const std::string unix_file = "2.20\nA.exe\nC:\\A\\\n2026/01/01\n\n";
  LoadQuietly(unix_file);
  EXPECT_EQ(log.Count(), 0u);
  ASSERT_TRUE(Save());
  EXPECT_EQ(Saved(), "2.20\r\n\r\n");
  ASSERT_NE(files.Find("C:\\Tools\\zelvo.ini.bare-lf.bak"), nullptr);
  EXPECT_EQ(files.Find("C:\\Tools\\zelvo.ini.bare-lf.bak")->content, unix_file);
}

TEST_F(LogFileTest, AFileOfNoVersionAtAllIsKeptAsUnknown) {
  const std::string binary(
      "\xFF\xFE"
      "2\0.\0"
      "2\0"
      "0\0",
      10);
  LoadQuietly(binary);
  EXPECT_EQ(log.Count(), 0u);
  ASSERT_TRUE(Save());
  ASSERT_NE(files.Find("C:\\Tools\\zelvo.ini.unknown.bak"), nullptr);
  EXPECT_EQ(files.Find("C:\\Tools\\zelvo.ini.unknown.bak")->content, binary);
}

TEST_F(LogFileTest, AFileLargerThanAnyLogIsNotReadButKept) {
  std::string huge = Lines({"2.20", "A.exe", "C:\\A\\", "2026/01/01"});
  huge.resize((64u << 20) + 1, 'x');
  files.AddFile(kPath, huge);
  ASSERT_TRUE(Load());
  EXPECT_EQ(dialogs.shown, std::vector<Message>{expected::LogTooLargeWarning()});
  EXPECT_EQ(log.Count(), 0u);

  ASSERT_TRUE(Save());
  EXPECT_EQ(Saved(), "2.20\r\n\r\n");
  ASSERT_NE(files.Find("C:\\Tools\\zelvo.ini.too-large.bak"), nullptr);
  EXPECT_EQ(files.Find("C:\\Tools\\zelvo.ini.too-large.bak")->content.size(), huge.size());

  // One byte less is a log like any other.
  huge.resize(64u << 20);
  dialogs.shown.clear();
  files.AddFile(kPath, huge);
  ASSERT_TRUE(Load());
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_EQ(log.Count(), 1u);
}

TEST_F(LogFileTest, AnEmptyFileStartsAnEmptyLogQuietly) {
  LoadQuietly("");
  EXPECT_EQ(log.Count(), 0u);
  ASSERT_TRUE(Save());
  EXPECT_EQ(Saved(), "2.20\r\n\r\n");
  EXPECT_EQ(FileNamesInTools(), std::vector<std::string>{kPath});
}

TEST_F(LogFileTest, ADamagedFileGivesItsCompleteEntriesAndIsKept) {
  const std::string a = Lines({"A.exe", "C:\\A\\", "2026/01/01"});
  struct Damage {
    const char* what;
    std::string file;
  };
  const Damage damages[] = {
      {"cut after a name", "2.20\r\n" + a + "B.exe\r\n"},
      {"cut after a name without line end", "2.20\r\n" + a + "B.exe"},
      {"cut after a folder", "2.20\r\n" + a + "B.exe\r\nC:\\B\\\r\n"},
      {"empty folder line", "2.20\r\n" + a + Lines({"B.exe", "", "2026/01/02"}) + a},
      {"empty date line", "2.20\r\n" + a + Lines({"B.exe", "C:\\B\\", ""}) + a},
      {"entries after the closing empty line", "2.20\r\n" + a + "\r\n" + a + "\r\n"},
  };
  for (const Damage& damage : damages) {
    SCOPED_TRACE(damage.what);
    FakeFileSystem fresh;
    std::swap(files, fresh);
    files.AddFolder("C:\\Tools");
    journal.clear();
    LoadQuietly(damage.file);
    EXPECT_EQ(Shown(), std::vector<std::string>{"A.exe|C:\\A\\|2026/01/01|0"});
    ASSERT_TRUE(Save());
    EXPECT_EQ(Saved(), "2.20\r\n" + a + "\r\n");
    ASSERT_NE(files.Find("C:\\Tools\\zelvo.ini.damaged.bak"), nullptr);
    EXPECT_EQ(files.Find("C:\\Tools\\zelvo.ini.damaged.bak")->content, damage.file);
  }
}

TEST_F(LogFileTest, EmptyLinesAfterTheEndLoseNothing) {
  LoadQuietly("2.20\r\nA.exe\r\nC:\\A\\\r\n2026/01/01\r\n\r\n\r\n\r");
  EXPECT_EQ(log.Count(), 1u);
  ASSERT_TRUE(Save());
  EXPECT_EQ(FileNamesInTools(), std::vector<std::string>{kPath});
}

TEST_F(LogFileTest, AFailedSaveIsReportedAndLeavesTheOldFile) {
  const std::string old_file = Lines({"2.20", "A.exe", "C:\\A\\", "2026/01/01", ""});
  LoadQuietly(old_file);
  log.Add({"B.exe", "C:\\B\\", "2026/12/07"});
  files.FailOn("ReplaceAtomically", kPath, Win32Failure(112));
  EXPECT_FALSE(Save());
  ExpectReport("SaveListData()", 112);
  EXPECT_EQ(Saved(), old_file);
}

TEST_F(LogFileTest, AHiddenFileIsNotReadAndNotReplaced) {
  const std::string old_file = Lines({"2.20", "A.exe", "C:\\A\\", "2026/01/01", ""});
  files.AddFile(kPath, old_file).hidden = true;
  ASSERT_TRUE(Load());
  EXPECT_EQ(rig.view.status, kGreeting);
  EXPECT_EQ(log.Count(), 0u);
  log.Add({"B.exe", "C:\\B\\", "2026/12/07"});
  EXPECT_FALSE(Save());
  ExpectReport("SaveListData()", 5);
  EXPECT_EQ(Saved(), old_file);
}

TEST_F(LogFileTest, AFailedCopyOfAnUnloadedFileStopsTheSave) {
  const std::string old_file = Lines({"2.10", "Old.exe", "C:\\Old\\", "2020/01/01", ""});
  LoadQuietly(old_file);
  files.FailOn("CopyToNew", "", Win32Failure(112));
  EXPECT_FALSE(Save());
  ExpectReport("SaveListData()", 112);
  EXPECT_EQ(Saved(), old_file);
  EXPECT_EQ(FileNamesInTools(), std::vector<std::string>{kPath});

  // Once the disk has room, the next save keeps the copy first.
  ASSERT_TRUE(Save());
  EXPECT_EQ(files.Find("C:\\Tools\\zelvo.ini.2.10.bak")->content, old_file);
}

TEST_F(LogFileTest, AnUnreadableFileIsReported) {
  files.AddFile(kPath, "2.20\r\n\r\n");
  files.FailOn("ReadFile", kPath, Win32Failure(32));
  EXPECT_FALSE(Load());
  ExpectReport("LoadListData()", 32);
}

TEST_F(LogFileTest, LoadingEmptiesTheLogFirst) {
  log.Add({"Stale.exe", "C:\\", "2026/12/07"});
  LoadQuietly(Lines({"2.20", "A.exe", "C:\\A\\", "2026/01/01", ""}));
  EXPECT_EQ(Shown(), std::vector<std::string>{"A.exe|C:\\A\\|2026/01/01|0"});
}

TEST(LogFileFormat, EntriesWithAnEmptyTextAreLeftOutSoTheRestReadsBack) {
  FakeCodePage code_page;
  const LogEntry relative{"a.exe", "", "2026/12/07"};
  const LogEntry whole{"b.exe", "C:\\B\\", "2026/12/07"};
  const std::string bytes = FormatLogFile("2.20", {&relative, &whole}, code_page);
  EXPECT_EQ(bytes, Lines({"2.20", "b.exe", "C:\\B\\", "2026/12/07", ""}));
}

// A double-byte code page as Windows decodes it: the lead byte 0x81 takes the next byte along,
// whatever it is.
class DoubleByteCodePage : public FakeCodePage {
 public:
  std::string Decode(std::string_view ansi) const override {
    std::string utf8;
    for (size_t i = 0; i < ansi.size(); ++i) {
      if (ansi[i] == '\x81') {
        utf8 += "\u3000";
        ++i;
      } else {
        utf8 += FakeCodePage::Decode(ansi.substr(i, 1));
      }
    }
    return utf8;
  }
};

TEST(LogFileFormat, ALeadByteBeforeALineEndDoesNotSwallowIt) {
  DoubleByteCodePage code_page;
  const ParsedLogFile parsed = ParseLogFile(Lines({"2.20", "a\x81", "C:\\\xE9\\", "2026/01/01",
                                                   "b\x81\x81"
                                                   "b",
                                                   "C:\\", "d", ""}),
                                            "2.20", code_page);
  ASSERT_EQ(parsed.entries.size(), 2u);
  EXPECT_EQ(parsed.entries[0].name, "a\u3000");
  EXPECT_EQ(parsed.entries[0].folder, "C:\\é\\");
  EXPECT_EQ(parsed.entries[0].date, "2026/01/01");
  EXPECT_EQ(parsed.entries[1].name, "b\u3000b");
  // The cut character reads as another one: the file is kept before a save replaces it.
  EXPECT_EQ(parsed.left_behind, "damaged");
}

TEST(LogFileFormat, IllFormedUtf8BecomesReplacementCharacters) {
  FakeCodePage code_page;
  const ParsedLogFile parsed = ParseLogFile("\xEF\xBB\xBF" + Lines({"2.20",
                                                                    "a\xC0\xAF"
                                                                    "b.exe",
                                                                    "C:\\\xED\xA0\x80\\", "d"}),
                                            "2.20", code_page);
  ASSERT_EQ(parsed.entries.size(), 1u);
  EXPECT_EQ(parsed.entries[0].name, "a\uFFFD\uFFFDb.exe");
  EXPECT_EQ(parsed.entries[0].folder, "C:\\\uFFFD\uFFFD\uFFFD\\");
  EXPECT_EQ(parsed.left_behind, "damaged");
}

// A code page with a gap, as code page 932 has: the byte 0x85 stands for no character, and
// Windows reads it as its default character.
class CodePageWithAGap : public FakeCodePage {
 public:
  std::string Decode(std::string_view ansi) const override {
    std::string utf8;
    for (size_t i = 0; i < ansi.size(); ++i) {
      utf8 += ansi[i] == '\x85' ? "\u30FB" : FakeCodePage::Decode(ansi.substr(i, 1));
    }
    return utf8;
  }
};

TEST(LogFileFormat, BytesTheCodePageDoesNotDefineAreShownAsReadAndTheFileIsKept) {
  CodePageWithAGap code_page;
  const ParsedLogFile parsed =
      ParseLogFile(Lines({"2.20", "a\x85.exe", "C:\\\xE9\\", "2026/01/01", ""}), "2.20", code_page);
  ASSERT_EQ(parsed.entries.size(), 1u);
  EXPECT_EQ(parsed.entries[0].name, "a\u30FB.exe");
  EXPECT_EQ(parsed.entries[0].folder, "C:\\é\\");
  EXPECT_EQ(parsed.left_behind, "damaged");

  // Characters that the code page defines read back exactly: nothing to keep.
  EXPECT_EQ(
      ParseLogFile(Lines({"2.20", "\xE9.exe", "C:\\\xE9\\", "2026/01/01", ""}), "2.20", code_page)
          .left_behind,
      "");
  const ParsedLogFile utf8 =
      ParseLogFile("\xEF\xBB\xBF" + Lines({"2.20", "\u30FB.exe", "C:\\\u0915\\", "2026/01/01", ""}),
                   "2.20", code_page);
  EXPECT_EQ(utf8.entries.size(), 1u);
  EXPECT_EQ(utf8.left_behind, "");
}

}  // namespace
}  // namespace zelvo::testing
