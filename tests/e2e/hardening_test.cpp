// The program run from a folder that others can write to (a Downloads folder): DLLs of system
// names planted beside it and in its current folder are never loaded while it starts, shows its
// window, applies programs and saves its log; and an unprotected program in the same place
// does load them, so the check can fail.
#include <windows.h>
#include <aclapi.h>
#include <psapi.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "driver/driver.h"
#include "win32/window/control_ids.h"
#include "win32/system/environment.h"
#include "win32/system/paths.h"
#include "support.h"

namespace zelvo::e2e {
namespace {

namespace fs = std::filesystem;
using ::testing::IsEmpty;
using ::testing::Optional;
using win32::ControlId;

// DLLs that programs like this one load by name, none a KnownDLL: the common controls and
// what they and the shell load for themes, drawing, sounds, properties and security. Two are
// left out because Wine itself loads them by the standard search, which Windows does not:
// - version.dll, which Wine's user32 imports while the process starts (Windows' user32 is a
//   KnownDLL, and a KnownDLL's imports all come from System32); Zelvo imports only KnownDLLs,
//   which the check of the exe's import table holds it to;
// - msimg32.dll, which Wine's uxtheme delay-loads with no search path given, and Wine then takes
//   the standard one instead of the directories the process set with SetDefaultDllDirectories.
const std::vector<std::wstring> kPlantedNames = {
    L"comctl32.dll",        L"uxtheme.dll",  L"dwmapi.dll",
    L"propsys.dll",         L"winmm.dll",    L"cryptbase.dll",
    L"oleacc.dll",          L"dwrite.dll",   L"windowscodecs.dll",
    L"userenv.dll",         L"profapi.dll",  L"wtsapi32.dll",
    L"cryptsp.dll",         L"sspicli.dll",  L"secur32.dll",
    L"netapi32.dll",        L"mpr.dll",      L"wintrust.dll",
    L"crypt32.dll",         L"bcrypt.dll",   L"ntmarta.dll",
    L"dbghelp.dll",         L"riched20.dll", L"textshaping.dll",
    L"uiautomationcore.dll"};

// Wine takes a DLL it builds in from its system folder even when a DLL of that name lies
// earlier on the search path; Windows takes the first one found. Preferring the found one
// ("native,builtin") makes Wine search as Windows does for the planted names. Set for one
// program file name only (Wine's per-program overrides, which a program reads when it starts;
// an override in the environment would not reach the programs this test starts), and removed at
// the end of the test. Windows has no such key and ignores it.
class PreferPlantedDlls {
 public:
  explicit PreferPlantedDlls(const std::wstring& program_name)
      : key_(L"Software\\Wine\\AppDefaults\\" + program_name) {
    const std::wstring overrides = key_ + L"\\DllOverrides";
    for (const auto& name : kPlantedNames) {
      const std::wstring stem = fs::path(name).stem().wstring();
      const wchar_t order[] = L"native,builtin";
      const LSTATUS status = RegSetKeyValueW(HKEY_CURRENT_USER, overrides.c_str(), stem.c_str(),
                                             REG_SZ, order, sizeof order);
      if (status != ERROR_SUCCESS) ThrowError("RegSetKeyValue " + Text(overrides), status);
    }
  }
  ~PreferPlantedDlls() { RegDeleteTreeW(HKEY_CURRENT_USER, key_.c_str()); }
  PreferPlantedDlls(const PreferPlantedDlls&) = delete;
  PreferPlantedDlls& operator=(const PreferPlantedDlls&) = delete;

 private:
  std::wstring key_;
};

// A copy of `program` in a folder of its own, under a name no other test uses, so that the
// overrides above reach no other test's programs.
class RenamedProgram {
 public:
  RenamedProgram(const fs::path& program, const std::wstring& stem)
      : folder_(Program{program, L""}, L"renamed"),
        path_(folder_.Folder() / (stem + L"-" + std::to_wstring(GetCurrentProcessId()) +
                                  program.extension().wstring())) {
    Check(CopyFileW(program.c_str(), path_.c_str(), TRUE), "CopyFile " + Text(path_));
  }
  const fs::path& Path() const { return path_; }

 private:
  ToolFolder folder_;
  fs::path path_;
};

// A real 64-bit program without a manifest, to apply: a copy of the probe.
fs::path CopyProgram(const ToolFolder& folder, const fs::path& relative) {
  const fs::path target = folder.Root() / relative;
  fs::create_directories(target.parent_path());
  Check(CopyFileW(E2E_TRAP_PROBE_EXE, target.c_str(), TRUE), "CopyFile " + Text(target));
  return target;
}

void Plant(const fs::path& folder) {
  for (const auto& name : kPlantedNames) {
    Check(CopyFileW(E2E_TRAP_DLL, (folder / name).c_str(), FALSE), "CopyFile " + Text(name));
  }
}

// The planted DLLs that some process loaded: each leaves "<name>.loaded" beside itself.
std::vector<std::string> LoadedPlants(const fs::path& folder) {
  std::vector<std::string> loaded;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().extension() == L".loaded") loaded.push_back(Text(entry.path().filename()));
  }
  return loaded;
}

bool SamePath(const std::wstring& one, const std::wstring& two) {
  return CompareStringOrdinal(one.c_str(), -1, two.c_str(), -1, TRUE) == CSTR_EQUAL;
}

bool IsUnder(const fs::path& path, const fs::path& folder) {
  const std::wstring text = path.wstring();
  const std::wstring prefix = (folder / L"").wstring();
  return text.size() > prefix.size() && SamePath(text.substr(0, prefix.size()), prefix);
}

fs::path WindowsFolder() {
  const UINT size = Check(GetWindowsDirectoryW(nullptr, 0), "GetWindowsDirectory");
  std::wstring path(size, L'\0');
  path.resize(Check(GetWindowsDirectoryW(path.data(), size), "GetWindowsDirectory"));
  return path;
}

// The file of every module loaded in the process.
std::vector<fs::path> LoadedModules(HANDLE process) {
  std::vector<HMODULE> modules(64);
  for (;;) {
    DWORD needed = 0;
    Check(EnumProcessModulesEx(process, modules.data(),
                               static_cast<DWORD>(modules.size() * sizeof(HMODULE)), &needed,
                               LIST_MODULES_ALL),
          "EnumProcessModulesEx");
    const size_t count = needed / sizeof(HMODULE);
    if (count <= modules.size()) {
      modules.resize(count);
      break;
    }
    modules.resize(count + 16);  // more were loaded in between: ask again
  }
  std::vector<fs::path> files;
  for (HMODULE module : modules) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
      const DWORD length =
          Check(GetModuleFileNameExW(process, module, path.data(), static_cast<DWORD>(path.size())),
                "GetModuleFileNameEx");
      if (length < path.size() - 1) {
        path.resize(length);
        break;
      }
      path.resize(path.size() * 2);
    }
    files.emplace_back(path);
  }
  return files;
}

// Runs a program with the arguments in `folder` and returns its exit code.
DWORD RunToEnd(const fs::path& program, const std::wstring& arguments, const fs::path& folder) {
  std::wstring command_line = L"\"" + program.wstring() + L"\" " + arguments;
  STARTUPINFOW startup{sizeof(startup)};
  PROCESS_INFORMATION started{};
  Check(CreateProcessW(program.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       folder.c_str(), &startup, &started),
        "CreateProcess " + Text(program));
  const win32::UniqueHandle process(started.hProcess);
  const win32::UniqueHandle thread(started.hThread);
  if (WaitForSingleObject(process.Get(), static_cast<DWORD>(kStartTimeout.count())) !=
      WAIT_OBJECT_0) {
    TerminateProcess(process.Get(), 1);
    throw DriverError(Text(program) + " did not end");
  }
  DWORD code = 0;
  Check(GetExitCodeProcess(process.Get(), &code), "GetExitCodeProcess");
  return code;
}

TEST(DllPlanting, AProgramWithoutProtectionLoadsEveryPlantedDll) {
  const RenamedProgram probe(E2E_TRAP_PROBE_EXE, L"trap-probe");
  const PreferPlantedDlls prefer(probe.Path().filename().wstring());
  ToolFolder folder(Program{probe.Path(), L""}, L"downloads");
  Plant(folder.Folder());

  std::wstring names;
  for (const auto& name : kPlantedNames) names += name + L" ";
  EXPECT_EQ(RunToEnd(folder.ProgramPath(), names, folder.Folder()), 0u);  // none failed to load

  std::vector<std::string> expected;
  for (const auto& name : kPlantedNames) expected.push_back(Text(name) + ".loaded");
  EXPECT_THAT(LoadedPlants(folder.Folder()), ::testing::UnorderedElementsAreArray(expected));
}

TEST(DllPlanting, ZelvoLoadsNoPlantedDllWhileItStartsAppliesAndSaves) {
  const RenamedProgram zelvo_exe(ZELVO_EXE, L"zelvo-planted");
  const PreferPlantedDlls prefer(zelvo_exe.Path().filename().wstring());
  ToolFolder folder(Program{zelvo_exe.Path(), ZelvoProgram().window_class});
  // Beside the program, and in the folder it is started in (its current folder).
  Plant(folder.Folder());
  Plant(folder.Root());
  // Real programs to apply: one through a shortcut on the command line, one dropped.
  const fs::path linked = CopyProgram(folder, L"apps\\Linked.exe");
  const fs::path dropped = CopyProgram(folder, L"apps\\Dropped.exe");
  const fs::path link = folder.Root() / L"Linked.lnk";
  MakeShortcut(link, linked);

  ZelvoProcess zelvo(folder, Quoted({link}));
  const MainWindow window = zelvo.WaitForMainWindow();
  ExpectBoxAndAnswer(zelvo, ShortcutNotice("Linked.lnk"), Answer::Ok);
  ASSERT_TRUE(WaitFor([&] { return folder.Exists(linked.wstring() + L".manifest"); }));
  window.DropFiles({dropped});
  ASSERT_TRUE(WaitFor([&] { return folder.Exists(dropped.wstring() + L".manifest"); }));
  ASSERT_TRUE(WaitFor([&] { return window.Rows(ControlId(Control::lstLogName)).size() == 2; }));

  // Every module but the program itself comes from the Windows folder; the common controls
  // from the side-by-side store, which shows that loading them from System32 kept the
  // manifest's version 6.
  const fs::path windows = WindowsFolder();
  bool common_controls_from_side_by_side = false;
  for (const fs::path& module : LoadedModules(zelvo.Handle())) {
    if (SamePath(module.wstring(), folder.ProgramPath().wstring())) continue;
    EXPECT_TRUE(IsUnder(module, windows)) << Text(module);
    if (SamePath(module.filename().wstring(), L"comctl32.dll")) {
      common_controls_from_side_by_side = IsUnder(module, windows / L"winsxs");
    }
  }
  EXPECT_TRUE(common_controls_from_side_by_side);

  window.Close();
  EXPECT_THAT(zelvo.WaitForExit(), Optional(0u));
  EXPECT_TRUE(folder.ReadIni().has_value());
  EXPECT_THAT(LoadedPlants(folder.Folder()), IsEmpty());
  EXPECT_THAT(LoadedPlants(folder.Root()), IsEmpty());
}

// The program's own stack protection at work, in a small program built with it: an overrun
// ends the process at once with STATUS_STACK_BUFFER_OVERRUN, whether the canary check on
// return or a fortified memcpy finds it; the same calls within bounds run through.
constexpr DWORD kStackBufferOverrun = 0xC0000409;

TEST(StackProtection, AnOverrunEndsTheProcessAtOnce) {
  const fs::path folder = fs::path(E2E_GUARD_PROBE_EXE).parent_path();
  EXPECT_EQ(RunToEnd(E2E_GUARD_PROBE_EXE, L"smash 16", folder), 0u);
  EXPECT_EQ(RunToEnd(E2E_GUARD_PROBE_EXE, L"smash 64", folder), kStackBufferOverrun);
  EXPECT_EQ(RunToEnd(E2E_GUARD_PROBE_EXE, L"copy 16", folder), 0u);
  EXPECT_EQ(RunToEnd(E2E_GUARD_PROBE_EXE, L"copy 17", folder), kStackBufferOverrun);
}

TEST(StackProtection, TheCanaryIsFreshInEveryProcessAndStartsWithAZeroByte) {
  ToolFolder folder(Program{E2E_GUARD_PROBE_EXE, L""});
  std::vector<unsigned long long> guards;
  for (const wchar_t* name : {L"first.txt", L"second.txt"}) {
    const fs::path file = folder.Root() / name;
    ASSERT_EQ(RunToEnd(folder.ProgramPath(), L"guard \"" + file.wstring() + L"\"", folder.Root()),
              0u);
    guards.push_back(std::stoull(folder.ReadFile(file).value_or("0"), nullptr, 16));
  }
  for (const unsigned long long guard : guards) {
    EXPECT_EQ(guard & 0xFF, 0u) << std::hex << guard;
    EXPECT_GT(guard, 0xFFu) << std::hex << guard;
  }
  EXPECT_NE(guards[0], guards[1]);
}

// Run elevated, the program must open nothing to the user's other, lower processes beyond the
// drops it takes: its one named object, the instance mutex, keeps the security Windows gives
// an object by default (the token's default DACL), never a null DACL, and no group of other
// users or anonymous callers may open it.
TEST(ElevatedRun, TheInstanceMutexHasADaclThatGrantsNoOneElse) {
  ToolFolder folder;
  ZelvoProcess zelvo(folder);
  zelvo.WaitForMainWindow();
  const std::wstring name = win32::InstanceMutexName(folder.Folder().wstring());
  const win32::UniqueHandle mutex(OpenMutexW(READ_CONTROL, FALSE, name.c_str()));
  ASSERT_TRUE(mutex) << "no instance mutex " << Text(name);

  PACL dacl = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  ASSERT_EQ(GetSecurityInfo(mutex.Get(), SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                            nullptr, &dacl, nullptr, &descriptor),
            static_cast<DWORD>(ERROR_SUCCESS));
  const std::unique_ptr<void, decltype(&LocalFree)> owned(descriptor, &LocalFree);
  ASSERT_NE(dacl, nullptr) << "a null DACL lets everyone open the mutex";
  for (DWORD index = 0; index < dacl->AceCount; ++index) {
    void* ace = nullptr;
    ASSERT_TRUE(GetAce(dacl, index, &ace));
    if (static_cast<ACE_HEADER*>(ace)->AceType != ACCESS_ALLOWED_ACE_TYPE) continue;
    const PSID sid = &static_cast<ACCESS_ALLOWED_ACE*>(ace)->SidStart;
    for (const WELL_KNOWN_SID_TYPE others :
         {WinWorldSid, WinAnonymousSid, WinAuthenticatedUserSid, WinBuiltinUsersSid, WinLowLabelSid,
          WinInteractiveSid}) {
      EXPECT_FALSE(IsWellKnownSid(sid, others)) << "ACE " << index << " grants " << others;
    }
  }
}

}  // namespace
}  // namespace zelvo::e2e
