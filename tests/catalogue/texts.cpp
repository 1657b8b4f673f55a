#include "texts.h"

namespace zelvo {

void PrintTo(const Message& message, std::ostream* out) {
  static const char* const kIcons[] = {"information", "question", "warning", "stop"};
  *out << "{\"" << message.title << "\" | \"" << message.text << "\", "
       << (message.buttons == Buttons::YesNo ? "Yes/No" : "OK") << ", "
       << kIcons[static_cast<int>(message.icon)] << ", default "
       << (message.default_button == DefaultButton::First ? "first" : "second") << "}";
}

}  // namespace zelvo

namespace zelvo::expected {
namespace {

std::string Text(std::string_view text) { return std::string(text); }

}  // namespace

std::string Caption(std::string_view version_text) {
  return "Zelvoちゃん Version " + Text(version_text);
}

std::string_view StartText(Control control) {
  switch (control) {
    case Control::lblDropPoint:
      return "ココにXPスタイルを適用したいソフトをドロップしてください。";
    case Control::fraLog:
      return "XPスタイルを適用したソフト一覧";
    case Control::cmdReturn:
      return "元に戻す";
    case Control::cmdDelLog:
      return "リストから削除";
    case Control::cmdShell:
      return "ソフトを起動する";
    default:
      return "";
  }
}

std::string_view ToolTip(Control control) {
  switch (control) {
    case Control::lstLogName:
      return "過去にZelvoを適用したソフトが一覧されます。";
    case Control::txtLogName:
      return "選択したソフトの名前が表示されます。";
    case Control::txtLogData:
      return "選択したソフトにZelvoを適用した日付が表示されます。";
    case Control::txtLogPath:
      return "選択したソフトの場所が表示されます。";
    case Control::cmdReturn:
      return "選択したソフトを元に戻します。";
    case Control::cmdDelLog:
      return "選択したソフトをリストから削除します。";
    case Control::cmdShell:
      return "選択したソフトを起動します。";
    default:
      return "";
  }
}

Message ShortcutNotice(const std::string& name) {
  return Notice(
      name + " は、ショートカットファイルのため、リンク先のソフトにXPスタイルを適用します。",
      Text(kApplyTitle), Icon::Information);
}

Message MissingProgramWarning() {
  return Notice(
      "指定されたソフトが見つからないため、XPスタイルを適用するコトができません。\r\n"
      "削除、もしくは移動された可能性があります。",
      Text(kApplyFailedTitle), Icon::Warning);
}

Message NotAProgramQuestion(const std::string& name) {
  return Question(
      name + " は、実行形式のソフトではありません。\r\nそれでもXPスタイルを適用しますか？",
      Text(kApplyTitle), DefaultButton::First);
}

Message ReplaceManifestQuestion(const std::string& name) {
  return Question(name +
                      " には、既にXPスタイルが適用されています。\r\n"
                      "新たにXPスタイルを適用しますか？\r\n"
                      "古いマニフェストファイルは、バックアップフォルダにバックアップされます。",
                  Text(kApplyTitle), DefaultButton::First);
}

Message EmbeddedThemedQuestion(const std::string& name) {
  return Question(name +
                      " には、XPスタイルを指定するマニフェストが埋め込まれています。\r\n"
                      "このソフトは、マニフェストファイルがなくてもXPスタイルで表示されます。\r\n"
                      "それでもXPスタイルを適用しますか？",
                  Text(kApplyTitle), DefaultButton::First);
}

Message EmbeddedManifestQuestion(const std::string& name) {
  return Question(name +
                      " には、マニフェストが埋め込まれています。\r\n"
                      "Windows Vista以降では埋め込まれたマニフェストが優先されるため、"
                      "マニフェストファイルは無視されます。\r\n"
                      "それでもXPスタイルを適用しますか？",
                  Text(kApplyTitle), DefaultButton::First);
}

Message UnreadableProgramWarning(const std::string& name, std::string_view reason) {
  return Notice(name + " を読み込むコトができないため、XPスタイルを適用するコトができません。\r\n" +
                    Text(reason),
                Text(kApplyFailedTitle), Icon::Warning);
}

Message LinkedManifestWarning(const std::string& name) {
  return Notice(
      name + " のマニフェストファイルは、リンクのため、バックアップするコトができません。",
      Text(kApplyFailedTitle), Icon::Warning);
}

Message AdministratorQuestion(const std::string& name, std::string_view title) {
  return Question(name +
                      " のフォルダは、管理者の権限がないと変更するコトができません。\r\n"
                      "管理者としてZelvoを起動し直しますか？",
                  Text(title), DefaultButton::First);
}

Message RefusedWarning(const std::string& name, std::string_view reason, std::string_view title) {
  return Notice(name + " のフォルダの変更は、Windowsによって拒否されました。\r\n" + Text(reason),
                Text(title), Icon::Warning);
}

Message TooManyFilesWarning() {
  return Notice("一度にドロップできるファイルは、100000 個までです。", Text(kApplyFailedTitle),
                Icon::Warning);
}

Message LogTooLargeWarning() {
  return Notice(
      "zelvo.ini は、64 MB を超えているため読み込むコトができません。\r\n"
      "空の一覧で起動し、元のファイルは終了時にバックアップされます。",
      "Zelvoちゃん", Icon::Warning);
}

Message SecondInstanceWarning() {
  return Notice("既にZelvoちゃんは起動されています。", "Zelvoちゃん", Icon::Warning);
}

std::string ErrorReportText(std::string_view source, int32_t number, std::string_view description) {
  return "予期せぬエラーが発生しました。\r\n"
         "以下の情報を元に作成者に連絡して下さい。\r\n"
         "\r\n"
         "エラー元 ： " +
         Text(source) + "\r\nエラー番号 ： " + std::to_string(number) + "\r\nエラー内容 ： " +
         Text(description);
}

Message ErrorReport(std::string_view source, int32_t number, std::string_view description) {
  return Notice(ErrorReportText(source, number, description), Text(kErrorReportTitle), Icon::Stop);
}

Message RestoreQuestion(size_t count) {
  return Question("選択されている " + std::to_string(count) + " 個のソフトを元に戻しますか？",
                  Text(kRestoreTitle), DefaultButton::Second);
}

Message RestoreMissingQuestion(const std::string& name) {
  return Question("選択された " + name +
                      "には、XPスタイルが適用されていません。\r\n"
                      "手動で元に戻されたか、ファイルが移動された可能性があります。\r\n" +
                      name + " を、リストから削除しますか？",
                  Text(kRestoreTitle), DefaultButton::Second);
}

Message RemoveQuestion(size_t count) {
  return Question("選択されている " + std::to_string(count) +
                      " 個のソフトをリストから削除しますか？\r\n"
                      "リストから削除しても、手動で元に戻すコトができます。",
                  Text(kRemoveTitle), DefaultButton::Second);
}

Message LaunchQuestion(size_t count) {
  std::string text = "選択されている " + std::to_string(count) + " 個のソフトを起動しますか？";
  if (count > 1) {
    text += "\r\n１度に複数のソフトを起動すると、パソコンが不安定になる可能性があります。";
  }
  return Question(text, Text(kLaunchTitle), DefaultButton::Second);
}

Message NotExecutableNotice(const std::string& name) {
  return Notice("選択されている " + name + " は、実行形式ではないため実行するコトができません。",
                Text(kLaunchFailedTitle), Icon::Warning);
}

Message NotFoundNotice(const std::string& name) {
  return Notice(name + " が、見つかりませんでした。\r\n移動、もしくは削除された可能性があります。",
                Text(kLaunchFailedTitle), Icon::Warning);
}

Message LaunchFailedNotice(const std::string& name) {
  return Notice(LaunchFailed(name), Text(kLaunchFailedTitle), Icon::Warning);
}

std::string AppliedStatus(const std::string& name) {
  return name + " に、XPスタイルを適用しました！";
}

std::string CancelledStatus(const std::string& name) {
  return name + " への適用がキャンセルされました。";
}

std::string Restoring(const std::string& name) { return name + "を元に戻します..."; }
std::string Restored(const std::string& name) { return name + "を元に戻しました。"; }
std::string DroppedFromList(const std::string& name) {
  return name + " は、リストから削除されました。";
}
std::string Launched(const std::string& name) { return name + " を起動しました。"; }
std::string NotRun(const std::string& name) {
  return name + " は、実行するコトができませんでした。";
}
std::string LaunchFailed(const std::string& name) { return name + " の起動に失敗しました。"; }

namespace english {

std::string Caption(std::string_view version_text) { return "Zelvo version " + Text(version_text); }

std::string_view StartText(Control control) {
  switch (control) {
    case Control::lblDropPoint:
      return "Drop programs here to give them the XP visual style.";
    case Control::fraLog:
      return "Programs given the XP visual style";
    case Control::cmdReturn:
      return "Restore";
    case Control::cmdDelLog:
      return "Remove from list";
    case Control::cmdShell:
      return "Start program";
    default:
      return "";
  }
}

std::string_view ToolTip(Control control) {
  switch (control) {
    case Control::lstLogName:
      return "Lists the programs Zelvo has been applied to.";
    case Control::txtLogName:
      return "Shows the name of the selected program.";
    case Control::txtLogData:
      return "Shows the date Zelvo was applied to the selected program.";
    case Control::txtLogPath:
      return "Shows the folder of the selected program.";
    case Control::cmdReturn:
      return "Restores the selected programs to how they were.";
    case Control::cmdDelLog:
      return "Removes the selected programs from the list.";
    case Control::cmdShell:
      return "Starts the selected programs.";
    default:
      return "";
  }
}

constexpr char kApplyTitle[] = "Apply XP style - Confirm";
constexpr char kApplyFailedTitle[] = "Apply XP style - Failed";

Message ShortcutNotice(const std::string& name) {
  return Notice(name + " is a shortcut, so the XP style is applied to the program it points to.",
                kApplyTitle, Icon::Information);
}

Message MissingProgramWarning() {
  return Notice(
      "The program cannot be found, so the XP style cannot be applied.\r\n"
      "It may have been deleted or moved.",
      kApplyFailedTitle, Icon::Warning);
}

Message NotAProgramQuestion(const std::string& name) {
  return Question(name + " is not an executable program.\r\nApply the XP style anyway?",
                  kApplyTitle, DefaultButton::First);
}

Message ReplaceManifestQuestion(const std::string& name) {
  return Question(name +
                      " already has the XP style.\r\n"
                      "Apply the XP style again?\r\n"
                      "The old manifest file will be backed up to the backup folder.",
                  kApplyTitle, DefaultButton::First);
}

std::string AppliedStatus(const std::string& name) { return name + " now has the XP style!"; }
std::string CancelledStatus(const std::string& name) {
  return name + ": applying the XP style was cancelled.";
}

Message RestoreQuestion(size_t count) {
  return Question("Restore the selected programs (" + std::to_string(count) + ")?",
                  "Restore - Confirm", DefaultButton::Second);
}

Message ErrorReport(std::string_view source, int32_t number, std::string_view description) {
  return Notice(
      "An unexpected error occurred.\r\n"
      "Please contact the author with the information below.\r\n"
      "\r\n"
      "Source: " +
          Text(source) + "\r\nError number: " + std::to_string(number) +
          "\r\nDescription: " + Text(description),
      "Unexpected error", Icon::Stop);
}

}  // namespace english
}  // namespace zelvo::expected
