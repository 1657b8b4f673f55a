// Reading and writing whole byte strings through an opened file, in pieces a DWORD can count.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "win32/system/owner.h"

namespace zelvo::win32 {

// Writes all of `bytes` at the file's position. Throws Failure when a write fails or writes
// nothing.
void WriteAll(const UniqueFile& file, std::string_view bytes);

// Reads until `limit` bytes or the end of the file, in pieces, so that a large limit costs
// nothing for a small file; `expected_size` is room reserved beforehand. Throws Failure when a
// read fails.
std::string ReadUpTo(const UniqueFile& file, uint64_t limit, size_t expected_size = 0);

}  // namespace zelvo::win32
