// The user's ANSI code page and sort order, from Windows' own tables.
#pragma once

#include <string>

#include "platform/text_codec.h"

namespace zelvo::win32 {

class Win32AnsiCodePage : public AnsiCodePage {
 public:
  std::optional<std::string> Encode(std::string_view utf8) const override;
  std::string Decode(std::string_view ansi) const override;
};

// Sort keys of the user's locale, ignoring case: their byte order is the order of
// CompareStringEx with the same flags, which is how a sorted list box orders its rows.
class Win32Collator : public Collator {
 public:
  std::string SortKey(std::string_view utf8) const override;

 private:
  // The name being keyed, in UTF-16; its room is used again from name to name.
  mutable std::wstring text_;
};

}  // namespace zelvo::win32
