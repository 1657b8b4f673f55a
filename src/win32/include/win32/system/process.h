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
  // the user had started it there; where no shell can be had, it starts as this process does.
  bool Start(const std::string& program_path, const std::string& working_folder) override;
};

// Whether this process runs with administrator rights (elevated).
bool ProcessElevated();

// A primary token like the one of the user's shell, the process of the desktop window; invalid
// when there is no shell.
UniqueHandle ShellToken();

}  // namespace zelvo::win32
