// What the detail boxes, the six controls and the status line show for each state of the
// visible list's selection.
#include "application/log_view.h"

#include <gtest/gtest.h>

#include "application/error_report.h"
#include "fakes/fakes.h"
#include "texts.h"

namespace zelvo::testing {
namespace {

constexpr Control kSwitched[] = {Control::cmdReturn,  Control::cmdDelLog,  Control::cmdShell,
                                 Control::txtLogName, Control::txtLogData, Control::txtLogPath};

struct LogViewTest : ::testing::Test {
  Journal journal;
  FakeDialogs dialogs{&journal};
  FakeEnvironment environment;
  FakeCollator collator;
  FakeControls controls{&journal};
  ErrorReport report{dialogs, Texts::For("ja"), environment};
  ErrorTrap trap{report};
  LogModel log{collator};
  LogView view{log, controls, controls.list, trap};

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

  void ExpectEnabled(bool enabled) {
    for (Control control : kSwitched) {
      ASSERT_TRUE(controls.enabled.contains(control));
      EXPECT_EQ(controls.enabled[control], enabled) << static_cast<int>(control);
    }
  }

  void ExpectDetails(const std::string& name, const std::string& folder, const std::string& date) {
    EXPECT_EQ(controls.text[Control::txtLogName], name);
    EXPECT_EQ(controls.text[Control::txtLogPath], folder);
    EXPECT_EQ(controls.text[Control::txtLogData], date);
  }
};

TEST_F(LogViewTest, AnEmptyLogDisablesTheViewAndEmptiesTheBoxes) {
  controls.text[Control::txtLogName] = "left over";
  controls.text[Control::txtLogPath] = "left over";
  controls.text[Control::txtLogData] = "left over";
  EXPECT_EQ(view.RefreshButton(), Status::Done);
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

TEST_F(LogViewTest, PutInformationSetsCaptionAndToolTipUnchanged) {
  const std::string text(300, 'x');
  EXPECT_EQ(view.PutInformation(text), Status::Done);
  EXPECT_EQ(controls.text[Control::lblInformation], text);
  EXPECT_EQ(controls.tool_tip[Control::lblInformation], text);
  EXPECT_EQ(view.PutInformation(expected::CancelledStatus("")), Status::Done);
  EXPECT_EQ(controls.text[Control::lblInformation], expected::CancelledStatus(""));
  EXPECT_EQ(controls.tool_tip[Control::lblInformation], expected::CancelledStatus(""));
}

TEST_F(LogViewTest, RemoveSelectUnselectsEveryRowAndDisablesTheView) {
  LoadThree();
  UserSelects({0, 2}, 2);
  EXPECT_EQ(view.RemoveSelect(), Status::Done);
  EXPECT_EQ(log.SelectedCount(), 0u);
  for (const auto& row : controls.list.rows) EXPECT_FALSE(row.selected) << row.text;
  EXPECT_EQ(log.CurrentRow(), 2u);
  EXPECT_EQ(log.Count(), 3u);
  ExpectEnabled(false);
  ExpectDetails("C.exe", "C:\\C\\", "2026/01/03");
}

TEST_F(LogViewTest, RemoveSelectWithNothingSelectedChangesNothing) {
  LoadThree();
  UserSelects({}, 0);
  controls.enabled.clear();
  EXPECT_EQ(view.RemoveSelect(), Status::Done);
  EXPECT_TRUE(controls.enabled.empty());
  EXPECT_EQ(log.CurrentRow(), 0u);
  EXPECT_TRUE(journal.empty());
}

}  // namespace
}  // namespace zelvo::testing
