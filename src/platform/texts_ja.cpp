// The program's own texts, in Japanese.
#include "platform/texts.h"

namespace zelvo {
namespace {

constexpr TextEntry kEntries[] = {
    {TextId::WindowCaption, "Zelvoちゃん Version {0}"},
    {TextId::ProgramTitle, "Zelvoちゃん"},
    {TextId::lblDropPoint, "ココにXPスタイルを適用したいソフトをドロップしてください。"},
    {TextId::fraLog, "XPスタイルを適用したソフト一覧"},
    {TextId::cmdDelLog, "リストから削除"},
    {TextId::cmdShell, "ソフトを起動する"},
    {TextId::cmdReturn, "元に戻す"},
    {TextId::lstLogNameTip, "過去にZelvoを適用したソフトが一覧されます。"},
    {TextId::txtLogNameTip, "選択したソフトの名前が表示されます。"},
    {TextId::txtLogPathTip, "選択したソフトの場所が表示されます。"},
    {TextId::txtLogDataTip, "選択したソフトにZelvoを適用した日付が表示されます。"},
    {TextId::cmdDelLogTip, "選択したソフトをリストから削除します。"},
    {TextId::cmdShellTip, "選択したソフトを起動します。"},
    {TextId::cmdReturnTip, "選択したソフトを元に戻します。"},
    {TextId::Greeting, "この度は、Zelvoをダウンロードして頂きありがとうございます。"},

    {TextId::SecondInstance, "既にZelvoちゃんは起動されています。"},
    {TextId::LogTooLarge,
     "zelvo.ini は、{0} MB を超えているため読み込むコトができません。\r\n"
     "空の一覧で起動し、元のファイルは終了時にバックアップされます。"},
    {TextId::TooManyFiles, "一度にドロップできるファイルは、{0} 個までです。"},

    {TextId::ApplyTitle, "XPスタイル適用 - 処理の確認"},
    {TextId::ApplyFailedTitle, "XPスタイル適用 - 適用失敗"},
    {TextId::ShortcutNotice,
     "{0} は、ショートカットファイルのため、リンク先のソフトにXPスタイルを適用します。"},
    {TextId::MissingProgram,
     "指定されたソフトが見つからないため、XPスタイルを適用するコトができません。\r\n"
     "削除、もしくは移動された可能性があります。"},
    {TextId::NotAProgram,
     "{0} は、実行形式のソフトではありません。\r\n"
     "それでもXPスタイルを適用しますか？"},
    {TextId::ReplaceManifest,
     "{0} には、既にXPスタイルが適用されています。\r\n"
     "新たにXPスタイルを適用しますか？\r\n"
     "古いマニフェストファイルは、バックアップフォルダにバックアップされます。"},
    {TextId::EmbeddedThemed,
     "{0} には、XPスタイルを指定するマニフェストが埋め込まれています。\r\n"
     "このソフトは、マニフェストファイルがなくてもXPスタイルで表示されます。\r\n"
     "それでもXPスタイルを適用しますか？"},
    {TextId::EmbeddedManifest,
     "{0} には、マニフェストが埋め込まれています。\r\n"
     "Windows Vista以降では埋め込まれたマニフェストが優先されるため、"
     "マニフェストファイルは無視されます。\r\n"
     "それでもXPスタイルを適用しますか？"},
    {TextId::UnreadableProgram,
     "{0} を読み込むコトができないため、XPスタイルを適用するコトができません。\r\n{1}"},
    {TextId::LinkedManifest,
     "{0} のマニフェストファイルは、リンクのため、バックアップするコトができません。"},
    {TextId::Applied, "{0} に、XPスタイルを適用しました！"},
    {TextId::Cancelled, "{0} への適用がキャンセルされました。"},
    // Nothing was found at the path: the text of a cancel, as it always was.
    {TextId::MissingStatus, "{0} への適用がキャンセルされました。"},
    {TextId::RefusedStatus, "変更が拒否されたため、{0} にXPスタイルを適用できませんでした。"},
    {TextId::UnreadableStatus, "{0} を読み込めなかったため、XPスタイルを適用できませんでした。"},
    {TextId::LinkedManifestStatus,
     "{0} のマニフェストファイルがリンクのため、XPスタイルを適用できませんでした。"},
    {TextId::AdministratorQuestion,
     "{0} は、管理者の権限がないと変更するコトができません。\r\n"
     "管理者としてZelvoを起動し直しますか？\r\n"
     "{1} と、その後のソフトには、新しいウィンドウでXPスタイルが適用されます。"},
    {TextId::Refused, "{0} の変更は、Windowsによって拒否されました。\r\n{1}"},

    {TextId::RestoreTitle, "元に戻す - 処理の確認"},
    {TextId::RestoreFailedTitle, "元に戻す - 処理の失敗"},
    {TextId::RemoveTitle, "リストから削除 - 処理の確認"},
    {TextId::StartTitle, "ソフトを起動する - 処理の確認"},
    {TextId::StartFailedTitle, "ソフトを起動する - 起動の失敗"},
    {TextId::RestoreHint, "元に戻すソフトをリストから選択して下さい。"},
    {TextId::RestoreQuestion, "選択されている {0} 個のソフトを元に戻しますか？"},
    {TextId::RestoreCancelled, "元に戻す処理がキャンセルされました。"},
    {TextId::Restoring, "{0}を元に戻します..."},
    {TextId::Restored, "{0}を元に戻しました。"},
    {TextId::RestoreMissing,
     "選択された {0}には、XPスタイルが適用されていません。\r\n"
     "手動で元に戻されたか、ファイルが移動された可能性があります。\r\n"
     "{0} を、リストから削除しますか？"},
    {TextId::DroppedFromList, "{0} は、リストから削除されました。"},
    {TextId::RestoreDone, "元に戻す処理が完了しました。"},
    {TextId::RemoveHint, "削除するソフトをリストから選択して下さい。"},
    {TextId::RemoveQuestion,
     "選択されている {0} 個のソフトをリストから削除しますか？\r\n"
     "リストから削除しても、手動で元に戻すコトができます。"},
    {TextId::Removed, "選択されたソフトを、リストから削除しました。"},
    {TextId::RemoveCancelled, "リストからの削除処理がキャンセルされました。"},
    {TextId::StartHint, "起動するソフトをリストから選択して下さい。"},
    {TextId::StartQuestion, "選択されている {0} 個のソフトを起動しますか？"},
    {TextId::StartManyNote,
     "１度に複数のソフトを起動すると、パソコンが不安定になる可能性があります。"},
    {TextId::StartCancelled, "ソフトの起動処理がキャンセルされました。"},
    {TextId::StartDone, "ソフトの起動処理が完了しました。"},
    {TextId::NotExecutable,
     "選択されている {0} は、実行形式ではないため実行するコトができません。"},
    {TextId::NotRun, "{0} は、実行するコトができませんでした。"},
    {TextId::NotFound,
     "{0} が、見つかりませんでした。\r\n移動、もしくは削除された可能性があります。"},
    {TextId::Started, "{0} を起動しました。"},
    {TextId::StartFailed, "{0} の起動に失敗しました。"},

    {TextId::RestoreAdministratorQuestion,
     "{0} は、管理者の権限がないと変更するコトができません。\r\n"
     "管理者としてZelvoを起動し直しますか？\r\n"
     "{1} は、新しいウィンドウでもう一度元に戻してください。"},
    {TextId::ElevationFailed, "管理者としてZelvoを起動するコトができませんでした。\r\n{0}"},
    {TextId::StartAsAdministrator,
     "{0} は、管理者の権限で起動されます。\r\n"
     "それでも起動しますか？"},
    {TextId::BackupFolderOpen,
     "バックアップフォルダ {0} は、管理者の権限がなくても変更できます。\r\n"
     "管理者として作ったバックアップも、このフォルダに保存されます。"},
    {TextId::HandOverLost,
     "このZelvoを起動したZelvoから、ソフトと一覧を受け取るコトができませんでした。\r\n{0}"},

    {TextId::mnuRestore, "元に戻す(&R)"},
    {TextId::mnuRemove, "リストから削除(&M)"},
    {TextId::mnuLaunch, "ソフトを起動する(&S)"},
    {TextId::mnuOpenFolder, "フォルダを開く(&F)"},
    {TextId::mnuCopyPath, "パスをコピー(&C)"},
    {TextId::FolderOpened, "{0} のフォルダを開きました。"},
    {TextId::PathsCopied, "選択されている {0} 個のソフトのパスをコピーしました。"},
    {TextId::lstLogNameAccessible, "XPスタイルを適用したソフト一覧"},
    {TextId::txtLogNameAccessible, "選択したソフトの名前"},
    {TextId::txtLogPathAccessible, "選択したソフトの場所"},
    {TextId::txtLogDataAccessible, "Zelvoを適用した日付"},

    {TextId::ErrorTitle, "予期せぬエラーの発生"},
    {TextId::ErrorReport,
     "予期せぬエラーが発生しました。\r\n"
     "以下の情報を元に作成者に連絡して下さい。\r\n"
     "\r\n"
     "エラー元 ： {0}\r\n"
     "エラー番号 ： {1}\r\n"
     "エラー内容 ： {2}"},
};

}  // namespace

extern const TextTable kJapaneseTexts = MakeTextTable(kEntries);

}  // namespace zelvo
