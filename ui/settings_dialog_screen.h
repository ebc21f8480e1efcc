// The settings dialog in the terminal: a full-screen curses form over the TfrmSetting model.
// Tab and Shift-Tab move between controls, Space or Enter acts, Escape cancels.
#pragma once

#include "session/window_views.h"

class TCursesSettingsDialog : public TSettingsDialogView {
 public:
  // Cancel (with a line on standard error) when there is no terminal to draw on.
  TModalResult ShowModal(TfrmSetting& dialog) override;
  std::optional<std::string> ChooseFile(const std::string& initial_directory, const std::string& initial_name) override;
};
