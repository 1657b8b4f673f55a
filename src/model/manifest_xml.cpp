// The look into a manifest's XML: a textual scan for the dependency on Common-Controls 6.
#include "model/manifest_xml.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

namespace zelvo {
namespace {

// The manifest's text with every character outside ASCII replaced by '_', so that UTF-8 and
// UTF-16 (either byte order, with or without a byte-order mark) read alike.
std::string AsciiText(std::string_view bytes) {
  auto byte = [&](size_t at) { return static_cast<uint8_t>(bytes[at]); };
  bool utf16 = false;
  bool big_endian = false;
  size_t start = 0;
  if (bytes.size() >= 2 && byte(0) == 0xFF && byte(1) == 0xFE) {
    utf16 = true;
    start = 2;
  } else if (bytes.size() >= 2 && byte(0) == 0xFE && byte(1) == 0xFF) {
    utf16 = big_endian = true;
    start = 2;
  } else if (bytes.size() >= 2 && byte(0) != 0 && byte(1) == 0) {
    utf16 = true;  // "<\0": UTF-16LE without a mark
  } else if (bytes.size() >= 2 && byte(0) == 0 && byte(1) != 0) {
    utf16 = big_endian = true;
  }
  std::string text;
  if (!utf16) {
    text.assign(bytes);
    for (char& c : text) {
      if (static_cast<uint8_t>(c) >= 0x80) c = '_';
    }
    return text;
  }
  text.reserve(bytes.size() / 2);
  for (size_t at = start; at + 1 < bytes.size(); at += 2) {
    const uint16_t unit = big_endian ? static_cast<uint16_t>(byte(at) << 8 | byte(at + 1))
                                     : static_cast<uint16_t>(byte(at) | byte(at + 1) << 8);
    text += unit < 0x80 ? static_cast<char>(unit) : '_';
  }
  return text;
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return Lower(x) == Lower(y); });
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
  return text;
}

// One start or end tag: its name without a namespace prefix, and the two attributes we need.
struct Tag {
  bool closing = false;
  bool self_closing = false;
  std::string_view local_name;
  std::optional<std::string_view> name;
  std::optional<std::string_view> version;
};

// Reads the tag that starts at text[at] == '<' and moves `at` past it. Forgives what a strict
// parser would refuse (unquoted values, stray characters); at the end of the text it stops.
Tag ReadTag(std::string_view text, size_t& at) {
  Tag tag;
  ++at;
  if (at < text.size() && text[at] == '/') {
    tag.closing = true;
    ++at;
  }
  const size_t name_start = at;
  while (at < text.size() && !IsSpace(text[at]) && text[at] != '>' && text[at] != '/') ++at;
  std::string_view qualified = text.substr(name_start, at - name_start);
  const size_t colon = qualified.find_last_of(':');
  tag.local_name = colon == std::string_view::npos ? qualified : qualified.substr(colon + 1);

  while (at < text.size()) {
    const char c = text[at];
    if (c == '>') {
      ++at;
      return tag;
    }
    if (c == '/') {
      ++at;
      if (at < text.size() && text[at] == '>') {
        tag.self_closing = true;
        ++at;
        return tag;
      }
      continue;
    }
    if (IsSpace(c) || c == '=' || c == '"' || c == '\'') {
      ++at;  // stray quotes and equals signs outside an attribute: skipped
      continue;
    }
    const size_t attribute_start = at;
    while (at < text.size() && !IsSpace(text[at]) && text[at] != '=' && text[at] != '>' &&
           text[at] != '/') {
      ++at;
    }
    const std::string_view attribute = text.substr(attribute_start, at - attribute_start);
    while (at < text.size() && IsSpace(text[at])) ++at;
    if (at >= text.size() || text[at] != '=') continue;  // an attribute without a value
    ++at;
    while (at < text.size() && IsSpace(text[at])) ++at;
    if (at >= text.size()) break;
    std::string_view value;
    if (text[at] == '"' || text[at] == '\'') {
      const size_t close = text.find(text[at], at + 1);
      if (close == std::string_view::npos) {
        at = text.size();
        break;
      }
      value = text.substr(at + 1, close - at - 1);
      at = close + 1;
    } else {
      const size_t value_start = at;
      while (at < text.size() && !IsSpace(text[at]) && text[at] != '>') ++at;
      value = text.substr(value_start, at - value_start);
    }
    if (attribute == "name") tag.name = Trimmed(value);
    if (attribute == "version") tag.version = Trimmed(value);
  }
  return tag;
}

// Version 6 in any of its forms: "6.0.0.0", "6.0.2600.0", ...; not "60.0.0.0".
bool IsMajorVersion6(std::string_view version) {
  return version.size() >= 2 && version[0] == '6' && version[1] == '.';
}

// Skips what is no element: comments, CDATA sections, processing instructions, declarations.
// Returns false when `at` does not start one of them.
bool SkipMarkup(std::string_view text, size_t& at) {
  struct Kind {
    std::string_view open;
    std::string_view close;
  };
  // Longest first: "<!--" and "<![CDATA[" before the plain "<!".
  for (const Kind& kind :
       {Kind{"<!--", "-->"}, Kind{"<![CDATA[", "]]>"}, Kind{"<?", "?>"}, Kind{"<!", ">"}}) {
    if (text.substr(at, kind.open.size()) != kind.open) continue;
    const size_t close = text.find(kind.close, at + kind.open.size());
    at = close == std::string_view::npos ? text.size() : close + kind.close.size();
    return true;
  }
  return false;
}

}  // namespace

bool DependsOnCommonControls6(std::string_view manifest) {
  const std::string text = AsciiText(manifest);
  const std::string_view view(text);
  // dependentAssembly elements open around this point; only an assemblyIdentity inside one
  // names a dependency (the assembly's own identity stands outside).
  int depth = 0;
  size_t at = 0;
  while ((at = view.find('<', at)) != std::string_view::npos) {
    if (SkipMarkup(view, at)) continue;
    const Tag tag = ReadTag(view, at);
    if (tag.local_name == "dependentAssembly") {
      if (tag.closing) {
        depth = std::max(depth - 1, 0);
      } else if (!tag.self_closing) {
        ++depth;
      }
    } else if (tag.local_name == "assemblyIdentity" && !tag.closing && depth > 0 && tag.name &&
               tag.version && EqualsIgnoringCase(*tag.name, "Microsoft.Windows.Common-Controls") &&
               IsMajorVersion6(*tag.version)) {
      return true;
    }
  }
  return false;
}

}  // namespace zelvo
