// What the end-to-end tests share: the program's own texts for each box (as the user must see
// them), log files and programs to apply, shortcuts, today's date.
#pragma once

#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include "driver/driver.h"
#include "platform/dialogs.h"

namespace zelvo::e2e {

// UTF-8 of a path, as the program writes it in its log and its texts.
std::string Text(const std::filesystem::path& path);

// Today as the program writes it.
std::string Today();

// A log file of the current version with these entries (name, folder, date).
struct Entry {
  std::string name;
  std::string folder;
  std::string date;
};
std::string IniWith(const std::vector<Entry>& entries);

// A small file that passes for a program: the name ends in .exe, the bytes are no PE image.
inline constexpr std::string_view kFakeProgram = "MZ not really a program";

// The manifest written beside a program that is not a 64-bit image.
std::string X86Manifest();

// Makes a shortcut to `target` at `shortcut` with the shell's own object.
void MakeShortcut(const std::filesystem::path& shortcut, const std::filesystem::path& target);

// The argument text for paths, each in double quotes, separated by spaces.
std::wstring Quoted(const std::vector<std::filesystem::path>& paths);

// The boxes of the program.
Message ShortcutNotice(const std::string& name);
Message MissingProgramWarning();
Message NotAProgramQuestion(const std::string& name);
Message ReplaceManifestQuestion(const std::string& name);
Message SecondInstanceWarning();
Message ErrorReport(const std::string& source, DWORD number);
Message RestoreQuestion(int count);
Message RestoreMissingQuestion(const std::string& name);
Message RemoveQuestion(int count);
Message LaunchQuestion(int count);
Message NotExecutableNotice(const std::string& name);
Message NotFoundNotice(const std::string& name);

}  // namespace zelvo::e2e
