#include "hotsync/host_message_boxes.h"

#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>

#include "api/hotsync_api.h"
#include "core/message_box_text.h"

namespace {

constexpr uint32_t kButtonsMask = 0x0F;

struct FileCloser {
  void operator()(std::FILE* file) const noexcept { std::fclose(file); }
};
using TerminalFile = std::unique_ptr<std::FILE, FileCloser>;

TerminalFile OpenTerminal() { return TerminalFile(std::fopen("/dev/tty", "r+")); }

bool IsQuestion(uint32_t style) {
  const uint32_t buttons = style & kButtonsMask;
  return buttons == MB_YESNO || buttons == MB_OKCANCEL;
}

int32_t Affirmative(uint32_t style) { return (style & kButtonsMask) == MB_YESNO ? IDYES : IDOK; }

// Asks on the terminal until the person types y or n; end of input takes the default.
int32_t AskQuestion(uint32_t style) {
  TerminalFile terminal = OpenTerminal();
  if (!terminal) return DefaultAnswer(style);
  for (;;) {
    std::fputs((style & kButtonsMask) == MB_YESNO ? "Yes or no? [y/n] " : "OK or cancel? [y/n] ", terminal.get());
    std::fflush(terminal.get());
    char line[64];
    if (std::fgets(line, sizeof line, terminal.get()) == nullptr) return DefaultAnswer(style);
    if (line[0] == 'y' || line[0] == 'Y') return Affirmative(style);
    if (line[0] == 'n' || line[0] == 'N') return DefaultAnswer(style);
  }
}

int32_t WaitForEnter() {
  if (TerminalFile terminal = OpenTerminal()) {
    std::fputs("Press Enter to go on. ", terminal.get());
    std::fflush(terminal.get());
    char line[64];
    std::fgets(line, sizeof line, terminal.get());
  }
  return IDOK;
}

int32_t HostMessageBox(void* context, const char* text, const char* caption, uint32_t style) {
  const auto& boxes = *static_cast<const THostBoxes*>(context);
  std::fputs(MessageBoxForTerminal(text == nullptr ? "" : text, caption == nullptr ? "" : caption).c_str(), stderr);
  std::fflush(stderr);
  if (auto answer = AnswerWithoutAsking(style, boxes)) return *answer;
  return IsQuestion(style) ? AskQuestion(style) : WaitForEnter();
}

}  // namespace

std::optional<int32_t> AnswerWithoutAsking(uint32_t style, const THostBoxes& boxes) {
  if (boxes.Answering == TBoxAnswering::AlwaysYes) return IsQuestion(style) ? Affirmative(style) : IDOK;
  if (boxes.Answering == TBoxAnswering::AlwaysNo) return DefaultAnswer(style);
  if (!boxes.Interactive) return DefaultAnswer(style);
  return std::nullopt;
}

bool RunsInteractively() { return isatty(STDIN_FILENO) == 1 && OpenTerminal() != nullptr; }

void InstallHostMessageBoxes(const THostBoxes& boxes) {
  HsSetMessageBoxHandler(&HostMessageBox, const_cast<THostBoxes*>(&boxes));
}
