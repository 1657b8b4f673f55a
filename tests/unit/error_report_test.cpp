#include "app/error_report.h"

#include <gtest/gtest.h>

#include "fakes/fakes.h"

namespace zelvo::testing {
namespace {

struct ErrorReportTest : ::testing::Test {
  FakeDialogs dialogs;
  FakeEnvironment environment;
  ErrorTrap trap{dialogs, environment};
};

TEST_F(ErrorReportTest, ReportHasSixLinesTitleOkAndStopIcon) {
  ReportError(dialogs, "LoadListData()", Failure(5, "アクセスが拒否されました。"));
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0],
            Notice("予期せぬエラーが発生しました。\r\n"
                   "以下の情報を元に作成者に連絡して下さい。\r\n"
                   "\r\n"
                   "エラー元 ： LoadListData()\r\n"
                   "エラー番号 ： 5\r\n"
                   "エラー内容 ： アクセスが拒否されました。",
                   "予期せぬエラーの発生", Icon::Stop));
}

TEST_F(ErrorReportTest, NegativeNumberKeepsItsSignAndEmptyDescriptionKeepsItsLine) {
  ReportError(dialogs, "ApplyZelvo()", Failure(static_cast<int32_t>(0x80070005), ""));
  EXPECT_EQ(dialogs.shown.at(0).text,
            "予期せぬエラーが発生しました。\r\n以下の情報を元に作成者に連絡して下さい。\r\n\r\n"
            "エラー元 ： ApplyZelvo()\r\nエラー番号 ： -2147024891\r\nエラー内容 ： ");
}

TEST_F(ErrorReportTest, ProcedureReportsOnceAndReturnsFailed) {
  EXPECT_EQ(trap.Procedure("BackupManifest()", [] { return 0; }), 0);
  EXPECT_TRUE(dialogs.shown.empty());

  EXPECT_EQ(trap.Procedure("BackupManifest()", []() -> int { throw Failure(183, "既に存在"); }),
            kFailed);
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_NE(dialogs.shown[0].text.find("エラー元 ： BackupManifest()\r\nエラー番号 ： 183\r\n"),
            std::string::npos);
  EXPECT_FALSE(environment.ended);
}

TEST_F(ErrorReportTest, RuntimeFailuresBecomeHresults) {
  trap.Procedure("SaveListData()", []() -> int { throw std::bad_alloc(); });
  EXPECT_NE(dialogs.shown.at(0).text.find("エラー番号 ： -2147024882\r\nエラー内容 ： 説明 -2147024882"),
            std::string::npos);
}

TEST_F(ErrorReportTest, HandlerReportsThenEndsTheProgramThroughTheInstalledEnd) {
  bool kept_log = false;
  trap.SetEndProgram([&] { kept_log = true; });
  EXPECT_THROW(trap.Handler("cmdShell_Click()", [] { throw Failure(2, "x"); }), ProgramEnded);
  EXPECT_EQ(dialogs.shown.size(), 1u);
  EXPECT_TRUE(kept_log);
  EXPECT_EQ(environment.ended, 1);
}

}  // namespace
}  // namespace zelvo::testing
