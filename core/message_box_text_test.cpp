#include "core/message_box_text.h"

#include <clocale>

#include <gtest/gtest.h>

#include "api/hotsync_api.h"

namespace {

TEST(MessageBoxText, DefaultAnswersAreTheCautiousButtons) {
  EXPECT_EQ(DefaultAnswer(MB_OK | MB_ICONERROR), IDOK);
  EXPECT_EQ(DefaultAnswer(MB_YESNO | MB_ICONQUESTION), IDNO);
  EXPECT_EQ(DefaultAnswer(MB_OKCANCEL | MB_ICONWARNING), IDCANCEL);
}

TEST(MessageBoxText, CarriageReturnsStartNewLinesInTheTerminalEncoding) {
  std::setlocale(LC_ALL, "C.UTF-8");
  EXPECT_EQ(TextForTerminal("one\rtwo\r\nthree\r"), "one\ntwo\nthree\n");
  // "Ошибка" in Windows-1251.
  EXPECT_EQ(MessageBoxForTerminal("a\rb", "\xCE\xF8\xE8\xE1\xEA\xE0"), "Ошибка: a\nb\n");
  std::setlocale(LC_ALL, "C");
}

}  // namespace
