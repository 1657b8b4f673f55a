// comctl32.dll, loaded at run time from the system instead of imported. The program's window
// uses its classes (version 6 through the manifest) while this object lives.
//
// Why not an import: comctl32 is no KnownDLL. An imported one is loaded, and its DllMain runs,
// before the program's first line, while the folder of the program is still searched first for
// the DLLs that comctl32 itself loads; the manifest's activation context only redirects
// comctl32.dll, not what it pulls in. A program run from a Downloads folder would then load a
// uxtheme.dll (say) that was planted beside it. Loaded here, after the program has limited the
// DLL search to System32, comctl32 and everything it loads come from the system. The activation
// context still applies to LoadLibraryExW with LOAD_LIBRARY_SEARCH_SYSTEM32 (side-by-side
// redirection precedes every folder in the search order), so the program gets version 6.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "win32/system/owner.h"

namespace zelvo::win32 {

class CommonControls {
 public:
  // Loads comctl32.dll from System32 (version 6, through the program's manifest) and registers
  // the classes in `classes` (ICC_* flags). Throws Failure when the library cannot be had.
  explicit CommonControls(DWORD classes);
  // The library is freed with the object: every window of its classes must be gone by then.
  CommonControls(const CommonControls&) = delete;
  CommonControls& operator=(const CommonControls&) = delete;

  HMODULE Module() const { return module_.Get(); }

 private:
  UniqueModule module_;
};

}  // namespace zelvo::win32
