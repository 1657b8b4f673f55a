// Small PE images made in memory, with a resource tree laid out as resource compilers lay it out,
// and the places of their parts, so that tests can read them whole or damage them on purpose.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zelvo::testing {

void Put16(std::string& bytes, size_t at, uint16_t value);
void Put32(std::string& bytes, size_t at, uint32_t value);

// A resource's type or name: an integer id, or a string when `text` is not empty.
struct ResourceKey {
  uint32_t id = 0;
  std::u16string text;
};

struct Resource {
  ResourceKey type;
  ResourceKey name;
  uint16_t language = 0x409;
  std::string data;
};

constexpr uint32_t kRtIcon = 3;
constexpr uint32_t kRtVersion = 16;
constexpr uint32_t kRtManifest = 24;

// An application manifest (RT_MANIFEST, id 1) in `language`.
inline Resource ManifestResource(std::string xml, uint16_t language = 0x409) {
  return {{kRtManifest}, {1}, language, std::move(xml)};
}

struct ImageRecipe {
  bool pe32_plus = true;
  // None: no resource section, and data directory 2 left empty.
  std::vector<Resource> resources;
  // Bytes of the code section before the resource section: a program of some size.
  uint32_t code_size = 0x200;
};

struct BuiltImage {
  std::string bytes;
  // File offsets.
  uint32_t optional_header = 0;
  uint32_t directory_count = 0;     // NumberOfRvaAndSizes
  uint32_t resource_directory = 0;  // data directory 2: RVA, then size
  uint32_t section_table = 0;
  uint32_t resource_section_header = 0;
  uint32_t resource_section = 0;  // the resource section's first byte
  uint32_t resource_rva = 0;
  // Offsets from the tree's root: the directories (root, types, names) and the data entries,
  // in the order they are laid out.
  std::vector<uint32_t> directories;
  std::vector<uint32_t> data_entries;
};

// Types, names and languages are sorted as in real images: named entries first, then ids.
BuiltImage BuildImage(const ImageRecipe& recipe);

}  // namespace zelvo::testing
