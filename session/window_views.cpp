#include "session/window_views.h"

namespace {

TProgressViewFactory& ProgressViewFactory() {
  static TProgressViewFactory factory;
  return factory;
}

TSettingsDialogView*& DialogView() {
  static TSettingsDialogView* view = nullptr;
  return view;
}

}  // namespace

void RegisterProgressViewFactory(TProgressViewFactory factory) {
  ProgressViewFactory() = std::move(factory);
}

void RegisterSettingsDialogView(TSettingsDialogView* view) { DialogView() = view; }

std::unique_ptr<TProgressView> MakeProgressView() {
  const TProgressViewFactory& factory = ProgressViewFactory();
  return factory ? factory() : nullptr;
}

TSettingsDialogView* SettingsDialogView() { return DialogView(); }
