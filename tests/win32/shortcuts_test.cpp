// Shortcut targets read back from .lnk files made with the shell's own link object.
#include "win32/system/shortcuts.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include "base/failure.h"
#include "win32/system/com.h"
#include "win32/system/strings.h"
#include "win32/system/win32_error.h"
#include "test_support.h"

namespace zelvo::win32 {
namespace {

using Microsoft::WRL::ComPtr;
using test::TempFolder;
using test::WriteBytes;

// Saves a shortcut at `link_path`; `target` empty makes one to "This PC", which is no file.
void MakeShortcut(const std::string& link_path, const std::string& target) {
  ComPtr<IShellLinkW> link;
  CheckHresult(
      CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link)));
  if (target.empty()) {
    PIDLIST_ABSOLUTE computer = nullptr;
    CheckHresult(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computer));
    const HRESULT set = link->SetIDList(computer);
    CoTaskMemFree(computer);
    CheckHresult(set);
  } else {
    CheckHresult(link->SetPath(Wide(target).c_str()));
  }
  ComPtr<IPersistFile> file;
  CheckHresult(link.As(&file));
  CheckHresult(file->Save(test::Extended(link_path).c_str(), TRUE));
}

class ShortcutsTest : public ::testing::Test {
 protected:
  ComApartment apartment_;
  TempFolder folder_;
  Win32Shortcuts shortcuts_;
};

TEST_F(ShortcutsTest, ReadsTheTargetOfAShortcut) {
  test::MakeFolder(folder_.Path("Old Apps"));
  const std::string target = folder_.Path("Old Apps\\Foo.exe");
  WriteBytes(target, "MZ");
  MakeShortcut(folder_.Path("Foo.lnk"), target);
  EXPECT_EQ(shortcuts_.TargetPath(folder_.Path("Foo.lnk")), target);
  EXPECT_EQ(shortcuts_.TargetPath(folder_.Path("FOO.LNK")), target);
}

TEST_F(ShortcutsTest, ReadsAJapaneseTargetInCodePage932) {
  test::MakeFolder(folder_.Path("ソフト表示"));
  const std::string target = folder_.Path("ソフト表示\\表計算.exe");
  WriteBytes(target, "MZ");
  MakeShortcut(folder_.Path("表計算へのショートカット.lnk"), target);
  EXPECT_EQ(shortcuts_.TargetPath(folder_.Path("表計算へのショートカット.lnk")), target);
}

TEST_F(ShortcutsTest, AShortcutDeepInAPathLongerThan260Characters) {
  std::string folder = folder_.Path();
  while (folder.size() < 300) {
    folder += "\\" + std::string(50, 'l');
    test::MakeFolder(folder);
  }
  const std::string target = folder_.Path("Foo.exe");
  WriteBytes(target, "MZ");
  MakeShortcut(folder + "\\Foo.lnk", target);
  EXPECT_EQ(shortcuts_.TargetPath(folder + "\\Foo.lnk"), target);
}

TEST_F(ShortcutsTest, ATargetThatNoLongerExistsIsStillReported) {
  const std::string target = folder_.Path("Gone.exe");
  WriteBytes(target, "MZ");
  MakeShortcut(folder_.Path("Gone.lnk"), target);
  DeleteFileW(test::Extended(target).c_str());
  EXPECT_EQ(shortcuts_.TargetPath(folder_.Path("Gone.lnk")), target);
}

TEST_F(ShortcutsTest, AShortcutToSomethingThatIsNoFileGivesAnEmptyTarget) {
  MakeShortcut(folder_.Path("Computer.lnk"), "");
  EXPECT_EQ(shortcuts_.TargetPath(folder_.Path("Computer.lnk")), "");
}

TEST_F(ShortcutsTest, AShortcutThatCannotBeReadThrowsItsHresult) {
  try {
    shortcuts_.TargetPath(folder_.Path("Missing.lnk"));
    FAIL() << "a missing shortcut was read";
  } catch (const Failure& failure) {
    EXPECT_EQ(failure.Number(), static_cast<int32_t>(HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)));
    EXPECT_LT(failure.Number(), 0);
    EXPECT_FALSE(failure.Description().empty());
  }
  WriteBytes(folder_.Path("Broken.lnk"), "this is not a shell link");
  EXPECT_THROW(shortcuts_.TargetPath(folder_.Path("Broken.lnk")), Failure);
}

TEST(ComApartmentTest, NestsInASingleThreadedApartmentButNotInAMultithreadedOne) {
  {
    ComApartment outer;
    ComApartment inner;  // S_FALSE: the same apartment again, released in turn
  }
  ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
  try {
    ComApartment apartment;
    ADD_FAILURE() << "a single-threaded apartment opened in a multithreaded thread";
  } catch (const Failure& failure) {
    EXPECT_EQ(failure.Number(), static_cast<int32_t>(RPC_E_CHANGED_MODE));
  }
  CoUninitialize();
}

}  // namespace
}  // namespace zelvo::win32
