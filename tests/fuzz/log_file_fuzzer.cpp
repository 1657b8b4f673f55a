// Any bytes may stand in zelvo.ini. Whatever the reader takes from them must be written back
// and read again as the same entries, with nothing left behind.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "model/log_file_format.h"

namespace {

// Latin-1 as the ANSI code page: every byte is a character, and only U+0000..U+00FF fit.
class Latin1 : public zelvo::AnsiCodePage {
 public:
  std::optional<std::string> Encode(std::string_view utf8) const override {
    std::string ansi;
    for (size_t i = 0; i < utf8.size(); ++i) {
      const auto byte = static_cast<unsigned char>(utf8[i]);
      if (byte < 0x80) {
        ansi += static_cast<char>(byte);
      } else if ((byte == 0xC2 || byte == 0xC3) && i + 1 < utf8.size()) {
        ansi += static_cast<char>(((byte & 0x03) << 6) | (utf8[++i] & 0x3F));
      } else {
        return std::nullopt;
      }
    }
    return ansi;
  }
  std::string Decode(std::string_view ansi) const override {
    std::string utf8;
    for (char c : ansi) {
      const auto byte = static_cast<unsigned char>(c);
      if (byte < 0x80) {
        utf8 += c;
      } else {
        utf8 += static_cast<char>(0xC0 | (byte >> 6));
        utf8 += static_cast<char>(0x80 | (byte & 0x3F));
      }
    }
    return utf8;
  }
};

void Require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const Latin1 code_page;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const zelvo::ParsedLogFile parsed = zelvo::ParseLogFile(bytes, "2.20", code_page);

  std::vector<const zelvo::LogEntry*> entries;
  for (const auto& entry : parsed.entries) {
    Require(!entry.name.empty() && !entry.folder.empty() && !entry.date.empty());
    entries.push_back(&entry);
  }
  const std::string written = zelvo::FormatLogFile("2.20", entries, code_page);
  const zelvo::ParsedLogFile again = zelvo::ParseLogFile(written, "2.20", code_page);
  Require(again.left_behind.empty());
  Require(again.entries.size() == parsed.entries.size());
  for (size_t i = 0; i < again.entries.size(); ++i) {
    Require(again.entries[i].name == parsed.entries[i].name);
    Require(again.entries[i].folder == parsed.entries[i].folder);
    Require(again.entries[i].date == parsed.entries[i].date);
  }
  return 0;
}
