// What every export step shares: the step header (status text, log line, progress row, bar at
// 0), the count line, the log line of a step that leaves its table alone, and a closer that
// shuts a handheld table when a step ends by an error.
#pragma once

#include "palmdb/palm_remote_table.h"
#include "session/exchange_session.h"

// Status text and log line (activity 19) with the title, the progress row marked, the bar at 0.
void ExportStepHeader(TExchangeSession& session, const char* title_utf8, int progress_row);
// "ПК-PALM: Выгружено: " and the count (activity 19).
void LogExportedCount(TExchangeSession& session, int count);
// Under "DBF" no reference file can be read: the step says so and leaves its table as it was.
void LogTableLeftUntouched(TExchangeSession& session);

// Closes a handheld table when a step ends by an error; a failing close is ignored.
class TExportTableCloser {
 public:
  explicit TExportTableCloser(TpfgPalmRemoteTable& table) : table_(table) {}
  ~TExportTableCloser();
  TExportTableCloser(const TExportTableCloser&) = delete;
  TExportTableCloser& operator=(const TExportTableCloser&) = delete;

 private:
  TpfgPalmRemoteTable& table_;
};
