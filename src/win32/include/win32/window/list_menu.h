// The context menu of the log list: the three actions of the buttons on the selection, then
// the programs' folder and their paths.
#pragma once

#include <windows.h>

#include "platform/texts.h"
#include "win32/system/owner.h"

namespace zelvo::win32 {

// The menu's items, by the command each returns.
enum class ListCommand : UINT { Restore = 1, Remove, Launch, OpenFolder, CopyPath };

// The menu in the language of `texts`. Each item acts on the selection, so each is enabled
// exactly when the buttons are (`actions_enabled`).
UniqueMenu MakeListMenu(const Texts& texts, bool actions_enabled);

}  // namespace zelvo::win32
