// The log view and the status line. The view follows the log model: each change of the rows,
// the selection or the current row reaches the visible list, and then the detail boxes and the
// enabled state of the six controls are refreshed from the model (the list's click handling).
// One status text at a time stands in the status label.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/error_trap.h"
#include "base/status.h"
#include "model/log_model.h"
#include "platform/window.h"

namespace zelvo {

class LogView : public LogObserver {
 public:
  // Observes `model` for its life.
  LogView(LogModel& model, WindowControls& controls, ListBox& list, ErrorTrap& trap);
  ~LogView() override;
  LogView(const LogView&) = delete;
  LogView& operator=(const LogView&) = delete;

  // The selection of the visible list has changed: refresh the controls and show the current
  // entry's name ("..." after it when several rows are selected), folder and date.
  void lstLogName_Click();

  // Enables the six controls when a row is selected and there is a current row; otherwise
  // disables them and empties the detail boxes.
  Status RefreshButton();

  // Shows `text` in the status label, as its caption and its tool tip.
  Status PutInformation(const std::string& text);

  // Unselects every row of the visible list.
  Status RemoveSelect();

  // LogObserver: the list follows first (a failure there is the changing procedure's own),
  // then the click handling refreshes the rest.
  void RowsReplaced() override;
  void RowInserted(size_t row) override;
  void RowsRemoved(const std::vector<size_t>& removed) override;
  void SelectionChanged(std::optional<size_t> row, bool selected) override;
  void CurrentRowChanged() override;
  void UserSelectionTaken() override;

 private:
  void ShowAllRows();

  LogModel& model_;
  WindowControls& controls_;
  ListBox& list_;
  ErrorTrap& trap_;
};

}  // namespace zelvo
