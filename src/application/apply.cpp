// The apply procedure and the backup of an old manifest.
#include "application/apply.h"

#include <cstdint>

#include "model/file_names.h"
#include "model/manifest_document.h"
#include "model/manifest_xml.h"
#include "model/pe_image.h"

namespace zelvo {
namespace {

// "yyyy/mm/dd" with "/" whatever the user's date separator: the log file is read back with it.
std::string DateText(const Date& date) {
  auto digits = [](int value, size_t width) {
    std::string text = std::to_string(value);
    if (text.size() < width) text.insert(0, width - text.size(), '0');
    return text;
  };
  return digits(date.year, 4) + "/" + digits(date.month, 2) + "/" + digits(date.day, 2);
}

}  // namespace

ManifestApplier::ManifestApplier(const Platform& platform, LogModel& log, Elevation& elevation,
                                 ErrorTrap& trap, const std::string& tool_folder)
    : boxes_(platform.dialogs, platform.texts),
      files_(platform.files),
      shortcuts_(platform.shortcuts),
      clock_(platform.clock),
      log_(log),
      elevation_(elevation),
      trap_(trap),
      backup_folder_(tool_folder + "backup") {}

ApplyOutcome ManifestApplier::ApplyZelvo(const std::string& path) {
  return trap_.Routine("ApplyZelvo()", [&] {
    ApplyOutcome outcome;
    outcome.result = Apply(path, outcome);
    return outcome;
  });
}

ApplyOutcome::Result ManifestApplier::Apply(const std::string& given, ApplyOutcome& outcome) {
  FileFacts program = files_.Look(given);
  outcome.given_name = program.stored_name;
  if (HasExtension(given, ".lnk")) {
    // A shortcut that is not there (a typo, a moved file) is a missing program like any other.
    if (!program.Exists()) {
      return Warn(boxes_.Text(TextId::MissingProgram), ApplyOutcome::Missing);
    }
    boxes_.Tell(boxes_.Text(TextId::ShortcutNotice, {program.stored_name}), TextId::ApplyTitle,
                Icon::Information);
    program = files_.Look(shortcuts_.TargetPath(given));
  }
  outcome.name = program.stored_name;
  if (!program.Exists()) return Warn(boxes_.Text(TextId::MissingProgram), ApplyOutcome::Missing);

  const std::string& name = program.stored_name;
  // Windows looks for the manifest under the program's long name only.
  const std::string& target = program.full_path;
  if (!HasExtension(target, ".exe") && !Ask(boxes_.Text(TextId::NotAProgram, {name}))) {
    return ApplyOutcome::Declined;
  }

  // Read once for both uses: the advice below and the document's architecture. A program that
  // cannot be read is never taken for a 32-bit one: that manifest keeps a 64-bit program from
  // starting at all.
  const OpenedFile image_file = files_.OpenToRead(target);
  if (!image_file.bytes) {
    return Warn(boxes_.Text(TextId::UnreadableProgram, {name, image_file.failure}),
                ApplyOutcome::Unreadable);
  }
  const ProgramImage image = InspectProgram(*image_file.bytes);
  // Since Windows Vista a manifest inside the program wins over the file beside it, so the file
  // would change nothing: whether the user still wants it. Programs without one are not asked.
  if (image.embedded_manifest) {
    const TextId question = DependsOnCommonControls6(*image.embedded_manifest)
                                ? TextId::EmbeddedThemed
                                : TextId::EmbeddedManifest;
    if (!Ask(boxes_.Text(question, {name}))) return ApplyOutcome::Declined;
  }

  const std::string manifest_path = ManifestPath(target);
  const FileFacts manifest = files_.Look(manifest_path);
  if (manifest.Exists()) {
    if (!Ask(boxes_.Text(TextId::ReplaceManifest, {name}))) return ApplyOutcome::Declined;
    const BackupResult backup = BackupManifest(manifest);
    switch (backup.outcome) {
      case BackupResult::Done:
        break;
      case BackupResult::Refused:
        return Refused(name, backup.refusal);
      case BackupResult::SourceIsLink:
        return Warn(boxes_.Text(TextId::LinkedManifest, {name}), ApplyOutcome::LinkedManifest);
    }
  }

  const ChangeResult written = files_.WriteFile(
      manifest_path,
      ManifestDocument(image.pe32_plus ? ManifestArchitecture::Any : ManifestArchitecture::X86));
  if (!written.Made()) return Refused(name, *written.refusal);

  const size_t row = log_.Add({name, FolderOf(target), DateText(clock_.Today())});
  log_.SetCurrentRow(row);
  log_.SetSelected(row, true);
  return ApplyOutcome::Applied;
}

bool ManifestApplier::Ask(const std::string& text) {
  return boxes_.Ask(text, TextId::ApplyTitle, DefaultButton::First);
}

ApplyOutcome::Result ManifestApplier::Warn(const std::string& text, ApplyOutcome::Result result) {
  boxes_.Tell(text, TextId::ApplyFailedTitle, Icon::Warning);
  return result;
}

ApplyOutcome::Result ManifestApplier::Refused(const std::string& name, const Refusal& refusal) {
  return elevation_.OfferRestart(name, refusal, TextId::ApplyTitle, TextId::ApplyFailedTitle)
             ? ApplyOutcome::NeedsAdministrator
             : ApplyOutcome::Refused;
}

BackupResult ManifestApplier::BackupManifest(const FileFacts& manifest) {
  return trap_.Routine("BackupManifest()", [&]() -> BackupResult {
    // Only a plain folder: a link or junction named backup would take the copies anywhere, and
    // is refused as a file of that name is. Made by an elevated program, the folder admits only
    // administrators to change it: a copy of what only they may read stays theirs.
    if (!files_.Look(backup_folder_).IsPlainFolder()) {
      const ChangeResult made =
          files_.MakeFolder(backup_folder_, elevation_.Elevated() ? NewFolder::AdministratorsOnly
                                                                  : NewFolder::Inherited);
      if (!made.Made()) return {BackupResult::Refused, *made.refusal};
    }

    // Earlier copies are the user's only way back to an old manifest: none is ever replaced.
    // The first copy of a name keeps the name; later ones get ".2", ".3", ... after it.
    const std::string first = backup_folder_ + "\\" + manifest.stored_name;
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
