#include "win32/system/shell.h"

#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

#include "win32/system/owner.h"
#include "win32/system/paths.h"
#include "win32/system/strings.h"
#include "win32/system/win32_error.h"

namespace zelvo::win32 {
namespace {

BOOL FreeIdList(PIDLIST_ABSOLUTE list) {
  CoTaskMemFree(list);
  return TRUE;
}
// A shell item id list that the shell made for the caller.
using UniqueIdList = Owner<NullIsInvalid<PIDLIST_ABSOLUTE, &FreeIdList>>;

// The shell's item id list of a full path, in the form the shell takes.
UniqueIdList ParseDisplayName(const std::string& path) {
  const std::wstring shell_path = ShellPath(ExtendedPath(path));
  PIDLIST_ABSOLUTE list = nullptr;
  CheckHresult(SHParseDisplayName(shell_path.c_str(), nullptr, &list, 0, nullptr));
  return UniqueIdList(list);
}

// The clipboard, open for one scope.
class OpenedClipboard {
 public:
  explicit OpenedClipboard(HWND owner) {
    // Another program may hold the clipboard open for a moment (a clipboard manager reading
    // what changed): it is asked again a few times before that counts as a failure.
    constexpr int kAttempts = 10;
    constexpr DWORD kPauseMilliseconds = 20;
    for (int attempt = 1; !OpenClipboard(owner); ++attempt) {
      if (attempt == kAttempts) ThrowLastError();
      Sleep(kPauseMilliseconds);
    }
  }
  ~OpenedClipboard() { CloseClipboard(); }
  OpenedClipboard(const OpenedClipboard&) = delete;
  OpenedClipboard& operator=(const OpenedClipboard&) = delete;
};

}  // namespace

void Win32Shell::ShowInFolder(const std::string& folder, const std::vector<std::string>& names) {
  if (!com_) com_.emplace();
  const UniqueIdList folder_list = ParseDisplayName(folder);
  std::vector<UniqueIdList> items;
  std::vector<PCUITEMID_CHILD> children;
  items.reserve(names.size());
  children.reserve(names.size());
  for (const std::string& name : names) {
    items.push_back(ParseDisplayName(folder + name));
    // The last part of each full list names the item within the folder.
    children.push_back(ILFindLastID(items.back().Get()));
  }
  CheckHresult(SHOpenFolderAndSelectItems(folder_list.Get(), static_cast<UINT>(children.size()),
                                          children.data(), 0));
}

void Win32Clipboard::SetText(const std::string& text) {
  const std::wstring wide = Wide(text);
  const size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
  UniqueGlobal memory(GlobalAlloc(GMEM_MOVEABLE, bytes));
  if (!memory) ThrowLastError();
  void* const data = GlobalLock(memory.Get());
  if (!data) ThrowLastError();
  std::memcpy(data, wide.c_str(), bytes);
  GlobalUnlock(memory.Get());

  const OpenedClipboard clipboard(owner_);
  if (!EmptyClipboard()) ThrowLastError();
  if (!SetClipboardData(CF_UNICODETEXT, memory.Get())) ThrowLastError();
  // The clipboard owns the memory from here on.
  memory.Release();
}

}  // namespace zelvo::win32
