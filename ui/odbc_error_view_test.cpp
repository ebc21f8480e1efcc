#include "ui/odbc_error_view.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "exchange/odbc_error.h"

namespace {

using Lines = std::vector<std::string>;

TEST(OdbcErrorView, WrapsAtBlanksAndLineBreaks) {
  EXPECT_EQ(WrapText("one two three", 8), (Lines{"one two", "three"}));
  EXPECT_EQ(WrapText("abcdefghij", 4), (Lines{"abcd", "efgh", "ij"}));
  EXPECT_EQ(WrapText("a\r\nb", 10), (Lines{"a", "b"}));
  EXPECT_EQ(WrapText("", 10), (Lines{""}));
}

TEST(OdbcErrorView, KeysWalkTheRecordsAndOkCloses) {
  char* written = nullptr;
  size_t written_size = 0;
  std::FILE* output = open_memstream(&written, &written_size);
  const std::string keys = "n\nb\n\n\no\n";
  std::FILE* input = fmemopen(const_cast<char*>(keys.data()), keys.size(), "r");
  TTerminalOdbcErrorView view(input, output);
  TmODBCErrorDlg dialog;
  dialog.View = &view;
  dialog.HandleException(std::make_exception_ptr(ESQLerror("42000:a", "42000", 0, {"42000:a", "HY000:b", "01000:c"})));
  std::fclose(input);
  std::fclose(output);
  const std::string text(written, written_size);
  std::free(written);
  // n, b, Enter (Next), Enter (Next) shows the last record; o closes it.
  size_t shown = 0;
  for (size_t at = text.find("== ODBC Error =="); at != std::string::npos; at = text.find("== ODBC Error ==", at + 1))
    ++shown;
  EXPECT_EQ(shown, 5u);
  EXPECT_NE(text.rfind("01000:c\n[b] < Back      (Next >)  [o] OK"), std::string::npos);
  EXPECT_FALSE(dialog.Showing());
}

TEST(OdbcErrorView, TheEndOfInputPressesOk) {
  char* written = nullptr;
  size_t written_size = 0;
  std::FILE* output = open_memstream(&written, &written_size);
  std::FILE* input = fmemopen(nullptr, 1, "r");
  TTerminalOdbcErrorView view(input, output);
  TmODBCErrorDlg dialog;
  dialog.View = &view;
  dialog.HandleException(std::make_exception_ptr(ESQLerror("Database not opened")));
  std::fclose(input);
  std::fclose(output);
  const std::string text(written, written_size);
  std::free(written);
  EXPECT_NE(text.find("Database not opened\n    (< Back)      (Next >)  [o] OK"), std::string::npos);
  EXPECT_FALSE(dialog.Showing());
}

}  // namespace
