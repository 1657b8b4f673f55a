// The backup folder beside the tool: a copy of every manifest Zelvo is about to replace or
// delete that is not its own document, so that no manifest is ever lost. A copy is never
// replaced: the first of a name keeps the name, later ones get ".2", ".3", ...; a manifest whose
// bytes equal the newest copy of its name is not copied again.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "application/boxes.h"
#include "base/error_trap.h"
#include "platform/environment.h"
#include "platform/file_system.h"

namespace zelvo {

// How backing up a manifest went: done; refused by Windows for want of rights (see `refusal`);
// or not done, because the manifest is a link, which could lead to any file.
struct [[nodiscard]] BackupResult {
  enum Outcome { Done, Refused, SourceIsLink };
  Outcome outcome = Done;
  Refusal refusal;
};

class ManifestBackup {
 public:
  // The backup folder lies in `tool_folder` (ending with a backslash).
  ManifestBackup(Boxes& boxes, FileSystem& files, Environment& environment, ErrorTrap& trap,
                 const std::string& tool_folder);

  // Copies the existing manifest `manifest` into the backup folder (the procedure
  // BackupManifest).
  BackupResult BackupManifest(const FileFacts& manifest);

 private:
  // The number of the first copy of `manifest`'s name that is not in the folder yet; none when
  // the newest copy holds what `manifest` holds already.
  std::optional<uint64_t> NextCopy(const FileFacts& manifest);

  Boxes& boxes_;
  FileSystem& files_;
  Environment& environment_;
  ErrorTrap& trap_;
  const std::string folder_;
  // Whether the user was told that an elevated Zelvo keeps its copies in a folder others may
  // change.
  bool told_open_folder_ = false;
};

}  // namespace zelvo
