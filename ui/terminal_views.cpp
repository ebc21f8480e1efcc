#include "ui/terminal_views.h"

#include <cstdio>

#include "ui/plain_progress_view.h"
#include "ui/settings_dialog_screen.h"
#include "ui/terminal_progress_view.h"

TWindowViews TerminalViews() {
  static TCursesSettingsDialog dialog;
  TWindowViews views;
  views.ProgressView = []() -> std::unique_ptr<TProgressView> {
    if (auto in_place = TTerminalProgressView::Create(stdout)) return in_place;
    return std::make_unique<TPlainProgressView>(stdout);
  };
  views.SettingsDialog = &dialog;
  return views;
}
