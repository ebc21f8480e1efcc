#include "ui/progress_lines.h"

#include <algorithm>

#include "core/cp1251.h"

namespace {

// The text cut to at most columns characters, without splitting a UTF-8 sequence.
std::string CutToColumns(const std::string& utf8, int columns) {
  int seen = 0;
  for (size_t i = 0; i < utf8.size(); ++i) {
    if ((static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80) {
      if (seen == columns) return utf8.substr(0, i);
      ++seen;
    }
  }
  return utf8;
}

std::string PadRight(const std::string& utf8, int columns) {
  std::string text = CutToColumns(utf8, columns);
  return text + std::string(std::max(0, columns - TextColumns(text)), ' ');
}

}  // namespace

int TextColumns(const std::string& utf8) {
  return static_cast<int>(
      std::count_if(utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::string ProgressHeading(const TfrmProgress& window) {
  return Cp1251ToTerminal(window.Caption + ". " + window.lblUser + " " + window.edtUser());
}

std::string StepLine(const TfrmProgress& window, int row) {
  const std::string& count = window.Cell(TfrmProgress::kCountColumn, row);
  const std::string title = Cp1251ToTerminal(window.Cell(TfrmProgress::kTitleColumn, row));
  return count.empty() ? title : title + ": " + count;
}

std::string GridLine(const TfrmProgress& window, int row, int width, const std::string& check_mark) {
  const std::string mark = window.Marked(row) ? check_mark : " ";
  const std::string& count = window.Cell(TfrmProgress::kCountColumn, row);
  const int count_columns = 8;
  const int title_columns = std::max(0, width - 4 - count_columns);
  std::string line = " " + mark + "  ";
  line += PadRight(Cp1251ToTerminal(window.Cell(TfrmProgress::kTitleColumn, row)), title_columns);
  line += std::string(std::max(0, count_columns - static_cast<int>(count.size())), ' ') + count;
  return line;
}

int FilledCells(const TfrmProgress& window, int width) {
  const int max = window.ProgressBar.Max();
  if (max <= 0 || width <= 0) return 0;
  const long long position = std::min(window.ProgressBar.Position(), max);
  return static_cast<int>(position * width / max);
}

std::string BarLine(const TfrmProgress& window, int width) {
  const std::string numbers =
      " " + std::to_string(window.ProgressBar.Position()) + "/" + std::to_string(window.ProgressBar.Max());
  const int cells = std::max(0, width - 2 - static_cast<int>(numbers.size()));
  const int filled = FilledCells(window, cells);
  return "[" + std::string(filled, '#') + std::string(cells - filled, '.') + "]" + numbers;
}
