// The hand-over's bytes: the mark, then every text as its length in decimal, a colon and its
// bytes, in a fixed order (what was left behind, the number of entries, three texts each, the
// number of programs, one text each). Lengths let a text hold any byte.
#include "model/hand_over.h"

#include <cstdint>

namespace zelvo {
namespace {

void Put(std::string& bytes, std::string_view text) {
  bytes += std::to_string(text.size());
  bytes += ':';
  bytes += text;
}

// `digits` as a number: one to nineteen decimal digits, so that it fits 64 bits at any width.
std::optional<uint64_t> Decimal(std::string_view digits) {
  if (digits.empty() || digits.size() > 19) return std::nullopt;
  uint64_t number = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    number = number * 10 + static_cast<uint64_t>(c - '0');
  }
  return number;
}

class Reader {
 public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}

  std::optional<std::string_view> Text() {
    const size_t colon = bytes_.find(':');
    if (colon == std::string_view::npos) return std::nullopt;
    const std::optional<uint64_t> length = Decimal(bytes_.substr(0, colon));
    if (!length) return std::nullopt;
    bytes_.remove_prefix(colon + 1);
    if (*length > bytes_.size()) return std::nullopt;
    const std::string_view text = bytes_.substr(0, static_cast<size_t>(*length));
    bytes_.remove_prefix(static_cast<size_t>(*length));
    return text;
  }

  // A count of items that each take at least `item_size` bytes more.
  std::optional<size_t> Count(size_t item_size) {
    const auto text = Text();
    const std::optional<uint64_t> count = text ? Decimal(*text) : std::nullopt;
    if (!count || *count > bytes_.size() / item_size) return std::nullopt;
    return static_cast<size_t>(*count);
  }

  bool AtEnd() const { return bytes_.empty(); }

 private:
  std::string_view bytes_;
};

}  // namespace

std::string FormatHandOver(const HandOver& hand_over) {
  std::string bytes(kHandOverMark);
  Put(bytes, hand_over.left_behind);
  Put(bytes, std::to_string(hand_over.log.size()));
  for (const LogEntry& entry : hand_over.log) {
    Put(bytes, entry.name);
    Put(bytes, entry.folder);
    Put(bytes, entry.date);
  }
  Put(bytes, std::to_string(hand_over.programs.size()));
  for (const std::string& program : hand_over.programs) Put(bytes, program);
  return bytes;
}

std::optional<HandOver> ParseHandOver(std::string_view bytes) {
  if (!bytes.starts_with(kHandOverMark)) return std::nullopt;
  Reader reader(bytes.substr(kHandOverMark.size()));
  HandOver hand_over;
  const auto left_behind = reader.Text();
  if (!left_behind) return std::nullopt;
  hand_over.left_behind = std::string(*left_behind);

  // Each text takes at least its "0:".
  const auto entries = reader.Count(3 * 2);
  if (!entries) return std::nullopt;
  hand_over.log.reserve(*entries);
  for (size_t index = 0; index < *entries; ++index) {
    const auto name = reader.Text();
    const auto folder = reader.Text();
    const auto date = reader.Text();
    if (!name || !folder || !date) return std::nullopt;
    hand_over.log.push_back({std::string(*name), std::string(*folder), std::string(*date)});
  }
  const auto programs = reader.Count(2);
  if (!programs) return std::nullopt;
  hand_over.programs.reserve(*programs);
  for (size_t index = 0; index < *programs; ++index) {
    const auto program = reader.Text();
    if (!program) return std::nullopt;
    hand_over.programs.emplace_back(*program);
  }
  if (!reader.AtEnd()) return std::nullopt;
  return hand_over;
}

}  // namespace zelvo
