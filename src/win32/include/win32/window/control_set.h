// The main window's controls, made from the control table, and what the window keeps of each:
// its window, its own window procedure, the text and enabled state it was given last, its tool
// tip. A control's text is handed to it when anything next reads or draws it.
#pragma once

#include <windows.h>

#include <array>
#include <optional>
#include <string>

#include "platform/texts.h"
#include "win32/system/owner.h"
#include "win32/window/controls.h"

namespace zelvo::win32 {

class ControlSet {
 public:
  struct State {
    HWND window = nullptr;
    WNDPROC own_procedure = nullptr;  // every message of the control goes on to it
    std::wstring text;                // the text it was given last
    bool text_pending = false;        // not handed to the control yet
    bool enabled = true;
    std::wstring tool_tip;
    std::string
        callback_source;  // how a failure in its callback is reported: cmdShell_WindowProc()
  };

  ControlSet();
  ControlSet(const ControlSet&) = delete;
  ControlSet& operator=(const ControlSet&) = delete;

  // Makes every control of the table in `parent` (the main window, `frmMain`), at its place and
  // in `font` for `dpi` (the text boxes in a size of it whose line fits them), with its texts
  // from `texts`, subclassed by `procedure`, which finds `owner` in each control's user data.
  void Create(HWND parent, HINSTANCE instance, UINT dpi, HFONT font, const Texts& texts,
              WNDPROC procedure, void* owner);

  // Moves every control to its place at `dpi`, in `font` (the text boxes as Create says).
  void Place(UINT dpi, HFONT font);

  State& operator[](Control control) { return states_[static_cast<size_t>(control)]; }
  HWND Window(Control control) const { return states_[static_cast<size_t>(control)].window; }

  // The control of a child window's id, or none.
  static std::optional<Control> WithId(UINT_PTR id);

  // The control's text, handed to it when anything next reads or draws it.
  void SetText(Control control, std::wstring text);
  // Hands the control the text SetText last gave it, when it does not have it yet.
  void ApplyPendingText(Control control);
  // Enables or disables the control, when it is not so already.
  void SetEnabled(Control control, bool enabled);

 private:
  // The font for a control of the kind in `font`, once it stands at its place.
  HFONT FontFor(ControlKind kind, HWND control, HFONT font);

  std::array<State, kControlCount> states_;
  bool applying_text_ = false;
  UniqueFont text_box_font_;  // invalid while `font` itself fits the text boxes
  int text_box_height_ = -1;  // the client height it was made for; -1: to be made again
};

}  // namespace zelvo::win32
