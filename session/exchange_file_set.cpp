#include "session/exchange_file_set.h"

namespace {

// Every file under one extension; the formats then differ only in a few names.
TExchangeFileSet Uniform(const std::string& ext) {
  return {"Product" + ext,  "Customer" + ext,     "Category" + ext,    "Document" + ext,  "Route" + ext,
          "RouteOut" + ext, "Order" + ext,        "OrderItem" + ext,   "Cash" + ext,      "PayByDoc" + ext,
          "Currency" + ext, "CurrencyCurs" + ext, "TypePayment" + ext, "TypePrice" + ext, "TradeAgent" + ext,
          "Note1" + ext,    "Note2" + ext};
}

}  // namespace

TExchangeFileSet ExchangeFileSetFor(TExchangeFormat format) {
  switch (format) {
    case TExchangeFormat::XML: {
      TExchangeFileSet files = Uniform(".xml");
      files.Note1 = "Note1.xlm";
      return files;
    }
    case TExchangeFormat::DBF: {
      TExchangeFileSet files = Uniform(".dbf");
      files.Document.clear();
      return files;
    }
    case TExchangeFormat::TXTINDBFOUT: {
      TExchangeFileSet files = Uniform(".txt");
      files.Order = "Order.dbf";
      files.OrderItem = "OrderItem.dbf";
      files.Cash = "Cash.dbf";
      return files;
    }
    case TExchangeFormat::TXT:
      break;
  }
  return Uniform(".txt");
}
