// The texts in English, for every display language without a catalogue of its own. They say
// what the Japanese says, in the voice of a Windows tool: sentence case, the program's name
// first where the Japanese puts it first, and the same line breaks.
#include "platform/texts.h"

namespace zelvo {
namespace {

constexpr TextEntry kEntries[] = {
    {TextId::WindowCaption, "Zelvo version {0}"},
    {TextId::ProgramTitle, "Zelvo"},
    {TextId::lblDropPoint, "Drop programs here to give them the XP visual style."},
    {TextId::fraLog, "Programs given the XP visual style"},
    {TextId::cmdDelLog, "Remove from list"},
    {TextId::cmdShell, "Start program"},
    {TextId::cmdReturn, "Restore"},
    {TextId::lstLogNameTip, "Lists the programs Zelvo has been applied to."},
    {TextId::txtLogNameTip, "Shows the name of the selected program."},
    {TextId::txtLogPathTip, "Shows the folder of the selected program."},
    {TextId::txtLogDataTip, "Shows the date Zelvo was applied to the selected program."},
    {TextId::cmdDelLogTip, "Removes the selected programs from the list."},
    {TextId::cmdShellTip, "Starts the selected programs."},
    {TextId::cmdReturnTip, "Restores the selected programs to how they were."},
    {TextId::Greeting, "Thank you for downloading Zelvo."},

    {TextId::SecondInstance, "Zelvo is already running."},
    {TextId::LogTooLarge,
     "zelvo.ini is larger than {0} MB and cannot be read.\r\n"
     "Zelvo starts with an empty list, and the file is backed up when Zelvo closes."},
    {TextId::TooManyFiles, "You can drop up to {0} files at a time."},

    {TextId::ApplyTitle, "Apply XP style - Confirm"},
    {TextId::ApplyFailedTitle, "Apply XP style - Failed"},
    {TextId::ShortcutNotice,
     "{0} is a shortcut, so the XP style is applied to the program it points to."},
    {TextId::MissingProgram,
     "The program cannot be found, so the XP style cannot be applied.\r\n"
     "It may have been deleted or moved."},
    {TextId::NotAProgram,
     "{0} is not an executable program.\r\n"
     "Apply the XP style anyway?"},
    {TextId::ReplaceManifest,
     "{0} already has the XP style.\r\n"
     "Apply the XP style again?\r\n"
     "The old manifest file will be backed up to the backup folder."},
    {TextId::EmbeddedThemed,
     "{0} has an embedded manifest that asks for the XP style.\r\n"
     "This program is shown in the XP style without a manifest file.\r\n"
     "Apply the XP style anyway?"},
    {TextId::EmbeddedManifest,
     "{0} has an embedded manifest.\r\n"
     "Since Windows Vista the embedded manifest takes precedence, so the manifest file is "
     "ignored.\r\n"
     "Apply the XP style anyway?"},
    {TextId::UnreadableProgram, "{0} cannot be read, so the XP style cannot be applied.\r\n{1}"},
    {TextId::LinkedManifest, "The manifest file of {0} is a link, so it cannot be backed up."},
    // Applied, as the Japanese says: whether the program shows it is Windows' to decide (an
    // embedded manifest wins over the file).
    {TextId::Applied, "The XP style was applied to {0}."},
    {TextId::Cancelled, "Applying the XP style to {0} was cancelled."},
    {TextId::MissingStatus, "The program was not found, so the XP style was not applied."},
    {TextId::RefusedStatus, "Windows refused the change, so the XP style was not applied to {0}."},
    {TextId::UnreadableStatus, "{0} could not be read, so the XP style was not applied."},
    {TextId::LinkedManifestStatus,
     "The manifest file of {0} is a link, so the XP style was not applied."},
    {TextId::AdministratorQuestion,
     "{0} can only be changed with administrator rights.\r\n"
     "Restart Zelvo as administrator?\r\n"
     "{1} and the programs after it are then applied in the new window."},
    {TextId::Refused, "Windows refused to change {0}.\r\n{1}"},

    {TextId::RestoreTitle, "Restore - Confirm"},
    {TextId::RestoreFailedTitle, "Restore - Failed"},
    {TextId::RemoveTitle, "Remove from list - Confirm"},
    {TextId::StartTitle, "Start program - Confirm"},
    {TextId::StartFailedTitle, "Start program - Failed"},
    {TextId::RestoreHint, "Select the programs to restore in the list."},
    {TextId::RestoreQuestion, "Restore the selected programs ({0})?"},
    {TextId::RestoreCancelled, "Restore was cancelled."},
    {TextId::Restoring, "Restoring {0}..."},
    {TextId::Restored, "{0} was restored."},
    {TextId::RestoreMissing,
     "The selected {0} does not have the XP style.\r\n"
     "It may have been restored by hand, or the file may have been moved.\r\n"
     "Remove {0} from the list?"},
    {TextId::DroppedFromList, "{0} was removed from the list."},
    {TextId::RestoreDone, "Restore is complete."},
    {TextId::RemoveHint, "Select the programs to remove in the list."},
    {TextId::RemoveQuestion,
     "Remove the selected programs ({0}) from the list?\r\n"
     "Programs removed from the list can still be restored by hand."},
    {TextId::Removed, "The selected programs were removed from the list."},
    {TextId::RemoveCancelled, "Removing from the list was cancelled."},
    {TextId::StartHint, "Select the programs to start in the list."},
    {TextId::StartQuestion, "Start the selected programs ({0})?"},
    {TextId::StartManyNote, "Starting several programs at once may make the computer unstable."},
    {TextId::StartCancelled, "Starting programs was cancelled."},
    {TextId::StartDone, "Starting programs is complete."},
    {TextId::NotExecutable,
     "The selected {0} is not an executable program, so it cannot be started."},
    {TextId::NotRun, "{0} could not be started."},
    {TextId::NotFound, "{0} was not found.\r\nIt may have been moved or deleted."},
    {TextId::Started, "{0} was started."},
    {TextId::StartFailed, "{0} failed to start."},

    {TextId::RestoreAdministratorQuestion,
     "{0} can only be changed with administrator rights.\r\n"
     "Restart Zelvo as administrator?\r\n"
     "Then restore {1} again in the new window."},
    {TextId::ElevationFailed, "Zelvo could not be started as administrator.\r\n{0}"},
    {TextId::StartAsAdministrator,
     "{0} would run with administrator rights.\r\n"
     "Start it anyway?"},
    {TextId::BackupFolderOpen,
     "The backup folder {0} can be changed without administrator rights.\r\n"
     "Backups made as administrator are kept in it all the same."},
    {TextId::HandOverLost,
     "The programs and the list handed over by the Zelvo that started this one could not be "
     "read.\r\n{0}"},

    {TextId::mnuRestore, "&Restore"},
    {TextId::mnuRemove, "Re&move from list"},
    {TextId::mnuLaunch, "&Start program"},
    {TextId::mnuOpenFolder, "Open &folder"},
    {TextId::mnuCopyPath, "&Copy path"},
    {TextId::FolderOpened, "The folder of {0} was opened."},
    {TextId::PathsCopied, "The paths of the selected programs ({0}) were copied."},
    {TextId::lstLogNameAccessible, "Programs given the XP visual style"},
    {TextId::txtLogNameAccessible, "Name of the selected program"},
    {TextId::txtLogPathAccessible, "Folder of the selected program"},
    {TextId::txtLogDataAccessible, "Date Zelvo was applied"},

    {TextId::ErrorTitle, "Unexpected error"},
    {TextId::ErrorReport,
     "An unexpected error occurred.\r\n"
     "Please contact the author with the information below.\r\n"
     "\r\n"
     "Source: {0}\r\n"
     "Error number: {1}\r\n"
     "Description: {2}"},
};

}  // namespace

extern const TextTable kEnglishTexts = MakeTextTable(kEntries);

}  // namespace zelvo
