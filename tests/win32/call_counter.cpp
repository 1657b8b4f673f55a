#include "call_counter.h"

#include <cwctype>
#include <stdexcept>

namespace zelvo::test {

// The one counter at work: the stand-ins are plain functions the import table points at.
static PathCallCounter* active = nullptr;

struct Hooks {
  template <class Function>
  static Function Original(const char* name) {
    return reinterpret_cast<Function>(active->originals_.at(name));
  }

  static DWORD WINAPI GetFullPathName(LPCWSTR path, DWORD size, LPWSTR buffer, LPWSTR* part) {
    active->Record("GetFullPathNameW", path);
    return Original<decltype(&::GetFullPathNameW)>("GetFullPathNameW")(path, size, buffer, part);
  }
  static HANDLE WINAPI FindFirstFileEx(LPCWSTR path, FINDEX_INFO_LEVELS level, LPVOID data,
                                       FINDEX_SEARCH_OPS search, LPVOID filter, DWORD flags) {
    active->Record("FindFirstFileExW", path);
    return Original<decltype(&::FindFirstFileExW)>("FindFirstFileExW")(path, level, data, search,
                                                                       filter, flags);
  }
  static HANDLE WINAPI CreateFile(LPCWSTR path, DWORD access, DWORD share,
                                  LPSECURITY_ATTRIBUTES security, DWORD disposition, DWORD flags,
                                  HANDLE model) {
    active->Record("CreateFileW", path);
    return Original<decltype(&::CreateFileW)>("CreateFileW")(path, access, share, security,
                                                             disposition, flags, model);
  }
  static DWORD WINAPI GetFileAttributes(LPCWSTR path) {
    active->Record("GetFileAttributesW", path);
    return Original<decltype(&::GetFileAttributesW)>("GetFileAttributesW")(path);
  }
  static BOOL WINAPI GetFileAttributesEx(LPCWSTR path, GET_FILEEX_INFO_LEVELS level, LPVOID data) {
    active->Record("GetFileAttributesExW", path);
    return Original<decltype(&::GetFileAttributesExW)>("GetFileAttributesExW")(path, level, data);
  }
};

namespace {

struct Hook {
  const char* name;
  void* stand_in;
};

const Hook kHooks[] = {
    {"GetFullPathNameW", reinterpret_cast<void*>(&Hooks::GetFullPathName)},
    {"FindFirstFileExW", reinterpret_cast<void*>(&Hooks::FindFirstFileEx)},
    {"CreateFileW", reinterpret_cast<void*>(&Hooks::CreateFile)},
    {"GetFileAttributesW", reinterpret_cast<void*>(&Hooks::GetFileAttributes)},
    {"GetFileAttributesExW", reinterpret_cast<void*>(&Hooks::GetFileAttributesEx)},
};

// Points the import table entries of kernel32's `names` at `replace(name, old)`'s answer.
template <class Replace>
void PatchImports(Replace replace) {
  auto* base = reinterpret_cast<unsigned char*>(GetModuleHandleW(nullptr));
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& directory =
      nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  auto* descriptor = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
  for (; descriptor->Name != 0; ++descriptor) {
    if (lstrcmpiA(reinterpret_cast<const char*>(base + descriptor->Name), "kernel32.dll") != 0) {
      continue;
    }
    auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + descriptor->OriginalFirstThunk);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + descriptor->FirstThunk);
    for (; names->u1.AddressOfData != 0; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      const auto* by_name =
          reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      void* const current = reinterpret_cast<void*>(slots->u1.Function);
      void* const wanted = replace(reinterpret_cast<const char*>(by_name->Name), current);
      if (wanted == current) continue;
      DWORD old_protection = 0;
      if (!VirtualProtect(&slots->u1.Function, sizeof(void*), PAGE_READWRITE, &old_protection)) {
        throw std::runtime_error("VirtualProtect failed");
      }
      slots->u1.Function = reinterpret_cast<ULONG_PTR>(wanted);
      VirtualProtect(&slots->u1.Function, sizeof(void*), old_protection, &old_protection);
    }
  }
}

}  // namespace

PathCallCounter::PathCallCounter() {
  if (active) throw std::logic_error("one counter at a time");
  active = this;
  PatchImports([this](const std::string& name, void* current) -> void* {
    for (const Hook& hook : kHooks) {
      if (name == hook.name) {
        originals_[name] = current;
        return hook.stand_in;
      }
    }
    return current;
  });
}

PathCallCounter::~PathCallCounter() {
  PatchImports([this](const std::string& name, void* current) -> void* {
    const auto original = originals_.find(name);
    return original == originals_.end() ? current : original->second;
  });
  active = nullptr;
}

void PathCallCounter::Record(const char* function, const wchar_t* path) {
  std::wstring call(function, function + std::char_traits<char>::length(function));
  calls_.push_back(call + L" " + (path ? path : L"(null)"));
}

int PathCallCounter::Count(const std::string& function, const std::wstring& name) const {
  const std::wstring prefix(function.begin(), function.end());
  auto lower = [](std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
    return text;
  };
  const std::wstring suffix = lower(name);
  int count = 0;
  for (const std::wstring& call : calls_) {
    if (call.size() <= prefix.size() || call.compare(0, prefix.size(), prefix) != 0 ||
        call[prefix.size()] != L' ') {
      continue;
    }
    const std::wstring path = lower(call.substr(prefix.size() + 1));
    count += path.size() >= suffix.size() &&
             path.compare(path.size() - suffix.size(), suffix.size(), suffix) == 0;
  }
  return count;
}

}  // namespace zelvo::test
