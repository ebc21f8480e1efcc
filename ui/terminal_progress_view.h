// The progress window drawn in place at the bottom of an interactive terminal: the rows above
// it keep scrolling with the host's own lines, the window's block is redrawn as steps advance.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

#include "session/window_views.h"

class TTerminalProgressView : public TProgressView {
 public:
  // A view for out when it is a terminal that can hold the whole window; nullptr otherwise.
  static std::unique_ptr<TProgressView> Create(std::FILE* out);

  void Shown(const TfrmProgress& window) override;
  void StepMarked(const TfrmProgress& window, int row) override;
  void BarChanged(const TfrmProgress& window) override;
  void Closed(const TfrmProgress& window) override;

 private:
  struct TCapabilities {
    std::string scroll_region;   // csr
    std::string move_to;         // cup
    std::string cursor_save;     // sc
    std::string cursor_restore;  // rc
    std::string clear_to_end;    // el
    std::string reverse;         // rev (may be empty)
    std::string normal;          // sgr0 (may be empty)
  };
  TTerminalProgressView(std::FILE* out, int screen_rows, int screen_columns, TCapabilities capabilities);

  std::string MoveTo(int row, int column) const;
  std::string ScrollRegion(int top, int bottom) const;
  std::string BlockLine(const TfrmProgress& window, int line) const;
  void DrawLines(const TfrmProgress& window, int first, int last);
  void Write(const std::string& bytes);

  std::FILE* out_;
  int screen_rows_;
  int screen_columns_;
  int block_top_;
  TCapabilities caps_;
  std::string check_mark_;
  int drawn_bar_cells_ = -1;
};
