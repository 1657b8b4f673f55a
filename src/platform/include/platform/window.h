// The main window as the program's logic sees it, in the program's own terms: the caption, the
// rows of the log, the current entry's details, the actions that the selection allows, the
// status line; and what the user does with it.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelvo {

// What the list shows as selected, and its current row.
struct ListSelection {
  std::vector<size_t> rows;  // ascending
  std::optional<size_t> current;
};

// The visible list of program names. It only shows rows: the log model owns them and decides
// their order, selection and current row; the log view passes every change on to the list.
class ListBox {
 public:
  virtual ~ListBox() = default;
  // Replaces every row; afterwards no row is selected and there is no current row.
  virtual void ResetRows(const std::vector<std::string_view>& texts) = 0;
  // Inserts a row before `row` (or at the end); the rows below move down with their selection.
  virtual void InsertRow(size_t row, std::string_view text) = 0;
  virtual void RemoveRow(size_t row) = 0;
  virtual void SetSelected(size_t row, bool selected) = 0;
  virtual void SetAllSelected(bool selected) = 0;
  // The current row (the one with the focus rectangle), or none.
  virtual void SetCurrentRow(std::optional<size_t> row) = 0;
  // The selection as the list holds it, after the user has changed it.
  virtual ListSelection UserSelection() = 0;
};

// The files of one drop, numbered from 0 in the order the drop source lists them.
class DroppedFiles {
 public:
  virtual ~DroppedFiles() = default;
  // The number of files; a list of more than `at_most` may give any number above it without
  // being read through.
  virtual size_t Count(size_t at_most) = 0;
  virtual std::string Path(size_t index) = 0;
};

// Where files were dropped: on the window itself or on one of its controls. Each place has a drop
// handler of its own, whose name a failure in it is reported with.
enum class DropPlace {
  Window,
  DropFrame,
  DropLabel,
  StatusLine,
  LogFrame,
  NameList,
  NameBox,
  FolderBox,
  DateBox,
  RestoreButton,
  RemoveButton,
  LaunchButton,
};

// What happens to the window, as the window reports it to the program's logic. Each event is
// handled to its end, and nothing leaves a handler: each traps and reports its own failures.
class WindowEvents {
 public:
  virtual ~WindowEvents() = default;
  // The window is about to close, for whatever reason; the close is never refused.
  virtual void Closing() = 0;
  virtual void FilesDropped(DropPlace place, DroppedFiles& files) = 0;
  // The user changed the selection or the current row of the list.
  virtual void SelectionChanged() = 0;
  virtual void RestoreClicked() = 0;
  virtual void RemoveClicked() = 0;
  virtual void LaunchClicked() = 0;
  // The user chose, in the list's context menu, to see the selected programs in their folders,
  // or to copy their paths.
  virtual void OpenFolderClicked() = 0;
  virtual void CopyPathClicked() = 0;
  // A failure in the window's own work has been reported: the program keeps its log and ends.
  virtual void WindowFailed() = 0;
};

class MainView {
 public:
  virtual ~MainView() = default;
  virtual void SetCaption(const std::string& caption) = 0;
  // Shows the window, which starts hidden.
  virtual void Show() = 0;
  // The current entry: its name (with "..." after it when several rows are selected), folder
  // and date; three empty texts clear them.
  virtual void ShowEntry(const std::string& name, const std::string& folder,
                         const std::string& date) = 0;
  // Whether the actions on the selection (restore, remove, launch) and the entry's details can
  // be used.
  virtual void EnableActions(bool enabled) = 0;
  // The status line, with the same text as its tool tip, for a text too long to show whole.
  virtual void ShowStatus(const std::string& text) = 0;
  virtual ListBox& Rows() = 0;
  // Ends the program once the event being handled is over: the window goes, and the program's
  // message loop ends with `exit_code`.
  virtual void Close(int exit_code) = 0;
};

}  // namespace zelvo
