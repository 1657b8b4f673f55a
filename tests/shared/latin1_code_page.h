// Latin-1 as the ANSI code page, for the tests and fuzzers that run without Windows: every byte
// is a character, and only U+0000..U+00FF fit.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/text_codec.h"

namespace zelvo::testing {

class Latin1CodePage : public AnsiCodePage {
 public:
  std::optional<std::string> Encode(std::string_view utf8) const override {
    std::string ansi;
    for (size_t i = 0; i < utf8.size(); ++i) {
      const auto byte = static_cast<unsigned char>(utf8[i]);
      if (byte < 0x80) {
        ansi += static_cast<char>(byte);
      } else if ((byte == 0xC2 || byte == 0xC3) && i + 1 < utf8.size()) {
        const auto next = static_cast<unsigned char>(utf8[++i]);
        ansi += static_cast<char>(((byte & 0x03) << 6) | (next & 0x3F));
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

}  // namespace zelvo::testing
