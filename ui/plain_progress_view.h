// The progress window on a terminal that cannot be drawn on (a pipe, a log file): a heading
// when it is shown, then one line per marked step with its count once that count is known.
#pragma once

#include <cstdio>

#include "session/window_views.h"

class TPlainProgressView : public TProgressView {
 public:
  explicit TPlainProgressView(std::FILE* out) : out_(out) {}
  void Shown(const TfrmProgress& window) override;
  void StepMarked(const TfrmProgress& window, int row) override;
  void BarChanged(const TfrmProgress&) override {}
  void Closed(const TfrmProgress& window) override;

 private:
  void WriteLine(const std::string& line);

  std::FILE* out_;
  int last_marked_row_ = 0;
};
