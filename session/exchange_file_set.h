// The names of the seventeen exchange files for one exchange format. A file's path is the
// exchange directory followed directly by its name; an empty name never names a file.
#pragma once

#include <string>

#include "session/exchange_format.h"

struct TExchangeFileSet {
  std::string Product;
  std::string Customer;
  std::string Category;
  std::string Document;  // receivables by document; empty under "DBF"
  std::string Route;
  std::string RouteOut;   // route work (output)
  std::string Order;      // order headers (output)
  std::string OrderItem;  // order lines (output)
  std::string Cash;       // cash (output)
  std::string PayByDoc;   // payments by documents (output)
  std::string Currency;
  std::string CurrencyCurs;
  std::string TypePayment;
  std::string TypePrice;
  std::string TradeAgent;
  std::string Note1;
  std::string Note2;
};

TExchangeFileSet ExchangeFileSetFor(TExchangeFormat format);
