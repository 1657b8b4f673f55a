#include "application/log_actions.h"

#include <string>
#include <string_view>

#include "model/file_names.h"

namespace zelvo {
namespace {

constexpr char kManifestSuffix[] = ".manifest";

}  // namespace

LogActions::LogActions(Dialogs& dialogs, const Texts& texts, FileSystem& files,
                       ProcessLauncher& launcher, LogModel& log, LogView& view,
                       Elevation& elevation, ErrorTrap& trap)
    : dialogs_(dialogs),
      texts_(texts),
      files_(files),
      launcher_(launcher),
      log_(log),
      view_(view),
      elevation_(elevation),
      trap_(trap) {}

void LogActions::cmdReturn_Click() {
  trap_.Handler("cmdReturn_Click()", [&] {
    if (!HasSelection(TextId::RestoreHint)) return;

    const Answer answer = dialogs_.Show(
        Question(texts_.Format(TextId::RestoreQuestion, {std::to_string(log_.SelectedCount())}),
                 Title(TextId::RestoreTitle), DefaultButton::Second));
    if (answer != Answer::Yes) {
      Inform(TextId::RestoreCancelled);
      return;
    }

    // Rows only lose their selection here, so the indexes stay valid; the entries leave the log
    // together afterwards.
    const size_t count = log_.Count();
    for (size_t row = 0; row < count; ++row) {
      if (!log_.IsSelected(row)) continue;
      const std::string name = log_.Name(row);
      const LogEntry* entry = log_.InItemData(log_.Key(row));
      // Every visible row has its entry; should one ever lack it, touch no file rather than
      // take a folder that belongs to another entry.
      if (!entry) continue;
      Inform(TextId::Restoring, name);

      const std::string manifest = entry->folder + name + kManifestSuffix;
      // An entry that names no one file (edited by hand) has no manifest to delete.
      if (NamesOneFile(*entry) && !files_.StoredName(manifest).empty()) {
        if (RemoveManifest(name, manifest)) {
          Inform(TextId::Restored, name);
        } else {
          log_.SetSelected(row, false);
        }
        continue;
      }
      const Answer drop =
          dialogs_.Show(Question(texts_.Format(TextId::RestoreMissing, {name}),
                                 Title(TextId::RestoreTitle), DefaultButton::Second));
      if (drop == Answer::Yes) {
        Inform(TextId::DroppedFromList, name);
      } else {
        log_.SetSelected(row, false);
      }
    }

    if (DeleteLog() == Status::Failed) trap_.EndProgram();
    Inform(TextId::RestoreDone);
    if (view_.RefreshButton() == Status::Failed) trap_.EndProgram();
  });
}

void LogActions::cmdDelLog_Click() {
  trap_.Handler("cmdDelLog_Click()", [&] {
    if (!HasSelection(TextId::RemoveHint)) return;

    const Answer answer = dialogs_.Show(
        Question(texts_.Format(TextId::RemoveQuestion, {std::to_string(log_.SelectedCount())}),
                 Title(TextId::RemoveTitle), DefaultButton::Second));
    if (answer == Answer::Yes) {
      if (DeleteLog() == Status::Failed) trap_.EndProgram();
      Inform(TextId::Removed);
    } else {
      Inform(TextId::RemoveCancelled);
    }
    if (view_.RefreshButton() == Status::Failed) trap_.EndProgram();
  });
}

void LogActions::cmdShell_Click() {
  trap_.Handler("cmdShell_Click()", [&] {
    if (!HasSelection(TextId::StartHint)) return;

    const size_t selected = log_.SelectedCount();
    std::string question = texts_.Format(TextId::StartQuestion, {std::to_string(selected)});
    if (selected > 1) {
      question += "\r\n";
      question += texts_.Get(TextId::StartManyNote);
    }
    if (dialogs_.Show(Question(question, Title(TextId::StartTitle), DefaultButton::Second)) !=
        Answer::Yes) {
      Inform(TextId::StartCancelled);
      return;
    }

    const size_t count = log_.Count();
    for (size_t row = 0; row < count; ++row) {
      if (!log_.IsSelected(row)) continue;
      const LogEntry* entry = log_.InItemData(log_.Key(row));
      if (!entry) continue;  // without its own folder there is no program to start
      Launch(*entry);
    }
    Inform(TextId::StartDone);
  });
}

Status LogActions::DeleteLog() {
  return trap_.Procedure("DeleteLog()", [&] {
    // The model drops every selected entry with its folder and date in one pass; removing row
    // by row would cost the square of the log's size.
    log_.RemoveSelected();
    return Status::Done;
  });
}

bool LogActions::HasSelection(TextId hint) {
  if (log_.SelectedCount() > 0 && log_.CurrentRow()) return true;
  Inform(hint);
  return false;
}

bool LogActions::RemoveManifest(const std::string& name, const std::string& manifest) {
  try {
    files_.RemoveFile(manifest);
    return true;
  } catch (const Failure& failure) {
    if (!failure.Refused()) throw;
    if (elevation_.OfferRestart(name, failure, TextId::RestoreTitle, TextId::RestoreFailedTitle)) {
      // The user restores again in the elevated program; here the entry stays as it is.
      switch (elevation_.RestartElevated({})) {
        case Elevation::Restart::Declined:
          break;
        case Elevation::Restart::Failed:
          trap_.EndProgram();
      }
    }
    return false;
  }
}

void LogActions::Inform(TextId text, const std::string& name) {
  if (view_.PutInformation(texts_.Format(text, {name})) == Status::Failed) trap_.EndProgram();
}

std::string LogActions::Title(TextId title) const { return std::string(texts_.Get(title)); }

void LogActions::Launch(const LogEntry& entry) {
  const std::string& name = entry.name;
  const std::string path = entry.folder + name;
  // Only a name ending in ".exe", in any letter case, is started; a shortcut or a document
  // would be opened by whatever program owns its type.
  if (!HasExtension(path, ".exe")) {
    NotifyFailure(texts_.Format(TextId::NotExecutable, {name}));
    Inform(TextId::NotRun, name);
    return;
  }
  if (!NamesOneFile(entry) || files_.StoredName(path).empty()) {
    Inform(TextId::NotRun, name);
    NotifyFailure(texts_.Format(TextId::NotFound, {name}));
    return;
  }
  // Started in its own folder, as the shell starts a program, so that it finds the files
  // beside it.
  if (launcher_.Start(path, entry.folder)) {
    Inform(TextId::Started, name);
    return;
  }
  Inform(TextId::StartFailed, name);
  NotifyFailure(texts_.Format(TextId::StartFailed, {name}));
}

void LogActions::NotifyFailure(const std::string& text) {
  dialogs_.Show(Notice(text, Title(TextId::StartFailedTitle), Icon::Warning));
}

}  // namespace zelvo
