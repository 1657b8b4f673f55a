// The window's texts at start, its tool tips and its controls' names for screen readers, by
// control, in both languages: what the end-to-end tests read off the real window.
#include "window_texts.h"

namespace zelvo::expected {

std::string_view StartText(Control control) {
  switch (control) {
    case Control::lblDropPoint:
      return "ココにXPスタイルを適用したいソフトをドロップしてください。";
    case Control::fraLog:
      return "XPスタイルを適用したソフト一覧";
    case Control::cmdReturn:
      return "元に戻す";
    case Control::cmdDelLog:
      return "リストから削除";
    case Control::cmdShell:
      return "ソフトを起動する";
    default:
      return "";
  }
}

std::string_view ToolTip(Control control) {
  switch (control) {
    case Control::lstLogName:
      return "過去にZelvoを適用したソフトが一覧されます。";
    case Control::txtLogName:
      return "選択したソフトの名前が表示されます。";
    case Control::txtLogData:
      return "選択したソフトにZelvoを適用した日付が表示されます。";
    case Control::txtLogPath:
      return "選択したソフトの場所が表示されます。";
    case Control::cmdReturn:
      return "選択したソフトを元に戻します。";
    case Control::cmdDelLog:
      return "選択したソフトをリストから削除します。";
    case Control::cmdShell:
      return "選択したソフトを起動します。";
    default:
      return "";
  }
}

std::string_view AccessibleName(Control control) {
  switch (control) {
    case Control::lstLogName:
      return "XPスタイルを適用したソフト一覧";
    case Control::txtLogName:
      return "選択したソフトの名前";
    case Control::txtLogPath:
      return "選択したソフトの場所";
    case Control::txtLogData:
      return "Zelvoを適用した日付";
    default:
      return "";
  }
}

namespace english {

std::string_view StartText(Control control) {
  switch (control) {
    case Control::lblDropPoint:
      return "Drop programs here to give them the XP visual style.";
    case Control::fraLog:
      return "Programs given the XP visual style";
    case Control::cmdReturn:
      return "Restore";
    case Control::cmdDelLog:
      return "Remove from list";
    case Control::cmdShell:
      return "Start program";
    default:
      return "";
  }
}

std::string_view ToolTip(Control control) {
  switch (control) {
    case Control::lstLogName:
      return "Lists the programs Zelvo has been applied to.";
    case Control::txtLogName:
      return "Shows the name of the selected program.";
    case Control::txtLogData:
      return "Shows the date Zelvo was applied to the selected program.";
    case Control::txtLogPath:
      return "Shows the folder of the selected program.";
    case Control::cmdReturn:
      return "Restores the selected programs to how they were.";
    case Control::cmdDelLog:
      return "Removes the selected programs from the list.";
    case Control::cmdShell:
      return "Starts the selected programs.";
    default:
      return "";
  }
}

std::string_view AccessibleName(Control control) {
  switch (control) {
    case Control::lstLogName:
      return "Programs given the XP visual style";
    case Control::txtLogName:
      return "Name of the selected program";
    case Control::txtLogPath:
      return "Folder of the selected program";
    case Control::txtLogData:
      return "Date Zelvo was applied";
    default:
      return "";
  }
}

}  // namespace english
}  // namespace zelvo::expected
