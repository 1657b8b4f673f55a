// The report box of an unexpected failure, and the error trap around procedures, handlers and
// callbacks: one report, then the status Failed or the end of the program.
#include "application/error_report.h"

#include <gtest/gtest.h>

#include "base/status.h"
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
  ReportError(dialogs, texts, "LoadListData()", Failure(5, "アクセスが拒否されました。"));
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
  ReportError(dialogs, texts, "ApplyZelvo()", Failure(static_cast<int32_t>(0x80070005), ""));
  EXPECT_EQ(dialogs.shown.at(0).text,
            "予期せぬエラーが発生しました。\r\n以下の情報を元に作成者に連絡して下さい。\r\n\r\n"
            "エラー元 ： ApplyZelvo()\r\nエラー番号 ： -2147024891\r\nエラー内容 ： ");
}

TEST_F(ErrorReportTest, ProcedureReportsOnceAndReturnsFailed) {
  EXPECT_EQ(trap.Procedure("BackupManifest()", [] { return Status::Done; }), Status::Done);
  EXPECT_TRUE(dialogs.shown.empty());

  EXPECT_EQ(trap.Procedure("BackupManifest()", []() -> Status { throw Failure(183, "既に存在"); }),
            Status::Failed);
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0], expected::ErrorReport("BackupManifest()", 183, "既に存在"));
  EXPECT_FALSE(environment.ended);
}

TEST_F(ErrorReportTest, RuntimeFailuresBecomeHresults) {
  (void)trap.Procedure("SaveListData()", []() -> Status { throw std::bad_alloc(); });
  (void)trap.Procedure("LoadListData()", []() -> Status { throw std::logic_error("odd"); });
  ASSERT_EQ(dialogs.shown.size(), 2u);
  EXPECT_EQ(dialogs.shown[0],
            expected::ErrorReport("SaveListData()", -2147024882, "説明 -2147024882"));
  EXPECT_EQ(dialogs.shown[1], expected::ErrorReport("LoadListData()", -2147418113, "odd"));
}

TEST_F(ErrorReportTest, HandlerReportsThenTakesTheLastStepAndEnds) {
  int last_steps = 0;
  report.SetLastStep([&] { ++last_steps; });
  EXPECT_THROW(trap.Handler("cmdShell_Click()", [] { throw Failure(2, "x"); }), ProgramEnded);
  EXPECT_EQ(dialogs.shown, std::vector<Message>{expected::ErrorReport("cmdShell_Click()", 2, "x")});
  EXPECT_EQ(last_steps, 1);
  EXPECT_EQ(environment.ended, 1);

  // The last step runs once, even when the end comes again.
  EXPECT_THROW(trap.EndProgram(), ProgramEnded);
  EXPECT_EQ(last_steps, 1);
}

TEST_F(ErrorReportTest, ACallbackLetsNothingThroughAndEnds) {
  // What leaves a callback is caught whatever it is; the end then unwinds the fake process.
  EXPECT_THROW(trap.Callback("frmMain_WindowProc()", [] { throw 42; }), ProgramEnded);
  EXPECT_EQ(dialogs.shown, std::vector<Message>{expected::ErrorReport(
                               "frmMain_WindowProc()", -2147418113, "説明 -2147418113")});
}

}  // namespace
}  // namespace zelvo::testing
