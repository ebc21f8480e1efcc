#include "core/message_box_text.h"

#include "api/hotsync_api.h"
#include "core/cp1251.h"

namespace {

constexpr uint32_t kButtonsMask = 0x0F;

}  // namespace

int32_t DefaultAnswer(uint32_t style) {
  switch (style & kButtonsMask) {
    case MB_YESNO:
      return IDNO;
    case MB_OKCANCEL:
      return IDCANCEL;
    default:
      return IDOK;
  }
}

std::string TextForTerminal(std::string_view ansi) {
  std::string lines;
  lines.reserve(ansi.size());
  for (size_t i = 0; i < ansi.size(); ++i) {
    if (ansi[i] != '\r') {
      lines += ansi[i];
    } else if (i + 1 >= ansi.size() || ansi[i + 1] != '\n') {
      lines += '\n';
    }
  }
  return Cp1251ToTerminal(lines);
}

std::string MessageBoxForTerminal(std::string_view text, std::string_view caption) {
  return TextForTerminal(caption) + ": " + TextForTerminal(text) + "\n";
}
