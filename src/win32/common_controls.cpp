#include "win32/common_controls.h"

#include "win32/module.h"
#include "win32/win32_error.h"

namespace zelvo::win32 {
namespace {

template <class Function>
Function Resolve(HMODULE module, const char* name) {
  const auto function = ProcAddress<Function>(module, name);
  if (function == nullptr) ThrowLastError();
  return function;
}

}  // namespace

CommonControls::CommonControls(DWORD classes) : module_(LoadSystemLibrary(L"comctl32.dll")) {
  const HMODULE module = module_.Get();
  set_window_subclass_ = Resolve<decltype(set_window_subclass_)>(module, "SetWindowSubclass");
  remove_window_subclass_ =
      Resolve<decltype(remove_window_subclass_)>(module, "RemoveWindowSubclass");
  def_subclass_proc_ = Resolve<decltype(def_subclass_proc_)>(module, "DefSubclassProc");
  const auto initialize =
      Resolve<decltype(&::InitCommonControlsEx)>(module, "InitCommonControlsEx");
  const INITCOMMONCONTROLSEX controls{sizeof(controls), classes};
  if (!initialize(&controls)) ThrowWin32Error(ERROR_CLASS_DOES_NOT_EXIST);
}

}  // namespace zelvo::win32
