#include "model/file_names.h"

namespace zelvo {
namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

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

bool IsPlainFileName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  if (name.back() == '.' || name.back() == ' ') return false;
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) return false;
    if (std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos) return false;
  }
  return true;
}

bool IsNormalFolder(std::string_view folder) {
  if (folder.size() < 3 || folder.back() != '\\') return false;
  std::string_view rest;
  const char first = LowerAscii(folder[0]);
  if (first >= 'a' && first <= 'z' && folder[1] == ':' && folder[2] == '\\') {
    rest = folder.substr(3);
  } else if (folder[0] == '\\' && folder[1] == '\\') {
    // \\server\share\: both there; "\\?\" and "\\.\" are no server.
    rest = folder.substr(2);
    for (int part = 0; part < 2; ++part) {
      const size_t end = rest.find('\\');
      if (end == std::string_view::npos || !IsPlainFileName(rest.substr(0, end))) return false;
      rest.remove_prefix(end + 1);
    }
  } else {
    return false;
  }
  while (!rest.empty()) {
    const size_t end = rest.find('\\');
    if (!IsPlainFileName(rest.substr(0, end))) return false;
    rest.remove_prefix(end + 1);
  }
  return true;
}

}  // namespace zelvo
