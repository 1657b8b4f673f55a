// Reading a Portable Executable image without loading it: its headers, to tell 64-bit programs
// (PE32+) from the rest, and its resource tree, to find the manifest embedded in it. Every offset
// comes from the file itself, so each one is checked against what could be read: a damaged, cut
// or hostile file is simply no PE image, or one without a manifest, never a crash.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/byte_source.h"

namespace zelvo {

// Bytes already in memory (tests, fuzzing). `bytes` must outlive the source.
class MemorySource final : public ByteSource {
 public:
  explicit MemorySource(std::string_view bytes) : bytes_(bytes) {}
  std::string Read(uint64_t offset, uint32_t length) override;

 private:
  std::string_view bytes_;
};

// The optional header's magic numbers.
constexpr uint16_t kPe32Magic = 0x10B;
constexpr uint16_t kPe32PlusMagic = 0x20B;

// What the DOS header, the NT signature and the COFF file header say, as far as read.
struct PeHeaders {
  uint32_t nt_offset = 0;  // e_lfanew: where "PE\0\0" stands
  uint16_t machine = 0;    // IMAGE_FILE_MACHINE_*: 0x14C x86, 0x8664 x64, 0xAA64 ARM64
  uint16_t section_count = 0;
  uint16_t optional_header_size = 0;
  uint16_t optional_magic = 0;

  bool IsPe32Plus() const { return optional_magic == kPe32PlusMagic; }
  uint64_t OptionalHeaderOffset() const { return uint64_t{nt_offset} + 24; }
  uint64_t SectionTableOffset() const { return OptionalHeaderOffset() + optional_header_size; }
};

// The headers of the image in `source`, or nothing when it holds no PE image: no "MZ", no
// "PE\0\0" where e_lfanew points, or an optional header too short to hold its magic.
std::optional<PeHeaders> ReadPeHeaders(ByteSource& source);

// The application manifest embedded in the image: the RT_MANIFEST resource of id 1 (the one
// Windows reads when it starts a program), in whichever language it is stored. Nothing when the
// image has none, or is no PE image, or its resource tree is damaged. Reads only the headers, the
// section table and the resource tree, never the whole file.
std::optional<std::string> ReadEmbeddedManifest(ByteSource& source, const PeHeaders& headers);

// What the apply procedure needs to know of a program file, read in one pass.
struct ProgramImage {
  bool pe32_plus = false;
  std::optional<std::string> embedded_manifest;
};

// The bytes of `file` as a program image. A file that is no PE image, or is damaged, is an image
// like any other: not 64-bit, without an embedded manifest. What the source throws when it
// cannot read comes through: what could not be read is never taken for a 32-bit program.
ProgramImage InspectProgram(ByteSource& file);

}  // namespace zelvo
