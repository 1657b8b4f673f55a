// The log view and the status line: the detail boxes and the enabled state of the six
// controls follow the selection of the visible list, and one status text at a time stands in
// the status label. A list box reports only the user's changes to its selection, so every
// procedure that changes the selection runs the click handling itself, once.
#pragma once

#include <string>

#include "app/error_report.h"
#include "log/log_model.h"
#include "platform/window.h"

namespace zelvo {

class LogView {
 public:
  LogView(LogModel& model, WindowControls& controls, ErrorTrap& trap);

  // The selection of the visible list has changed: refresh the controls and show the current
  // entry's name ("..." after it when several rows are selected), folder and date.
  void lstLogName_Click();

  // Enables the six controls when a row is selected and there is a current row; otherwise
  // disables them and empties the detail boxes.
  int RefreshButton();

  // Shows `text` in the status label, as its caption and its tool tip.
  int PutInformation(const std::string& text);

  // Unselects every row of the visible list.
  int RemoveSelect();

 private:
  LogModel& model_;
  WindowControls& controls_;
  ErrorTrap& trap_;
};

}  // namespace zelvo
