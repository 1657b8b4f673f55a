// What the running program learns about itself and its process.
#pragma once

#include <cstdint>
#include <string>

namespace zelvo {

struct ProgramVersion {
  int major = 0;
  int minor = 0;
};

class Environment {
 public:
  virtual ~Environment() = default;

  // The version of the running program, from its own version resource.
  virtual ProgramVersion Version() = 0;

  // Whether another instance of this program file runs in this user's session.
  virtual bool PreviousInstanceRunning() = 0;

  // The folder of the running program file, without a trailing backslash except at a drive
  // root (C:\).
  virtual std::string ProgramFolder() = 0;

  // The whole command line as the process received it, the program's own name first.
  virtual std::string CommandLine() = 0;

  // The system's description of a failure number (an error code or an HRESULT).
  virtual std::string DescribeFailure(int32_t number) = 0;

  // Ends the process at once: no window closes, no closing step runs.
  [[noreturn]] virtual void EndNow(int exit_code) = 0;
};

}  // namespace zelvo
