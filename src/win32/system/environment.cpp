#include "win32/system/environment.h"

#include <winver.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <vector>

#include "win32/system/com.h"
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
  std::wstring line;
  for (const std::string& argument : arguments) {
    if (!line.empty()) line += L' ';
    line += L'"';
    size_t backslashes = 0;
    for (const wchar_t c : Wide(argument)) {
      if (c == L'\\') {
        ++backslashes;
        continue;
      }
      // Backslashes count only before a quote: there each one is doubled, and the quote
      // escaped with one more.
      line.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
      backslashes = 0;
      line += c;
    }
    line.append(backslashes * 2, L'\\');  // before the closing quote
    line += L'"';
  }
  return line;
}

SHELLEXECUTEINFOW ElevatedStart(const std::wstring& program, const std::wstring& parameters,
                                const std::wstring& folder) {
  SHELLEXECUTEINFOW start{};
  start.cbSize = sizeof(start);
  // The file is named exactly, so no association or search comes into it; no window of ours
  // to own the prompt while the program is about to end.
  start.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOZONECHECKS;
  start.lpVerb = L"runas";
  start.lpFile = program.c_str();
  start.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
  start.lpDirectory = folder.c_str();
  start.nShow = SW_SHOWNORMAL;
  return start;
}

bool StartElevated(const std::wstring& program, const std::wstring& folder,
                   const std::vector<std::string>& arguments) {
  // The shell may hand the start to extensions of its own, which are COM objects.
  const ComApartment com;
  const std::wstring parameters = QuotedArguments(arguments);
  SHELLEXECUTEINFOW start = ElevatedStart(program, parameters, folder);
  if (ShellExecuteExW(&start)) return true;
  const DWORD error = GetLastError();
  if (error == ERROR_CANCELLED) return false;  // the user said No to the elevation prompt
  ThrowWin32Error(error);
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

bool Win32Environment::PreviousInstanceRunning() {
  if (previous_instance_) return *previous_instance_;
  std::wstring name = InstanceMutexName(Wide(ProgramFolder()));
  try {
    namespace_.emplace();
  } catch (const Failure& failure) {
    // A namespace that cannot be opened is another instance's, elevated where this one is not.
    if (failure.Number() != ERROR_ACCESS_DENIED) throw;
    previous_instance_ = true;
    return true;
  }
  if (namespace_->Valid()) name = namespace_->Name(name.substr(name.find(L'\\') + 1));
  auto [mutex, error] = CreateInstanceMutex(name);
  if (!mutex.Valid()) {
    // Another user's instance in this session holds it and does not let us open it.
    if (error != ERROR_ACCESS_DENIED) ThrowWin32Error(error);
    previous_instance_ = true;
  } else {
    previous_instance_ = error == ERROR_ALREADY_EXISTS;
    instance_mutex_ = std::move(mutex);
  }
  return *previous_instance_;
}

bool Win32Environment::Elevated() { return ProcessElevated(); }

bool Win32Environment::RestartElevated(const std::vector<std::string>& arguments) {
  const std::wstring program = ShellPath(ProgramPath());
  const std::wstring folder = Wide(ProgramFolder());
  // Handed over before the start: the new instance checks for a running one at once, and this
  // one ends only once the start is done.
  const bool claimed = instance_mutex_.Valid();
  instance_mutex_.Close();
  namespace_.reset();
  previous_instance_.reset();
  bool started = false;
  try {
    started = StartElevated(program, folder, arguments);
  } catch (...) {
    if (claimed) (void)PreviousInstanceRunning();
    throw;
  }
  if (!started && claimed) (void)PreviousInstanceRunning();
  return started;
}

std::string Win32Environment::ProgramFolder() {
  const std::wstring path = NormalPath(ProgramPath());
  std::wstring folder = path.substr(0, path.find_last_of(L'\\'));
  if (folder.size() == 2 && folder[1] == L':') folder += L'\\';  // a drive root keeps its "\"
  return Utf8(folder);
}

std::string Win32Environment::CommandLine() { return Utf8(GetCommandLineW()); }

std::string Win32Environment::DescribeFailure(int32_t number) {
  return DescribeError(static_cast<DWORD>(number));
}

}  // namespace zelvo::win32
