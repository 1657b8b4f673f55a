#include "win32/system/file_system.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include <aclapi.h>
#include <winternl.h>

#include "win32/system/file_io.h"
#include "win32/system/module.h"
#include "win32/system/paths.h"
#include "win32/system/security.h"
#include "win32/system/strings.h"
#include "win32/system/owner.h"
#include "win32/system/win32_error.h"

namespace zelvo::win32 {
namespace {

UniqueFile Open(const std::wstring& path, DWORD access, DWORD share, DWORD disposition) {
  UniqueFile file(CreateFileW(path.c_str(), access, share, nullptr, disposition,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) ThrowLastError();
  return file;
}

void CloseWritten(UniqueFile& file) {
  if (!file.Close()) ThrowLastError();
}

// The folder that holds `path`, in the form people read.
std::string FolderOf(std::wstring_view path) { return Utf8(FolderPath(path)); }

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
  return {static_cast<int32_t>(error), DescribeError(error), FolderOf(target)};
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
    return {Refusal{static_cast<int32_t>(error), DescribeError(error), FolderOf(file)}};
  }
  return {Refusal{ERROR_ACCESS_DENIED, DescribeError(ERROR_ACCESS_DENIED), FolderOf(file)}};
}

namespace {

// A folder opened once, without following a link, and kept from being renamed or deleted while
// it is open: files made through it land in it, whatever its path leads to meanwhile.
UniqueFile OpenPlainFolder(const std::wstring& folder) {
  UniqueFile opened(CreateFileW(
      folder.c_str(), FILE_TRAVERSE | FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!opened.Valid()) ThrowLastError();
  BY_HANDLE_FILE_INFORMATION information{};
  if (!GetFileInformationByHandle(opened.Get(), &information)) ThrowLastError();
  if (!(information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    ThrowWin32Error(ERROR_DIRECTORY);
  }
  if (information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
    ThrowWin32Error(ERROR_REPARSE_ATTRIBUTE_CONFLICT);
  }
  return opened;
}

// The new file `name` in the folder open as `folder`, made through that opening (NtCreateFile
// relative to it): for writing and deleting, never over anything that stands there. Invalid,
// with the thread's last error set, when it cannot be made.
UniqueFile CreateNewIn(HANDLE folder, const std::wstring& name) {
  using NtCreateFileFunction =
      LONG(NTAPI*)(PHANDLE, ACCESS_MASK, POBJECT_ATTRIBUTES, PIO_STATUS_BLOCK, PLARGE_INTEGER,
                   ULONG, ULONG, ULONG, ULONG, PVOID, ULONG);
  using StatusToErrorFunction = ULONG(NTAPI*)(LONG);
  static const auto create = SystemFunction<NtCreateFileFunction>(L"ntdll.dll", "NtCreateFile");
  static const auto to_error =
      SystemFunction<StatusToErrorFunction>(L"ntdll.dll", "RtlNtStatusToDosError");
  if (!create || !to_error) ThrowWin32Error(ERROR_PROC_NOT_FOUND);
  if (name.empty() || name.size() * sizeof(wchar_t) > 0xFFFF ||
      name.find_first_of(L"\\/") != std::wstring::npos) {
    ThrowWin32Error(ERROR_INVALID_NAME);
  }
  UNICODE_STRING object_name{static_cast<USHORT>(name.size() * sizeof(wchar_t)),
                             static_cast<USHORT>(name.size() * sizeof(wchar_t)),
                             const_cast<wchar_t*>(name.c_str())};
  OBJECT_ATTRIBUTES attributes;
  InitializeObjectAttributes(&attributes, &object_name, OBJ_CASE_INSENSITIVE, folder, nullptr);
  IO_STATUS_BLOCK status{};
  HANDLE file = nullptr;
  constexpr ULONG kCreateNew = 2;          // FILE_CREATE
  constexpr ULONG kOptions = 0x00000040 |  // FILE_NON_DIRECTORY_FILE
                             0x00000020 |  // FILE_SYNCHRONOUS_IO_NONALERT
                             0x00200000;   // FILE_OPEN_REPARSE_POINT
  const LONG result = create(&file, GENERIC_WRITE | DELETE | SYNCHRONIZE, &attributes, &status,
                             nullptr, FILE_ATTRIBUTE_NORMAL, 0, kCreateNew, kOptions, nullptr, 0);
  if (result < 0) {
    SetLastError(to_error(result));
    return UniqueFile();
  }
  return UniqueFile(file);
}

}  // namespace

CopyResult Win32FileSystem::CopyToNew(const std::string& from, const std::string& folder,
                                      const std::string& name) {
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
  // Written through the folder as opened once: a folder the user may change could otherwise be
  // swapped for a link between the check and the copy, and take an elevated Zelvo's copy
  // anywhere.
  const std::wstring folder_path = ExtendedPath(folder);
  const UniqueFile target_folder = OpenPlainFolder(folder_path);
  const std::wstring wide_name = Wide(name);
  const std::wstring target =
      folder_path + (folder_path.ends_with(L'\\') ? L"" : L"\\") + wide_name;
  UniqueFile out = CreateNewIn(target_folder.Get(), wide_name);
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
    // The copy may be the only one left of the manifest, which is replaced next: on the disk
    // before it counts as made.
    if (!FlushFileBuffers(out.Get())) ThrowLastError();
    CloseWritten(out);
  } catch (...) {
    // No cut copy: deleted through its own opening. The failure that matters is being thrown.
    FILE_DISPOSITION_INFO dispose{TRUE};
    SetFileInformationByHandle(out.Get(), FileDispositionInfo, &dispose, sizeof(dispose));
    out.Close();
    throw;
  }
  return {CopyResult::Copied, std::nullopt};
}

FolderGuard Win32FileSystem::GuardOf(const std::string& folder) {
  const std::wstring path = ExtendedPath(folder);
  // FAT and the like keep no access list: anyone may change anything on them.
  std::wstring volume(path.size() + 2, L'\0');
  if (!GetVolumePathNameW(path.c_str(), volume.data(), static_cast<DWORD>(volume.size()))) {
    ThrowLastError();
  }
  DWORD volume_flags = 0;
  if (!GetVolumeInformationW(volume.c_str(), nullptr, 0, nullptr, nullptr, &volume_flags, nullptr,
                             0)) {
    ThrowLastError();
  }
  if (!(volume_flags & FILE_PERSISTENT_ACLS) || !AdministratorRightsKeepTheUserOut()) {
    return FolderGuard::Unguardable;
  }

  PACL acl = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  const DWORD error = GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION,
                                            nullptr, nullptr, &acl, nullptr, &descriptor);
  if (error != ERROR_SUCCESS) ThrowWin32Error(error);
  const LocalMemory<PSECURITY_DESCRIPTOR> owned(descriptor);
  if (!acl) return FolderGuard::Open;  // no access list: everyone may do anything
  const Sid administrators = WellKnown(WinBuiltinAdministratorsSid);
  const Sid system = WellKnown(WinLocalSystemSid);
  constexpr DWORD kChanges = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_WRITE_EA |
                             FILE_DELETE_CHILD | FILE_WRITE_ATTRIBUTES | DELETE | WRITE_DAC |
                             WRITE_OWNER | GENERIC_WRITE | GENERIC_ALL;
  for (DWORD index = 0; index < acl->AceCount; ++index) {
    void* entry = nullptr;
    if (!GetAce(acl, index, &entry)) ThrowLastError();
    const auto* header = static_cast<const ACE_HEADER*>(entry);
    if (header->AceType != ACCESS_ALLOWED_ACE_TYPE || (header->AceFlags & INHERIT_ONLY_ACE)) {
      continue;
    }
    const auto* allowed = static_cast<const ACCESS_ALLOWED_ACE*>(entry);
    if (!(allowed->Mask & kChanges)) continue;
    const PSID who = const_cast<DWORD*>(&allowed->SidStart);
    if (!EqualSid(who, const_cast<unsigned char*>(administrators.data())) &&
        !EqualSid(who, const_cast<unsigned char*>(system.data()))) {
      return FolderGuard::Open;
    }
  }
  return FolderGuard::AdministratorsOnly;
}

std::string Win32FileSystem::PathForAnyAccount(const std::string& path) {
  if (path.empty() || HasWildcard(Wide(path))) return path;
  std::wstring full;
  try {
    full = NormalPath(ExtendedPath(path));
  } catch (const Failure&) {
    return path;  // nothing to resolve: the new Zelvo meets it as the user gave it
  }
  if (full.size() < 3 || full[1] != L':' || full[2] != L'\\') return Utf8(full);
  const std::wstring drive = full.substr(0, 2);
  const std::wstring rest = full.substr(2);
  // A drive substituted for a folder: the folder's own path.
  std::wstring device(MAX_PATH, L'\0');
  if (QueryDosDeviceW(drive.c_str(), device.data(), static_cast<DWORD>(device.size()))) {
    device.resize(wcsnlen(device.c_str(), device.size()));
    if (device.starts_with(L"\\??\\") && device.size() > 6 && device[5] == L':') {
      return Utf8(NormalPath(device.substr(4) + rest));
    }
  }
  // A drive mapped to a network share: the share's own path, which mpr.dll knows (loaded from
  // System32 only when a path asks for it).
  if (GetDriveTypeW((drive + L"\\").c_str()) == DRIVE_REMOTE) {
    using GetConnectionFunction = DWORD(WINAPI*)(LPCWSTR, LPWSTR, LPDWORD);
    const UniqueModule mpr = LoadSystemLibrary(L"mpr.dll");
    const auto get_connection = ProcAddress<GetConnectionFunction>(mpr.Get(), "WNetGetConnectionW");
    std::wstring share(1024, L'\0');
    DWORD length = static_cast<DWORD>(share.size());
    if (get_connection && get_connection(drive.c_str(), share.data(), &length) == NO_ERROR) {
      share.resize(wcsnlen(share.c_str(), share.size()));
      return Utf8(share + rest);
    }
  }
  return Utf8(full);
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
