#include "win32/system/file_system.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include "win32/system/paths.h"
#include "win32/system/security.h"
#include "win32/system/strings.h"
#include "win32/system/owner.h"
#include "win32/system/win32_error.h"

namespace zelvo::win32 {
namespace {

// One WriteFile call writes at most this much; a DWORD cannot count more.
constexpr size_t kChunk = 1u << 30;

UniqueFile Open(const std::wstring& path, DWORD access, DWORD share, DWORD disposition) {
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
// `error`: a refusal for want of rights (the folder's access list, a missing privilege, a share
// that allows no writing) comes back, unless the target itself refused it (a read-only file, or
// a folder where a file was to be): rights would not help there. Any other failure is thrown.
Refusal RefusalOrThrow(DWORD error, const std::wstring& target) {
  const bool rights = error == ERROR_ACCESS_DENIED || error == ERROR_PRIVILEGE_NOT_HELD ||
                      error == ERROR_NETWORK_ACCESS_DENIED;
  const DWORD attributes = GetFileAttributesW(target.c_str());
  const bool in_the_way = attributes != INVALID_FILE_ATTRIBUTES &&
                          (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY));
  if (!rights || in_the_way) ThrowWin32Error(error);
  return {static_cast<int32_t>(error), DescribeError(error)};
}

// The user's text without a \\?\ prefix of its own, for the checks that look at what was typed.
std::wstring_view WithoutPrefix(std::wstring_view path) {
  constexpr std::wstring_view kPrefix = L"\\\\?\\";
  return path.starts_with(kPrefix) ? path.substr(kPrefix.size()) : path;
}

}  // namespace

FileFacts Win32FileSystem::Look(const std::string& path) {
  FileFacts facts;
  const std::wstring wide = Wide(path);
  const std::wstring_view typed = WithoutPrefix(wide);
  if (typed.empty() || HasWildcard(typed) || typed.find(L'\0') != std::wstring_view::npos) {
    return facts;
  }
  // A path ending in a separator can name a folder, never a file.
  const bool folder_only = typed.back() == L'\\' || typed.back() == L'/';
  std::wstring extended;
  try {
    extended = ExtendedPath(std::wstring_view(wide));
  } catch (const Failure& failure) {
    if (IsNotFoundError(static_cast<DWORD>(failure.Number()))) return facts;
    throw;
  }
  // The attributes first: most paths asked for are a manifest that is not there yet, and Wine
  // answers that far sooner than a directory search, which reads the whole folder (1,000
  // programs in one folder: a second and a half).
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(extended.c_str(), GetFileExInfoStandard, &data)) {
    const DWORD error = GetLastError();
    if (IsNotFoundError(error)) return facts;
    // Anything else (a folder that lets no one read attributes, say) is for the search below.
    data.dwFileAttributes = INVALID_FILE_ATTRIBUTES;
  }
  const auto describe = [&facts](DWORD attributes, DWORD size_high, DWORD size_low) {
    facts.kind =
        attributes & FILE_ATTRIBUTE_DIRECTORY ? FileFacts::Kind::Folder : FileFacts::Kind::File;
    facts.hidden = attributes & FILE_ATTRIBUTE_HIDDEN;
    facts.system = attributes & FILE_ATTRIBUTE_SYSTEM;
    facts.link = attributes & FILE_ATTRIBUTE_REPARSE_POINT;
    facts.size = uint64_t{size_high} << 32 | size_low;
  };
  const bool known = data.dwFileAttributes != INVALID_FILE_ATTRIBUTES;
  if (known) describe(data.dwFileAttributes, data.nFileSizeHigh, data.nFileSizeLow);
  if (folder_only) return facts.kind == FileFacts::Kind::Folder ? facts : FileFacts{};
  if (known && (facts.kind == FileFacts::Kind::Folder || facts.hidden || facts.system)) {
    return facts;  // no ordinary file: its stored name is not needed
  }

  // The stored form: short components expanded, the last one as the file system stores it.
  // A folder the user may pass through but not list leaves a component as given.
  std::wstring stored;
  WIN32_FIND_DATAW found{};
  try {
    stored = StoredPath(extended, &found);
  } catch (const Failure& failure) {
    if (IsNotFoundError(static_cast<DWORD>(failure.Number()))) return FileFacts{};
    throw;
  }
  if (found.cFileName[0] != L'\0') {
    describe(found.dwFileAttributes, found.nFileSizeHigh, found.nFileSizeLow);
  } else if (!known) {
    // Neither its attributes nor a listing of its folder could be had.
    ThrowWin32Error(ERROR_ACCESS_DENIED);
  }
  if (facts.kind != FileFacts::Kind::File || facts.hidden || facts.system) return facts;
  const std::wstring normal = NormalPath(stored);
  facts.full_path = Utf8(normal);
  facts.stored_name = Utf8(std::wstring_view(normal).substr(normal.find_last_of(L'\\') + 1));
  return facts;
}

ChangeResult Win32FileSystem::MakeFolder(const std::string& path, NewFolder access) {
  const std::wstring folder = ExtendedPath(path);
  bool made = false;
  if (access == NewFolder::AdministratorsOnly) {
    PrivateSecurity security = AdministratorsOnlyFolder();
    made = CreateDirectoryW(folder.c_str(), security.Attributes());
  } else {
    made = CreateDirectoryW(folder.c_str(), nullptr);
  }
  if (made) return {};
  return {RefusalOrThrow(GetLastError(), folder)};
}

ChangeResult Win32FileSystem::RemoveFile(const std::string& path) {
  const std::wstring file = ExtendedPath(path);
  if (!DeleteFileW(file.c_str())) return {RefusalOrThrow(GetLastError(), file)};
  // A delete reported as done may not be: under Wine when the folder may not be changed (the
  // failed unlink is ignored), on Windows when the file is still open elsewhere on a file system
  // without POSIX deletes (it goes when the last handle closes). Only a name that is gone counts.
  if (GetFileAttributesW(file.c_str()) == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    if (IsNotFoundError(error)) return {};
    return {Refusal{static_cast<int32_t>(error), DescribeError(error)}};
  }
  return {Refusal{ERROR_ACCESS_DENIED, DescribeError(ERROR_ACCESS_DENIED)}};
}

CopyResult Win32FileSystem::CopyToNew(const std::string& from, const std::string& to) {
  // Opened once, without following a link, and read through that one opening: what is checked
  // is what is copied. A link, or a hard link to a file the user may not read, could otherwise
  // have an elevated program copy anything.
  const std::wstring source = ExtendedPath(from);
  const UniqueFile in(CreateFileW(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!in.Valid()) return {CopyResult::Refused, RefusalOrThrow(GetLastError(), source)};
  BY_HANDLE_FILE_INFORMATION information{};
  if (!GetFileInformationByHandle(in.Get(), &information)) ThrowLastError();
  if ((information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ||
      information.nNumberOfLinks > 1) {
    return {CopyResult::SourceIsLink, std::nullopt};
  }
  const std::wstring target = ExtendedPath(to);
  UniqueFile out(CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!out.Valid()) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) {
      return {CopyResult::TargetTaken, std::nullopt};
    }
    // A folder (or anything the copy may not open) in the way reads as "access denied".
    if (error == ERROR_ACCESS_DENIED &&
        GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES) {
      return {CopyResult::TargetTaken, std::nullopt};
    }
    return {CopyResult::Refused, RefusalOrThrow(error, target)};
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
  return {CopyResult::Copied, std::nullopt};
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

// Moves the written `temporary` over `target`; the refusal when Windows refuses it for want of
// rights.
ChangeResult MoveIntoPlace(const std::wstring& temporary, const std::wstring& target, bool flush) {
  // Most targets do not exist yet: the plain move finds that out itself, which saves a look for
  // the name (a read of the whole folder under Wine) per manifest written. Only a file that is
  // there is looked at before it is replaced.
  const DWORD through = flush ? MOVEFILE_WRITE_THROUGH : 0;
  if (MoveFileExW(temporary.c_str(), target.c_str(), through)) return {};
  const DWORD error = GetLastError();
  if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) {
    return {RefusalOrThrow(error, target)};
  }
  RefuseToReplace(target);
  if (MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | through)) {
    return {};
  }
  const DWORD replace_error = GetLastError();
  // Windows says "access denied" too when another program holds the file open without leave to
  // delete it: rights would not help there.
  if (replace_error == ERROR_ACCESS_DENIED && HeldOpen(target)) ThrowWin32Error(replace_error);
  return {RefusalOrThrow(replace_error, target)};
}

// Writes `bytes` to a new file beside `target` and then moves it over `target` in one step, so
// that a write failing half-way (a full disk) leaves the old file whole and no cut new one.
ChangeResult ReplaceThroughTemporaryFile(const std::wstring& target, std::string_view bytes,
                                         bool flush) {
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
    if (error != ERROR_FILE_EXISTS || attempt == 99) return {RefusalOrThrow(error, temporary)};
  }

  ChangeResult moved;
  try {
    WriteAll(file, bytes);
    if (flush && !FlushFileBuffers(file.Get())) ThrowLastError();
    CloseWritten(file);
    moved = MoveIntoPlace(temporary, target, flush);
  } catch (...) {
    file.Close();
    DeleteFileW(temporary.c_str());  // the failure that matters is the one being thrown
    throw;
  }
  if (!moved.Made()) DeleteFileW(temporary.c_str());
  return moved;
}

// Sets the last-write time of the file open as `file` to now, nothing else: a null time leaves
// the creation and last-access times as they are.
bool SetLastWriteToNow(HANDLE file) {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  return SetFileTime(file, nullptr, nullptr, &now) != FALSE;
}

// A program file, read through its one handle, and touched through it where that was allowed.
class OpenProgramFile : public ProgramFile {
 public:
  OpenProgramFile(UniqueFile file, bool may_touch)
      : file_(std::move(file)), may_touch_(may_touch) {}

  std::string Read(uint64_t offset, uint32_t length) override {
    LARGE_INTEGER position;
    position.QuadPart = static_cast<LONGLONG>(offset);
    if (!SetFilePointerEx(file_.Get(), position, nullptr, FILE_BEGIN)) ThrowLastError();
    return ReadUpTo(file_, length);
  }

  bool TouchLastWrite() override { return may_touch_ && SetLastWriteToNow(file_.Get()); }

 private:
  UniqueFile file_;
  bool may_touch_;
};

}  // namespace

ChangeResult Win32FileSystem::WriteFile(const std::string& path, std::string_view bytes) {
  // A manifest cut short by a full disk would stop its program from starting.
  return ReplaceThroughTemporaryFile(ExtendedPath(path), bytes, /*flush=*/false);
}

ChangeResult Win32FileSystem::ReplaceAtomically(const std::string& path, std::string_view bytes) {
  return ReplaceThroughTemporaryFile(ExtendedPath(path), bytes, /*flush=*/true);
}

std::optional<std::string> Win32FileSystem::ReadFile(const std::string& path, uint64_t at_most) {
  const UniqueFile file = Open(ExtendedPath(path), GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
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

OpenedProgram Win32FileSystem::OpenProgram(const std::string& path) {
  // A program still being written (an installer or a download finishing) is read all the same.
  // Its time can be set where its attributes may be changed; a share or a folder that allows
  // reading only still lets it be read.
  const std::wstring program = ExtendedPath(path);
  constexpr DWORD kShared = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  bool may_touch = true;
  UniqueFile file(CreateFileW(program.c_str(), GENERIC_READ | FILE_WRITE_ATTRIBUTES, kShared,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid() && GetLastError() == ERROR_ACCESS_DENIED) {
    may_touch = false;
    file.Reset(CreateFileW(program.c_str(), GENERIC_READ, kShared, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
  }
  if (!file.Valid()) return {nullptr, DescribeError(GetLastError())};
  return {std::make_unique<OpenProgramFile>(std::move(file), may_touch), {}};
}

bool Win32FileSystem::TouchLastWrite(const std::string& path) {
  const UniqueFile file(CreateFileW(ExtendedPath(path).c_str(), FILE_WRITE_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return file.Valid() && SetLastWriteToNow(file.Get());
}

}  // namespace zelvo::win32
