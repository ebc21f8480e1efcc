// The "ODBC Error" dialog in the terminal: the current diagnostic record, word-wrapped, and the
// three buttons as keys (b: < Back, n: Next >, o: OK; Enter presses the default, Next >).
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "exchange/odbc_error_dialog.h"

// Lines of at most width characters, broken at blanks where there are any.
std::vector<std::string> WrapText(const std::string& text, size_t width);

class TTerminalOdbcErrorView : public TOdbcErrorDialogView {
 public:
  // Answers are read a line at a time from input; its end presses OK.
  TTerminalOdbcErrorView(std::FILE* input, std::FILE* output) : input_(input), output_(output) {}
  void ShowModal(TmODBCErrorDlg& dialog) override;

 private:
  void Draw(const TmODBCErrorDlg& dialog);

  std::FILE* input_;
  std::FILE* output_;
};
