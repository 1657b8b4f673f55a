#include "log/log_view.h"

namespace zelvo {

LogView::LogView(LogModel& model, WindowControls& controls, ErrorTrap& trap)
    : model_(model), controls_(controls), trap_(trap) {}

void LogView::lstLogName_Click() {
  trap_.Handler("lstLogName_Click()", [&] {
    if (RefreshButton() == kFailed) {
      trap_.EndProgram();
      return;
    }
    const auto current = model_.CurrentRow();
    if (!current) return;  // nothing to show; RefreshButton has emptied the boxes

    const std::string suffix = model_.SelectedCount() > 1 ? "..." : "";
    controls_.SetText(Control::txtLogName, model_.Name(*current) + suffix);
    // Every visible row has its entry; should one ever lack it, show nothing rather than
    // another entry's folder and date.
    const LogEntry* entry = model_.InItemData(model_.Key(*current));
    controls_.SetText(Control::txtLogPath, entry ? entry->folder : std::string());
    controls_.SetText(Control::txtLogData, entry ? entry->date : std::string());
  });
}

int LogView::RefreshButton() {
  return trap_.Procedure("RefreshButton()", [&] {
    const bool enabled = model_.SelectedCount() > 0 && model_.CurrentRow().has_value();
    if (!enabled) {
      controls_.SetText(Control::txtLogName, {});
      controls_.SetText(Control::txtLogData, {});
      controls_.SetText(Control::txtLogPath, {});
    }
    for (Control control : {Control::cmdReturn, Control::cmdDelLog, Control::cmdShell,
                            Control::txtLogName, Control::txtLogData, Control::txtLogPath}) {
      controls_.SetEnabled(control, enabled);
    }
    return 0;
  });
}

int LogView::PutInformation(const std::string& text) {
  return trap_.Procedure("PutInformation()", [&] {
    controls_.SetText(Control::lblInformation, text);
    controls_.SetToolTip(Control::lblInformation, text);
    return 0;
  });
}

int LogView::RemoveSelect() {
  return trap_.Procedure("RemoveSelect()", [&] {
    if (model_.SelectedCount() == 0) return 0;
    model_.SetAllSelected(false);
    lstLogName_Click();
    return 0;
  });
}

}  // namespace zelvo
