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

std::string ManifestDocument(std::string_view architecture) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
         "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">\r\n"
         "\r\n"
         "<description></description>\r\n"
         "<dependency>\r\n"
         "\t<dependentAssembly>\r\n"
         "\t\t<assemblyIdentity\r\n"
         "\t\t\ttype=\"win32\"\r\n"
         "\t\t\tname=\"Microsoft.Windows.Common-Controls\"\r\n"
         "\t\t\tversion=\"6.0.0.0\"\r\n"
         "\t\t\tprocessorArchitecture=\"" +
         Text(architecture) +
         "\"\r\n"
         "\t\t\tpublicKeyToken=\"6595b64144ccf1df\"\r\n"
         "\t\t\tlanguage=\"*\"\r\n"
         "\t\t/>\r\n"
         "\t</dependentAssembly>\r\n"
         "</dependency>\r\n"
         "</assembly>\r\n"
         "\r\n";
}

std::string Caption(std::string_view version_text) {
  return "Zelvoちゃん Version " + Text(version_text);
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

Message AdministratorQuestion(const std::string& folder, const std::string& name) {
  return Question(folder +
                      " は、管理者の権限がないと変更するコトができません。\r\n"
                      "管理者としてZelvoを起動し直しますか？\r\n" +
                      name +
                      " と、その後のソフトには、新しいウィンドウでXPスタイルが適用されます。",
                  Text(kApplyTitle), DefaultButton::First);
}

Message RestoreAdministratorQuestion(const std::string& folder, const std::string& name) {
  return Question(folder +
                      " は、管理者の権限がないと変更するコトができません。\r\n"
                      "管理者としてZelvoを起動し直しますか？\r\n" +
                      name + " は、新しいウィンドウでもう一度元に戻してください。",
                  Text(kRestoreTitle), DefaultButton::First);
}

Message RefusedWarning(const std::string& folder, std::string_view reason, std::string_view title) {
  return Notice(folder + " の変更は、Windowsによって拒否されました。\r\n" + Text(reason),
                Text(title), Icon::Warning);
}

Message ElevationFailedWarning(std::string_view reason, std::string_view title) {
  return Notice("管理者としてZelvoを起動するコトができませんでした。\r\n" + Text(reason),
                Text(title), Icon::Warning);
}

Message StartAsAdministratorQuestion(const std::string& name) {
  return Question(name + " は、管理者の権限で起動されます。\r\nそれでも起動しますか？",
                  Text(kLaunchTitle), DefaultButton::Second);
}

Message HandOverLostWarning(std::string_view reason) {
  return Notice("このZelvoを起動したZelvoから、ソフトと一覧を受け取るコトができませんでした。\r\n" +
                    Text(reason),
                "Zelvoちゃん", Icon::Warning);
}

Message BackupFolderOpenWarning(const std::string& folder) {
  return Notice("バックアップフォルダ " + folder +
                    " は、管理者の権限がなくても変更できます。\r\n"
                    "管理者として作ったバックアップも、このフォルダに保存されます。",
                "Zelvoちゃん", Icon::Warning);
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
std::string MissingStatus(const std::string& name) { return CancelledStatus(name); }
std::string RefusedStatus(const std::string& name) {
  return "変更が拒否されたため、" + name + " にXPスタイルを適用できませんでした。";
}
std::string UnreadableStatus(const std::string& name) {
  return name + " を読み込めなかったため、XPスタイルを適用できませんでした。";
}
std::string LinkedManifestStatus(const std::string& name) {
  return name + " のマニフェストファイルがリンクのため、XPスタイルを適用できませんでした。";
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

std::string FolderOpened(const std::string& name) { return name + " のフォルダを開きました。"; }
std::string PathsCopied(size_t count) {
  return "選択されている " + std::to_string(count) + " 個のソフトのパスをコピーしました。";
}

namespace english {

std::string Caption(std::string_view version_text) { return "Zelvo version " + Text(version_text); }

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

std::string AppliedStatus(const std::string& name) {
  return "The XP style was applied to " + name + ".";
}
std::string CancelledStatus(const std::string& name) {
  return "Applying the XP style to " + name + " was cancelled.";
}
std::string MissingStatus() {
  return "The program was not found, so the XP style was not applied.";
}
std::string RefusedStatus(const std::string& name) {
  return "Windows refused the change, so the XP style was not applied to " + name + ".";
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
