// Explorer's folder window and the clipboard, through the adapters the list's context menu uses.
#include "win32/system/shell.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "win32/system/strings.h"
#include "test_support.h"

namespace zelvo::win32 {
namespace {

using test::TempFolder;

// Wine's Explorer shows a folder in a window of this class, titled with the folder's name.
HWND WaitForFolderWindow(const std::wstring& title) {
  for (int waited = 0; waited < 300; ++waited) {
    if (HWND window = FindWindowW(L"ExplorerWClass", title.c_str())) return window;
    Sleep(100);
  }
  return nullptr;
}

TEST(ShellTest, ShowsTheFolderOfTheProgramsInExplorer) {
  TempFolder temp;
  // A name of its own, so that no other window is taken for it.
  const std::string name = "表示 " + std::to_string(GetCurrentProcessId());
  const std::string folder = temp.Path(name) + "\\";
  test::MakeFolder(temp.Path(name));
  test::WriteBytes(folder + "Old Tool.exe", "MZ");
  test::WriteBytes(folder + "setup.exe", "MZ");

  Win32Shell().ShowInFolder(folder, {"Old Tool.exe", "setup.exe"});

  const HWND window = WaitForFolderWindow(Wide(name));
  ASSERT_NE(window, nullptr) << "no Explorer window of the folder appeared";
  PostMessageW(window, WM_CLOSE, 0, 0);
}

TEST(ShellTest, AProgramThatIsNotThereIsAFailure) {
  TempFolder temp;
  const std::optional<Failure> failure =
      test::FailureOf([&] { Win32Shell().ShowInFolder(temp.Path(""), {"gone.exe"}); });
  ASSERT_TRUE(failure.has_value());
  EXPECT_NE(failure->Description(), "");
}

TEST(ClipboardTest, PutsTheTextInPlaceOfWhatWasThere) {
  const HWND owner =
      CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  ASSERT_NE(owner, nullptr);
  Win32Clipboard clipboard;
  clipboard.SetOwner(owner);
  clipboard.SetText("earlier");
  const std::string paths = "C:\\Program Files\\Old Tool\\Old Tool.exe\r\nD:\\ソフト\\表示.exe";
  clipboard.SetText(paths);

  ASSERT_TRUE(OpenClipboard(nullptr));
  const HANDLE data = GetClipboardData(CF_UNICODETEXT);
  std::string read;
  if (data) {
    read = Utf8(static_cast<const wchar_t*>(GlobalLock(data)));
    GlobalUnlock(data);
  }
  CloseClipboard();
  DestroyWindow(owner);
  EXPECT_EQ(read, paths);
}

}  // namespace
}  // namespace zelvo::win32
