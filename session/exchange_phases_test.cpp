#include "session/exchange_phases.h"

#include <gtest/gtest.h>

namespace {

TEST(PhaseFunctions, AnEmptyPhaseDoesItsDefault) {
  TPhaseFunctions phases;
  TExchangeSession session;
  TExchangePhases& run = phases;
  EXPECT_TRUE(run.PreExchangeChecks(session));
  EXPECT_EQ(run.ImportPhase(session), 0);
  EXPECT_NO_THROW(run.ExportPhase(session));
}

TEST(PhaseFunctions, EachPhaseRunsTheFunctionPassedIn) {
  std::string order;
  TPhaseFunctions phases;
  phases.Checks = [&](TExchangeSession&) {
    order += "checks ";
    return false;
  };
  phases.Import = [&](TExchangeSession&) {
    order += "import ";
    return 7;
  };
  phases.Export = [&](TExchangeSession&) { order += "export"; };
  TExchangeSession session;
  TExchangePhases& run = phases;
  EXPECT_FALSE(run.PreExchangeChecks(session));
  EXPECT_EQ(run.ImportPhase(session), 7);
  run.ExportPhase(session);
  EXPECT_EQ(order, "checks import export");
}

}  // namespace
