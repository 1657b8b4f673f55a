#include "fakes/fakes.h"

#include <algorithm>

#include <gtest/gtest.h>

#include "texts.h"

namespace zelvo::testing {
namespace {

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

std::string WithoutTrailingBackslash(std::string path) {
  while (path.size() > 3 && path.back() == '\\') path.pop_back();
  return path;
}

std::string ParentOf(const std::string& path) {
  const auto slash = path.find_last_of('\\');
  if (slash == std::string::npos) return {};
  return path.substr(0, slash);
}

std::string LastComponent(const std::string& path) {
  const auto slash = path.find_last_of('\\');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A drive root as a folder key: "c:".
bool IsDrive(const std::string& lower_folder) {
  return lower_folder.size() == 2 && lower_folder[1] == ':';
}

}  // namespace

Failure Win32Failure(int32_t code) {
  switch (code) {
    case 2:
      return Failure(2, "指定されたファイルが見つかりません。");
    case 3:
      return Failure(3, "指定されたパスが見つかりません。");
    case 5:
      return Failure(5, "アクセスが拒否されました。");
    case 32:
      return Failure(32, "プロセスはファイルにアクセスできません。別のプロセスが使用中です。");
    case 112:
      return Failure(112, "ディスクに十分な空き領域がありません。");
    case 183:
      return Failure(183, "既に存在するファイルを作成することはできません。");
    default:
      return Failure(code, "エラー " + std::to_string(code));
  }
}

Failure Refusal() { return Failure(5, Win32Failure(5).Description(), Failure::Kind::Refused); }

Message ReportOf(std::string_view source, const Failure& failure) {
  return expected::ErrorReport(source, failure.Number(), failure.Description());
}

std::string StatusEntry(std::string_view text) { return "status: " + std::string(text); }

std::string BoxEntry(const Message& message) {
  return "box: " + message.title + " | " + message.text;
}

Answer FakeDialogs::Show(const Message& message) {
  shown.push_back(message);
  if (journal_) journal_->push_back(BoxEntry(message));
  if (on_show) on_show(message);
  if (message.buttons == Buttons::Ok) return Answer::Ok;
  if (answers.empty()) {
    ADD_FAILURE() << "a question nobody expected: " << message.text;
    return Answer::No;
  }
  const Answer answer = answers.front();
  answers.pop_front();
  return answer;
}

FakeFile& FakeFileSystem::AddFile(const std::string& path, std::string content) {
  AddFolder(ParentOf(path));
  FakeFile& file = files_[Lower(path)];
  file.path = path;
  file.content = std::move(content);
  return file;
}

void FakeFileSystem::AddFolder(const std::string& path) {
  std::string folder = WithoutTrailingBackslash(path);
  while (!folder.empty()) {
    folders_.insert(Lower(folder));
    folder = ParentOf(folder);
  }
}

void FakeFileSystem::AddShortName(const std::string& short_path, const std::string& long_path) {
  short_names_[Lower(short_path)] = long_path;
}

void FakeFileSystem::FailOn(const std::string& operation, const std::string& path,
                            Failure failure) {
  failures_.push_back({operation, Lower(path), std::move(failure)});
}

void FakeFileSystem::Enter(const std::string& operation, const std::string& path) {
  calls.push_back(operation + " " + path);
  const std::string lower = Lower(path);
  for (auto it = failures_.begin(); it != failures_.end(); ++it) {
    if (it->operation == operation && (it->path.empty() || it->path == lower)) {
      Failure failure = it->failure;
      failures_.erase(it);
      throw failure;
    }
  }
}

std::string FakeFileSystem::Resolve(const std::string& path) const {
  const auto alias = short_names_.find(Lower(path));
  return Lower(alias == short_names_.end() ? path : alias->second);
}

const FakeFile* FakeFileSystem::Find(const std::string& path) const {
  const auto found = files_.find(Resolve(path));
  return found == files_.end() ? nullptr : &found->second;
}

FakeFile* FakeFileSystem::FindFile(const std::string& path) {
  const auto found = files_.find(Resolve(path));
  return found == files_.end() ? nullptr : &found->second;
}

bool FakeFileSystem::HasFolder(const std::string& path) const {
  return folders_.contains(Lower(WithoutTrailingBackslash(path)));
}

std::vector<const FakeFile*> FakeFileSystem::FilesIn(const std::string& folder) const {
  const std::string lower = Lower(WithoutTrailingBackslash(folder));
  std::vector<const FakeFile*> found;
  for (const auto& [key, file] : files_) {
    if (Lower(ParentOf(file.path)) == lower) found.push_back(&file);
  }
  return found;
}

void FakeFileSystem::RequireParent(const std::string& path) const {
  const std::string parent = Lower(ParentOf(path));
  if (!IsDrive(parent) && !folders_.contains(parent)) throw Win32Failure(3);
}

std::string FakeFileSystem::StoredName(const std::string& path) {
  Enter("StoredName", path);
  if (path.empty() || path.find_first_of("*?") != std::string::npos) return {};
  const FakeFile* file = Find(path);
  if (!file || file->hidden || file->system) return {};
  return LastComponent(file->path);
}

std::string FakeFileSystem::LongPath(const std::string& path) {
  Enter("LongPath", path);
  const FakeFile* file = Find(path);
  if (!file) throw Win32Failure(2);
  return file->path;
}

bool FakeFileSystem::IsFolder(const std::string& path) {
  Enter("IsFolder", path);
  return HasFolder(path);
}

void FakeFileSystem::MakeFolder(const std::string& path, NewFolder access) {
  Enter("MakeFolder", path);
  const std::string folder = WithoutTrailingBackslash(path);
  if (HasFolder(folder) || Find(folder)) throw Win32Failure(183);
  RequireParent(folder);
  folders_.insert(Lower(folder));
  made_folders[Lower(folder)] = access;
}

void FakeFileSystem::RemoveFile(const std::string& path) {
  Enter("RemoveFile", path);
  FakeFile* file = FindFile(path);
  if (!file) throw Win32Failure(2);
  if (file->read_only) throw Win32Failure(5);
  files_.erase(Resolve(path));
}

CopyResult FakeFileSystem::CopyToNew(const std::string& from, const std::string& to) {
  Enter("CopyToNew", from + " -> " + to);
  const FakeFile* source = Find(from);
  if (!source) throw Win32Failure(2);
  if (source->link) return CopyResult::SourceIsLink;
  if (HasFolder(to)) throw Win32Failure(5);
  if (Find(to)) return CopyResult::TargetTaken;
  RequireParent(to);
  const std::string content = source->content;
  AddFile(to, content);
  return CopyResult::Copied;
}

void FakeFileSystem::WriteFile(const std::string& path, std::string_view bytes) {
  Enter("WriteFile", path);
  if (HasFolder(path)) throw Win32Failure(5);
  RequireParent(path);
  if (FakeFile* file = FindFile(path)) {
    if (file->read_only || file->hidden || file->system) throw Win32Failure(5);
    file->content = bytes;
    return;
  }
  AddFile(path, std::string(bytes));
}

void FakeFileSystem::ReplaceAtomically(const std::string& path, std::string_view bytes) {
  Enter("ReplaceAtomically", path);
  if (HasFolder(path)) throw Win32Failure(5);
  RequireParent(path);
  if (FakeFile* file = FindFile(path)) {
    if (file->read_only || file->hidden || file->system) throw Win32Failure(5);
    file->content = bytes;
    return;
  }
  AddFile(path, std::string(bytes));
}

std::optional<std::string> FakeFileSystem::ReadFile(const std::string& path, uint64_t at_most) {
  Enter("ReadFile", path);
  const FakeFile* file = Find(path);
  if (!file) throw Win32Failure(2);
  if (file->content.size() > at_most) return std::nullopt;
  return file->content;
}

std::string FakeFileSystem::ReadRange(const std::string& path, uint64_t offset, uint32_t length) {
  Enter("ReadRange", path);
  const FakeFile* file = Find(path);
  if (!file) throw Win32Failure(2);
  if (offset >= file->content.size()) return {};
  return file->content.substr(offset, length);
}

std::string FakeShortcuts::TargetPath(const std::string& shortcut_path) {
  for (const auto& [path, target] : targets) {
    if (Lower(path) == Lower(shortcut_path)) return target;
  }
  throw Failure(static_cast<int32_t>(0x80070002), "指定されたファイルが見つかりません。");
}

std::string FakeEnvironment::DescribeFailure(int32_t number) {
  return "説明 " + std::to_string(number);
}

bool FakeEnvironment::RestartElevated(const std::vector<std::string>& arguments) {
  elevated_starts.push_back(arguments);
  return elevation_allowed;
}

void FakeEnvironment::End(int exit_code) {
  ended = exit_code;
  throw ProgramEnded{exit_code};
}

std::optional<std::string> FakeCodePage::Encode(std::string_view utf8) const {
  std::string ansi;
  for (size_t i = 0; i < utf8.size(); ++i) {
    const auto byte = static_cast<unsigned char>(utf8[i]);
    if (byte < 0x80) {
      ansi += static_cast<char>(byte);
    } else if ((byte == 0xC2 || byte == 0xC3) && i + 1 < utf8.size()) {
      const auto next = static_cast<unsigned char>(utf8[++i]);
      ansi += static_cast<char>(((byte & 0x03) << 6) | (next & 0x3F));
    } else {
      return std::nullopt;
    }
  }
  return ansi;
}

std::string FakeCodePage::Decode(std::string_view ansi) const {
  std::string utf8;
  for (char c : ansi) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      utf8 += c;
    } else {
      utf8 += static_cast<char>(0xC0 | (byte >> 6));
      utf8 += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return utf8;
}

std::string FakeCollator::SortKey(std::string_view utf8) const { return Lower(utf8); }

void FakeListBox::ResetRows(const std::vector<std::string_view>& texts) {
  rows.clear();
  for (auto text : texts) rows.push_back({std::string(text), false});
  current.reset();
}

void FakeListBox::InsertRow(size_t row, std::string_view text) {
  ASSERT_LE(row, rows.size());
  rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(row), {std::string(text), false});
  if (current && *current >= row) ++*current;
}

void FakeListBox::RemoveRow(size_t row) {
  ASSERT_LT(row, rows.size());
  rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(row));
}

void FakeListBox::SetSelected(size_t row, bool selected) {
  ASSERT_LT(row, rows.size());
  rows[row].selected = selected;
}

void FakeListBox::SetAllSelected(bool selected) {
  for (auto& row : rows) row.selected = selected;
}

void FakeListBox::SetCurrentRow(std::optional<size_t> row) { current = row; }

ListSelection FakeListBox::UserSelection() {
  ListSelection selection{{}, current};
  for (size_t row = 0; row < rows.size(); ++row) {
    if (rows[row].selected) selection.rows.push_back(row);
  }
  return selection;
}

void FakeControls::FailOnSetText(Control control, Failure failure) {
  failures_.emplace_back(control, std::move(failure));
}

void FakeControls::SetText(Control control, const std::string& value) {
  for (auto it = failures_.begin(); it != failures_.end(); ++it) {
    if (it->first == control) {
      Failure failure = it->second;
      failures_.erase(it);
      throw failure;
    }
  }
  text[control] = value;
  if (journal_ && control == Control::lblInformation) journal_->push_back("status: " + value);
}

void FakeControls::SetToolTip(Control control, const std::string& value) {
  tool_tip[control] = value;
}

void FakeControls::SetEnabled(Control control, bool value) { enabled[control] = value; }

bool FakeLauncher::Start(const std::string& program_path, const std::string& working_folder) {
  if (journal_) journal_->push_back("start: " + program_path);
  if (refused.contains(program_path)) return false;
  started.emplace_back(program_path, working_folder);
  return true;
}

}  // namespace zelvo::testing
