// File operations that only permissions stop. Wine run as root ignores the read-only bit, as
// root ignores permission bits, so these tests run as an unprivileged user (their own ctest
// entries, through wine-run-unprivileged).
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <utility>

#include "base/failure.h"
#include "win32/system/file_system.h"
#include "win32/system/win32_error.h"
#include "test_support.h"

namespace zelvo::win32 {
namespace {

constexpr uint64_t kWhole = UINT64_MAX;

using test::AddAttributes;
using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

class FileSystemUnprivilegedTest : public ::testing::Test {
 protected:
  TempFolder folder_;
  // A copy to the path `to`, made in its folder.
  CopyResult CopyTo(const std::string& from, const std::string& to) {
    const size_t slash = to.find_last_of('\\');
    return files_.CopyToNew(from, to.substr(0, slash), to.substr(slash + 1));
  }

  Win32FileSystem files_;
};

TEST_F(FileSystemUnprivilegedTest, AReadOnlyFileCannotBeWritten) {
  const std::string manifest = folder_.Path("Foo.exe.manifest");
  WriteBytes(manifest, "old manifest");
  AddAttributes(manifest, FILE_ATTRIBUTE_READONLY);
  // A failure, not a refusal: rights would not change a read-only file.
  try {
    (void)files_.WriteFile(manifest, "new manifest");
    FAIL() << "a read-only file was written, or its write taken for a refusal";
  } catch (const Failure& failure) {
    EXPECT_EQ(failure.Number(), ERROR_ACCESS_DENIED);
    EXPECT_EQ(failure.Description(), DescribeError(ERROR_ACCESS_DENIED));
    EXPECT_FALSE(failure.Description().empty());
  }
  EXPECT_EQ(ReadBytes(manifest), "old manifest");
}

TEST_F(FileSystemUnprivilegedTest, AFolderThatRefusesChangesSaysItIsForWantOfRights) {
  const std::string apps = folder_.Path("apps");
  test::MakeFolder(apps);
  const std::string manifest = apps + "\\Foo.exe.manifest";
  WriteBytes(manifest, "old manifest");
  const test::FolderAccess protection(apps, test::FolderAccess::kWriteProtected);

  const std::pair<const char*, std::function<std::optional<Refusal>()>> changes[] = {
      {"replace", [&] { return files_.WriteFile(manifest, "new").refusal; }},
      {"create", [&] { return files_.WriteFile(apps + "\\Bar.exe.manifest", "new").refusal; }},
      {"replace atomically", [&] { return files_.ReplaceAtomically(manifest, "new").refusal; }},
      {"make a folder",
       [&] { return files_.MakeFolder(apps + "\\backup", NewFolder::Inherited).refusal; }},
      {"copy into", [&] { return CopyTo(manifest, apps + "\\copy.manifest").refusal; }},
  };
  for (const auto& [what, change] : changes) {
    const std::optional<Refusal> refusal = change();
    ASSERT_TRUE(refusal) << what;
    EXPECT_EQ(refusal->number, ERROR_ACCESS_DENIED) << what;
    EXPECT_EQ(refusal->reason, DescribeError(ERROR_ACCESS_DENIED)) << what;
  }
  EXPECT_EQ(ReadBytes(manifest), "old manifest");
}

TEST_F(FileSystemUnprivilegedTest, ADeleteThatDidNotHappenIsARefusal) {
  // Wine reports the delete as done and leaves the file where its folder may not be changed.
  const std::string apps = folder_.Path("apps");
  test::MakeFolder(apps);
  const std::string manifest = apps + "\\Foo.exe.manifest";
  WriteBytes(manifest, "manifest");
  {
    const test::FolderAccess protection(apps, test::FolderAccess::kWriteProtected);
    const ChangeResult removed = files_.RemoveFile(manifest);
    ASSERT_TRUE(removed.refusal) << "a file still there was reported deleted";
    EXPECT_EQ(removed.refusal->number, ERROR_ACCESS_DENIED);
    EXPECT_EQ(ReadBytes(manifest), "manifest");
  }
  EXPECT_TRUE(files_.RemoveFile(manifest).Made());
  EXPECT_FALSE(files_.Look(manifest).Exists());
}

TEST_F(FileSystemUnprivilegedTest, AFolderThatCannotBeListedIsPassedThroughWithNamesAsGiven) {
  const std::string locked = folder_.Path("Locked");
  test::MakeFolder(locked);
  test::MakeFolder(locked + "\\Apps");
  WriteBytes(locked + "\\Apps\\Foo.exe", "x");
  WriteBytes(locked + "\\Bar.exe", "x");
  const test::FolderAccess pass_only(locked, test::FolderAccess::kPassThroughOnly);

  // Below it: only the last part is looked up, in a folder that can be listed. (Under Wine a
  // name in the folder itself must be given in its own letter case: Wine lists a folder to
  // match another case, where Windows does not.)
  const FileFacts below = files_.Look(locked + "\\Apps\\foo.EXE");
  EXPECT_EQ(below.stored_name, "Foo.exe");
  EXPECT_EQ(below.full_path, locked + "\\Apps\\Foo.exe");
  // In it: the file is there, under its name as given.
  const FileFacts in = files_.Look(locked + "\\Bar.exe");
  EXPECT_EQ(in.stored_name, "Bar.exe");
  EXPECT_EQ(in.full_path, locked + "\\Bar.exe");
  // And it is written and read through.
  ASSERT_TRUE(files_.WriteFile(locked + "\\Apps\\Foo.exe.manifest", "manifest").Made());
  EXPECT_EQ(files_.ReadFile(locked + "\\Apps\\Foo.exe.manifest", kWhole), "manifest");
}

TEST_F(FileSystemUnprivilegedTest, AReadOnlyFileCannotBeRemovedOrReplaced) {
  const std::string path = folder_.Path("backup.manifest");
  WriteBytes(path, "old");
  AddAttributes(path, FILE_ATTRIBUTE_READONLY);
  EXPECT_THROW((void)files_.RemoveFile(path), Failure);
  EXPECT_THROW((void)files_.ReplaceAtomically(path, "new"), Failure);
  EXPECT_EQ(CopyTo(folder_.Path("backup.manifest"), path).outcome, CopyResult::TargetTaken);
  EXPECT_EQ(ReadBytes(path), "old");
  EXPECT_EQ(files_.Look(path).stored_name, "backup.manifest");
}

}  // namespace
}  // namespace zelvo::win32
