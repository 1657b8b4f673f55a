// Telling 64-bit images from everything else, on hand-built headers.
#include "manifest/pe_image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "fakes/fakes.h"

namespace zelvo::testing {
namespace {

constexpr uint16_t kI386 = 0x14C;
constexpr uint16_t kAmd64 = 0x8664;
constexpr uint16_t kArm64 = 0xAA64;

void Put16(std::string& image, size_t at, uint16_t value) {
  if (image.size() < at + 2) image.resize(at + 2);
  image[at] = static_cast<char>(value & 0xFF);
  image[at + 1] = static_cast<char>(value >> 8);
}

void Put32(std::string& image, size_t at, uint32_t value) {
  Put16(image, at, static_cast<uint16_t>(value & 0xFFFF));
  Put16(image, at + 2, static_cast<uint16_t>(value >> 16));
}

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

TEST(PeImageTest, FilesAreReadThroughTheFileSystem) {
  FakeFileSystem files;
  files.AddFile("C:\\x64\\app.exe", Image{}.Bytes());
  files.AddFile("C:\\x86\\app.exe", Image{.machine = kI386, .magic = kPe32Magic}.Bytes());
  files.AddFile("C:\\x64\\empty.exe");
  EXPECT_TRUE(IsPe32PlusFile(files, "C:\\x64\\app.exe"));
  EXPECT_FALSE(IsPe32PlusFile(files, "C:\\x86\\app.exe"));
  EXPECT_FALSE(IsPe32PlusFile(files, "C:\\x64\\empty.exe"));
  // Only the headers are read, never the whole program.
  for (const auto& call : files.calls) EXPECT_EQ(call.rfind("ReadRange ", 0), 0u) << call;
}

TEST(PeImageTest, AFileThatCannotBeReadIsNo64BitImage) {
  FakeFileSystem files;
  files.AddFile("C:\\x64\\app.exe", Image{}.Bytes());
  files.FailOn("ReadRange", "C:\\x64\\app.exe", Win32Failure(32));
  EXPECT_FALSE(IsPe32PlusFile(files, "C:\\x64\\app.exe"));
  EXPECT_FALSE(IsPe32PlusFile(files, "C:\\x64\\gone.exe"));
  EXPECT_TRUE(IsPe32PlusFile(files, "C:\\x64\\app.exe"));  // the failure was a passing one
}

}  // namespace
}  // namespace zelvo::testing
