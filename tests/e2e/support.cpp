#include "support.h"

#include <objbase.h>
#include <oleacc.h>
#include <shlobj.h>
#include <wrl/client.h>

#include <gmock/gmock.h>

#include <algorithm>

#include "win32/window/control_ids.h"
#include "win32/system/strings.h"
#include "win32/system/win32_error.h"

namespace zelvo::e2e {

std::string Text(const std::filesystem::path& path) { return win32::Utf8(path.wstring()); }

std::string Today() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  char date[16];
  wsprintfA(date, "%04u/%02u/%02u", now.wYear, now.wMonth, now.wDay);
  return date;
}

std::string IniWith(const std::vector<Entry>& entries) {
  std::string ini = "2.20\r\n";
  for (const auto& entry : entries) {
    ini += entry.name + "\r\n" + entry.folder + "\r\n" + entry.date + "\r\n";
  }
  return ini + "\r\n";
}

void CloseAndExpectLog(const ZelvoProcess& zelvo, const MainWindow& window,
                       const std::vector<Entry>& entries) {
  window.Close();
  EXPECT_THAT(zelvo.WaitForExit(), ::testing::Optional(0u));
  EXPECT_THAT(zelvo.Folder().ReadIni(), ::testing::Optional(IniWith(entries)));
}

std::string X86Manifest() { return expected::ManifestDocument("X86"); }

std::string AnyProcessorManifest() { return expected::ManifestDocument("*"); }

std::filesystem::path PeImage(std::wstring_view processor, std::wstring_view variant) {
  return std::filesystem::path(ZELVO_PE_IMAGES) / processor / (std::wstring(variant) + L".exe");
}

std::filesystem::path CopyInto(const ToolFolder& folder, const std::filesystem::path& from,
                               const std::filesystem::path& to) {
  const std::filesystem::path full = folder.Root() / to;
  std::filesystem::create_directories(full.parent_path());
  Check(CopyFileW(from.c_str(), full.c_str(), TRUE), "CopyFile " + Text(from));
  return full;
}

std::string FolderOf(const std::filesystem::path& file) { return Text(file.parent_path()) + "\\"; }

void ExpectStatusLine(const MainWindow& window, std::string_view status) {
  EXPECT_EQ(window.Text(win32::ControlId(Control::lblInformation)), status);
  EXPECT_EQ(window.ToolTip(win32::ControlId(Control::lblInformation)),
            std::optional<std::string>(status));
}

void WaitForStatusLine(const MainWindow& window, std::string_view status) {
  WaitFor([&] { return window.Text(win32::ControlId(Control::lblInformation)) == status; });
  ExpectStatusLine(window, status);
}

namespace {

constexpr int kSelectionControls[] = {
    win32::ControlId(Control::cmdReturn),  win32::ControlId(Control::cmdDelLog),
    win32::ControlId(Control::cmdShell),   win32::ControlId(Control::txtLogName),
    win32::ControlId(Control::txtLogData), win32::ControlId(Control::txtLogPath)};

void ExpectDetailTexts(const MainWindow& window, const std::string& name_text,
                       const std::string& folder, const std::string& date) {
  EXPECT_EQ(window.Text(win32::ControlId(Control::txtLogName)), name_text);
  EXPECT_EQ(window.Text(win32::ControlId(Control::txtLogPath)), folder);
  EXPECT_EQ(window.Text(win32::ControlId(Control::txtLogData)), date);
}

}  // namespace

void ExpectEntryShown(const MainWindow& window, const std::string& name_text,
                      const std::string& folder, const std::string& date) {
  ExpectDetailTexts(window, name_text, folder, date);
  for (int id : kSelectionControls) EXPECT_TRUE(window.IsEnabled(id)) << "control " << id;
}

void ExpectViewDisabled(const MainWindow& window, const std::string& name,
                        const std::string& folder, const std::string& date) {
  ExpectDetailTexts(window, name, folder, date);
  for (int id : kSelectionControls) EXPECT_FALSE(window.IsEnabled(id)) << "control " << id;
}

::testing::AssertionResult NoBoxAfterSync(const ZelvoProcess& process, const MainWindow& window) {
  // A box pumps messages too, so the sync also returns while one stands; MessageBox creates its
  // window before it pumps, though it shows it only when the queue is idle.
  window.Sync();
  const std::vector<HWND> boxes = TopLevelWindows(process.Id(), L"#32770");
  if (boxes.empty()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "a message box stands: " << MessageBoxWindow(process, boxes.front()).Describe();
}

void PressKey(const MainWindow& window, int control_id, UINT key, Keys held) {
  const HWND control = window.Control(control_id);
  const DWORD program_thread = GetWindowThreadProcessId(control, nullptr);
  const DWORD own_thread = GetCurrentThreadId();
  Check(AttachThreadInput(own_thread, program_thread, TRUE), "AttachThreadInput");
  BYTE state[256] = {};
  const auto set_modifiers = [&](bool down) {
    const BYTE pressed = down ? 0x80 : 0;
    state[VK_SHIFT] = state[VK_LSHIFT] = held == Keys::Shift ? pressed : 0;
    state[VK_CONTROL] = state[VK_LCONTROL] = held == Keys::Control ? pressed : 0;
    Check(SetKeyboardState(state), "SetKeyboardState");
  };
  try {
    Check(GetKeyboardState(state), "GetKeyboardState");
    set_modifiers(true);
    const LPARAM scan_code = static_cast<LPARAM>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16;
    // F10 is a system key, as Alt combinations are: the keyboard sends it as such.
    const bool system_key = key == VK_F10;
    Post(control, system_key ? WM_SYSKEYDOWN : WM_KEYDOWN, key, 1 | scan_code);
    Post(control, system_key ? WM_SYSKEYUP : WM_KEYUP, key,
         static_cast<LPARAM>(0xC0000001) | scan_code);
    window.Sync();
    set_modifiers(false);
  } catch (...) {
    AttachThreadInput(own_thread, program_thread, FALSE);
    throw;
  }
  AttachThreadInput(own_thread, program_thread, FALSE);
}

std::string ClipboardText() {
  std::string text;
  for (int attempt = 0; attempt < 50 && !OpenClipboard(nullptr); ++attempt) Sleep(10);
  if (const HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* wide = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = win32::Utf8(wide);
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

HWND WaitForFolderWindow(const std::filesystem::path& folder) {
  HWND window = nullptr;
  WaitFor([&] {
    return (window = FindWindowW(L"ExplorerWClass", folder.filename().c_str())) != nullptr;
  });
  return window;
}

namespace {

constexpr INT kThemeElements[] = {COLOR_BTNFACE,    COLOR_BTNTEXT,   COLOR_WINDOW,
                                  COLOR_WINDOWTEXT, COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT,
                                  COLOR_GRAYTEXT};

}  // namespace

HighContrastColours::HighContrastColours() {
  for (INT element : kThemeElements) before_.push_back(GetSysColor(element));
  const COLORREF colours[] = {RGB(0, 0, 0),       RGB(255, 255, 255), RGB(0, 0, 0),
                              RGB(255, 255, 255), RGB(128, 0, 128),   RGB(255, 255, 255),
                              RGB(0, 255, 0)};
  static_assert(std::size(colours) == std::size(kThemeElements));
  Check(SetSysColors(static_cast<int>(std::size(kThemeElements)), kThemeElements, colours),
        "SetSysColors");
}

HighContrastColours::~HighContrastColours() {
  SetSysColors(static_cast<int>(before_.size()), kThemeElements, before_.data());
}

std::vector<std::string> FolderListing(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& item : std::filesystem::directory_iterator(folder)) {
    names.push_back(Text(item.path().filename()));
  }
  std::sort(names.begin(), names.end());
  return names;
}

void MakeShortcut(const std::filesystem::path& shortcut, const std::filesystem::path& target) {
  // The test thread may or may not have COM already; either way it is released again.
  const HRESULT initialized = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  {
    Microsoft::WRL::ComPtr<IShellLinkW> link;
    win32::CheckHresult(
        CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link)));
    win32::CheckHresult(link->SetPath(target.c_str()));
    Microsoft::WRL::ComPtr<IPersistFile> file;
    win32::CheckHresult(link.As(&file));
    win32::CheckHresult(file->Save(shortcut.c_str(), TRUE));
  }
  if (SUCCEEDED(initialized)) CoUninitialize();
}

std::wstring Quoted(const std::vector<std::filesystem::path>& paths) {
  std::wstring text;
  for (const auto& path : paths) {
    if (!text.empty()) text += L' ';
    text += L"\"" + path.wstring() + L"\"";
  }
  return text;
}

void ExpectStartTextsAndToolTips(const MainWindow& window, std::string_view (*start_text)(Control),
                                 std::string_view (*tool_tip)(Control)) {
  for (const win32::ControlRow& row : win32::kControlRows) {
    if (row.control == Control::frmMain || row.control == Control::lblInformation) continue;
    const int id = win32::ControlId(row.control);
    EXPECT_EQ(window.Text(id), start_text(row.control)) << row.name;
    const std::string_view tip = tool_tip(row.control);
    EXPECT_EQ(window.ToolTip(id),
              tip.empty() ? std::nullopt : std::optional<std::string>(std::string(tip)))
        << row.name;
  }
}

void ExpectAccessibleNames(const MainWindow& window, std::string_view (*name)(Control)) {
  const HRESULT initialized = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  for (const win32::ControlRow& row : win32::kControlRows) {
    if (name(row.control).empty()) continue;
    Microsoft::WRL::ComPtr<IAccessible> object;
    ASSERT_EQ(AccessibleObjectFromWindow(window.Control(win32::ControlId(row.control)),
                                         OBJID_CLIENT, __uuidof(IAccessible),
                                         reinterpret_cast<void**>(object.GetAddressOf())),
              S_OK)
        << row.name;
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR text = nullptr;
    EXPECT_EQ(object->get_accName(self, &text), S_OK) << row.name;
    EXPECT_EQ(text ? win32::Utf8(text) : "", name(row.control)) << row.name;
    SysFreeString(text);
    // Everything else is the system's own answer: a box is still a text to read.
    if (window.ControlClass(win32::ControlId(row.control)) == "Edit") {
      VARIANT role{};
      EXPECT_EQ(object->get_accRole(self, &role), S_OK) << row.name;
      EXPECT_EQ(role.vt == VT_I4 ? role.lVal : 0, ROLE_SYSTEM_TEXT) << row.name;
    }
  }
  if (SUCCEEDED(initialized)) CoUninitialize();
}

void SaveScreenshotWithAnEntrySelected(const std::filesystem::path& screenshot) {
  ToolFolder folder;
  folder.WriteIni(IniWith({{"OldTool.exe", "C:\\Program Files\\OldTool\\", "2026/11/30"},
                           {"Setup.exe", "C:\\Downloads\\", "2026/12/01"},
                           {"Editor.exe", "D:\\Apps\\Editor\\", "2026/12/06"}}));
  ZelvoProcess zelvo(folder);
  const MainWindow window = zelvo.WaitForMainWindow();
  window.ClickRow(win32::ControlId(Control::lstLogName), 1);
  ASSERT_EQ(window.Text(win32::ControlId(Control::txtLogName)), "OldTool.exe");
  EXPECT_EQ(window.Text(win32::ControlId(Control::txtLogPath)), "C:\\Program Files\\OldTool\\");
  EXPECT_EQ(window.Text(win32::ControlId(Control::txtLogData)), "2026/11/30");
  window.SaveScreenshot(screenshot);
  EXPECT_TRUE(std::filesystem::exists(screenshot));
}

Message ErrorReport(const std::string& source, DWORD number) {
  return expected::ErrorReport(source, static_cast<int32_t>(number), win32::DescribeError(number));
}

}  // namespace zelvo::e2e
