#include "win32/window/control_set.h"

#include <commctrl.h>

#include "win32/system/strings.h"
#include "win32/system/win32_error.h"
#include "win32/window/dropped_files.h"
#include "win32/window/window_layout.h"

namespace zelvo::win32 {
namespace {

// What a control of each kind is on Windows: its class, styles and extended styles.
struct ControlClass {
  const wchar_t* name;
  DWORD style;
  DWORD ex_style;
};

ControlClass ClassOf(ControlKind kind) {
  switch (kind) {
    case ControlKind::Frame:
      return {WC_BUTTONW, BS_GROUPBOX | WS_CLIPSIBLINGS, 0};
    case ControlKind::Label:
      return {WC_STATICW, SS_OWNERDRAW | SS_NOTIFY, 0};
    case ControlKind::List:
      return {WC_LISTBOXW,
              WS_TABSTOP | WS_VSCROLL | LBS_EXTENDEDSEL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT |
                  LBS_HASSTRINGS,
              WS_EX_CLIENTEDGE};
    case ControlKind::TextBox:
      return {WC_EDITW, WS_TABSTOP | ES_READONLY | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::Button:
      return {WC_BUTTONW, WS_TABSTOP | BS_PUSHBUTTON, 0};
    case ControlKind::Window:
      break;
  }
  ThrowWin32Error(ERROR_INVALID_PARAMETER);
}

}  // namespace

ControlSet::ControlSet() {
  for (const ControlRow& row : kControlRows) {
    State& state = (*this)[row.control];
    state.enabled = row.enabled;
    state.callback_source = std::string(row.name) + "_WindowProc()";
  }
}

void ControlSet::Create(HWND parent, HINSTANCE instance, UINT dpi, HFONT font, const Texts& texts,
                        WNDPROC procedure, void* owner) {
  (*this)[Control::frmMain].window = parent;
  text_box_height_ = -1;
  for (const ControlRow& row : kControlRows) {
    if (row.control == Control::frmMain) continue;
    State& state = (*this)[row.control];
    const ControlClass control_class = ClassOf(row.kind);
    state.text = Wide(texts.Get(row.text));
    const DWORD style =
        WS_CHILD | WS_VISIBLE | control_class.style | (row.enabled ? 0 : WS_DISABLED);
    const RECT rect = ControlRect(row.control, dpi);
    const HWND control = CreateWindowExW(
        control_class.ex_style | WS_EX_ACCEPTFILES, control_class.name, state.text.c_str(), style,
        rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)), instance, nullptr);
    if (!control) ThrowLastError();
    if (font) {
      SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(row.kind, control, font)),
                   FALSE);
    }
    state.window = control;
    AcceptDropsFromLowerIntegrity(control);
    // Subclassed by hand rather than through comctl32: there each message looks the subclass up
    // in a window property, a round trip to the server under Wine.
    SetWindowLongPtrW(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
    state.own_procedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
    if (HasToolTip(row.control)) state.tool_tip = Wide(texts.Get(row.tool_tip));
  }

  // The frames lie below the controls inside them, so that a click or a drop on a control
  // reaches the control, and one on the frame's own area reaches the frame.
  for (Control frame : {Control::fraLog, Control::fraDropPoint}) {
    SetWindowPos(Window(frame), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

void ControlSet::Place(UINT dpi, HFONT font) {
  // The text boxes draw with their old font until each is given its new one.
  const UniqueFont retired = std::move(text_box_font_);
  text_box_height_ = -1;
  for (const ControlRow& row : kControlRows) {
    if (row.control == Control::frmMain) continue;
    const RECT rect = ControlRect(row.control, dpi);
    const HWND control = Window(row.control);
    SetWindowPos(control, nullptr, rect.left, rect.top, rect.right - rect.left,
                 rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(row.kind, control, font)),
                 TRUE);
  }
}

HFONT ControlSet::FontFor(ControlKind kind, HWND control, HFONT font) {
  if (kind != ControlKind::TextBox) return font;
  // A one-line edit box lays its line out inside its client edge and cuts what of the font's
  // cell lies below: the descenders of p and g. A box 270 twips high leaves it 14 pixels at 96
  // DPI, where the cell of Wine's stand-in for the UI font (Noto Sans CJK, 9 points) is 17. The
  // boxes keep their places and sizes; their font gets smaller.
  RECT client{};
  GetClientRect(control, &client);
  const int height = client.bottom - client.top;
  if (height != text_box_height_) {
    text_box_font_ = CreateFontWithin(font, height);
    text_box_height_ = height;
  }
  return text_box_font_ ? text_box_font_.Get() : font;
}

std::optional<Control> ControlSet::WithId(UINT_PTR id) {
  for (const ControlRow& row : kControlRows) {
    if (row.control != Control::frmMain && static_cast<UINT_PTR>(row.id) == id) {
      return row.control;
    }
  }
  return std::nullopt;
}

void ControlSet::SetText(Control control, std::wstring text) {
  State& state = (*this)[control];
  if (text == state.text) return;
  if (control == Control::frmMain) {
    if (!SetWindowTextW(state.window, text.c_str())) ThrowLastError();
    state.text = std::move(text);
    return;
  }
  // A control takes its new text when anything next reads or draws it, all of which reaches
  // its subclass procedure first. Under Wine an edit box lays its text out on the spot, a
  // millisecond or more, and applying a thousand programs in a row sets the name and folder
  // boxes and the status line a thousand times over, while nothing can read or draw them in
  // between.
  if (!IsWindow(state.window)) ThrowWin32Error(ERROR_INVALID_WINDOW_HANDLE);
  state.text = std::move(text);
  state.text_pending = true;
  InvalidateRect(state.window, nullptr, TRUE);
}

void ControlSet::ApplyPendingText(Control control) {
  State& state = (*this)[control];
  if (!state.text_pending || applying_text_) return;
  applying_text_ = true;
  // Setting a control's text fails only when memory runs out; the text then stays pending and
  // is tried again at the control's next message.
  if (SetWindowTextW(state.window, state.text.c_str())) state.text_pending = false;
  applying_text_ = false;
}

void ControlSet::SetEnabled(Control control, bool enabled) {
  // The view refreshes the actions at every change of the selection; most leave them as they
  // are.
  State& state = (*this)[control];
  if (state.enabled == enabled) return;
  EnableWindow(state.window, enabled ? TRUE : FALSE);
  state.enabled = enabled;
}

}  // namespace zelvo::win32
