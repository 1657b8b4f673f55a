#include "application/backup.h"

#include <cstdint>
#include <optional>

namespace zelvo {
namespace {

// The name of the `number`th copy of `name`: the first keeps the name.
std::string CopyName(const std::string& name, uint64_t number) {
  return number == 1 ? name : name + "." + std::to_string(number);
}

// Manifests of a few kilobytes are the rule; beyond this a copy is made without comparing.
constexpr uint64_t kLargestCompared = uint64_t{1} << 20;

}  // namespace

ManifestBackup::ManifestBackup(Boxes& boxes, FileSystem& files, Environment& environment,
                               ErrorTrap& trap, const std::string& tool_folder)
    : boxes_(boxes),
      files_(files),
      environment_(environment),
      trap_(trap),
      folder_(tool_folder + "backup") {}

BackupResult ManifestBackup::BackupManifest(const FileFacts& manifest) {
  return trap_.Routine("BackupManifest()", [&]() -> BackupResult {
    // Only a plain folder: a link or junction named backup would take the copies anywhere, and
    // is refused as a file of that name is. Made by an elevated program, the folder admits only
    // administrators to change it: a copy of what only they may read stays theirs.
    const bool elevated = environment_.Elevated();
    if (!files_.Look(folder_).IsPlainFolder()) {
      const ChangeResult made = files_.MakeFolder(
          folder_, elevated ? NewFolder::AdministratorsOnly : NewFolder::Inherited);
      if (!made.Made()) return {BackupResult::Refused, *made.refusal};
    } else if (elevated && !told_open_folder_ && files_.GuardOf(folder_) == FolderGuard::Open) {
      // Made by a Zelvo without administrator rights: programs of the user may change it. Where
      // nothing could keep them out, there is nothing to be done about it, nor said.
      told_open_folder_ = true;
      boxes_.Tell(boxes_.Text(TextId::BackupFolderOpen, {folder_}), TextId::ProgramTitle,
                  Icon::Warning);
    }

    // Applied again after a refusal, a program would have its manifest copied twice.
    const std::optional<uint64_t> next = NextCopy(manifest);
    if (!next) return {};
    // Earlier copies are the user's only way back to an old manifest: none is ever replaced.
    for (uint64_t number = *next;; ++number) {
      const CopyResult copied =
          files_.CopyToNew(manifest.full_path, folder_, CopyName(manifest.stored_name, number));
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

std::optional<uint64_t> ManifestBackup::NextCopy(const FileFacts& manifest) {
  std::optional<FileFacts> newest;
  uint64_t number = 1;
  for (;; ++number) {
    FileFacts copy = files_.Look(folder_ + "\\" + CopyName(manifest.stored_name, number));
    if (copy.kind == FileFacts::Kind::Nothing) break;
    newest = std::move(copy);
  }
  if (!newest || !newest->Exists() || newest->link || manifest.link ||
      newest->size != manifest.size || manifest.size > kLargestCompared) {
    return number;
  }
  const bool same = files_.ReadFile(newest->full_path, kLargestCompared) ==
                    files_.ReadFile(manifest.full_path, kLargestCompared);
  return same ? std::nullopt : std::optional<uint64_t>(number);
}

}  // namespace zelvo
