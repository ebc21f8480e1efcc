// libFuzzer target: any bytes as a statement text, its named parameters found and replaced.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "exchange/odbc_parameter_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const TParsedStatement parsed = ParseStatementParameters(text);
  // Every parameter leaves one question mark; nothing grows the text.
  const auto marks = std::count(parsed.DriverText.begin(), parsed.DriverText.end(), '?');
  if (parsed.DriverText.size() > text.size() || static_cast<size_t>(marks) < parsed.Names.size()) std::abort();
  return 0;
}
