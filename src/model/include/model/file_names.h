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

// Whether `name` is a plain file name, as a program's name in the log: not empty, not "." or
// "..", no folder separator, drive colon, wildcard or control character, no trailing dot or
// space (Windows drops those, and the name would stand for another file).
bool IsPlainFileName(std::string_view name);

// Whether `folder` is a full folder in normal form, as the program writes a log entry's folder:
// on a drive (C:\Tools\) or a network share (\\server\share\Tools\), ending with a
// backslash, every part a plain file name; so that Windows takes it exactly as it stands (as
// GetFullPathNameW gives it back). Anything else (empty, relative, "." or "..", a device or
// "\\?\" path, from a log file edited by hand or damaged) would name some other folder.
bool IsNormalFolder(std::string_view folder);

}  // namespace zelvo
