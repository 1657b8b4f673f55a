#include "platform/win32/system_library.h"

#include "platform/win32/win32_error.h"

namespace zelvo::win32 {
namespace {

// The update that brings LOAD_LIBRARY_SEARCH_SYSTEM32 also brings AddDllDirectory; without it
// LoadLibraryExW refuses the flag.
bool SystemFolderSearchAvailable() {
  return GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "AddDllDirectory") != nullptr;
}

}  // namespace

HMODULE LoadSystemLibrary(const wchar_t* name) {
  const HMODULE module = SystemFolderSearchAvailable()
                             ? LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)
                             : LoadLibraryW(name);
  if (module == nullptr) ThrowLastError();
  return module;
}

}  // namespace zelvo::win32
