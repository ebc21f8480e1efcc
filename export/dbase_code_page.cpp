#include "export/dbase_code_page.h"

#include <iconv.h>

#include <array>

#include "core/cp1251.h"

namespace {

// The Windows-1251 byte of every 866 byte, made once through iconv's 866 table.
std::array<char, 256> MakeDosToAnsiTable() {
  std::array<char, 256> table{};
  for (int byte = 0; byte < 256; ++byte) table[static_cast<size_t>(byte)] = byte < 0x80 ? static_cast<char>(byte) : '?';
  const iconv_t converter = iconv_open("UTF-8", "CP866");
  if (converter == reinterpret_cast<iconv_t>(-1)) return table;
  for (int byte = 0x80; byte < 256; ++byte) {
    char in[1] = {static_cast<char>(byte)};
    char out[8] = {};
    char* in_pointer = in;
    char* out_pointer = out;
    size_t in_left = sizeof in;
    size_t out_left = sizeof out;
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    if (iconv(converter, &in_pointer, &in_left, &out_pointer, &out_left) == static_cast<size_t>(-1)) continue;
    const std::string ansi = Utf8ToCp1251(std::string_view(out, static_cast<size_t>(out_pointer - out)));
    if (ansi.size() == 1) table[static_cast<size_t>(byte)] = ansi[0];
  }
  iconv_close(converter);
  return table;
}

}  // namespace

bool IsDosCyrillic(unsigned char language_driver) { return language_driver == 0x26 || language_driver == 0x65; }

std::string DosCyrillicToAnsi(std::string_view text) {
  static const std::array<char, 256> table = MakeDosToAnsiTable();
  std::string ansi(text.size(), '\0');
  for (size_t i = 0; i < text.size(); ++i) ansi[i] = table[static_cast<unsigned char>(text[i])];
  return ansi;
}
