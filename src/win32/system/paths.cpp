#include "win32/system/paths.h"

#include "win32/system/strings.h"
#include "win32/system/owner.h"
#include "win32/system/win32_error.h"

namespace zelvo::win32 {
namespace {

constexpr std::wstring_view kExtendedPrefix = L"\\\\?\\";
constexpr std::wstring_view kExtendedUncPrefix = L"\\\\?\\UNC\\";
constexpr std::wstring_view kDevicePrefix = L"\\\\.\\";

std::wstring FullPath(const std::wstring& path) {
  DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  for (;;) {
    if (size == 0) ThrowLastError();
    std::wstring full(size, L'\0');
    const DWORD length = GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
    if (length == 0) ThrowLastError();
    if (length < size) {
      full.resize(length);
      return full;
    }
    size = length;  // the current folder changed in between: ask again with the new size
  }
}

// Length of the part of an extended or device path that is no directory entry: \\?\C:\,
// \\?\UNC\server\share\, \\?\Volume{...}\ or \\.\device\.
size_t RootLength(std::wstring_view path) {
  size_t components = 1;
  size_t position = 0;
  if (path.starts_with(kExtendedUncPrefix)) {
    position = kExtendedUncPrefix.size();
    components = 2;
  } else if (path.starts_with(kExtendedPrefix) || path.starts_with(kDevicePrefix)) {
    position = kExtendedPrefix.size();
  } else {
    return 0;
  }
  while (components > 0) {
    const size_t end = path.find(L'\\', position);
    if (end == std::wstring_view::npos) return path.size();
    position = end + 1;
    --components;
  }
  return position;
}

}  // namespace

std::wstring ExtendedPath(std::wstring_view path) {
  if (path.empty() || path.find(L'\0') != std::wstring_view::npos) {
    ThrowWin32Error(ERROR_INVALID_NAME);
  }
  if (path.starts_with(kExtendedPrefix) || path.starts_with(kDevicePrefix)) {
    return std::wstring(path);
  }
  const std::wstring full = FullPath(std::wstring(path));
  if (full.starts_with(kExtendedPrefix) || full.starts_with(kDevicePrefix)) return full;
  if (full.starts_with(L"\\\\")) return std::wstring(kExtendedUncPrefix) + full.substr(2);
  return std::wstring(kExtendedPrefix) + full;
}

std::wstring ExtendedPath(std::string_view utf8) {
  if (utf8.empty()) ThrowWin32Error(ERROR_INVALID_NAME);
  return ExtendedPath(std::wstring_view(Wide(utf8)));
}

std::wstring NormalPath(std::wstring_view path) {
  if (path.starts_with(kExtendedUncPrefix)) {
    return L"\\\\" + std::wstring(path.substr(kExtendedUncPrefix.size()));
  }
  const std::wstring_view rest = path.substr(std::min(path.size(), kExtendedPrefix.size()));
  if (path.starts_with(kExtendedPrefix) && rest.size() >= 2 && rest[1] == L':') {
    return std::wstring(rest);
  }
  return std::wstring(path);
}

std::wstring FolderPath(std::wstring_view path) {
  const std::wstring normal = NormalPath(path);
  std::wstring folder = normal.substr(0, normal.find_last_of(L'\\'));
  if (folder.size() == 2 && folder[1] == L':') folder += L'\\';  // a drive root keeps its "\"
  return folder;
}

std::wstring ShellPath(std::wstring_view extended) {
  std::wstring normal = NormalPath(extended);
  return normal.size() < MAX_PATH ? normal : std::wstring(extended);
}

namespace {

// Whether a component may be the short 8.3 alias of a longer name: Windows makes those with a
// tilde (PROGRA~1, LONGNA~1.EXE).
bool MayBeShortName(std::wstring_view component) {
  return component.find(L'~') != std::wstring_view::npos;
}

}  // namespace

// Only what needs it is looked up: a short name, for its long one, and the last component, for
// its stored name and letter case. Each look-up lists a folder, which a folder's access list may
// refuse while it still lets the user pass through (the compatibility junctions such as
// C:\Documents and Settings, many shared folders); a component whose folder cannot be listed
// keeps its name as given.
std::wstring StoredPath(std::wstring_view extended, WIN32_FIND_DATAW* last_found) {
  if (last_found) last_found->cFileName[0] = L'\0';
  const size_t root_length = RootLength(extended);
  if (root_length == 0) ThrowWin32Error(ERROR_INVALID_NAME);
  std::wstring stored(extended.substr(0, root_length));
  // A drive letter reads upper case, as Windows shows it.
  if (stored.size() == kExtendedPrefix.size() + 3 && stored[kExtendedPrefix.size() + 1] == L':') {
    wchar_t& letter = stored[kExtendedPrefix.size()];
    if (letter >= L'a' && letter <= L'z') letter = static_cast<wchar_t>(letter - L'a' + L'A');
  }
  size_t position = root_length;
  while (position < extended.size()) {
    size_t end = extended.find(L'\\', position);
    if (end == std::wstring_view::npos) end = extended.size();
    const std::wstring_view component = extended.substr(position, end - position);
    const bool last = extended.find_first_not_of(L'\\', end) == std::wstring_view::npos;
    if (!component.empty()) {
      if (HasWildcard(component)) ThrowWin32Error(ERROR_INVALID_NAME);
      if (last || MayBeShortName(component)) {
        const std::wstring query = stored + std::wstring(component);
        WIN32_FIND_DATAW found;
        UniqueFind search(FindFirstFileExW(query.c_str(), FindExInfoBasic, &found,
                                           FindExSearchNameMatch, nullptr, 0));
        if (search.Valid()) {
          stored += found.cFileName;
          if (last && last_found) *last_found = found;
        } else if (const DWORD error = GetLastError(); error == ERROR_ACCESS_DENIED) {
          stored += component;
        } else {
          ThrowWin32Error(error);
        }
      } else {
        stored += component;
      }
      if (end < extended.size()) stored += L'\\';
    }
    position = end + 1;
  }
  return stored;
}

bool HasWildcard(std::wstring_view path) {
  // '<', '>' and '"' are the DOS wildcards the file system itself understands.
  return path.find_first_of(L"*?<>\"") != std::wstring_view::npos;
}

bool IsNotFoundError(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_NO_MORE_FILES:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_DIRECTORY:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_INVALID_DRIVE:
    case ERROR_NOT_READY:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_BAD_DEVICE:
    case ERROR_DEV_NOT_EXIST:
      return true;
    default:
      return false;
  }
}

}  // namespace zelvo::win32
