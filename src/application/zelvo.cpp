#include "application/zelvo.h"

#include <vector>

namespace zelvo {

std::string VersionText(ProgramVersion version) {
  std::string minor = std::to_string(version.minor);
  if (minor.size() < 2) minor.insert(0, 2 - minor.size(), '0');
  return std::to_string(version.major) + "." + minor;
}

std::string ToolFolder(std::string program_folder) {
  if (program_folder.empty() || program_folder.back() != '\\') program_folder += '\\';
  return program_folder;
}

Zelvo::Started::Started(Zelvo& app, const std::string& tool_folder, const std::string& version_text)
    : log_file(app.platform_.dialogs, app.platform_.texts, app.platform_.files,
               app.platform_.code_page, app.log_, app.view_, app.trap_, tool_folder, version_text),
      applier(app.platform_.dialogs, app.platform_.texts, app.platform_.files,
              app.platform_.shortcuts, app.platform_.clock, app.log_, app.elevation_, app.trap_,
              tool_folder),
      batch(app.platform_.texts, applier, app.view_, app.platform_.files, app.elevation_,
            app.trap_) {}

Zelvo::Zelvo(const Platform& platform)
    : platform_(platform),
      report_(platform.dialogs, platform.texts, platform.environment),
      trap_(report_),
      log_(platform.collator),
      view_(log_, platform.window, platform.window.NameList(), trap_),
      elevation_(platform.dialogs, platform.texts, platform.environment,
                 [this] { return started_->log_file.SaveListData(); }),
      actions_(platform.dialogs, platform.texts, platform.files, platform.launcher, log_, view_,
               elevation_, trap_) {
  report_.SetLastStep([this] { KeepLog(); });
}

void Zelvo::KeepLog() {
  // An error in the middle of a run must not cost the entries applied before it: their
  // manifests are on disk already. Unless the save itself is what failed.
  if (log_loaded_ && !closed_) {
    closed_ = true;
    (void)started_->log_file.SaveListData();
  }
}

void Zelvo::Form_Load() {
  trap_.Handler("Form_Load()", [&] {
    Environment& environment = platform_.environment;
    version_text_ = VersionText(environment.Version());
    const Texts& texts = platform_.texts;
    platform_.window.SetText(Control::frmMain,
                             texts.Format(TextId::WindowCaption, {version_text_}));

    if (environment.PreviousInstanceRunning()) {
      platform_.dialogs.Show(Notice(std::string(texts.Get(TextId::SecondInstance)),
                                    std::string(texts.Get(TextId::ProgramTitle)), Icon::Warning));
      environment.EndNow(0);
    }

    tool_folder_ = ToolFolder(environment.ProgramFolder());
    started_.emplace(*this, tool_folder_, version_text_);
    if (started_->log_file.LoadListData() == Status::Failed) trap_.EndProgram();
    log_loaded_ = true;

    platform_.window.Show();
    if (started_->batch.ApplyCommandLine(ArgumentText(environment.CommandLine())) ==
        Status::Failed) {
      trap_.EndProgram();
    }
  });
}

void Zelvo::Form_QueryUnload() {
  if (closed_ || !log_loaded_) return;  // closed once already, or never started
  closed_ = true;  // a failure from here on is the save's own: it is not tried again
  trap_.Handler("Form_QueryUnload()", [&] {
    if (started_->log_file.SaveListData() == Status::Failed) trap_.EndProgram();
  });
}

void Zelvo::Dropped(Control target, DroppedFiles& files) {
  if (!started_) return;  // no drop reaches a window that start-up has not shown
  trap_.Handler(std::string(HandlerName(target)) + "_OLEDragDrop()", [&] {
    const size_t count = files.Count(kMostDroppedFiles);
    if (count > kMostDroppedFiles) {
      // A list that long is no selection a user made to apply; nothing of it is touched.
      const Texts& texts = platform_.texts;
      platform_.dialogs.Show(
          Notice(texts.Format(TextId::TooManyFiles, {std::to_string(kMostDroppedFiles)}),
                 std::string(texts.Get(TextId::ApplyFailedTitle)), Icon::Warning));
      return;
    }
    std::vector<std::string> paths;
    paths.reserve(count);
    for (size_t index = 0; index < count; ++index) paths.push_back(files.Path(index));
    if (started_->batch.ApplyZelvoDropFile(paths) == Status::Failed) trap_.EndProgram();
  });
}

void Zelvo::SelectionChanged() {
  trap_.Handler("lstLogName_Click()", [&] {
    const ListSelection selection = platform_.window.NameList().UserSelection();
    log_.TakeUserSelection(selection.rows, selection.current);
  });
}

void Zelvo::Clicked(Control button) {
  switch (button) {
    case Control::cmdReturn:
      actions_.cmdReturn_Click();
      break;
    case Control::cmdDelLog:
      actions_.cmdDelLog_Click();
      break;
    case Control::cmdShell:
      actions_.cmdShell_Click();
      break;
    default:
      break;
  }
}

}  // namespace zelvo
