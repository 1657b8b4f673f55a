// The window's texts at start and its tool tips, by control, as the user must see them.
#pragma once

#include <string_view>

#include "win32/window/controls.h"

namespace zelvo::expected {

using win32::Control;

// The text of a control at start, and its tool tip ("" for none).
std::string_view StartText(Control control);
std::string_view ToolTip(Control control);

namespace english {

std::string_view StartText(Control control);
std::string_view ToolTip(Control control);

}  // namespace english
}  // namespace zelvo::expected
