// Reading and writing the bytes of zelvo.ini. A line ends at a carriage return, and a line feed
// right after it belongs to that line end; a line feed alone is part of the text.
#include "model/log_file_format.h"

#include <algorithm>
#include <cstdint>

namespace zelvo {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

class LineReader {
 public:
  explicit LineReader(std::string_view bytes) : bytes_(bytes) {}

  bool AtEnd() const { return at_ >= bytes_.size(); }

  // The next line without its line end; call only when not AtEnd().
  std::string_view Next() {
    const size_t end = bytes_.find('\r', at_);
    if (end == std::string_view::npos) {
      const std::string_view line = bytes_.substr(at_);
      at_ = bytes_.size();
      return line;
    }
    const std::string_view line = bytes_.substr(at_, end - at_);
    at_ = end + 1;
    if (at_ < bytes_.size() && bytes_[at_] == '\n') ++at_;
    return line;
  }

 private:
  std::string_view bytes_;
  size_t at_ = 0;
};

bool IsAscii(std::string_view text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The length of the well-formed UTF-8 sequence at the start of `text`, or 0.
size_t Utf8SequenceLength(std::string_view text) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  size_t length;
  uint32_t low;  // the smallest code point that needs this length
  uint32_t code;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, low = 0x80, code = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, low = 0x800, code = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, low = 0x10000, code = lead & 0x07;
  } else {
    return 0;
  }
  if (text.size() < length) return 0;
  for (size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (byte(i) & 0x3F);
  }
  if (code < low || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return length;
}

// `text` with every ill-formed byte replaced by U+FFFD: the rest of the program holds UTF-8.
std::string ValidUtf8(std::string_view text) {
  if (IsAscii(text)) return std::string(text);
  std::string valid;
  valid.reserve(text.size());
  size_t at = 0;
  while (at < text.size()) {
    if (static_cast<unsigned char>(text[at]) < 0x80) {
      valid += text[at++];
    } else if (const size_t length = Utf8SequenceLength(text.substr(at))) {
      valid.append(text.substr(at, length));
      at += length;
    } else {
      valid += "\xEF\xBF\xBD";
      ++at;
    }
  }
  return valid;
}

// A file's first line as part of a file name: its version when it looks like one.
std::string DescribeForeignFile(std::string_view first_line) {
  if (first_line.find('\n') != std::string_view::npos) return "bare-lf";
  bool version_like = !first_line.empty() && first_line.size() <= 16 &&
                      IsDigit(first_line.front()) && IsDigit(first_line.back());
  for (char c : first_line) version_like = version_like && (IsDigit(c) || c == '.');
  return version_like ? std::string(first_line) : "unknown";
}

size_t CountCarriageReturns(std::string_view text) {
  return static_cast<size_t>(std::count(text.begin(), text.end(), '\r'));
}

// An empty text would read back as the end of the log and cost every entry after it, so an entry
// with one cannot be written.
bool Writable(const LogEntry& entry) {
  return !entry.name.empty() && !entry.folder.empty() && !entry.date.empty();
}

}  // namespace

ParsedLogFile ParseLogFile(std::string_view bytes, std::string_view version_text,
                           const AnsiCodePage& code_page) {
  const bool utf8 = bytes.starts_with(kUtf8ByteOrderMark);
  if (utf8) bytes.remove_prefix(kUtf8ByteOrderMark.size());

  // The file is converted in one go: line by line, a large log would cost a conversion call per
  // line. A carriage return is never part of a character, except when a damaged double-byte
  // character swallows it: then the lines are converted one by one after all.
  std::string converted;
  std::string_view text = bytes;
  bool line_by_line = false;
  // Bytes that read as some other text: a sequence the code page does not define, ill-formed
  // UTF-8, a double-byte character cut by a line end. The texts shown are then not those of the
  // file, and saving them would lose the file's own bytes.
  bool misread = false;
  if (!IsAscii(bytes)) {
    converted = utf8 ? ValidUtf8(bytes) : code_page.Decode(bytes);
    line_by_line = CountCarriageReturns(converted) != CountCarriageReturns(bytes);
    if (!line_by_line) text = converted;
    misread = line_by_line || (utf8 ? converted != bytes : code_page.Encode(converted) != bytes);
  }
  const auto line_text = [&](std::string_view line) {
    if (!line_by_line || IsAscii(line)) return std::string(line);
    return utf8 ? ValidUtf8(line) : code_page.Decode(line);
  };

  ParsedLogFile parsed;
  LineReader lines(text);
  if (lines.AtEnd()) return parsed;  // an empty file holds no entry that could be lost

  const std::string version = line_text(lines.Next());
  if (version != version_text) {
    parsed.left_behind = DescribeForeignFile(version);
    return parsed;
  }

  // A log ends at its end or at an empty name line. An entry cut short (by the end of the file
  // or an empty line) is dropped whole: its rows would have no partners.
  bool lost = false;
  while (!lines.AtEnd()) {
    const std::string_view name = lines.Next();
    if (name.empty()) break;
    lost = true;  // until the entry is complete
    if (lines.AtEnd()) break;
    const std::string_view folder = lines.Next();
    if (folder.empty() || lines.AtEnd()) break;
    const std::string_view date = lines.Next();
    if (date.empty()) break;
    lost = false;
    parsed.entries.push_back({line_text(name), line_text(folder), line_text(date)});
  }
  while (!lost && !lines.AtEnd()) lost = !lines.Next().empty();
  if (lost || misread) parsed.left_behind = "damaged";
  return parsed;
}

std::string FormatLogFile(std::string_view version_text,
                          const std::vector<const LogEntry*>& entries,
                          const AnsiCodePage& code_page) {
  size_t size = version_text.size() + 2 * kLineEnd.size();
  for (const LogEntry* entry : entries) {
    size += entry->name.size() + entry->folder.size() + entry->date.size() + 3 * kLineEnd.size();
  }
  std::string text;
  text.reserve(size);
  const auto line = [&](std::string_view line_text) { text.append(line_text).append(kLineEnd); };
  line(version_text);
  for (const LogEntry* entry : entries) {
    if (!Writable(*entry)) continue;
    line(entry->name);
    line(entry->folder);
    line(entry->date);
  }
  text.append(kLineEnd);

  if (IsAscii(text)) return text;
  // The code page has no state, so the whole text fits it exactly when every line does.
  if (auto ansi = code_page.Encode(text)) return std::move(*ansi);
  // A name the code page cannot hold would come back as another name: keep every text exact.
  return std::string(kUtf8ByteOrderMark) + text;
}

}  // namespace zelvo
