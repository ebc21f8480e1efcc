#include "session/exchange_phases.h"

namespace {

class TRegisteredPhases : public TExchangePhases {
 public:
  bool PreExchangeChecks(TExchangeSession& session) override {
    return !checks ? true : checks(session);
  }
  int32_t ImportPhase(TExchangeSession& session) override {
    return !import ? 0 : import(session);
  }
  void ExportPhase(TExchangeSession& session) override {
    if (export_) export_(session);
  }

  TPreExchangeChecks checks;
  TImportPhase import;
  TExportPhase export_;
};

TRegisteredPhases& Registry() {
  static TRegisteredPhases phases;
  return phases;
}

}  // namespace

void RegisterPreExchangeChecks(TPreExchangeChecks checks) { Registry().checks = std::move(checks); }
void RegisterImportPhase(TImportPhase phase) { Registry().import = std::move(phase); }
void RegisterExportPhase(TExportPhase phase) { Registry().export_ = std::move(phase); }

TExchangePhases& RegisteredExchangePhases() { return Registry(); }
