// Every text the user sees, looked up by an identifier in the catalogue of the display
// language: Japanese, the program's own, or English for every other language. Each language's
// texts are one table (texts_ja.cpp, texts_en.cpp), and a table that lacks a text does not
// build. A text takes its values at "{0}", "{1}" and "{2}", so that each language puts a
// program's name where its sentence needs it.
#pragma once

#include <array>
#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

namespace zelvo {

// The identifiers, named by the control they label or by what they say.
// clang-format off
#define ZELVO_TEXT_IDS(X)                                                                       \
  /* The window: its caption (the version), the controls and their tool tips. */                \
  X(WindowCaption) X(ProgramTitle) X(lblDropPoint) X(fraLog) X(cmdDelLog) X(cmdShell)           \
  X(cmdReturn) X(lstLogNameTip) X(txtLogNameTip) X(txtLogPathTip) X(txtLogDataTip)              \
  X(cmdDelLogTip) X(cmdShellTip) X(cmdReturnTip) X(Greeting)                                    \
  /* Start-up, the log file and drops. */                                                       \
  X(SecondInstance) X(LogTooLarge) X(TooManyFiles)                                              \
  /* Applying. */                                                                               \
  X(ApplyTitle) X(ApplyFailedTitle) X(ShortcutNotice) X(MissingProgram) X(NotAProgram)          \
  X(ReplaceManifest) X(EmbeddedThemed) X(EmbeddedManifest) X(UnreadableProgram)                 \
  X(LinkedManifest) X(Applied) X(Cancelled) X(MissingStatus) X(RefusedStatus)                    \
  X(UnreadableStatus) X(LinkedManifestStatus) X(AdministratorQuestion) X(Refused)                \
  /* Restore, remove from the list, start. */                                                   \
  X(RestoreTitle) X(RestoreFailedTitle) X(RemoveTitle) X(StartTitle) X(StartFailedTitle)        \
  X(RestoreHint) X(RestoreQuestion) X(RestoreCancelled) X(Restoring) X(Restored)                \
  X(RestoreMissing) X(DroppedFromList) X(RestoreDone) X(RemoveHint) X(RemoveQuestion)           \
  X(Removed) X(RemoveCancelled) X(StartHint) X(StartQuestion) X(StartManyNote)                  \
  X(StartCancelled) X(StartDone) X(NotExecutable) X(NotRun) X(NotFound) X(Started)              \
  X(StartFailed)                                                                                \
  /* Administrator rights: restore again there, a start that failed, a program that would run */ \
  /* as administrator, a backup folder others may change, a hand-over that could not be read. */  \
  X(RestoreAdministratorQuestion) X(ElevationFailed) X(StartAsAdministrator) X(BackupFolderOpen)  \
  X(HandOverLost)                                                                                 \
  /* The list's context menu, what its new items report, and the names a screen reader gives   \
     the list and the boxes that have no label of their own. */                                 \
  X(mnuRestore) X(mnuRemove) X(mnuLaunch) X(mnuOpenFolder) X(mnuCopyPath) X(FolderOpened)        \
  X(PathsCopied) X(lstLogNameAccessible) X(txtLogNameAccessible) X(txtLogPathAccessible)        \
  X(txtLogDataAccessible)                                                                       \
  /* The report of an unexpected failure. */                                                    \
  X(ErrorTitle) X(ErrorReport)
// clang-format on

enum class TextId {
  // Not in the catalogues: a control without a text of its own, and a control whose tool tip
  // gets its text later (the status line's).
  None,
  Later,
#define ZELVO_TEXT_ENUM(name) name,
  ZELVO_TEXT_IDS(ZELVO_TEXT_ENUM)
#undef ZELVO_TEXT_ENUM
};

inline constexpr size_t kTextCount = static_cast<size_t>(TextId::ErrorReport) + 1;

// The identifier's name, for the tests' messages.
std::string_view TextIdName(TextId id);

// One language's texts, by identifier.
using TextTable = std::array<std::string_view, kTextCount>;

struct TextEntry {
  TextId id;
  std::string_view text;
};

// A language's table from its entries, checked while the program builds: every identifier has
// one text, and none is empty.
template <size_t N>
consteval TextTable MakeTextTable(const TextEntry (&entries)[N]) {
  TextTable table{};
  for (const TextEntry& entry : entries) {
    const auto index = static_cast<size_t>(entry.id);
    if (entry.id == TextId::None || entry.id == TextId::Later) throw "not a text of its own";
    if (entry.text.empty()) throw "an empty text";
    if (!table[index].empty()) throw "a text given twice";
    table[index] = entry.text;
  }
  for (size_t index = static_cast<size_t>(TextId::Later) + 1; index < kTextCount; ++index) {
    if (table[index].empty()) throw "a text is missing";
  }
  return table;
}

class Texts {
 public:
  // The catalogue of a language as Windows names it ("ja-JP", "en-US", "ja"): Japanese for
  // Japanese, English for every language without a catalogue of its own.
  static const Texts& For(std::string_view language);

  constexpr Texts(std::string_view language, const TextTable& table)
      : language_(language), table_(&table) {}

  // The language's own name ("ja", "en").
  std::string_view Language() const { return language_; }

  // The text; "" for None and Later.
  std::string_view Get(TextId id) const { return (*table_)[static_cast<size_t>(id)]; }

  // The text with "{0}", "{1}", ... replaced by the values, in one pass: a value that holds
  // "{1}" stays as it is.
  std::string Format(TextId id, std::initializer_list<std::string_view> values) const;

 private:
  std::string_view language_;
  const TextTable* table_;
};

}  // namespace zelvo
