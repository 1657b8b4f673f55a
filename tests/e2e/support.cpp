#include "support.h"

#include <objbase.h>
#include <shlobj.h>
#include <wrl/client.h>

#include <gmock/gmock.h>

#include <algorithm>

#include "platform/win32/control_ids.h"
#include "platform/win32/strings.h"
#include "platform/win32/win32_error.h"

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

std::string X86Manifest() {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
         "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">\r\n"
         "\r\n"
         "<description></description>\r\n"
         "<dependency>\r\n"
         "\t<dependentAssembly>\r\n"
         "\t\t<assemblyIdentity\r\n"
         "\t\t\ttype=\"win32\"\r\n"
         "\t\t\tname=\"Microsoft.Windows.Common-Controls\"\r\n"
         "\t\t\tversion=\"6.0.0.0\"\r\n"
         "\t\t\tprocessorArchitecture=\"X86\"\r\n"
         "\t\t\tpublicKeyToken=\"6595b64144ccf1df\"\r\n"
         "\t\t\tlanguage=\"*\"\r\n"
         "\t\t/>\r\n"
         "\t</dependentAssembly>\r\n"
         "</dependency>\r\n"
         "</assembly>\r\n"
         "\r\n";
}

std::string AnyProcessorManifest() {
  const std::string x86 = X86Manifest();
  const std::string_view architecture = "processorArchitecture=\"X86\"";
  const size_t at = x86.find(architecture);
  return x86.substr(0, at) + "processorArchitecture=\"*\"" + x86.substr(at + architecture.size());
}

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

std::string AppliedStatus(const std::string& name) {
  return name + " に、XPスタイルを適用しました！";
}

std::string CancelledStatus(const std::string& name) {
  return name + " への適用がキャンセルされました。";
}

std::string FolderOf(const std::filesystem::path& file) { return Text(file.parent_path()) + "\\"; }

void ExpectStatusLine(const MainWindow& window, const std::string& status) {
  EXPECT_EQ(window.Text(win32::kIdLblInformation), status);
  EXPECT_EQ(window.ToolTip(win32::kIdLblInformation), std::optional<std::string>(status));
}

void WaitForStatusLine(const MainWindow& window, const std::string& status) {
  WaitFor([&] { return window.Text(win32::kIdLblInformation) == status; });
  ExpectStatusLine(window, status);
}

namespace {

constexpr int kSelectionControls[] = {win32::kIdCmdReturn,  win32::kIdCmdDelLog,
                                      win32::kIdCmdShell,   win32::kIdTxtLogName,
                                      win32::kIdTxtLogData, win32::kIdTxtLogPath};

void ExpectDetailTexts(const MainWindow& window, const std::string& name_text,
                       const std::string& folder, const std::string& date) {
  EXPECT_EQ(window.Text(win32::kIdTxtLogName), name_text);
  EXPECT_EQ(window.Text(win32::kIdTxtLogPath), folder);
  EXPECT_EQ(window.Text(win32::kIdTxtLogData), date);
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
    Post(control, WM_KEYDOWN, key, 1 | scan_code);
    Post(control, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001) | scan_code);
    window.Sync();
    set_modifiers(false);
  } catch (...) {
    AttachThreadInput(own_thread, program_thread, FALSE);
    throw;
  }
  AttachThreadInput(own_thread, program_thread, FALSE);
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

namespace {

const std::string kApplyTitle = "XPスタイル適用 - 処理の確認";
const std::string kRestoreTitle = "元に戻す - 処理の確認";
const std::string kLaunchFailedTitle = "ソフトを起動する - 起動の失敗";

}  // namespace

Message ShortcutNotice(const std::string& name) {
  return Notice(
      name + " は、ショートカットファイルのため、リンク先のソフトにXPスタイルを適用します。",
      kApplyTitle, Icon::Information);
}

Message MissingProgramWarning() {
  return Notice(
      "指定されたソフトが見つからないため、XPスタイルを適用するコトができません。\r\n"
      "削除、もしくは移動された可能性があります。",
      "XPスタイル適用 - 適用失敗", Icon::Warning);
}

Message NotAProgramQuestion(const std::string& name) {
  return Question(
      name + " は、実行形式のソフトではありません。\r\nそれでもXPスタイルを適用しますか？",
      kApplyTitle, DefaultButton::First);
}

Message ReplaceManifestQuestion(const std::string& name) {
  return Question(name +
                      " には、既にXPスタイルが適用されています。\r\n"
                      "新たにXPスタイルを適用しますか？\r\n"
                      "古いマニフェストファイルは、バックアップフォルダにバックアップされます。",
                  kApplyTitle, DefaultButton::First);
}

Message EmbeddedThemedQuestion(const std::string& name) {
  return Question(name +
                      " には、XPスタイルを指定するマニフェストが埋め込まれています。\r\n"
                      "このソフトは、マニフェストファイルがなくてもXPスタイルで表示されます。\r\n"
                      "それでもXPスタイルを適用しますか？",
                  kApplyTitle, DefaultButton::First);
}

Message EmbeddedManifestQuestion(const std::string& name) {
  return Question(name +
                      " には、マニフェストが埋め込まれています。\r\n"
                      "Windows Vista以降では埋め込まれたマニフェストが優先されるため、"
                      "マニフェストファイルは無視されます。\r\n"
                      "それでもXPスタイルを適用しますか？",
                  kApplyTitle, DefaultButton::First);
}

Message SecondInstanceWarning() {
  return Notice("既にZelvoちゃんは起動されています。", "Zelvoちゃん", Icon::Warning);
}

Message ErrorReport(const std::string& source, DWORD number) {
  return Notice(
      "予期せぬエラーが発生しました。\r\n"
      "以下の情報を元に作成者に連絡して下さい。\r\n"
      "\r\n"
      "エラー元 ： " +
          source +
          "\r\n"
          "エラー番号 ： " +
          std::to_string(static_cast<int32_t>(number)) +
          "\r\n"
          "エラー内容 ： " +
          win32::DescribeError(number),
      "予期せぬエラーの発生", Icon::Stop);
}

Message RestoreQuestion(int count) {
  return Question("選択されている " + std::to_string(count) + " 個のソフトを元に戻しますか？",
                  kRestoreTitle, DefaultButton::Second);
}

Message RestoreMissingQuestion(const std::string& name) {
  return Question("選択された " + name +
                      "には、XPスタイルが適用されていません。\r\n"
                      "手動で元に戻されたか、ファイルが移動された可能性があります。\r\n" +
                      name + " を、リストから削除しますか？",
                  kRestoreTitle, DefaultButton::Second);
}

Message RemoveQuestion(int count) {
  return Question("選択されている " + std::to_string(count) +
                      " 個のソフトをリストから削除しますか？\r\n"
                      "リストから削除しても、手動で元に戻すコトができます。",
                  "リストから削除 - 処理の確認", DefaultButton::Second);
}

Message LaunchQuestion(int count) {
  std::string text = "選択されている " + std::to_string(count) + " 個のソフトを起動しますか？";
  if (count > 1) {
    text += "\r\n１度に複数のソフトを起動すると、パソコンが不安定になる可能性があります。";
  }
  return Question(text, "ソフトを起動する - 処理の確認", DefaultButton::Second);
}

Message NotExecutableNotice(const std::string& name) {
  return Notice("選択されている " + name + " は、実行形式ではないため実行するコトができません。",
                kLaunchFailedTitle, Icon::Warning);
}

Message NotFoundNotice(const std::string& name) {
  return Notice(name + " が、見つかりませんでした。\r\n移動、もしくは削除された可能性があります。",
                kLaunchFailedTitle, Icon::Warning);
}

Message LaunchFailedNotice(const std::string& name) {
  return Notice(name + " の起動に失敗しました。", kLaunchFailedTitle, Icon::Warning);
}

}  // namespace zelvo::e2e
