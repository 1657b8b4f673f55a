// The report box of an unexpected failure, and the error trap: routines name the failure on its
// way out, the innermost one winning, and the guard around an event reports it once.
#include "application/error_report.h"

#include <gtest/gtest.h>

#include "fakes/fakes.h"
#include "texts.h"

namespace zelvo::testing {
namespace {

struct ErrorReportTest : ::testing::Test {
  FakeDialogs dialogs;
  FakeEnvironment environment;
  const Texts& texts = Texts::For("ja");
  ErrorReport report{dialogs, texts, environment};
  ErrorTrap trap{report};
};

TEST_F(ErrorReportTest, ReportHasSixLinesTitleOkAndStopIcon) {
  report.ReportError("LoadListData()", Failure(5, "アクセスが拒否されました。"));
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0], Notice("予期せぬエラーが発生しました。\r\n"
                                     "以下の情報を元に作成者に連絡して下さい。\r\n"
                                     "\r\n"
                                     "エラー元 ： LoadListData()\r\n"
                                     "エラー番号 ： 5\r\n"
                                     "エラー内容 ： アクセスが拒否されました。",
                                     "予期せぬエラーの発生", Icon::Stop));
  EXPECT_EQ(dialogs.shown[0],
            expected::ErrorReport("LoadListData()", 5, "アクセスが拒否されました。"));
}

TEST_F(ErrorReportTest, NegativeNumberKeepsItsSignAndEmptyDescriptionKeepsItsLine) {
  report.ReportError("ApplyZelvo()", Failure(static_cast<int32_t>(0x80070005), ""));
  EXPECT_EQ(dialogs.shown.at(0).text,
            "予期せぬエラーが発生しました。\r\n以下の情報を元に作成者に連絡して下さい。\r\n\r\n"
            "エラー元 ： ApplyZelvo()\r\nエラー番号 ： -2147024891\r\nエラー内容 ： ");
}

TEST_F(ErrorReportTest, TheInnermostRoutineNamesTheFailureAndTheGuardReportsItOnce) {
  EXPECT_TRUE(trap.Guard("cmdShell_Click()", [] {}));
  EXPECT_TRUE(dialogs.shown.empty());

  // A failure in BackupManifest, called by ApplyZelvo, called in a drop.
  EXPECT_FALSE(trap.Guard("Form_OLEDragDrop()", [&] {
    trap.Routine("ApplyZelvo()",
                 [&] { trap.Routine("BackupManifest()", [] { throw Failure(183, "既に存在"); }); });
  }));
  EXPECT_EQ(dialogs.shown,
            std::vector<Message>{expected::ErrorReport("BackupManifest()", 183, "既に存在")});

  // A failure in no routine is the event's own.
  dialogs.shown.clear();
  EXPECT_FALSE(trap.Guard("cmdShell_Click()", [] { throw Failure(2, "x"); }));
  EXPECT_EQ(dialogs.shown, std::vector<Message>{expected::ErrorReport("cmdShell_Click()", 2, "x")});
}

TEST_F(ErrorReportTest, RuntimeFailuresBecomeHresults) {
  EXPECT_FALSE(trap.Guard("Form_QueryUnload()",
                          [&] { trap.Routine("SaveListData()", [] { throw std::bad_alloc(); }); }));
  EXPECT_FALSE(trap.Guard("Form_Load()", [&] {
    trap.Routine("LoadListData()", [] { throw std::logic_error("odd"); });
  }));
  ASSERT_EQ(dialogs.shown.size(), 2u);
  EXPECT_EQ(dialogs.shown[0],
            expected::ErrorReport("SaveListData()", -2147024882, "説明 -2147024882"));
  EXPECT_EQ(dialogs.shown[1], expected::ErrorReport("LoadListData()", -2147418113, "odd"));
}

TEST_F(ErrorReportTest, AGuardLetsNothingThrough) {
  // What leaves a callback is caught whatever it is.
  EXPECT_FALSE(trap.Guard("frmMain_WindowProc()", [] { throw 42; }));
  EXPECT_EQ(dialogs.shown, std::vector<Message>{expected::ErrorReport(
                               "frmMain_WindowProc()", -2147418113, "説明 -2147418113")});
}

}  // namespace
}  // namespace zelvo::testing
