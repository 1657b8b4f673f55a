#include "win32/window/common_controls.h"

#include "win32/system/module.h"
#include "win32/system/win32_error.h"

namespace zelvo::win32 {

CommonControls::CommonControls(DWORD classes) : module_(LoadSystemLibrary(L"comctl32.dll")) {
  const auto initialize =
      ProcAddress<decltype(&::InitCommonControlsEx)>(module_.Get(), "InitCommonControlsEx");
  if (!initialize) ThrowLastError();
  const INITCOMMONCONTROLSEX controls{sizeof(controls), classes};
  if (!initialize(&controls)) ThrowWin32Error(ERROR_CLASS_DOES_NOT_EXIST);
}

}  // namespace zelvo::win32
