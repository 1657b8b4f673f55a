#include "application/log_actions.h"

#include <string>
#include <string_view>

#include "model/file_names.h"

namespace zelvo {
namespace {

constexpr char kRestoreTitle[] = "元に戻す - 処理の確認";
constexpr char kRestoreFailedTitle[] = "元に戻す - 処理の失敗";
constexpr char kRemoveTitle[] = "リストから削除 - 処理の確認";
constexpr char kLaunchTitle[] = "ソフトを起動する - 処理の確認";
constexpr char kLaunchFailedTitle[] = "ソフトを起動する - 起動の失敗";

constexpr char kManifestSuffix[] = ".manifest";

// The count of selected entries as the questions show it.
std::string Selected(size_t count) { return "選択されている " + std::to_string(count); }

}  // namespace

LogActions::LogActions(Dialogs& dialogs, FileSystem& files, ProcessLauncher& launcher,
                       LogModel& log, LogView& view, Elevation& elevation, ErrorTrap& trap)
    : dialogs_(dialogs),
      files_(files),
      launcher_(launcher),
      log_(log),
      view_(view),
      elevation_(elevation),
      trap_(trap) {}

void LogActions::cmdReturn_Click() {
  trap_.Handler("cmdReturn_Click()", [&] {
    if (!HasSelection("元に戻すソフトをリストから選択して下さい。")) return;

    const Answer answer =
        dialogs_.Show(Question(Selected(log_.SelectedCount()) + " 個のソフトを元に戻しますか？",
                               kRestoreTitle, DefaultButton::Second));
    if (answer != Answer::Yes) {
      Inform("元に戻す処理がキャンセルされました。");
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
      Inform(name + "を元に戻します...");

      const std::string manifest = entry->folder + name + kManifestSuffix;
      // An entry that names no one file (edited by hand) has no manifest to delete.
      if (NamesOneFile(*entry) && !files_.StoredName(manifest).empty()) {
        if (RemoveManifest(name, manifest)) {
          Inform(name + "を元に戻しました。");
        } else {
          log_.SetSelected(row, false);
        }
        continue;
      }
      const Answer drop = dialogs_.Show(
          Question("選択された " + name + "には、XPスタイルが適用されていません。\r\n" +
                       "手動で元に戻されたか、ファイルが移動された可能性があります。\r\n" + name +
                       " を、リストから削除しますか？",
                   kRestoreTitle, DefaultButton::Second));
      if (drop == Answer::Yes) {
        Inform(name + " は、リストから削除されました。");
      } else {
        log_.SetSelected(row, false);
      }
    }

    if (DeleteLog() == Status::Failed) trap_.EndProgram();
    Inform("元に戻す処理が完了しました。");
    if (view_.RefreshButton() == Status::Failed) trap_.EndProgram();
  });
}

void LogActions::cmdDelLog_Click() {
  trap_.Handler("cmdDelLog_Click()", [&] {
    if (!HasSelection("削除するソフトをリストから選択して下さい。")) return;

    const Answer answer = dialogs_.Show(
        Question(Selected(log_.SelectedCount()) + " 個のソフトをリストから削除しますか？\r\n" +
                     "リストから削除しても、手動で元に戻すコトができます。",
                 kRemoveTitle, DefaultButton::Second));
    if (answer == Answer::Yes) {
      if (DeleteLog() == Status::Failed) trap_.EndProgram();
      Inform("選択されたソフトを、リストから削除しました。");
    } else {
      Inform("リストからの削除処理がキャンセルされました。");
    }
    if (view_.RefreshButton() == Status::Failed) trap_.EndProgram();
  });
}

void LogActions::cmdShell_Click() {
  trap_.Handler("cmdShell_Click()", [&] {
    if (!HasSelection("起動するソフトをリストから選択して下さい。")) return;

    const size_t selected = log_.SelectedCount();
    std::string question = Selected(selected) + " 個のソフトを起動しますか？";
    if (selected > 1) {
      question += "\r\n１度に複数のソフトを起動すると、パソコンが不安定になる可能性があります。";
    }
    if (dialogs_.Show(Question(question, kLaunchTitle, DefaultButton::Second)) != Answer::Yes) {
      Inform("ソフトの起動処理がキャンセルされました。");
      return;
    }

    const size_t count = log_.Count();
    for (size_t row = 0; row < count; ++row) {
      if (!log_.IsSelected(row)) continue;
      const LogEntry* entry = log_.InItemData(log_.Key(row));
      if (!entry) continue;  // without its own folder there is no program to start
      Launch(*entry);
    }
    Inform("ソフトの起動処理が完了しました。");
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

bool LogActions::HasSelection(const std::string& hint) {
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
    if (elevation_.OfferRestart(name, failure, kRestoreTitle, kRestoreFailedTitle)) {
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

void LogActions::Inform(const std::string& text) {
  if (view_.PutInformation(text) == Status::Failed) trap_.EndProgram();
}

void LogActions::Launch(const LogEntry& entry) {
  const std::string& name = entry.name;
  const std::string path = entry.folder + name;
  // Only a name ending in ".exe", in any letter case, is started; a shortcut or a document
  // would be opened by whatever program owns its type.
  if (!HasExtension(path, ".exe")) {
    NotifyFailure("選択されている " + name + " は、実行形式ではないため実行するコトができません。");
    Inform(name + " は、実行するコトができませんでした。");
    return;
  }
  if (!NamesOneFile(entry) || files_.StoredName(path).empty()) {
    Inform(name + " は、実行するコトができませんでした。");
    NotifyFailure(name + " が、見つかりませんでした。\r\n" +
                  "移動、もしくは削除された可能性があります。");
    return;
  }
  // Started in its own folder, as the shell starts a program, so that it finds the files
  // beside it.
  if (launcher_.Start(path, entry.folder)) {
    Inform(name + " を起動しました。");
    return;
  }
  const std::string failed = name + " の起動に失敗しました。";
  Inform(failed);
  NotifyFailure(failed);
}

void LogActions::NotifyFailure(const std::string& text) {
  dialogs_.Show(Notice(text, kLaunchFailedTitle, Icon::Warning));
}

}  // namespace zelvo
