#include "win32/window/list_menu.h"

#include "win32/system/strings.h"
#include "win32/system/win32_error.h"

namespace zelvo::win32 {

UniqueMenu MakeListMenu(const Texts& texts, bool actions_enabled) {
  struct Item {
    ListCommand command;
    TextId text;
    bool separator_before;
  };
  constexpr Item kItems[] = {
      {ListCommand::Restore, TextId::mnuRestore, false},
      {ListCommand::Remove, TextId::mnuRemove, false},
      {ListCommand::Launch, TextId::mnuLaunch, false},
      {ListCommand::OpenFolder, TextId::mnuOpenFolder, true},
      {ListCommand::CopyPath, TextId::mnuCopyPath, false},
  };
  UniqueMenu menu(CreatePopupMenu());
  if (!menu) ThrowLastError();
  const UINT state = actions_enabled ? MF_ENABLED : MF_GRAYED;
  for (const Item& item : kItems) {
    if (item.separator_before && !AppendMenuW(menu.Get(), MF_SEPARATOR, 0, nullptr)) {
      ThrowLastError();
    }
    if (!AppendMenuW(menu.Get(), MF_STRING | state, static_cast<UINT_PTR>(item.command),
                     Wide(texts.Get(item.text)).c_str())) {
      ThrowLastError();
    }
  }
  return menu;
}

}  // namespace zelvo::win32
