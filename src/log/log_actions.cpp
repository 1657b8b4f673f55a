#include "log/log_actions.h"

#include <string>
#include <string_view>

namespace zelvo {
namespace {

constexpr char kRestoreTitle[] = "元に戻す - 処理の確認";
constexpr char kRemoveTitle[] = "リストから削除 - 処理の確認";
constexpr char kLaunchTitle[] = "ソフトを起動する - 処理の確認";
constexpr char kLaunchFailedTitle[] = "ソフトを起動する - 起動の失敗";

constexpr char kManifestSuffix[] = ".manifest";

// The count of selected entries as the questions show it.
std::string Selected(size_t count) { return "選択されている " + std::to_string(count); }

// Only a name ending in ".exe", in any letter case, is started; a shortcut or a document would
// be opened by whatever program owns its type.
bool IsExecutable(const std::string& path) {
  constexpr std::string_view kExtension = ".exe";
  if (path.size() < kExtension.size()) return false;
  const std::string_view end = std::string_view(path).substr(path.size() - kExtension.size());
  for (size_t i = 0; i < kExtension.size(); ++i) {
    char c = end[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != kExtension[i]) return false;
  }
  return true;
}

// A log entry's folder as the program writes it: on a drive (C:\...) or a network share
// (\\server\share\...). Anything else (an empty or relative folder, from a log file edited
// by hand or damaged) would be taken against the current folder, which is no folder the user
// chose: such an entry names no file, and nothing is deleted or started for it.
bool IsFullFolder(std::string_view folder) {
  const auto separator = [](char c) { return c == '\\' || c == '/'; };
  if (folder.size() < 3) return false;
  const bool letter =
      (folder[0] >= 'A' && folder[0] <= 'Z') || (folder[0] >= 'a' && folder[0] <= 'z');
  const bool drive = letter && folder[1] == ':' && separator(folder[2]);
  const bool share = separator(folder[0]) && separator(folder[1]) && !separator(folder[2]);
  return drive || share;
}

}  // namespace

LogActions::LogActions(Dialogs& dialogs, FileSystem& files, ProcessLauncher& launcher,
                       LogModel& log, LogView& view, ErrorTrap& trap)
    : dialogs_(dialogs), files_(files), launcher_(launcher), log_(log), view_(view), trap_(trap) {}

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
      if (!Inform(name + "を元に戻します...")) return;

      const std::string manifest = entry->folder + name + kManifestSuffix;
      if (IsFullFolder(entry->folder) && !files_.StoredName(manifest).empty()) {
        files_.RemoveFile(manifest);
        if (!Inform(name + "を元に戻しました。")) return;
        continue;
      }
      const Answer drop = dialogs_.Show(
          Question("選択された " + name + "には、XPスタイルが適用されていません。\r\n" +
                       "手動で元に戻されたか、ファイルが移動された可能性があります。\r\n" + name +
                       " を、リストから削除しますか？",
                   kRestoreTitle, DefaultButton::Second));
      if (drop == Answer::Yes) {
        if (!Inform(name + " は、リストから削除されました。")) return;
      } else {
        Unselect(row);
      }
    }

    if (DeleteLog() == kFailed) {
      trap_.EndProgram();
      return;
    }
    if (!Inform("元に戻す処理が完了しました。")) return;
    if (view_.RefreshButton() == kFailed) trap_.EndProgram();
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
      if (DeleteLog() == kFailed) {
        trap_.EndProgram();
        return;
      }
      if (!Inform("選択されたソフトを、リストから削除しました。")) return;
    } else {
      if (!Inform("リストからの削除処理がキャンセルされました。")) return;
    }
    if (view_.RefreshButton() == kFailed) trap_.EndProgram();
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
      if (!Launch(log_.Name(row), entry->folder)) return;
    }
    Inform("ソフトの起動処理が完了しました。");
  });
}

int LogActions::DeleteLog() {
  return trap_.Procedure("DeleteLog()", [&] {
    if (log_.SelectedCount() == 0) return 0;
    // The model drops every selected entry with its folder and date in one pass; removing row
    // by row would cost the square of the log's size.
    log_.RemoveSelected();
    // The selected rows are gone: the view follows, as it does for every change of the
    // selection.
    view_.lstLogName_Click();
    return 0;
  });
}

bool LogActions::HasSelection(const std::string& hint) {
  if (log_.SelectedCount() > 0 && log_.CurrentRow()) return true;
  Inform(hint);
  return false;
}

bool LogActions::Inform(const std::string& text) {
  if (view_.PutInformation(text) != kFailed) return true;
  trap_.EndProgram();
  return false;
}

void LogActions::Unselect(size_t row) {
  log_.SetSelected(row, false);
  view_.lstLogName_Click();
}

bool LogActions::Launch(const std::string& name, const std::string& folder) {
  const std::string path = folder + name;
  if (!IsExecutable(path)) {
    NotifyFailure("選択されている " + name + " は、実行形式ではないため実行するコトができません。");
    return Inform(name + " は、実行するコトができませんでした。");
  }
  if (!IsFullFolder(folder) || files_.StoredName(path).empty()) {
    if (!Inform(name + " は、実行するコトができませんでした。")) return false;
    NotifyFailure(name + " が、見つかりませんでした。\r\n" +
                  "移動、もしくは削除された可能性があります。");
    return true;
  }
  // Started in its own folder, as the shell starts a program, so that it finds the files
  // beside it.
  if (launcher_.Start(path, folder)) return Inform(name + " を起動しました。");
  const std::string failed = name + " の起動に失敗しました。";
  if (!Inform(failed)) return false;
  NotifyFailure(failed);
  return true;
}

void LogActions::NotifyFailure(const std::string& text) {
  dialogs_.Show(Notice(text, kLaunchFailedTitle, Icon::Warning));
}

}  // namespace zelvo
