#include "export/export_step.h"

#include <string>

#include "core/cp1251.h"

namespace {

constexpr int kLogProgress = 19;

}  // namespace

void ExportStepHeader(TExchangeSession& session, const char* title_utf8, int progress_row) {
  const std::string title = Ansi(title_utf8);
  session.StatusText(title);
  session.LogLine(title, kLogProgress);
  session.Progress->MarkStep(progress_row);
  session.Progress->ProgressBar.SetPosition(0);
}

void LogExportedCount(TExchangeSession& session, int count) {
  session.LogLine(Ansi("ПК-PALM: Выгружено: ") + std::to_string(count), kLogProgress);
}

void LogTableLeftUntouched(TExchangeSession& session) {
  session.LogLine(Ansi("ПК-PALM: Не выгружено: справочники в формате DBF не читаются"), kLogProgress);
}

TExportTableCloser::~TExportTableCloser() {
  try {
    if (table_.Active()) table_.Close();
  } catch (const std::exception&) {
    // The step's own error is the one that matters.
  }
}
