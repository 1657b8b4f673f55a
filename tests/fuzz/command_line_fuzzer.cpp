// Any text may follow the program's name on its command line. The paths split from it are
// never empty and hold no quote, and quoting them again gives the same paths back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "application/program_batch.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::string arguments = zelvo::ArgumentText(text);
  Require(arguments.size() <= text.size());

  const std::vector<std::string> paths = zelvo::SplitArguments(text);
  std::string quoted;
  for (const auto& path : paths) {
    Require(!path.empty());
    Require(path.find('"') == std::string::npos);
    quoted += "\"" + path + "\" ";
  }
  Require(zelvo::SplitArguments(quoted) == paths);
  return 0;
}
