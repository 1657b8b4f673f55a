#include "support.h"

#include <objbase.h>
#include <shlobj.h>
#include <wrl/client.h>

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

}  // namespace zelvo::e2e
