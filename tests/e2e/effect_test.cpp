// The manifest's effect, seen by the program that gets it: a small old-style program
// (probes/style_probe.cpp) reports which comctl32.dll Windows gave it. With the manifest file
// that Zelvo writes, a 64-bit program gets Common Controls 6 from the side-by-side assembly;
// before and after a restore, the system's. A program that embeds a manifest of its own keeps the
// system's, as Zelvo's warning says. (Wine's DllGetVersion says 5.81 for both: the module's file
// and the activation context tell them apart.) The pictures of README.md are taken here.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <sstream>
#include <string>

#include "driver/driver.h"
#include "win32/system/owner.h"
#include "win32/system/strings.h"
#include "win32/window/control_ids.h"
#include "support.h"

namespace zelvo::e2e {
namespace {

namespace fs = std::filesystem;
using namespace zelvo::win32;
using ::testing::ElementsAre;
using ::testing::Optional;

// A build of the probe: "plain", or "trust_info" (it embeds a manifest without the dependency).
fs::path StyleProbe(std::wstring_view variant) {
  return fs::path(E2E_STYLE_PROBES) / (L"e2e_style_probe_" + std::wstring(variant) + L".exe");
}

// Starts the program as Explorer does: by its path, in its own folder, with no arguments.
void StartDirectly(const fs::path& program) {
  std::wstring command_line = L"\"" + program.wstring() + L"\"";
  STARTUPINFOW startup{sizeof(startup)};
  PROCESS_INFORMATION information{};
  Check(CreateProcessW(program.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       program.parent_path().c_str(), &startup, &information),
        "CreateProcess " + Text(program));
  UniqueHandle process(information.hProcess);
  UniqueHandle thread(information.hThread);
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  });
  return text;
}

std::string WindowsFolder() {
  std::wstring folder(GetWindowsDirectoryW(nullptr, 0), L'\0');
  folder.resize(GetWindowsDirectoryW(folder.data(), static_cast<UINT>(folder.size())));
  return Utf8(folder);
}

// One start of the probe, from its report to its end: the end closes its window and waits for
// the program to go, so that the next start reports anew and the test's folder can be removed.
class ProbeRun {
 public:
  ProbeRun(const ToolFolder& folder, fs::path program)
      : folder_(folder), report_(std::move(program).concat(L".txt")) {
    std::optional<std::string> text;
    WaitFor([&] { return (text = folder_.ReadFile(report_)).has_value(); }, kStartTimeout);
    if (!text) throw DriverError("the probe did not report: " + Text(report_));
    std::istringstream lines(*text);
    std::map<std::string, std::string> values;
    for (std::string line; std::getline(lines, line);) {
      if (const size_t equals = line.find('='); equals != std::string::npos) {
        values[line.substr(0, equals)] = line.substr(equals + 1);
      }
    }
    common_controls_ = values["comctl32"];
    redirected_ = values["redirected"] == "yes";
    window_ = reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::stoull(values["window"])));
    DWORD id = 0;
    GetWindowThreadProcessId(window_, &id);
    process_.Reset(Check(OpenProcess(SYNCHRONIZE, FALSE, id), "OpenProcess (the probe)"));
  }
  ProbeRun(const ProbeRun&) = delete;
  ProbeRun& operator=(const ProbeRun&) = delete;
  ~ProbeRun() {
    PostMessageW(window_, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process_.Get(), static_cast<DWORD>(kTimeout.count())) !=
        WAIT_OBJECT_0) {
      TerminateProcess(process_.Get(), 1);
      ADD_FAILURE() << "the probe did not end when its window was closed";
    }
    DeleteFileW(report_.c_str());
  }

  // Common Controls 6 from the side-by-side assembly, its name redirected by the manifest.
  ::testing::AssertionResult GivenCommonControls6() const {
    const std::string assembly = Lower(WindowsFolder()) +
                                 "\\winsxs\\amd64_microsoft.windows.common-controls_"
                                 "6595b64144ccf1df_6.0.";
    const std::string file = Lower(common_controls_);
    if (redirected_ && file.rfind(assembly, 0) == 0 && file.ends_with("\\comctl32.dll")) {
      return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << Described();
  }
  // The system's comctl32.dll, no redirection.
  ::testing::AssertionResult GivenTheSystemsCommonControls() const {
    std::wstring system(GetSystemDirectoryW(nullptr, 0), L'\0');
    system.resize(GetSystemDirectoryW(system.data(), static_cast<UINT>(system.size())));
    if (!redirected_ && Lower(common_controls_) == Lower(Utf8(system) + "\\comctl32.dll")) {
      return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << Described();
  }

  // The probe's window, moved into the slot, as on screen.
  Image Picture(const ScreenSlot& slot) const {
    slot.Place(window_);
    return CaptureWindow(window_);
  }

 private:
  std::string Described() const {
    return "comctl32.dll from " + common_controls_ + (redirected_ ? ", " : ", not ") + "redirected";
  }

  const ToolFolder& folder_;
  fs::path report_;
  std::string common_controls_;
  bool redirected_ = false;
  HWND window_ = nullptr;
  UniqueHandle process_;
};

TEST(StyleEffect, TheManifestGivesCommonControls6UntilItIsRestored) {
  ToolFolder folder;
  const fs::path program = CopyInto(folder, StyleProbe(L"plain"), L"Old Tools\\OldTool.exe");
  const fs::path manifest = fs::path(program).concat(L".manifest");
  const ScreenSlot probe_slot;

  Image classic;
  StartDirectly(program);
  {
    const ProbeRun before(folder, program);
    EXPECT_TRUE(before.GivenTheSystemsCommonControls());
    classic = before.Picture(probe_slot);
    classic.SaveBmp(ZELVO_STYLE_BEFORE);
  }

  // The manifest for any processor beside the 64-bit program; the entry is left selected.
  ZelvoProcess zelvo(folder, Quoted({program}));
  const MainWindow window = zelvo.WaitForMainWindow();
  WaitForStatusLine(window, AppliedStatus("OldTool.exe"));
  EXPECT_TRUE(NoBoxAfterSync(zelvo, window));
  EXPECT_THAT(folder.ReadFile(manifest), Optional(AnyProcessorManifest()));
  ASSERT_THAT(window.SelectedRows(ControlId(Control::lstLogName)), ElementsAre(0));

  window.Click(ControlId(Control::cmdShell));
  ExpectBoxAndAnswer(zelvo, LaunchQuestion(1), Answer::Yes);
  WaitForStatusLine(window, expected::kLaunchDone);
  {
    const ProbeRun applied(folder, program);
    EXPECT_TRUE(applied.GivenCommonControls6());
    // Wine draws Common Controls 6 as the classic ones unless a visual style is active, as it is
    // in the test prefix.
    const Image themed = applied.Picture(probe_slot);
    themed.SaveBmp(ZELVO_STYLE_AFTER);
    ASSERT_EQ(themed.Width(), classic.Width());
    ASSERT_EQ(themed.Height(), classic.Height());
    EXPECT_GT(themed.Differences(classic), 0u) << "the program looks as it did without";
  }

  window.Click(ControlId(Control::cmdReturn));
  ExpectBoxAndAnswer(zelvo, RestoreQuestion(1), Answer::Yes);
  WaitForStatusLine(window, expected::kRestoreDone);
  EXPECT_TRUE(NoBoxAfterSync(zelvo, window));
  EXPECT_FALSE(folder.Exists(manifest));
  StartDirectly(program);
  {
    const ProbeRun restored(folder, program);
    EXPECT_TRUE(restored.GivenTheSystemsCommonControls());
    EXPECT_EQ(restored.Picture(probe_slot), classic) << "the program does not look as before";
  }
  CloseAndExpectLog(zelvo, window, {});
}

// Windows reads a program's embedded manifest first and a file beside it only when it embeds
// none: applied after the warning, the program still gets the system's Common Controls.
TEST(StyleEffect, AProgramThatEmbedsAManifestKeepsTheSystemsCommonControls) {
  ToolFolder folder;
  const fs::path program = CopyInto(folder, StyleProbe(L"trust_info"), L"Old Tools\\OldTool.exe");
  ZelvoProcess zelvo(folder, Quoted({program}));
  const MainWindow window = zelvo.WaitForMainWindow();
  ExpectBoxAndAnswer(zelvo, EmbeddedManifestQuestion("OldTool.exe"), Answer::Yes);
  WaitForStatusLine(window, AppliedStatus("OldTool.exe"));
  EXPECT_TRUE(NoBoxAfterSync(zelvo, window));
  EXPECT_THAT(folder.ReadFile(fs::path(program).concat(L".manifest")),
              Optional(AnyProcessorManifest()));

  window.Click(ControlId(Control::cmdShell));
  ExpectBoxAndAnswer(zelvo, LaunchQuestion(1), Answer::Yes);
  WaitForStatusLine(window, expected::kLaunchDone);
  {
    const ProbeRun run(folder, program);
    EXPECT_TRUE(run.GivenTheSystemsCommonControls());
  }
  CloseAndExpectLog(zelvo, window, {{"OldTool.exe", FolderOf(program), Today()}});
}

}  // namespace
}  // namespace zelvo::e2e
