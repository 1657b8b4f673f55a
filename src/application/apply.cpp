// The apply procedure and the backup of an old manifest.
#include "application/apply.h"

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

ManifestApplier::ManifestApplier(const Platform& platform, LogModel& log, ManifestBackup& backup,
                                 Elevation& elevation, ErrorTrap& trap)
    : boxes_(platform.dialogs, platform.texts),
      files_(platform.files),
      shortcuts_(platform.shortcuts),
      clock_(platform.clock),
      log_(log),
      backup_(backup),
      elevation_(elevation),
      trap_(trap) {}

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
  const OpenedProgram image_file = files_.OpenProgram(target);
  if (!image_file.file) {
    return Warn(boxes_.Text(TextId::UnreadableProgram, {name, image_file.failure}),
                ApplyOutcome::Unreadable);
  }
  // Opened, it may still refuse a read: a range another program has locked (an installer still
  // writing it), a network drive gone away.
  ProgramImage image;
  try {
    image = InspectProgram(*image_file.file);
  } catch (const Failure& failure) {
    return Warn(boxes_.Text(TextId::UnreadableProgram, {name, failure.Description()}),
                ApplyOutcome::Unreadable);
  }
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
    const BackupResult backup = backup_.BackupManifest(manifest);
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
  // Windows remembers whether a program has a manifest by its path and last-write time: a
  // program that ran before would keep its old look until the time changes or Windows restarts.
  // A time that cannot be set leaves the manifest for the next restart of Windows.
  (void)image_file.file->TouchLastWrite();

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
  return elevation_.OfferRestart(name, refusal, TextId::AdministratorQuestion, TextId::ApplyTitle,
                                 TextId::ApplyFailedTitle)
             ? ApplyOutcome::NeedsAdministrator
             : ApplyOutcome::Refused;
}

}  // namespace zelvo
