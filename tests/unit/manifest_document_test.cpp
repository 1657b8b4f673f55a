// The manifest document, byte for byte, in both forms.
#include "model/manifest_document.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "texts.h"

namespace zelvo::testing {
namespace {

std::vector<std::string> Lines(const std::string& document) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = document.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(document.substr(start, end - start));
  }
  EXPECT_EQ(start, document.size()) << "text after the last CR LF";
  return lines;
}

TEST(ManifestDocumentTest, X86DocumentIsThe450ByteText) {
  const std::string document = ManifestDocument(ManifestArchitecture::X86);
  EXPECT_EQ(document, expected::ManifestDocument("X86"));
  EXPECT_EQ(document.size(), 450u);
}

TEST(ManifestDocumentTest, SixtyFourBitDocumentDiffersOnlyInTheArchitecture) {
  const std::string document = ManifestDocument(ManifestArchitecture::Any);
  EXPECT_EQ(document, expected::ManifestDocument("*"));
  EXPECT_EQ(document.size(), 448u);
}

TEST(ManifestDocumentTest, EighteenCrLfLinesOfAsciiWithTabIndentation) {
  for (auto architecture : {ManifestArchitecture::X86, ManifestArchitecture::Any}) {
    const std::string document = ManifestDocument(architecture);
    const auto lines = Lines(document);
    ASSERT_EQ(lines.size(), 18u);
    EXPECT_TRUE(lines[2].empty());
    EXPECT_TRUE(lines[17].empty());
    EXPECT_EQ(document.substr(document.size() - 15), "</assembly>\r\n\r\n");

    const size_t tabs[18] = {0, 0, 0, 0, 0, 1, 2, 3, 3, 3, 3, 3, 3, 2, 1, 0, 0, 0};
    for (size_t i = 0; i < lines.size(); ++i) {
      const size_t leading = lines[i].find_first_not_of('\t');
      EXPECT_EQ(leading == std::string::npos ? lines[i].size() : leading, tabs[i]) << i + 1;
      EXPECT_EQ(lines[i].find_first_of("\t", tabs[i]), std::string::npos) << i + 1;
      if (!lines[i].empty()) {
        EXPECT_NE(lines[i].back(), ' ') << i + 1;
      }
    }
    for (char c : document) {
      const auto byte = static_cast<unsigned char>(c);
      EXPECT_TRUE(byte == '\t' || byte == '\r' || byte == '\n' || (byte >= 0x20 && byte < 0x7F))
          << static_cast<int>(byte);
    }
  }
}

TEST(ManifestDocumentTest, ManifestPathAppendsToTheTargetAsItIs) {
  EXPECT_EQ(ManifestPath("C:\\Tools\\Foo.exe"), "C:\\Tools\\Foo.exe.manifest");
  EXPECT_EQ(ManifestPath("C:\\TOOLS\\FOO.EXE"), "C:\\TOOLS\\FOO.EXE.manifest");
  EXPECT_EQ(ManifestPath("D:\\scripts\\run.bat"), "D:\\scripts\\run.bat.manifest");
}

}  // namespace
}  // namespace zelvo::testing
