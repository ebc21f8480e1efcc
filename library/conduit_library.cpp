// The composition root of libZembraToPalm.so: loading the library binds the desktop libraries
// and builds the data module from its checks, phases and views; unloading frees the data
// module, then releases the libraries. Nothing else in the library wires itself in.
#include <memory>

#include "conduit/desktop_libraries.h"
#include "export/export_phase.h"
#include "export/pre_exchange_checks.h"
#include "import/import_phase.h"
#include "session/data_module.h"
#include "ui/terminal_views.h"

namespace {

// The phases of one exchange.
TPhaseFunctions ExchangePhases() {
  TPhaseFunctions phases;
  phases.Checks = &PreExchangeChecks;
  phases.Import = &RunImportPhase;
  phases.Export = &RunExportPhase;
  return phases;
}

class TLoadedConduit {
 public:
  TLoadedConduit() {
    if (!BindDesktopLibraries()) return;
    try {
      data_module_ = std::make_unique<TDataModule1>(ExchangePhases(), TerminalViews());
    } catch (const std::exception&) {
      // Without the data module every entry point reports the missing component.
    }
  }
  ~TLoadedConduit() {
    data_module_.reset();
    ReleaseDesktopLibraries();
  }
  TLoadedConduit(const TLoadedConduit&) = delete;
  TLoadedConduit& operator=(const TLoadedConduit&) = delete;

 private:
  std::unique_ptr<TDataModule1> data_module_;
};

const TLoadedConduit loaded_conduit;

}  // namespace
