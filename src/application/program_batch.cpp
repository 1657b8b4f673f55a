// Programs named on the command line or dropped on the window, applied one after another with
// one status line each.
#include "application/program_batch.h"

namespace zelvo {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The status line for one path: its name as stored on disk (empty when nothing stands there),
// and what happened to it.
std::string StatusText(const Texts& texts, const std::string& stored_name,
                       ApplyOutcome::Result result) {
  const auto text = [result] {
    switch (result) {
      case ApplyOutcome::Applied:
        return TextId::Applied;
      case ApplyOutcome::Missing:
        return TextId::MissingStatus;
      case ApplyOutcome::Unreadable:
        return TextId::UnreadableStatus;
      case ApplyOutcome::LinkedManifest:
        return TextId::LinkedManifestStatus;
      case ApplyOutcome::Refused:
      case ApplyOutcome::NeedsAdministrator:
        return TextId::RefusedStatus;
      case ApplyOutcome::Declined:
        break;
    }
    return TextId::Cancelled;
  };
  return texts.Format(text(), {stored_name});
}

}  // namespace

std::string ArgumentText(std::string_view command_line) {
  size_t at = 0;
  if (!command_line.empty() && command_line[0] == '"') {
    // A quoted program name ends at the next quote, whatever follows it.
    const size_t closing = command_line.find('"', 1);
    at = closing == std::string_view::npos ? command_line.size() : closing + 1;
  } else {
    while (at < command_line.size() && !IsBlank(command_line[at])) ++at;
  }
  while (at < command_line.size() && IsBlank(command_line[at])) ++at;
  return std::string(command_line.substr(at));
}

std::vector<std::string> SplitArguments(std::string_view argument_text) {
  // Explorer quotes only the paths that hold a space, so quoting may differ from path to path.
  // A path cannot hold a quote, so a backslash never escapes one.
  std::vector<std::string> paths;
  std::string path;
  bool quoted = false;
  for (char c : argument_text) {
    if (c == '"') {
      quoted = !quoted;
    } else if (!quoted && IsBlank(c)) {
      if (!path.empty()) paths.push_back(std::move(path));
      path.clear();
    } else {
      path += c;
    }
  }
  if (!path.empty()) paths.push_back(std::move(path));
  return paths;
}

ProgramBatch::ProgramBatch(const Texts& texts, ManifestApplier& applier, LogView& view,
                           Elevation& elevation, ErrorTrap& trap)
    : texts_(texts), applier_(applier), view_(view), elevation_(elevation), trap_(trap) {}

template <class Named>
BatchEnd ProgramBatch::ApplyEach(const std::vector<std::string>& paths, Named named) {
  elevation_.NewBatch();
  for (auto path = paths.begin(); path != paths.end(); ++path) {
    ApplyOutcome outcome = applier_.ApplyZelvo(*path);
    if (outcome.result == ApplyOutcome::NeedsAdministrator) {
      if (elevation_.RestartAsAdministrator({path, paths.end()}, TextId::ApplyFailedTitle) ==
          Restart::Started) {
        return BatchEnd::HandedOver;
      }
      outcome.result = ApplyOutcome::Refused;  // not started: this program is left as it was
    }
    // A failed status line is reported by itself; the batch goes on.
    view_.ShowStatusOrReport(StatusText(texts_, named(outcome), outcome.result));
  }
  return BatchEnd::Done;
}

BatchEnd ProgramBatch::ApplyCommandLine(const std::string& argument_text) {
  return trap_.Routine("GetCommandLine()",
                       [&] { return ApplyHandedOver(SplitArguments(argument_text)); });
}

BatchEnd ProgramBatch::ApplyHandedOver(const std::vector<std::string>& programs) {
  return trap_.Routine("GetCommandLine()", [&] {
    if (programs.empty()) return BatchEnd::Done;  // nothing named: the selection stays as it is
    view_.ClearSelection();
    // A shortcut is named by its target's name.
    return ApplyEach(
        programs, [](const ApplyOutcome& outcome) -> const std::string& { return outcome.name; });
  });
}

BatchEnd ProgramBatch::ApplyDroppedFiles(const std::vector<std::string>& dropped_files) {
  return trap_.Routine("ApplyZelvoDropFile()", [&] {
    view_.ClearSelection();
    // A dropped shortcut is named by its own name.
    return ApplyEach(dropped_files, [](const ApplyOutcome& outcome) -> const std::string& {
      return outcome.given_name;
    });
  });
}

}  // namespace zelvo
