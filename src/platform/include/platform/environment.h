// What the running program learns about itself and its process.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

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

  // Whether another instance runs in this user's session that keeps its log in the same tool
  // folder, however that folder was reached. The first call claims the folder for this
  // instance, which keeps the claim until it ends or hands it over (RestartElevated).
  virtual bool PreviousInstanceRunning() = 0;

  // Whether the program runs with administrator rights (elevated).
  virtual bool Elevated() = 0;

  // Starts the program again, by its exact path and in its own folder, asking Windows to run it
  // elevated, with `arguments` on its command line. This instance's claim to the tool folder is
  // handed over first, so that the new one does not meet it. True when the program was started;
  // false, with the claim taken back, when the user declined the elevation.
  virtual bool RestartElevated(const std::vector<std::string>& arguments) = 0;

  // The folder of the running program file, without a trailing backslash except at a drive
  // root (C:\).
  virtual std::string ProgramFolder() = 0;

  // The whole command line as the process received it, the program's own name first.
  virtual std::string CommandLine() = 0;

  // The system's description of a failure number (an error code or an HRESULT).
  virtual std::string DescribeFailure(int32_t number) = 0;
};

}  // namespace zelvo
