// TDataModule1: owner of everything that lives as long as the conduit library: the conduit
// component with the conduit's identity, the session state and the conduit's windows.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "conduit/palm_component.h"
#include "session/exchange_phases.h"
#include "session/progress_window.h"
#include "session/settings_dialog.h"
#include "session/settings_file.h"
#include "session/window_views.h"

class TDataModule1 {
 public:
  explicit TDataModule1(TPhaseFunctions phases = {}, TWindowViews views = {});
  ~TDataModule1();
  TDataModule1(const TDataModule1&) = delete;
  TDataModule1& operator=(const TDataModule1&) = delete;

  TpfgPalmComponent PalmComponent;

  // Session state, overwritten at the start of every session.
  TSessionSettings Settings;
  std::string ExchangeDirectory;
  std::string UserName;
  int32_t OrderCount = 0;

  // The progress window from the start of an exchange until the end of its export phase
  // (left in place when the exchange stops earlier); the settings dialog while it is open.
  std::unique_ptr<TfrmProgress> frmProgress;
  std::unique_ptr<TfrmSetting> frmSetting;

  // Where the session's phases, views and settings come from, and who shows message boxes: the
  // phases and views passed in, the settings file in the HotSync home and the desktop's box.
  TPhaseFunctions ExchangePhases;
  TExchangePhases* Phases;
  TWindowViews Views;
  std::function<std::string()> SettingsPath;
  std::function<int(const std::string& text, const std::string& caption, unsigned style)> MessageBox;

  // OnExecConduit: one synchronisation.
  void PalmComponentExecConduit(const TpfgSyncProperties& props);
  // OnConfigConduit: the settings dialog; Data is neither read nor changed.
  void PalmComponentConfigConduit(TpfgCfgConduitInfo& Data);
  // Shows the progress window, checks, imports, exports; returns the order count.
  int32_t ExchangeProcedure();

 private:
  void RunSessionProgram(const std::string& program);
  TExchangeSession MakeSession();
};
