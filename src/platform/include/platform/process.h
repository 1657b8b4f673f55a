// Starting another program.
#pragma once

#include <string>

namespace zelvo {

// How a start went: started; refused by Windows; or not started because, from an elevated
// Zelvo, the program would run as administrator (the user's own rights could not be had).
enum class [[nodiscard]] StartResult{Started, Refused, WouldRunElevated};

class ProcessLauncher {
 public:
  virtual ~ProcessLauncher() = default;
  // Starts the program file `program_path` (named exactly, no search path), with no arguments,
  // in `working_folder`, in a normal window that receives the focus, without waiting for it.
  // From an elevated Zelvo it runs with the user's own rights; where those cannot be had, it is
  // started as administrator only when `even_as_administrator`.
  virtual StartResult Start(const std::string& program_path, const std::string& working_folder,
                            bool even_as_administrator = false) = 0;
};

}  // namespace zelvo
