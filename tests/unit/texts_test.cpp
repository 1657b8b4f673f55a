// The catalogues of the texts: the language each display language gets, every text in every
// language with the same values and line breaks as the Japanese, and the filling in of values.
#include "platform/texts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

namespace zelvo::testing {
namespace {

constexpr const char* kLanguages[] = {"ja", "en"};

// The values a text takes ("{0}", "{1}", ...), and its count of line breaks.
std::multiset<std::string> ValuesOf(std::string_view text) {
  std::multiset<std::string> values;
  for (size_t at = text.find('{'); at != std::string_view::npos; at = text.find('{', at + 1)) {
    values.insert(std::string(text.substr(at, 3)));
  }
  return values;
}
size_t LineBreaks(std::string_view text) {
  size_t count = 0;
  for (size_t at = text.find("\r\n"); at != std::string_view::npos;
       at = text.find("\r\n", at + 2)) {
    ++count;
  }
  return count;
}

TEST(TextsTest, EachDisplayLanguageGetsItsCatalogueAndEveryOtherEnglish) {
  EXPECT_EQ(Texts::For("ja-JP").Language(), "ja");
  EXPECT_EQ(Texts::For("ja").Language(), "ja");
  EXPECT_EQ(Texts::For("en-US").Language(), "en");
  EXPECT_EQ(Texts::For("en-GB").Language(), "en");
  EXPECT_EQ(Texts::For("de-DE").Language(), "en");
  EXPECT_EQ(Texts::For("jav-Latn").Language(), "en") << "a language only named like Japanese";
  EXPECT_EQ(Texts::For("").Language(), "en");
  EXPECT_EQ(Texts::For("ja").Get(TextId::cmdReturn), "元に戻す");
  EXPECT_EQ(Texts::For("en").Get(TextId::cmdReturn), "Restore");
}

TEST(TextsTest, EveryLanguageSaysEveryTextWithTheSameValuesAndLineBreaks) {
  const Texts& japanese = Texts::For("ja");
  for (size_t index = static_cast<size_t>(TextId::Later) + 1; index < kTextCount; ++index) {
    const auto id = static_cast<TextId>(index);
    for (const char* language : kLanguages) {
      const std::string_view text = Texts::For(language).Get(id);
      SCOPED_TRACE(std::string(language) + " " + std::string(TextIdName(id)));
      EXPECT_FALSE(text.empty());
      // The Japanese status of a program not found keeps the name, which is then empty; the
      // English says what happened without it.
      if (id != TextId::MissingStatus || std::string(language) == "ja") {
        EXPECT_EQ(ValuesOf(text), ValuesOf(japanese.Get(id)));
      }
      EXPECT_EQ(LineBreaks(text), LineBreaks(japanese.Get(id)));
      EXPECT_EQ(static_cast<size_t>(std::count(text.begin(), text.end(), '\n')), LineBreaks(text))
          << "a line feed without its carriage return";
      if (std::string(language) == "en") {
        for (char c : text) EXPECT_GE(static_cast<signed char>(c), 0) << "not plain English";
      }
    }
  }
  EXPECT_EQ(Texts::For("ja").Get(TextId::None), "");
  EXPECT_EQ(Texts::For("en").Get(TextId::Later), "");
}

TEST(TextsTest, ValuesAreFilledInOnePass) {
  const Texts& japanese = Texts::For("ja");
  EXPECT_EQ(japanese.Format(TextId::Applied, {"a.exe"}), "a.exe に、XPスタイルを適用しました！");
  // A name that looks like a value stays as it is.
  EXPECT_EQ(japanese.Format(TextId::Refused, {"C:\\{1}", "拒否"}),
            "C:\\{1} の変更は、Windowsによって拒否されました。\r\n拒否");
  // A value used twice, and an empty one.
  EXPECT_EQ(Texts::For("en").Format(TextId::RestoreMissing, {"b.exe"}),
            "The selected b.exe does not have the XP style.\r\n"
            "It may have been restored by hand, or the file may have been moved.\r\n"
            "Remove b.exe from the list?");
  EXPECT_EQ(japanese.Format(TextId::Cancelled, {""}), " への適用がキャンセルされました。");
}

}  // namespace
}  // namespace zelvo::testing
