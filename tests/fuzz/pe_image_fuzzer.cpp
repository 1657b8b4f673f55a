// Any bytes may stand in a file the user drops. The image reader must come back from every one of
// them after a handful of reads, and a manifest it finds must be a piece of those bytes; the XML
// reader must take any text at all.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "model/manifest_xml.h"
#include "model/pe_image.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

// Counts the reads: the walk is bounded by its design, whatever the offsets say.
class CountingSource : public zelvo::ByteSource {
 public:
  explicit CountingSource(std::string_view bytes) : memory_(bytes) {}
  std::string Read(uint64_t offset, uint32_t length) override {
    ++reads;
    return memory_.Read(offset, length);
  }
  int reads = 0;

 private:
  zelvo::MemorySource memory_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  CountingSource source(bytes);
  const auto headers = zelvo::ReadPeHeaders(source);
  if (headers) {
    const auto manifest = zelvo::ReadEmbeddedManifest(source, *headers);
    Require(source.reads <= 12);
    if (manifest) {
      Require(bytes.find(*manifest) != std::string_view::npos);
      zelvo::DependsOnCommonControls6(*manifest);
    }
  }
  zelvo::DependsOnCommonControls6(bytes);
  return 0;
}
