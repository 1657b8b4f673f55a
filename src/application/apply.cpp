// The apply procedure and the backup of an old manifest.
#include "application/apply.h"

#include <cstdint>
#include <string_view>

#include "model/file_names.h"
#include "model/manifest_document.h"
#include "model/manifest_xml.h"
#include "model/pe_image.h"

namespace zelvo {
namespace {

constexpr std::string_view kBackupFolderName = "backup";

// "yyyy/mm/dd" with "/" whatever the user's date separator: the log file is read back with it.
std::string DateText(const Date& date) {
  auto digits = [](int value, size_t width) {
    std::string text = std::to_string(value);
    if (text.size() < width) text.insert(0, width - text.size(), '0');
    return text;
  };
  return digits(date.year, 4) + "/" + digits(date.month, 2) + "/" + digits(date.day, 2);
}

// Since Windows Vista a manifest inside the program wins over the file beside it, so the file
// would change nothing: whether the user still wants it. Programs without one are not asked.
bool AgreesDespiteEmbeddedManifest(Dialogs& dialogs, const Texts& texts, const std::string& name,
                                   const ProgramImage& image) {
  if (!image.embedded_manifest) return true;
  const TextId question = DependsOnCommonControls6(*image.embedded_manifest)
                              ? TextId::EmbeddedThemed
                              : TextId::EmbeddedManifest;
  return dialogs.Show(Question(texts.Format(question, {name}),
                               std::string(texts.Get(TextId::ApplyTitle)), DefaultButton::First)) ==
         Answer::Yes;
}

}  // namespace

ManifestApplier::ManifestApplier(Dialogs& dialogs, const Texts& texts, FileSystem& files,
                                 Shortcuts& shortcuts, Clock& clock, LogModel& log,
                                 Elevation& elevation, ErrorTrap& trap, std::string tool_folder)
    : dialogs_(dialogs),
      texts_(texts),
      files_(files),
      shortcuts_(shortcuts),
      clock_(clock),
      log_(log),
      elevation_(elevation),
      trap_(trap),
      tool_folder_(std::move(tool_folder)) {}

ApplyOutcome ManifestApplier::ApplyZelvo(const std::string& path) {
  ApplyOutcome outcome{ApplyResult::Failed, path};
  outcome.result = trap_.Procedure("ApplyZelvo()", [&] { return Apply(outcome.path); });
  return outcome;
}

ApplyResult ManifestApplier::Apply(std::string& path) {
  if (CanNameFile(path) && HasExtension(path, ".lnk")) {
    // A shortcut that is not there (a typo, a moved file) is a missing program like any other.
    const std::string shortcut = files_.StoredName(path);
    if (shortcut.empty()) return MissingProgram();
    dialogs_.Show(Notice(texts_.Format(TextId::ShortcutNotice, {shortcut}), ConfirmTitle(),
                         Icon::Information));
    path = shortcuts_.TargetPath(path);
  }

  // The stored name is already the long form; the path may still be short (FOOBAR~1.EXE).
  const std::string name = files_.StoredName(path);
  if (name.empty()) return MissingProgram();
  // Windows looks for the manifest under the program's long name only.
  const std::string target = files_.LongPath(path);

  if (!HasExtension(target, ".exe") &&
      dialogs_.Show(Question(texts_.Format(TextId::NotAProgram, {name}), ConfirmTitle(),
                             DefaultButton::First)) != Answer::Yes) {
    return ApplyResult::NotApplied;
  }

  // Read once for both uses: the advice below and the document's architecture. A program that
  // cannot be read is never taken for a 32-bit one: that manifest keeps a 64-bit program from
  // starting at all.
  ProgramImage image;
  try {
    image = InspectProgramFile(files_, target);
  } catch (const Failure& failure) {
    return Warn(texts_.Format(TextId::UnreadableProgram, {name, failure.Description()}));
  }
  if (!AgreesDespiteEmbeddedManifest(dialogs_, texts_, name, image)) {
    return ApplyResult::NotApplied;
  }

  const std::string manifest = ManifestPath(target);
  if (!files_.StoredName(manifest).empty()) {
    if (dialogs_.Show(Question(texts_.Format(TextId::ReplaceManifest, {name}), ConfirmTitle(),
                               DefaultButton::First)) != Answer::Yes) {
      return ApplyResult::NotApplied;
    }
    switch (BackupManifest(manifest)) {
      case BackupResult::Done:
        break;
      case BackupResult::Refused:
        return Refused(name, *backup_refusal_);
      case BackupResult::SourceIsLink:
        return Warn(texts_.Format(TextId::LinkedManifest, {name}));
      case BackupResult::Failed:
        return ApplyResult::Failed;
    }
  }

  try {
    files_.WriteFile(manifest, ManifestDocument(image.pe32_plus ? ManifestArchitecture::Any
                                                                : ManifestArchitecture::X86));
  } catch (const Failure& failure) {
    if (!failure.Refused()) throw;
    return Refused(name, failure);
  }

  const size_t row = log_.Add({name, FolderOf(target), DateText(clock_.Today())});
  log_.SetCurrentRow(row);
  log_.SetSelected(row, true);
  return ApplyResult::Applied;
}

std::string ManifestApplier::ConfirmTitle() const {
  return std::string(texts_.Get(TextId::ApplyTitle));
}

ApplyResult ManifestApplier::MissingProgram() {
  return Warn(std::string(texts_.Get(TextId::MissingProgram)));
}

ApplyResult ManifestApplier::Warn(const std::string& text) {
  dialogs_.Show(Notice(text, std::string(texts_.Get(TextId::ApplyFailedTitle)), Icon::Warning));
  return ApplyResult::NotApplied;
}

ApplyResult ManifestApplier::Refused(const std::string& name, const Failure& refusal) {
  return elevation_.OfferRestart(name, refusal, TextId::ApplyTitle, TextId::ApplyFailedTitle)
             ? ApplyResult::NeedsAdministrator
             : ApplyResult::NotApplied;
}

BackupResult ManifestApplier::BackupManifest(const std::string& manifest_path) {
  return trap_.Procedure("BackupManifest()", [&] {
    try {
      return CopyToBackup(manifest_path);
    } catch (const Failure& failure) {
      if (!failure.Refused()) throw;
      backup_refusal_ = failure;
      return BackupResult::Refused;
    }
  });
}

BackupResult ManifestApplier::CopyToBackup(const std::string& manifest_path) {
  // Only a plain folder: a link or junction named backup would take the copies anywhere, and
  // is refused as a file of that name is. Made by an elevated program, the folder admits only
  // administrators to change it: a copy of what only they may read stays theirs.
  const std::string folder = tool_folder_ + std::string(kBackupFolderName);
  if (!files_.IsFolder(folder)) {
    files_.MakeFolder(folder,
                      elevation_.Elevated() ? NewFolder::AdministratorsOnly : NewFolder::Inherited);
  }

  std::string name = files_.StoredName(manifest_path);
  // Gone since it was found: the copy below then fails with the system's own reason.
  if (name.empty()) name = LastComponent(manifest_path);

  // Earlier copies are the user's only way back to an old manifest: none is ever replaced.
  // The first copy of a name keeps the name; later ones get ".2", ".3", ... after it.
  const std::string first = folder + "\\" + name;
  for (uint64_t number = 1;; ++number) {
    const std::string copy = number == 1 ? first : first + "." + std::to_string(number);
    switch (files_.CopyToNew(manifest_path, copy)) {
      case CopyResult::Copied:
        return BackupResult::Done;
      case CopyResult::SourceIsLink:
        return BackupResult::SourceIsLink;
      case CopyResult::TargetTaken:
        break;
    }
  }
}

}  // namespace zelvo
