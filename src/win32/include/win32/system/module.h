// DLLs of Windows loaded at run time, and the functions looked up in them: from System32 only,
// never from the program's folder or the current folder.
#pragma once

#include <windows.h>

#include "win32/system/owner.h"

namespace zelvo::win32 {

// Loads the system DLL `name` (a bare file name) from System32, with everything it imports in
// turn. Side-by-side redirection by the program's manifest still applies (it precedes every
// folder in the search order). Windows 7 and Vista without update KB2533623 know no
// LOAD_LIBRARY_SEARCH_SYSTEM32: there the DLL is loaded by its full path in the system folder.
// Throws Failure when the DLL cannot be loaded.
UniqueModule LoadSystemLibrary(const wchar_t* name);

// The function `name` of `module` as a `Function` pointer, or null when the module has none
// (a function of a newer Windows, say).
template <class Function>
Function ProcAddress(HMODULE module, const char* name) {
  const FARPROC found = module ? GetProcAddress(module, name) : nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

// The function `name` of a system DLL that the program has loaded already (kernel32.dll,
// user32.dll), or null.
template <class Function>
Function SystemFunction(const wchar_t* module, const char* name) {
  return ProcAddress<Function>(GetModuleHandleW(module), name);
}

}  // namespace zelvo::win32
