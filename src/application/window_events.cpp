#include "application/window_events.h"

#include <string>
#include <vector>

namespace zelvo {

std::string_view DropHandlerName(DropPlace place) {
  switch (place) {
    case DropPlace::Window:
      return "Form_OLEDragDrop()";
    case DropPlace::DropFrame:
      return "fraDropPoint_OLEDragDrop()";
    case DropPlace::DropLabel:
      return "lblDropPoint_OLEDragDrop()";
    case DropPlace::StatusLine:
      return "lblInformation_OLEDragDrop()";
    case DropPlace::LogFrame:
      return "fraLog_OLEDragDrop()";
    case DropPlace::NameList:
      return "lstLogName_OLEDragDrop()";
    case DropPlace::NameBox:
      return "txtLogName_OLEDragDrop()";
    case DropPlace::FolderBox:
      return "txtLogPath_OLEDragDrop()";
    case DropPlace::DateBox:
      return "txtLogData_OLEDragDrop()";
    case DropPlace::RestoreButton:
      return "cmdReturn_OLEDragDrop()";
    case DropPlace::RemoveButton:
      return "cmdDelLog_OLEDragDrop()";
    case DropPlace::LaunchButton:
      return "cmdShell_OLEDragDrop()";
  }
  return "Form_OLEDragDrop()";
}

EventRouter::EventRouter(MainView& view, Boxes& boxes, ErrorTrap& trap, Lifecycle& lifecycle,
                         ProgramBatch& batch, LogView& log_view, LogActions& actions)
    : view_(view),
      boxes_(boxes),
      trap_(trap),
      lifecycle_(lifecycle),
      batch_(batch),
      log_view_(log_view),
      actions_(actions) {}

template <class Body>
void EventRouter::Handle(std::string_view source, Body&& body) {
  if (!trap_.Guard(source, body)) EndAfterFailure();
}

void EventRouter::EndAfterFailure() {
  lifecycle_.KeepLog();
  view_.Close(1);
}

void EventRouter::Load() {
  Handle("Form_Load()", [&] {
    if (!lifecycle_.Start()) view_.Close(0);
  });
}

void EventRouter::Closing() {
  // The close is never refused; a save that fails is reported, and not tried again.
  if (!trap_.Guard("Form_QueryUnload()", [&] { lifecycle_.SaveOnClose(); })) view_.Close(1);
}

void EventRouter::FilesDropped(DropPlace place, DroppedFiles& files) {
  // No drop reaches a window that start-up has not shown.
  if (!lifecycle_.Loaded()) return;
  Handle(DropHandlerName(place), [&] { ApplyDrop(files); });
}

void EventRouter::ApplyDrop(DroppedFiles& files) {
  const size_t count = files.Count(kMostDroppedFiles);
  if (count > kMostDroppedFiles) {
    // A list that long is no selection a user made to apply; nothing of it is touched.
    boxes_.Tell(boxes_.Text(TextId::TooManyFiles, {std::to_string(kMostDroppedFiles)}),
                TextId::ApplyFailedTitle, Icon::Warning);
    return;
  }
  std::vector<std::string> paths;
  paths.reserve(count);
  for (size_t index = 0; index < count; ++index) paths.push_back(files.Path(index));
  if (batch_.ApplyDroppedFiles(paths) == BatchEnd::HandedOver) view_.Close(0);
}

void EventRouter::SelectionChanged() {
  Handle("lstLogName_Click()", [&] { log_view_.TakeUserSelection(); });
}

void EventRouter::RestoreClicked() {
  Handle("cmdReturn_Click()", [&] {
    if (actions_.Restore() == RestoreEnd::HandedOver) view_.Close(0);
  });
}

void EventRouter::RemoveClicked() {
  Handle("cmdDelLog_Click()", [&] { actions_.Remove(); });
}

void EventRouter::LaunchClicked() {
  Handle("cmdShell_Click()", [&] { actions_.Launch(); });
}

// The list's context menu offers the three actions as the buttons do, and these two of its own.
void EventRouter::OpenFolderClicked() {
  Handle("mnuOpenFolder_Click()", [&] { actions_.OpenFolders(); });
}

void EventRouter::CopyPathClicked() {
  Handle("mnuCopyPath_Click()", [&] { actions_.CopyPaths(); });
}

void EventRouter::WindowFailed() { EndAfterFailure(); }

}  // namespace zelvo
