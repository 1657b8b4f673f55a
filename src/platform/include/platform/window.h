// The main window as the program's logic sees it: its controls by name, and the visible list.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/controls.h"

namespace zelvo {

// What a list control shows as selected, and its current row.
struct ListSelection {
  std::vector<size_t> rows;  // ascending
  std::optional<size_t> current;
};

// The visible list of program names. It only shows rows: the log model owns them and decides
// their order, selection and current row; the log view passes every change on to the control.
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
  // The selection as the control holds it, after the user has changed it.
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

// What happens to the window, as the window reports it to the program's logic. Each event is
// handled to its end; the handlers catch and report their own failures.
class WindowEvents {
 public:
  virtual ~WindowEvents() = default;
  // The window is about to close, for whatever reason; the close is never refused.
  virtual void Closing() = 0;
  // Files were dropped on the window itself (frmMain) or on one of its controls.
  virtual void Dropped(Control target, DroppedFiles& files) = 0;
  // The user changed the selection or the current row of the visible list.
  virtual void SelectionChanged() = 0;
  // A button was clicked.
  virtual void Clicked(Control button) = 0;
};

class WindowControls {
 public:
  virtual ~WindowControls() = default;
  // The caption of the window, a frame, label or button, or the text of a text box.
  virtual void SetText(Control control, const std::string& text) = 0;
  virtual void SetToolTip(Control control, const std::string& text) = 0;
  virtual void SetEnabled(Control control, bool enabled) = 0;
};

class MainWindow : public WindowControls {
 public:
  // Shows the window, which starts hidden.
  virtual void Show() = 0;
  virtual ListBox& NameList() = 0;
};

}  // namespace zelvo
