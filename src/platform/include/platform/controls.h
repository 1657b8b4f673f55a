// The main window and its controls, in one table: each control's name (the enum, and the names
// its event handlers carry), its Windows id, its kind, its place and its texts at start. The
// rows stand in creation order, which is the tab order.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "platform/texts.h"

namespace zelvo {

enum class ControlKind { Window, Frame, Label, List, TextBox, Button };

// One row: X(name, id, kind, container, left, top, width, height, enabled, text, tool_tip).
// Places are in twips (15 twips are one pixel at 96 DPI), relative to the client area of the
// container; the window's own row gives its client area. `enabled` is the state at start. The
// texts are identifiers of the catalogue: None for a control without a text at start (or
// without a tool tip), Later for a tool tip whose text comes later.
#define ZELVO_CONTROLS(X)                                                                         \
  X(frmMain, 0, Window, frmMain, 0, 0, 5655, 5055, true, None, None)                              \
  X(fraDropPoint, 1001, Frame, frmMain, 120, 120, 5415, 1095, true, None, None)                   \
  X(lblDropPoint, 1002, Label, fraDropPoint, 120, 360, 5175, 255, true, lblDropPoint, None)       \
  X(lblInformation, 1003, Label, fraDropPoint, 120, 720, 5175, 255, true, None, Later)            \
  X(fraLog, 1004, Frame, frmMain, 120, 1320, 5415, 3615, true, fraLog, None)                      \
  X(lstLogName, 1005, List, fraLog, 240, 360, 4935, 1695, true, None, lstLogNameTip)              \
  X(txtLogName, 1006, TextBox, fraLog, 240, 2160, 3375, 270, false, None, txtLogNameTip)          \
  X(txtLogPath, 1008, TextBox, fraLog, 240, 2520, 4935, 270, false, None, txtLogPathTip)          \
  X(cmdDelLog, 1010, Button, frmMain, 2040, 4200, 1575, 495, false, cmdDelLog, cmdDelLogTip)      \
  X(cmdShell, 1011, Button, frmMain, 3720, 4200, 1575, 495, false, cmdShell, cmdShellTip)         \
  X(cmdReturn, 1009, Button, frmMain, 360, 4200, 1575, 495, false, cmdReturn, cmdReturnTip)       \
  X(txtLogData, 1007, TextBox, fraLog, 3720, 2160, 1455, 270, false, None, txtLogDataTip)

enum class Control {
#define ZELVO_CONTROL_ENUM(name, ...) name,
  ZELVO_CONTROLS(ZELVO_CONTROL_ENUM)
#undef ZELVO_CONTROL_ENUM
};

struct ControlRow {
  Control control;
  std::string_view name;  // as in the names of its handlers: cmdShell_Click, fraLog_OLEDragDrop
  int id;
  ControlKind kind;
  Control container;
  int left, top, width, height;
  bool enabled;
  TextId text;
  TextId tool_tip;
};

inline constexpr ControlRow kControlRows[] = {
#define ZELVO_CONTROL_ROW(name, id, kind, container, left, top, width, height, enabled, text, \
                          tool_tip)                                                           \
  {Control::name, #name, id, ControlKind::kind, Control::container, left, top, width, height, \
   enabled, TextId::text, TextId::tool_tip},
    ZELVO_CONTROLS(ZELVO_CONTROL_ROW)
#undef ZELVO_CONTROL_ROW
};

inline constexpr size_t kControlCount = std::size(kControlRows);

constexpr const ControlRow& ControlRowOf(Control control) {
  return kControlRows[static_cast<size_t>(control)];
}

constexpr bool HasToolTip(Control control) {
  return ControlRowOf(control).tool_tip != TextId::None;
}

// The name a control's event handlers carry: the window's are Form_Load, Form_OLEDragDrop ...
constexpr std::string_view HandlerName(Control control) {
  return control == Control::frmMain ? std::string_view("Form") : ControlRowOf(control).name;
}

}  // namespace zelvo
