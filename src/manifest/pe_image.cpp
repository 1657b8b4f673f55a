// The PE header reader. All numbers in an image are little-endian.
#include "manifest/pe_image.h"

#include "platform/failure.h"

namespace zelvo {
namespace {

constexpr uint32_t kDosHeaderSize = 64;
constexpr uint32_t kNtOffsetField = 0x3C;  // e_lfanew
// "PE\0\0" (4 bytes), the COFF file header (20 bytes), the optional header's magic (2 bytes).
constexpr uint32_t kNtHeadersRead = 4 + 20 + 2;
constexpr uint32_t kMachineField = 4;
constexpr uint32_t kSectionCountField = 6;
constexpr uint32_t kOptionalHeaderSizeField = 20;
constexpr uint32_t kOptionalMagicField = 24;

uint16_t U16(std::string_view bytes, size_t at) {
  return static_cast<uint16_t>(static_cast<uint8_t>(bytes[at]) | static_cast<uint8_t>(bytes[at + 1])
                                                                     << 8);
}

uint32_t U32(std::string_view bytes, size_t at) {
  return static_cast<uint32_t>(U16(bytes, at)) | static_cast<uint32_t>(U16(bytes, at + 2)) << 16;
}

}  // namespace

std::string MemorySource::Read(uint64_t offset, uint32_t length) {
  if (offset >= bytes_.size()) return {};
  return std::string(bytes_.substr(static_cast<size_t>(offset), length));
}

std::string FileSource::Read(uint64_t offset, uint32_t length) {
  return files_.ReadRange(path_, offset, length);
}

std::optional<PeHeaders> ReadPeHeaders(ByteSource& source) {
  const std::string dos = source.Read(0, kDosHeaderSize);
  if (dos.size() < kDosHeaderSize || dos[0] != 'M' || dos[1] != 'Z') return std::nullopt;

  PeHeaders headers;
  headers.nt_offset = U32(dos, kNtOffsetField);
  const std::string nt = source.Read(headers.nt_offset, kNtHeadersRead);
  if (nt.size() < kNtHeadersRead || nt.compare(0, 4, std::string_view("PE\0\0", 4)) != 0) {
    return std::nullopt;
  }
  headers.machine = U16(nt, kMachineField);
  headers.section_count = U16(nt, kSectionCountField);
  headers.optional_header_size = U16(nt, kOptionalHeaderSizeField);
  // The magic read above belongs to the image only when the optional header covers it.
  if (headers.optional_header_size < 2) return std::nullopt;
  headers.optional_magic = U16(nt, kOptionalMagicField);
  return headers;
}

bool IsPe32PlusFile(FileSystem& files, const std::string& path) {
  FileSource source(files, path);
  try {
    const auto headers = ReadPeHeaders(source);
    return headers && headers->IsPe32Plus();
  } catch (const Failure&) {
    // A target we may not read can still get its manifest; only a 64-bit image needs the other
    // document, and this one could not be shown to be one.
    return false;
  }
}

}  // namespace zelvo
