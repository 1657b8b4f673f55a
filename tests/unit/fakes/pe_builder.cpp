// The PE image builder: DOS header, NT headers, a code section and a resource section.
#include "fakes/pe_builder.h"

#include <map>
#include <tuple>

namespace zelvo::testing {
namespace {

constexpr uint32_t kFileAlignment = 0x200;
constexpr uint32_t kSectionAlignment = 0x1000;
constexpr uint32_t kNtOffset = 0x40;

uint32_t RoundUp(uint32_t value, uint32_t alignment) {
  return (value + alignment - 1) / alignment * alignment;
}

struct KeyOrder {
  bool operator()(const ResourceKey& a, const ResourceKey& b) const {
    // Named entries first, sorted by name; then ids, ascending.
    return std::make_tuple(a.text.empty(), a.text, a.id) <
           std::make_tuple(b.text.empty(), b.text, b.id);
  }
};

using Languages = std::map<uint16_t, std::string>;
using Names = std::map<ResourceKey, Languages, KeyOrder>;
using Types = std::map<ResourceKey, Names, KeyOrder>;

// The resource section's bytes for a section at `rva`, and where its directories and data
// entries went.
std::string BuildTree(const std::vector<Resource>& resources, uint32_t rva, BuiltImage& image) {
  Types types;
  for (const Resource& resource : resources) {
    types[resource.type][resource.name][resource.language] = resource.data;
  }

  // Layout: every directory (root, types, names), the data entries, the name strings, the data.
  uint32_t offset = 16 + 8 * static_cast<uint32_t>(types.size());
  image.directories = {0};
  std::vector<uint32_t> type_offsets;
  for (const auto& [type, names] : types) {
    type_offsets.push_back(offset);
    image.directories.push_back(offset);
    offset += 16 + 8 * static_cast<uint32_t>(names.size());
  }
  std::vector<uint32_t> name_offsets;
  for (const auto& [type, names] : types) {
    for (const auto& [name, languages] : names) {
      name_offsets.push_back(offset);
      image.directories.push_back(offset);
      offset += 16 + 8 * static_cast<uint32_t>(languages.size());
    }
  }
  for (const auto& [type, names] : types) {
    for (const auto& [name, languages] : names) {
      for (size_t i = 0; i < languages.size(); ++i) {
        image.data_entries.push_back(offset);
        offset += 16;
      }
    }
  }
  std::string tree(offset, '\0');

  auto key_field = [&](const ResourceKey& key) -> uint32_t {
    if (key.text.empty()) return key.id;
    const auto at = static_cast<uint32_t>(tree.size());
    Put16(tree, at, static_cast<uint16_t>(key.text.size()));
    for (char16_t c : key.text) Put16(tree, tree.size(), static_cast<uint16_t>(c));
    return 0x80000000u | at;
  };
  auto directory = [&](uint32_t at, size_t named, size_t ids) {
    Put16(tree, at + 12, static_cast<uint16_t>(named));
    Put16(tree, at + 14, static_cast<uint16_t>(ids));
  };
  auto count_named = [](const auto& map) {
    size_t named = 0;
    for (const auto& [key, value] : map) named += key.text.empty() ? 0 : 1;
    return named;
  };

  directory(0, count_named(types), types.size() - count_named(types));
  size_t type_index = 0;
  size_t name_index = 0;
  size_t leaf_index = 0;
  std::vector<std::pair<uint32_t, const std::string*>> data;  // data entry, its bytes
  for (const auto& [type, names] : types) {
    const uint32_t type_entry = 16 + 8 * static_cast<uint32_t>(type_index);
    Put32(tree, type_entry, key_field(type));
    Put32(tree, type_entry + 4, 0x80000000u | type_offsets[type_index]);
    directory(type_offsets[type_index], count_named(names), names.size() - count_named(names));
    size_t name_in_type = 0;
    for (const auto& [name, languages] : names) {
      const uint32_t name_entry = type_offsets[type_index] + 16 + 8 * uint32_t(name_in_type++);
      Put32(tree, name_entry, key_field(name));
      Put32(tree, name_entry + 4, 0x80000000u | name_offsets[name_index]);
      directory(name_offsets[name_index], 0, languages.size());
      size_t language_in_name = 0;
      for (const auto& [language, bytes] : languages) {
        const uint32_t language_entry =
            name_offsets[name_index] + 16 + 8 * uint32_t(language_in_name++);
        Put32(tree, language_entry, language);
        Put32(tree, language_entry + 4, image.data_entries[leaf_index]);
        data.emplace_back(image.data_entries[leaf_index], &bytes);
        ++leaf_index;
      }
      ++name_index;
    }
    ++type_index;
  }
  for (const auto& [entry, bytes] : data) {
    tree.resize(RoundUp(static_cast<uint32_t>(tree.size()), 8), '\0');
    Put32(tree, entry, rva + static_cast<uint32_t>(tree.size()));
    Put32(tree, entry + 4, static_cast<uint32_t>(bytes->size()));
    tree += *bytes;
  }
  return tree;
}

}  // namespace

void Put16(std::string& bytes, size_t at, uint16_t value) {
  if (bytes.size() < at + 2) bytes.resize(at + 2);
  bytes[at] = static_cast<char>(value & 0xFF);
  bytes[at + 1] = static_cast<char>(value >> 8);
}

void Put32(std::string& bytes, size_t at, uint32_t value) {
  Put16(bytes, at, static_cast<uint16_t>(value & 0xFFFF));
  Put16(bytes, at + 2, static_cast<uint16_t>(value >> 16));
}

BuiltImage BuildImage(const ImageRecipe& recipe) {
  BuiltImage image;
  const bool has_resources = !recipe.resources.empty();
  const uint16_t optional_size = recipe.pe32_plus ? 0xF0 : 0xE0;
  const uint16_t section_count = has_resources ? 2 : 1;

  std::string& bytes = image.bytes;
  bytes.assign(kNtOffset, '\0');
  bytes[0] = 'M';
  bytes[1] = 'Z';
  Put32(bytes, 0x3C, kNtOffset);
  bytes += std::string("PE\0\0", 4);
  Put16(bytes, kNtOffset + 4, recipe.pe32_plus ? 0x8664 : 0x14C);
  Put16(bytes, kNtOffset + 6, section_count);
  Put16(bytes, kNtOffset + 20, optional_size);
  Put16(bytes, kNtOffset + 22, recipe.pe32_plus ? 0x0022 : 0x0102);

  image.optional_header = kNtOffset + 24;
  const uint32_t opt = image.optional_header;
  bytes.resize(opt + optional_size, '\0');
  Put16(bytes, opt, recipe.pe32_plus ? 0x20B : 0x10B);
  Put32(bytes, opt + 16, kSectionAlignment);  // AddressOfEntryPoint
  Put32(bytes, opt + 32, kSectionAlignment);
  Put32(bytes, opt + 36, kFileAlignment);
  Put16(bytes, opt + 68, 2);  // the Windows GUI subsystem
  image.directory_count = opt + (recipe.pe32_plus ? 108 : 92);
  Put32(bytes, image.directory_count, 16);
  image.resource_directory = image.directory_count + 4 + 2 * 8;

  image.section_table = opt + optional_size;
  const uint32_t headers_size = RoundUp(image.section_table + 40u * section_count, kFileAlignment);
  Put32(bytes, opt + 60, headers_size);

  const uint32_t code_size = RoundUp(recipe.code_size, kFileAlignment);
  std::string section(40, '\0');
  section.replace(0, 5, ".text");
  Put32(section, 8, recipe.code_size);
  Put32(section, 12, kSectionAlignment);
  Put32(section, 16, code_size);
  Put32(section, 20, headers_size);
  bytes.replace(image.section_table, 40, section);
  uint32_t image_size = kSectionAlignment + RoundUp(code_size, kSectionAlignment);

  bytes.resize(headers_size, '\0');
  bytes.append(code_size, '\xCC');

  if (has_resources) {
    image.resource_rva = image_size;
    image.resource_section = headers_size + code_size;
    const std::string tree = BuildTree(recipe.resources, image.resource_rva, image);
    const uint32_t raw_size = RoundUp(static_cast<uint32_t>(tree.size()), kFileAlignment);
    section.assign(40, '\0');
    section.replace(0, 5, ".rsrc");
    Put32(section, 8, static_cast<uint32_t>(tree.size()));
    Put32(section, 12, image.resource_rva);
    Put32(section, 16, raw_size);
    Put32(section, 20, image.resource_section);
    image.resource_section_header = image.section_table + 40;
    bytes.replace(image.resource_section_header, 40, section);
    Put32(bytes, image.resource_directory, image.resource_rva);
    Put32(bytes, image.resource_directory + 4, static_cast<uint32_t>(tree.size()));
    bytes += tree;
    bytes.resize(image.resource_section + raw_size, '\0');
    image_size += RoundUp(raw_size, kSectionAlignment);
  }
  Put32(bytes, opt + 56, image_size);
  return image;
}

}  // namespace zelvo::testing
