#include "model/log_model.h"

#include <algorithm>
#include <functional>
#include <limits>

#include "model/file_names.h"

namespace zelvo {
namespace {

// Frees rows in the order they lie in memory. In the order of the list they are scattered over
// the heap, and freeing a large log that way took several times as long per row as a small one.
template <class Row>
void FreeInMemoryOrder(std::vector<std::unique_ptr<Row>>& rows) {
  std::sort(rows.begin(), rows.end(), [](const auto& left, const auto& right) {
    return std::less<const Row*>()(left.get(), right.get());
  });
  rows.clear();
}

}  // namespace

bool NamesOneFile(const LogEntry& entry) {
  return IsPlainFileName(entry.name) && IsNormalFolder(entry.folder);
}

LogModel::LogModel(const Collator& collator) : collator_(collator) {}

const LogEntry* LogModel::InItemData(int32_t key) const {
  auto found = keys_.find(key);
  return found == keys_.end() ? nullptr : &found->second->entry;
}

std::vector<size_t> LogModel::SelectedRows() const {
  std::vector<size_t> selected;
  selected.reserve(selected_count_);
  for (size_t row = 0; row < rows_.size() && selected.size() < selected_count_; ++row) {
    if (rows_[row]->selected) selected.push_back(row);
  }
  return selected;
}

void LogModel::SetSelected(size_t row, bool selected) {
  Row& target = *rows_.at(row);
  if (target.selected == selected) return;
  target.selected = selected;
  selected ? ++selected_count_ : --selected_count_;
  if (observer_) observer_->SelectionChanged(row, selected);
}

void LogModel::SetAllSelected(bool selected) {
  for (auto& row : rows_) row->selected = selected;
  selected_count_ = selected ? rows_.size() : 0;
  if (observer_) observer_->SelectionChanged(std::nullopt, selected);
}

void LogModel::SetCurrentRow(std::optional<size_t> row) {
  if (row && *row >= rows_.size()) row.reset();
  current_ = row;
  if (observer_) observer_->CurrentRowChanged();
}

void LogModel::TakeUserSelection(const std::vector<size_t>& selected_rows,
                                 std::optional<size_t> current) {
  for (auto& row : rows_) row->selected = false;
  selected_count_ = 0;
  for (size_t index : selected_rows) {
    if (index < rows_.size() && !rows_[index]->selected) {
      rows_[index]->selected = true;
      ++selected_count_;
    }
  }
  current_ = current && *current < rows_.size() ? current : std::nullopt;
  if (observer_) observer_->UserSelectionTaken();
}

int32_t LogModel::FreeKey() const {
  const int64_t preferred = static_cast<int64_t>(rows_.size()) + 1;
  if (preferred <= std::numeric_limits<int32_t>::max() &&
      !keys_.contains(static_cast<int32_t>(preferred))) {
    return static_cast<int32_t>(preferred);
  }
  if (highest_key_ < std::numeric_limits<int32_t>::max()) return highest_key_ + 1;
  // Every key up to the largest has been given once; some of them are free again.
  int32_t key = 0;
  while (keys_.contains(key)) ++key;
  return key;
}

size_t LogModel::SortedPosition(const std::string& sort_key) const {
  auto after = std::upper_bound(
      rows_.begin(), rows_.end(), sort_key,
      [](const std::string& key, const std::unique_ptr<Row>& row) { return key < row->sort_key; });
  return static_cast<size_t>(after - rows_.begin());
}

size_t LogModel::Add(LogEntry entry) {
  auto row = std::make_unique<Row>();
  row->key = FreeKey();
  row->sort_key = collator_.SortKey(entry.name);
  row->entry = std::move(entry);

  const size_t position = SortedPosition(row->sort_key);
  keys_.emplace(row->key, row.get());
  highest_key_ = std::max(highest_key_, row->key);
  rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(position), std::move(row));
  if (current_ && *current_ >= position) ++*current_;
  if (observer_) observer_->RowInserted(position);
  return position;
}

void LogModel::Load(std::vector<LogEntry> entries) {
  std::vector<std::unique_ptr<Row>> rows;
  rows.reserve(entries.size());
  for (auto& entry : entries) {
    auto row = std::make_unique<Row>();
    row->key = static_cast<int32_t>(rows.size());
    row->sort_key = collator_.SortKey(entry.name);
    row->entry = std::move(entry);
    rows.push_back(std::move(row));
  }
  std::stable_sort(rows.begin(), rows.end(), [](const auto& left, const auto& right) {
    return left->sort_key < right->sort_key;
  });

  FreeInMemoryOrder(rows_);
  rows_ = std::move(rows);
  keys_.clear();
  keys_.reserve(rows_.size());
  for (const auto& row : rows_) keys_.emplace(row->key, row.get());
  highest_key_ = static_cast<int32_t>(rows_.size()) - 1;
  selected_count_ = 0;
  current_.reset();
  if (observer_) observer_->RowsReplaced();
}

void LogModel::RemoveSelected() {
  if (selected_count_ == 0) return;

  const bool removing_all = selected_count_ == rows_.size();
  std::vector<size_t> removed;
  std::vector<std::unique_ptr<Row>> kept;
  std::vector<std::unique_ptr<Row>> gone;
  kept.reserve(rows_.size() - selected_count_);
  gone.reserve(selected_count_);
  std::optional<size_t> current;
  for (size_t index = 0; index < rows_.size(); ++index) {
    if (rows_[index]->selected) {
      if (!removing_all) keys_.erase(rows_[index]->key);
      removed.push_back(index);
      gone.push_back(std::move(rows_[index]));
    } else {
      // The current row stays on its entry, or moves to the first row kept after it.
      if (current_ && !current && index >= *current_) current = kept.size();
      kept.push_back(std::move(rows_[index]));
    }
  }
  if (current_ && !current && !kept.empty()) current = kept.size() - 1;

  if (removing_all) keys_.clear();
  FreeInMemoryOrder(gone);
  rows_ = std::move(kept);
  selected_count_ = 0;
  current_ = current;
  if (observer_) observer_->RowsRemoved(removed);
}

}  // namespace zelvo
