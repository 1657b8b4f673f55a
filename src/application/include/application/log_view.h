// The log view and the status line. The view follows the log model: each change of the rows,
// the selection or the current row reaches the visible list, and then the current entry's
// details and the actions the selection allows are shown anew from the model. One status text
// at a time stands in the status line.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/error_trap.h"
#include "model/log_model.h"
#include "platform/window.h"

namespace zelvo {

class LogView : public LogObserver {
 public:
  // Observes `model` for its life.
  LogView(LogModel& model, MainView& view, ErrorTrap& trap);
  ~LogView() override;
  LogView(const LogView&) = delete;
  LogView& operator=(const LogView&) = delete;

  // Shows the current entry's name ("..." after it when several rows are selected), folder and
  // date, after the actions are enabled or disabled for the selection.
  void ShowCurrentEntry();

  // Enables the actions when a row is selected and there is a current row; otherwise disables
  // them and clears the entry's details.
  void RefreshActions();

  // Shows `text` in the status line.
  void ShowStatus(const std::string& text);
  // The same, where a failure to show it is reported and the caller goes on all the same.
  void ShowStatusOrReport(const std::string& text);

  // Unselects every row of the visible list.
  void ClearSelection();

  // Takes over the selection and current row that the user made in the list.
  void TakeUserSelection();

  // LogObserver: the list follows first (a failure there is the changing procedure's own),
  // then the current entry is shown anew.
  void RowsReplaced() override;
  void RowInserted(size_t row) override;
  void RowsRemoved(const std::vector<size_t>& removed) override;
  void SelectionChanged(std::optional<size_t> row, bool selected) override;
  void CurrentRowChanged() override;
  void UserSelectionTaken() override;

 private:
  void ShowAllRows();

  LogModel& model_;
  MainView& view_;
  ErrorTrap& trap_;
};

}  // namespace zelvo
