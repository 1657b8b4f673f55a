// Starting another program.
#pragma once

#include <string>

namespace zelvo {

class ProcessLauncher {
 public:
  virtual ~ProcessLauncher() = default;
  // Starts the program file `program_path` (named exactly, no search path), with no arguments,
  // in `working_folder`, in a normal window that receives the focus, without waiting for it.
  // Returns false when Windows refuses to start it.
  virtual bool Start(const std::string& program_path, const std::string& working_folder) = 0;
};

}  // namespace zelvo
