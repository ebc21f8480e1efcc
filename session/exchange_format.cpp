#include "session/exchange_format.h"

std::string ExchangeFormatName(TExchangeFormat format) {
  switch (format) {
    case TExchangeFormat::DBF:
      return "DBF";
    case TExchangeFormat::XML:
      return "XML";
    case TExchangeFormat::TXT:
      return "TXT";
    case TExchangeFormat::TXTINDBFOUT:
      return "TXTINDBFOUT";
  }
  return "TXT";
}

std::optional<TExchangeFormat> ExchangeFormatFromName(std::string_view name) {
  if (name == "DBF") return TExchangeFormat::DBF;
  if (name == "TXT") return TExchangeFormat::TXT;
  if (name == "TXTINDBFOUT") return TExchangeFormat::TXTINDBFOUT;
  if (name == "XML") return TExchangeFormat::XML;
  return std::nullopt;
}

bool IsTextFormat(TExchangeFormat format) {
  return format == TExchangeFormat::TXT || format == TExchangeFormat::TXTINDBFOUT;
}
