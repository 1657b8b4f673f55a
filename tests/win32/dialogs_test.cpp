// Message boxes, answered from a second thread: it finds the box of the test's thread, reads
// its title, text, buttons, default button, icon and owner, and presses a button.
#include "win32/system/dialogs.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <future>
#include <string>
#include <thread>

#include "win32/system/strings.h"

namespace zelvo::win32 {
namespace {

// What the second thread saw of the box.
struct SeenBox {
  bool found = false;
  std::string title;
  std::string text;
  bool has_ok = false, has_yes = false, has_no = false;
  int default_id = 0;  // the button drawn as default
  HICON icon = nullptr;
  HWND owner = nullptr;
};

BOOL CALLBACK FindBox(HWND window, LPARAM found) {
  wchar_t class_name[16] = {};
  GetClassNameW(window, class_name, 16);
  if (std::wstring(class_name) == L"#32770" && IsWindowVisible(window)) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

std::string WindowText(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return Utf8(text);
}

// Waits for the box on `thread_id`, records it, and presses `button`.
SeenBox AnswerBox(DWORD thread_id, int button) {
  SeenBox seen;
  HWND box = nullptr;
  for (int waited = 0; waited < 200 && box == nullptr; ++waited) {
    EnumThreadWindows(thread_id, FindBox, reinterpret_cast<LPARAM>(&box));
    if (box == nullptr) Sleep(50);
  }
  if (box == nullptr) return seen;
  seen.found = true;
  seen.title = WindowText(box);
  seen.text = WindowText(GetDlgItem(box, 0xFFFF));
  seen.has_ok = GetDlgItem(box, IDOK) != nullptr;
  seen.has_yes = GetDlgItem(box, IDYES) != nullptr;
  seen.has_no = GetDlgItem(box, IDNO) != nullptr;
  for (int id : {IDOK, IDYES, IDNO}) {
    const HWND button_window = GetDlgItem(box, id);
    if (button_window &&
        (GetWindowLongW(button_window, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
      seen.default_id = id;
    }
  }
  // Wine's box shows its icon in the static control 1088 (Windows: 20).
  for (int id : {1088, 20}) {
    if (const HWND icon_window = GetDlgItem(box, id)) {
      seen.icon = reinterpret_cast<HICON>(SendMessageW(icon_window, STM_GETICON, 0, 0));
      if (seen.icon) break;
    }
  }
  seen.owner = GetWindow(box, GW_OWNER);
  PostMessageW(GetDlgItem(box, button), BM_CLICK, 0, 0);
  return seen;
}

// Shows `message` on this thread while a second thread answers with `button`.
Answer ShowAndAnswer(Win32Dialogs& dialogs, const Message& message, int button, SeenBox& seen) {
  const DWORD thread_id = GetCurrentThreadId();
  auto answer = std::async(std::launch::async, AnswerBox, thread_id, button);
  const Answer result = dialogs.Show(message);
  seen = answer.get();
  return result;
}

TEST(DialogsTest, AQuestionShowsItsTextTitleButtonsAndDefaultAndGivesTheAnswer) {
  Win32Dialogs dialogs;
  const Message question =
      Question("Foo.exe には、既にXPスタイルが適用されています。\r\n新たに適用しますか？",
               "XPスタイル適用 - 処理の確認", DefaultButton::First);
  SeenBox seen;
  EXPECT_EQ(ShowAndAnswer(dialogs, question, IDYES, seen), Answer::Yes);
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(seen.title, "XPスタイル適用 - 処理の確認");
  EXPECT_EQ(seen.text, question.text);
  EXPECT_TRUE(seen.has_yes);
  EXPECT_TRUE(seen.has_no);
  EXPECT_FALSE(seen.has_ok);
  EXPECT_EQ(seen.default_id, IDYES);
  EXPECT_EQ(seen.icon, LoadIconW(nullptr, IDI_QUESTION));
  EXPECT_EQ(seen.owner, nullptr);
}

TEST(DialogsTest, NoAsTheDefaultAndAsTheAnswer) {
  Win32Dialogs dialogs;
  SeenBox seen;
  EXPECT_EQ(ShowAndAnswer(
                dialogs,
                Question("起動しますか？", "ソフトを起動する - 処理の確認", DefaultButton::Second),
                IDNO, seen),
            Answer::No);
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(seen.default_id, IDNO);
}

TEST(DialogsTest, NoticesHaveOnlyOkAndTheirIcon) {
  struct Case {
    Icon icon;
    const wchar_t* system_icon;
  };
  for (const Case& c : {Case{Icon::Information, IDI_INFORMATION}, Case{Icon::Warning, IDI_WARNING},
                        Case{Icon::Stop, IDI_ERROR}}) {
    Win32Dialogs dialogs;
    SeenBox seen;
    EXPECT_EQ(ShowAndAnswer(dialogs, Notice("お知らせ", "Zelvoちゃん", c.icon), IDOK, seen),
              Answer::Ok);
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.text, "お知らせ");
    EXPECT_TRUE(seen.has_ok);
    EXPECT_FALSE(seen.has_yes);
    EXPECT_FALSE(seen.has_no);
    EXPECT_EQ(seen.icon, LoadIconW(nullptr, c.system_icon));
  }
}

TEST(DialogsTest, TheBoxBelongsToTheOwnerWindow) {
  const HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                     nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(owner, nullptr);
  Win32Dialogs dialogs;
  dialogs.SetOwner(owner);
  SeenBox seen;
  EXPECT_EQ(ShowAndAnswer(dialogs, Notice("text", "title", Icon::Warning), IDOK, seen), Answer::Ok);
  EXPECT_EQ(seen.owner, owner);
  DestroyWindow(owner);
}

}  // namespace
}  // namespace zelvo::win32
