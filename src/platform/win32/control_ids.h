// The main window's class name and its controls' ids. The end-to-end tests find the window and
// its controls by these.
#pragma once

namespace zelvo::win32 {

inline constexpr wchar_t kMainWindowClass[] = L"ZelvoMainWindow";

enum ControlId : int {
  kIdFraDropPoint = 1001,
  kIdLblDropPoint = 1002,
  kIdLblInformation = 1003,
  kIdFraLog = 1004,
  kIdLstLogName = 1005,
  kIdTxtLogName = 1006,
  kIdTxtLogData = 1007,
  kIdTxtLogPath = 1008,
  kIdCmdReturn = 1009,
  kIdCmdDelLog = 1010,
  kIdCmdShell = 1011,
};

}  // namespace zelvo::win32
