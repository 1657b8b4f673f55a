// The log of applied programs: one entry per application (program name, folder, date), tied by
// a key that is unique among the entries present. The visible list shows the names sorted in
// the user's collation, ignoring case; the folder and date of a visible row are found by its
// key, never by position. The model owns the rows, the selection and the current row, and tells
// its observer of every change once the change is complete.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/text_codec.h"

namespace zelvo {

struct LogEntry {
  std::string name;    // Foo.exe
  std::string folder;  // C:\Tools\ (ends with a backslash)
  std::string date;    // 2026/12/06

  bool operator==(const LogEntry&) const = default;
};

// Whether the entry names one file as the program writes entries: a plain file name in a full
// folder in normal form. The log file lies beside the tool, where any program of the user may
// edit it: an entry that names anything else (..\\victim\\v.exe, a device, a relative folder) is
// shown and saved as it stands, and counts as not found for restore and launch.
bool NamesOneFile(const LogEntry& entry);

// What changed in the log, as the model tells it. Each call comes after the change is complete,
// once per change; the model's state may be read during the call.
class LogObserver {
 public:
  virtual ~LogObserver() = default;
  // Every row was replaced (a load): nothing is selected, there is no current row.
  virtual void RowsReplaced() = 0;
  // An entry was added at visible row `row`; the rows from there on moved down by one.
  virtual void RowInserted(size_t row) = 0;
  // The rows `removed` (ascending, numbered as before) were removed; nothing is selected, and
  // the current row moved as RemoveSelected says.
  virtual void RowsRemoved(const std::vector<size_t>& removed) = 0;
  // The program selected or unselected `row`, or every row when there is none.
  virtual void SelectionChanged(std::optional<size_t> row, bool selected) = 0;
  // The program moved the current row.
  virtual void CurrentRowChanged() = 0;
  // The model took over a selection and current row that the user made in the list control.
  virtual void UserSelectionTaken() = 0;
};

class LogModel {
 public:
  explicit LogModel(const Collator& collator);
  LogModel(const LogModel&) = delete;
  LogModel& operator=(const LogModel&) = delete;

  // The one observer of the changes, or none.
  void SetObserver(LogObserver* observer) { observer_ = observer; }

  // Visible rows, in sorted order.
  size_t Count() const { return rows_.size(); }
  const std::string& Name(size_t row) const { return rows_[row]->entry.name; }
  int32_t Key(size_t row) const { return rows_[row]->key; }

  // The entry that holds `key` (its folder and date are the rows of the hidden lists), or null
  // when no entry holds it.
  const LogEntry* InItemData(int32_t key) const;

  // Selection and current row of the visible list.
  bool IsSelected(size_t row) const { return rows_[row]->selected; }
  size_t SelectedCount() const { return selected_count_; }
  std::vector<size_t> SelectedRows() const;
  std::optional<size_t> CurrentRow() const { return current_; }
  void SetSelected(size_t row, bool selected);
  void SetAllSelected(bool selected);
  void SetCurrentRow(std::optional<size_t> row);
  // Takes over a selection the user made in the list control.
  void TakeUserSelection(const std::vector<size_t>& selected_rows, std::optional<size_t> current);

  // Adds an entry under the key `Count() + 1`, or another free key when that one is held, and
  // returns the visible row where it was placed (after any rows that sort equal to it).
  size_t Add(LogEntry entry);

  // Replaces the whole log; the entries get the keys 0, 1, 2 ... in the given order. Nothing is
  // selected and there is no current row afterwards.
  void Load(std::vector<LogEntry> entries);

  // Removes every selected entry. The rows keep their order and the others keep their keys;
  // the current row stays on its entry, or moves to the nearest remaining row.
  void RemoveSelected();

 private:
  struct Row {
    int32_t key;
    LogEntry entry;
    std::string sort_key;
    bool selected = false;
  };

  int32_t FreeKey() const;
  size_t SortedPosition(const std::string& sort_key) const;

  const Collator& collator_;
  LogObserver* observer_ = nullptr;
  std::vector<std::unique_ptr<Row>> rows_;        // visible order
  std::unordered_map<int32_t, const Row*> keys_;  // every entry, by key
  int32_t highest_key_ = -1;
  size_t selected_count_ = 0;
  std::optional<size_t> current_;
};

}  // namespace zelvo
