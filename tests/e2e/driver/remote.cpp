#include "driver/remote.h"

#include <commctrl.h>
#include <shlobj.h>

#include <cstdio>
#include <utility>

#include "driver/errors.h"
#include "win32/system/strings.h"

namespace zelvo::e2e {

namespace {

std::string MessageName(UINT message) {
  char name[16];
  std::snprintf(name, sizeof(name), "0x%04X", message);
  return name;
}

}  // namespace

LRESULT Send(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, Milliseconds timeout) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(hwnd, message, wparam, lparam, SMTO_NORMAL,
                           static_cast<UINT>(timeout.count()), &result)) {
    const DWORD error = GetLastError();
    ThrowError("SendMessageTimeout(" + MessageName(message) + ") to the program",
               error ? error : ERROR_TIMEOUT);
  }
  return static_cast<LRESULT>(result);
}

void Post(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  Check(PostMessageW(hwnd, message, wparam, lparam),
        "PostMessage(" + MessageName(message) + ") to the program");
}

std::string WindowText(HWND hwnd) {
  const auto length = static_cast<size_t>(Send(hwnd, WM_GETTEXTLENGTH));
  std::wstring text(length + 1, L'\0');
  const auto copied = static_cast<size_t>(
      Send(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())));
  text.resize(copied < length ? copied : length);
  return win32::Utf8(text);
}

std::string ClassName(HWND hwnd) {
  // Class names are at most 256 characters.
  wchar_t name[257] = {};
  const int length = GetClassNameW(hwnd, name, 257);
  return win32::Utf8(std::wstring_view(name, static_cast<size_t>(length)));
}

namespace {

struct WindowSearch {
  DWORD process_id;
  const std::wstring* class_name;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM lparam) {
  auto* search = reinterpret_cast<WindowSearch*>(lparam);
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  if (owner != search->process_id) return TRUE;
  wchar_t name[257] = {};
  GetClassNameW(hwnd, name, 257);
  if (*search->class_name == name) search->found.push_back(hwnd);
  return TRUE;
}

}  // namespace

std::vector<HWND> TopLevelWindows(DWORD process_id, const std::wstring& class_name) {
  WindowSearch search{process_id, &class_name, {}};
  EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

RemoteMemory::RemoteMemory(HANDLE process, size_t size)
    : process_(process),
      address_(VirtualAllocEx(process, nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE)),
      size_(size) {
  if (!address_) ThrowLastError("VirtualAllocEx in the program");
}

RemoteMemory::RemoteMemory(RemoteMemory&& other) noexcept
    : process_(other.process_),
      address_(std::exchange(other.address_, nullptr)),
      size_(std::exchange(other.size_, 0)) {}

RemoteMemory& RemoteMemory::operator=(RemoteMemory&& other) noexcept {
  if (this != &other) {
    Free();
    process_ = other.process_;
    address_ = std::exchange(other.address_, nullptr);
    size_ = std::exchange(other.size_, 0);
  }
  return *this;
}

RemoteMemory::~RemoteMemory() { Free(); }

void RemoteMemory::Free() {
  if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
  address_ = nullptr;
}

void* RemoteMemory::Address(size_t offset) const { return static_cast<char*>(address_) + offset; }

void RemoteMemory::Write(size_t offset, const void* data, size_t size) {
  if (offset + size > size_) throw DriverError("RemoteMemory::Write beyond the block");
  SIZE_T written = 0;
  if (!WriteProcessMemory(process_, Address(offset), data, size, &written) || written != size) {
    ThrowLastError("WriteProcessMemory");
  }
}

void RemoteMemory::Read(size_t offset, void* data, size_t size) const {
  if (offset + size > size_) throw DriverError("RemoteMemory::Read beyond the block");
  SIZE_T read = 0;
  if (!ReadProcessMemory(process_, Address(offset), data, size, &read) || read != size) {
    ThrowLastError("ReadProcessMemory");
  }
}

void* RemoteMemory::Release() {
  size_ = 0;
  return std::exchange(address_, nullptr);
}

namespace {

// Comfortably above the 1024 characters (INFOTIPSIZE) that a tool tip copies out.
constexpr size_t kTipCharacters = 4096;

bool ToolCovers(const TTTOOLINFOW& tool, HWND control) {
  if (tool.uFlags & TTF_IDISHWND) return reinterpret_cast<HWND>(tool.uId) == control;
  return tool.hwnd == control;
}

}  // namespace

std::optional<std::string> ToolTipText(HANDLE process, DWORD process_id, HWND control) {
  // One block: the TOOLINFO, then the text buffer it points at.
  constexpr size_t kTextOffset = (sizeof(TTTOOLINFOW) + 15) / 16 * 16;
  RemoteMemory memory(process, kTextOffset + kTipCharacters * sizeof(wchar_t));
  for (HWND tooltip : TopLevelWindows(process_id, TOOLTIPS_CLASSW)) {
    const auto count = static_cast<UINT>(Send(tooltip, TTM_GETTOOLCOUNT));
    for (UINT i = 0; i < count; ++i) {
      TTTOOLINFOW tool{sizeof(tool)};
      memory.Write(0, &tool, sizeof(tool));
      if (!Send(tooltip, TTM_ENUMTOOLSW, i, reinterpret_cast<LPARAM>(memory.Address()))) continue;
      memory.Read(0, &tool, sizeof(tool));
      if (!ToolCovers(tool, control)) continue;
      const wchar_t empty = L'\0';
      memory.Write(kTextOffset, &empty, sizeof(empty));
      tool.lpszText = static_cast<wchar_t*>(memory.Address(kTextOffset));
      memory.Write(0, &tool, sizeof(tool));
      Send(tooltip, TTM_GETTEXTW, kTipCharacters, reinterpret_cast<LPARAM>(memory.Address()));
      std::wstring text(kTipCharacters, L'\0');
      memory.Read(kTextOffset, text.data(), text.size() * sizeof(wchar_t));
      text.resize(text.find(L'\0'));
      return win32::Utf8(text);
    }
  }
  return std::nullopt;
}

void DropFiles(HANDLE process, HWND target, const std::vector<std::filesystem::path>& paths,
               POINT point) {
  // DROPFILES, then each path with its terminating null, then one more null.
  std::wstring list;
  for (const auto& path : paths) {
    list += path.wstring();
    list += L'\0';
  }
  list += L'\0';
  DROPFILES header{};
  header.pFiles = sizeof(header);
  header.pt = point;
  header.fNC = FALSE;
  header.fWide = TRUE;
  RemoteMemory block(process, sizeof(header) + list.size() * sizeof(wchar_t));
  block.Write(0, &header, sizeof(header));
  block.Write(sizeof(header), list.data(), list.size() * sizeof(wchar_t));
  Post(target, WM_DROPFILES, reinterpret_cast<WPARAM>(block.Address()));
  // The program reads the block whenever it handles the drop, and its DragFinish cannot free
  // memory that did not come from GlobalAlloc (Wine refuses it with ERROR_INVALID_HANDLE and
  // goes on): the block stays in the program until it ends.
  block.Release();
}

}  // namespace zelvo::e2e
