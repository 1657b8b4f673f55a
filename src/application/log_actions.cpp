#include "application/log_actions.h"

#include <algorithm>
#include <string>

#include "model/file_names.h"
#include "model/manifest_document.h"

namespace zelvo {

LogActions::LogActions(const Platform& platform, LogModel& log, LogView& view,
                       ManifestBackup& backup, Elevation& elevation, ErrorTrap& trap)
    : boxes_(platform.dialogs, platform.texts),
      files_(platform.files),
      launcher_(platform.launcher),
      shell_(platform.shell),
      clipboard_(platform.clipboard),
      log_(log),
      view_(view),
      backup_(backup),
      elevation_(elevation),
      trap_(trap) {}

RestoreEnd LogActions::Restore() {
  if (!HasSelection(TextId::RestoreHint)) return RestoreEnd::Done;

  if (!boxes_.Ask(boxes_.Text(TextId::RestoreQuestion, {std::to_string(log_.SelectedCount())}),
                  TextId::RestoreTitle, DefaultButton::Second)) {
    Inform(TextId::RestoreCancelled);
    return RestoreEnd::Done;
  }

  // Rows only lose their selection here, so the indexes stay valid; the entries leave the log
  // together afterwards.
  elevation_.NewBatch();
  const size_t count = log_.Count();
  for (size_t row = 0; row < count; ++row) {
    if (!log_.IsSelected(row)) continue;
    const std::string name = log_.Name(row);
    const LogEntry* entry = log_.InItemData(log_.Key(row));
    // Every visible row has its entry; should one ever lack it, touch no file rather than take
    // a folder that belongs to another entry.
    if (!entry) continue;
    Inform(TextId::Restoring, name);

    // An entry that names no one file (edited by hand) has no manifest to delete.
    const FileFacts manifest =
        NamesOneFile(*entry) ? files_.Look(ManifestPath(entry->folder + name)) : FileFacts{};
    if (manifest.Exists()) {
      switch (RemoveManifest(name, entry->folder, manifest)) {
        case Removal::Removed:
          Inform(TextId::Restored, name);
          break;
        case Removal::Kept:
          log_.SetSelected(row, false);
          break;
        case Removal::WantsAdministrator:
          if (HandOverFrom(row) == Restart::Started) return RestoreEnd::HandedOver;
          log_.SetSelected(row, false);
          break;
      }
      continue;
    }
    if (boxes_.Ask(boxes_.Text(TextId::RestoreMissing, {name}), TextId::RestoreTitle,
                   DefaultButton::Second)) {
      Inform(TextId::DroppedFromList, name);
    } else {
      log_.SetSelected(row, false);
    }
  }

  DeleteLog();
  Inform(TextId::RestoreDone);
  view_.RefreshActions();
  return RestoreEnd::Done;
}

void LogActions::Remove() {
  if (!HasSelection(TextId::RemoveHint)) return;

  if (boxes_.Ask(boxes_.Text(TextId::RemoveQuestion, {std::to_string(log_.SelectedCount())}),
                 TextId::RemoveTitle, DefaultButton::Second)) {
    DeleteLog();
    Inform(TextId::Removed);
  } else {
    Inform(TextId::RemoveCancelled);
  }
  view_.RefreshActions();
}

void LogActions::Launch() {
  if (!HasSelection(TextId::StartHint)) return;

  const size_t selected = log_.SelectedCount();
  std::string question = boxes_.Text(TextId::StartQuestion, {std::to_string(selected)});
  if (selected > 1) {
    question += "\r\n";
    question += boxes_.Text(TextId::StartManyNote);
  }
  if (!boxes_.Ask(question, TextId::StartTitle, DefaultButton::Second)) {
    Inform(TextId::StartCancelled);
    return;
  }

  const size_t count = log_.Count();
  for (size_t row = 0; row < count; ++row) {
    if (!log_.IsSelected(row)) continue;
    const LogEntry* entry = log_.InItemData(log_.Key(row));
    if (!entry) continue;  // without its own folder there is no program to start
    LaunchOne(*entry);
  }
  Inform(TextId::StartDone);
}

void LogActions::OpenFolders() {
  // The menu offers this only for a selection; without one there is nothing to show.
  if (log_.SelectedCount() == 0 || !log_.CurrentRow()) return;

  struct Folder {
    std::string path;
    std::vector<std::string> names;
  };
  std::vector<Folder> folders;
  for (const LogEntry* entry : SelectedEntries()) {
    if (!ProgramFound(*entry)) {
      NotifyFailure(boxes_.Text(TextId::NotFound, {entry->name}));
      continue;
    }
    // Programs of one folder are shown together in one window, as Explorer selects several.
    auto folder = std::find_if(folders.begin(), folders.end(),
                               [&](const Folder& known) { return known.path == entry->folder; });
    if (folder == folders.end()) {
      if (folders.size() == kMostFoldersOpened) continue;
      folder = folders.insert(folders.end(), Folder{entry->folder, {}});
    }
    folder->names.push_back(entry->name);
  }
  for (const Folder& folder : folders) {
    shell_.ShowInFolder(folder.path, folder.names);
    Inform(TextId::FolderOpened, folder.names.front());
  }
}

void LogActions::CopyPaths() {
  if (log_.SelectedCount() == 0 || !log_.CurrentRow()) return;

  std::string paths;
  size_t count = 0;
  for (const LogEntry* entry : SelectedEntries()) {
    if (count++ > 0) paths += "\r\n";
    // The path as the log holds it, whatever it names: text on the clipboard touches no file.
    paths += entry->folder + entry->name;
  }
  clipboard_.SetText(paths);
  Inform(TextId::PathsCopied, std::to_string(count));
}

void LogActions::DeleteLog() {
  // The model drops every selected entry with its folder and date in one pass; removing row by
  // row would cost the square of the log's size.
  trap_.Routine("DeleteLog()", [&] { log_.RemoveSelected(); });
}

bool LogActions::HasSelection(TextId hint) {
  if (log_.SelectedCount() > 0 && log_.CurrentRow()) return true;
  Inform(hint);
  return false;
}

std::vector<const LogEntry*> LogActions::SelectedEntries() const {
  std::vector<const LogEntry*> entries;
  entries.reserve(log_.SelectedCount());
  for (size_t row = 0; row < log_.Count(); ++row) {
    if (!log_.IsSelected(row)) continue;
    // Every visible row has its entry; one without is left out rather than paired with another
    // entry's folder.
    if (const LogEntry* entry = log_.InItemData(log_.Key(row))) entries.push_back(entry);
  }
  return entries;
}

bool LogActions::ProgramFound(const LogEntry& entry) {
  return NamesOneFile(entry) && files_.Look(entry.folder + entry.name).Exists();
}

LogActions::Removal LogActions::RemoveManifest(const std::string& name, const std::string& folder,
                                               const FileFacts& manifest) {
  // A manifest edited by hand, or put back by the program's own update, has no copy anywhere: it
  // is kept in the backup folder before it goes. A link leads to a file that stays where it is.
  if (!IsOwnDocument(manifest)) {
    const BackupResult backup = backup_.BackupManifest(manifest);
    if (backup.outcome == BackupResult::Refused) return Refused(name, backup.refusal);
  }
  const ChangeResult removed = files_.RemoveFile(manifest.full_path);
  if (!removed.Made()) return Refused(name, *removed.refusal);
  // As after applying: Windows notices the manifest has gone once the program's time changes.
  (void)files_.TouchLastWrite(folder + name);
  return Removal::Removed;
}

bool LogActions::IsOwnDocument(const FileFacts& manifest) {
  const std::string x86 = ManifestDocument(ManifestArchitecture::X86);
  const std::string any = ManifestDocument(ManifestArchitecture::Any);
  if (manifest.size != x86.size() && manifest.size != any.size()) return false;
  const std::optional<std::string> bytes = files_.ReadFile(manifest.full_path, x86.size());
  return bytes && (*bytes == x86 || *bytes == any);
}

LogActions::Removal LogActions::Refused(const std::string& name, const Refusal& refusal) {
  return elevation_.OfferRestart(name, refusal, TextId::RestoreAdministratorQuestion,
                                 TextId::RestoreTitle, TextId::RestoreFailedTitle)
             ? Removal::WantsAdministrator
             : Removal::Kept;
}

Restart LogActions::HandOverFrom(size_t row) {
  // The entries restored or dropped before `row` are about to leave the log: handed over with
  // it, they would come back in the new Zelvo. The ones from `row` on stay, to be restored
  // again there.
  std::vector<int32_t> leaving;
  for (size_t index = 0; index < row; ++index) {
    if (log_.IsSelected(index)) leaving.push_back(log_.Key(index));
  }
  return elevation_.RestartAsAdministrator({}, TextId::RestoreFailedTitle, leaving);
}

void LogActions::Inform(TextId text, const std::string& name) {
  view_.ShowStatus(boxes_.Text(text, {name}));
}

void LogActions::LaunchOne(const LogEntry& entry) {
  const std::string& name = entry.name;
  const std::string path = entry.folder + name;
  // Only a name ending in ".exe", in any letter case, is started; a shortcut or a document
  // would be opened by whatever program owns its type.
  if (!HasExtension(path, ".exe")) {
    NotifyFailure(boxes_.Text(TextId::NotExecutable, {name}));
    Inform(TextId::NotRun, name);
    return;
  }
  if (!ProgramFound(entry)) {
    Inform(TextId::NotRun, name);
    NotifyFailure(boxes_.Text(TextId::NotFound, {name}));
    return;
  }
  // Started in its own folder, as the shell starts a program, so that it finds the files
  // beside it. From an elevated Zelvo it runs with the user's own rights; where those cannot be
  // had, it runs as administrator only when the user agrees.
  StartResult started = launcher_.Start(path, entry.folder);
  if (started == StartResult::WouldRunElevated) {
    if (!boxes_.Ask(boxes_.Text(TextId::StartAsAdministrator, {name}), TextId::StartTitle,
                    DefaultButton::Second)) {
      Inform(TextId::NotRun, name);
      return;
    }
    started = launcher_.Start(path, entry.folder, /*even_as_administrator=*/true);
  }
  if (started == StartResult::Started) {
    Inform(TextId::Started, name);
    return;
  }
  Inform(TextId::StartFailed, name);
  NotifyFailure(boxes_.Text(TextId::StartFailed, {name}));
}

void LogActions::NotifyFailure(const std::string& text) {
  boxes_.Tell(text, TextId::StartFailedTitle, Icon::Warning);
}

}  // namespace zelvo
