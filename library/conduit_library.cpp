// The composition root of libZembraToPalm.so: loading the library binds the desktop libraries,
// builds the data module from its checks, phases and views and installs the "ODBC Error" dialog
// as the handler of exceptions that escape an entry point; unloading undoes it in reverse order.
// Nothing else in the library wires itself in.
#include <cstdio>
#include <memory>

#include "conduit/desktop_libraries.h"
#include "conduit/export_guard.h"
#include "exchange/odbc_error_dialog.h"
#include "export/export_phase.h"
#include "export/pre_exchange_checks.h"
#include "import/import_phase.h"
#include "session/data_module.h"
#include "ui/odbc_error_view.h"
#include "ui/terminal_views.h"

namespace {

// The phases of one exchange. Purges an interrupted session left are completed first: the files
// they belong to are complete, whatever the checks then find.
TPhaseFunctions ExchangePhases() {
  TPhaseFunctions phases;
  phases.Checks = [](TExchangeSession& session) {
    return RollForwardInterruptedPurges(session) && PreExchangeChecks(session);
  };
  phases.Import = &RunImportPhase;
  phases.Export = &RunExportPhase;
  return phases;
}

class TLoadedConduit {
 public:
  TLoadedConduit() {
    odbc_error_dialog_.View = &odbc_error_view_;
    SetUnhandledExceptionHandler([this](std::exception_ptr error) { odbc_error_dialog_.HandleException(error); });
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
    SetUnhandledExceptionHandler(nullptr);
  }
  TLoadedConduit(const TLoadedConduit&) = delete;
  TLoadedConduit& operator=(const TLoadedConduit&) = delete;

 private:
  TTerminalOdbcErrorView odbc_error_view_{stdin, stderr};
  TmODBCErrorDlg odbc_error_dialog_;
  std::unique_ptr<TDataModule1> data_module_;
};

TLoadedConduit loaded_conduit;

}  // namespace
