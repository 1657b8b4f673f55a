// Any bytes may stand in zelvo.ini. Whatever the reader takes from them must be written back
// and read again as the same entries, with nothing left behind.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "model/log_file_format.h"
#include "shared/latin1_code_page.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const zelvo::testing::Latin1CodePage code_page;
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
