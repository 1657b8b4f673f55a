// File operations that only permissions stop. Wine run as root ignores the read-only bit, as
// root ignores permission bits, so these tests run as an unprivileged user (their own ctest
// entries, through wine-run-unprivileged).
#include <windows.h>

#include <gtest/gtest.h>

#include "base/failure.h"
#include "win32/file_system.h"
#include "win32/win32_error.h"
#include "test_support.h"

namespace zelvo::win32 {
namespace {

using test::AddAttributes;
using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

class FileSystemUnprivilegedTest : public ::testing::Test {
 protected:
  TempFolder folder_;
  Win32FileSystem files_;
};

TEST_F(FileSystemUnprivilegedTest, AReadOnlyFileCannotBeWritten) {
  const std::string manifest = folder_.Path("Foo.exe.manifest");
  WriteBytes(manifest, "old manifest");
  AddAttributes(manifest, FILE_ATTRIBUTE_READONLY);
  try {
    files_.WriteFile(manifest, "new manifest");
    FAIL() << "a read-only file was written";
  } catch (const Failure& failure) {
    EXPECT_EQ(failure.Number(), ERROR_ACCESS_DENIED);
    EXPECT_EQ(failure.Description(), DescribeError(ERROR_ACCESS_DENIED));
    EXPECT_FALSE(failure.Description().empty());
  }
  EXPECT_EQ(ReadBytes(manifest), "old manifest");
}

TEST_F(FileSystemUnprivilegedTest, AReadOnlyFileCannotBeRemovedOrReplaced) {
  const std::string path = folder_.Path("backup.manifest");
  WriteBytes(path, "old");
  AddAttributes(path, FILE_ATTRIBUTE_READONLY);
  EXPECT_THROW(files_.RemoveFile(path), Failure);
  EXPECT_THROW(files_.ReplaceAtomically(path, "new"), Failure);
  EXPECT_FALSE(files_.CopyToNew(folder_.Path("backup.manifest"), path));
  EXPECT_EQ(ReadBytes(path), "old");
  EXPECT_EQ(files_.StoredName(path), "backup.manifest");
}

}  // namespace
}  // namespace zelvo::win32
