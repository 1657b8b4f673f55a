// The window's texts at start, its tool tips and the names screen readers give its controls, by
// control, as the user must see (or hear) them.

#include <string_view>

#include "win32/window/controls.h"

namespace zelvo::expected {

using win32::Control;

// The text of a control at start, and its tool tip ("" for none).
std::string_view StartText(Control control);
std::string_view ToolTip(Control control);
// The name a screen reader gives a control that has no label of its own ("" for the others).
std::string_view AccessibleName(Control control);

namespace english {

std::string_view StartText(Control control);
std::string_view ToolTip(Control control);
std::string_view AccessibleName(Control control);

}  // namespace english
}  // namespace zelvo::expected
