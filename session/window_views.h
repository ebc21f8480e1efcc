// How the conduit's windows reach the screen: the session drives window models, and the views
// the conduit library's top file passes in draw them. Without views the models run unseen.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

class TfrmProgress;
class TfrmSetting;

enum class TModalResult { None, OK, Cancel };

// Draws one progress window; told of every change, in the order the model makes them.
class TProgressView {
 public:
  virtual ~TProgressView() = default;
  virtual void Shown(const TfrmProgress& window) = 0;
  virtual void StepMarked(const TfrmProgress& window, int row) = 0;
  virtual void BarChanged(const TfrmProgress& window) = 0;
  // The window is being destroyed; its cells still hold their final texts.
  virtual void Closed(const TfrmProgress& window) = 0;
};

// Shows the settings dialog modally and offers its file chooser.
class TSettingsDialogView {
 public:
  virtual ~TSettingsDialogView() = default;
  virtual TModalResult ShowModal(TfrmSetting& dialog) = 0;
  // A file-open dialog without filter; the chosen full path, or none when the user cancels.
  virtual std::optional<std::string> ChooseFile(const std::string& initial_directory,
                                                const std::string& initial_name) = 0;
};

using TProgressViewFactory = std::function<std::unique_ptr<TProgressView>()>;

// The views of the conduit's windows; either may be missing.
struct TWindowViews {
  TProgressViewFactory ProgressView;
  TSettingsDialogView* SettingsDialog = nullptr;

  // A new view for a progress window, or nullptr without a factory.
  std::unique_ptr<TProgressView> MakeProgressView() const { return ProgressView ? ProgressView() : nullptr; }
};
