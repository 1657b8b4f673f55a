// What a Zelvo hands to the Zelvo it starts as administrator: its log as it stands (the entries
// of the run included, so that none is lost when Zelvo's own folder cannot be written but by an
// administrator) and the programs of the batch still to apply, as full paths. The bytes travel
// through a file of the user's; any bytes may stand there, so reading them checks everything.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/log_model.h"
#include "platform/environment.h"

namespace zelvo {

struct HandOver {
  // The log in the order of the visible list.
  std::vector<LogEntry> log;
  // What the log file was when some of its entries were not taken at start (see
  // ParsedLogFile), so that the new Zelvo keeps it when it saves; empty when all were.
  std::string left_behind;
  // The programs still to apply, in order.
  std::vector<std::string> programs;

  bool operator==(const HandOver&) const = default;
};

std::string FormatHandOver(const HandOver& hand_over);

// The hand-over in `bytes`, or nothing when they are not one whole.
std::optional<HandOver> ParseHandOver(std::string_view bytes);

}  // namespace zelvo
