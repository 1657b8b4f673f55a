// Reading program images without loading them, on hand-built images: telling 64-bit images
// from the rest, finding the embedded manifest, surviving damaged files, and reading a
// manifest's XML for the Common-Controls 6 dependency.
#include "model/manifest_xml.h"
#include "model/pe_image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <string>
#include <vector>

#include "fakes/fakes.h"
#include "fakes/pe_builder.h"
#include "model/manifest_document.h"

namespace zelvo::testing {
namespace {

constexpr uint16_t kI386 = 0x14C;
constexpr uint16_t kAmd64 = 0x8664;
constexpr uint16_t kArm64 = 0xAA64;

struct Image {
  uint32_t nt_offset = 0x80;
  uint16_t machine = kAmd64;
  uint16_t sections = 3;
  uint16_t optional_size = 0xF0;
  uint16_t magic = kPe32PlusMagic;

  // The DOS header, a stub, the NT signature, the file header and the optional header's start.
  std::string Bytes() const {
    std::string image(64, '\0');
    image[0] = 'M';
    image[1] = 'Z';
    Put32(image, 0x3C, nt_offset);
    if (image.size() < nt_offset) image.resize(nt_offset, '\x90');
    image.replace(nt_offset, 4, std::string("PE\0\0", 4));
    Put16(image, nt_offset + 4, machine);
    Put16(image, nt_offset + 6, sections);
    Put16(image, nt_offset + 20, optional_size);
    Put16(image, nt_offset + 22, 0x0022);  // executable, large-address aware
    Put16(image, nt_offset + 24, magic);
    image.resize(std::max<size_t>(image.size(), nt_offset + 24 + optional_size), '\0');
    return image;
  }
};

std::optional<PeHeaders> Read(const std::string& bytes) {
  MemorySource source(bytes);
  return ReadPeHeaders(source);
}

TEST(PeImageTest, ReadsTheHeadersOfA64BitImage) {
  const auto headers = Read(Image{}.Bytes());
  ASSERT_TRUE(headers);
  EXPECT_TRUE(headers->IsPe32Plus());
  EXPECT_EQ(headers->nt_offset, 0x80u);
  EXPECT_EQ(headers->machine, kAmd64);
  EXPECT_EQ(headers->section_count, 3);
  EXPECT_EQ(headers->optional_header_size, 0xF0);
  EXPECT_EQ(headers->SectionTableOffset(), 0x80u + 24 + 0xF0);
}

TEST(PeImageTest, X64AndArm64ArePe32PlusX86IsNot) {
  EXPECT_TRUE(Read(Image{.machine = kArm64}.Bytes())->IsPe32Plus());
  const auto x86 =
      Read(Image{.machine = kI386, .optional_size = 0xE0, .magic = kPe32Magic}.Bytes());
  ASSERT_TRUE(x86);
  EXPECT_FALSE(x86->IsPe32Plus());
  EXPECT_EQ(x86->machine, kI386);
}

TEST(PeImageTest, NtHeadersMayStandAnywhereInTheFile) {
  // Packed and hand-made images put them right after "MZ" or far behind a long stub.
  EXPECT_TRUE(Read(Image{.nt_offset = 4}.Bytes())->IsPe32Plus());
  EXPECT_TRUE(Read(Image{.nt_offset = 0x10001}.Bytes())->IsPe32Plus());
}

TEST(PeImageTest, WhatIsNoPeImage) {
  EXPECT_FALSE(Read(""));
  EXPECT_FALSE(Read("MZ"));
  EXPECT_FALSE(Read("@echo off\r\nstart foo.exe\r\n"));

  std::string not_mz = Image{}.Bytes();
  not_mz[0] = 'Z';
  not_mz[1] = 'M';
  EXPECT_FALSE(Read(not_mz));

  std::string no_signature = Image{}.Bytes();
  no_signature[0x82] = 'X';  // "PEX\0"
  EXPECT_FALSE(Read(no_signature));

  // A 16-bit program: "NE" where the PE signature would be.
  std::string new_executable = Image{}.Bytes();
  new_executable[0x81] = 'E';
  new_executable[0x80] = 'N';
  EXPECT_FALSE(Read(new_executable));

  // An optional header too short to hold the magic that happens to follow.
  EXPECT_FALSE(Read(Image{.optional_size = 0}.Bytes()));
  EXPECT_FALSE(Read(Image{.optional_size = 1}.Bytes()));
}

TEST(PeImageTest, NtOffsetOutsideTheFileIsNoImage) {
  const std::string image = Image{}.Bytes();
  for (uint32_t offset : {uint32_t{0}, uint32_t(image.size()), uint32_t(image.size() - 25),
                          uint32_t{0x7FFFFFFF}, uint32_t{0x80000000}, uint32_t{0xFFFFFFFF}}) {
    std::string damaged = image;
    Put32(damaged, 0x3C, offset);
    EXPECT_FALSE(Read(damaged)) << offset;
  }
}

TEST(PeImageTest, EveryCutShortOfTheMagicIsNoImage) {
  const std::string image = Image{}.Bytes();
  const size_t needed = 0x80 + 26;
  for (size_t length = 0; length < needed; ++length) {
    EXPECT_FALSE(Read(image.substr(0, length))) << length;
  }
  EXPECT_TRUE(Read(image.substr(0, needed)));
}

// --- The embedded manifest -------------------------------------------------------------------

const std::string kCc6Manifest = ManifestDocument(ManifestArchitecture::Any);

// A manifest as linkers and resource templates write it when a program only states its
// execution level.
const std::string kTrustInfoManifest =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
    "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">\r\n"
    "  <trustInfo xmlns=\"urn:schemas-microsoft-com:asm.v3\">\r\n"
    "    <security>\r\n"
    "      <requestedPrivileges>\r\n"
    "        <requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>\r\n"
    "      </requestedPrivileges>\r\n"
    "    </security>\r\n"
    "  </trustInfo>\r\n"
    "</assembly>\r\n";

// Counts what is read, to show that only the headers and the tree are.
class CountingSource : public ByteSource {
 public:
  explicit CountingSource(std::string_view bytes) : memory_(bytes) {}
  std::string Read(uint64_t offset, uint32_t length) override {
    ++reads;
    std::string bytes = memory_.Read(offset, length);
    bytes_read += bytes.size();
    return bytes;
  }

  int reads = 0;
  uint64_t bytes_read = 0;

 private:
  MemorySource memory_;
};

std::optional<std::string> EmbeddedManifest(ByteSource& source) {
  const auto headers = ReadPeHeaders(source);
  if (!headers) return std::nullopt;
  return ReadEmbeddedManifest(source, *headers);
}

std::optional<std::string> EmbeddedManifest(const std::string& bytes) {
  MemorySource source(bytes);
  return EmbeddedManifest(source);
}

// An image with some everyday resources besides its manifest.
BuiltImage ProgramWith(std::string manifest_xml, bool pe32_plus = true) {
  return BuildImage({.pe32_plus = pe32_plus,
                     .resources = {{{kRtIcon}, {1}, 0x409, std::string(744, 'i')},
                                   {{kRtVersion}, {1}, 0x411, std::string(380, 'v')},
                                   {{0, u"PNG"}, {0, u"LOGO"}, 0x409, "png"},
                                   ManifestResource(std::move(manifest_xml))}});
}

TEST(EmbeddedManifestTest, IsFoundInPe32AndPe32PlusImagesAmongOtherResources) {
  for (bool pe32_plus : {false, true}) {
    SCOPED_TRACE(pe32_plus);
    EXPECT_EQ(EmbeddedManifest(ProgramWith(kCc6Manifest, pe32_plus).bytes), kCc6Manifest);
    EXPECT_EQ(EmbeddedManifest(ProgramWith(kTrustInfoManifest, pe32_plus).bytes),
              kTrustInfoManifest);
  }
}

TEST(EmbeddedManifestTest, AnyLanguageWillDo) {
  EXPECT_EQ(EmbeddedManifest(BuildImage({.resources = {ManifestResource("ja", 0x411)}}).bytes),
            "ja");
  EXPECT_EQ(EmbeddedManifest(BuildImage({.resources = {ManifestResource("neutral", 0)}}).bytes),
            "neutral");
  const auto two = EmbeddedManifest(
      BuildImage({.resources = {ManifestResource("en", 0x409), ManifestResource("ja", 0x411)}})
          .bytes);
  EXPECT_TRUE(two == "en" || two == "ja");
}

TEST(EmbeddedManifestTest, OnlyTheManifestOfId1Counts) {
  EXPECT_FALSE(EmbeddedManifest(BuildImage({}).bytes));
  EXPECT_FALSE(EmbeddedManifest(BuildImage({.resources = {{{kRtIcon}, {1}, 0x409, "icon"},
                                                          {{kRtVersion}, {1}, 0x409, "ver"}}})
                                    .bytes));
  // Ids 2 and 3 are the manifests of DLLs, which no program start reads.
  EXPECT_FALSE(EmbeddedManifest(BuildImage({.resources = {{{kRtManifest}, {2}, 0x409, "dll"},
                                                          {{kRtManifest}, {3}, 0x409, "dll"}}})
                                    .bytes));
  // Names are no ids, even when they read like one.
  EXPECT_FALSE(EmbeddedManifest(
      BuildImage({.resources = {{{kRtManifest}, {0, u"1"}, 0x409, "named"}}}).bytes));
  EXPECT_FALSE(EmbeddedManifest(
      BuildImage({.resources = {{{0, u"MANIFEST"}, {1}, 0x409, "named type"}}}).bytes));
  // Id 1 of another type (RT_CURSOR is 1) beside the manifest of id 2.
  EXPECT_FALSE(EmbeddedManifest(
      BuildImage({.resources = {{{1}, {1}, 0x409, "cursor"}, {{kRtManifest}, {2}, 0x409, "dll"}}})
          .bytes));
  // An empty manifest is still a manifest: Windows reads it instead of the file.
  EXPECT_EQ(EmbeddedManifest(BuildImage({.resources = {ManifestResource("")}}).bytes), "");
}

TEST(EmbeddedManifestTest, ReadsOnlyTheHeadersAndTheResourceTree) {
  const BuiltImage image =
      BuildImage({.resources = {{{kRtIcon}, {1}, 0x409, "icon"}, ManifestResource(kCc6Manifest)},
                  .code_size = 8u << 20});
  CountingSource source(image.bytes);
  EXPECT_EQ(EmbeddedManifest(source), kCc6Manifest);
  EXPECT_LE(source.reads, 12);
  EXPECT_LT(source.bytes_read, 1024 + kCc6Manifest.size());
}

TEST(EmbeddedManifestTest, EveryCutOfTheFileGivesTheWholeManifestOrNone) {
  const std::string image = ProgramWith(kTrustInfoManifest, false).bytes;
  const size_t manifest_end = image.find(kTrustInfoManifest) + kTrustInfoManifest.size();
  for (size_t length = 0; length <= image.size(); ++length) {
    const auto manifest = EmbeddedManifest(image.substr(0, length));
    if (length < manifest_end) {
      EXPECT_FALSE(manifest) << length;
    } else {
      EXPECT_EQ(manifest, kTrustInfoManifest) << length;
    }
  }
}

TEST(EmbeddedManifestTest, ResourceDirectoryMissingFromTheOptionalHeader) {
  const BuiltImage image = ProgramWith(kCc6Manifest);
  auto with = [&](uint32_t at, uint32_t value) {
    std::string bytes = image.bytes;
    Put32(bytes, at, value);
    return EmbeddedManifest(bytes);
  };
  // Fewer than three data directories: the third, the resource table, is not there.
  EXPECT_FALSE(with(image.directory_count, 2));
  EXPECT_FALSE(with(image.directory_count, 0));
  EXPECT_EQ(with(image.directory_count, 3), kCc6Manifest);
  EXPECT_FALSE(with(image.resource_directory, 0));      // no RVA
  EXPECT_FALSE(with(image.resource_directory + 4, 0));  // no size

  // An optional header too short to hold directory 2, in both layouts.
  for (bool pe32_plus : {false, true}) {
    std::string bytes = ProgramWith(kCc6Manifest, pe32_plus).bytes;
    const uint16_t needed = pe32_plus ? 112 + 24 : 96 + 24;
    Put16(bytes, 0x40 + 20, needed - 1);
    EXPECT_FALSE(EmbeddedManifest(bytes)) << pe32_plus;
  }
  // A magic that is neither PE32 nor PE32+ says nothing of where the directories are.
  std::string rom = image.bytes;
  Put16(rom, image.optional_header, 0x107);
  EXPECT_FALSE(EmbeddedManifest(rom));
}

// A change to the bytes of a built image.
using Change = std::function<void(const BuiltImage&, std::string&)>;

// One way to damage the image, and what it does.
struct Damage {
  const char* what;
  Change apply;
};

TEST(EmbeddedManifestTest, DamagedImagesHaveNoManifest) {
  const BuiltImage image =
      BuildImage({.resources = {{{kRtIcon}, {1}, 0x409, "icon"}, ManifestResource(kCc6Manifest)}});
  ASSERT_EQ(EmbeddedManifest(image.bytes), kCc6Manifest);
  const uint32_t entry = image.resource_section + image.data_entries.back();
  const uint32_t root = image.resource_section;
  const uint32_t rsrc = image.resource_section_header;

  const std::vector<Damage> damages = {
      {"resource RVA in no section",
       [](const BuiltImage& i, std::string& b) { Put32(b, i.resource_directory, 0x900000); }},
      {"resource RVA in the part of the code section the file does not hold",
       [](const BuiltImage& i, std::string& b) { Put32(b, i.resource_directory, 0x1800); }},
      {"resource RVA past 4 GB once an offset is added",
       [](const BuiltImage& i, std::string& b) { Put32(b, i.resource_directory, 0xFFFFFFF0); }},
      {"resource section placed past the end of the file",
       [&](const BuiltImage&, std::string& b) {
         Put32(b, rsrc + 20, static_cast<uint32_t>(b.size()) + 0x1000);
       }},
      {"resource section placed at 4 GB",
       [&](const BuiltImage&, std::string& b) { Put32(b, rsrc + 20, 0xFFFFFF00); }},
      {"no sections at all", [](const BuiltImage&, std::string& b) { Put16(b, 0x40 + 6, 0); }},
      {"section table past the end of the file",
       [](const BuiltImage&, std::string& b) { Put32(b, 0x3C, 0x40 + 0x10000); }},
      {"manifest size past the end of the file",
       [&](const BuiltImage&, std::string& b) {
         Put32(b, entry + 4, static_cast<uint32_t>(b.size()));
       }},
      {"manifest size of 4 GB",
       [&](const BuiltImage&, std::string& b) { Put32(b, entry + 4, 0xFFFFFFFF); }},
      {"manifest RVA in no section",
       [&](const BuiltImage&, std::string& b) { Put32(b, entry, 0x00F00000); }},
      {"manifest running past its section's bytes",
       [&](const BuiltImage& i, std::string& b) {
         // The section's virtual size is its tree's size; the file pads it beyond that.
         const uint32_t mapped = static_cast<uint32_t>(b[rsrc + 8] & 0xFF) |
                                 static_cast<uint32_t>(b[rsrc + 9] & 0xFF) << 8;
         Put32(b, entry, i.resource_rva + mapped - 0x10);
         Put32(b, entry + 4, 0x20);
       }},
      {"type entry that leads to data instead of a directory",
       [&](const BuiltImage&, std::string& b) {
         Put32(b, root + 16 + 8 + 4, image.data_entries.back());  // RT_MANIFEST is second
       }},
      {"type directory past the end of the file",
       [&](const BuiltImage&, std::string& b) { Put32(b, root + 16 + 8 + 4, 0xFFFFFFF0); }},
      {"language entry that is a directory",
       [&](const BuiltImage&, std::string& b) {
         const uint32_t languages = root + image.directories.back();
         Put32(b, languages + 16 + 4, 0x80000000u | image.directories.back());
       }},
      {"data entry past the end of the file",
       [&](const BuiltImage&, std::string& b) {
         const uint32_t languages = root + image.directories.back();
         Put32(b, languages + 16 + 4, 0x7FFFFFF0);
       }},
  };
  for (const Damage& damage : damages) {
    std::string bytes = image.bytes;
    damage.apply(image, bytes);
    CountingSource source(bytes);
    EXPECT_FALSE(EmbeddedManifest(source)) << damage.what;
    EXPECT_LE(source.reads, 12) << damage.what;
  }
}

// A third section header, in the room the builder leaves before the first section's bytes.
void AddSection(const BuiltImage& image, std::string& bytes, uint32_t virtual_address,
                uint32_t raw_size, uint32_t file_offset) {
  const uint32_t header = image.resource_section_header + 40;
  Put16(bytes, 0x40 + 6, 3);
  Put32(bytes, header + 8, 0);  // no virtual size: the raw size counts
  Put32(bytes, header + 12, virtual_address);
  Put32(bytes, header + 16, raw_size);
  Put32(bytes, header + 20, file_offset);
}

// An image laid out so that it still reads with a field near 4 GB, then pushed past 4 GB.
struct EdgeOf32Bits {
  const char* what;
  Change lay_out;
  Change push;
};

// The 32-bit zelvo.exe reads the same images with a 32-bit size_t. Every push below makes a sum
// of a base and an offset pass 4 GB at a place where that sum taken modulo 4 GB is the real tree
// or manifest: a reader that let it wrap would find the manifest, or read past the file.
TEST(EmbeddedManifestTest, OffsetsThatPass4GBFindNothingAtAnyWidth) {
  const BuiltImage image =
      BuildImage({.resources = {{{kRtIcon}, {1}, 0x409, "icon"}, ManifestResource(kCc6Manifest)}});
  const uint32_t root = image.resource_section;
  const uint32_t entry = root + image.data_entries.back();
  const uint32_t manifest = static_cast<uint32_t>(image.bytes.find(kCc6Manifest));
  const uint32_t manifest_rva = image.resource_rva + manifest - root;
  // A second view of the resource bytes just below 4 GB, the tree's root moved there.
  constexpr uint32_t kHigh = 0xFFFF0000;
  const Change tree_below_4gb = [&](const BuiltImage& i, std::string& b) {
    AddSection(i, b, kHigh, static_cast<uint32_t>(b.size()) - root, root);
    Put32(b, i.resource_directory, kHigh);
  };
  // A view of the whole file from its first byte, the tree found through it.
  constexpr uint32_t kWhole = 0x100000;
  const Change whole_file = [&](const BuiltImage& i, std::string& b) {
    AddSection(i, b, kWhole, static_cast<uint32_t>(b.size()), 0);
    Put32(b, i.resource_directory, kWhole + root);
  };
  const Change as_built = [](const BuiltImage&, std::string&) {};

  const std::vector<EdgeOf32Bits> rows = {
      {"NT headers 16 bytes short of 4 GB", as_built,
       [](const BuiltImage&, std::string& b) { Put32(b, 0x3C, 0xFFFFFFF0); }},
      {"type directory offset that carries the root past 4 GB", tree_below_4gb,
       [&](const BuiltImage& i, std::string& b) {
         Put32(b, root + 16 + 8 + 4, 0x80000000u | (i.resource_rva + i.directories[2] - kHigh));
       }},
      {"data entry offset that carries the root past 4 GB", tree_below_4gb,
       [&](const BuiltImage& i, std::string& b) {
         Put32(b, root + i.directories.back() + 16 + 4,
               i.resource_rva + i.data_entries.back() - kHigh);
       }},
      {"section whose file offset plus the offset into it passes 4 GB", whole_file,
       [&](const BuiltImage& i, std::string& b) {
         AddSection(i, b, kWhole - 0x1000, static_cast<uint32_t>(b.size()) + 0x1000, 0xFFFFF000);
       }},
      {"manifest RVA below a section near 4 GB whose bytes run past it", as_built,
       [&](const BuiltImage& i, std::string& b) {
         AddSection(i, b, 0xFFFFFF00, 0x2000, manifest - 0x110);
         Put32(b, entry, 0x10);
       }},
      {"manifest size that carries its RVA past 4 GB", as_built,
       [&](const BuiltImage&, std::string& b) { Put32(b, entry + 4, 0x10 - manifest_rva); }},
  };
  for (const EdgeOf32Bits& row : rows) {
    std::string bytes = image.bytes;
    row.lay_out(image, bytes);
    EXPECT_EQ(EmbeddedManifest(bytes), kCc6Manifest) << row.what;
    row.push(image, bytes);
    CountingSource source(bytes);
    EXPECT_FALSE(EmbeddedManifest(source)) << row.what;
    EXPECT_LE(source.reads, 12) << row.what;
    EXPECT_LE(source.bytes_read, bytes.size()) << row.what;
  }
}

// The unit tests run at the width the build names: a toolchain that quietly built 64-bit code
// would pass them off as the 32-bit run, and the table above with them.
TEST(BuildWidthTest, SizeTIsAsWideAsTheBuildSays) {
#ifdef ZELVO_SIZE_T_BITS
  EXPECT_EQ(sizeof(size_t) * CHAR_BIT, size_t{ZELVO_SIZE_T_BITS});
#else
  GTEST_SKIP() << "this build names no width";
#endif
}

TEST(EmbeddedManifestTest, DirectoriesThatPointBackEndTheWalk) {
  // RT_CURSOR has id 1, so the root itself holds an entry of the manifest's id.
  const BuiltImage image =
      BuildImage({.resources = {{{1}, {1}, 0x409, "cursor"}, ManifestResource(kCc6Manifest)}});
  ASSERT_EQ(EmbeddedManifest(image.bytes), kCc6Manifest);
  const uint32_t root = image.resource_section;
  for (uint32_t directory : image.directories) {
    for (uint32_t entry = 0; entry < 2; ++entry) {
      const uint32_t field = root + directory + 16 + 8 * entry + 4;
      if (field >= root + image.data_entries.front()) continue;  // no such entry
      for (uint32_t target : {uint32_t{0}, directory}) {         // to the root, to itself
        std::string bytes = image.bytes;
        Put32(bytes, field, 0x80000000u | target);
        CountingSource source(bytes);
        const auto manifest = EmbeddedManifest(source);
        EXPECT_TRUE(!manifest || *manifest == kCc6Manifest) << directory << " " << entry;
        EXPECT_LE(source.reads, 12) << directory << " " << entry;
      }
    }
  }
  // Every entry of every directory pointing to the root: no data entry is ever reached.
  std::string bytes = image.bytes;
  for (uint32_t directory : image.directories) {
    Put32(bytes, root + directory + 16 + 4, 0x80000000u);
  }
  CountingSource source(bytes);
  EXPECT_FALSE(EmbeddedManifest(source));
  EXPECT_LE(source.reads, 12);
}

TEST(EmbeddedManifestTest, HugeEntryCountsReadNoFurtherThanTheFile) {
  const BuiltImage image =
      BuildImage({.resources = {{{kRtIcon}, {1}, 0x409, "icon"}, ManifestResource(kCc6Manifest)}});
  const uint32_t root = image.resource_section;
  for (uint32_t directory : image.directories) {
    std::string bytes = image.bytes;
    Put16(bytes, root + directory + 12, 0xFFFF);
    Put16(bytes, root + directory + 14, 0xFFFF);
    CountingSource source(bytes);
    // The entries that stand there are still read in order; what follows them is noise.
    EXPECT_EQ(EmbeddedManifest(source), kCc6Manifest) << directory;
    EXPECT_LE(source.bytes_read, bytes.size()) << directory;
  }
  // The type entry gone: the noise after it holds no manifest either.
  std::string bytes = image.bytes;
  Put16(bytes, root + 12, 0xFFFF);
  Put16(bytes, root + 14, 0xFFFF);
  Put32(bytes, root + 16 + 8, 0x7FFF);
  EXPECT_FALSE(EmbeddedManifest(bytes));
}

// --- Reading the manifest's XML --------------------------------------------------------------

// UTF-16 of a UTF-8 text of the Basic Multilingual Plane.
std::string Utf16(std::string_view utf8, bool big_endian, bool byte_order_mark) {
  std::u16string units;
  for (size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<uint8_t>(utf8[i]);
    const size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : 3;
    char32_t c = length == 1 ? lead : length == 2 ? lead & 0x1F : lead & 0x0F;
    for (size_t k = 1; k < length; ++k) c = c << 6 | (static_cast<uint8_t>(utf8[i + k]) & 0x3F);
    units += static_cast<char16_t>(c);
    i += length;
  }
  if (byte_order_mark) units.insert(units.begin(), u'\xFEFF');
  std::string bytes;
  for (char16_t unit : units) {
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    bytes += big_endian ? high : low;
    bytes += big_endian ? low : high;
  }
  return bytes;
}

std::string WithDependency(const std::string& identity) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">\n"
         "<description>古いソフト</description>\n"
         "<dependency><dependentAssembly>" +
         identity + "</dependentAssembly></dependency>\n</assembly>\n";
}

TEST(CommonControls6Test, FoundInTheFormsManifestsComeIn) {
  EXPECT_TRUE(DependsOnCommonControls6(ManifestDocument(ManifestArchitecture::X86)));
  EXPECT_TRUE(DependsOnCommonControls6(ManifestDocument(ManifestArchitecture::Any)));
  for (const std::string identity : {
           // Single quotes, spaces around '=', attributes over several lines, in any order.
           "<assemblyIdentity type='win32' name='Microsoft.Windows.Common-Controls' "
           "version='6.0.0.0'/>",
           "<assemblyIdentity\r\n\tversion = \"6.0.0.0\"\r\n\tname\t=\t"
           "\"Microsoft.Windows.Common-Controls\"\r\n/>",
           // Other letter case of the name, another build of version 6, padded values.
           "<assemblyIdentity name=\"microsoft.windows.common-controls\" version=\"6.0.2600.0\" "
           "processorArchitecture=\"amd64\"/>",
           "<assemblyIdentity name=\" Microsoft.Windows.Common-Controls \" version=\" 6.0.0.0 \"/>",
           // A namespace prefix, an element that is closed by a tag of its own.
           "<asmv1:assemblyIdentity name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\">"
           "</asmv1:assemblyIdentity>",
       }) {
    SCOPED_TRACE(identity);
    const std::string xml = WithDependency(identity);
    EXPECT_TRUE(DependsOnCommonControls6(xml));
    EXPECT_TRUE(DependsOnCommonControls6("\xEF\xBB\xBF" + xml));  // UTF-8 with its mark
    for (bool big_endian : {false, true}) {
      for (bool mark : {false, true}) {
        EXPECT_TRUE(DependsOnCommonControls6(Utf16(xml, big_endian, mark))) << big_endian << mark;
      }
    }
  }
  // A prefixed dependentAssembly, as manifests with several namespaces write it.
  EXPECT_TRUE(DependsOnCommonControls6(
      "<asmv1:assembly xmlns:asmv1=\"urn:schemas-microsoft-com:asm.v1\"><asmv1:dependency>"
      "<asmv1:dependentAssembly><asmv1:assemblyIdentity "
      "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"/>"
      "</asmv1:dependentAssembly></asmv1:dependency></asmv1:assembly>"));
}

TEST(CommonControls6Test, NotFoundWhereWindowsWouldNotBindIt) {
  EXPECT_FALSE(DependsOnCommonControls6(kTrustInfoManifest));
  EXPECT_FALSE(DependsOnCommonControls6(""));
  EXPECT_FALSE(DependsOnCommonControls6("not xml at all"));
  EXPECT_FALSE(DependsOnCommonControls6(std::string(1000, '\0')));
  for (const std::string identity : {
           "<assemblyIdentity name=\"Microsoft.Windows.Common-Controls\" version=\"5.82.0.0\"/>",
           "<assemblyIdentity name=\"Microsoft.Windows.Common-Controls\" version=\"60.0.0.0\"/>",
           "<assemblyIdentity name=\"Microsoft.Windows.Common-Controls\"/>",
           "<assemblyIdentity name=\"Microsoft.Windows.GdiPlus\" version=\"6.0.0.0\"/>",
           "<assemblyIdentity name=\"Microsoft.Windows.Common-Controls.Extra\" "
           "version=\"6.0.0.0\"/>",
           "<assemblyIdentity xname=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"/>",
           // Commented out, as manifest templates ship it.
           "<!-- <assemblyIdentity name=\"Microsoft.Windows.Common-Controls\" "
           "version=\"6.0.0.0\"/> -->",
           "<![CDATA[<assemblyIdentity name=\"Microsoft.Windows.Common-Controls\" "
           "version=\"6.0.0.0\"/>]]>",
           // A value that never ends.
           "<assemblyIdentity name=\"Microsoft.Windows.Common-Controls version=\"6.0.0.0\"/>",
       }) {
    SCOPED_TRACE(identity);
    EXPECT_FALSE(DependsOnCommonControls6(WithDependency(identity)));
    EXPECT_FALSE(DependsOnCommonControls6(Utf16(WithDependency(identity), false, true)));
  }
  // The assembly's own identity, and one after its dependentAssembly has closed.
  const std::string identity =
      "<assemblyIdentity name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"/>";
  EXPECT_FALSE(DependsOnCommonControls6("<assembly>" + identity + "</assembly>"));
  EXPECT_FALSE(DependsOnCommonControls6("<assembly><dependency><dependentAssembly/>" + identity +
                                        "</dependency></assembly>"));
  EXPECT_FALSE(
      DependsOnCommonControls6("<assembly><dependency><dependentAssembly>"
                               "</dependentAssembly>" +
                               identity + "</dependency></assembly>"));
}

// --- Program images as a whole -------------------------------------------------------------

TEST(InspectProgramTest, TellsTheArchitectureAndTheManifest) {
  struct Case {
    std::string bytes;
    bool pe32_plus;
    std::optional<std::string> manifest;
  };
  const Case cases[] = {
      {ProgramWith(kCc6Manifest, true).bytes, true, kCc6Manifest},
      {ProgramWith(kTrustInfoManifest, false).bytes, false, kTrustInfoManifest},
      {BuildImage({}).bytes, true, std::nullopt},
      {"@echo off\r\n", false, std::nullopt},
      {"", false, std::nullopt},
  };
  for (const Case& c : cases) {
    MemorySource source(c.bytes);
    const ProgramImage image = InspectProgram(source);
    EXPECT_EQ(image.pe32_plus, c.pe32_plus) << c.bytes.size();
    EXPECT_EQ(image.embedded_manifest, c.manifest) << c.bytes.size();
  }
}

TEST(InspectProgramTest, AReadThatFailsComesThroughAndIsNeverTakenForA32BitOne) {
  // The first reads succeed, then the file cannot be read any further (a range locked by an
  // installer, a disk error): the image is not taken for what its first bytes alone suggest.
  class Failing : public ByteSource {
   public:
    explicit Failing(std::string_view bytes, int reads) : memory_(bytes), reads_(reads) {}
    std::string Read(uint64_t offset, uint32_t length) override {
      if (reads_-- == 0) throw Failure(33, "lock violation");
      return memory_.Read(offset, length);
    }

   private:
    MemorySource memory_;
    int reads_;
  };
  const std::string bytes = ProgramWith(kCc6Manifest).bytes;
  for (int reads = 0; reads < 4; ++reads) {
    Failing source(bytes, reads);
    try {
      (void)InspectProgram(source);
      FAIL() << "a program that could not be read passed for one after " << reads << " reads";
    } catch (const Failure& failure) {
      EXPECT_EQ(failure.Number(), 33);
    }
  }
}

}  // namespace
}  // namespace zelvo::testing
