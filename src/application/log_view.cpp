#include "application/log_view.h"

namespace zelvo {
namespace {

// Removing more rows than this from the list control one by one costs more than filling it
// again with the rows that stay.
constexpr size_t kRowsRemovedOneByOne = 64;

constexpr Control kFollowSelection[] = {Control::cmdReturn,  Control::cmdDelLog,
                                        Control::cmdShell,   Control::txtLogName,
                                        Control::txtLogData, Control::txtLogPath};

}  // namespace

LogView::LogView(LogModel& model, WindowControls& controls, ListBox& list, ErrorTrap& trap)
    : model_(model), controls_(controls), list_(list), trap_(trap) {
  model_.SetObserver(this);
}

LogView::~LogView() { model_.SetObserver(nullptr); }

void LogView::lstLogName_Click() {
  trap_.Handler("lstLogName_Click()", [&] {
    if (RefreshButton() == Status::Failed) trap_.EndProgram();
    const auto current = model_.CurrentRow();
    if (!current) return;  // nothing to show; RefreshButton has emptied the boxes

    const std::string suffix = model_.SelectedCount() > 1 ? "..." : "";
    controls_.SetText(Control::txtLogName, model_.Name(*current) + suffix);
    // Every visible row has its entry; should one ever lack it, show nothing rather than
    // another entry's folder and date.
    const LogEntry* entry = model_.InItemData(model_.Key(*current));
    controls_.SetText(Control::txtLogPath, entry ? entry->folder : std::string());
    controls_.SetText(Control::txtLogData, entry ? entry->date : std::string());
  });
}

Status LogView::RefreshButton() {
  return trap_.Procedure("RefreshButton()", [&] {
    const bool enabled = model_.SelectedCount() > 0 && model_.CurrentRow().has_value();
    if (!enabled) {
      controls_.SetText(Control::txtLogName, {});
      controls_.SetText(Control::txtLogData, {});
      controls_.SetText(Control::txtLogPath, {});
    }
    for (Control control : kFollowSelection) controls_.SetEnabled(control, enabled);
    return Status::Done;
  });
}

Status LogView::PutInformation(const std::string& text) {
  return trap_.Procedure("PutInformation()", [&] {
    controls_.SetText(Control::lblInformation, text);
    controls_.SetToolTip(Control::lblInformation, text);
    return Status::Done;
  });
}

Status LogView::RemoveSelect() {
  return trap_.Procedure("RemoveSelect()", [&] {
    if (model_.SelectedCount() > 0) model_.SetAllSelected(false);
    return Status::Done;
  });
}

void LogView::ShowAllRows() {
  std::vector<std::string_view> names;
  names.reserve(model_.Count());
  for (size_t row = 0; row < model_.Count(); ++row) names.push_back(model_.Name(row));
  list_.ResetRows(names);
}

void LogView::RowsReplaced() {
  ShowAllRows();
  lstLogName_Click();
}

void LogView::RowInserted(size_t row) {
  // The current entry and the selection stay as they were: nothing else to refresh.
  list_.InsertRow(row, model_.Name(row));
}

void LogView::RowsRemoved(const std::vector<size_t>& removed) {
  if (removed.size() <= kRowsRemovedOneByOne) {
    for (auto row = removed.rbegin(); row != removed.rend(); ++row) list_.RemoveRow(*row);
  } else {
    ShowAllRows();
  }
  list_.SetCurrentRow(model_.CurrentRow());
  lstLogName_Click();
}

void LogView::SelectionChanged(std::optional<size_t> row, bool selected) {
  if (row) {
    list_.SetSelected(*row, selected);
  } else {
    list_.SetAllSelected(selected);
  }
  lstLogName_Click();
}

void LogView::CurrentRowChanged() {
  list_.SetCurrentRow(model_.CurrentRow());
  lstLogName_Click();
}

void LogView::UserSelectionTaken() { lstLogName_Click(); }

}  // namespace zelvo
