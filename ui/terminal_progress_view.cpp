#include "ui/terminal_progress_view.h"

#include <curses.h>
#include <sys/ioctl.h>
#include <term.h>
#include <unistd.h>

#include "core/cp1251.h"
#include "session/progress_window.h"
#include "ui/progress_lines.h"

namespace {

// Heading, the 22 step rows and the bar.
constexpr int kBlockLines = TfrmProgress::kRowCount + 1;
constexpr int kBarLine = kBlockLines - 1;

std::string Capability(const char* name) {
  char* text = tigetstr(name);
  if (text == nullptr || text == reinterpret_cast<char*>(-1)) return {};
  return text;
}

// "✓" where the terminal speaks UTF-8 (the numero sign then comes out as three bytes), else "v".
std::string CheckMark() { return Cp1251ToTerminal("\xb9").size() == 3 ? "\xe2\x9c\x93" : "v"; }

}  // namespace

std::unique_ptr<TProgressView> TTerminalProgressView::Create(std::FILE* out) {
  const int fd = fileno(out);
  if (fd < 0 || !isatty(fd)) return nullptr;
  static const bool described = [fd] {
    int error = 0;
    return setupterm(nullptr, fd, &error) == OK;
  }();
  if (!described) return nullptr;
  TCapabilities caps{Capability("csr"), Capability("cup"), Capability("sc"),  Capability("rc"),
                     Capability("el"),  Capability("rev"), Capability("sgr0")};
  if (caps.scroll_region.empty() || caps.move_to.empty() || caps.cursor_save.empty() || caps.cursor_restore.empty() ||
      caps.clear_to_end.empty())
    return nullptr;
  winsize size{};
  if (ioctl(fd, TIOCGWINSZ, &size) != 0 || size.ws_row == 0) return nullptr;
  if (size.ws_row < kBlockLines + 3 || size.ws_col < 40) return nullptr;
  return std::unique_ptr<TProgressView>(new TTerminalProgressView(out, size.ws_row, size.ws_col, std::move(caps)));
}

TTerminalProgressView::TTerminalProgressView(std::FILE* out, int screen_rows, int screen_columns,
                                             TCapabilities capabilities)
    : out_(out),
      screen_rows_(screen_rows),
      screen_columns_(screen_columns),
      block_top_(screen_rows - kBlockLines),
      caps_(std::move(capabilities)),
      check_mark_(CheckMark()) {}

std::string TTerminalProgressView::MoveTo(int row, int column) const {
  return tiparm(caps_.move_to.c_str(), row, column);
}

std::string TTerminalProgressView::ScrollRegion(int top, int bottom) const {
  return tiparm(caps_.scroll_region.c_str(), top, bottom);
}

void TTerminalProgressView::Write(const std::string& bytes) {
  std::fwrite(bytes.data(), 1, bytes.size(), out_);
  std::fflush(out_);
}

std::string TTerminalProgressView::BlockLine(const TfrmProgress& window, int line) const {
  const int width = screen_columns_ - 1;
  if (line == 0) return ProgressHeading(window);
  if (line == kBarLine) return BarLine(window, width);
  const std::string text = GridLine(window, line, width, check_mark_);
  if (line == window.SelectedRow() && !caps_.reverse.empty()) return caps_.reverse + text + caps_.normal;
  return text;
}

void TTerminalProgressView::DrawLines(const TfrmProgress& window, int first, int last) {
  std::string bytes = caps_.cursor_save;
  for (int line = first; line <= last; ++line)
    bytes += MoveTo(block_top_ + line, 0) + caps_.clear_to_end + BlockLine(window, line);
  bytes += caps_.cursor_restore;
  Write(bytes);
  drawn_bar_cells_ = FilledCells(window, screen_columns_);
}

void TTerminalProgressView::Shown(const TfrmProgress& window) {
  // Push what is on screen up to make room, then keep the host's lines above the block.
  Write(std::string(kBlockLines, '\n') + ScrollRegion(0, block_top_ - 1) + MoveTo(block_top_ - 1, 0));
  DrawLines(window, 0, kBarLine);
}

void TTerminalProgressView::StepMarked(const TfrmProgress& window, int) { DrawLines(window, 0, kBarLine); }

void TTerminalProgressView::BarChanged(const TfrmProgress& window) {
  const int position = window.ProgressBar.Position();
  if (FilledCells(window, screen_columns_) == drawn_bar_cells_ && position != 0 && position != window.ProgressBar.Max())
    return;
  DrawLines(window, kBarLine, kBarLine);
}

void TTerminalProgressView::Closed(const TfrmProgress& window) {
  DrawLines(window, 0, kBarLine);
  Write(ScrollRegion(0, screen_rows_ - 1) + MoveTo(screen_rows_ - 1, 0) + "\n");
}
