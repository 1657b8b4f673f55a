// What the running program learns about itself and its process.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelvo {

struct ProgramVersion {
  int major = 0;
  int minor = 0;
};

// The first bytes of what one Zelvo hands to the Zelvo it starts as administrator, by which the
// new one knows the file it is given for a hand-over.
inline constexpr std::string_view kHandOverMark = "Zelvo hand-over 1\r\n";

// How a start as administrator went: the new Zelvo runs; the user declined Windows' prompt; or
// Windows could not start it, for `reason`.
struct [[nodiscard]] ElevatedStart {
  enum Outcome { Started, Declined, Failed };
  Outcome outcome = Started;
  std::string reason;
};

class Environment {
 public:
  virtual ~Environment() = default;

  // The version of the running program, from its own version resource.
  virtual ProgramVersion Version() = 0;

  // Whether another Zelvo, of any account or session, owns the log of this tool folder, however
  // the folder was reached. The first call claims the log for this instance, which keeps the
  // claim until it ends. A Zelvo started with a hand-over first waits a while for the Zelvo that
  // started it to end.
  virtual bool PreviousInstanceRunning() = 0;

  // Whether the program runs with administrator rights (elevated).
  virtual bool Elevated() = 0;

  // Starts the program again, by its exact path and in its own folder, asking Windows to run it
  // as administrator (Windows asks the user over the program's window), and hands it
  // `hand_over`, which begins with kHandOverMark. This instance keeps its claim to the log
  // until it ends; the new one waits for that.
  virtual ElevatedStart StartElevated(std::string_view hand_over) = 0;

  // What this instance was handed when it was started as administrator, read once: afterwards
  // it is gone. Nothing when it was started otherwise. Throws Failure when it was handed
  // something that cannot be read, or that is no hand-over.
  virtual std::optional<std::string> TakeHandOver() = 0;

  // The folder of the running program file, without a trailing backslash except at a drive
  // root (C:\).
  virtual std::string ProgramFolder() = 0;

  // The whole command line as the process received it, the program's own name first.
  virtual std::string CommandLine() = 0;

  // The system's description of a failure number (an error code or an HRESULT).
  virtual std::string DescribeFailure(int32_t number) = 0;
};

}  // namespace zelvo
