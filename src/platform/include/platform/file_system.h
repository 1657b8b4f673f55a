// The file operations the program needs. Paths are UTF-8 Windows paths; the Windows adapter
// makes them absolute and long-path safe before any call. Every operation throws Failure
// unless it says otherwise; a change (MakeFolder, RemoveFile, CopyToNew, WriteFile,
// ReplaceAtomically) that the system refuses for want of rights throws one that is Refused().
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zelvo {

// Who may change a new folder: as its parent says, or only administrators and the system (the
// user who made it may read it).
enum class NewFolder { Inherited, AdministratorsOnly };

// How a copy went: made; not made, because something stands at the target already; or not
// made, because the source is a link (a symbolic link or junction, or a file of more than one
// name), which could lead anywhere.
enum class CopyResult { Copied, TargetTaken, SourceIsLink };

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // The name of the ordinary file at `path` as the file system stores it (its own letter case,
  // its long form), or "" when none stands there: folders, hidden and system files do not
  // count, and a path that cannot name one file (empty, or holding '*' or '?') finds nothing.
  // In a folder that cannot be listed, a file that is there keeps its name as given.
  virtual std::string StoredName(const std::string& path) = 0;

  // The full path of an existing file in its long form: short components expanded, its name as
  // stored (C:\PROGRA~1\FOO.EXE gives C:\Program Files\Foo.exe); other folders as given, and
  // so is a part in a folder that cannot be listed.
  virtual std::string LongPath(const std::string& path) = 0;

  // Whether a plain folder stands at `path`: a link or junction to a folder is none.
  virtual bool IsFolder(const std::string& path) = 0;

  // Creates one folder; fails when the name is taken or the parent is missing.
  virtual void MakeFolder(const std::string& path, NewFolder access) = 0;

  // Removes one file; fails on a read-only or locked file.
  virtual void RemoveFile(const std::string& path) = 0;

  // Copies the plain file `from` to the new file `to`, reading `from` only through the one
  // opening that finds it is no link. Leaves everything as it was when anything already stands
  // at `to` (even a hidden or system file), or when `from` is a link.
  virtual CopyResult CopyToNew(const std::string& from, const std::string& to) = 0;

  // Creates the file, or replaces an existing one, with `bytes`. A write that fails leaves the
  // old file as it was and no part of the new one. A read-only, hidden or system file is not
  // replaced.
  virtual void WriteFile(const std::string& path, std::string_view bytes) = 0;

  // As WriteFile, and a reader sees either the old content or the new one whole, never a mix,
  // even after a power cut: a temporary file beside it is written and flushed, then moved over
  // the old one in one step.
  virtual void ReplaceAtomically(const std::string& path, std::string_view bytes) = 0;

  // The whole content of a file, or nothing when it holds more than `at_most` bytes.
  virtual std::optional<std::string> ReadFile(const std::string& path, uint64_t at_most) = 0;

  // Up to `length` bytes from `offset` (fewer at the end of the file), read while another
  // program has the file open too, even for writing.
  virtual std::string ReadRange(const std::string& path, uint64_t offset, uint32_t length) = 0;
};

}  // namespace zelvo
