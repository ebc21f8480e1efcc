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

bool IsCellTextAsItIs(std::string_view text, char delimiter) {
  for (const char c : text) {
    if (c == delimiter || c == '\r' || c == '\n') return false;
  }
  return true;
}
