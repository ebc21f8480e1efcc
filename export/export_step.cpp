#include "export/export_step.h"

#include <string>

#include "core/cp1251.h"

namespace {

constexpr int kLogProgress = 19;

}  // namespace

void LogExportedCount(TExchangeSession& session, int count) {
  session.LogLine(Ansi("ПК-PALM: Выгружено: ") + std::to_string(count), kLogProgress);
}
