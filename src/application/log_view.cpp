#include "application/log_view.h"

namespace zelvo {
namespace {

// Removing more rows than this from the list one by one costs more than filling it again with
// the rows that stay.
constexpr size_t kRowsRemovedOneByOne = 64;

}  // namespace

LogView::LogView(LogModel& model, MainView& view, ErrorTrap& trap)
    : model_(model), view_(view), trap_(trap) {
  model_.SetObserver(this);
}

LogView::~LogView() { model_.SetObserver(nullptr); }

void LogView::ShowCurrentEntry() {
  trap_.Routine("lstLogName_Click()", [&] {
    RefreshActions();
    const auto current = model_.CurrentRow();
    if (!current) return;  // nothing to show; the details are cleared

    const std::string suffix = model_.SelectedCount() > 1 ? "..." : "";
    // Every visible row has its entry; should one ever lack it, show nothing rather than
    // another entry's folder and date.
    const LogEntry* entry = model_.InItemData(model_.Key(*current));
    view_.ShowEntry(model_.Name(*current) + suffix, entry ? entry->folder : std::string(),
                    entry ? entry->date : std::string());
  });
}

void LogView::RefreshActions() {
  trap_.Routine("RefreshButton()", [&] {
    const bool enabled = model_.SelectedCount() > 0 && model_.CurrentRow().has_value();
    if (!enabled) view_.ShowEntry({}, {}, {});
    view_.EnableActions(enabled);
  });
}

void LogView::ShowStatus(const std::string& text) {
  trap_.Routine("PutInformation()", [&] { view_.ShowStatus(text); });
}

void LogView::ShowStatusOrReport(const std::string& text) {
  (void)trap_.Guard("PutInformation()", [&] { ShowStatus(text); });
}

void LogView::ClearSelection() {
  trap_.Routine("RemoveSelect()", [&] {
    if (model_.SelectedCount() > 0) model_.SetAllSelected(false);
  });
}

void LogView::TakeUserSelection() {
  const ListSelection selection = view_.Rows().UserSelection();
  model_.TakeUserSelection(selection.rows, selection.current);
}

void LogView::ShowAllRows() {
  std::vector<std::string_view> names;
  names.reserve(model_.Count());
  for (size_t row = 0; row < model_.Count(); ++row) names.push_back(model_.Name(row));
  view_.Rows().ResetRows(names);
}

void LogView::RowsReplaced() {
  ShowAllRows();
  ShowCurrentEntry();
}

void LogView::RowInserted(size_t row) {
  // The current entry and the selection stay as they were: nothing else to show anew.
  view_.Rows().InsertRow(row, model_.Name(row));
}

void LogView::RowsRemoved(const std::vector<size_t>& removed) {
  ListBox& rows = view_.Rows();
  if (removed.size() <= kRowsRemovedOneByOne) {
    for (auto row = removed.rbegin(); row != removed.rend(); ++row) rows.RemoveRow(*row);
  } else {
    ShowAllRows();
  }
  rows.SetCurrentRow(model_.CurrentRow());
  ShowCurrentEntry();
}

void LogView::SelectionChanged(std::optional<size_t> row, bool selected) {
  if (row) {
    view_.Rows().SetSelected(*row, selected);
  } else {
    view_.Rows().SetAllSelected(selected);
  }
  ShowCurrentEntry();
}

void LogView::CurrentRowChanged() {
  view_.Rows().SetCurrentRow(model_.CurrentRow());
  ShowCurrentEntry();
}

void LogView::UserSelectionTaken() { ShowCurrentEntry(); }

}  // namespace zelvo
