// Starting another program by its exact path, at the user's own level even from an elevated
// Zelvo.
#pragma once

#include <windows.h>

#include "platform/process.h"
#include "win32/system/owner.h"

namespace zelvo::win32 {

class Win32ProcessLauncher : public ProcessLauncher {
 public:
  // From an elevated process, the program gets the token of the user's shell (Explorer), as if
  // the user had started it there; where no shell can be had, it starts as this process does
  // only when `even_as_administrator`.
  StartResult Start(const std::string& program_path, const std::string& working_folder,
                    bool even_as_administrator = false) override;
};

// Whether this process runs with administrator rights (elevated).
bool ProcessElevated();

// A primary token like the one of the user's shell, the process of the desktop window; invalid
// when there is no shell, or its token cannot be had. `shell_found`, when given, says whether
// there was a shell.
UniqueHandle ShellToken(bool* shell_found = nullptr);

}  // namespace zelvo::win32
