#include "odbc/text_recoding.h"

#include <iconv.h>

#include <cerrno>

#include "odbc/driver_error.h"

namespace {

// Runs iconv over the whole input; an input byte sequence the target cannot hold becomes
// `replacement` and the conversion goes on after it.
std::string Recode(const char* from, const char* to, std::string_view input, std::string_view replacement,
                   size_t input_unit) {
  iconv_t converter = iconv_open(to, from);
  if (converter == reinterpret_cast<iconv_t>(-1)) {
    throw DriverError("HY000", std::string("No conversion from ") + from + " to " + to);
  }
  std::string output;
  char buffer[1024];
  char* in = const_cast<char*>(input.data());
  size_t in_left = input.size();
  while (in_left > 0) {
    char* out = buffer;
    size_t out_left = sizeof buffer;
    const size_t result = iconv(converter, &in, &in_left, &out, &out_left);
    output.append(buffer, static_cast<size_t>(out - buffer));
    if (result == static_cast<size_t>(-1) && errno != E2BIG) {
      output.append(replacement);
      const size_t skip = std::min(in_left, errno == EILSEQ ? input_unit : in_left);
      in += skip;
      in_left -= skip;
    }
  }
  iconv_close(converter);
  return output;
}

}  // namespace

std::string Utf8ToWindows1251(std::string_view utf8) { return Recode("UTF-8", "CP1251", utf8, "?", 1); }

std::string Windows1251ToUtf8(std::string_view ansi) { return Recode("CP1251", "UTF-8", ansi, "\xEF\xBF\xBD", 1); }

std::string Utf16ToWindows1251(std::u16string_view utf16) {
  return Recode("UTF-16LE", "CP1251", {reinterpret_cast<const char*>(utf16.data()), utf16.size() * 2}, "?", 2);
}

std::u16string Windows1251ToUtf16(std::string_view ansi) {
  const std::string bytes = Recode("CP1251", "UTF-16LE", ansi, std::string("\xFD\xFF", 2), 1);
  std::u16string text(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < text.size(); ++i) {
    text[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                    (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  }
  return text;
}
