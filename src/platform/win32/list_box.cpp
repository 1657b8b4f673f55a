#include "platform/win32/list_box.h"

#include <string>

#include "platform/win32/strings.h"
#include "platform/win32/win32_error.h"

namespace zelvo::win32 {
namespace {

// A row index as the list box takes it.
WPARAM Row(size_t row) {
  if (row > static_cast<size_t>(INT_MAX)) ThrowWin32Error(ERROR_INVALID_INDEX);
  return static_cast<WPARAM>(row);
}

// Turns off drawing while many rows change, and draws once at the end.
class RedrawPause {
 public:
  explicit RedrawPause(HWND window) : window_(window) { SendMessageW(window_, WM_SETREDRAW, FALSE, 0); }
  ~RedrawPause() {
    SendMessageW(window_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(window_, nullptr, TRUE);
  }
  RedrawPause(const RedrawPause&) = delete;
  RedrawPause& operator=(const RedrawPause&) = delete;

 private:
  HWND window_;
};

}  // namespace

LRESULT Win32ListBox::Send(UINT message, WPARAM wparam, LPARAM lparam) const {
  const LRESULT result = SendMessageW(list_, message, wparam, lparam);
  if (result == LB_ERRSPACE) ThrowWin32Error(ERROR_NOT_ENOUGH_MEMORY);
  if (result == LB_ERR) ThrowWin32Error(ERROR_INVALID_INDEX);
  return result;
}

void Win32ListBox::ResetRows(const std::vector<std::string_view>& texts) {
  RedrawPause pause(list_);
  SendMessageW(list_, LB_RESETCONTENT, 0, 0);
  size_t bytes = 0;
  for (auto text : texts) bytes += (text.size() + 1) * sizeof(wchar_t);
  // Reserving room for every row at once keeps a long log from growing the list row by row.
  Send(LB_INITSTORAGE, texts.size(), static_cast<LPARAM>(bytes));
  for (auto text : texts) {
    const std::wstring wide = Wide(text);
    Send(LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(wide.c_str()));
  }
}

void Win32ListBox::InsertRow(size_t row, std::string_view text) {
  const std::wstring wide = Wide(text);
  Send(LB_INSERTSTRING, Row(row), reinterpret_cast<LPARAM>(wide.c_str()));
}

void Win32ListBox::RemoveRow(size_t row) { Send(LB_DELETESTRING, Row(row), 0); }

void Win32ListBox::SetSelected(size_t row, bool selected) {
  Send(LB_SETSEL, selected ? TRUE : FALSE, static_cast<LPARAM>(Row(row)));
}

void Win32ListBox::SetAllSelected(bool selected) {
  if (SendMessageW(list_, LB_GETCOUNT, 0, 0) <= 0) return;
  Send(LB_SETSEL, selected ? TRUE : FALSE, -1);
}

void Win32ListBox::SetCurrentRow(std::optional<size_t> row) {
  // A list box always has a caret once it has rows; "no current row" only exists in the model.
  if (row) Send(LB_SETCARETINDEX, Row(*row), FALSE);
}

ListSelection Win32ListBox::UserSelection() {
  ListSelection selection;
  const LRESULT count = Send(LB_GETCOUNT, 0, 0);
  if (count == 0) return selection;
  const LRESULT selected = Send(LB_GETSELCOUNT, 0, 0);
  std::vector<int> rows(static_cast<size_t>(selected));
  if (selected > 0) {
    const LRESULT got = Send(LB_GETSELITEMS, rows.size(), reinterpret_cast<LPARAM>(rows.data()));
    rows.resize(static_cast<size_t>(got));
  }
  selection.rows.assign(rows.begin(), rows.end());
  const LRESULT caret = SendMessageW(list_, LB_GETCARETINDEX, 0, 0);
  if (caret >= 0 && caret < count) selection.current = static_cast<size_t>(caret);
  return selection;
}

}  // namespace zelvo::win32
