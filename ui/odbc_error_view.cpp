#include "ui/odbc_error_view.h"

#include "core/cp1251.h"

namespace {

constexpr size_t kLabelWidth = 72;

std::string Button(const char* key, const char* caption, bool enabled) {
  return enabled ? std::string("[") + key + "] " + caption : std::string("    (") + caption + ")";
}

}  // namespace

std::vector<std::string> WrapText(const std::string& text, size_t width) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    const size_t line_break = text.find_first_of("\r\n", start);
    size_t end = std::min(line_break == std::string::npos ? text.size() : line_break, start + width);
    if (end < text.size() && end - start == width && text[end] != ' ' && text[end] != '\r' && text[end] != '\n') {
      const size_t blank = text.rfind(' ', end);
      if (blank != std::string::npos && blank > start) end = blank;
    }
    lines.push_back(text.substr(start, end - start));
    start = end;
    if (start < text.size() && (text[start] == ' ' || text[start] == '\r')) ++start;
    if (start < text.size() && text[start] == '\n') ++start;
  }
  if (lines.empty()) lines.emplace_back();
  return lines;
}

void TTerminalOdbcErrorView::Draw(const TmODBCErrorDlg& dialog) {
  std::fprintf(output_, "\n== %s ==\n", dialog.Caption.c_str());
  for (const std::string& line : WrapText(dialog.LabelText(), kLabelWidth))
    std::fprintf(output_, "%s\n", Cp1251ToTerminal(line).c_str());
  std::fprintf(output_, "%s  %s  %s > ", Button("b", "< Back", dialog.BackEnabled()).c_str(),
               Button("n", "Next >", dialog.NextEnabled()).c_str(), Button("o", "OK", true).c_str());
  std::fflush(output_);
}

void TTerminalOdbcErrorView::ShowModal(TmODBCErrorDlg& dialog) {
  while (dialog.Showing()) {
    Draw(dialog);
    char answer[64];
    if (std::fgets(answer, sizeof answer, input_) == nullptr) {
      std::fputc('\n', output_);
      dialog.OK();
      break;
    }
    const char key = answer[0];
    if (key == 'b' || key == 'B') {
      dialog.Back();
    } else if (key == 'n' || key == 'N' || key == '\n') {
      if (dialog.NextEnabled())
        dialog.Next();
      else if (key == '\n')
        dialog.OK();
    } else if (key == 'o' || key == 'O') {
      dialog.OK();
    }
  }
}
