// The end-to-end driver in one include: start the program, read and drive its main window,
// check and answer its message boxes, take screenshots. A test reads like this:
//
//   ToolFolder folder;                                  // a fresh copy of zelvo.exe
//   const auto app = folder.WriteFile(L"apps\\Foo.exe", "MZ...");
//   ZelvoProcess zelvo(folder, L"\"" + app.wstring() + L"\"");
//   const MainWindow window = zelvo.WaitForMainWindow();
//   ExpectBoxAndAnswer(zelvo, Question("...", "XPスタイル適用 - 処理の確認",
//                                      DefaultButton::First), Answer::Yes);
//   EXPECT_THAT(window.Rows(ControlId(Control::lstLogName)), ElementsAre("Foo.exe"));
//   window.ClickRow(ControlId(Control::lstLogName), 0);
//   EXPECT_TRUE(window.IsEnabled(ControlId(Control::cmdReturn)));
//   window.Close();
//   EXPECT_THAT(zelvo.WaitForExit(), Optional(0u));
//   EXPECT_THAT(folder.ReadIni(), Optional(std::string("2.20\r\n...")));
#pragma once

#include "driver/boxes.h"
#include "driver/errors.h"
#include "driver/image.h"
#include "driver/process.h"
#include "driver/remote.h"
#include "driver/wait.h"
#include "driver/window.h"
