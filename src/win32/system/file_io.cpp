#include "win32/system/file_io.h"

#include <windows.h>

#include <algorithm>

#include "win32/system/win32_error.h"

namespace zelvo::win32 {

void WriteAll(const UniqueFile& file, std::string_view bytes) {
  // One WriteFile call writes at most this much; a DWORD cannot count more.
  constexpr size_t kChunk = 1u << 30;
  while (!bytes.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min(bytes.size(), kChunk));
    DWORD written = 0;
    if (!::WriteFile(file.Get(), bytes.data(), chunk, &written, nullptr)) ThrowLastError();
    if (written == 0) ThrowWin32Error(ERROR_WRITE_FAULT);
    bytes.remove_prefix(written);
  }
}

std::string ReadUpTo(const UniqueFile& file, uint64_t limit, size_t expected_size) {
  constexpr uint64_t kPiece = 1u << 20;
  std::string bytes;
  bytes.reserve(expected_size);
  while (bytes.size() < limit) {
    const DWORD wanted = static_cast<DWORD>(std::min(limit - bytes.size(), kPiece));
    const size_t old_size = bytes.size();
    bytes.resize(old_size + wanted);
    DWORD read = 0;
    if (!::ReadFile(file.Get(), bytes.data() + old_size, wanted, &read, nullptr)) {
      ThrowLastError();
    }
    bytes.resize(old_size + read);
    if (read == 0) break;
  }
  return bytes;
}

}  // namespace zelvo::win32
