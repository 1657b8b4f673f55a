#include "app/zelvo.h"

#include <vector>

namespace zelvo {
namespace {

// The name a control's handlers carry.
std::string_view ControlName(Control control) {
  switch (control) {
    case Control::frmMain: return "Form";
    case Control::fraDropPoint: return "fraDropPoint";
    case Control::lblDropPoint: return "lblDropPoint";
    case Control::lblInformation: return "lblInformation";
    case Control::fraLog: return "fraLog";
    case Control::lstLogName: return "lstLogName";
    case Control::txtLogName: return "txtLogName";
    case Control::txtLogData: return "txtLogData";
    case Control::txtLogPath: return "txtLogPath";
    case Control::cmdReturn: return "cmdReturn";
    case Control::cmdDelLog: return "cmdDelLog";
    case Control::cmdShell: return "cmdShell";
  }
  return "Form";
}

}  // namespace

std::string VersionText(ProgramVersion version) {
  std::string minor = std::to_string(version.minor);
  if (minor.size() < 2) minor.insert(0, 2 - minor.size(), '0');
  return std::to_string(version.major) + "." + minor;
}

std::string ToolFolder(std::string program_folder) {
  if (program_folder.empty() || program_folder.back() != '\\') program_folder += '\\';
  return program_folder;
}

Zelvo::Zelvo(const Platform& platform)
    : platform_(platform),
      trap_(platform.dialogs, platform.environment),
      log_(platform.collator, &platform.window.NameList()),
      view_(log_, platform.window, trap_),
      applier_(platform.dialogs, platform.files, platform.shortcuts, platform.clock, log_, view_,
               trap_, tool_folder_),
      batch_(applier_, view_, platform.files, trap_),
      log_file_(platform.files, platform.code_page, log_, view_, trap_, tool_folder_,
                version_text_),
      actions_(platform.dialogs, platform.files, platform.launcher, log_, view_, trap_) {
  trap_.SetEndProgram([this] { EndAfterFailure(); });
}

void Zelvo::EndAfterFailure() {
  // An error in the middle of a run must not cost the entries applied before it: their
  // manifests are on disk already. Unless the save itself is what failed.
  if (log_loaded_ && !closed_) {
    closed_ = true;
    log_file_.SaveListData();
  }
  platform_.environment.EndNow(1);
}

void Zelvo::Form_Load() {
  trap_.Handler("Form_Load()", [&] {
    Environment& environment = platform_.environment;
    version_text_ = VersionText(environment.Version());
    platform_.window.SetText(Control::frmMain, "Zelvoちゃん Version " + version_text_);

    if (environment.PreviousInstanceRunning()) {
      platform_.dialogs.Show(
          Notice("既にZelvoちゃんは起動されています。", "Zelvoちゃん", Icon::Warning));
      environment.EndNow(0);
      return;
    }

    tool_folder_ = ToolFolder(environment.ProgramFolder());
    if (log_file_.LoadListData() == kFailed) {
      trap_.EndProgram();
      return;
    }
    log_loaded_ = true;

    platform_.window.Show();
    if (batch_.GetCommandLine(ArgumentText(environment.CommandLine())) == kFailed) {
      trap_.EndProgram();
    }
  });
}

void Zelvo::Form_QueryUnload() {
  if (closed_) return;  // logging off after the window was closed, or the other way round
  closed_ = true;       // a failure from here on is the save's own: it is not tried again
  trap_.Handler("Form_QueryUnload()", [&] {
    if (log_file_.SaveListData() == kFailed) trap_.EndProgram();
  });
}

void Zelvo::Dropped(Control target, DroppedFiles& files) {
  const std::string source = std::string(ControlName(target)) + "_OLEDragDrop()";
  trap_.Handler(source, [&] {
    std::vector<std::string> paths;
    const size_t count = files.Count();
    paths.reserve(count);
    for (size_t index = 0; index < count; ++index) paths.push_back(files.Path(index));
    if (batch_.ApplyZelvoDropFile(paths) == kFailed) trap_.EndProgram();
  });
}

void Zelvo::SelectionChanged() {
  trap_.Handler("lstLogName_Click()", [&] {
    const ListSelection selection = platform_.window.NameList().UserSelection();
    log_.TakeUserSelection(selection.rows, selection.current);
    view_.lstLogName_Click();
  });
}

void Zelvo::Clicked(Control button) {
  switch (button) {
    case Control::cmdReturn: actions_.cmdReturn_Click(); break;
    case Control::cmdDelLog: actions_.cmdDelLog_Click(); break;
    case Control::cmdShell: actions_.cmdShell_Click(); break;
    default: break;
  }
}

}  // namespace zelvo
