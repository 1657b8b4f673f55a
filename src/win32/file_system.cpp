#include "win32/file_system.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include "win32/paths.h"
#include "win32/security.h"
#include "win32/strings.h"
#include "win32/owner.h"
#include "win32/win32_error.h"

namespace zelvo::win32 {
namespace {

// One WriteFile call writes at most this much; a DWORD cannot count more.
constexpr size_t kChunk = 1u << 30;

UniqueFile OpenFile(const std::wstring& path, DWORD access, DWORD share, DWORD disposition) {
  UniqueFile file(CreateFileW(path.c_str(), access, share, nullptr, disposition,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) ThrowLastError();
  return file;
}

void WriteAll(const UniqueFile& file, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min(bytes.size(), kChunk));
    DWORD written = 0;
    if (!::WriteFile(file.Get(), bytes.data(), chunk, &written, nullptr)) ThrowLastError();
    if (written == 0) ThrowWin32Error(ERROR_WRITE_FAULT);
    bytes.remove_prefix(written);
  }
}

// Reads until `limit` bytes or the end of the file, in pieces, so that a large limit costs
// nothing for a small file.
std::string ReadUpTo(const UniqueFile& file, uint64_t limit, size_t expected_size = 0) {
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

void CloseWritten(UniqueFile& file) {
  if (!file.Close()) ThrowLastError();
}

// A change of `target` (a file or folder made, replaced, copied to or deleted) that failed with
// `error`. A refusal for want of rights (the folder's access list, a missing privilege, a share
// that allows no writing) is marked so, unless the target's own read-only attribute refused it:
// rights would not help there.
[[noreturn]] void ThrowChangeError(DWORD error, const std::wstring& target) {
  const bool rights = error == ERROR_ACCESS_DENIED || error == ERROR_PRIVILEGE_NOT_HELD ||
                      error == ERROR_NETWORK_ACCESS_DENIED;
  const DWORD attributes = GetFileAttributesW(target.c_str());
  const bool read_only =
      attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
  if (!rights || read_only) ThrowWin32Error(error);
  throw Failure(static_cast<int32_t>(error), DescribeError(error), Failure::Kind::Refused);
}

// The user's text without a \\?\ prefix of its own, for the checks that look at what was typed.
std::wstring_view WithoutPrefix(std::wstring_view path) {
  constexpr std::wstring_view kPrefix = L"\\\\?\\";
  return path.starts_with(kPrefix) ? path.substr(kPrefix.size()) : path;
}

}  // namespace

std::string Win32FileSystem::StoredName(const std::string& path) {
  const std::wstring wide = Wide(path);
  const std::wstring_view typed = WithoutPrefix(wide);
  if (typed.empty() || HasWildcard(typed) || typed.find(L'\0') != std::wstring_view::npos ||
      typed.back() == L'\\' || typed.back() == L'/') {
    return {};
  }
  std::wstring extended;
  try {
    extended = ExtendedPath(std::wstring_view(wide));
  } catch (const Failure& failure) {
    if (IsNotFoundError(static_cast<DWORD>(failure.Number()))) return {};
    throw;
  }
  constexpr DWORD kNotOrdinary =
      FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  // Most names asked for are a manifest that is not there yet. Wine answers that far sooner
  // from the attributes than from a directory search, which reads the whole folder (1,000
  // programs in one folder: a second and a half). Any other answer goes to the search, which
  // alone gives the stored name.
  const DWORD attributes = GetFileAttributesW(extended.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES && IsNotFoundError(GetLastError())) return {};
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & kNotOrdinary)) return {};
  WIN32_FIND_DATAW found;
  UniqueFind search(FindFirstFileExW(extended.c_str(), FindExInfoBasic, &found,
                                     FindExSearchNameMatch, nullptr, 0));
  if (!search.Valid()) {
    const DWORD error = GetLastError();
    if (IsNotFoundError(error)) return {};
    // A folder the user may pass through but not list: the file is there, ordinary as its
    // attributes say, and keeps its name as given.
    if (error == ERROR_ACCESS_DENIED && attributes != INVALID_FILE_ATTRIBUTES) {
      return Utf8(typed.substr(typed.find_last_of(L"\\/") + 1));
    }
    ThrowWin32Error(error);
  }
  if (found.dwFileAttributes & kNotOrdinary) return {};
  return Utf8(found.cFileName);
}

std::string Win32FileSystem::LongPath(const std::string& path) {
  return Utf8(NormalPath(StoredPath(ExtendedPath(path))));
}

bool Win32FileSystem::IsFolder(const std::string& path) {
  if (path.empty()) return false;
  const DWORD attributes = GetFileAttributesW(ExtendedPath(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    if (IsNotFoundError(error)) return false;
    ThrowWin32Error(error);
  }
  // A link or junction could lead anywhere, as far as the files put in it go.
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

void Win32FileSystem::MakeFolder(const std::string& path, NewFolder access) {
  const std::wstring folder = ExtendedPath(path);
  if (access == NewFolder::AdministratorsOnly) {
    PrivateSecurity security = AdministratorsOnlyFolder();
    if (!CreateDirectoryW(folder.c_str(), security.Attributes())) {
      ThrowChangeError(GetLastError(), folder);
    }
  } else if (!CreateDirectoryW(folder.c_str(), nullptr)) {
    ThrowChangeError(GetLastError(), folder);
  }
}

void Win32FileSystem::RemoveFile(const std::string& path) {
  const std::wstring file = ExtendedPath(path);
  if (!DeleteFileW(file.c_str())) ThrowChangeError(GetLastError(), file);
}

CopyResult Win32FileSystem::CopyToNew(const std::string& from, const std::string& to) {
  // Opened once, without following a link, and read through that one opening: what is checked
  // is what is copied. A link, or a hard link to a file the user may not read, could otherwise
  // have an elevated program copy anything.
  const std::wstring source = ExtendedPath(from);
  const UniqueFile in(CreateFileW(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!in.Valid()) ThrowChangeError(GetLastError(), source);
  BY_HANDLE_FILE_INFORMATION information{};
  if (!GetFileInformationByHandle(in.Get(), &information)) ThrowLastError();
  if ((information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ||
      information.nNumberOfLinks > 1) {
    return CopyResult::SourceIsLink;
  }
  const std::wstring target = ExtendedPath(to);
  UniqueFile out(CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!out.Valid()) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) return CopyResult::TargetTaken;
    // A folder (or anything the copy may not open) in the way reads as "access denied".
    if (error == ERROR_ACCESS_DENIED &&
        GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES) {
      return CopyResult::TargetTaken;
    }
    ThrowChangeError(error, target);
  }
  try {
    // In pieces: a manifest may be of any size.
    std::string piece(1u << 20, '\0');
    for (;;) {
      DWORD read = 0;
      if (!::ReadFile(in.Get(), piece.data(), static_cast<DWORD>(piece.size()), &read, nullptr)) {
        ThrowLastError();
      }
      if (read == 0) break;
      WriteAll(out, std::string_view(piece).substr(0, read));
    }
    CloseWritten(out);
  } catch (...) {
    out.Close();
    DeleteFileW(target.c_str());  // no cut copy; the failure that matters is being thrown
    throw;
  }
  return CopyResult::Copied;
}

namespace {

// Windows refuses to empty a hidden or system file with CREATE_ALWAYS and normal attributes, and
// to move a file over a read-only one; Wine run as root does neither. A hidden or system file is
// also one the program does not see (the name lookup skips it), so it was neither backed up nor
// loaded. Refusing first keeps such a file whole, with the error Windows gives.
void RefuseToReplace(const std::wstring& target) {
  constexpr DWORD kKept = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & kKept)) {
    ThrowWin32Error(ERROR_ACCESS_DENIED);
  }
}

// Whether another program holds the file at `path` open without leave to delete it.
bool HeldOpen(const std::wstring& path) {
  const UniqueFile probe(CreateFileW(path.c_str(), DELETE,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return !probe.Valid() && GetLastError() == ERROR_SHARING_VIOLATION;
}

// Writes `bytes` to a new file beside `target` and then moves it over `target` in one step, so
// that a write failing half-way (a full disk) leaves the old file whole and no cut new one.
void ReplaceThroughTemporaryFile(const std::wstring& target, std::string_view bytes, bool flush) {
  // A name of this process's own, in the same folder so that the move is a rename.
  const std::wstring stem = target + L"." + std::to_wstring(GetCurrentProcessId());
  std::wstring temporary;
  UniqueFile file;
  for (int attempt = 0;; ++attempt) {
    temporary = stem + (attempt == 0 ? L"" : L"." + std::to_wstring(attempt)) + L".tmp";
    file = UniqueFile(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.Valid()) break;
    const DWORD error = GetLastError();
    // A leftover of an earlier run with the same process id: take the next name.
    if (error != ERROR_FILE_EXISTS || attempt == 99) ThrowChangeError(error, temporary);
  }

  try {
    WriteAll(file, bytes);
    if (flush && !FlushFileBuffers(file.Get())) ThrowLastError();
    CloseWritten(file);
    // Most targets do not exist yet: the plain move finds that out itself, which saves a look
    // for the name (a read of the whole folder under Wine) per manifest written. Only a file
    // that is there is looked at before it is replaced.
    const DWORD through = flush ? MOVEFILE_WRITE_THROUGH : 0;
    if (!MoveFileExW(temporary.c_str(), target.c_str(), through)) {
      const DWORD error = GetLastError();
      if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) {
        ThrowChangeError(error, target);
      }
      RefuseToReplace(target);
      if (!MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | through)) {
        const DWORD replace_error = GetLastError();
        // Windows says "access denied" too when another program holds the file open without
        // leave to delete it: rights would not help there.
        if (replace_error == ERROR_ACCESS_DENIED && HeldOpen(target)) {
          ThrowWin32Error(replace_error);
        }
        ThrowChangeError(replace_error, target);
      }
    }
  } catch (...) {
    file.Close();
    DeleteFileW(temporary.c_str());  // the failure that matters is the one being thrown
    throw;
  }
}

}  // namespace

void Win32FileSystem::WriteFile(const std::string& path, std::string_view bytes) {
  // A manifest cut short by a full disk would stop its program from starting.
  ReplaceThroughTemporaryFile(ExtendedPath(path), bytes, /*flush=*/false);
}

void Win32FileSystem::ReplaceAtomically(const std::string& path, std::string_view bytes) {
  ReplaceThroughTemporaryFile(ExtendedPath(path), bytes, /*flush=*/true);
}

std::optional<std::string> Win32FileSystem::ReadFile(const std::string& path, uint64_t at_most) {
  const UniqueFile file =
      OpenFile(ExtendedPath(path), GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.Get(), &size)) ThrowLastError();
  if (static_cast<uint64_t>(size.QuadPart) > at_most) return std::nullopt;
  // The file may grow while it is read: read to its end, not to the size it had, and no
  // further than the most that is wanted.
  const uint64_t limit = at_most == UINT64_MAX ? at_most : at_most + 1;
  std::string bytes = ReadUpTo(file, limit, static_cast<size_t>(size.QuadPart));
  if (bytes.size() > at_most) return std::nullopt;
  return bytes;
}

std::string Win32FileSystem::ReadRange(const std::string& path, uint64_t offset, uint32_t length) {
  // A program still being written (an installer or a download finishing) is read all the same.
  const UniqueFile file =
      OpenFile(ExtendedPath(path), GENERIC_READ,
               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING);
  LARGE_INTEGER position;
  position.QuadPart = static_cast<LONGLONG>(offset);
  if (!SetFilePointerEx(file.Get(), position, nullptr, FILE_BEGIN)) ThrowLastError();
  return ReadUpTo(file, length);
}

}  // namespace zelvo::win32
