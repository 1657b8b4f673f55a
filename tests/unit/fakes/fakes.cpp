#include "fakes/fakes.h"

#include <algorithm>
#include <utility>

#include <gtest/gtest.h>

#include "model/hand_over.h"
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

Refusal AccessDenied(const std::string& folder) {
  return {5, Win32Failure(5).Description(), folder};
}

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

void FakeFileSystem::RefuseOn(const std::string& operation, const std::string& path) {
  failures_.push_back({operation, Lower(path), std::nullopt});
}

void FakeFileSystem::Enter(const std::string& operation, const std::string& path) {
  calls.push_back(operation + " " + path);
  const std::string lower = Lower(path);
  for (auto it = failures_.begin(); it != failures_.end(); ++it) {
    if (it->operation == operation && (it->path.empty() || it->path == lower) && it->failure) {
      Failure failure = *it->failure;
      failures_.erase(it);
      throw failure;
    }
  }
}

bool FakeFileSystem::Refused(const std::string& operation, const std::string& path) {
  const std::string lower = Lower(path);
  for (auto it = failures_.begin(); it != failures_.end(); ++it) {
    if (it->operation == operation && (it->path.empty() || it->path == lower) && !it->failure) {
      failures_.erase(it);
      return true;
    }
  }
  return false;
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

FileFacts FakeFileSystem::Look(const std::string& path) {
  Enter("Look", path);
  FileFacts facts;
  if (path.empty() || path.find_first_of("*?") != std::string::npos || path.back() == '\\') {
    return facts;
  }
  if (const FakeFile* file = Find(path)) {
    facts.kind = FileFacts::Kind::File;
    facts.hidden = file->hidden;
    facts.system = file->system;
    facts.link = file->link;
    facts.size = file->content.size();
    if (!file->hidden && !file->system) {
      facts.stored_name = LastComponent(file->path);
      facts.full_path = file->path;
    }
  } else if (HasFolder(path)) {
    facts.kind = FileFacts::Kind::Folder;
  }
  return facts;
}

ChangeResult FakeFileSystem::MakeFolder(const std::string& path, NewFolder access) {
  Enter("MakeFolder", path);
  if (Refused("MakeFolder", path)) return {AccessDenied(ParentOf(path))};
  const std::string folder = WithoutTrailingBackslash(path);
  if (HasFolder(folder) || Find(folder)) throw Win32Failure(183);
  RequireParent(folder);
  folders_.insert(Lower(folder));
  made_folders[Lower(folder)] = access;
  return {};
}

ChangeResult FakeFileSystem::RemoveFile(const std::string& path) {
  Enter("RemoveFile", path);
  if (Refused("RemoveFile", path)) return {AccessDenied(ParentOf(path))};
  FakeFile* file = FindFile(path);
  if (!file) throw Win32Failure(2);
  if (file->read_only) throw Win32Failure(5);
  files_.erase(Resolve(path));
  return {};
}

CopyResult FakeFileSystem::CopyToNew(const std::string& from, const std::string& folder,
                                     const std::string& name) {
  const std::string to = WithoutTrailingBackslash(folder) + "\\" + name;
  Enter("CopyToNew", from + " -> " + to);
  const FakeFile* source = Find(from);
  if (!source) throw Win32Failure(2);
  if (source->link) return {CopyResult::SourceIsLink, std::nullopt};
  if (!HasFolder(folder)) throw Win32Failure(3);
  if (HasFolder(to)) throw Win32Failure(5);
  if (Find(to)) return {CopyResult::TargetTaken, std::nullopt};
  if (Refused("CopyToNew", from + " -> " + to) || Refused("CopyToNew", to)) {
    return {CopyResult::Refused, AccessDenied(WithoutTrailingBackslash(folder))};
  }
  const std::string content = source->content;
  AddFile(to, content);
  return {CopyResult::Copied, std::nullopt};
}

FolderGuard FakeFileSystem::GuardOf(const std::string& folder) {
  Enter("GuardOf", folder);
  if (!guarding) return FolderGuard::Unguardable;
  const auto made = made_folders.find(Lower(WithoutTrailingBackslash(folder)));
  return made != made_folders.end() && made->second == NewFolder::AdministratorsOnly
             ? FolderGuard::AdministratorsOnly
             : FolderGuard::Open;
}

std::string FakeFileSystem::PathForAnyAccount(const std::string& path) {
  Enter("PathForAnyAccount", path);
  std::string full = path.size() >= 2 && (path[1] == ':' || path.starts_with("\\\\"))
                         ? path
                         : current_folder + "\\" + path;
  const auto mapped = mapped_drives.find(full.substr(0, 2));
  if (mapped != mapped_drives.end()) full = mapped->second + full.substr(2);
  return full;
}

ChangeResult FakeFileSystem::WriteFile(const std::string& path, std::string_view bytes) {
  Enter("WriteFile", path);
  if (Refused("WriteFile", path)) return {AccessDenied(ParentOf(path))};
  if (HasFolder(path)) throw Win32Failure(5);
  RequireParent(path);
  if (FakeFile* file = FindFile(path)) {
    if (file->read_only || file->hidden || file->system) throw Win32Failure(5);
    file->content = bytes;
    return {};
  }
  AddFile(path, std::string(bytes));
  return {};
}

ChangeResult FakeFileSystem::ReplaceAtomically(const std::string& path, std::string_view bytes) {
  Enter("ReplaceAtomically", path);
  if (Refused("ReplaceAtomically", path)) return {AccessDenied(ParentOf(path))};
  if (HasFolder(path)) throw Win32Failure(5);
  RequireParent(path);
  if (FakeFile* file = FindFile(path)) {
    if (file->read_only || file->hidden || file->system) throw Win32Failure(5);
    file->content = bytes;
    return {};
  }
  AddFile(path, std::string(bytes));
  return {};
}

std::optional<std::string> FakeFileSystem::ReadFile(const std::string& path, uint64_t at_most) {
  Enter("ReadFile", path);
  const FakeFile* file = Find(path);
  if (!file) throw Win32Failure(2);
  if (file->content.size() > at_most) return std::nullopt;
  return file->content;
}

// A program file opened: its bytes as they are when read.
class FakeFileSystem::OpenFile : public ProgramFile {
 public:
  OpenFile(FakeFileSystem& files, std::string path) : files_(files), path_(std::move(path)) {}
  std::string Read(uint64_t offset, uint32_t length) override {
    files_.Enter("Read", path_);
    const FakeFile* file = files_.Find(path_);
    if (!file) throw Win32Failure(38);  // ERROR_HANDLE_EOF: the file went while it was open
    if (offset >= file->content.size()) return {};
    return file->content.substr(offset, length);
  }

  bool TouchLastWrite() override { return files_.Touch(path_); }

 private:
  FakeFileSystem& files_;
  std::string path_;
};

bool FakeFileSystem::Touch(const std::string& path) {
  Enter("Touch", path);
  FakeFile* file = FindFile(path);
  if (!file || Refused("Touch", path)) return false;
  ++file->touched;
  return true;
}

bool FakeFileSystem::TouchLastWrite(const std::string& path) { return Touch(path); }

OpenedProgram FakeFileSystem::OpenProgram(const std::string& path) {
  try {
    Enter("OpenProgram", path);
  } catch (const Failure& failure) {
    return {nullptr, failure.Description()};
  }
  if (!Find(path)) return {nullptr, Win32Failure(2).Description()};
  return {std::make_unique<OpenFile>(*this, path), {}};
}

std::string FakeShortcuts::TargetPath(const std::string& shortcut_path) {
  for (const auto& [path, target] : targets) {
    if (Lower(path) == Lower(shortcut_path)) return target;
  }
  throw Failure(static_cast<int32_t>(0x80070002), "指定されたファイルが見つかりません。");
}

std::optional<std::string> FakeEnvironment::TakeHandOver() {
  if (hand_over_failure) throw *std::exchange(hand_over_failure, {});
  return std::exchange(handed_over, {});
}

std::string FakeEnvironment::DescribeFailure(int32_t number) {
  return "説明 " + std::to_string(number);
}

ElevatedStart FakeEnvironment::StartElevated(std::string_view hand_over) {
  hand_overs.emplace_back(hand_over);
  const std::optional<HandOver> parsed = ParseHandOver(hand_over);
  EXPECT_TRUE(parsed) << "no hand-over";
  elevated_starts.push_back(parsed ? parsed->programs : std::vector<std::string>{});
  if (start_failure) return {ElevatedStart::Failed, *start_failure};
  return {elevation_allowed ? ElevatedStart::Started : ElevatedStart::Declined, {}};
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

void FakeView::ShowEntry(const std::string& name, const std::string& folder,
                         const std::string& date) {
  if (!entry_failures_.empty()) {
    Failure failure = entry_failures_.front();
    entry_failures_.erase(entry_failures_.begin());
    throw failure;
  }
  entry = {name, folder, date};
}

void FakeView::ShowStatus(const std::string& text) {
  if (!status_failures_.empty()) {
    Failure failure = status_failures_.front();
    status_failures_.erase(status_failures_.begin());
    throw failure;
  }
  status = text;
  if (journal_) journal_->push_back(StatusEntry(text));
}

void FakeView::Close(int exit_code) {
  // Only the first end counts: the window is gone after it.
  if (!closed) closed = exit_code;
}

StartResult FakeLauncher::Start(const std::string& program_path, const std::string& working_folder,
                                bool even_as_administrator) {
  if (no_user_token && !even_as_administrator) return StartResult::WouldRunElevated;
  if (journal_) journal_->push_back("start: " + program_path);
  if (refused.contains(program_path)) return StartResult::Refused;
  started.emplace_back(program_path, working_folder);
  return StartResult::Started;
}

void FakeShell::ShowInFolder(const std::string& folder, const std::vector<std::string>& names) {
  if (failure) throw *std::exchange(failure, std::nullopt);
  std::string entry = "show: " + folder + " |";
  for (const std::string& name : names) entry += " " + name;
  if (journal_) journal_->push_back(entry);
}

void FakeClipboard::SetText(const std::string& new_text) {
  if (failure) throw *std::exchange(failure, std::nullopt);
  text = new_text;
  if (journal_) journal_->push_back("clipboard: " + text);
}

}  // namespace zelvo::testing
