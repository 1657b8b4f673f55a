// What the current entry's details, the actions and the status line show for each state of the
// visible list's selection.
#include "application/log_view.h"

#include <gtest/gtest.h>

#include "application/error_report.h"
#include "fakes/fakes.h"
#include "texts.h"

namespace zelvo::testing {
namespace {

struct LogViewTest : ::testing::Test {
  Journal journal;
  FakeDialogs dialogs{&journal};
  FakeEnvironment environment;
  FakeCollator collator;
  FakeView window{&journal};
  ErrorReport report{dialogs, Texts::For("ja"), environment};
  ErrorTrap trap{report};
  LogModel log{collator};
  LogView view{log, window, trap};

  // Loaded in this order, so the keys are 0, 1, 2 and the visible rows A, B, C.
  void LoadThree() {
    log.Load({{"C.exe", "C:\\C\\", "2026/01/03"},
              {"A.exe", "C:\\A\\", "2026/01/01"},
              {"B.exe", "C:\\B\\", "2026/01/02"}});
  }

  // The user's selection, as the list box reports it; the view follows.
  void UserSelects(const std::vector<size_t>& rows, std::optional<size_t> current) {
    log.TakeUserSelection(rows, current);
  }

  void ExpectEnabled(bool enabled) { EXPECT_EQ(window.actions_enabled, enabled); }

  void ExpectDetails(const std::string& name, const std::string& folder, const std::string& date) {
    EXPECT_EQ(window.entry, (FakeView::Entry{name, folder, date}));
  }
};

TEST_F(LogViewTest, AnEmptyLogDisablesTheViewAndEmptiesTheBoxes) {
  window.entry = {"left over", "left over", "left over"};
  view.RefreshActions();
  ExpectEnabled(false);
  ExpectDetails("", "", "");
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(LogViewTest, OneSelectedRowShowsItsOwnFolderAndDate) {
  LoadThree();
  UserSelects({0}, 0);
  ExpectEnabled(true);
  ExpectDetails("A.exe", "C:\\A\\", "2026/01/01");  // key 1: row 1 of the hidden lists

  UserSelects({2}, 2);
  ExpectDetails("C.exe", "C:\\C\\", "2026/01/03");
}

TEST_F(LogViewTest, SeveralSelectedRowsShowTheCurrentOneWithDots) {
  LoadThree();
  UserSelects({0, 1, 2}, 2);  // Shift+click from A to C
  ExpectEnabled(true);
  ExpectDetails("C.exe...", "C:\\C\\", "2026/01/03");

  UserSelects({0, 2}, 0);  // two rows, the current one among them
  ExpectDetails("A.exe...", "C:\\A\\", "2026/01/01");

  UserSelects({0, 1, 2}, 1);  // Ctrl+click adds B and makes it current
  ExpectDetails("B.exe...", "C:\\B\\", "2026/01/02");
}

TEST_F(LogViewTest, UnselectingTheOnlyRowDisablesTheViewButKeepsItsDetails) {
  LoadThree();
  UserSelects({1}, 1);
  UserSelects({}, 1);  // Ctrl+click on B again
  ExpectEnabled(false);
  ExpectDetails("B.exe", "C:\\B\\", "2026/01/02");
}

TEST_F(LogViewTest, ACurrentRowThatIsNotSelectedStillShowsWhenOthersAre) {
  LoadThree();
  UserSelects({0, 2}, 1);  // Ctrl+click unselected B, A and C stay selected
  ExpectEnabled(true);
  ExpectDetails("B.exe...", "C:\\B\\", "2026/01/02");
}

TEST_F(LogViewTest, TwoEntriesOfOneNameShowTheirOwnFolders) {
  log.Load({{"Foo.exe", "C:\\One\\", "2026/01/01"}, {"Foo.exe", "D:\\Two\\", "2026/02/02"}});
  UserSelects({1}, 1);
  ExpectDetails("Foo.exe", "D:\\Two\\", "2026/02/02");
  UserSelects({0}, 0);
  ExpectDetails("Foo.exe", "C:\\One\\", "2026/01/01");
}

TEST_F(LogViewTest, TheStatusLineShowsEachTextUnchanged) {
  const std::string text(300, 'x');
  view.ShowStatus(text);
  EXPECT_EQ(window.status, text);
  view.ShowStatus(expected::CancelledStatus(""));
  EXPECT_EQ(window.status, expected::CancelledStatus(""));
}

TEST_F(LogViewTest, RemoveSelectUnselectsEveryRowAndDisablesTheView) {
  LoadThree();
  UserSelects({0, 2}, 2);
  view.ClearSelection();
  EXPECT_EQ(log.SelectedCount(), 0u);
  for (const auto& row : window.list.rows) EXPECT_FALSE(row.selected) << row.text;
  EXPECT_EQ(log.CurrentRow(), 2u);
  EXPECT_EQ(log.Count(), 3u);
  ExpectEnabled(false);
  ExpectDetails("C.exe", "C:\\C\\", "2026/01/03");
}

TEST_F(LogViewTest, RemoveSelectWithNothingSelectedChangesNothing) {
  LoadThree();
  UserSelects({}, 0);
  window.actions_enabled.reset();
  view.ClearSelection();
  EXPECT_FALSE(window.actions_enabled);
  EXPECT_EQ(log.CurrentRow(), 0u);
  EXPECT_TRUE(journal.empty());
}

}  // namespace
}  // namespace zelvo::testing
