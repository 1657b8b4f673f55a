// What a path can name, read as text: the checks that keep a log entry edited by hand from
// steering a restore or a launch to another file, and the parts of a path the procedures take.
#include "model/file_names.h"

#include <gtest/gtest.h>

#include "model/log_model.h"

namespace zelvo::testing {
namespace {

TEST(FileNamesTest, APlainFileNameIsOneNameAndNothingElse) {
  for (const char* name : {"Foo.exe", "setup 2.EXE", "表計算ソフト.exe", "a", ".hidden", "a..b"}) {
    EXPECT_TRUE(IsPlainFileName(name)) << name;
  }
  for (const char* name :
       {"", ".", "..", "..\\victim\\v.exe", "dir/v.exe", "C:v.exe", "v*.exe", "v?.exe", "a\"b",
        "a<b", "a>b", "a|b", "trailing.", "trailing ", "tab\there", "del\x7F"}) {
    EXPECT_FALSE(IsPlainFileName(name)) << name;
  }
}

TEST(FileNamesTest, ANormalFolderIsFullAndTakenByWindowsAsItStands) {
  for (const char* folder : {"C:\\", "C:\\Tools\\", "d:\\Program Files\\Old App\\",
                             "\\\\server\\share\\", "\\\\server\\share\\Apps\\Old\\"}) {
    EXPECT_TRUE(IsNormalFolder(folder)) << folder;
  }
  for (const char* folder : {"",
                             "C:",
                             "C:\\Tools",
                             "C:Tools\\",
                             "Tools\\",
                             "\\Tools\\",
                             ".\\",
                             "..\\",
                             "C:\\Tools\\..\\Windows\\",
                             "C:\\Tools\\.\\",
                             "C:/Tools/",
                             "C:\\Tools\\\\",
                             "C:\\Tools.\\",
                             "\\\\?\\C:\\Tools\\",
                             "\\\\.\\C:\\Tools\\",
                             "\\\\server\\",
                             "\\\\server\\share",
                             "\\\\\\share\\",
                             "1:\\Tools\\",
                             "C:\\To*ls\\"}) {
    EXPECT_FALSE(IsNormalFolder(folder)) << folder;
  }
}

TEST(FileNamesTest, AnEntryNamesOneFileOnlyWithBothItsPartsSound) {
  EXPECT_TRUE(NamesOneFile({"Foo.exe", "C:\\Apps\\", "2026/12/07"}));
  EXPECT_TRUE(NamesOneFile({"Foo.exe", "\\\\nas\\tools\\", "2026/12/07"}));
  EXPECT_FALSE(NamesOneFile({"..\\Foo.exe", "C:\\Apps\\", "2026/12/07"}));
  EXPECT_FALSE(NamesOneFile({"Foo.exe", "Apps\\", "2026/12/07"}));
}

TEST(FileNamesTest, ThePartsOfAPath) {
  EXPECT_TRUE(HasExtension("C:\\A\\Foo.EXE", ".exe"));
  EXPECT_TRUE(HasExtension(".lnk", ".LNK"));
  EXPECT_FALSE(HasExtension("C:\\A\\Foo.exe2", ".exe"));
  EXPECT_FALSE(HasExtension("exe", ".exe"));
  EXPECT_TRUE(CanNameFile("C:\\A\\Foo.exe"));
  EXPECT_FALSE(CanNameFile(""));
  EXPECT_FALSE(CanNameFile("C:\\A\\*.exe"));
  EXPECT_FALSE(CanNameFile("C:\\A\\Fo?.exe"));
  EXPECT_EQ(FolderOf("C:\\A\\Foo.exe"), "C:\\A\\");
  EXPECT_EQ(FolderOf("Foo.exe"), "");
  EXPECT_EQ(LastComponent("C:\\A\\Foo.exe"), "Foo.exe");
  EXPECT_EQ(LastComponent("Foo.exe"), "Foo.exe");
}

}  // namespace
}  // namespace zelvo::testing
