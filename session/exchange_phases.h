// The phases of an exchange that the later layers provide: the pre-exchange checks (export
// side), the import phase and the export phase. The conduit library's top file passes them in.
#pragma once

#include <cstdint>
#include <functional>

#include "session/exchange_session.h"

class TExchangePhases {
 public:
  virtual ~TExchangePhases() = default;
  // True when the exchange may go on; false after the user has been told why not.
  virtual bool PreExchangeChecks(TExchangeSession& session) = 0;
  // Reads the handheld into the exchange files; returns the number of order headers written.
  virtual int32_t ImportPhase(TExchangeSession& session) = 0;
  // Writes the reference files into the handheld.
  virtual void ExportPhase(TExchangeSession& session) = 0;
};

using TPreExchangeChecks = std::function<bool(TExchangeSession&)>;
using TImportPhase = std::function<int32_t(TExchangeSession&)>;
using TExportPhase = std::function<void(TExchangeSession&)>;

// The phases as functions; one left empty does the default: the checks let the exchange go
// on, the import writes 0 orders and the export does nothing.
class TPhaseFunctions : public TExchangePhases {
 public:
  TPreExchangeChecks Checks;
  TImportPhase Import;
  TExportPhase Export;

  bool PreExchangeChecks(TExchangeSession& session) override;
  int32_t ImportPhase(TExchangeSession& session) override;
  void ExportPhase(TExchangeSession& session) override;
};
