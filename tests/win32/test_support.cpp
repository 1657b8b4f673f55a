#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <stdexcept>
#include <vector>

#include <sddl.h>

#include "win32/system/paths.h"
#include "win32/system/strings.h"
#include "win32/system/owner.h"

namespace zelvo::test {
namespace {

using win32::Utf8;
using win32::Wide;

void Check(bool ok, const char* what) {
  if (!ok)
    throw std::runtime_error(std::string(what) + " failed: " + std::to_string(GetLastError()));
}

// Deletes a tree; a program started by a test may still hold its image open for a moment.
void RemoveTree(const std::wstring& path) {
  WIN32_FIND_DATAW found;
  win32::UniqueFind search(FindFirstFileExW((path + L"\\*").c_str(), FindExInfoBasic, &found,
                                            FindExSearchNameMatch, nullptr, 0));
  if (search.Valid()) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring child = path + L"\\" + name;
      SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(child);
      } else {
        for (int attempt = 0; !DeleteFileW(child.c_str()) && attempt < 50; ++attempt) Sleep(100);
      }
    } while (FindNextFileW(search.Get(), &found));
  }
  search.Close();
  for (int attempt = 0; !RemoveDirectoryW(path.c_str()) && attempt < 50; ++attempt) Sleep(100);
}

}  // namespace

TempFolder::TempFolder() {
  static std::atomic<int> counter = 0;
  const DWORD size = GetTempPathW(0, nullptr);
  std::wstring base(size, L'\0');
  base.resize(GetTempPathW(size, base.data()));
  const std::wstring name = L"zelvo-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                            std::to_wstring(GetTickCount64()) + L"-" + std::to_wstring(++counter);
  const std::wstring folder = base + name;
  Check(CreateDirectoryW(folder.c_str(), nullptr) != FALSE, "CreateDirectoryW");
  path_ =
      Utf8(win32::NormalPath(win32::StoredPath(win32::ExtendedPath(std::wstring_view(folder)))));
}

TempFolder::~TempFolder() { RemoveTree(Extended(path_)); }

std::string TempFolder::Path(std::string_view name) const {
  return path_ + "\\" + std::string(name);
}

std::wstring Extended(const std::string& path) { return win32::ExtendedPath(path); }

void WriteBytes(const std::string& path, std::string_view bytes) {
  win32::UniqueFile file(CreateFileW(Extended(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                     CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  Check(file.Valid(), "CreateFileW");
  DWORD written = 0;
  Check(::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                    nullptr) != FALSE &&
            written == bytes.size(),
        "WriteFile");
}

std::string ReadBytes(const std::string& path) {
  win32::UniqueFile file(CreateFileW(Extended(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  Check(file.Valid(), "CreateFileW");
  std::string bytes;
  char buffer[4096];
  DWORD read = 0;
  while (::ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr) && read > 0) {
    bytes.append(buffer, read);
  }
  return bytes;
}

bool Exists(const std::string& path) {
  return GetFileAttributesW(Extended(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void MakeFolder(const std::string& path) {
  Check(CreateDirectoryW(Extended(path).c_str(), nullptr) != FALSE, "CreateDirectoryW");
}

void AddAttributes(const std::string& path, DWORD attributes) {
  const std::wstring extended = Extended(path);
  const DWORD old = GetFileAttributesW(extended.c_str());
  Check(old != INVALID_FILE_ATTRIBUTES, "GetFileAttributesW");
  Check(SetFileAttributesW(extended.c_str(), (old & ~FILE_ATTRIBUTE_NORMAL) | attributes) != FALSE,
        "SetFileAttributesW");
}

std::string ListFolder(const std::string& path) {
  std::vector<std::string> names;
  WIN32_FIND_DATAW found;
  win32::UniqueFind search(FindFirstFileExW((Extended(path) + L"\\*").c_str(), FindExInfoBasic,
                                            &found, FindExSearchNameMatch, nullptr, 0));
  if (search.Valid()) {
    do {
      const std::wstring name = found.cFileName;
      if (name != L"." && name != L"..") names.push_back(Utf8(name));
    } while (FindNextFileW(search.Get(), &found));
  }
  std::sort(names.begin(), names.end());
  std::string list;
  for (const std::string& name : names) list += (list.empty() ? "" : "|") + name;
  return list;
}

std::string TestProgramFolder() {
  std::wstring path(32768, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
  return Utf8(path.substr(0, path.find_last_of(L'\\')));
}

namespace {

void SetAccess(const std::string& folder, const wchar_t* sddl) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &descriptor,
                                                            nullptr)) {
    throw std::runtime_error("ConvertStringSecurityDescriptorToSecurityDescriptor");
  }
  const win32::LocalMemory<PSECURITY_DESCRIPTOR> owned(descriptor);
  // Wine applies a list given to SetFileSecurity to the folder's permission bits, but not one
  // given to SetNamedSecurityInfo.
  if (!SetFileSecurityW(Extended(folder).c_str(), DACL_SECURITY_INFORMATION, descriptor)) {
    throw std::runtime_error("SetFileSecurity " + folder);
  }
}

}  // namespace

FolderAccess::FolderAccess(std::string folder, const wchar_t* sddl) : folder_(std::move(folder)) {
  SetAccess(folder_, sddl);
}

FolderAccess::~FolderAccess() {
  try {
    SetAccess(folder_, L"D:P(A;;FA;;;WD)");
  } catch (const std::exception&) {
    // The folder stays behind then: a destructor cannot report.
  }
}

void UnexpectedFailures::ReportError(std::string_view source, const Failure& failure) {
  ADD_FAILURE() << "reported in " << source << ": " << failure.Number() << " "
                << failure.Description();
}

}  // namespace zelvo::test
