// The labels' colours: their own on an ordinary theme, the theme's text colour in high contrast
// and wherever their own could hardly be told from the face.
#include "win32/window/label_drawing.h"

#include <gtest/gtest.h>

#include <string>

namespace zelvo::win32 {
namespace {

constexpr COLORREF kDarkBlue = RGB(0, 0, 128);     // the drop label's own
constexpr COLORREF kHighlight = RGB(0, 120, 215);  // the status line's on Windows 10
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

TEST(LabelColourTest, ContrastRatiosAreWcags) {
  EXPECT_DOUBLE_EQ(ContrastRatio(kBlack, kWhite), 21.0);
  EXPECT_DOUBLE_EQ(ContrastRatio(kWhite, kBlack), 21.0);
  EXPECT_DOUBLE_EQ(ContrastRatio(kDarkBlue, kDarkBlue), 1.0);
  // Windows' blue highlight on white is the 4.5:1 that WCAG asks of text.
  EXPECT_NEAR(ContrastRatio(kHighlight, kWhite), 4.50, 0.01);
  EXPECT_NEAR(ContrastRatio(kHighlight, RGB(240, 240, 240)), 3.95, 0.01);
  EXPECT_NEAR(ContrastRatio(kDarkBlue, RGB(240, 240, 240)), 14.05, 0.01);
  EXPECT_NEAR(ContrastRatio(kDarkBlue, kBlack), 1.31, 0.01);
}

TEST(LabelColourTest, ALabelKeepsItsOwnColourWhereItCanBeRead) {
  struct Case {
    const char* theme;
    LabelTheme colours;
    COLORREF own;
    COLORREF drawn;
  };
  const Case cases[] = {
      {"Windows' face", {false, RGB(240, 240, 240), kBlack}, kDarkBlue, kDarkBlue},
      {"Windows' face", {false, RGB(240, 240, 240), kBlack}, kHighlight, kHighlight},
      {"Wine's face", {false, RGB(245, 245, 245), kBlack}, RGB(48, 150, 250), RGB(48, 150, 250)},
      {"classic", {false, RGB(212, 208, 200), kBlack}, RGB(10, 36, 106), RGB(10, 36, 106)},
      // High contrast on: the theme's text, even where the label's own would be read.
      {"High Contrast White", {true, kWhite, kBlack}, kDarkBlue, kBlack},
      {"High Contrast Black", {true, kBlack, kWhite}, RGB(26, 235, 255), kWhite},
      // A dark theme without high contrast: dark blue, and a purple highlight, vanish on black.
      {"dark", {false, kBlack, kWhite}, kDarkBlue, kWhite},
      {"dark", {false, kBlack, kWhite}, RGB(128, 0, 128), kWhite},
      {"dark", {false, kBlack, kWhite}, RGB(26, 235, 255), RGB(26, 235, 255)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.theme) + " " + std::to_string(c.own));
    EXPECT_EQ(LabelTextColour(c.own, c.colours), c.drawn);
  }
}

}  // namespace
}  // namespace zelvo::win32
