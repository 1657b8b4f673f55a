// Paths as the Win32 file calls receive them: absolute, and with the \\?\ prefix so that paths
// over 260 characters work and no call ever resolves a relative path on its own.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace zelvo::win32 {

// `path` made absolute against the current folder (the usual Windows rules: "." and ".."
// resolved, "/" turned into "\", trailing dots and spaces dropped) and given the \\?\ or
// \\?\UNC\ prefix. Paths that already carry \\?\ or \\.\ pass unchanged. Throws Failure for an
// empty path or one holding a NUL character (ERROR_INVALID_NAME).
std::wstring ExtendedPath(std::wstring_view path);
std::wstring ExtendedPath(std::string_view utf8);

// An extended path in the form people read: C:\... or \\server\share\...
std::wstring NormalPath(std::wstring_view path);

// The folder that holds `path` (an extended or a normal path), in the normal form, without a
// trailing backslash except at a drive root (C:\).
std::wstring FolderPath(std::wstring_view path);

// The form for calls that may not know the \\?\ prefix (the shell, the process loader): the
// normal form while it is short enough for them, the extended form beyond.
std::wstring ShellPath(std::wstring_view extended);

// The extended path of an existing file or folder in its stored form: short 8.3 components
// expanded, and the last component in the letter case the file system stores; the other
// components as given. A component whose folder refuses to be listed stays as given. Throws
// Failure when a component cannot be found. `last`, when given, receives what the search found
// of the last component (an empty cFileName when its folder could not be listed).
std::wstring StoredPath(std::wstring_view extended, WIN32_FIND_DATAW* last = nullptr);

// Whether `path` holds a character that a directory search takes as a wildcard. Such a path
// names no file: searching for it would find some other file instead.
bool HasWildcard(std::wstring_view path);

// The errors that say "nothing stands there" rather than "could not look".
bool IsNotFoundError(DWORD error);

}  // namespace zelvo::win32
