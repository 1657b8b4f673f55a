// Windows paths as text: their parts, and what they can name. No file is looked at.
#pragma once

#include <string>
#include <string_view>

namespace zelvo {

// Whether `path` ends with `extension` (".exe"), in any letter case of ASCII.
bool HasExtension(std::string_view path, std::string_view extension);

// Whether `path` can name one file: an empty path, or one holding a wildcard, names none, and
// must never reach an operation that would read it as a pattern.
bool CanNameFile(std::string_view path);

// The folder part of a full path, up to and including its last backslash ("" for none).
std::string FolderOf(std::string_view path);

// The part of a path after its last backslash.
std::string LastComponent(std::string_view path);

// Whether `folder` is full, as the program writes a log entry's folder: on a drive (C:\...) or a
// network share (\\server\share\...). Anything else (an empty or relative folder, from a log
// file edited by hand or damaged) would be taken against the current folder, which is no folder
// the user chose.
bool IsFullFolder(std::string_view folder);

}  // namespace zelvo
