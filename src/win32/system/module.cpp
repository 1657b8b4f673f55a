#include "win32/system/module.h"

#include <string>

#include "win32/system/win32_error.h"

namespace zelvo::win32 {
namespace {

// The update that brings LOAD_LIBRARY_SEARCH_SYSTEM32 also brings AddDllDirectory; without it
// LoadLibraryExW refuses the flag.
bool SystemFolderSearchAvailable() {
  return SystemFunction<FARPROC>(L"kernel32.dll", "AddDllDirectory") != nullptr;
}

std::wstring SystemFolder() {
  std::wstring folder(MAX_PATH, L'\0');
  for (;;) {
    const UINT length = GetSystemDirectoryW(folder.data(), static_cast<UINT>(folder.size()));
    if (length == 0) ThrowLastError();
    if (length < folder.size()) {
      folder.resize(length);
      return folder;
    }
    folder.resize(length);  // the size it needs, its terminating NUL included
  }
}

}  // namespace

UniqueModule LoadSystemLibrary(const wchar_t* name) {
  UniqueModule module(SystemFolderSearchAvailable()
                          ? LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)
                          : LoadLibraryExW((SystemFolder() + L"\\" + name).c_str(), nullptr, 0));
  if (!module) ThrowLastError();
  return module;
}

}  // namespace zelvo::win32
