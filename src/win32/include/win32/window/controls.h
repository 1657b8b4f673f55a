// The main window and its controls, in one table: each control's name (the enum), its Windows
// id, its kind, its place, its state and texts at start, and what a drop on it is. The rows
// stand in creation order, which is the tab order.
#pragma once

#include <cstddef>
#include <iterator>
#include <string_view>

#include "platform/texts.h"
#include "platform/window.h"

namespace zelvo::win32 {

enum class ControlKind { Window, Frame, Label, List, TextBox, Button };

// One row: X(name, id, kind, container, left, top, width, height, enabled, text, tool_tip, drop).
// Places are in twips (15 twips are one pixel at 96 DPI), relative to the client area of the
// container; the window's own row gives its client area. `enabled` is the state at start. The
// texts are identifiers of the catalogue: None for a control without a text at start (or
// without a tool tip), Later for a tool tip whose text comes later. `drop` is the place a drop
// on the control is reported as.
#define ZELVO_CONTROLS(X)                                                                          \
  X(frmMain, 0, Window, frmMain, 0, 0, 5655, 5055, true, None, None, Window)                       \
  X(fraDropPoint, 1001, Frame, frmMain, 120, 120, 5415, 1095, true, None, None, DropFrame)         \
  X(lblDropPoint, 1002, Label, fraDropPoint, 120, 360, 5175, 255, true, lblDropPoint, None,        \
    DropLabel)                                                                                     \
  X(lblInformation, 1003, Label, fraDropPoint, 120, 720, 5175, 255, true, None, Later, StatusLine) \
  X(fraLog, 1004, Frame, frmMain, 120, 1320, 5415, 3615, true, fraLog, None, LogFrame)             \
  X(lstLogName, 1005, List, fraLog, 240, 360, 4935, 1695, true, None, lstLogNameTip, NameList)     \
  X(txtLogName, 1006, TextBox, fraLog, 240, 2160, 3375, 270, false, None, txtLogNameTip, NameBox)  \
  X(txtLogPath, 1008, TextBox, fraLog, 240, 2520, 4935, 270, false, None, txtLogPathTip,           \
    FolderBox)                                                                                     \
  X(cmdDelLog, 1010, Button, frmMain, 2040, 4200, 1575, 495, false, cmdDelLog, cmdDelLogTip,       \
    RemoveButton)                                                                                  \
  X(cmdShell, 1011, Button, frmMain, 3720, 4200, 1575, 495, false, cmdShell, cmdShellTip,          \
    LaunchButton)                                                                                  \
  X(cmdReturn, 1009, Button, frmMain, 360, 4200, 1575, 495, false, cmdReturn, cmdReturnTip,        \
    RestoreButton)                                                                                 \
  X(txtLogData, 1007, TextBox, fraLog, 3720, 2160, 1455, 270, false, None, txtLogDataTip, DateBox)

enum class Control {
#define ZELVO_CONTROL_ENUM(name, ...) name,
  ZELVO_CONTROLS(ZELVO_CONTROL_ENUM)
#undef ZELVO_CONTROL_ENUM
};

struct ControlRow {
  Control control;
  std::string_view name;
  int id;
  ControlKind kind;
  Control container;
  int left, top, width, height;
  bool enabled;
  TextId text;
  TextId tool_tip;
  DropPlace drop;
};

inline constexpr ControlRow kControlRows[] = {
#define ZELVO_CONTROL_ROW(name, id, kind, container, left, top, width, height, enabled, text,  \
                          tool_tip, drop)                                                      \
  {Control::name, #name,  id,      ControlKind::kind, Control::container, left,           top, \
   width,         height, enabled, TextId::text,      TextId::tool_tip,   DropPlace::drop},
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

}  // namespace zelvo::win32
