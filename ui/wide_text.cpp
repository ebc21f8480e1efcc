#include "ui/wide_text.h"

#include <climits>
#include <cwchar>

namespace {

// A byte that starts no character is kept as one of these code points.
constexpr wchar_t kRawByteBase = 0xDC00;

}  // namespace

std::wstring ToWide(const std::string& bytes) {
  std::wstring text;
  std::mbstate_t state{};
  for (size_t i = 0; i < bytes.size();) {
    wchar_t character = 0;
    const size_t used = std::mbrtowc(&character, bytes.data() + i, bytes.size() - i, &state);
    if (used == 0 || used == static_cast<size_t>(-1) || used == static_cast<size_t>(-2)) {
      text += static_cast<wchar_t>(kRawByteBase + static_cast<unsigned char>(bytes[i]));
      state = std::mbstate_t{};
      ++i;
    } else {
      text += character;
      i += used;
    }
  }
  return text;
}

std::string FromWide(const std::wstring& text) {
  std::string bytes;
  std::mbstate_t state{};
  char buffer[MB_LEN_MAX];
  for (const wchar_t character : text) {
    if (character >= kRawByteBase && character < kRawByteBase + 0x100) {
      bytes += static_cast<char>(character - kRawByteBase);
      continue;
    }
    const size_t used = std::wcrtomb(buffer, character, &state);
    if (used == static_cast<size_t>(-1)) {
      bytes += '?';
      state = std::mbstate_t{};
    } else {
      bytes.append(buffer, used);
    }
  }
  return bytes;
}
