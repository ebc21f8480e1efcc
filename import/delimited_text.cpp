#include "import/delimited_text.h"

std::string DelimitedCellText(std::string_view text, char delimiter) {
  std::string cell(text);
  for (char& c : cell) {
    if (c == delimiter) {
      c = ',';
    } else if (c == '\r' || c == '\n') {
      c = ' ';
    }
  }
  return cell;
}
