#include "application/backup.h"

#include <cstdint>

namespace zelvo {

ManifestBackup::ManifestBackup(FileSystem& files, Environment& environment, ErrorTrap& trap,
                               const std::string& tool_folder)
    : files_(files), environment_(environment), trap_(trap), folder_(tool_folder + "backup") {}

BackupResult ManifestBackup::BackupManifest(const FileFacts& manifest) {
  return trap_.Routine("BackupManifest()", [&]() -> BackupResult {
    // Only a plain folder: a link or junction named backup would take the copies anywhere, and
    // is refused as a file of that name is. Made by an elevated program, the folder admits only
    // administrators to change it: a copy of what only they may read stays theirs.
    if (!files_.Look(folder_).IsPlainFolder()) {
      const ChangeResult made = files_.MakeFolder(
          folder_, environment_.Elevated() ? NewFolder::AdministratorsOnly : NewFolder::Inherited);
      if (!made.Made()) return {BackupResult::Refused, *made.refusal};
    }

    // Earlier copies are the user's only way back to an old manifest: none is ever replaced.
    const std::string first = folder_ + "\\" + manifest.stored_name;
    for (uint64_t number = 1;; ++number) {
      const std::string copy = number == 1 ? first : first + "." + std::to_string(number);
      const CopyResult copied = files_.CopyToNew(manifest.full_path, copy);
      switch (copied.outcome) {
        case CopyResult::Copied:
          return {};
        case CopyResult::SourceIsLink:
          return {BackupResult::SourceIsLink, {}};
        case CopyResult::Refused:
          return {BackupResult::Refused, *copied.refusal};
        case CopyResult::TargetTaken:
          break;
      }
    }
  });
}

}  // namespace zelvo
