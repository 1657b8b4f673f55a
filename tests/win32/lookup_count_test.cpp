// How often a dropped program's path is looked up on its way from the drop to its manifest on
// disk and its row in the log, counted at the Win32 calls the program itself makes: each look-up
// is a round trip under Wine, and a gap between a check and a use in an elevated Zelvo.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "application/error_report.h"
#include "application/zelvo.h"
#include "call_counter.h"
#include "model/manifest_document.h"
#include "test_support.h"
#include "win32/platform.h"
#include "win32/system/strings.h"

namespace zelvo::win32 {
namespace {

// The real environment, with a tool folder of the test's own and nothing on the command line.
class ToolFolderEnvironment : public Win32Environment {
 public:
  explicit ToolFolderEnvironment(std::string folder) : folder_(std::move(folder)) {}
  ProgramVersion Version() override { return {2, 20}; }
  bool PreviousInstanceRunning() override { return false; }
  std::string ProgramFolder() override { return folder_; }
  std::string CommandLine() override { return "zelvo.exe"; }

 private:
  std::string folder_;
};

// Says Yes to every question, and keeps every box.
class YesDialogs : public Dialogs {
 public:
  Answer Show(const Message& message) override {
    shown.push_back(message);
    return message.buttons == Buttons::YesNo ? Answer::Yes : Answer::Ok;
  }
  std::vector<Message> shown;
};

class Drop : public DroppedFiles {
 public:
  explicit Drop(std::string path) : path_(std::move(path)) {}
  size_t Count(size_t) override { return 1; }
  std::string Path(size_t) override { return path_; }

 private:
  std::string path_;
};

TEST(LookUpsTest, ADroppedProgramIsResolvedAtMostTwiceAndItsImageOpenedOnce) {
  struct Case {
    const char* image;
    bool manifest_there;
  };
  // A 32-bit program with resources; one that embeds a manifest (its resource tree is read
  // further); one whose old manifest is backed up first.
  for (const Case c : {Case{"x86\\version.exe", false}, Case{"x86\\cc6.exe", false},
                       Case{"x86\\version.exe", true}}) {
    SCOPED_TRACE(c.image);
    test::TempFolder folder;
    const std::string program = folder.Path("prog.exe");
    ASSERT_TRUE(CopyFileW(Wide(std::string(ZELVO_PE_IMAGES) + "\\" + c.image).c_str(),
                          Wide(program).c_str(), FALSE));
    if (c.manifest_there) test::WriteBytes(program + ".manifest", "old");

    Win32System system;
    YesDialogs dialogs;
    ToolFolderEnvironment environment(folder.Path());
    test::QuietView view;
    const Texts& texts = Texts::For("ja");
    ErrorReport report(dialogs, texts, environment);
    ErrorTrap trap(report);
    Zelvo zelvo(Platform{dialogs, system.files, system.shortcuts, system.clock, environment,
                         system.code_page, system.collator, system.launcher, view, texts,
                         system.shell, system.clipboard},
                trap);
    zelvo.Start();
    dialogs.shown.clear();

    Drop drop(program);
    {
      test::PathCallCounter counter;
      zelvo.Events().FilesDropped(DropPlace::Window, drop);
      const std::wstring manifest = Wide(program + ".manifest");
      // Two resolutions of the program's path, two calls each (the length, then the path), and
      // one opening of its image.
      EXPECT_LE(counter.Count("GetFullPathNameW", L"\\prog.exe"), 4);
      EXPECT_EQ(counter.Count("CreateFileW", L"\\prog.exe"), 1);
      // The manifest's path: looked at and written, and read once more when an old one is
      // backed up.
      EXPECT_LE(counter.Count("GetFullPathNameW", manifest), c.manifest_there ? 6 : 4);
      std::printf(
          "%s%s: program %d GetFullPathNameW, %d FindFirstFileExW, %d CreateFileW; "
          "manifest %d GetFullPathNameW, %d FindFirstFileExW, %d CreateFileW\n",
          c.image, c.manifest_there ? " (manifest there)" : "",
          counter.Count("GetFullPathNameW", L"\\prog.exe"),
          counter.Count("FindFirstFileExW", L"\\prog.exe"),
          counter.Count("CreateFileW", L"\\prog.exe"), counter.Count("GetFullPathNameW", manifest),
          counter.Count("FindFirstFileExW", manifest), counter.Count("CreateFileW", manifest));
    }
    // The work was done: the manifest on disk, nothing reported, the program still running.
    EXPECT_EQ(test::ReadBytes(program + ".manifest"), ManifestDocument(ManifestArchitecture::X86));
    for (const Message& box : dialogs.shown) EXPECT_NE(box.icon, Icon::Stop) << box.text;
    EXPECT_FALSE(view.closed);
  }
}

}  // namespace
}  // namespace zelvo::win32
