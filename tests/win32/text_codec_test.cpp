// The ANSI code page (932 under the test prefix) and the user's sort order, from Windows'
// own tables.
#include "win32/system/text_codec.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "win32/system/strings.h"

namespace zelvo::win32 {
namespace {

TEST(AnsiCodePageTest, JapaneseFitsCodePage932) {
  ASSERT_EQ(GetACP(), 932u);
  const Win32AnsiCodePage code_page;
  // ソ = 83 5C, フ = 83 74, ト = 83 67, 表 = 95 5C in Shift-JIS.
  EXPECT_EQ(code_page.Encode("ソフト表.exe"), std::string("\x83\x5c\x83\x74\x83\x67\x95\x5c.exe"));
  EXPECT_EQ(code_page.Encode("C:\\Tools\\"), "C:\\Tools\\");
  EXPECT_EQ(code_page.Encode(""), "");
  EXPECT_EQ(code_page.Encode("ｱｲｳ"), std::string("\xb1\xb2\xb3"));  // half-width katakana
  EXPECT_EQ(code_page.Decode("\x83\x5c\x83\x74\x83\x67\x95\x5c.exe"), "ソフト表.exe");
  EXPECT_EQ(code_page.Decode(""), "");
}

TEST(AnsiCodePageTest, CharactersOutsideTheCodePageDoNotFit) {
  const Win32AnsiCodePage code_page;
  EXPECT_EQ(code_page.Encode("한국어.exe"), std::nullopt);
  EXPECT_EQ(code_page.Encode("Café.exe"), std::nullopt);               // no best fit to a plain "e"
  EXPECT_EQ(code_page.Encode("x\xf0\x9f\x98\x80.exe"), std::nullopt);  // an emoji
  EXPECT_EQ(code_page.Encode("\xff\xfe"), std::nullopt);               // not UTF-8 at all
}

TEST(AnsiCodePageTest, EveryTextThatFitsComesBackUnchanged) {
  const Win32AnsiCodePage code_page;
  for (const std::string text : {"ソフト.exe", "C:\\日本語\\表示", "～", "①", "Ａｂｃ", "abc"}) {
    const std::optional<std::string> encoded = code_page.Encode(text);
    if (!encoded) continue;  // not every character has a place in 932; those that do return
    EXPECT_EQ(code_page.Decode(*encoded), text) << text;
  }
  EXPECT_NE(code_page.Encode("ソフト.exe"), std::nullopt);
}

TEST(AnsiCodePageTest, BytesTheCodePageDoesNotDefineStillDecode) {
  const Win32AnsiCodePage code_page;
  // 0x80 and 0xA0 are no characters in 932; 0x82 at the end is half a character.
  for (const std::string& bytes : {std::string("A\x80"
                                               "B"),
                                   std::string("A\xa0"
                                               "B"),
                                   std::string("AB\x82"), std::string("\xff")}) {
    std::string text;
    ASSERT_NO_THROW(text = code_page.Decode(bytes));
    EXPECT_FALSE(text.empty());
    EXPECT_EQ(Utf8(Wide(text)), text);  // valid UTF-8
    EXPECT_EQ(text[0], bytes[0] == 'A' ? 'A' : text[0]);
  }
}

class CollatorTest : public ::testing::Test {
 protected:
  // The order a sorted list box gives: CompareStringEx of the user's locale, ignoring case.
  static int Compare(const std::string& a, const std::string& b) {
    const std::wstring wide_a = Wide(a), wide_b = Wide(b);
    return CompareStringEx(LOCALE_NAME_USER_DEFAULT, NORM_IGNORECASE, wide_a.c_str(), -1,
                           wide_b.c_str(), -1, nullptr, nullptr, 0) -
           CSTR_EQUAL;
  }
  static int Sign(int value) { return (value > 0) - (value < 0); }

  std::vector<std::string> Sorted(std::vector<std::string> names) const {
    std::stable_sort(names.begin(), names.end(), [this](const auto& a, const auto& b) {
      return collator_.SortKey(a) < collator_.SortKey(b);
    });
    return names;
  }

  Win32Collator collator_;
};

TEST_F(CollatorTest, OrdersNamesIgnoringCase) {
  EXPECT_EQ(Sorted({"c.exe", "B.exe", "a.exe"}),
            (std::vector<std::string>{"a.exe", "B.exe", "c.exe"}));
  EXPECT_EQ(collator_.SortKey("Foo.EXE"), collator_.SortKey("foo.exe"));
  EXPECT_LT(collator_.SortKey("a.exe"), collator_.SortKey("ab.exe"));
  EXPECT_LT(collator_.SortKey(""), collator_.SortKey("a"));
}

TEST_F(CollatorTest, OrdersJapaneseNames) {
  // Latin before kana, kana in the order of the syllabary, the same letter in full and half
  // width next to each other.
  const std::vector<std::string> sorted =
      Sorted({"さくら.exe", "Zelvo.exe", "あいう.exe", "かきく.exe", "Ａ.exe", "a.exe"});
  EXPECT_EQ(sorted[4], "かきく.exe");
  EXPECT_EQ(sorted[5], "さくら.exe");
  EXPECT_EQ(sorted[3], "あいう.exe");
  EXPECT_EQ(sorted[2], "Zelvo.exe");
}

TEST_F(CollatorTest, KeysOrderAsCompareStringDoes) {
  const std::vector<std::string> names = {
      "a.exe",  "A.exe",  "B.exe",      "b.exe",         "c.exe",    "setup.exe",  "Setup2.exe",
      "_x.exe", "1.exe",  "10.exe",     "2.exe",         "a-b.exe",  "ab.exe",     "a b.exe",
      "Ä.exe",  "é.exe",  "ソフト.exe", "そふと.exe",    "ｿﾌﾄ.exe",  "表計算.exe", "漢字.exe",
      "Ａ.exe", "ａ.exe", "ー.exe",     "〜.exe",        "～.exe",   "①.exe",      "한국.exe",
      "",       "a",      "a.",         "Program Files", "PROGRA~1", "zelvo.ini"};
  for (const std::string& a : names) {
    for (const std::string& b : names) {
      EXPECT_EQ(Sign(collator_.SortKey(a).compare(collator_.SortKey(b))), Sign(Compare(a, b)))
          << '"' << a << "\" and \"" << b << '"';
    }
  }
}

TEST_F(CollatorTest, KeysOrderAsASortedListBoxDoes) {
  const HWND list = CreateWindowExW(0, L"LISTBOX", L"", LBS_SORT | LBS_HASSTRINGS, 0, 0, 100, 100,
                                    nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(list, nullptr);
  for (const char* name :
       {"c.exe", "B.exe", "a.exe", "A.exe", "ソフト.exe", "そふと.exe", "表計算.exe", "Setup.exe",
        "setup.exe", "_x.exe", "a-b.exe", "ab.exe", "10.exe", "9.exe", "Ａ.exe", "ｿﾌﾄ.exe"}) {
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(name).c_str()));
  }
  const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
  ASSERT_EQ(count, 16);
  std::vector<std::string> rows;
  for (int row = 0; row < count; ++row) {
    std::wstring text(static_cast<size_t>(SendMessageW(list, LB_GETTEXTLEN, row, 0)) + 1, L'\0');
    text.resize(static_cast<size_t>(
        SendMessageW(list, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text.data()))));
    rows.push_back(Utf8(text));
  }
  DestroyWindow(list);
  // Names that compare equal may stand in either order; otherwise the keys must rise.
  for (size_t row = 1; row < rows.size(); ++row) {
    EXPECT_LE(collator_.SortKey(rows[row - 1]), collator_.SortKey(rows[row]))
        << rows[row - 1] << " before " << rows[row];
  }
}

}  // namespace
}  // namespace zelvo::win32
