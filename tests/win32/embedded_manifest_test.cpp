// Program images built by both mingw-w64 toolchains, and zelvo.exe itself, read through the real
// file system: the embedded manifest found byte for byte as Windows' own resource loader finds
// it, the Common-Controls 6 dependency told apart, and only a few kilobytes read to do it.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <optional>
#include <string>

#include "model/manifest_xml.h"
#include "model/pe_image.h"
#include "win32/system/file_system.h"
#include "win32/system/strings.h"
#include "win32/system/win32_error.h"
#include "test_support.h"

namespace zelvo::win32 {
namespace {

struct Variant {
  const char* name;
  const char* manifest_source;  // nullptr: no manifest of id 1
  bool common_controls_6;
};

constexpr Variant kVariants[] = {
    {"plain", nullptr, false},
    {"version", nullptr, false},
    {"cc6", "cc6.manifest", true},
    {"trust_info", "trust_info.manifest", false},
    {"cc6_utf16", "cc6_utf16.manifest", true},
    {"commented", "commented.manifest", false},
    {"dll_manifest", nullptr, false},
};

std::string ImagePath(const char* processor, const char* variant) {
  return std::string(ZELVO_PE_IMAGES) + "\\" + processor + "\\" + variant + ".exe";
}

// The manifest of id 1 as Windows' resource loader gives it, from the file mapped as data.
std::optional<std::string> ManifestBySystem(const std::string& path) {
  const HMODULE module = LoadLibraryExW(Wide(path).c_str(), nullptr,
                                        LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (!module) {
    ADD_FAILURE() << "LoadLibraryExW " << path << ": " << GetLastError();
    return std::nullopt;
  }
  std::optional<std::string> manifest;
  if (const HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(1), RT_MANIFEST)) {
    const HGLOBAL loaded = LoadResource(module, resource);
    const auto* bytes = static_cast<const char*>(LockResource(loaded));
    if (bytes) manifest.emplace(bytes, SizeofResource(module, resource));
  }
  FreeLibrary(module);
  return manifest;
}

// What is read of a program file, through its one opening.
struct ReadCount {
  int reads = 0;
  uint64_t bytes_read = 0;
};

// The program at `path` as the apply procedure reads it: opened once, and read through that
// opening (counted in `count`).
ProgramImage Inspect(const std::string& path, ReadCount* count = nullptr) {
  class Counting : public ByteSource {
   public:
    Counting(ByteSource& file, ReadCount* count) : file_(file), count_(count) {}
    std::string Read(uint64_t offset, uint32_t length) override {
      std::string bytes = file_.Read(offset, length);
      if (count_) {
        ++count_->reads;
        count_->bytes_read += bytes.size();
      }
      return bytes;
    }

   private:
    ByteSource& file_;
    ReadCount* count_;
  };
  Win32FileSystem files;
  OpenedProgram opened = files.OpenProgram(path);
  if (!opened.file) throw Failure(0, opened.failure);
  Counting counting(*opened.file, count);
  return InspectProgram(counting);
}

TEST(EmbeddedManifestTest, FoundInX86AndX64ProgramsAsWindowsFindsIt) {
  Win32FileSystem files;
  for (const char* processor : {"x86", "x64"}) {
    for (const Variant& variant : kVariants) {
      const std::string path = ImagePath(processor, variant.name);
      SCOPED_TRACE(path);
      ASSERT_EQ(files.Look(path).stored_name, std::string(variant.name) + ".exe");

      const ProgramImage image = Inspect(path);
      EXPECT_EQ(image.pe32_plus, std::string(processor) == "x64");
      EXPECT_EQ(image.embedded_manifest, ManifestBySystem(path));
      if (variant.manifest_source) {
        ASSERT_TRUE(image.embedded_manifest);
        EXPECT_EQ(*image.embedded_manifest, test::ReadBytes(std::string(ZELVO_PE_IMAGE_SOURCES) +
                                                            "\\" + variant.manifest_source));
        EXPECT_EQ(DependsOnCommonControls6(*image.embedded_manifest), variant.common_controls_6);
      } else {
        EXPECT_FALSE(image.embedded_manifest);
      }
    }
  }
}

TEST(EmbeddedManifestTest, ZelvoItselfIsThemedByItsOwnManifest) {
  ReadCount count;
  const ProgramImage image = Inspect(ZELVO_EXE_FILE, &count);
  EXPECT_TRUE(image.pe32_plus);
  ASSERT_TRUE(image.embedded_manifest);
  EXPECT_EQ(image.embedded_manifest, ManifestBySystem(ZELVO_EXE_FILE));
  EXPECT_TRUE(DependsOnCommonControls6(*image.embedded_manifest));

  // Only the headers, the section table and the resource tree are read, never the program.
  const uint64_t size = test::ReadBytes(ZELVO_EXE_FILE).size();
  const int reads = count.reads;
  const uint64_t bytes_read = count.bytes_read;
  EXPECT_LE(reads, 12);
  EXPECT_LT(bytes_read, 8192 + image.embedded_manifest->size());
  const auto start = std::chrono::steady_clock::now();
  constexpr int kRounds = 50;
  for (int round = 0; round < kRounds; ++round) Inspect(ZELVO_EXE_FILE);
  const auto each = std::chrono::duration_cast<std::chrono::microseconds>(
                        std::chrono::steady_clock::now() - start) /
                    kRounds;
  std::printf("zelvo.exe: %llu bytes in the file, %llu read in %d reads, %lld us a look\n",
              static_cast<unsigned long long>(size), static_cast<unsigned long long>(bytes_read),
              reads, static_cast<long long>(each.count()));
}

TEST(EmbeddedManifestTest, FilesThatAreNoProgramsHaveNone) {
  test::TempFolder folder;
  test::WriteBytes(folder.Path("script.bat"), "@echo off\r\n");
  test::WriteBytes(folder.Path("empty.exe"), "");
  // A real image cut inside its manifest.
  std::string cut = test::ReadBytes(ImagePath("x86", "cc6"));
  ASSERT_NE(cut.find("Microsoft.Windows.Common-Controls"), std::string::npos);
  cut.resize(cut.find("Microsoft.Windows.Common-Controls"));
  test::WriteBytes(folder.Path("cut.exe"), cut);
  for (const char* name : {"script.bat", "empty.exe", "cut.exe"}) {
    const ProgramImage image = Inspect(folder.Path(name));
    EXPECT_FALSE(image.embedded_manifest) << name;
    EXPECT_FALSE(image.pe32_plus) << name;
  }
  // Gone meanwhile: Windows' reason for the caller to tell, not a program without a manifest.
  Win32FileSystem files;
  const OpenedProgram gone = files.OpenProgram(folder.Path("gone.exe"));
  EXPECT_FALSE(gone.file);
  EXPECT_EQ(gone.failure, DescribeError(ERROR_FILE_NOT_FOUND));
}

}  // namespace
}  // namespace zelvo::win32
