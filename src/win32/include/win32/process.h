// Starting another program with CreateProcessW, by its exact path.
#pragma once

#include "platform/process.h"

namespace zelvo::win32 {

class Win32ProcessLauncher : public ProcessLauncher {
 public:
  bool Start(const std::string& program_path, const std::string& working_folder) override;
};

}  // namespace zelvo::win32
