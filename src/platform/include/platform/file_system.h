// The file operations the program needs. Paths are UTF-8 Windows paths; the Windows adapter
// makes them absolute and long-path safe before any call. A path is looked at once (Look), and
// what that look found travels with it to the procedures that need it. A change that Windows
// refuses for want of rights comes back as a Refusal; every other failure is thrown as Failure.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "base/failure.h"
#include "platform/byte_source.h"

namespace zelvo {

// What one look at a path finds.
struct FileFacts {
  enum class Kind { Nothing, File, Folder };
  Kind kind = Kind::Nothing;
  bool hidden = false;
  bool system = false;
  bool link = false;  // a symbolic link or junction, which could lead anywhere
  uint64_t size = 0;
  // For an ordinary file (neither folder, hidden nor system): its name as the file system stores
  // it (its own letter case, its long form), and its full path in long form (short components
  // expanded, the stored name last, the other folders as given). Empty for anything else. In a
  // folder that cannot be listed, a file that is there keeps its name as given.
  std::string stored_name;
  std::string full_path;

  // Whether an ordinary file stands there: every existence test of the program asks this.
  bool Exists() const { return !stored_name.empty(); }
  // Whether a plain folder stands there: a link or junction to a folder is none.
  bool IsPlainFolder() const { return kind == Kind::Folder && !link; }
};

// A change Windows refused for want of rights (a folder's access list, a missing privilege, a
// share that allows no writing), which administrator rights could get round; with Windows' own
// number and reason, and the folder it refused to change.
struct Refusal {
  int32_t number = 0;
  std::string reason;
  std::string folder;

  bool operator==(const Refusal&) const = default;
};

// How a change went: made, or refused for want of rights.
struct [[nodiscard]] ChangeResult {
  std::optional<Refusal> refusal;

  bool Made() const { return !refusal.has_value(); }
  // Where nothing can offer a way round a refusal, it is a failure like any other.
  void ThrowIfRefused() const {
    if (refusal) throw Failure(refusal->number, refusal->reason);
  }
};

// How a copy went.
struct [[nodiscard]] CopyResult {
  enum Outcome {
    Copied,
    TargetTaken,   // something stands at the target already: nothing was copied
    SourceIsLink,  // the source is a link or has more than one name: nothing was copied
    Refused,       // see `refusal`
  };
  Outcome outcome = Copied;
  std::optional<Refusal> refusal;

  // The outcome, where nothing can offer a way round a refusal: a failure like any other.
  Outcome ThrowIfRefused() const {
    ChangeResult{refusal}.ThrowIfRefused();
    return outcome;
  }
};

// A program file opened once: its image is read through this opening, and its last-write time
// set through it.
class ProgramFile : public ByteSource {
 public:
  // Sets the file's last-write time to now and changes nothing else of it (bytes, size,
  // creation time, attributes); false when Windows does not let it.
  virtual bool TouchLastWrite() = 0;
};

// A program file opened, or Windows' reason why it could not be opened.
struct [[nodiscard]] OpenedProgram {
  std::unique_ptr<ProgramFile> file;  // null when it could not be opened
  std::string failure;                // Windows' reason, when it could not
};

// Who may change a new folder: as its parent says, or only administrators and the system (the
// user who made it may read it).
enum class NewFolder { Inherited, AdministratorsOnly };

// Who may change what a folder holds.
enum class FolderGuard {
  AdministratorsOnly,  // administrators and the system, as in NewFolder::AdministratorsOnly
  Open,                // others too: the user's programs without administrator rights, or others
  Unguardable,         // nothing could keep them out: the drive keeps no access lists, or the
                       // system lets programs without administrator rights pass them anyway
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // What stands at `path`. A path that cannot name one file (empty, holding '*' or '?', ending
  // in a backslash) finds nothing.
  virtual FileFacts Look(const std::string& path) = 0;

  // Creates one folder; fails when the name is taken or the parent is missing.
  virtual ChangeResult MakeFolder(const std::string& path, NewFolder access) = 0;

  // Removes one file; fails on a read-only or locked file.
  virtual ChangeResult RemoveFile(const std::string& path) = 0;

  // Copies the plain file `from` to the new file `name` in `folder`, reading `from` only through
  // the one opening that finds it is no link, and writing through the one opening of `folder`
  // that finds it is a plain folder: the folder checked is the folder written. Leaves everything
  // as it was when anything already stands at the name (even a hidden or system file), or when
  // `from` is a link. Throws Failure when the folder is a link.
  virtual CopyResult CopyToNew(const std::string& from, const std::string& folder,
                               const std::string& name) = 0;

  // Who may change what `folder` holds.
  virtual FolderGuard GuardOf(const std::string& folder) = 0;

  // `path` as another account sees the same file: a full path, resolved against this
  // program's current folder, and on a drive letter mapped to a network share (or substituted
  // for a folder) as the share's (or folder's) own path, since the drive may not exist for that
  // account. As given when it cannot be resolved.
  virtual std::string PathForAnyAccount(const std::string& path) = 0;

  // Creates the file, or replaces an existing one, with `bytes`. A write that fails leaves the
  // old file as it was and no part of the new one. A read-only, hidden or system file is not
  // replaced.
  virtual ChangeResult WriteFile(const std::string& path, std::string_view bytes) = 0;

  // As WriteFile, and a reader sees either the old content or the new one whole, never a mix,
  // even after a power cut: a temporary file beside it is written and flushed, then moved over
  // the old one in one step.
  virtual ChangeResult ReplaceAtomically(const std::string& path, std::string_view bytes) = 0;

  // The whole content of a file, or nothing when it holds more than `at_most` bytes.
  virtual std::optional<std::string> ReadFile(const std::string& path, uint64_t at_most) = 0;

  // Opens a program file to read its image, while other programs have it open too (even for
  // writing), and where Windows allows it also to set its last-write time.
  virtual OpenedProgram OpenProgram(const std::string& path) = 0;

  // Sets the last-write time of the file at `path` to now and changes nothing else of it; false
  // when Windows does not let it.
  virtual bool TouchLastWrite(const std::string& path) = 0;
};

}  // namespace zelvo
