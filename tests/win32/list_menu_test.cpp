// The list's context menu as it is made: its items in each language with their access keys, the
// command each returns, the separator, and the items enabled exactly when the buttons are.
#include "win32/window/list_menu.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "win32/system/strings.h"
#include "texts.h"

namespace zelvo::win32 {
namespace {

struct Item {
  std::string text;  // "-" for a separator
  UINT id;
  bool grayed;
  bool operator==(const Item&) const = default;
};

void PrintTo(const Item& item, std::ostream* out) {
  *out << "{\"" << item.text << "\", " << item.id << (item.grayed ? ", grayed}" : "}");
}

std::vector<Item> Items(HMENU menu) {
  std::vector<Item> items;
  for (int position = 0; position < GetMenuItemCount(menu); ++position) {
    const UINT state = GetMenuState(menu, position, MF_BYPOSITION);
    if (state & MF_SEPARATOR) {
      items.push_back({"-", 0, false});
      continue;
    }
    wchar_t text[128] = {};
    GetMenuStringW(menu, position, text, 128, MF_BYPOSITION);
    items.push_back({Utf8(text), GetMenuItemID(menu, position), (state & MF_GRAYED) != 0});
  }
  return items;
}

TEST(ListMenuTest, OffersTheActionsThenTheFolderAndThePathsInEachLanguage) {
  struct Language {
    const char* code;
    const std::string_view (&texts)[5];
  };
  const Language languages[] = {{"ja", expected::kListMenuItems},
                                {"en", expected::english::kListMenuItems}};
  for (const Language& language : languages) {
    for (const bool enabled : {true, false}) {
      SCOPED_TRACE(std::string(language.code) + (enabled ? " enabled" : " disabled"));
      const UniqueMenu menu = MakeListMenu(Texts::For(language.code), enabled);
      const auto item = [&](int index, ListCommand command) {
        return Item{std::string(language.texts[index]), static_cast<UINT>(command), !enabled};
      };
      EXPECT_EQ(
          Items(menu.Get()),
          (std::vector<Item>{item(0, ListCommand::Restore), item(1, ListCommand::Remove),
                             item(2, ListCommand::Launch), Item{"-", 0, false},
                             item(3, ListCommand::OpenFolder), item(4, ListCommand::CopyPath)}));
    }
  }
}

}  // namespace
}  // namespace zelvo::win32
