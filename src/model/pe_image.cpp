// The PE header and resource reader. All numbers in an image are little-endian.
#include "model/pe_image.h"

#include <algorithm>
#include <vector>

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

// Where NumberOfRvaAndSizes stands in the optional header; the data directories follow it, 8
// bytes each (RVA, size). The resource table is directory 2.
constexpr uint32_t kPe32DirectoryCountField = 92;
constexpr uint32_t kPe32PlusDirectoryCountField = 108;
constexpr uint32_t kResourceDirectoryIndex = 2;
constexpr uint32_t kDataDirectorySize = 8;

constexpr uint32_t kSectionHeaderSize = 40;
constexpr uint32_t kSectionVirtualSizeField = 8;
constexpr uint32_t kSectionVirtualAddressField = 12;
constexpr uint32_t kSectionRawSizeField = 16;
constexpr uint32_t kSectionRawOffsetField = 20;

// IMAGE_RESOURCE_DIRECTORY: counts of named and of id entries at 12 and 14, then the entries,
// 8 bytes each (name or id, offset). IMAGE_RESOURCE_DATA_ENTRY: the data's RVA, its size.
constexpr uint32_t kResourceDirectorySize = 16;
constexpr uint32_t kNamedEntryCountField = 12;
constexpr uint32_t kIdEntryCountField = 14;
constexpr uint32_t kResourceEntrySize = 8;
constexpr uint32_t kResourceDataEntrySize = 16;
constexpr uint32_t kSubdirectoryFlag = 0x80000000;

constexpr uint32_t kRtManifest = 24;
constexpr uint32_t kCreateProcessManifestId = 1;
// Real manifests take a few kilobytes; a size beyond this comes from a damaged entry.
constexpr uint32_t kMaxManifestSize = 1u << 20;

uint16_t U16(std::string_view bytes, size_t at) {
  return static_cast<uint16_t>(static_cast<uint8_t>(bytes[at]) | static_cast<uint8_t>(bytes[at + 1])
                                                                     << 8);
}

uint32_t U32(std::string_view bytes, size_t at) {
  return static_cast<uint32_t>(U16(bytes, at)) | static_cast<uint32_t>(U16(bytes, at + 2)) << 16;
}

// The part of a section that the file holds: its RVA range and where that stands in the file.
struct Section {
  uint32_t virtual_address = 0;
  uint32_t file_size = 0;
  uint32_t file_offset = 0;
};

// The image as the loader would lay it out, read from the file: an RVA is found through the
// section table, and a read never runs past its section's bytes in the file.
class ImageView {
 public:
  ImageView(ByteSource& source, const PeHeaders& headers) : source_(source) {
    const std::string table = source_.Read(headers.SectionTableOffset(),
                                           uint32_t{headers.section_count} * kSectionHeaderSize);
    for (size_t at = 0; at + kSectionHeaderSize <= table.size(); at += kSectionHeaderSize) {
      const uint32_t virtual_size = U32(table, at + kSectionVirtualSizeField);
      const uint32_t raw_size = U32(table, at + kSectionRawSizeField);
      // The file may pad a section beyond its virtual size; that padding is not mapped. A
      // virtual size of 0 (some linkers) means the raw size.
      sections_.push_back({U32(table, at + kSectionVirtualAddressField),
                           virtual_size == 0 ? raw_size : std::min(virtual_size, raw_size),
                           U32(table, at + kSectionRawOffsetField)});
    }
  }

  // Up to `length` bytes at `rva`: fewer where the section or the file ends, none when the RVA
  // lies in no section.
  std::string Read(uint64_t rva, uint32_t length) const {
    if (rva > UINT32_MAX) return {};
    for (const Section& section : sections_) {
      if (rva < section.virtual_address) continue;
      const uint64_t into = rva - section.virtual_address;
      if (into >= section.file_size) continue;
      const uint64_t available = section.file_size - into;
      return source_.Read(uint64_t{section.file_offset} + into,
                          static_cast<uint32_t>(std::min<uint64_t>(length, available)));
    }
    return {};
  }

 private:
  ByteSource& source_;
  std::vector<Section> sections_;
};

struct ResourceEntry {
  uint32_t name = 0;    // an id, or (high bit set) the offset of a name
  uint32_t target = 0;  // (high bit set) a subdirectory's offset, or a data entry's

  bool IsDirectory() const { return (target & kSubdirectoryFlag) != 0; }
  uint32_t Offset() const { return target & ~kSubdirectoryFlag; }
};

// The entries of the directory at `offset` from the tree's root, as many as the file holds. The
// counts are 16-bit, so a hostile directory costs at most about a megabyte of reading.
std::vector<ResourceEntry> ReadDirectory(const ImageView& image, uint32_t root, uint32_t offset) {
  const uint64_t at = uint64_t{root} + offset;
  const std::string header = image.Read(at, kResourceDirectorySize);
  if (header.size() < kResourceDirectorySize) return {};
  const uint32_t count =
      uint32_t{U16(header, kNamedEntryCountField)} + U16(header, kIdEntryCountField);
  const std::string raw = image.Read(at + kResourceDirectorySize, count * kResourceEntrySize);
  std::vector<ResourceEntry> entries;
  for (size_t entry = 0; entry + kResourceEntrySize <= raw.size(); entry += kResourceEntrySize) {
    entries.push_back({U32(raw, entry), U32(raw, entry + 4)});
  }
  return entries;
}

// The subdirectory of the entry with integer id `id`. Named entries have the high bit set and
// so never equal an id.
std::optional<uint32_t> Subdirectory(const std::vector<ResourceEntry>& entries, uint32_t id) {
  for (const ResourceEntry& entry : entries) {
    if (entry.name == id) {
      if (!entry.IsDirectory()) return std::nullopt;
      return entry.Offset();
    }
  }
  return std::nullopt;
}

}  // namespace

std::string MemorySource::Read(uint64_t offset, uint32_t length) {
  if (offset >= bytes_.size()) return {};
  return std::string(bytes_.substr(static_cast<size_t>(offset), length));
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

std::optional<std::string> ReadEmbeddedManifest(ByteSource& source, const PeHeaders& headers) {
  uint32_t count_field = 0;
  if (headers.optional_magic == kPe32Magic) {
    count_field = kPe32DirectoryCountField;
  } else if (headers.optional_magic == kPe32PlusMagic) {
    count_field = kPe32PlusDirectoryCountField;
  } else {
    return std::nullopt;
  }
  // The directory counts only where both the optional header's size and its directory count
  // reach it: the loader reads nothing past either.
  const uint32_t directory_end =
      count_field + 4 + (kResourceDirectoryIndex + 1) * kDataDirectorySize;
  if (headers.optional_header_size < directory_end) return std::nullopt;
  const std::string optional =
      source.Read(headers.OptionalHeaderOffset() + count_field, directory_end - count_field);
  if (optional.size() < directory_end - count_field) return std::nullopt;
  if (U32(optional, 0) <= kResourceDirectoryIndex) return std::nullopt;
  const uint32_t root = U32(optional, 4 + kResourceDirectoryIndex * kDataDirectorySize);
  const uint32_t root_size = U32(optional, 8 + kResourceDirectoryIndex * kDataDirectorySize);
  if (root == 0 || root_size == 0) return std::nullopt;

  // Type, name, language: three levels and no more, so a directory that points back to itself
  // or to its parent ends the walk like any other wrong turn.
  const ImageView image(source, headers);
  const auto types = Subdirectory(ReadDirectory(image, root, 0), kRtManifest);
  if (!types) return std::nullopt;
  const auto names = Subdirectory(ReadDirectory(image, root, *types), kCreateProcessManifestId);
  if (!names) return std::nullopt;
  std::optional<uint32_t> data_entry;
  for (const ResourceEntry& language : ReadDirectory(image, root, *names)) {
    if (!language.IsDirectory()) {
      data_entry = language.Offset();
      break;
    }
  }
  if (!data_entry) return std::nullopt;

  const std::string entry = image.Read(uint64_t{root} + *data_entry, kResourceDataEntrySize);
  if (entry.size() < kResourceDataEntrySize) return std::nullopt;
  const uint32_t data = U32(entry, 0);
  const uint32_t size = U32(entry, 4);
  if (size > kMaxManifestSize) return std::nullopt;
  std::string manifest = image.Read(data, size);
  if (manifest.size() != size) return std::nullopt;
  return manifest;
}

ProgramImage InspectProgram(ByteSource& source) {
  ProgramImage image;
  const auto headers = ReadPeHeaders(source);
  if (!headers) return image;
  image.pe32_plus = headers->IsPe32Plus();
  image.embedded_manifest = ReadEmbeddedManifest(source, *headers);
  return image;
}

}  // namespace zelvo
