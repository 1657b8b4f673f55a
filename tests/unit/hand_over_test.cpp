// What one Zelvo hands to the Zelvo it starts as administrator, as bytes and back: any text
// comes back as it went, and bytes that are not one whole hand-over are no hand-over.
#include "model/hand_over.h"

#include <gtest/gtest.h>

namespace zelvo::testing {
namespace {

const HandOver kHandOver{
    {{"Foo.exe", "C:\\Program Files\\Foo\\", "2026/12/07"},
     {"表示.exe", "\\\\nas\\tools\\", "2005/03/09"},
     {"odd\r\nname:3,", "C:\\", ""}},
    "2.10",
    {"C:\\Program Files\\Old\\app.exe", "\\\\server\\share\\x.exe", "D:\\a b\\"}};

TEST(HandOverTest, EveryTextComesBackAsItWent) {
  EXPECT_EQ(ParseHandOver(FormatHandOver(kHandOver)), kHandOver);
  EXPECT_EQ(ParseHandOver(FormatHandOver(HandOver{})), HandOver{});
}

TEST(HandOverTest, BytesThatAreNoWholeHandOverAreNone) {
  const std::string bytes = FormatHandOver(kHandOver);
  EXPECT_FALSE(ParseHandOver(""));
  EXPECT_FALSE(ParseHandOver("2.20\r\nFoo.exe\r\n"));  // a log file is no hand-over
  EXPECT_FALSE(ParseHandOver(bytes + "x")) << "bytes after the end";
  for (size_t cut = 0; cut < bytes.size(); ++cut) {
    EXPECT_FALSE(ParseHandOver(bytes.substr(0, cut))) << "cut at " << cut;
  }
  // Counts and lengths larger than what follows, or no numbers at all.
  const std::string mark(kHandOverMark);
  EXPECT_FALSE(ParseHandOver(mark + "0:10:9999999999"));
  EXPECT_FALSE(ParseHandOver(mark + "0:1:1" + "99999999999999999999:x"));
  EXPECT_FALSE(ParseHandOver(mark + "0:1:x"));
  EXPECT_FALSE(ParseHandOver(mark + "-1:"));
  // A length or a count of 2^32 + 1, which 32 bits would read as 1 and take the "x" whole.
  EXPECT_FALSE(ParseHandOver(mark + "0:" + "1:0" + "1:1" + "4294967297:x"));
  EXPECT_FALSE(ParseHandOver(mark + "0:" + "1:0" + "10:4294967297" + "1:x"));
  EXPECT_TRUE(ParseHandOver(mark + "0:" + "1:0" + "1:1" + "1:x")) << "the same, counted right";
}

}  // namespace
}  // namespace zelvo::testing
