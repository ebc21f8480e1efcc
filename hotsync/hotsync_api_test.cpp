#include "api/hotsync_api.h"

#include <clocale>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

struct TAsked {
  std::vector<std::string> Texts;
  uint32_t Style = 0;
};

int32_t ScriptedYes(void* context, const char* text, const char* caption, uint32_t style) {
  auto& asked = *static_cast<TAsked*>(context);
  asked.Texts.push_back(std::string(caption) + "|" + text);
  asked.Style = style;
  return IDYES;
}

TEST(HotSyncApi, WithoutAHandlerTheBoxGoesToStderrAndTakesItsDefault) {
  std::setlocale(LC_ALL, "C.UTF-8");
  HsSetMessageBoxHandler(nullptr, nullptr);
  testing::internal::CaptureStderr();
  EXPECT_EQ(
      MessageBoxA(nullptr, "\xD3\xE4\xE0\xEB\xE8\xF2\xFC?", "\xC2\xEE\xEF\xF0\xEE\xF1", MB_YESNO | MB_ICONQUESTION),
      IDNO);
  EXPECT_EQ(MessageBoxA(nullptr, "done\rok", "Info", MB_OK), IDOK);
  EXPECT_EQ(MessageBoxA(nullptr, "go?", "Info", MB_OKCANCEL), IDCANCEL);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Вопрос: Удалить?\nInfo: done\nok\nInfo: go?\n");
  std::setlocale(LC_ALL, "C");
}

TEST(HotSyncApi, AnInstalledHandlerSeesTheBoxAndAnswersIt) {
  TAsked asked;
  HsSetMessageBoxHandler(&ScriptedYes, &asked);
  EXPECT_EQ(MessageBoxA(nullptr, "text", "caption", MB_YESNO | MB_ICONWARNING), IDYES);
  HsSetMessageBoxHandler(nullptr, nullptr);
  EXPECT_EQ(asked.Texts, std::vector<std::string>{"caption|text"});
  EXPECT_EQ(asked.Style, static_cast<uint32_t>(MB_YESNO | MB_ICONWARNING));
  EXPECT_EQ(HsRefreshConduitInfo(), 0);
}

}  // namespace
