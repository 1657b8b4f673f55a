#include "platform/win32/common_controls.h"

#include "platform/win32/system_library.h"
#include "platform/win32/win32_error.h"

namespace zelvo::win32 {
namespace {

template <class Function>
Function Resolve(HMODULE module, const char* name) {
  const FARPROC found = GetProcAddress(module, name);
  if (found == nullptr) ThrowLastError();
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

}  // namespace

CommonControls::CommonControls(DWORD classes) : module_(LoadSystemLibrary(L"comctl32.dll")) {
  try {
    set_window_subclass_ = Resolve<decltype(set_window_subclass_)>(module_, "SetWindowSubclass");
    remove_window_subclass_ =
        Resolve<decltype(remove_window_subclass_)>(module_, "RemoveWindowSubclass");
    def_subclass_proc_ = Resolve<decltype(def_subclass_proc_)>(module_, "DefSubclassProc");
    const auto initialize =
        Resolve<decltype(&::InitCommonControlsEx)>(module_, "InitCommonControlsEx");
    const INITCOMMONCONTROLSEX controls{sizeof(controls), classes};
    if (!initialize(&controls)) ThrowWin32Error(ERROR_CLASS_DOES_NOT_EXIST);
  } catch (...) {
    FreeLibrary(module_);
    throw;
  }
}

CommonControls::~CommonControls() { FreeLibrary(module_); }

}  // namespace zelvo::win32
