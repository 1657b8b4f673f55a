#include "model/file_names.h"

namespace zelvo {
namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

}  // namespace

bool HasExtension(std::string_view path, std::string_view extension) {
  if (path.size() < extension.size()) return false;
  const std::string_view tail = path.substr(path.size() - extension.size());
  for (size_t i = 0; i < tail.size(); ++i) {
    if (LowerAscii(tail[i]) != LowerAscii(extension[i])) return false;
  }
  return true;
}

bool CanNameFile(std::string_view path) {
  return !path.empty() && path.find_first_of("*?") == std::string_view::npos;
}

std::string FolderOf(std::string_view path) {
  const size_t slash = path.find_last_of('\\');
  return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

std::string LastComponent(std::string_view path) {
  const size_t slash = path.find_last_of('\\');
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

bool IsFullFolder(std::string_view folder) {
  if (folder.size() < 3) return false;
  const char first = LowerAscii(folder[0]);
  const bool drive = first >= 'a' && first <= 'z' && folder[1] == ':' && IsSeparator(folder[2]);
  const bool share = IsSeparator(folder[0]) && IsSeparator(folder[1]) && !IsSeparator(folder[2]);
  return drive || share;
}

}  // namespace zelvo
