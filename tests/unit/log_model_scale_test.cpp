// The log model with large logs: removing every row, or a scattered part of them, keeps each
// remaining entry with its own key, folder and date, and leaves no key behind.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fakes.h"
#include "fakes/rig.h"
#include "model/log_model.h"

namespace zelvo::testing {
namespace {

struct LogModelScaleTest : ::testing::Test {
  // The model as the program runs it: the view passes every change on to the list.
  Rig rig;
  LogModel& log = rig.log;
  FakeListBox& list = rig.view.list;

  // Entries in the reverse of their sorted order, so that keys and rows differ.
  static std::vector<LogEntry> Entries(int count) {
    std::vector<LogEntry> entries;
    for (int i = count - 1; i >= 0; --i) {
      char name[32];
      std::snprintf(name, sizeof name, "p%06d.exe", i);
      entries.push_back({name, "C:\\Tools\\" + std::to_string(i) + "\\", std::to_string(i)});
    }
    return entries;
  }

  void ExpectListMirrorsModel() {
    ASSERT_EQ(list.rows.size(), log.Count());
    for (size_t row = 0; row < log.Count(); ++row) {
      ASSERT_EQ(list.rows[row].text, log.Name(row)) << row;
      ASSERT_EQ(list.rows[row].selected, log.IsSelected(row)) << row;
    }
    EXPECT_EQ(list.current, log.CurrentRow());
  }
};

TEST_F(LogModelScaleTest, RemovingEveryRowLeavesNoEntryAndGivesKeysAfresh) {
  constexpr int kCount = 20000;
  log.Load(Entries(kCount));
  log.SetAllSelected(true);
  log.SetCurrentRow(kCount / 2);
  log.RemoveSelected();

  EXPECT_EQ(log.Count(), 0u);
  EXPECT_EQ(log.SelectedCount(), 0u);
  EXPECT_FALSE(log.CurrentRow());
  for (int32_t key : {0, 1, kCount / 2, kCount - 1}) EXPECT_EQ(log.InItemData(key), nullptr) << key;
  ExpectListMirrorsModel();

  // The log is empty, so the next entry takes the key Count() + 1 again.
  EXPECT_EQ(log.Add({"new.exe", "C:\\New\\", "2026/12/07"}), 0u);
  EXPECT_EQ(log.Key(0), 1);
  ASSERT_NE(log.InItemData(1), nullptr);
  EXPECT_EQ(log.InItemData(1)->folder, "C:\\New\\");
  ExpectListMirrorsModel();
}

TEST_F(LogModelScaleTest, RemovingAScatteredPartKeepsEveryOtherEntryWhole) {
  constexpr int kCount = 20000;
  log.Load(Entries(kCount));
  // Rows are sorted by name: row r holds p<r>.exe, which was entry kCount - 1 - r of the file.
  for (size_t row = 0; row < log.Count(); ++row) {
    if (row % 3 != 1) log.SetSelected(row, true);
  }
  log.SetCurrentRow(3);  // removed: moves to the first row kept after it, p000004.exe
  log.RemoveSelected();

  ASSERT_EQ(log.Count(), static_cast<size_t>((kCount + 1) / 3));  // rows 1, 4, 7 ...
  for (size_t row = 0; row < log.Count(); ++row) {
    const int number = static_cast<int>(row * 3 + 1);
    const int32_t key = kCount - 1 - number;
    ASSERT_EQ(log.Key(row), key) << row;
    const LogEntry* entry = log.InItemData(key);
    ASSERT_NE(entry, nullptr) << row;
    ASSERT_EQ(entry->name, log.Name(row));
    ASSERT_EQ(entry->folder, "C:\\Tools\\" + std::to_string(number) + "\\");
    ASSERT_EQ(entry->date, std::to_string(number));
  }
  EXPECT_EQ(log.InItemData(kCount - 1), nullptr);  // p000000.exe, removed
  EXPECT_EQ(log.CurrentRow(), 1u);
  ExpectListMirrorsModel();
}

}  // namespace
}  // namespace zelvo::testing
