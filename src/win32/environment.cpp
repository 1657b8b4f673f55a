#include "win32/environment.h"

#include <winver.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <vector>

#include "win32/paths.h"
#include "win32/strings.h"
#include "win32/win32_error.h"

namespace zelvo::win32 {
namespace {

// FNV-1a, 64 bits: short, stable across runs and versions, enough to tell paths apart.
uint64_t Fnv1a64(const void* data, size_t size) {
  uint64_t hash = 14695981039346656037ull;
  const auto* bytes = static_cast<const unsigned char*>(data);
  for (size_t i = 0; i < size; ++i) {
    hash ^= bytes[i];
    hash *= 1099511628211ull;
  }
  return hash;
}

std::wstring UpperCase(std::wstring_view text) {
  if (text.empty()) return {};
  if (text.size() > INT_MAX) ThrowWin32Error(ERROR_ARITHMETIC_OVERFLOW);
  const int size = static_cast<int>(text.size());
  const int length = LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, text.data(), size,
                                   nullptr, 0, nullptr, nullptr, 0);
  if (length == 0) ThrowLastError();
  std::wstring upper(static_cast<size_t>(length), L'\0');
  if (LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, text.data(), size, upper.data(), length,
                    nullptr, nullptr, 0) == 0) {
    ThrowLastError();
  }
  return upper;
}

struct CreatedMutex {
  UniqueHandle handle;
  DWORD error;  // GetLastError right after CreateMutexW: ERROR_ALREADY_EXISTS when opened
};

// Creates (or opens) the instance mutex with a DACL of its own: the user who runs the program,
// elevated or not, and the system may use it; no one else. The token's default DACL would do the
// same on an ordinary logon, but a process can have a token without one, and the mutex then had
// a null DACL, open to every process of the session.
CreatedMutex CreateInstanceMutex(const std::wstring& name) {
  HANDLE token_handle = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token_handle)) ThrowLastError();
  const UniqueHandle token(token_handle);
  DWORD size = 0;
  GetTokenInformation(token.Get(), TokenUser, nullptr, 0, &size);
  if (size == 0) ThrowLastError();
  std::vector<unsigned char> user_buffer(size);
  if (!GetTokenInformation(token.Get(), TokenUser, user_buffer.data(), size, &size)) {
    ThrowLastError();
  }
  const PSID user = reinterpret_cast<const TOKEN_USER*>(user_buffer.data())->User.Sid;

  DWORD system_size = SECURITY_MAX_SID_SIZE;
  std::vector<unsigned char> system(system_size);
  if (!CreateWellKnownSid(WinLocalSystemSid, nullptr, system.data(), &system_size)) {
    ThrowLastError();
  }

  const DWORD acl_size = sizeof(ACL) + 2 * (sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD)) +
                         GetLengthSid(user) + GetLengthSid(system.data());
  std::vector<unsigned char> acl_buffer(acl_size);
  const auto acl = reinterpret_cast<PACL>(acl_buffer.data());
  if (!InitializeAcl(acl, acl_size, ACL_REVISION) ||
      !AddAccessAllowedAce(acl, ACL_REVISION, MUTEX_ALL_ACCESS, user) ||
      !AddAccessAllowedAce(acl, ACL_REVISION, MUTEX_ALL_ACCESS, system.data())) {
    ThrowLastError();
  }
  SECURITY_DESCRIPTOR descriptor;
  if (!InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION) ||
      !SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE)) {
    ThrowLastError();
  }
  SECURITY_ATTRIBUTES attributes{sizeof(attributes), &descriptor, FALSE};
  UniqueHandle mutex(CreateMutexW(&attributes, FALSE, name.c_str()));
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

std::wstring InstanceMutexName(std::wstring_view program_path) {
  const std::wstring upper = UpperCase(NormalPath(program_path));
  wchar_t hash[17];
  swprintf(hash, 17, L"%016llx",
           static_cast<unsigned long long>(Fnv1a64(upper.data(), upper.size() * sizeof(wchar_t))));
  return L"Local\\Zelvo-" + std::wstring(hash);
}

ProgramVersion Win32Environment::Version() { return ReadVersionResource(nullptr); }

bool Win32Environment::PreviousInstanceRunning() {
  if (previous_instance_) return *previous_instance_;
  const std::wstring name = InstanceMutexName(ProgramPath());
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

void Win32Environment::EndNow(int exit_code) { ExitProcess(static_cast<UINT>(exit_code)); }

}  // namespace zelvo::win32
