#include "session/step_header.h"

#include <string>

#include "core/cp1251.h"

namespace {

constexpr int kLogProgress = 19;

}  // namespace

void AnnounceStep(TExchangeSession& session, const char* title_utf8, int progress_row) {
  const std::string title = Ansi(title_utf8);
  session.StatusText(title);
  session.LogLine(title, kLogProgress);
  session.Progress->MarkStep(progress_row);
  session.Progress->ProgressBar.SetPosition(0);
}
