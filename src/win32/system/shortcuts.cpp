#include "win32/system/shortcuts.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <wrl/client.h>

#include <string>

#include "win32/system/paths.h"
#include "win32/system/strings.h"
#include "win32/system/win32_error.h"

namespace zelvo::win32 {
namespace {

// The longest path Windows knows, with its terminating NUL.
constexpr int kLongestPath = 32768;

}  // namespace

std::string Win32Shortcuts::TargetPath(const std::string& shortcut_path) {
  using Microsoft::WRL::ComPtr;
  if (!com_) com_.emplace();
  const std::wstring path = ShellPath(ExtendedPath(shortcut_path));

  ComPtr<IShellLinkW> link;
  CheckHresult(
      CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link)));
  ComPtr<IPersistFile> file;
  CheckHresult(link.As(&file));
  CheckHresult(file->Load(path.c_str(), STGM_READ));

  // Flags 0: the target as the shell starts it, environment variables expanded, in the form
  // it was made with (a mapped drive stays a drive letter). SLGP_UNCPRIORITY is documented as
  // unsupported.
  std::wstring target(kLongestPath, L'\0');
  const HRESULT result = link->GetPath(target.data(), kLongestPath, nullptr, 0);
  CheckHresult(result);
  if (result != S_OK) return {};  // S_FALSE: the link points at something that is no file
  target.resize(wcsnlen(target.c_str(), target.size()));
  return Utf8(target);
}

}  // namespace zelvo::win32
