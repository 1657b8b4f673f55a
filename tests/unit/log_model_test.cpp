#include "model/log_model.h"

#include <gtest/gtest.h>

#include "fakes/fakes.h"
#include "fakes/rig.h"

namespace zelvo::testing {
namespace {

struct LogModelTest : ::testing::Test {
  // The model as the program runs it: the view passes every change on to the list.
  Rig rig;
  LogModel& log = rig.log;
  FakeListBox& list = rig.view.list;

  void ExpectListMirrorsModel() {
    ASSERT_EQ(list.rows.size(), log.Count());
    for (size_t row = 0; row < log.Count(); ++row) {
      EXPECT_EQ(list.rows[row].text, log.Name(row)) << row;
      EXPECT_EQ(list.rows[row].selected, log.IsSelected(row)) << row;
    }
    EXPECT_EQ(list.current, log.CurrentRow());
  }
};

TEST_F(LogModelTest, LoadSortsIgnoringCaseAndKeysFollowTheFileOrder) {
  log.Load({{"b.exe", "C:\\B\\", "2026/01/02"},
            {"A.exe", "C:\\A\\", "2026/01/01"},
            {"a.exe", "C:\\A2\\", "2026/01/03"}});
  ASSERT_EQ(log.Count(), 3u);
  EXPECT_EQ(log.Name(0), "A.exe");
  EXPECT_EQ(log.Key(0), 1);
  EXPECT_EQ(log.Name(1), "a.exe");  // equal names keep the file's order
  EXPECT_EQ(log.Key(1), 2);
  EXPECT_EQ(log.Name(2), "b.exe");
  EXPECT_EQ(log.Key(2), 0);
  EXPECT_EQ(log.InItemData(2)->folder, "C:\\A2\\");
  EXPECT_EQ(log.SelectedCount(), 0u);
  EXPECT_FALSE(log.CurrentRow());
  ExpectListMirrorsModel();
}

TEST_F(LogModelTest, AddTakesCountPlusOneOrAnotherFreeKey) {
  EXPECT_EQ(log.Add({"x.exe", "C:\\", "d"}), 0u);
  EXPECT_EQ(log.Key(0), 1);
  log.Add({"y.exe", "C:\\", "d"});
  EXPECT_EQ(log.Key(1), 2);

  // Removing x.exe leaves one row, so count + 1 = 2 is y.exe's key: another one is taken.
  log.SetSelected(0, true);
  log.RemoveSelected();
  EXPECT_EQ(log.Key(0), 2);
  const size_t row = log.Add({"z.exe", "C:\\", "d"});
  EXPECT_NE(log.Key(row), 2);
  EXPECT_EQ(log.InItemData(log.Key(row))->name, "z.exe");
  EXPECT_EQ(log.InItemData(2)->name, "y.exe");
  ExpectListMirrorsModel();

  // A loaded log of n entries has the keys 0 .. n - 1: the next one gets n + 1.
  log.Load({{"k0.exe", "C:\\", "d"}, {"k1.exe", "C:\\", "d"}, {"k2.exe", "C:\\", "d"}});
  EXPECT_EQ(log.Key(log.Add({"new.exe", "C:\\", "d"})), 4);
}

TEST_F(LogModelTest, AddPlacesAfterEqualNamesAndShiftsTheCurrentRow) {
  log.Add({"b.exe", "1", ""});
  log.SetCurrentRow(0);
  EXPECT_EQ(log.Add({"a.exe", "2", ""}), 0u);
  EXPECT_EQ(log.CurrentRow(), 1u);
  EXPECT_EQ(log.Add({"B.EXE", "3", ""}), 2u);
  ExpectListMirrorsModel();
}

TEST_F(LogModelTest, InItemDataTellsAMissingKeyApart) {
  EXPECT_EQ(log.InItemData(0), nullptr);
  log.Add({"a.exe", "C:\\", ""});
  EXPECT_EQ(log.InItemData(0), nullptr);
  EXPECT_NE(log.InItemData(1), nullptr);
}

TEST_F(LogModelTest, RemoveSelectedKeepsOthersKeysAndMovesTheCurrentRow) {
  std::vector<LogEntry> entries;
  for (char c = 'a'; c <= 'f'; ++c) entries.push_back({std::string(1, c) + ".exe", "", ""});
  log.Load(entries);
  log.SetSelected(1, true);
  log.SetSelected(2, true);
  log.SetSelected(4, true);
  log.SetCurrentRow(2);
  log.RemoveSelected();
  ASSERT_EQ(log.Count(), 3u);
  EXPECT_EQ(log.Name(0), "a.exe");
  EXPECT_EQ(log.Name(1), "d.exe");
  EXPECT_EQ(log.Key(1), 3);
  EXPECT_EQ(log.Name(2), "f.exe");
  EXPECT_EQ(log.CurrentRow(), 1u);  // the first row kept after the removed current one
  EXPECT_EQ(log.SelectedCount(), 0u);
  EXPECT_EQ(log.InItemData(1), nullptr);
  ExpectListMirrorsModel();
}

TEST_F(LogModelTest, RemovingManyRowsRefillsTheListOnce) {
  std::vector<LogEntry> entries(500, LogEntry{"p.exe", "", ""});
  log.Load(entries);
  log.SetAllSelected(true);
  log.SetSelected(250, false);
  log.SetCurrentRow(499);
  log.RemoveSelected();
  EXPECT_EQ(log.Count(), 1u);
  EXPECT_EQ(log.Key(0), 250);
  EXPECT_EQ(log.CurrentRow(), 0u);
  ExpectListMirrorsModel();
}

TEST_F(LogModelTest, UserSelectionIsTakenOverWithoutEchoingToTheList) {
  log.Load({{"a", "", ""}, {"b", "", ""}, {"c", "", ""}});
  list.rows[0].selected = list.rows[2].selected = true;
  log.TakeUserSelection({0, 2}, 2);
  EXPECT_EQ(log.SelectedCount(), 2u);
  EXPECT_EQ(log.SelectedRows(), (std::vector<size_t>{0, 2}));
  EXPECT_EQ(log.CurrentRow(), 2u);
  log.SetAllSelected(false);
  EXPECT_EQ(log.SelectedCount(), 0u);
  EXPECT_FALSE(list.rows[2].selected);
}

}  // namespace
}  // namespace zelvo::testing
