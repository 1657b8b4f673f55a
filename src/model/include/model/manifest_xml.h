// What an application manifest's XML asks for, read as text.
#pragma once

#include <string_view>

namespace zelvo {

// Whether a manifest's XML names Microsoft.Windows.Common-Controls version 6 as a dependent
// assembly, in UTF-8 or UTF-16. A textual reading that forgives what Windows forgives (quotes,
// spaces, namespace prefixes, letter case of the name) and skips what Windows skips (comments).
bool DependsOnCommonControls6(std::string_view manifest);

}  // namespace zelvo
