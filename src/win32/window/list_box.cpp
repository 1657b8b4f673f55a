#include "win32/window/list_box.h"

#include <climits>
#include <string>

#include "win32/system/strings.h"
#include "win32/system/win32_error.h"

namespace zelvo::win32 {
namespace {

constexpr wchar_t kNoteWindowClass[] = L"ZelvoListNotes";
constexpr UINT kResumeDrawing = WM_APP + 1;

// A row index as the list box takes it.
WPARAM Row(size_t row) {
  if (row > static_cast<size_t>(INT_MAX)) ThrowWin32Error(ERROR_INVALID_INDEX);
  return static_cast<WPARAM>(row);
}

LRESULT Checked(LRESULT result) {
  if (result == LB_ERRSPACE) ThrowWin32Error(ERROR_NOT_ENOUGH_MEMORY);
  if (result == LB_ERR) ThrowWin32Error(ERROR_INVALID_INDEX);
  return result;
}

}  // namespace

Win32ListBox::~Win32ListBox() {
  if (note_window_) DestroyWindow(note_window_);
}

void Win32ListBox::Attach(HWND list) {
  list_ = list;
  own_procedure_ = nullptr;
  drawing_paused_ = false;
  if (!list_) return;
  // Under Wine every message to a subclassed window costs a round trip to the server (the
  // subclass chain is a window property), and the main window subclasses this list for drops
  // and tool tips: sent row by row, a log of 100,000 entries took seconds to show. The messages
  // go straight to the list box's own procedure instead, as SendMessage calls it on this
  // thread; no subclass procedure handles list box messages.
  if (GetWindowThreadProcessId(list_, nullptr) == GetCurrentThreadId()) {
    own_procedure_ = reinterpret_cast<WNDPROC>(GetClassLongPtrW(list_, GCLP_WNDPROC));
  }
}

void Win32ListBox::CreateNoteWindow() {
  // Made when the list first changes rather than with the list: a window less at start-up.
  WNDCLASSEXW note_class{};
  note_class.cbSize = sizeof(note_class);
  note_class.lpfnWndProc = &Win32ListBox::NoteProc;
  note_class.hInstance = GetModuleHandleW(nullptr);
  note_class.lpszClassName = kNoteWindowClass;
  if (!RegisterClassExW(&note_class) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    ThrowLastError();
  }
  note_window_ = CreateWindowExW(0, kNoteWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 note_class.hInstance, this);
  if (!note_window_) ThrowLastError();
}

LRESULT Win32ListBox::Send(UINT message, WPARAM wparam, LPARAM lparam) const {
  return Checked(own_procedure_ ? CallWindowProcW(own_procedure_, list_, message, wparam, lparam)
                                : SendMessageW(list_, message, wparam, lparam));
}

LRESULT Win32ListBox::CaretIndex() const {
  // Not Send: LB_ERR here only means the list has no caret.
  return own_procedure_ ? CallWindowProcW(own_procedure_, list_, LB_GETCARETINDEX, 0, 0)
                        : SendMessageW(list_, LB_GETCARETINDEX, 0, 0);
}

void Win32ListBox::PauseDrawing() {
  if (drawing_paused_) return;
  // Under Wine a visible list box draws every change at once, scroll bar included: 1,000
  // programs applied in a row cost seconds of drawing that nobody could see, since the window
  // is painted only once the program reads its messages again.
  if (!note_window_) CreateNoteWindow();
  if (!PostMessageW(note_window_, kResumeDrawing, 0, 0)) ThrowLastError();
  Send(WM_SETREDRAW, FALSE, 0);
  drawing_paused_ = true;
}

void Win32ListBox::ResumeDrawing() noexcept {
  if (!drawing_paused_) return;
  drawing_paused_ = false;
  // Straight to the list box: WM_SETREDRAW cannot fail, and nothing may be thrown out of the
  // window procedure that calls this.
  if (own_procedure_) {
    CallWindowProcW(own_procedure_, list_, WM_SETREDRAW, TRUE, 0);
  } else {
    SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
  }
  InvalidateRect(list_, nullptr, TRUE);
}

LRESULT CALLBACK Win32ListBox::NoteProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  if (message == kResumeDrawing) {
    auto* self = reinterpret_cast<Win32ListBox*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && self->list_) self->ResumeDrawing();
    return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

void Win32ListBox::ResetRows(const std::vector<std::string_view>& texts) {
  PauseDrawing();
  Send(LB_RESETCONTENT, 0, 0);
  size_t bytes = 0;
  for (auto text : texts) bytes += (text.size() + 1) * sizeof(wchar_t);
  // Reserving room for every row at once keeps a long log from growing the list row by row.
  Send(LB_INITSTORAGE, texts.size(), static_cast<LPARAM>(bytes));
  std::wstring wide;  // one buffer for every row
  for (auto text : texts) {
    WideInto(text, wide);
    Send(LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(wide.c_str()));
  }
}

void Win32ListBox::InsertRow(size_t row, std::string_view text) {
  const std::wstring wide = Wide(text);
  PauseDrawing();
  Send(LB_INSERTSTRING, Row(row), reinterpret_cast<LPARAM>(wide.c_str()));
}

void Win32ListBox::RemoveRow(size_t row) {
  PauseDrawing();
  Send(LB_DELETESTRING, Row(row), 0);
}

void Win32ListBox::SetSelected(size_t row, bool selected) {
  PauseDrawing();
  Send(LB_SETSEL, selected ? TRUE : FALSE, static_cast<LPARAM>(Row(row)));
}

void Win32ListBox::SetAllSelected(bool selected) {
  if (Send(LB_GETCOUNT, 0, 0) <= 0) return;
  PauseDrawing();
  Send(LB_SETSEL, selected ? TRUE : FALSE, -1);
}

void Win32ListBox::SetCurrentRow(std::optional<size_t> row) {
  // A list box always has a caret once it has rows; "no current row" only exists in the model.
  if (!row) return;
  PauseDrawing();
  Send(LB_SETCARETINDEX, Row(*row), FALSE);
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
  const LRESULT caret = CaretIndex();
  if (caret >= 0 && caret < count) selection.current = static_cast<size_t>(caret);
  return selection;
}

std::optional<size_t> Win32ListBox::RowAt(POINT client) const {
  // Counted from the top row rather than asked with LB_ITEMFROMPOINT, whose 16 bits cannot
  // number a long log's rows.
  RECT area{};
  GetClientRect(list_, &area);
  if (!PtInRect(&area, client)) return std::nullopt;
  const auto count = static_cast<size_t>(Send(LB_GETCOUNT, 0, 0));
  if (count == 0) return std::nullopt;
  const LRESULT height = Send(LB_GETITEMHEIGHT, 0, 0);
  if (height <= 0) return std::nullopt;
  const size_t row = static_cast<size_t>(Send(LB_GETTOPINDEX, 0, 0)) +
                     static_cast<size_t>(client.y / static_cast<int>(height));
  if (row >= count) return std::nullopt;
  return row;
}

bool Win32ListBox::SelectOnlyUnlessSelected(size_t row) {
  if (Send(LB_GETSEL, Row(row), 0) > 0) return false;
  Send(LB_SETSEL, FALSE, -1);
  Send(LB_SETSEL, TRUE, static_cast<LPARAM>(Row(row)));
  // A Shift+click afterwards extends the selection from here, as after a left click.
  Send(LB_SETANCHORINDEX, Row(row), 0);
  Send(LB_SETCARETINDEX, Row(row), FALSE);
  return true;
}

bool Win32ListBox::SelectAll() {
  if (Send(LB_GETCOUNT, 0, 0) == 0) return false;
  Send(LB_SETSEL, TRUE, -1);
  return true;
}

POINT Win32ListBox::MenuPoint() const {
  RECT area{};
  GetClientRect(list_, &area);
  POINT point{area.left, area.top};
  const LRESULT caret = CaretIndex();
  if (caret >= 0 && caret < Send(LB_GETCOUNT, 0, 0)) {
    RECT row{};
    Send(LB_GETITEMRECT, static_cast<WPARAM>(caret), reinterpret_cast<LPARAM>(&row));
    if (row.bottom > area.top && row.bottom <= area.bottom) point = {row.left, row.bottom};
  }
  ClientToScreen(list_, &point);
  return point;
}

}  // namespace zelvo::win32
