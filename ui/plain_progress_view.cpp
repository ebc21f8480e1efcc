#include "ui/plain_progress_view.h"

#include "ui/progress_lines.h"

void TPlainProgressView::WriteLine(const std::string& line) {
  std::fputs(line.c_str(), out_);
  std::fputc('\n', out_);
  std::fflush(out_);
}

void TPlainProgressView::Shown(const TfrmProgress& window) { WriteLine(ProgressHeading(window)); }

void TPlainProgressView::StepMarked(const TfrmProgress& window, int row) {
  if (last_marked_row_ != 0) WriteLine(StepLine(window, last_marked_row_));
  last_marked_row_ = row;
}

void TPlainProgressView::Closed(const TfrmProgress& window) {
  if (last_marked_row_ != 0) WriteLine(StepLine(window, last_marked_row_));
  last_marked_row_ = 0;
}
