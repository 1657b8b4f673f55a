// Loading a DLL of Windows at run time from System32 only, never from the program's folder or
// the current folder, with everything it imports in turn.
#pragma once

#include <windows.h>

namespace zelvo::win32 {

// Loads the system DLL `name` (a bare file name) with LOAD_LIBRARY_SEARCH_SYSTEM32. Side-by-side
// redirection by the program's manifest still applies (it precedes every folder in the search
// order). Windows 7 and Vista without update KB2533623 know no such flag: there the plain name
// is loaded, after SetDllDirectoryW(L"") took the current folder out of the search. Throws
// Failure when the DLL cannot be loaded.
HMODULE LoadSystemLibrary(const wchar_t* name);

}  // namespace zelvo::win32
