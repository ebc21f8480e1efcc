#include "ui/terminal_views.h"

#include <cstdio>

#include "session/window_views.h"
#include "ui/plain_progress_view.h"
#include "ui/settings_dialog_screen.h"
#include "ui/terminal_progress_view.h"

void RegisterTerminalViews() {
  RegisterProgressViewFactory([]() -> std::unique_ptr<TProgressView> {
    if (auto in_place = TTerminalProgressView::Create(stdout)) return in_place;
    return std::make_unique<TPlainProgressView>(stdout);
  });
  static TCursesSettingsDialog dialog;
  RegisterSettingsDialogView(&dialog);
}
