// Text conversions that depend on the user's system: the ANSI code page of the log file, and
// the collation the visible log list is sorted by.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zelvo {

class AnsiCodePage {
 public:
  virtual ~AnsiCodePage() = default;
  // `utf8` in the system's ANSI code page, or nothing when some character has no exact
  // equivalent there (it would come back as something else).
  virtual std::optional<std::string> Encode(std::string_view utf8) const = 0;
  // ANSI bytes as UTF-8; a byte sequence the code page does not define becomes U+FFFD or the
  // system's default character, never an error.
  virtual std::string Decode(std::string_view ansi) const = 0;
};

class Collator {
 public:
  virtual ~Collator() = default;
  // A byte string whose plain byte order is the user's sort order for texts, ignoring case.
  virtual std::string SortKey(std::string_view utf8) const = 0;
};

}  // namespace zelvo
