// The file system adapter on real files under Wine: the name lookup and its exclusions, long
// and short names, paths over 260 characters, Japanese names in code page 932, copies that
// never overwrite, and replacements that leave the old file whole when they fail.
#include "win32/system/file_system.h"

#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "base/failure.h"
#include "win32/system/strings.h"
#include "test_support.h"

namespace zelvo::win32 {
namespace {

using test::AddAttributes;
using test::Exists;
using test::ListFolder;
using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;
using ::testing::StartsWith;

using test::FailureNumber;

constexpr uint64_t kWhole = UINT64_MAX;

class FileSystemTest : public ::testing::Test {
 protected:
  // What one look at `path` finds, by the part a test checks.
  std::string StoredName(const std::string& path) { return files_.Look(path).stored_name; }
  std::string LongPath(const std::string& path) { return files_.Look(path).full_path; }
  bool IsFolder(const std::string& path) { return files_.Look(path).IsPlainFolder(); }
  // Bytes of a file opened to read; Windows' reason, thrown, when it cannot be opened.
  std::string ReadRange(const std::string& path, uint64_t offset, uint32_t length) {
    const OpenedProgram opened = files_.OpenProgram(path);
    if (!opened.file) throw Failure(-1, opened.failure);
    return opened.file->Read(offset, length);
  }

  // A copy to the path `to`, made in its folder.
  CopyResult CopyTo(const std::string& from, const std::string& to) {
    const size_t slash = to.find_last_of('\\');
    return files_.CopyToNew(from, to.substr(0, slash), to.substr(slash + 1));
  }

  TempFolder folder_;
  Win32FileSystem files_;
};

TEST_F(FileSystemTest, OneLookTellsWhatStandsThere) {
  WriteBytes(folder_.Path("Foo.exe"), "12345");
  WriteBytes(folder_.Path("Hidden.exe"), "x");
  AddAttributes(folder_.Path("Hidden.exe"), FILE_ATTRIBUTE_HIDDEN);
  const FileFacts file = files_.Look(folder_.Path("FOO.EXE"));
  EXPECT_EQ(file.kind, FileFacts::Kind::File);
  EXPECT_EQ(file.size, 5u);
  EXPECT_FALSE(file.hidden || file.system || file.link);
  EXPECT_TRUE(file.Exists());
  EXPECT_EQ(file.full_path, folder_.Path("Foo.exe"));
  const FileFacts hidden = files_.Look(folder_.Path("Hidden.exe"));
  EXPECT_TRUE(hidden.hidden);
  EXPECT_FALSE(hidden.Exists());
  EXPECT_EQ(files_.Look(folder_.Path()).kind, FileFacts::Kind::Folder);
  EXPECT_EQ(files_.Look(folder_.Path("gone.exe")).kind, FileFacts::Kind::Nothing);
}

// The times of a file, and its attributes, as Windows tells them.
WIN32_FILE_ATTRIBUTE_DATA FileData(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  EXPECT_TRUE(GetFileAttributesExW(test::Extended(path).c_str(), GetFileExInfoStandard, &data));
  return data;
}

uint64_t Ticks(const FILETIME& time) {
  return uint64_t{time.dwHighDateTime} << 32 | time.dwLowDateTime;
}

TEST_F(FileSystemTest, TouchingAProgramMovesItsLastWriteTimeAndNothingElse) {
  // Through the opening its image is read by, and by its path; a read-only program too.
  for (const bool read_only : {false, true}) {
    for (const bool through_opening : {true, false}) {
      SCOPED_TRACE(std::string(read_only ? "read-only " : "") +
                   (through_opening ? "through its opening" : "by its path"));
      const std::string program = folder_.Path(std::string("Old") + (read_only ? "RO" : "") +
                                               (through_opening ? "A" : "B") + ".exe");
      WriteBytes(program, "MZ old program");
      const HANDLE file = CreateFileW(test::Extended(program).c_str(), FILE_WRITE_ATTRIBUTES, 0,
                                      nullptr, OPEN_EXISTING, 0, nullptr);
      ASSERT_NE(file, INVALID_HANDLE_VALUE);
      FILETIME long_ago{};
      SYSTEMTIME year_2001{2001, 1, 1, 1, 0, 0, 0, 0};
      SystemTimeToFileTime(&year_2001, &long_ago);
      ASSERT_TRUE(SetFileTime(file, nullptr, nullptr, &long_ago));
      CloseHandle(file);
      if (read_only) AddAttributes(program, FILE_ATTRIBUTE_READONLY);
      const WIN32_FILE_ATTRIBUTE_DATA before = FileData(program);

      if (through_opening) {
        const OpenedProgram opened = files_.OpenProgram(program);
        ASSERT_TRUE(opened.file);
        EXPECT_EQ(opened.file->Read(0, 2), "MZ");
        EXPECT_TRUE(opened.file->TouchLastWrite());
      } else {
        EXPECT_TRUE(files_.TouchLastWrite(program));
      }

      const WIN32_FILE_ATTRIBUTE_DATA after = FileData(program);
      FILETIME now{};
      GetSystemTimeAsFileTime(&now);
      constexpr uint64_t kMinute = 60ull * 10'000'000;
      EXPECT_GT(Ticks(after.ftLastWriteTime) + kMinute, Ticks(now));
      // Wine keeps no creation time of its own: it reports the last-write time there. Where the
      // two stand apart, the creation time stays.
      if (Ticks(before.ftCreationTime) != Ticks(before.ftLastWriteTime)) {
        EXPECT_EQ(Ticks(after.ftCreationTime), Ticks(before.ftCreationTime));
      }
      EXPECT_EQ(after.dwFileAttributes, before.dwFileAttributes);
      EXPECT_EQ(ReadBytes(program), "MZ old program");
    }
  }
  EXPECT_FALSE(files_.TouchLastWrite(folder_.Path("gone.exe")));
}

TEST_F(FileSystemTest, StoredNameGivesTheNameInItsStoredCase) {
  WriteBytes(folder_.Path("Foo.exe"), "x");
  EXPECT_EQ(StoredName(folder_.Path("Foo.exe")), "Foo.exe");
  EXPECT_EQ(StoredName(folder_.Path("foo.EXE")), "Foo.exe");
  EXPECT_EQ(StoredName(folder_.Path("FOO.EXE")), "Foo.exe");
  // Forward slashes and "." and ".." are resolved as Windows resolves them.
  EXPECT_EQ(StoredName(folder_.Path(".\\sub\\..\\Foo.exe")), "Foo.exe");
  EXPECT_EQ(StoredName(folder_.Path("/Foo.exe")), "Foo.exe");
}

TEST_F(FileSystemTest, StoredNameFindsNoFoldersHiddenOrSystemFiles) {
  test::MakeFolder(folder_.Path("Folder.exe"));
  WriteBytes(folder_.Path("Hidden.exe"), "x");
  AddAttributes(folder_.Path("Hidden.exe"), FILE_ATTRIBUTE_HIDDEN);
  WriteBytes(folder_.Path("System.exe"), "x");
  AddAttributes(folder_.Path("System.exe"), FILE_ATTRIBUTE_SYSTEM);
  WriteBytes(folder_.Path("ReadOnly.exe"), "x");
  AddAttributes(folder_.Path("ReadOnly.exe"), FILE_ATTRIBUTE_READONLY);

  EXPECT_EQ(StoredName(folder_.Path("Folder.exe")), "");
  EXPECT_EQ(StoredName(folder_.Path("Hidden.exe")), "");
  EXPECT_EQ(StoredName(folder_.Path("System.exe")), "");
  // Read-only is an ordinary file.
  EXPECT_EQ(StoredName(folder_.Path("ReadOnly.exe")), "ReadOnly.exe");
}

TEST_F(FileSystemTest, StoredNameOfAPathThatCannotNameOneFileIsEmpty) {
  WriteBytes(folder_.Path("Foo.exe"), "x");
  EXPECT_EQ(StoredName(""), "");
  EXPECT_EQ(StoredName(folder_.Path("*.exe")), "");
  EXPECT_EQ(StoredName(folder_.Path("Fo?.exe")), "");
  EXPECT_EQ(StoredName(folder_.Path("Fo<")), "");  // the file system's own wildcards
  EXPECT_EQ(StoredName(folder_.Path("Foo\".exe")), "");
  EXPECT_EQ(StoredName(folder_.Path("Foo.exe") + "\\"), "");
  EXPECT_EQ(StoredName(folder_.Path("Foo.exe") + "|"), "");
  EXPECT_EQ(StoredName(folder_.Path("Missing.exe")), "");
  EXPECT_EQ(StoredName(folder_.Path("Missing\\Foo.exe")), "");
  EXPECT_EQ(StoredName(folder_.Path("Foo.exe\\Foo.exe")), "");
  EXPECT_EQ(StoredName(std::string("C:\\a\0b.exe", 10)), "");
  EXPECT_EQ(StoredName("Q:\\No such drive\\Foo.exe"), "");
  EXPECT_EQ(StoredName("\\\\no-such-server-zelvo\\share\\Foo.exe"), "");
}

TEST_F(FileSystemTest, StoredNameResolvesARelativePathAgainstTheCurrentFolder) {
  WriteBytes(folder_.Path("Relative.exe"), "x");
  std::wstring previous(GetCurrentDirectoryW(0, nullptr), L'\0');
  previous.resize(GetCurrentDirectoryW(static_cast<DWORD>(previous.size()), previous.data()));
  ASSERT_TRUE(SetCurrentDirectoryW(Wide(folder_.Path()).c_str()));
  const std::string found = StoredName("relative.exe");
  SetCurrentDirectoryW(previous.c_str());
  EXPECT_EQ(found, "Relative.exe");
}

TEST_F(FileSystemTest, ShortNamesLeadToTheLongStoredName) {
  const std::string long_path = folder_.Path("Long Program Name.exe");
  WriteBytes(long_path, "x");
  const std::wstring extended = test::Extended(long_path);
  std::wstring short_path(GetShortPathNameW(extended.c_str(), nullptr, 0), L'\0');
  short_path.resize(GetShortPathNameW(extended.c_str(), short_path.data(),
                                      static_cast<DWORD>(short_path.size())));
  ASSERT_NE(short_path, extended) << "no short name to test with";
  ASSERT_EQ(short_path.find(L"Long Program Name"), std::wstring::npos);

  EXPECT_EQ(StoredName(Utf8(short_path)), "Long Program Name.exe");
  EXPECT_EQ(LongPath(Utf8(short_path)), long_path);
}

TEST_F(FileSystemTest, LongPathGivesTheNameAsStoredAndTheFoldersAsGiven) {
  test::MakeFolder(folder_.Path("Program Files"));
  WriteBytes(folder_.Path("Program Files\\Foo.exe"), "x");
  EXPECT_EQ(LongPath(folder_.Path("Program Files\\foo.EXE")),
            folder_.Path("Program Files\\Foo.exe"));
  // Only what needs it is looked up: a folder keeps the case it was given in; the drive letter
  // reads upper case, as Windows shows it.
  std::string lower = folder_.Path("PROGRAM FILES\\foo.exe");
  lower[0] = static_cast<char>(std::tolower(lower[0]));
  EXPECT_EQ(LongPath(lower), folder_.Path("PROGRAM FILES\\Foo.exe"));
  EXPECT_EQ(LongPath(folder_.Path("Missing.exe")), "");
}

TEST_F(FileSystemTest, FolderTestMakeFolderAndRemoveFile) {
  const std::string folder = folder_.Path("backup");
  EXPECT_FALSE(IsFolder(folder));
  EXPECT_FALSE(IsFolder(""));
  ASSERT_TRUE(files_.MakeFolder(folder, NewFolder::Inherited).Made());
  EXPECT_TRUE(IsFolder(folder));
  EXPECT_TRUE(IsFolder(folder + "\\"));
  ASSERT_TRUE(files_.MakeFolder(folder + "\\private", NewFolder::AdministratorsOnly).Made());
  EXPECT_TRUE(IsFolder(folder + "\\private"));
  // Wine keeps no access list and lets every program of the user in as administrator: nothing
  // is guarded there. On Windows the first is the administrators' alone, the second open.
  EXPECT_NE(files_.GuardOf(folder + "\\private"), FolderGuard::Open);
  EXPECT_NE(files_.GuardOf(folder), FolderGuard::AdministratorsOnly);
  EXPECT_EQ(files_.GuardOf(folder), files_.GuardOf(folder + "\\private") == FolderGuard::Unguardable
                                        ? FolderGuard::Unguardable
                                        : FolderGuard::Open);
  EXPECT_EQ(FailureNumber([&] { (void)files_.MakeFolder(folder, NewFolder::Inherited); }),
            ERROR_ALREADY_EXISTS);
  EXPECT_EQ(
      FailureNumber([&] { (void)files_.MakeFolder(folder_.Path("a\\b"), NewFolder::Inherited); }),
      ERROR_PATH_NOT_FOUND);

  WriteBytes(folder_.Path("file"), "x");
  EXPECT_FALSE(IsFolder(folder_.Path("file")));
  ASSERT_TRUE(files_.RemoveFile(folder_.Path("file")).Made());
  EXPECT_FALSE(Exists(folder_.Path("file")));
  EXPECT_EQ(FailureNumber([&] { (void)files_.RemoveFile(folder_.Path("file")); }),
            ERROR_FILE_NOT_FOUND);
}

TEST_F(FileSystemTest, ALinkedFolderIsNoPlainFolder) {
  // Whatever is put in a link or junction lands wherever it leads.
  EXPECT_TRUE(IsFolder(ZELVO_LINKED_FOLDERS "\\folder"));
  EXPECT_FALSE(IsFolder(ZELVO_LINKED_FOLDERS "\\link"));
}

TEST_F(FileSystemTest, AFileInTheWayOfANewFolderFails) {
  WriteBytes(folder_.Path("backup"), "not a folder");
  EXPECT_FALSE(IsFolder(folder_.Path("backup")));
  EXPECT_EQ(
      FailureNumber([&] { (void)files_.MakeFolder(folder_.Path("backup"), NewFolder::Inherited); }),
      ERROR_ALREADY_EXISTS);
  EXPECT_EQ(ReadBytes(folder_.Path("backup")), "not a folder");
}

TEST_F(FileSystemTest, CopyToNewNeverOverwrites) {
  WriteBytes(folder_.Path("from"), "new");
  WriteBytes(folder_.Path("existing"), "old");
  WriteBytes(folder_.Path("hidden"), "old hidden");
  AddAttributes(folder_.Path("hidden"), FILE_ATTRIBUTE_HIDDEN);
  WriteBytes(folder_.Path("system"), "old system");
  AddAttributes(folder_.Path("system"), FILE_ATTRIBUTE_SYSTEM);
  test::MakeFolder(folder_.Path("folder"));

  EXPECT_EQ(CopyTo(folder_.Path("from"), folder_.Path("copy")).outcome, CopyResult::Copied);
  EXPECT_EQ(ReadBytes(folder_.Path("copy")), "new");
  EXPECT_EQ(CopyTo(folder_.Path("from"), folder_.Path("existing")).outcome,
            CopyResult::TargetTaken);
  EXPECT_EQ(ReadBytes(folder_.Path("existing")), "old");
  EXPECT_EQ(CopyTo(folder_.Path("from"), folder_.Path("hidden")).outcome, CopyResult::TargetTaken);
  EXPECT_EQ(ReadBytes(folder_.Path("hidden")), "old hidden");
  EXPECT_EQ(CopyTo(folder_.Path("from"), folder_.Path("system")).outcome, CopyResult::TargetTaken);
  EXPECT_EQ(ReadBytes(folder_.Path("system")), "old system");
  EXPECT_EQ(CopyTo(folder_.Path("from"), folder_.Path("folder")).outcome, CopyResult::TargetTaken);
  EXPECT_TRUE(IsFolder(folder_.Path("folder")));

  EXPECT_EQ(FailureNumber([&] { (void)CopyTo(folder_.Path("missing"), folder_.Path("to")); }),
            ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(Exists(folder_.Path("to")));
}

TEST_F(FileSystemTest, CopyToNewCopiesNoLink) {
  // A second name of a file (one the user could make to any file they may not read) is no
  // manifest of the program's own to keep.
  const std::string original = folder_.Path("original");
  WriteBytes(original, "secret");
  const std::string linked = folder_.Path("Foo.exe.manifest");
  ASSERT_TRUE(
      CreateHardLinkW(test::Extended(linked).c_str(), test::Extended(original).c_str(), nullptr));
  EXPECT_EQ(CopyTo(linked, folder_.Path("copy")).outcome, CopyResult::SourceIsLink);
  EXPECT_FALSE(Exists(folder_.Path("copy")));

  // Once it is the only name, the file is plain again.
  DeleteFileW(test::Extended(original).c_str());
  EXPECT_EQ(CopyTo(linked, folder_.Path("copy")).outcome, CopyResult::Copied);
  EXPECT_EQ(ReadBytes(folder_.Path("copy")), "secret");
}

TEST_F(FileSystemTest, WriteReadAndReadRange) {
  const std::string path = folder_.Path("text.txt");
  ASSERT_TRUE(files_.WriteFile(path, std::string("first\r\nsecond\r\n\0end", 19)).Made());
  EXPECT_EQ(ReadBytes(path), std::string("first\r\nsecond\r\n\0end", 19));
  ASSERT_TRUE(files_.WriteFile(path, "short").Made());  // an existing file is emptied first
  EXPECT_EQ(files_.ReadFile(path, kWhole), "short");
  ASSERT_TRUE(files_.WriteFile(path, "").Made());
  EXPECT_EQ(files_.ReadFile(path, kWhole), "");

  ASSERT_TRUE(files_.WriteFile(path, "0123456789").Made());
  EXPECT_EQ(ReadRange(path, 0, 4), "0123");
  EXPECT_EQ(ReadRange(path, 6, 100), "6789");
  EXPECT_EQ(ReadRange(path, 10, 4), "");
  EXPECT_EQ(ReadRange(path, 1000, 4), "");

  EXPECT_EQ(FailureNumber([&] { (void)files_.ReadFile(folder_.Path("missing"), kWhole); }),
            ERROR_FILE_NOT_FOUND);
  // No more than is wanted is read.
  EXPECT_EQ(files_.ReadFile(path, 10), "0123456789");
  EXPECT_EQ(files_.ReadFile(path, 9), std::nullopt);

  // A program another program still has open for writing is read all the same.
  const HANDLE writer = CreateFileW(test::Extended(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  EXPECT_EQ(ReadRange(path, 2, 3), "234");
  CloseHandle(writer);
  EXPECT_EQ(FailureNumber([&] { (void)files_.WriteFile(folder_.Path("missing\\file"), "x"); }),
            ERROR_PATH_NOT_FOUND);
}

TEST_F(FileSystemTest, WriteFileRefusesAHiddenOrSystemFileAsWindowsDoes) {
  for (const DWORD attribute : {FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_SYSTEM}) {
    const std::string path = folder_.Path("Foo.exe.manifest." + std::to_string(attribute));
    WriteBytes(path, "the user's own manifest");
    AddAttributes(path, attribute);
    EXPECT_EQ(FailureNumber([&] { (void)files_.WriteFile(path, "new"); }), ERROR_ACCESS_DENIED);
    EXPECT_EQ(ReadBytes(path), "the user's own manifest");
  }
}

TEST_F(FileSystemTest, NeitherWriteReplacesAReadOnlyHiddenOrSystemFile) {
  for (const DWORD attribute :
       {FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_SYSTEM}) {
    const std::string path = folder_.Path("kept." + std::to_string(attribute));
    WriteBytes(path, "the user's own file");
    AddAttributes(path, attribute);
    EXPECT_EQ(FailureNumber([&] { (void)files_.WriteFile(path, "new"); }), ERROR_ACCESS_DENIED);
    EXPECT_EQ(FailureNumber([&] { (void)files_.ReplaceAtomically(path, "new"); }),
              ERROR_ACCESS_DENIED);
    EXPECT_EQ(ReadBytes(path), "the user's own file");
  }
  EXPECT_EQ(ListFolder(folder_.Path()), "kept.1|kept.2|kept.4");
}

TEST_F(FileSystemTest, WriteFileGoesThroughAFileBesideItAndLeavesNothingElse) {
  const std::string path = folder_.Path("Foo.exe.manifest");
  ASSERT_TRUE(files_.WriteFile(path, "first").Made());
  ASSERT_TRUE(files_.WriteFile(path, "second, longer").Made());
  EXPECT_EQ(ReadBytes(path), "second, longer");
  // A folder in the way: the write fails, and its file beside it is gone again.
  test::MakeFolder(folder_.Path("Bar.exe.manifest"));
  EXPECT_NE(FailureNumber([&] { (void)files_.WriteFile(folder_.Path("Bar.exe.manifest"), "x"); }),
            0);
  EXPECT_EQ(ListFolder(folder_.Path()), "Bar.exe.manifest|Foo.exe.manifest");
}

TEST_F(FileSystemTest, ALargeFileReadsWhole) {
  std::string bytes(3 * 1024 * 1024 + 17, '\0');
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7 + i / 4096);
  ASSERT_TRUE(files_.WriteFile(folder_.Path("large"), bytes).Made());
  EXPECT_EQ(files_.ReadFile(folder_.Path("large"), kWhole), bytes);
  EXPECT_EQ(ReadRange(folder_.Path("large"), 1024 * 1024 - 3, 2 * 1024 * 1024),
            bytes.substr(1024 * 1024 - 3, 2 * 1024 * 1024));
}

TEST_F(FileSystemTest, ReplaceAtomicallyCreatesAndReplacesLeavingNoTemporaryFile) {
  const std::string path = folder_.Path("zelvo.ini");
  ASSERT_TRUE(files_.ReplaceAtomically(path, "first").Made());
  EXPECT_EQ(ReadBytes(path), "first");
  ASSERT_TRUE(files_.ReplaceAtomically(path, "second, longer").Made());
  EXPECT_EQ(ReadBytes(path), "second, longer");
  ASSERT_TRUE(files_.ReplaceAtomically(path, "3").Made());
  EXPECT_EQ(ReadBytes(path), "3");
  EXPECT_EQ(ListFolder(folder_.Path()), "zelvo.ini");
}

TEST_F(FileSystemTest, ReplaceAtomicallyTakesTheNextNameWhenATemporaryFileWasLeftBehind) {
  const std::string path = folder_.Path("zelvo.ini");
  const std::string leftover = path + "." + std::to_string(GetCurrentProcessId()) + ".tmp";
  WriteBytes(leftover, "left by a crash");
  ASSERT_TRUE(files_.ReplaceAtomically(path, "new").Made());
  EXPECT_EQ(ReadBytes(path), "new");
  EXPECT_EQ(ReadBytes(leftover), "left by a crash");
  EXPECT_EQ(ListFolder(folder_.Path()),
            "zelvo.ini|zelvo.ini." + std::to_string(GetCurrentProcessId()) + ".tmp");
}

TEST_F(FileSystemTest, ReplaceAtomicallyThatCannotWriteLeavesTheOldWhole) {
  // A folder where the file should be.
  test::MakeFolder(folder_.Path("zelvo.ini"));
  WriteBytes(folder_.Path("zelvo.ini\\inside"), "kept");
  EXPECT_NE(
      FailureNumber([&] { (void)files_.ReplaceAtomically(folder_.Path("zelvo.ini"), "new"); }), 0);
  EXPECT_EQ(ReadBytes(folder_.Path("zelvo.ini\\inside")), "kept");
  EXPECT_EQ(ListFolder(folder_.Path()), "zelvo.ini");

  // A missing parent folder.
  EXPECT_EQ(FailureNumber(
                [&] { (void)files_.ReplaceAtomically(folder_.Path("missing\\zelvo.ini"), "new"); }),
            ERROR_PATH_NOT_FOUND);

  // A read-only file: Windows refuses to replace it, and so must the adapter under Wine.
  const std::string read_only = folder_.Path("read-only.ini");
  WriteBytes(read_only, "old content");
  AddAttributes(read_only, FILE_ATTRIBUTE_READONLY);
  const int32_t number = FailureNumber([&] { (void)files_.ReplaceAtomically(read_only, "new"); });
  EXPECT_EQ(number, ERROR_ACCESS_DENIED);
  EXPECT_EQ(ReadBytes(read_only), "old content");
  EXPECT_EQ(ListFolder(folder_.Path()), "read-only.ini|zelvo.ini");
}

TEST_F(FileSystemTest, PathsLongerThan260CharactersWork) {
  std::string folder = folder_.Path();
  while (folder.size() < 300) {
    folder += "\\" + std::string(40, 'd') + std::to_string(folder.size());
    ASSERT_TRUE(files_.MakeFolder(folder, NewFolder::Inherited).Made());
  }
  const std::string path = folder + "\\Program With A Long Name.exe";
  ASSERT_GT(path.size(), 300u);

  ASSERT_TRUE(files_.WriteFile(path, "long").Made());
  EXPECT_TRUE(IsFolder(folder));
  EXPECT_EQ(StoredName(path), "Program With A Long Name.exe");
  EXPECT_EQ(LongPath(path), path);
  EXPECT_EQ(files_.ReadFile(path, kWhole), "long");
  EXPECT_EQ(ReadRange(path, 1, 2), "on");
  EXPECT_EQ(CopyTo(path, path + ".manifest").outcome, CopyResult::Copied);
  EXPECT_EQ(CopyTo(path, path + ".manifest").outcome, CopyResult::TargetTaken);
  ASSERT_TRUE(files_.ReplaceAtomically(path + ".manifest", "replaced").Made());
  EXPECT_EQ(files_.ReadFile(path + ".manifest", kWhole), "replaced");
  ASSERT_TRUE(files_.RemoveFile(path + ".manifest").Made());
  EXPECT_EQ(StoredName(path + ".manifest"), "");
  ASSERT_TRUE(files_.MakeFolder(folder + "\\backup", NewFolder::Inherited).Made());
  EXPECT_TRUE(IsFolder(folder + "\\backup"));
}

TEST_F(FileSystemTest, JapaneseNamesInCodePage932) {
  ASSERT_EQ(GetACP(), 932u);
  // ソ and 表 end in the byte of "\" in Shift-JIS: the classic trap for byte-wise path code.
  const std::string folder = folder_.Path("ソフト表示");
  ASSERT_TRUE(files_.MakeFolder(folder, NewFolder::Inherited).Made());
  EXPECT_TRUE(IsFolder(folder));
  const std::string path = folder + "\\表計算ソフト.exe";
  ASSERT_TRUE(files_.WriteFile(path, "日本語").Made());
  EXPECT_EQ(StoredName(path), "表計算ソフト.exe");
  EXPECT_EQ(LongPath(path), path);
  EXPECT_EQ(files_.ReadFile(path, kWhole), "日本語");
  EXPECT_EQ(CopyTo(path, path + ".manifest").outcome, CopyResult::Copied);
  ASSERT_TRUE(files_.ReplaceAtomically(path + ".manifest", "置き換え").Made());
  EXPECT_EQ(files_.ReadFile(path + ".manifest", kWhole), "置き換え");
  ASSERT_TRUE(files_.RemoveFile(path + ".manifest").Made());
  EXPECT_EQ(StoredName(path + ".manifest"), "");
  EXPECT_EQ(ListFolder(folder), "表計算ソフト.exe");
}

}  // namespace
}  // namespace zelvo::win32
