#include "hotsync/host_message_boxes.h"

#include <gtest/gtest.h>

#include "api/hotsync_api.h"

namespace {

TEST(HostMessageBoxes, YesAndNoAnswerEveryQuestion) {
  const THostBoxes yes{TBoxAnswering::AlwaysYes, true};
  const THostBoxes no{TBoxAnswering::AlwaysNo, true};
  EXPECT_EQ(AnswerWithoutAsking(MB_YESNO | MB_ICONQUESTION, yes), IDYES);
  EXPECT_EQ(AnswerWithoutAsking(MB_OKCANCEL, yes), IDOK);
  EXPECT_EQ(AnswerWithoutAsking(MB_YESNO, no), IDNO);
  EXPECT_EQ(AnswerWithoutAsking(MB_OKCANCEL, no), IDCANCEL);
  EXPECT_EQ(AnswerWithoutAsking(MB_OK | MB_ICONERROR, yes), IDOK);
  EXPECT_EQ(AnswerWithoutAsking(MB_OK, no), IDOK);
}

TEST(HostMessageBoxes, OnlyAnInteractiveRunAsksThePerson) {
  const THostBoxes batch{TBoxAnswering::AskPerson, false};
  EXPECT_EQ(AnswerWithoutAsking(MB_YESNO, batch), IDNO);
  EXPECT_EQ(AnswerWithoutAsking(MB_OK | MB_ICONINFORMATION, batch), IDOK);
  const THostBoxes person{TBoxAnswering::AskPerson, true};
  EXPECT_EQ(AnswerWithoutAsking(MB_YESNO, person), std::nullopt);
  EXPECT_EQ(AnswerWithoutAsking(MB_OK, person), std::nullopt);
}

}  // namespace
