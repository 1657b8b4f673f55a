// What the end-to-end tests share: the program's own texts for each box (as the user must see
// them), log files and programs to apply, shortcuts, today's date.
#pragma once

#include <windows.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "driver/driver.h"
#include "platform/dialogs.h"
#include "texts.h"
#include "window_texts.h"

namespace zelvo::e2e {

// UTF-8 of a path, as the program writes it in its log and its texts.
std::string Text(const std::filesystem::path& path);

// Today as the program writes it.
std::string Today();

// A log file of the current version with these entries (name, folder, date).
struct Entry {
  std::string name;
  std::string folder;
  std::string date;
};
std::string IniWith(const std::vector<Entry>& entries);

// Closes the window and expects a clean end with these entries in the log file.
void CloseAndExpectLog(const ZelvoProcess& zelvo, const MainWindow& window,
                       const std::vector<Entry>& entries);

// A small file that passes for a program: the name ends in .exe, the bytes are no PE image.
inline constexpr std::string_view kFakeProgram = "MZ not really a program";

// The manifest written beside a program that is not a 64-bit image.
std::string X86Manifest();
// The manifest written beside a 64-bit (PE32+) image: any processor's Common-Controls.
std::string AnyProcessorManifest();

// A real program image built in the tree: processor "x86" or "x64", variant "plain" (no
// embedded manifest), "cc6" (embeds one that asks for Common-Controls 6), "trust_info" (embeds
// one without it), ...
std::filesystem::path PeImage(std::wstring_view processor, std::wstring_view variant);
// Copies a file to a path under the folder's root, creating its folders; returns the full path.
std::filesystem::path CopyInto(const ToolFolder& folder, const std::filesystem::path& from,
                               const std::filesystem::path& to);

// The folder text that the program logs for a file: its folder with one trailing backslash.
std::string FolderOf(const std::filesystem::path& file);

// The status line shows the text, and its tool tip says the same.
void ExpectStatusLine(const MainWindow& window, std::string_view status);
// Waits until the status line shows the text (the command line has been handled to its last
// path), then checks it as ExpectStatusLine does.
void WaitForStatusLine(const MainWindow& window, std::string_view status);

// The detail boxes show an entry, and the six controls that follow the selection are enabled.
void ExpectEntryShown(const MainWindow& window, const std::string& name_text,
                      const std::string& folder, const std::string& date);
// Nothing is selected: the six controls are disabled, and the boxes are empty or still show the
// current row.
void ExpectViewDisabled(const MainWindow& window, const std::string& name = {},
                        const std::string& folder = {}, const std::string& date = {});

// Waits until the program has handled everything sent to it so far, then checks that it shows
// no message box (not even one that it has created but not yet drawn).
::testing::AssertionResult NoBoxAfterSync(const ZelvoProcess& process, const MainWindow& window);

// Presses a key in a control of the program with Shift or Ctrl held, as the keyboard does. The
// control reads the modifiers with GetKeyState, so the driver shares the program's input state
// while it presses. Returns once the program has handled the key.
void PressKey(const MainWindow& window, int control_id, UINT key, Keys held = Keys::None);

// The text on the clipboard (CF_UNICODETEXT), "" for none.
std::string ClipboardText();

// The window Wine's Explorer opens on a folder (of class ExplorerWClass, titled with the
// folder's name), once it is there; null when none appears.
HWND WaitForFolderWindow(const std::filesystem::path& folder);

// The system colours of the classic High Contrast Black theme (white text on black, a purple
// highlight) for the life of the object, then those of before. Windows keeps the colours in the
// user's profile: every program started meanwhile draws with them. Wine has no high-contrast
// switch (SPI_SETHIGHCONTRAST fails, SPI_GETHIGHCONTRAST always says off), so the colours stand
// for the theme; a program that runs already keeps the colours it started with under Wine.
class HighContrastColours {
 public:
  HighContrastColours();
  ~HighContrastColours();
  HighContrastColours(const HighContrastColours&) = delete;
  HighContrastColours& operator=(const HighContrastColours&) = delete;

 private:
  std::vector<COLORREF> before_;
};

// The names of the files and folders in a folder, sorted.
std::vector<std::string> FolderListing(const std::filesystem::path& folder);

// Makes a shortcut to `target` at `shortcut` with the shell's own object.
void MakeShortcut(const std::filesystem::path& shortcut, const std::filesystem::path& target);

// The argument text for paths, each in double quotes, separated by spaces.
std::wstring Quoted(const std::vector<std::filesystem::path>& paths);

using win32::Control;

// Every control's text and tool tip at start, as a catalogue of the tests gives them: a control
// without a tip has no tool at all (the status line's tip follows its text, and is left out).
void ExpectStartTextsAndToolTips(const MainWindow& window, std::string_view (*start_text)(Control),
                                 std::string_view (*tool_tip)(Control));

// The name a screen reader gives each control, read through Active Accessibility as screen
// readers read it from their own process, as `name` gives it (a control for which it gives ""
// is left out).
void ExpectAccessibleNames(const MainWindow& window, std::string_view (*name)(Control));

// Starts the program with three programs in its log, selects one and saves the window's picture
// at `screenshot`.
void SaveScreenshotWithAnEntrySelected(const std::filesystem::path& screenshot);

// The program's texts, from the tests' catalogue.
using expected::AppliedStatus;
using expected::CancelledStatus;
using expected::EmbeddedManifestQuestion;
using expected::EmbeddedThemedQuestion;
using expected::LaunchFailedNotice;
using expected::LaunchQuestion;
using expected::MissingProgramWarning;
using expected::NotAProgramQuestion;
using expected::NotExecutableNotice;
using expected::NotFoundNotice;
using expected::RemoveQuestion;
using expected::ReplaceManifestQuestion;
using expected::RestoreMissingQuestion;
using expected::RestoreQuestion;
using expected::SecondInstanceWarning;
using expected::ShortcutNotice;

// The report box of a failure with Windows' own description of its number.
Message ErrorReport(const std::string& source, DWORD number);

}  // namespace zelvo::e2e
