// The visible log list on a Win32 list box with extended multiple selection. The list box does
// not sort: the log model decides the order, and the rows here mirror it. The current row is
// the list box's caret (the row with the focus rectangle).
#pragma once

#include <windows.h>

#include "platform/window.h"

namespace zelvo::win32 {

class Win32ListBox : public ListBox {
 public:
  // `list` is a LISTBOX with LBS_EXTENDEDSEL and without LBS_SORT, owned by its window.
  explicit Win32ListBox(HWND list = nullptr) : list_(list) {}
  void Attach(HWND list) { list_ = list; }
  HWND Handle() const { return list_; }

  void ResetRows(const std::vector<std::string_view>& texts) override;
  void InsertRow(size_t row, std::string_view text) override;
  void RemoveRow(size_t row) override;
  void SetSelected(size_t row, bool selected) override;
  void SetAllSelected(bool selected) override;
  void SetCurrentRow(std::optional<size_t> row) override;
  ListSelection UserSelection() override;

 private:
  LRESULT Send(UINT message, WPARAM wparam, LPARAM lparam) const;

  HWND list_;
};

}  // namespace zelvo::win32
