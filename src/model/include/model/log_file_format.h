// The bytes of the log file zelvo.ini, without any file access: what a file holds, and what to
// write for a log. Kept apart from the file procedures so that the parser can be fed anything.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/log_model.h"
#include "platform/text_codec.h"

namespace zelvo {

// Files in UTF-8 start with this; the tool writes it only when a text does not fit the ANSI
// code page.
inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

struct ParsedLogFile {
  // The complete entries, in the order of the file.
  std::vector<LogEntry> entries;
  // Empty when every entry of the file was taken. Otherwise a short, file-name-safe word for
  // what the file is, so that a copy can be kept before it is replaced: the file's own version
  // ("2.10"), "bare-lf" (lines end with a line feed alone), "damaged" (an entry cut short,
  // entries after an empty line, or bytes that do not read back as they stand), or "unknown".
  std::string left_behind;
};

// Reads a log file. A file of another version yields no entries; a damaged one yields the
// complete entries before the damage. Never fails.
ParsedLogFile ParseLogFile(std::string_view bytes, std::string_view version_text,
                           const AnsiCodePage& code_page);

// The bytes of a log file for `entries`: in the ANSI code page when every text fits it,
// otherwise all in UTF-8 after a byte-order mark. An entry with an empty text is left out: it
// would read back as the end of the log.
std::string FormatLogFile(std::string_view version_text,
                          const std::vector<const LogEntry*>& entries,
                          const AnsiCodePage& code_page);

}  // namespace zelvo
