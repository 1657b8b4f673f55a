// Names for screen readers of the controls that have no visible label: the log list and the
// three detail boxes. A screen reader asks a control for its accessible object (WM_GETOBJECT);
// the control answers with the system's own object for it, which knows its role, state, value
// and rows, under the name given here. Microsoft Active Accessibility reads the name, and so
// does UI Automation, which takes a control's own object before its built-in proxies.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "platform/texts.h"
#include "win32/system/com.h"
#include "win32/window/controls.h"

namespace zelvo::win32 {

// The catalogue's name of `control`, or None for a control that has a text of its own.
constexpr TextId AccessibleNameOf(Control control) {
  switch (control) {
    case Control::lstLogName:
      return TextId::lstLogNameAccessible;
    case Control::txtLogName:
      return TextId::txtLogNameAccessible;
    case Control::txtLogPath:
      return TextId::txtLogPathAccessible;
    case Control::txtLogData:
      return TextId::txtLogDataAccessible;
    default:
      return TextId::None;
  }
}

// The system DLLs the names need, shared by every object handed out.
class AccessibilityLibrary;

class AccessibleNames {
 public:
  AccessibleNames();
  ~AccessibleNames();
  AccessibleNames(const AccessibleNames&) = delete;
  AccessibleNames& operator=(const AccessibleNames&) = delete;

  // The answer of `control` to WM_GETOBJECT (`wparam`, `lparam`): for its client area, its
  // accessible object named `name`; 0 for every other object, which the control answers as
  // before. The first answer loads oleacc.dll and opens the thread's COM apartment, for the
  // life of this object: most runs have no screen reader, and start-up stays as fast. Throws
  // Failure when the object cannot be made.
  LRESULT Answer(HWND control, WPARAM wparam, LPARAM lparam, const std::wstring& name);

 private:
  std::shared_ptr<const AccessibilityLibrary> library_;
  std::optional<ComApartment> com_;
};

}  // namespace zelvo::win32
