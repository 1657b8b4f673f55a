// The Win32 side of a large log: sort keys and code page conversions at the sizes where their
// buffers change, and the visible list filled, changed and drawn as the log model drives it.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/failure.h"
#include "win32/window/list_box.h"
#include "win32/system/strings.h"
#include "win32/system/text_codec.h"

namespace zelvo::win32 {
namespace {

// The key as LCMapStringEx gives it when asked for the size first.
std::string ReferenceSortKey(const std::string& utf8) {
  const std::wstring wide = Wide(utf8);
  constexpr DWORD kFlags = LCMAP_SORTKEY | NORM_IGNORECASE;
  const int size = static_cast<int>(wide.size());
  const int length = LCMapStringEx(LOCALE_NAME_USER_DEFAULT, kFlags, wide.data(), size, nullptr, 0,
                                   nullptr, nullptr, 0);
  std::string key(static_cast<size_t>(length) + 1, '\0');
  LCMapStringEx(LOCALE_NAME_USER_DEFAULT, kFlags, wide.data(), size,
                reinterpret_cast<LPWSTR>(key.data()), length, nullptr, nullptr, 0);
  key.resize(static_cast<size_t>(length));
  while (!key.empty() && key.back() == '\0') key.pop_back();
  return key;
}

std::string Repeat(std::string_view part, size_t times) {
  std::string text;
  for (size_t i = 0; i < times; ++i) text += part;
  return text;
}

TEST(LargeLogCollatorTest, KeysOfNamesOfEveryLengthAreWhole) {
  const Win32Collator collator;
  // Names around the sizes the key's buffers change at (256 UTF-16 units, a key of 512 bytes),
  // in one-byte, three-byte and four-byte UTF-8.
  for (size_t length : {1u, 100u, 127u, 128u, 255u, 256u, 257u, 300u, 1000u, 5000u}) {
    for (const std::string_view part : {"a", "B", "ソ", "\xf0\x9f\x98\x80"}) {
      const std::string name = Repeat(part, length) + ".exe";
      const std::string key = collator.SortKey(name);
      ASSERT_EQ(key, ReferenceSortKey(name)) << length << " times " << part;
      ASSERT_FALSE(key.empty());
    }
  }
  // Case is ignored at every length, and a longer name still sorts after its beginning.
  EXPECT_EQ(collator.SortKey(Repeat("a", 600)), collator.SortKey(Repeat("A", 600)));
  EXPECT_LT(collator.SortKey(Repeat("a", 600)), collator.SortKey(Repeat("a", 601)));
}

TEST(LargeLogCodePageTest, ALargeLogComesBackByteForByte) {
  ASSERT_EQ(GetACP(), 932u);
  const Win32AnsiCodePage code_page;
  // Half-width katakana take one byte in 932 and three in UTF-8; kanji two and three.
  std::string text;
  for (int i = 0; i < 50000; ++i) {
    text += "ｿﾌﾄ" + std::to_string(i) + ".exe\r\nC:\\表計算\\Tools\\\r\n2026/12/07\r\n";
  }
  const std::optional<std::string> ansi = code_page.Encode(text);
  ASSERT_TRUE(ansi.has_value());
  const std::wstring wide = Wide(text);
  const int size = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string expected(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), expected.data(), size,
                      nullptr, nullptr);
  EXPECT_TRUE(*ansi == expected);
  EXPECT_LT(ansi->size(), text.size());
  EXPECT_TRUE(code_page.Decode(*ansi) == text);

  // One character the code page lacks, at the very end of a long text, is still found.
  EXPECT_EQ(code_page.Encode(text + "한"), std::nullopt);
}

// A visible window with a list box like the main window's, subclassed as the main window
// subclasses its controls.
class ListWindow {
 public:
  ListWindow() {
    window_ = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 300,
                              nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    list_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"",
                            WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_EXTENDEDSEL | LBS_NOTIFY |
                                LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS,
                            0, 0, 200, 200, window_, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(list_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    own_procedure_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(list_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Subclass)));
  }
  ~ListWindow() { DestroyWindow(window_); }
  ListWindow(const ListWindow&) = delete;
  ListWindow& operator=(const ListWindow&) = delete;

  HWND List() const { return list_; }
  int InsertsSeen() const { return inserts_seen_; }

  std::vector<std::string> Rows() const {
    std::vector<std::string> rows;
    const LRESULT count = SendMessageW(list_, LB_GETCOUNT, 0, 0);
    for (LRESULT row = 0; row < count; ++row) {
      std::wstring text(static_cast<size_t>(SendMessageW(list_, LB_GETTEXTLEN, row, 0)) + 1, L'\0');
      text.resize(static_cast<size_t>(
          SendMessageW(list_, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text.data()))));
      rows.push_back(Utf8(text));
    }
    return rows;
  }

 private:
  static LRESULT CALLBACK Subclass(HWND list, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* self = reinterpret_cast<ListWindow*>(GetWindowLongPtrW(list, GWLP_USERDATA));
    if (message == LB_INSERTSTRING) ++self->inserts_seen_;
    return CallWindowProcW(self->own_procedure_, list, message, wparam, lparam);
  }

  HWND window_ = nullptr;
  HWND list_ = nullptr;
  WNDPROC own_procedure_ = nullptr;
  int inserts_seen_ = 0;
};

// Handles what was posted to this thread, as a message loop does before it paints.
void ReadPostedMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE | PM_QS_POSTMESSAGE)) {
    DispatchMessageW(&message);
  }
}

void PaintEverything() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

TEST(LargeLogListBoxTest, ALongLogFillsTheListInOrderPastItsSubclass) {
  ListWindow window;
  Win32ListBox list(window.List());
  std::vector<std::string> texts;
  for (int i = 0; i < 20000; ++i) texts.push_back((i % 2 ? "ソフト" : "Tool") + std::to_string(i));
  texts.push_back("");
  const std::vector<std::string_view> views(texts.begin(), texts.end());
  list.ResetRows(views);
  EXPECT_EQ(window.Rows(), texts);
  // Sent through the subclass, each row would cost Wine a round trip to its server.
  EXPECT_EQ(window.InsertsSeen(), 0);

  list.ResetRows({"a", "b"});
  EXPECT_EQ(window.Rows(), (std::vector<std::string>{"a", "b"}));
  list.ResetRows({});
  EXPECT_TRUE(window.Rows().empty());
}

TEST(LargeLogListBoxTest, RowsSelectionAndCaretFollowEveryChange) {
  ListWindow window;
  Win32ListBox list(window.List());
  list.ResetRows({"a", "c", "d"});
  list.InsertRow(1, "b");
  list.InsertRow(4, "e");
  list.RemoveRow(3);
  EXPECT_EQ(window.Rows(), (std::vector<std::string>{"a", "b", "c", "e"}));

  list.SetSelected(1, true);
  list.SetSelected(3, true);
  list.SetCurrentRow(3);
  ListSelection selection = list.UserSelection();
  EXPECT_EQ(selection.rows, (std::vector<size_t>{1, 3}));
  EXPECT_EQ(selection.current, 3u);

  list.SetSelected(1, false);
  list.SetAllSelected(true);
  EXPECT_EQ(list.UserSelection().rows, (std::vector<size_t>{0, 1, 2, 3}));
  list.SetAllSelected(false);
  EXPECT_TRUE(list.UserSelection().rows.empty());
  EXPECT_THROW(list.RemoveRow(4), Failure);
  EXPECT_THROW(list.SetSelected(9, true), Failure);
}

// Whether a row inserted at the first visible place now asks for the list to be drawn again:
// not while the list's drawing is paused.
bool RedrawsOnChange(HWND list) {
  ValidateRect(list, nullptr);
  const LRESULT top = SendMessageW(list, LB_GETTOPINDEX, 0, 0);
  SendMessageW(list, LB_INSERTSTRING, top, reinterpret_cast<LPARAM>(L"probe"));
  RECT update{};
  const bool redraws = GetUpdateRect(list, &update, FALSE) != FALSE;
  SendMessageW(list, LB_DELETESTRING, top, 0);
  ValidateRect(list, nullptr);
  return redraws;
}

TEST(LargeLogListBoxTest, ABatchOfChangesIsDrawnOnceTheThreadReadsItsMessages) {
  ListWindow window;
  Win32ListBox list(window.List());
  list.ResetRows({"a", "b", "c"});
  PaintEverything();
  ASSERT_TRUE(RedrawsOnChange(window.List()));

  for (int i = 0; i < 200; ++i) {
    list.InsertRow(static_cast<size_t>(i), "row" + std::to_string(i));
    list.SetCurrentRow(static_cast<size_t>(i));
    list.SetSelected(static_cast<size_t>(i), true);
  }
  // Nothing is drawn while the program works through the batch ...
  EXPECT_FALSE(RedrawsOnChange(window.List()));
  EXPECT_EQ(SendMessageW(window.List(), LB_GETCOUNT, 0, 0), 203);
  EXPECT_EQ(SendMessageW(window.List(), LB_GETSELCOUNT, 0, 0), 200);
  EXPECT_EQ(SendMessageW(window.List(), LB_GETCARETINDEX, 0, 0), 199);
  // ... and the whole list is drawn once it reads its messages again.
  ReadPostedMessages();
  RECT update{};
  EXPECT_TRUE(GetUpdateRect(window.List(), &update, FALSE));
  PaintEverything();
  EXPECT_TRUE(RedrawsOnChange(window.List()));

  // The next change pauses the drawing again, until the next read.
  list.RemoveRow(0);
  EXPECT_FALSE(RedrawsOnChange(window.List()));
  ReadPostedMessages();
  EXPECT_TRUE(RedrawsOnChange(window.List()));
}

}  // namespace
}  // namespace zelvo::win32
