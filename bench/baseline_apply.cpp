// The applying baseline: the file work of applying the programs named on the command line, done
// directly, with no window and no log. For each program the same steps zelvo.exe takes on disk:
// its stored name, its long path, its first bytes (which manifest it needs), a look for a
// manifest already there, and the manifest written as zelvo.exe writes it: to a file beside it,
// then moved over its name, so that a full disk leaves no cut manifest. The manifest holds the
// same bytes zelvo.exe writes. Exit code 0 when every manifest was written.
#include <windows.h>
#include <shellapi.h>

#include <cstring>
#include <string>

#include "model/manifest_document.h"

namespace {

class File {
 public:
  explicit File(HANDLE handle) : handle_(handle) {}
  ~File() { Close(); }
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return handle_; }
  bool Close() {
    if (!Valid()) return true;
    const bool closed = CloseHandle(handle_) != FALSE;
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE handle_;
};

std::string ReadAt(HANDLE file, LONG offset, DWORD length) {
  if (SetFilePointer(file, offset, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) return {};
  std::string bytes(length, '\0');
  DWORD read = 0;
  if (!ReadFile(file, bytes.data(), length, &read, nullptr)) return {};
  bytes.resize(read);
  return bytes;
}

// Whether the program is a 64-bit image (PE32+), read from its headers.
bool IsPe32Plus(const std::wstring& path) {
  File file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return false;
  const std::string dos = ReadAt(file.Get(), 0, 64);
  if (dos.size() < 64 || dos[0] != 'M' || dos[1] != 'Z') return false;
  LONG nt_offset = 0;
  std::memcpy(&nt_offset, dos.data() + 0x3C, sizeof nt_offset);
  const std::string nt = ReadAt(file.Get(), nt_offset, 26);
  return nt.size() == 26 && nt.compare(0, 4, std::string("PE\0\0", 4)) == 0 &&
         static_cast<unsigned char>(nt[24]) == 0x0B && nt[25] == 0x02;
}

bool ApplyOne(const wchar_t* path) {
  WIN32_FIND_DATAW found;
  const HANDLE search =
      FindFirstFileExW(path, FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);

  const DWORD size = GetLongPathNameW(path, nullptr, 0);
  if (size == 0) return false;
  std::wstring long_path(size, L'\0');
  const DWORD length = GetLongPathNameW(path, long_path.data(), size);
  if (length == 0 || length >= size) return false;
  long_path.resize(length);

  const std::string document = zelvo::ManifestDocument(
      IsPe32Plus(long_path) ? zelvo::ManifestArchitecture::Any : zelvo::ManifestArchitecture::X86);

  const std::wstring manifest = long_path + L".manifest";
  if (GetFileAttributesW(manifest.c_str()) != INVALID_FILE_ATTRIBUTES) return false;
  const std::wstring temporary = manifest + L".tmp";
  File file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                        FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return false;
  DWORD written = 0;
  const bool wrote = WriteFile(file.Get(), document.data(), static_cast<DWORD>(document.size()),
                               &written, nullptr) &&
                     written == document.size();
  if (!file.Close() || !wrote) return false;
  return MoveFileExW(temporary.c_str(), manifest.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!arguments) return 1;
  int failed = 0;
  for (int index = 1; index < count; ++index) {
    if (!ApplyOne(arguments[index])) ++failed;
  }
  LocalFree(arguments);
  return failed == 0 && count > 1 ? 0 : 1;
}
