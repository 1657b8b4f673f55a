#include "win32/system/environment.h"

#include <winver.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <vector>

#include "win32/system/com.h"
#include "win32/system/file_io.h"
#include "win32/system/paths.h"
#include "win32/system/process.h"
#include "win32/system/security.h"
#include "win32/system/strings.h"
#include "win32/system/win32_error.h"

namespace zelvo::win32 {
namespace {

struct CreatedMutex {
  UniqueHandle handle;
  DWORD error;  // GetLastError right after CreateMutexW: ERROR_ALREADY_EXISTS when opened
};

// Creates (or opens) the instance mutex with a DACL of its own: the user who runs the program,
// elevated or not, and the system may use it; no one else. The token's default DACL would do the
// same on an ordinary logon, but a process can have a token without one, and the mutex then had
// a null DACL, open to every process of the session.
CreatedMutex CreateInstanceMutex(const std::wstring& name) {
  const Sid user = CurrentUser();
  const Sid system = WellKnown(WinLocalSystemSid);
  PrivateSecurity security({{user, MUTEX_ALL_ACCESS}, {system, MUTEX_ALL_ACCESS}}, false);
  UniqueHandle mutex(CreateMutexW(security.Attributes(), FALSE, name.c_str()));
  return {std::move(mutex), GetLastError()};
}

// How a program is asked to start elevated: ShellExecuteExW's "runas", with `parameters`, in
// `folder`, shown normally. The texts must outlive the result.
SHELLEXECUTEINFOW ElevatedStartInfo(const std::wstring& program, const std::wstring& parameters,
                                    const std::wstring& folder) {
  SHELLEXECUTEINFOW start{};
  start.cbSize = sizeof(start);
  // The file is named exactly, so no association or search comes into it.
  start.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOZONECHECKS;
  start.lpVerb = L"runas";
  start.lpFile = program.c_str();
  start.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
  start.lpDirectory = folder.c_str();
  start.nShow = SW_SHOWNORMAL;
  return start;
}

}  // namespace

ProgramVersion ReadVersionResource(HMODULE module) {
  const HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(VS_VERSION_INFO), RT_VERSION);
  if (found == nullptr) ThrowLastError();
  const DWORD size = SizeofResource(module, found);
  if (size == 0) ThrowLastError();
  const HGLOBAL loaded = LoadResource(module, found);
  if (loaded == nullptr) ThrowLastError();
  const auto* data = static_cast<const unsigned char*>(LockResource(loaded));
  if (data == nullptr) ThrowWin32Error(ERROR_RESOURCE_DATA_NOT_FOUND);

  // The fixed part stands DWORD-aligned after the block's header and its key; its signature
  // finds it without walking the header.
  for (size_t offset = 0; offset + sizeof(VS_FIXEDFILEINFO) <= size; offset += sizeof(DWORD)) {
    VS_FIXEDFILEINFO info;
    std::memcpy(&info, data + offset, sizeof info);
    if (info.dwSignature == VS_FFI_SIGNATURE) {
      return {HIWORD(info.dwFileVersionMS), LOWORD(info.dwFileVersionMS)};
    }
  }
  ThrowWin32Error(ERROR_INVALID_DATA);
}

std::wstring ProgramPath() {
  std::wstring path(512, L'\0');
  for (;;) {
    const DWORD size = static_cast<DWORD>(path.size());
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), size);
    if (length == 0) ThrowLastError();
    if (length < size) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);  // cut short: the result filled the whole buffer
  }
  return StoredPath(ExtendedPath(std::wstring_view(path)));
}

std::wstring InstanceMutexName(std::wstring_view tool_folder) {
  // No access is asked for: the folder's identity needs none, and a folder the user may pass
  // through but not list still opens.
  const UniqueFile folder(CreateFileW(ExtendedPath(tool_folder).c_str(), 0,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!folder.Valid()) ThrowLastError();
  BY_HANDLE_FILE_INFORMATION information{};
  if (!GetFileInformationByHandle(folder.Get(), &information)) ThrowLastError();
  wchar_t identity[32];
  swprintf(identity, 32, L"%08lx-%08lx%08lx", information.dwVolumeSerialNumber,
           information.nFileIndexHigh, information.nFileIndexLow);
  return L"Local\\Zelvo-" + std::wstring(identity);
}

std::wstring QuotedArguments(const std::vector<std::string>& arguments) {
  // Zelvo reads its own command line with backslashes as they stand (a path holds no quote),
  // so nothing is doubled: a folder ending in a backslash arrives as it left.
  std::wstring line;
  for (const std::string& argument : arguments) {
    if (!line.empty()) line += L' ';
    line += L'"' + Wide(argument) + L'"';
  }
  return line;
}

std::wstring WriteHandOverFile(std::string_view hand_over) {
  // In the user's own temporary folder, under a name of this process's own, with an access
  // list of its own: only the user may change it; an administrator of another account (who may
  // be the one Windows starts Zelvo as) may read and delete it.
  const DWORD size = GetTempPathW(0, nullptr);
  if (size == 0) ThrowLastError();
  std::wstring folder(size, L'\0');
  const DWORD length = GetTempPathW(size, folder.data());
  if (length == 0) ThrowLastError();
  if (length >= size) ThrowWin32Error(ERROR_INSUFFICIENT_BUFFER);  // changed in between
  folder.resize(length);
  const Sid user = CurrentUser();
  const Sid administrators = WellKnown(WinBuiltinAdministratorsSid);
  PrivateSecurity security({{user, FILE_ALL_ACCESS}, {administrators, FILE_GENERIC_READ | DELETE}},
                           false);
  for (int attempt = 0;; ++attempt) {
    wchar_t name[64];
    swprintf(name, 64, L"zelvo-%08lx-%016llx.handover", GetCurrentProcessId(),
             static_cast<unsigned long long>(GetTickCount64()) + attempt);
    const std::wstring path = folder + name;
    UniqueFile file(CreateFileW(ExtendedPath(std::wstring_view(path)).c_str(), GENERIC_WRITE, 0,
                                security.Attributes(), CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) {
      if (GetLastError() == ERROR_FILE_EXISTS && attempt < 100) continue;
      ThrowLastError();
    }
    try {
      WriteAll(file, hand_over);
      if (!file.Close()) ThrowLastError();
    } catch (const Failure&) {
      file.Close();
      DeleteFileW(ExtendedPath(std::wstring_view(path)).c_str());  // no one will read it
      throw;
    }
    return path;
  }
}

std::string ReadHandOverFile(const std::wstring& path) {
  // Opened without following a link, as the one plain file of that name, read and then deleted
  // through the same opening: an elevated Zelvo deletes nothing else. Only a file that begins as
  // a hand-over is taken (and deleted): one the user made for it.
  const UniqueFile file(CreateFileW(ExtendedPath(std::wstring_view(path)).c_str(),
                                    GENERIC_READ | DELETE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!file.Valid()) ThrowLastError();
  BY_HANDLE_FILE_INFORMATION information{};
  if (!GetFileInformationByHandle(file.Get(), &information)) ThrowLastError();
  constexpr uint64_t kLargest = uint64_t{256} << 20;
  const uint64_t size = uint64_t{information.nFileSizeHigh} << 32 | information.nFileSizeLow;
  if ((information.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) ||
      information.nNumberOfLinks != 1 || size > kLargest) {
    ThrowWin32Error(ERROR_INVALID_DATA);
  }
  std::string bytes = ReadUpTo(file, size, static_cast<size_t>(size));
  if (bytes.size() != size || !std::string_view(bytes).starts_with(kHandOverMark)) {
    ThrowWin32Error(ERROR_INVALID_DATA);
  }
  // Read once: a file that stays (Windows may keep it all the same) is never read again, since
  // no other start names it.
  FILE_DISPOSITION_INFO dispose{TRUE};
  SetFileInformationByHandle(file.Get(), FileDispositionInfo, &dispose, sizeof(dispose));
  return bytes;
}

std::string DisplayLanguage() {
  const LCID locale = MAKELCID(GetUserDefaultUILanguage(), SORT_DEFAULT);
  wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
  if (LCIDToLocaleName(locale, name, LOCALE_NAME_MAX_LENGTH, 0) == 0) return {};
  return Utf8(name);
}

ProgramVersion Win32Environment::Version() { return ReadVersionResource(nullptr); }

UserNamespace::UserNamespace() {
  // Bound to this user: a program of another user cannot make the namespace first, and so
  // cannot take the instance's name before Zelvo does.
  boundary_.Reset(CreateBoundaryDescriptorW(L"Zelvo", 0));
  if (!boundary_) return;  // no private namespaces here (Wine 8 has none)
  Sid user = CurrentUser();
  HANDLE boundary = boundary_.Get();
  if (!AddSIDToBoundaryDescriptor(&boundary, user.data())) ThrowLastError();
  boundary_.Release();
  boundary_.Reset(boundary);  // the call may have moved it
  const Sid system = WellKnown(WinLocalSystemSid);
  PrivateSecurity security({{user, GENERIC_ALL}, {system, GENERIC_ALL}}, false);
  namespace_.Reset(CreatePrivateNamespaceW(security.Attributes(), boundary_.Get(), kAlias));
  if (namespace_) return;
  const DWORD error = GetLastError();
  if (error != ERROR_ALREADY_EXISTS) ThrowWin32Error(error);
  namespace_.Reset(OpenPrivateNamespaceW(boundary_.Get(), kAlias));
  if (!namespace_) ThrowLastError();
}

namespace {

// The lock file of the log: beside it, held with no sharing and deleted when its last handle
// closes (also when the process dies). Whoever may change the tool folder can make it, of
// whatever account or session; whoever cannot may not save the log there either.
constexpr wchar_t kLockName[] = L"zelvo.lock";

// How long a Zelvo started with a hand-over waits for the Zelvo that started it to end.
constexpr ULONGLONG kHandOverWaitMilliseconds = 20000;

// The argument that marks a hand-over on the command line of a Zelvo started as administrator,
// followed by the file it is in.
constexpr wchar_t kHandOverSwitch[] = L"/handover";

// The hand-over file named on this process's command line, or "" for none.
std::wstring HandOverFile() {
  int count = 0;
  const LocalMemory<wchar_t**> argv(CommandLineToArgvW(GetCommandLineW(), &count));
  if (!argv.Valid() || count != 3 || std::wstring_view(argv.Get()[1]) != kHandOverSwitch) {
    return {};
  }
  return argv.Get()[2];
}

}  // namespace

bool Win32Environment::TryClaim() {
  // Other accounts (an administrator's elevated Zelvo) see the lock file; this account's
  // copies also see the mutex, where the lock file cannot be made.
  const std::wstring folder = FolderPath(OwnPath());
  std::wstring lock = ExtendedPath(std::wstring_view(folder));
  if (!lock.ends_with(L'\\')) lock += L'\\';  // a drive root ends in one already
  lock += kLockName;
  UniqueFile claim(CreateFileW(lock.c_str(), DELETE | FILE_READ_ATTRIBUTES, 0, nullptr, OPEN_ALWAYS,
                               FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
  if (!claim.Valid()) {
    const DWORD error = GetLastError();
    // Held by another Zelvo, or on its way out (a delete pending reads as access denied to a
    // file that is there).
    if (error == ERROR_SHARING_VIOLATION) return false;
    if (error == ERROR_ACCESS_DENIED &&
        GetFileAttributesW(lock.c_str()) != INVALID_FILE_ATTRIBUTES) {
      return false;
    }
    // The tool folder cannot be written by this account: the mutex alone.
  }

  std::wstring name = InstanceMutexName(folder);
  try {
    namespace_.emplace();
  } catch (const Failure& failure) {
    // A namespace that cannot be opened is another instance's, elevated where this one is not.
    if (failure.Number() != ERROR_ACCESS_DENIED) throw;
    return false;
  }
  if (namespace_->Valid()) name = namespace_->Name(name.substr(name.find(L'\\') + 1));
  auto [mutex, error] = CreateInstanceMutex(name);
  if (!mutex.Valid()) {
    // Another user's instance in this session holds it and does not let us open it.
    if (error != ERROR_ACCESS_DENIED) ThrowWin32Error(error);
    return false;
  }
  if (error == ERROR_ALREADY_EXISTS) return false;
  instance_mutex_ = std::move(mutex);
  log_lock_ = std::move(claim);
  return true;
}

bool Win32Environment::PreviousInstanceRunning() {
  if (previous_instance_) return *previous_instance_;
  bool claimed = TryClaim();
  // Started as administrator by another Zelvo, which keeps the log until it ends.
  if (!claimed && !HandOverPath().empty()) {
    const ULONGLONG deadline = GetTickCount64() + kHandOverWaitMilliseconds;
    while (!claimed && GetTickCount64() < deadline) {
      namespace_.reset();
      Sleep(100);
      claimed = TryClaim();
    }
  }
  previous_instance_ = !claimed;
  return *previous_instance_;
}

bool Win32Environment::Elevated() { return ProcessElevated(); }

ElevatedStart Win32Environment::StartElevated(std::string_view hand_over) {
  return StartElevatedWith(ShellPath(OwnPath()), FolderPath(OwnPath()), hand_over, owner_);
}

ElevatedStart StartElevatedWith(const std::wstring& program, const std::wstring& folder,
                                std::string_view hand_over, HWND owner) {
  const std::wstring file = WriteHandOverFile(hand_over);
  const std::wstring parameters = std::wstring(kHandOverSwitch) + L" \"" + file + L"\"";
  // The shell may hand the start to extensions of its own, which are COM objects.
  const ComApartment com;
  SHELLEXECUTEINFOW start = ElevatedStartInfo(program, parameters, folder);
  start.hwnd = owner;  // Windows' prompt comes to the front over Zelvo's window
  if (ShellExecuteExW(&start)) return {ElevatedStart::Started, {}};
  const DWORD error = GetLastError();
  DeleteFileW(ExtendedPath(std::wstring_view(file)).c_str());  // no one will read it
  // Cancelled: the user said No to Windows' prompt. Anything else (a policy that lets no
  // standard user elevate, a missing file, the shell refusing) is a No too, with its reason.
  if (error == ERROR_CANCELLED) return {ElevatedStart::Declined, {}};
  return {ElevatedStart::Failed, DescribeError(error)};
}

std::optional<std::string> Win32Environment::TakeHandOver() {
  if (hand_over_taken_) return std::nullopt;
  hand_over_taken_ = true;
  if (HandOverPath().empty()) return std::nullopt;
  return ReadHandOverFile(HandOverPath());
}

std::string Win32Environment::ProgramFolder() { return Utf8(FolderPath(OwnPath())); }

std::string Win32Environment::CommandLine() {
  // A hand-over names no program to apply: what it holds is taken through TakeHandOver.
  if (!HandOverPath().empty()) return Utf8(QuotedArguments({Utf8(NormalPath(OwnPath()))}));
  return Utf8(GetCommandLineW());
}

const std::wstring& Win32Environment::OwnPath() {
  if (own_path_.empty()) own_path_ = ProgramPath();
  return own_path_;
}

const std::wstring& Win32Environment::HandOverPath() {
  if (!hand_over_path_) hand_over_path_ = HandOverFile();
  return *hand_over_path_;
}

std::string Win32Environment::DescribeFailure(int32_t number) {
  return DescribeError(static_cast<DWORD>(number));
}

}  // namespace zelvo::win32
