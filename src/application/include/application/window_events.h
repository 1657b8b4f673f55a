// The events of the main window, each run in a trap of its own: whatever fails in it is reported
// once, with the name of the routine it failed in, and the program then keeps its log and ends
// through its message loop. Drops, clicks and the list's selection each go to their procedure.
#pragma once

#include <cstddef>
#include <string_view>

#include "application/boxes.h"
#include "application/lifecycle.h"
#include "application/log_actions.h"
#include "application/log_view.h"
#include "application/program_batch.h"
#include "base/error_trap.h"
#include "platform/window.h"

namespace zelvo {

// The most files one drop may carry.
inline constexpr size_t kMostDroppedFiles = 100000;

// The name a failure in the drop handler of `place` is reported with: Form_OLEDragDrop() for
// the window, cmdShell_OLEDragDrop() for the launch button, ...
std::string_view DropHandlerName(DropPlace place);

class EventRouter : public WindowEvents {
 public:
  EventRouter(MainView& view, Boxes& boxes, ErrorTrap& trap, Lifecycle& lifecycle,
              ProgramBatch& batch, LogView& log_view, LogActions& actions);

  // Start-up, as the window's load event.
  void Load();

  void Closing() override;
  void FilesDropped(DropPlace place, DroppedFiles& files) override;
  void SelectionChanged() override;
  void RestoreClicked() override;
  void RemoveClicked() override;
  void LaunchClicked() override;
  void OpenFolderClicked() override;
  void CopyPathClicked() override;
  void WindowFailed() override;

 private:
  // Runs the event `source`; when it fails, the failure is reported and the program ends.
  template <class Body>
  void Handle(std::string_view source, Body&& body);
  // Ends the program after a failure that has been reported, keeping the log.
  void EndAfterFailure();
  void ApplyDrop(DroppedFiles& files);

  MainView& view_;
  Boxes& boxes_;
  ErrorTrap& trap_;
  Lifecycle& lifecycle_;
  ProgramBatch& batch_;
  LogView& log_view_;
  LogActions& actions_;
};

}  // namespace zelvo
