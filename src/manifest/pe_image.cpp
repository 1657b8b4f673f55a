// The PE header and resource reader, and the look into an embedded manifest. All numbers in an
// image are little-endian.
#include "manifest/pe_image.h"

#include <algorithm>
#include <vector>

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

// --- The look into a manifest's XML ----------------------------------------------------------

// The manifest's text with every character outside ASCII replaced by '_', so that UTF-8 and
// UTF-16 (either byte order, with or without a byte-order mark) read alike.
std::string AsciiText(std::string_view bytes) {
  auto byte = [&](size_t at) { return static_cast<uint8_t>(bytes[at]); };
  bool utf16 = false;
  bool big_endian = false;
  size_t start = 0;
  if (bytes.size() >= 2 && byte(0) == 0xFF && byte(1) == 0xFE) {
    utf16 = true;
    start = 2;
  } else if (bytes.size() >= 2 && byte(0) == 0xFE && byte(1) == 0xFF) {
    utf16 = big_endian = true;
    start = 2;
  } else if (bytes.size() >= 2 && byte(0) != 0 && byte(1) == 0) {
    utf16 = true;  // "<\0": UTF-16LE without a mark
  } else if (bytes.size() >= 2 && byte(0) == 0 && byte(1) != 0) {
    utf16 = big_endian = true;
  }
  std::string text;
  if (!utf16) {
    text.assign(bytes);
    for (char& c : text) {
      if (static_cast<uint8_t>(c) >= 0x80) c = '_';
    }
    return text;
  }
  text.reserve(bytes.size() / 2);
  for (size_t at = start; at + 1 < bytes.size(); at += 2) {
    const uint16_t unit = big_endian ? static_cast<uint16_t>(byte(at) << 8 | byte(at + 1))
                                     : static_cast<uint16_t>(byte(at) | byte(at + 1) << 8);
    text += unit < 0x80 ? static_cast<char>(unit) : '_';
  }
  return text;
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return Lower(x) == Lower(y); });
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
  return text;
}

// One start or end tag: its name without a namespace prefix, and the two attributes we need.
struct Tag {
  bool closing = false;
  bool self_closing = false;
  std::string_view local_name;
  std::optional<std::string_view> name;
  std::optional<std::string_view> version;
};

// Reads the tag that starts at text[at] == '<' and moves `at` past it. Forgives what a strict
// parser would refuse (unquoted values, stray characters); at the end of the text it stops.
Tag ReadTag(std::string_view text, size_t& at) {
  Tag tag;
  ++at;
  if (at < text.size() && text[at] == '/') {
    tag.closing = true;
    ++at;
  }
  const size_t name_start = at;
  while (at < text.size() && !IsSpace(text[at]) && text[at] != '>' && text[at] != '/') ++at;
  std::string_view qualified = text.substr(name_start, at - name_start);
  const size_t colon = qualified.find_last_of(':');
  tag.local_name = colon == std::string_view::npos ? qualified : qualified.substr(colon + 1);

  while (at < text.size()) {
    const char c = text[at];
    if (c == '>') {
      ++at;
      return tag;
    }
    if (c == '/') {
      ++at;
      if (at < text.size() && text[at] == '>') {
        tag.self_closing = true;
        ++at;
        return tag;
      }
      continue;
    }
    if (IsSpace(c) || c == '=' || c == '"' || c == '\'') {
      ++at;  // stray quotes and equals signs outside an attribute: skipped
      continue;
    }
    const size_t attribute_start = at;
    while (at < text.size() && !IsSpace(text[at]) && text[at] != '=' && text[at] != '>' &&
           text[at] != '/') {
      ++at;
    }
    const std::string_view attribute = text.substr(attribute_start, at - attribute_start);
    while (at < text.size() && IsSpace(text[at])) ++at;
    if (at >= text.size() || text[at] != '=') continue;  // an attribute without a value
    ++at;
    while (at < text.size() && IsSpace(text[at])) ++at;
    if (at >= text.size()) break;
    std::string_view value;
    if (text[at] == '"' || text[at] == '\'') {
      const size_t close = text.find(text[at], at + 1);
      if (close == std::string_view::npos) {
        at = text.size();
        break;
      }
      value = text.substr(at + 1, close - at - 1);
      at = close + 1;
    } else {
      const size_t value_start = at;
      while (at < text.size() && !IsSpace(text[at]) && text[at] != '>') ++at;
      value = text.substr(value_start, at - value_start);
    }
    if (attribute == "name") tag.name = Trimmed(value);
    if (attribute == "version") tag.version = Trimmed(value);
  }
  return tag;
}

// Version 6 in any of its forms: "6.0.0.0", "6.0.2600.0", ...; not "60.0.0.0".
bool IsMajorVersion6(std::string_view version) {
  return version.size() >= 2 && version[0] == '6' && version[1] == '.';
}

// Skips what is no element: comments, CDATA sections, processing instructions, declarations.
// Returns false when `at` does not start one of them.
bool SkipMarkup(std::string_view text, size_t& at) {
  struct Kind {
    std::string_view open;
    std::string_view close;
  };
  // Longest first: "<!--" and "<![CDATA[" before the plain "<!".
  for (const Kind& kind :
       {Kind{"<!--", "-->"}, Kind{"<![CDATA[", "]]>"}, Kind{"<?", "?>"}, Kind{"<!", ">"}}) {
    if (text.substr(at, kind.open.size()) != kind.open) continue;
    const size_t close = text.find(kind.close, at + kind.open.size());
    at = close == std::string_view::npos ? text.size() : close + kind.close.size();
    return true;
  }
  return false;
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

bool DependsOnCommonControls6(std::string_view manifest) {
  const std::string text = AsciiText(manifest);
  const std::string_view view(text);
  // dependentAssembly elements open around this point; only an assemblyIdentity inside one
  // names a dependency (the assembly's own identity stands outside).
  int depth = 0;
  size_t at = 0;
  while ((at = view.find('<', at)) != std::string_view::npos) {
    if (SkipMarkup(view, at)) continue;
    const Tag tag = ReadTag(view, at);
    if (tag.local_name == "dependentAssembly") {
      if (tag.closing) {
        depth = std::max(depth - 1, 0);
      } else if (!tag.self_closing) {
        ++depth;
      }
    } else if (tag.local_name == "assemblyIdentity" && !tag.closing && depth > 0 && tag.name &&
               tag.version && EqualsIgnoringCase(*tag.name, "Microsoft.Windows.Common-Controls") &&
               IsMajorVersion6(*tag.version)) {
      return true;
    }
  }
  return false;
}

ProgramImage InspectProgramFile(FileSystem& files, const std::string& path) {
  FileSource source(files, path);
  ProgramImage image;
  try {
    const auto headers = ReadPeHeaders(source);
    if (!headers) return image;
    image.pe32_plus = headers->IsPe32Plus();
    image.embedded_manifest = ReadEmbeddedManifest(source, *headers);
  } catch (const Failure&) {
    // A target we may not read can still get its manifest file: what could not be read only
    // leaves out the advice about an embedded manifest, and a 64-bit image that could not be
    // shown to be one gets the usual document.
  }
  return image;
}

}  // namespace zelvo
