// The visible log list on a Win32 list box with extended multiple selection. The list box does
// not sort: the log model decides the order, and the rows here mirror it. The current row is
// the list box's caret (the row with the focus rectangle).
#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>

#include "platform/window.h"

namespace zelvo::win32 {

class Win32ListBox : public ListBox {
 public:
  // `list` is a LISTBOX with LBS_EXTENDEDSEL and without LBS_SORT, owned by its window, used
  // on the thread that created it.
  explicit Win32ListBox(HWND list = nullptr) { Attach(list); }
  ~Win32ListBox() override;
  Win32ListBox(const Win32ListBox&) = delete;
  Win32ListBox& operator=(const Win32ListBox&) = delete;

  void Attach(HWND list);
  HWND Handle() const { return list_; }

  void ResetRows(const std::vector<std::string_view>& texts) override;
  void InsertRow(size_t row, std::string_view text) override;
  void RemoveRow(size_t row) override;
  void SetSelected(size_t row, bool selected) override;
  void SetAllSelected(bool selected) override;
  void SetCurrentRow(std::optional<size_t> row) override;
  ListSelection UserSelection() override;

  // What the user does in the list that the list box does not do by itself. The owner tells the
  // program's logic of each change, as of the user's own clicks.
  // The row at a point of the list's client area, if a row is there.
  std::optional<size_t> RowAt(POINT client) const;
  // Selects only `row` and makes it the current row, unless it is selected already (a right
  // click, as in Explorer); true when the selection changed.
  bool SelectOnlyUnlessSelected(size_t row);
  // Selects every row; false for an empty list.
  bool SelectAll();
  // Where a menu opened from the keyboard goes, in screen coordinates: below the current row
  // while it is in view, otherwise at the list's corner.
  POINT MenuPoint() const;

 private:
  // A list box message, handed to the list box's own procedure (see list_box.cpp); LB_ERR and
  // LB_ERRSPACE become failures.
  LRESULT Send(UINT message, WPARAM wparam, LPARAM lparam) const;
  // The current row, or LB_ERR for none.
  LRESULT CaretIndex() const;
  // Stops the list drawing itself until the thread reads its messages again: a batch of
  // changes is drawn once, when it is over.
  void PauseDrawing();
  void CreateNoteWindow();
  void ResumeDrawing() noexcept;
  static LRESULT CALLBACK NoteProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

  HWND list_ = nullptr;
  WNDPROC own_procedure_ = nullptr;
  // A message-only window: a message posted to it arrives when the thread reads its messages
  // again, in the program's own loop or in that of a message box.
  HWND note_window_ = nullptr;
  bool drawing_paused_ = false;
};

}  // namespace zelvo::win32
