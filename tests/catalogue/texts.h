// The program's texts as the user must see them, written down once for every test layer (the
// unit tests and the end-to-end tests compare against these): each box with its text, title,
// buttons, icon and default button, each status line, the window's captions and tool tips.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>

#include "platform/dialogs.h"

namespace zelvo {

// A box as a test's failure message shows it.
void PrintTo(const Message& message, std::ostream* out);

}  // namespace zelvo

namespace zelvo::expected {

// The manifest written beside a program, byte for byte, naming `architecture` ("X86", "*").
std::string ManifestDocument(std::string_view architecture);

// The window.
std::string Caption(std::string_view version_text);

// The boxes of applying.
inline constexpr std::string_view kApplyTitle = "XPスタイル適用 - 処理の確認";
inline constexpr std::string_view kApplyFailedTitle = "XPスタイル適用 - 適用失敗";
Message ShortcutNotice(const std::string& name);
Message MissingProgramWarning();
Message NotAProgramQuestion(const std::string& name);
Message ReplaceManifestQuestion(const std::string& name);
// A program that embeds a manifest asking for Common-Controls 6 (themed already), and one that
// embeds a manifest without it (the file beside the program would be ignored).
Message EmbeddedThemedQuestion(const std::string& name);
Message EmbeddedManifestQuestion(const std::string& name);
// A program that cannot be read (`reason` is Windows' text); an old manifest that is a link.
Message UnreadableProgramWarning(const std::string& name, std::string_view reason);
Message LinkedManifestWarning(const std::string& name);

// Windows refused to change `folder`: the question to start Zelvo again as administrator (not
// elevated), for the rest of a batch from the program `name` on or to restore `name` again, and
// the warning (elevated already) with the title of the procedure's failure; the warning that
// Zelvo could not be started so; the question before a program runs as administrator; the
// warning that an elevated Zelvo keeps its copies in a backup folder others may change.
Message AdministratorQuestion(const std::string& folder, const std::string& name);
Message RestoreAdministratorQuestion(const std::string& folder, const std::string& name);
Message RefusedWarning(const std::string& folder, std::string_view reason, std::string_view title);
Message ElevationFailedWarning(std::string_view reason, std::string_view title);
Message StartAsAdministratorQuestion(const std::string& name);
Message BackupFolderOpenWarning(const std::string& folder);
Message HandOverLostWarning(std::string_view reason);
inline constexpr std::string_view kRestoreFailedTitle = "元に戻す - 処理の失敗";

// A drop of more files than one drop may carry.
Message TooManyFilesWarning();
// A log file too large to read.
Message LogTooLargeWarning();

// Start-up and failures.
Message SecondInstanceWarning();
inline constexpr std::string_view kErrorReportTitle = "予期せぬエラーの発生";
std::string ErrorReportText(std::string_view source, int32_t number, std::string_view description);
Message ErrorReport(std::string_view source, int32_t number, std::string_view description);

// The boxes of the three actions.
inline constexpr std::string_view kRestoreTitle = "元に戻す - 処理の確認";
inline constexpr std::string_view kRemoveTitle = "リストから削除 - 処理の確認";
inline constexpr std::string_view kLaunchTitle = "ソフトを起動する - 処理の確認";
inline constexpr std::string_view kLaunchFailedTitle = "ソフトを起動する - 起動の失敗";
Message RestoreQuestion(size_t count);
Message RestoreMissingQuestion(const std::string& name);
Message RemoveQuestion(size_t count);
Message LaunchQuestion(size_t count);
Message NotExecutableNotice(const std::string& name);
Message NotFoundNotice(const std::string& name);
Message LaunchFailedNotice(const std::string& name);

// The status line.
inline constexpr std::string_view kGreeting =
    "この度は、Zelvoをダウンロードして頂きありがとうございます。";
std::string AppliedStatus(const std::string& name);
std::string CancelledStatus(const std::string& name);
// Not applied, and not for a No: nothing was found at the path; Windows refused the change; the
// program could not be read; its old manifest is a link.
std::string MissingStatus(const std::string& name);
std::string RefusedStatus(const std::string& name);
std::string UnreadableStatus(const std::string& name);
std::string LinkedManifestStatus(const std::string& name);
inline constexpr std::string_view kRestoreHint = "元に戻すソフトをリストから選択して下さい。";
inline constexpr std::string_view kRestoreCancelled = "元に戻す処理がキャンセルされました。";
inline constexpr std::string_view kRestoreDone = "元に戻す処理が完了しました。";
std::string Restoring(const std::string& name);
std::string Restored(const std::string& name);
std::string DroppedFromList(const std::string& name);
inline constexpr std::string_view kRemoveHint = "削除するソフトをリストから選択して下さい。";
inline constexpr std::string_view kRemoved = "選択されたソフトを、リストから削除しました。";
inline constexpr std::string_view kRemoveCancelled = "リストからの削除処理がキャンセルされました。";
inline constexpr std::string_view kLaunchHint = "起動するソフトをリストから選択して下さい。";
inline constexpr std::string_view kLaunchCancelled = "ソフトの起動処理がキャンセルされました。";
inline constexpr std::string_view kLaunchDone = "ソフトの起動処理が完了しました。";
std::string Launched(const std::string& name);
std::string NotRun(const std::string& name);
std::string LaunchFailed(const std::string& name);

// The list's context menu, its items in order with their access keys (a separator stands
// between the third and the fourth), and what its new items say in the status line.
inline constexpr std::string_view kListMenuItems[] = {"元に戻す(&R)", "リストから削除(&M)",
                                                      "ソフトを起動する(&S)", "フォルダを開く(&F)",
                                                      "パスをコピー(&C)"};
std::string FolderOpened(const std::string& name);
std::string PathsCopied(size_t count);

// The same program on a Windows whose display language is not Japanese: what the English
// end-to-end tests check.
namespace english {

std::string Caption(std::string_view version_text);
inline constexpr std::string_view kGreeting = "Thank you for downloading Zelvo.";
Message ShortcutNotice(const std::string& name);
Message MissingProgramWarning();
Message NotAProgramQuestion(const std::string& name);
Message ReplaceManifestQuestion(const std::string& name);
std::string AppliedStatus(const std::string& name);
std::string CancelledStatus(const std::string& name);
std::string MissingStatus();
std::string RefusedStatus(const std::string& name);
Message RestoreQuestion(size_t count);
inline constexpr std::string_view kRestoreDone = "Restore is complete.";
Message ErrorReport(std::string_view source, int32_t number, std::string_view description);

inline constexpr std::string_view kListMenuItems[] = {
    "&Restore", "Re&move from list", "&Start program", "Open &folder", "&Copy path"};

}  // namespace english
}  // namespace zelvo::expected
